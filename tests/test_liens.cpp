#include "Factices.h"
#include "OutilsGPX.h"
#include "shell/Declarations.h"
#include "shell/Entree.h"
#include "shell/Reglages.h"
#include "ui/Creer_POI.h"
#include "ui/TexteLien1.h"
#include "ui/Twips.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace OutilsGPX;
using Declarations::NumPOI;
using Declarations::Table;

// The link panel and the description editor, driven through the windows.
class TestLiens : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void panneauLiens();
    void deuxPaires();
    void casDeValidation_data();
    void casDeValidation();
    void cinquanteLiens();
    void supprimerLien();
    void sansSelection_data();
    void sansSelection();
    void esperluette();
    void choisirFichier();

    void premiereDescription();
    void descriptionAvecCinquanteLiens();
    void descriptionTexteVide();
    void descriptionRelueEtEnregistree();
    void descriptionNomsDangereux_data();
    void descriptionNomsDangereux();
    void descriptionSansPoiCourant();
    void descriptionSansNom();
    void descriptionIntraduisible();
    void fenetreDescription();

private:
    void Ouvrir(int liensDuDeuxieme = 2, const QByteArray& nom = "Anse Nord");
    void Selectionner(int ligne) { f->ListePOI->setCurrentRow(ligne); }
    QStringList Liste() const;
    QString Dossier() const { return dossier->path() + QLatin1Char('/'); }

    QTemporaryDir reglages;
    std::unique_ptr<QTemporaryDir> dossier;
    std::unique_ptr<PlateformeTest> plateforme;
    Creer_POI* f = nullptr;
    TexteLien1* d = nullptr;
};

void TestLiens::initTestCase()
{
    QVERIFY(reglages.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, reglages.path());
}

void TestLiens::init()
{
    dossier = std::make_unique<QTemporaryDir>();
    QVERIFY(dossier->isValid());
    Reglages::Ouvrir()->clear();
    plateforme = std::make_unique<PlateformeTest>();
    Entree::Demarrer();
    f = Entree::FenetrePrincipale();
    d = Entree::FenetreDescription();
    f->Option2[1]->click();
    for (int i : {14, 15, 17})
        Declarations::MsgBoite[i] = QStringLiteral("M%1").arg(i);
}

void TestLiens::cleanup()
{
    Entree::Terminer();
    plateforme.reset();
}

void TestLiens::Ouvrir(int liens, const QByteArray& nom)
{
    QByteArray gpx = "<gpx>\r\n<wpt lat=\"1\" lon=\"1\">\r\n<time>t0</time>\r\n<name>Autre</name>"
                     "\r\n</wpt>\r\n<wpt lat=\"48.3\" lon=\"-4.5\">\r\n<time>t1</time>\r\n<name>" +
                     nom + "</name>\r\n";
    for (int k = 1; k <= liens; ++k)
        gpx += "<link href=\"http://l/" + QByteArray::number(k) + "\">\r\n<text>L" +
               QByteArray::number(k) + "</text>\r\n</link>\r\n";
    gpx += "</wpt>\r\n</gpx>\r\n";
    const QString chemin = Dossier() + QStringLiteral("Cotes.gpx");
    QVERIFY(Ecrire(chemin, gpx));
    plateforme->fichiers << chemin;
    f->Ouvrir_Fichier->trigger();
    plateforme->boites.clear();
}

QStringList TestLiens::Liste() const
{
    QStringList l;
    for (int i = 0; i < f->ListeLiens->count(); ++i)
        l << f->ListeLiens->item(i)->text();
    return l;
}

void TestLiens::panneauLiens()
{
    Ouvrir();
    f->Gestion_Liens->trigger();
    QCOMPARE(plateforme->Textes(), QStringList{QStringLiteral("Selectionner d'abord un Poi")});
    QVERIFY(f->POIS->isVisible());
    Selectionner(1);
    f->Gestion_Liens->trigger();
    QVERIFY(f->LIENS->isVisible());
    QVERIFY(!f->POIS->isVisible());
    QCOMPARE(f->LIENS->geometry().topLeft(),
             QPoint(Twips::VersPixels(360), Twips::VersPixels(120)));
    f->Montre_Fichier->trigger();
    QVERIFY(f->POIS->isVisible());
    QVERIFY(!f->LIENS->isVisible());
}

void TestLiens::deuxPaires()
{
    Ouvrir(0);
    Selectionner(1);
    f->Text1->setText(QStringLiteral("Plan"));
    f->Text2->setText(QStringLiteral("/home/marin/plan.pdf"));
    f->Text3->setText(QStringLiteral("Port"));
    f->Text4->setText(QStringLiteral("http://port.fr"));
    f->Valider_lien->click();
    QVERIFY(plateforme->boites.isEmpty());
    QCOMPARE(Liste(), (QStringList{QStringLiteral("1  Port    (Web)"),
                                   QStringLiteral("2  Plan    (File)")}));
    QCOMPARE(Table.LienHref[2][2], QStringLiteral("file:///home/marin/plan.pdf"));
    for (QLineEdit* b : {f->Text1, f->Text2, f->Text3, f->Text4})
        QVERIFY(b->text().isEmpty());
}

