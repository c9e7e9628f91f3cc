#include "Factices.h"
#include "shell/Declarations.h"
#include "shell/Donnees.h"
#include "shell/Entree.h"
#include "shell/Langues.h"
#include "shell/LigneLangue.h"
#include "shell/Reglages.h"
#include "ui/Creer_POI.h"
#include "ui/TexteLien1.h"
#include "ui/Twips.h"

#include "OutilsGPX.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

// Language buttons, Help, Quit and the language files.
class TestLangues : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void quitter_data();
    void quitter();
    void caseDeFermeture();
    void anglaisDeuxFoisPuisFrancais();
    void descriptionJamaisOuverte();
    void aide();
    void couperLigne_data();
    void couperLigne();
    void appliquerLigne_data();
    void appliquerLigne();
    void fichierFinsDeLigneLF();
    void choixDuFichier_data();
    void choixDuFichier();
    void fichiersLivresComplets_data();
    void fichiersLivresComplets();
    void demarrageEnAnglais();

private:
    void Demarrer();
    QSettings* Cles();

    QTemporaryDir dossier;
    std::unique_ptr<PlateformeTest> plateforme;
    Creer_POI* f = nullptr;
    std::unique_ptr<QSettings> reglages;
};

void TestLangues::initTestCase()
{
    QVERIFY(dossier.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dossier.path());
}

void TestLangues::init()
{
    Reglages::Ouvrir()->clear();
    plateforme = std::make_unique<PlateformeTest>();
}

void TestLangues::cleanup()
{
    Entree::Terminer();
    plateforme.reset();
    reglages.reset();
}

void TestLangues::Demarrer()
{
    Entree::Demarrer();
    f = Entree::FenetrePrincipale();
    f->Option2[1]->click();
    plateforme->boites.clear();
}

QSettings* TestLangues::Cles()
{
    reglages = Reglages::Ouvrir();
    reglages->beginGroup(QLatin1String(Reglages::Groupe));
    return reglages.get();
}

void TestLangues::quitter_data()
{
    QTest::addColumn<int>("reponse");
    QTest::addColumn<QString>("fichier");
    QTest::addColumn<bool>("ecrit");
    QTest::newRow("non") << int(Plateforme::Reponse::Non) << QString() << false;
    QTest::newRow("oui puis annule") << int(Plateforme::Reponse::Oui) << QString() << false;
    QTest::newRow("oui puis nom") << int(Plateforme::Reponse::Oui) << "quitte.gpx" << true;
}

void TestLangues::quitter()
{
    QFETCH(int, reponse);
    QFETCH(QString, fichier);
    QFETCH(bool, ecrit);
    Reglages::Ecrire("Autre", QStringLiteral("efface"));
    Demarrer();
    plateforme->reponses << Plateforme::Reponse(reponse);
    if (!fichier.isEmpty())
        plateforme->fichiers << dossier.filePath(fichier);
    f->Quitter->trigger();

    QCOMPARE(plateforme->boites.size(), 1);
    QCOMPARE(plateforme->boites[0].texte, QStringLiteral("Sauver le fichier ?"));
    QCOMPARE(plateforme->boites[0].boutons, Plateforme::Boutons::OuiNon);
    QCOMPARE(plateforme->dialogues.size(), reponse == int(Plateforme::Reponse::Oui) ? 1 : 0);
    QCOMPARE(QFile::exists(dossier.filePath(QStringLiteral("quitte.gpx"))), ecrit);
    QCOMPARE(Cles()->childKeys(), (QStringList{"Creer_POI_Haut", "Creer_POI_MargeG", "Lang",
                                               "TexteLien1_Haut", "TexteLien1_MargeG"}));
    QCOMPARE(Cles()->value("Lang").toString(), QString());
    QCOMPARE(plateforme->fins, 1);
    QVERIFY(!f->isVisible());
    QVERIFY(!Entree::FenetreDescription()->isVisible());
}

