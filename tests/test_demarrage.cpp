#include "Factices.h"
#include "shell/Declarations.h"
#include "shell/Entree.h"
#include "shell/Reglages.h"
#include "ui/Creer_POI.h"
#include "ui/TexteLien1.h"
#include "ui/Twips.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

class TestDemarrage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void sansReglages();
    void positions_data();
    void positions();
    void reponseNon();
    void reponseOuiSansCarte();
    void reponseOuiAttendLaCarte();
    void sondageEchoue();
    void menuPendantLaQuestion();
    void caseDeFermetureQuitte();

private:
    void Ecrire(const char* cle, const QString& valeur);
    Creer_POI& Principale() { return *Entree::FenetrePrincipale(); }
    void Repondre(int option);

    QTemporaryDir dossier;
    std::unique_ptr<PlateformeTest> plateforme;
};

void TestDemarrage::initTestCase()
{
    QVERIFY(dossier.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dossier.path());
}

void TestDemarrage::init()
{
    Reglages::Ouvrir()->clear();
    plateforme = std::make_unique<PlateformeTest>();
}

void TestDemarrage::cleanup()
{
    Entree::Terminer();
    plateforme.reset();
}

void TestDemarrage::Ecrire(const char* cle, const QString& valeur)
{
    auto r = Reglages::Ouvrir();
    r->beginGroup(QLatin1String(Reglages::Groupe));
    r->setValue(QLatin1String(cle), valeur);
}

void TestDemarrage::Repondre(int option)
{
    QRadioButton* bouton = Principale().Option2[option];
    QVERIFY(QTest::qWaitForWindowExposed(&Principale()));
    QTest::mouseClick(bouton, Qt::LeftButton, {}, QPoint(8, bouton->height() / 2));
    QVERIFY(bouton->isChecked());
}

void TestDemarrage::sansReglages()
{
    Entree::Demarrer();
    Creer_POI& f = Principale();
    QCOMPARE(Entree::EtapeCourante(), Entree::Etape::AttenteReponse);
    QVERIFY(f.isVisible());
    QVERIFY(f.Google->isVisible());
    QVERIFY(!f.POIS->isVisible());
    QVERIFY(!f.LIENS->isVisible());
    QCOMPARE(f.LIENS->pos(), QPoint(Twips::VersPixels(360), Twips::VersPixels(120)));
    QVERIFY(!f.Option2[0]->isChecked() && !f.Option2[1]->isChecked());
    QVERIFY(f.menuBar()->isEnabled());
    QVERIFY(Entree::FenetreDescription());
    QVERIFY(!Entree::FenetreDescription()->isVisible());
    QCOMPARE(f.ListePOI->count(), 0);
    QCOMPARE(f.ListeLiens->count(), 0);

    QCOMPARE(Declarations::Langue, QString());
    QCOMPARE(Declarations::NumPOI, int16_t(0));
    QCOMPARE(Declarations::Table.NbPOI, int16_t(0));
    QCOMPARE(Declarations::FichierGPX, QString());
    const QStringList messages = {QString(),
                                  QStringLiteral("Selectionner d'abord un Poi"),
                                  QString(),
                                  QStringLiteral("Fichier, chemin ou URL accentué invalide"),
                                  QStringLiteral("Sauver le fichier ?"),
                                  QStringLiteral("Le nom du fichier est manquant"),
                                  QStringLiteral("Sélectionner un lien d'abord"),
                                  QString(),
                                  QString(),
                                  QStringLiteral("Choisir Modifier, Ajouter ou Supprimer"),
                                  QString()};
    for (int i = 0; i <= 50; ++i)
        QCOMPARE(Declarations::MsgBoite[i], i < messages.size() ? messages[i] : QString());
    QVERIFY(Declarations::AdresseAide.startsWith(QLatin1String("file://")));

    // Nothing past the question has run.
    QCOMPARE(plateforme->verificationsConnexion, 0);
    QVERIFY(plateforme->creations.isEmpty());
    QVERIFY(plateforme->boites.isEmpty());
}

void TestDemarrage::positions_data()
{
    QTest::addColumn<QString>("gauche");
    QTest::addColumn<QString>("haut");
    QTest::addColumn<QString>("gaucheTexte");
    QTest::addColumn<QString>("hautTexte");
    QTest::newRow("toutes") << "1500"
                            << "3000"
                            << "4500"
                            << "600";
    QTest::newRow("gauche non numerique") << "abc"
                                          << "3000"
                                          << "4500"
                                          << "600";
    QTest::newRow("haut absent") << "1500" << QString() << "4500"
                                 << "abc";
    QTest::newRow("description seule") << QString() << QString() << "4500"
                                       << "600";
}