void TestLiens::casDeValidation_data()
{
    QTest::addColumn<QStringList>("boites"); // Text1, Text2, Text3, Text4
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("liens");
    QTest::addColumn<QStringList>("restent");
    QTest::newRow("tout vide") << QStringList{"", "", "", ""} << QStringList() << 2
                               << QStringList{"", "", "", ""};
    QTest::newRow("adresse seule") << QStringList{"", "", "", "http://x"} << QStringList{"M14"} << 2
                                   << QStringList{"", "", "", ""};
    QTest::newRow("accent dans le chemin")
        << QStringList{"Plan", "/home/é/p.pdf", "Port", "http://p"}
        << QStringList{"Fichier, chemin ou URL accentué invalide : /home/é/p.pdf"} << 2
        << QStringList{"Plan", "", "Port", "http://p"};
    QTest::newRow("tabulation dans le texte")
        << QStringList{"a\tb", "", "", ""}
        << QStringList{"Fichier, chemin ou URL accentué invalide : a\tb"} << 2
        << QStringList{"", "", "", ""};
}

void TestLiens::casDeValidation()
{
    QFETCH(QStringList, boites);
    QFETCH(QStringList, messages);
    QFETCH(int, liens);
    QFETCH(QStringList, restent);
    Ouvrir();
    Selectionner(1);
    const QList<QLineEdit*> cases = {f->Text1, f->Text2, f->Text3, f->Text4};
    for (int i = 0; i < 4; ++i)
        cases[i]->setText(boites[i]);
    f->Valider_lien->click();
    QCOMPARE(plateforme->Textes(), messages);
    QCOMPARE(Table.NbLiens[2], int16_t(liens));
    QCOMPARE(f->ListeLiens->count(), liens);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(cases[i]->text(), restent[i]);
}

void TestLiens::cinquanteLiens()
{
    Ouvrir(49);
    Selectionner(1);
    f->Text1->setText(QStringLiteral("Plan"));
    f->Text2->setText(QStringLiteral("/p.pdf"));
    f->Text3->setText(QStringLiteral("Port"));
    f->Text4->setText(QStringLiteral("http://port.fr"));
    f->Valider_lien->click();
    QCOMPARE(plateforme->Textes(), QStringList{QStringLiteral("M17")});
    QCOMPARE(Table.NbLiens[2], MaxLiens);
    QCOMPARE(Table.LienTexte[2][50], QStringLiteral("Port"));
}

void TestLiens::supprimerLien()
{
    Ouvrir(3);
    Selectionner(1);
    f->ListeLiens->setCurrentRow(0);
    f->Supprimer_Lien->click();
    QCOMPARE(Liste(),
             (QStringList{QStringLiteral("1  L2    (Web)"), QStringLiteral("2  L3    (Web)")}));
    QCOMPARE(Table.LienHref[2][1], QStringLiteral("http://l/2"));
    QCOMPARE(f->ListeLiens->currentRow(), -1);
    f->ListeLiens->setCurrentRow(1);
    f->Supprimer_Lien->click();
    f->ListeLiens->setCurrentRow(0);
    f->Supprimer_Lien->click();
    QVERIFY(Liste().isEmpty());
    QCOMPARE(Table.NbLiens[2], int16_t(0));
    QVERIFY(plateforme->boites.isEmpty());
}

void TestLiens::sansSelection_data()
{
    QTest::addColumn<bool>("poi");
    QTest::newRow("poi sans lien choisi") << true;
    QTest::newRow("aucun poi") << false;
}

void TestLiens::sansSelection()
{
    QFETCH(bool, poi);
    Ouvrir(2);
    if (poi)
        Selectionner(1);
    f->Supprimer_Lien->click();
    f->Tester_Lien->click();
    QCOMPARE(plateforme->Textes(), (QStringList{QStringLiteral("Sélectionner un lien d'abord"),
                                                QStringLiteral("Sélectionner un lien d'abord")}));
    QCOMPARE(Table.NbLiens[2], int16_t(2));
    QVERIFY(plateforme->ouvertures.isEmpty());
}