void TestLangues::caseDeFermeture()
{
    Demarrer();
    Entree::FenetreDescription()->show();
    f->close();
    // One question, one end: the program's own close does not ask again.
    QCOMPARE(plateforme->boites.size(), 1);
    QCOMPARE(plateforme->fins, 1);
    QVERIFY(!f->isVisible());
    QVERIFY(!Entree::FenetreDescription()->isVisible());
}

void TestLangues::anglaisDeuxFoisPuisFrancais()
{
    Demarrer();
    const QString legende = f->Label1->text();
    f->LangEN->click();
    f->LangEN->click();
    QCOMPARE(Declarations::Langue, QStringLiteral("en"));
    f->LangSelf->click();
    QCOMPARE(Declarations::Langue, QStringLiteral("self"));
    f->LangFR->click();
    QCOMPARE(plateforme->Textes(), (QStringList{"Restart quaylight", "Restart quaylight",
                                                "Restart quaylight", "Relancer le logiciel"}));
    QCOMPARE(f->Label1->text(), legende);
    // Only Quit stores the language.
    QVERIFY(!Cles()->contains("Lang"));
    f->Quitter->trigger();
    QCOMPARE(Cles()->value("Lang").toString(), QStringLiteral("fr"));
}

void TestLangues::descriptionJamaisOuverte()
{
    Reglages::Ecrire(Reglages::TexteLien1_MargeG, QStringLiteral("4500"));
    Reglages::Ecrire(Reglages::TexteLien1_Haut, QStringLiteral("750"));
    Demarrer();
    f->move(Twips::VersPixels(1500), Twips::VersPixels(2250));
    f->Quitter->trigger();
    auto* cles = Cles();
    QCOMPARE(Twips::VersPixels(cles->value("TexteLien1_MargeG").toInt()), Twips::VersPixels(4500));
    QCOMPARE(Twips::VersPixels(cles->value("TexteLien1_Haut").toInt()), Twips::VersPixels(750));
    QCOMPARE(Twips::VersPixels(cles->value("Creer_POI_MargeG").toInt()), Twips::VersPixels(1500));
    QCOMPARE(Twips::VersPixels(cles->value("Creer_POI_Haut").toInt()), Twips::VersPixels(2250));
}

void TestLangues::aide()
{
    Demarrer();
    f->Aide->trigger();
    QCOMPARE(plateforme->ouvertures, QStringList{Declarations::AdresseAide});
    QVERIFY(plateforme->boites.isEmpty());
    // The page shipped with the program is the default.
    Donnees::DefinirDossiers({});
    QVERIFY(Entree::AdresseAideParDefaut().endsWith(QLatin1String("help/index.html")));
}

void TestLangues::couperLigne_data()
{
    QTest::addColumn<QString>("ligne");
    QTest::addColumn<bool>("entree");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("nom");
    QTest::addColumn<QString>("texte1");
    QTest::addColumn<QString>("texte2");
    QTest::newRow("simple") << "C[Label1]/Liste/Bulle" << true << "C"
                            << "Label1"
                            << "Liste"
                            << "Bulle";
    QTest::newRow("second vide") << "C[Label1]/Liste des Poi du fichier choisi/" << true << "C"
                                 << "Label1"
                                 << "Liste des Poi du fichier choisi"
                                 << "";
    QTest::newRow("trois barres") << "C[Label1]/a/b/c" << true << "C"
                                  << "Label1"
                                  << "a/b"
                                  << "c";
    QTest::newRow("espaces rognes") << "M[ MsgBoite$(7) ]/ a / b " << true << "M"
                                    << "MsgBoite$(7)"
                                    << "a"
                                    << "b";
    QTest::newRow("tabulations gardees") << "C[Label1]/\ta\t/b" << true << "C"
                                         << "Label1"
                                         << "\ta\t"
                                         << "b";
    QTest::newRow("entre ] et /") << "C[Label1] ignore /a/b" << true << "C"
                                  << "Label1"
                                  << "a"
                                  << "b";
    QTest::newRow("crochet dans le texte") << "C[Label1]/a]b/" << true << "C"
                                           << "Label1]/a"
                                           << "a]b"
                                           << "";
    QTest::newRow("adresse") << "A[Aide]/https://example.org/aide/" << true << "A"
                             << "Aide"
                             << "https://example.org/aide"
                             << "";
    QTest::newRow("espace en tete") << " C[Label1]/a/b" << false << ""
                                    << ""
                                    << ""
                                    << "";
    QTest::newRow("commentaire") << "Messages" << false << ""
                                 << ""
                                 << ""
                                 << "";
    QTest::newRow("sans ]") << "C[Label1/a/b" << false << ""
                            << ""
                            << ""
                            << "";
    QTest::newRow("une barre") << "C[Label1]/a" << false << ""
                               << ""
                               << ""
                               << "";
    QTest::newRow("vide") << "" << false << ""
                          << ""
                          << ""
                          << "";
}