void TestDemarrage::positions()
{
    QFETCH(QString, gauche);
    QFETCH(QString, haut);
    QFETCH(QString, gaucheTexte);
    QFETCH(QString, hautTexte);

    // Where the windowing system puts the windows without stored positions.
    Entree::Demarrer();
    const QPoint defautPrincipale = Principale().pos();
    const QPoint defautTexte = Entree::FenetreDescription()->pos();
    Entree::Terminer();

    if (!gauche.isNull())
        Ecrire(Reglages::Creer_POI_MargeG, gauche);
    if (!haut.isNull())
        Ecrire(Reglages::Creer_POI_Haut, haut);
    Ecrire(Reglages::TexteLien1_MargeG, gaucheTexte);
    Ecrire(Reglages::TexteLien1_Haut, hautTexte);
    Entree::Demarrer();

    auto attendu = [](const QString& texte, int defaut) {
        bool ok = false;
        const int twips = texte.toInt(&ok);
        return ok ? Twips::VersPixels(twips) : defaut;
    };
    QCOMPARE(Principale().pos().x(), attendu(gauche, defautPrincipale.x()));
    QCOMPARE(Principale().pos().y(), attendu(haut, defautPrincipale.y()));
    QCOMPARE(Entree::FenetreDescription()->pos().x(), attendu(gaucheTexte, defautTexte.x()));
    QCOMPARE(Entree::FenetreDescription()->pos().y(), attendu(hautTexte, defautTexte.y()));
}

void TestDemarrage::reponseNon()
{
    plateforme->connexion = 0;
    plateforme->CarteFactice();
    Entree::Demarrer();
    Repondre(1);
    Creer_POI& f = Principale();
    QCOMPARE(Entree::EtapeCourante(), Entree::Etape::Terminee);
    QVERIFY(f.POIS->isVisible());
    QVERIFY(!f.Google->isVisible());
    QVERIFY(!f.Pickup_X_Y->isVisible());
    // The position box keeps its place and width without the capture button.
    QCOMPARE(f.Lat_Long->geometry().width(), Twips::VersPixels(2655));
    QCOMPARE(plateforme->verificationsConnexion, 1);
    QCOMPARE(Declarations::Connecte, 0);
    QVERIFY(plateforme->creations.isEmpty());
    QVERIFY(!Declarations::AppliGE);
    QVERIFY(plateforme->boites.isEmpty());
}

void TestDemarrage::reponseOuiSansCarte()
{
    Entree::Demarrer();
    Repondre(0);
    Creer_POI& f = Principale();
    QCOMPARE(plateforme->creations, QStringList{QStringLiteral("GoogleEarth.ApplicationGE")});
    QCOMPARE(plateforme->boites.size(), 1);
    QCOMPARE(plateforme->boites[0].texte, Declarations::MsgBoite[16]);
    QCOMPARE(plateforme->boites[0].boutons, Plateforme::Boutons::OK);
    QVERIFY(!Declarations::AppliGE);
    QVERIFY(f.Pickup_X_Y->isVisible());
    QVERIFY(f.POIS->isVisible());
    QCOMPARE(Declarations::Connecte, 1);
    QCOMPARE(Entree::EtapeCourante(), Entree::Etape::Terminee);
}

void TestDemarrage::reponseOuiAttendLaCarte()
{
    plateforme->CarteFactice(4);
    Entree::Demarrer();
    Repondre(0);
    Creer_POI& f = Principale();
    QCOMPARE(Entree::EtapeCourante(), Entree::Etape::AttenteCarte);
    QVERIFY(plateforme->carte);
    QCOMPARE(Declarations::AppliGE.get(), static_cast<ApplicationGE*>(plateforme->carte));
    QCOMPARE(Declarations::Connecte, 1);

    // The menus work while the map gets ready.
    f.POIS->hide();
    f.LIENS->show();
    QTest::mouseClick(f.menuBar(), Qt::LeftButton, {},
                      f.menuBar()->actionGeometry(f.Montre_Fichier).center());
    QVERIFY(f.POIS->isVisible());
    QVERIFY(!f.LIENS->isVisible());

    QTRY_COMPARE(Entree::EtapeCourante(), Entree::Etape::Terminee);
    QCOMPARE(plateforme->carte->sondages, 4);
    QVERIFY(plateforme->boites.isEmpty());
    QVERIFY(f.Pickup_X_Y->isVisible());
}

void TestDemarrage::sondageEchoue()
{
    plateforme->CarteFactice(1000);
    Entree::Demarrer();
    Repondre(0);
    plateforme->carte->sondageEchoue = true;
    QTRY_COMPARE(Entree::EtapeCourante(), Entree::Etape::Terminee);
    QCOMPARE(plateforme->boites.size(), 1);
    QCOMPARE(plateforme->boites[0].texte, Declarations::MsgBoite[16]);
    // The object was created: it stays.
    QVERIFY(Declarations::AppliGE);
}

void TestDemarrage::menuPendantLaQuestion()
{
    Entree::Demarrer();
    Creer_POI& f = Principale();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QTest::mouseClick(f.menuBar(), Qt::LeftButton, {},
                      f.menuBar()->actionGeometry(f.Quitter).center());
    QCOMPARE(plateforme->fins, 1);
    QVERIFY(!f.isVisible());
    QCOMPARE(plateforme->verificationsConnexion, 0);
}

void TestDemarrage::caseDeFermetureQuitte()
{
    Entree::Demarrer();
    Repondre(1);
    Entree::FenetreDescription()->show();
    Principale().close();
    QCOMPARE(plateforme->fins, 1);
    QVERIFY(!Principale().isVisible());
    QVERIFY(!Entree::FenetreDescription()->isVisible());
}

QTEST_MAIN(TestDemarrage)
#include "test_demarrage.moc"