void TestLiens::esperluette()
{
    Ouvrir(0);
    Selectionner(1);
    f->Text3->setText(QStringLiteral("Marée"));
    f->Text4->setText(QStringLiteral("http://m.fr/?a=1&b=2"));
    f->Valider_lien->click();
    // "Marée" is refused: link texts are ASCII.
    QCOMPARE(plateforme->Textes().size(), 1);
    f->Text3->setText(QStringLiteral("Maree"));
    f->Text4->setText(QStringLiteral("http://m.fr/?a=1&b=2"));
    f->Valider_lien->click();
    QCOMPARE(Table.LienHref[2][1], QStringLiteral("http://m.fr/?a=1&amp;b=2"));
    QCOMPARE(Liste(), QStringList{QStringLiteral("1  Maree    (Web)")});
    f->ListeLiens->setCurrentRow(0);
    f->Tester_Lien->click();
    QCOMPARE(plateforme->ouvertures, QStringList{QStringLiteral("http://m.fr/?a=1&b=2")});

    // Saved and opened again, the target reads back as stored.
    f->Sauver_Fichier->trigger();
    plateforme->fichiers << Declarations::FichierGPX;
    f->Ouvrir_Fichier->trigger();
    QCOMPARE(Table.LienHref[2][1], QStringLiteral("http://m.fr/?a=1&amp;b=2"));
}

void TestLiens::choisirFichier()
{
    Ouvrir();
    f->Fichier_lien->click();
    QCOMPARE(plateforme->Textes(), QStringList{QStringLiteral("Selectionner d'abord un Poi")});
    QVERIFY(plateforme->dialogues.size() == 1); // the Open command's only
    plateforme->boites.clear();
    Selectionner(1);
    f->Text2->setText(QStringLiteral("avant"));
    f->Fichier_lien->click(); // cancelled
    QCOMPARE(plateforme->dialogues.last(), Plateforme::Dialogue::FichierExistant);
    QCOMPARE(f->Text2->text(), QStringLiteral("avant"));
    plateforme->fichiers << QStringLiteral("/home/é.pdf");
    f->Fichier_lien->click();
    QCOMPARE(plateforme->Textes(),
             QStringList{QStringLiteral("Fichier, chemin ou URL accentué invalide")});
    QCOMPARE(f->Text2->text(), QStringLiteral("avant"));
    plateforme->fichiers << QStringLiteral("/home/plan.pdf");
    f->Fichier_lien->click();
    QCOMPARE(f->Text2->text(), QStringLiteral("/home/plan.pdf"));
}

void TestLiens::premiereDescription()
{
    Ouvrir(2);
    Selectionner(1);
    f->Descriptif->click();
    QVERIFY(d->isVisible());
    QVERIFY(d->Text1->toPlainText().isEmpty());
    d->Text1->setPlainText(QStringLiteral("Mouillage abrité\nFond de sable"));
    d->Enregistrer->click();
    const QString fichier = Dossier() + QStringLiteral("Anse Nord.txt");
    QCOMPARE(Lire(fichier), QByteArray("Mouillage abrit\xE9\r\nFond de sable\r\n"));
    QCOMPARE(Liste(),
             (QStringList{QStringLiteral("1  Description    (File)"),
                          QStringLiteral("2  L1    (Web)"), QStringLiteral("3  L2    (Web)")}));
    QCOMPARE(Table.LienHref[2][1], QStringLiteral("file://") + fichier);
    QVERIFY(d->isVisible());
    // Saved again: the file is rewritten, no second link is made.
    d->Text1->setPlainText(QStringLiteral("Autre"));
    d->Enregistrer->click();
    QCOMPARE(Lire(fichier), QByteArray("Autre\r\n"));
    QCOMPARE(Table.NbLiens[2], int16_t(3));
    QVERIFY(plateforme->boites.isEmpty());
}

void TestLiens::descriptionAvecCinquanteLiens()
{
    Ouvrir(50);
    Selectionner(1);
    f->Descriptif->click();
    d->Enregistrer->click();
    QCOMPARE(Table.NbLiens[2], MaxLiens);
    QCOMPARE(Table.LienTexte[2][1], QStringLiteral("Description"));
    QCOMPARE(Table.LienTexte[2][50], QStringLiteral("L49"));
}

void TestLiens::descriptionTexteVide()
{
    Ouvrir();
    Selectionner(1);
    f->Descriptif->click();
    d->Enregistrer->click();
    const QString fichier = Dossier() + QStringLiteral("Anse Nord.txt");
    QCOMPARE(Lire(fichier), QByteArray("\r\n"));
    d->Fermer->click();
    f->Descriptif->click();
    QCOMPARE(d->Text1->toPlainText(), QStringLiteral("\n"));
}