void TestLangues::couperLigne()
{
    QFETCH(QString, ligne);
    QFETCH(bool, entree);
    EntreeLangue e;
    QCOMPARE(CouperLigneLangue(ligne, e), entree);
    if (!entree)
        return;
    QFETCH(QString, code);
    QFETCH(QString, nom);
    QFETCH(QString, texte1);
    QFETCH(QString, texte2);
    QCOMPARE(QString(e.code), code);
    QCOMPARE(e.nom, nom);
    QCOMPARE(e.texte1, texte1);
    QCOMPARE(e.texte2, texte2);
}

void TestLangues::appliquerLigne_data()
{
    QTest::addColumn<QString>("ligne");
    QTest::addColumn<QString>("controle"); // name, "MsgBoite$(n)", "Aide" or "D:name"
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("bulle");
    QTest::newRow("legende et bulle videe") << "C[Label1]/Liste/"
                                            << "Label1"
                                            << "Liste"
                                            << "";
    QTest::newRow("option par un code quelconque") << "X[Option1(0)]/Modifier/Modifier le Poi"
                                                   << "Option1(0)"
                                                   << "Modifier"
                                                   << "Modifier le Poi";
    QTest::newRow("option par C") << "C[Option2(1)]/No/Sans carte"
                                  << "Option2(1)"
                                  << "No"
                                  << "Sans carte";
    QTest::newRow("code minuscule") << "c[Label1]/a/b"
                                    << "Label1"
                                    << "Liste des Poi du fichier choisi"
                                    << "";
    QTest::newRow("espace en tete") << " C[Label1]/a/b"
                                    << "Label1"
                                    << "Liste des Poi du fichier choisi"
                                    << "";
    QTest::newRow("menu sans bulle") << "C[Ouvrir_Fichier]/Open/bulle"
                                     << "Ouvrir_Fichier"
                                     << "Open"
                                     << "";
    QTest::newRow("menu") << "C[Menu_Fichier]/File/"
                          << "Menu_Fichier"
                          << "File"
                          << "";
    QTest::newRow("panneau") << "C[LIENS]/Links/"
                             << "LIENS"
                             << "Links"
                             << "";
    QTest::newRow("texte de boite") << "T[Lat_Long]/48.5,-4.3/Position"
                                    << "Lat_Long"
                                    << "48.5,-4.3"
                                    << "Position";
    QTest::newRow("legende de boite ignoree") << "C[Nom_WP]/x/Name"
                                              << "Nom_WP"
                                              << ""
                                              << "Name";
    QTest::newRow("message 7") << "M[ MsgBoite$(7) ]/a/"
                               << "MsgBoite$(7)"
                               << "a"
                               << "";
    QTest::newRow("message 0") << "M[MsgBoite$(0)]/a/"
                               << "MsgBoite$(0)"
                               << ""
                               << "";
    QTest::newRow("message 51") << "M[MsgBoite$(51)]/a/"
                                << "MsgBoite$(7)"
                                << ""
                                << "";
    QTest::newRow("message 07") << "M[MsgBoite$(07)]/a/"
                                << "MsgBoite$(7)"
                                << ""
                                << "";
    QTest::newRow("message vide") << "M[MsgBoite$(4)]//"
                                  << "MsgBoite$(4)"
                                  << ""
                                  << "";
    QTest::newRow("description") << "D[Fermer]/Close/"
                                 << "D:Fermer"
                                 << "Close"
                                 << "";
    QTest::newRow("aide") << "A[Aide]/https://example.org/aide/"
                          << "Aide"
                          << "https://example.org/aide"
                          << "";
    QTest::newRow("inconnu") << "C[Rien]/a/b"
                             << "Label1"
                             << "Liste des Poi du fichier choisi"
                             << "";
}

void TestLangues::appliquerLigne()
{
    QFETCH(QString, ligne);
    QFETCH(QString, controle);
    QFETCH(QString, texte);
    QFETCH(QString, bulle);
    Demarrer();
    const QString fichier = dossier.filePath(QStringLiteral("ligne.txt"));
    QVERIFY(OutilsGPX::Ecrire(fichier, "titre\r\n" + ligne.toLatin1() + "\r\n"));
    Langues::Charger(fichier, *f, *Entree::FenetreDescription());

    if (controle.startsWith(QLatin1String("MsgBoite$("))) {
        const int n = controle.mid(10).chopped(1).toInt();
        QCOMPARE(Declarations::MsgBoite[n], n == 4 && texte.isEmpty() ? QString() : texte);
        return;
    }
    if (controle == QLatin1String("Aide")) {
        QCOMPARE(Declarations::AdresseAide, texte);
        return;
    }
    if (controle.startsWith(QLatin1String("D:"))) {
        auto* b =
            qobject_cast<QPushButton*>(Entree::FenetreDescription()->Controle(controle.mid(2)));
        QCOMPARE(b->text(), texte);
        return;
    }
    QObject* o = f->Controle(controle);
    QVERIFY(o);
    QString vu;
    if (auto* b = qobject_cast<QAbstractButton*>(o))
        vu = b->text();
    else if (auto* l = qobject_cast<QLabel*>(o))
        vu = l->text();
    else if (auto* g = qobject_cast<QGroupBox*>(o))
        vu = g->title();
    else if (auto* a = qobject_cast<QAction*>(o))
        vu = a->text();
    else if (auto* m = qobject_cast<QMenu*>(o))
        vu = m->title();
    else if (auto* e = qobject_cast<QLineEdit*>(o))
        vu = e->text();
    QCOMPARE(vu, texte);
    if (auto* w = qobject_cast<QWidget*>(o); w && !qobject_cast<QMenu*>(o))
        QCOMPARE(w->toolTip(), bulle);
}

void TestLangues::fichierFinsDeLigneLF()
{
    Demarrer();
    const QString fichier = dossier.filePath(QStringLiteral("lf.txt"));
    QVERIFY(OutilsGPX::Ecrire(fichier, "C[Label1]/Un/\nC[Label2]/Deux/\nM[MsgBoite$(12)]/Vide/\n"));
    Langues::Charger(fichier, *f, *Entree::FenetreDescription());
    QCOMPARE(f->Label1->text(), QStringLiteral("Un"));
    QCOMPARE(f->Label2->text(), QStringLiteral("Deux"));
    QCOMPARE(Declarations::MsgBoite[12], QStringLiteral("Vide"));
}

void TestLangues::choixDuFichier_data()
{
    QTest::addColumn<QString>("langue");
    QTest::addColumn<QString>("fichier");
    QTest::newRow("vide") << ""
                          << "langueFR.txt";
    QTest::newRow("fr") << "fr"
                        << "langueFR.txt";
    QTest::newRow("en") << "en"
                        << "langueEN.txt";
    QTest::newRow("EN") << "EN"
                        << "langueFR.txt";
    QTest::newRow("self") << "self"
                          << "langueSELF.txt";
    QTest::newRow("autre") << "de"
                           << "langueFR.txt";
}