void TestLiens::descriptionRelueEtEnregistree()
{
    Ouvrir();
    const QString fichier = Dossier() + QStringLiteral("Anse Nord.txt");
    QVERIFY(Ecrire(fichier, "ligne 1\nligne 2\r\n"));
    Selectionner(1);
    f->Descriptif->click();
    QCOMPARE(d->Text1->toPlainText(), QStringLiteral("ligne 1\nligne 2\n"));
    d->Enregistrer->click();
    QCOMPARE(Lire(fichier), QByteArray("ligne 1\r\nligne 2\r\n\r\n"));
}

void TestLiens::descriptionNomsDangereux_data()
{
    QTest::addColumn<QByteArray>("nom");
    QTest::addColumn<QString>("fichier");
    QTest::newRow("barres obliques") << QByteArray("../../etc/passwd") << ".._.._etc_passwd.txt";
    QTest::newRow("point point") << QByteArray("..") << "_...txt";
    QTest::newRow("barre inverse") << QByteArray("a\\b") << "a_b.txt";
}

void TestLiens::descriptionNomsDangereux()
{
    QFETCH(QByteArray, nom);
    QFETCH(QString, fichier);
    Ouvrir(0, nom);
    Selectionner(1);
    f->Descriptif->click();
    d->Text1->setPlainText(QStringLiteral("x"));
    d->Enregistrer->click();
    QVERIFY2(QFile::exists(Dossier() + fichier), qPrintable(fichier));
    QCOMPARE(Table.LienHref[2][1], QStringLiteral("file://") + Dossier() + fichier);
}

void TestLiens::descriptionSansPoiCourant()
{
    Ouvrir();
    f->Descriptif->click();
    QCOMPARE(plateforme->Textes(), QStringList{QStringLiteral("Selectionner d'abord un Poi")});
    QVERIFY(!d->isVisible());
    // The window stays open on a waypoint that is then deleted.
    Selectionner(1);
    f->Descriptif->click();
    f->Option1[2]->click();
    f->Validation->click();
    plateforme->boites.clear();
    QCOMPARE(NumPOI, int16_t(2));
    QCOMPARE(Table.NbPOI, int16_t(1));
    d->Enregistrer->click();
    QCOMPARE(plateforme->Textes(), QStringList{QStringLiteral("Selectionner d'abord un Poi")});
    QCOMPARE(QDir(Dossier()).entryList({QStringLiteral("*.txt")}), QStringList());
}

void TestLiens::descriptionSansNom()
{
    Ouvrir();
    Selectionner(1);
    f->Descriptif->click();
    f->Nom_WP->clear();
    d->Enregistrer->click();
    QCOMPARE(plateforme->Textes(), QStringList{QStringLiteral("M15")});
    QVERIFY(QFile::exists(Dossier() + QStringLiteral("Anse Nord.txt")));
    QCOMPARE(Table.NbLiens[2], int16_t(2));
}

void TestLiens::descriptionIntraduisible()
{
    Ouvrir();
    Selectionner(1);
    f->Descriptif->click();
    d->Text1->setPlainText(QStringLiteral("Łeba"));
    d->Enregistrer->click();
    QCOMPARE(plateforme->boites.size(), 1);
    QVERIFY(plateforme->boites[0].texte.contains(QStringLiteral("Anse Nord.txt")));
    QVERIFY(plateforme->boites[0].texte.contains(QStringLiteral("U+0141")));
    QVERIFY(!QFile::exists(Dossier() + QStringLiteral("Anse Nord.txt")));
    QCOMPARE(Table.NbLiens[2], int16_t(2));
}

void TestLiens::fenetreDescription()
{
    Ouvrir();
    Selectionner(1);
    Reglages::Ecrire(Reglages::TexteLien1_MargeG, QStringLiteral("1500"));
    Reglages::Ecrire(Reglages::TexteLien1_Haut, QStringLiteral("abc"));
    const int hautAvant = d->pos().y();
    f->Descriptif->click();
    QVERIFY(d->isVisible());
    QCOMPARE(d->pos(), QPoint(Twips::VersPixels(1500), hautAvant));
    d->close(); // the close box does nothing
    QVERIFY(d->isVisible());
    d->move(Twips::VersPixels(3000), Twips::VersPixels(600));
    d->Fermer->click();
    QVERIFY(!d->isVisible());
    // Whole twips, read back to the same place.
    const QString gauche = Reglages::Lire(Reglages::TexteLien1_MargeG);
    const QString haut = Reglages::Lire(Reglages::TexteLien1_Haut);
    QVERIFY2(QRegularExpression(QStringLiteral("^[0-9]+$")).match(gauche).hasMatch(),
             qPrintable(gauche));
    QCOMPARE(Twips::VersPixels(gauche.toInt()), Twips::VersPixels(3000));
    QCOMPARE(Twips::VersPixels(haut.toInt()), Twips::VersPixels(600));
    QVERIFY(plateforme->boites.isEmpty());
}

QTEST_MAIN(TestLiens)
#include "test_liens.moc"