void TestLangues::choixDuFichier()
{
    QFETCH(QString, langue);
    QFETCH(QString, fichier);
    QCOMPARE(Langues::NomFichier(langue), fichier);
}

void TestLangues::fichiersLivresComplets_data()
{
    QTest::addColumn<QString>("fichier");
    QTest::newRow("FR") << "langueFR.txt";
    QTest::newRow("EN") << "langueEN.txt";
    QTest::newRow("SELF") << "langueSELF.txt";
}

void TestLangues::fichiersLivresComplets()
{
    QFETCH(QString, fichier);
    Demarrer();
    // Blank every text first: the file must give each one back.
    for (int n = 1; n <= 50; ++n)
        Declarations::MsgBoite[n].clear();
    QStringList noms;
    for (QWidget* w : f->centralWidget()->findChildren<QWidget*>())
        if (w->property("tabIndex").isValid()) {
            noms << w->objectName();
            if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->icon().isNull())
                continue; // the flags show a picture, no caption
            if (auto* b = qobject_cast<QAbstractButton*>(w))
                b->setText(QString());
            if (auto* l = qobject_cast<QLabel*>(w))
                l->setText(QString());
            if (auto* g = qobject_cast<QGroupBox*>(w))
                g->setTitle(QString());
        }
    for (QAction* a : f->findChildren<QAction*>())
        if (!a->objectName().isEmpty())
            a->setText(QString());
    Langues::Charger(QStringLiteral(QUAYLIGHT_LANG_SOURCE "/") + fichier, *f,
                     *Entree::FenetreDescription());
    for (int n = 1; n <= 18; ++n)
        QVERIFY2(!Declarations::MsgBoite[n].isEmpty(), qPrintable(QString::number(n)));
    for (const QString& nom : noms) {
        QObject* o = f->Controle(nom);
        if (auto* b = qobject_cast<QAbstractButton*>(o); b && b->icon().isNull())
            QVERIFY2(!b->text().isEmpty(), qPrintable(nom));
        if (auto* l = qobject_cast<QLabel*>(o))
            QVERIFY2(!l->text().isEmpty(), qPrintable(nom));
        if (auto* g = qobject_cast<QGroupBox*>(o))
            QVERIFY2(!g->title().isEmpty(), qPrintable(nom));
        if (qobject_cast<QLineEdit*>(o) || qobject_cast<QListWidget*>(o) ||
            qobject_cast<QRadioButton*>(o))
            QVERIFY2(!qobject_cast<QWidget*>(o)->toolTip().isEmpty(), qPrintable(nom));
    }
    for (QAction* a : f->findChildren<QAction*>())
        if (!a->objectName().isEmpty())
            QVERIFY2(!a->text().isEmpty(), qPrintable(a->objectName()));
    // The menu bar still shows every entry.
    for (QAction* a : f->menuBar()->actions())
        QVERIFY(f->menuBar()->rect().contains(f->menuBar()->actionGeometry(a)));
}

void TestLangues::demarrageEnAnglais()
{
    Reglages::Ecrire(Reglages::Lang, QStringLiteral("en"));
    Donnees::DefinirDossiers({QStringLiteral(QUAYLIGHT_LANG_SOURCE)});
    Demarrer();
    QCOMPARE(Declarations::Langue, QStringLiteral("en"));
    QCOMPARE(f->Label1->text(), QStringLiteral("POIs of the chosen file"));
    QCOMPARE(f->Quitter->text(), QStringLiteral("Quit"));
    QCOMPARE(Entree::FenetreDescription()->Enregistrer->text(), QStringLiteral("Save"));
    QCOMPARE(Declarations::MsgBoite[4], QStringLiteral("Save the file?"));
    // The window titles stay.
    QCOMPARE(f->windowTitle(), QStringLiteral("Quaylight (V1.2i)"));
}

QTEST_MAIN(TestLangues)
#include "test_langues.moc"
