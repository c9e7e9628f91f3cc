#include "Factices.h"
#include "OutilsGPX.h"
#include "shell/Declarations.h"
#include "shell/Entree.h"
#include "ui/Creer_POI.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace OutilsGPX;
using Declarations::NumPOI;
using Declarations::Table;

// Selection and the edit commands, driven through the real main window.
class TestEdition : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void selection_data();
    void selection();
    void selectionAuClavier();
    void selectionEffaceeParLeCode();
    void clicsEnModeNouveau();
    void positions_data();
    void positions();
    void nouveauPoiEtHorodatage();
    void modifierGardeTempsSymboleEtLiens();
    void supprimerTroisSurCinq();
    void supprimerLeSeul();
    void centiemeEtRefus();
    void sansFichier_data();
    void sansFichier();
    void sansPoiCourant_data();
    void sansPoiCourant();
    void validerSansMode();
    void enFrancais();

private:
    void Ouvrir(const QByteArray& contenu);
    void Selectionner(int ligne);
    void Nouveau(const QString& position, const QString& nom);

    QTemporaryDir dossier;
    std::unique_ptr<PlateformeTest> plateforme;
    Creer_POI* f = nullptr;
};

namespace {

QByteArray Wpt(const QByteArray& lat, const QByteArray& lon, const QByteArray& temps,
               const QByteArray& nom, const QByteArray& sym, int liens)
{
    QByteArray w = "\t<wpt lat=\"" + lat + "\" lon=\"" + lon + "\">\r\n\t\t<time>" + temps +
                   "</time>\r\n\t\t<name>" + nom + "</name>\r\n";
    for (int k = 1; k <= liens; ++k)
        w += "\t\t<link href=\"http://" + nom + "/" + QByteArray::number(k) +
             "\">\r\n\t\t\t<text>" + nom + " " + QByteArray::number(k) +
             "</text>\r\n\t\t</link>\r\n";
    return w + "\t\t<sym>" + sym + "</sym>\r\n\t</wpt>\r\n";
}

const QByteArray Cinq = "<gpx>\r\n" + Wpt("48.1", "-4.1", "t1", "Un", "s1", 1) +
                        Wpt("48.2", "-4.2", "t2", "Deux", "s2", 2) +
                        Wpt("48.3", "-4.3", "t3", "Trois", "s3", 3) +
                        Wpt("48.4", "-4.4", "t4", "Quatre", "s4", 0) +
                        Wpt("48.5", "-4.5", "t5", "Cinq", "s5", 1) + "</gpx>\r\n";

} // namespace

void TestEdition::initTestCase()
{
    QVERIFY(dossier.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dossier.path());
}

void TestEdition::init()
{
    plateforme = std::make_unique<PlateformeTest>();
    Entree::Demarrer();
    f = Entree::FenetrePrincipale();
    f->Option2[1]->click();
    // Messages without a built-in text get one, to tell them apart.
    for (int i : {2, 7, 10, 11, 12, 13})
        Declarations::MsgBoite[i] = QStringLiteral("M%1").arg(i);
    QVERIFY(QTest::qWaitForWindowExposed(f));
}

void TestEdition::cleanup()
{
    Entree::Terminer();
    plateforme.reset();
}

void TestEdition::Ouvrir(const QByteArray& contenu)
{
    const QString chemin = dossier.filePath(QStringLiteral("edition.gpx"));
    QVERIFY(Ecrire(chemin, contenu));
    plateforme->fichiers << chemin;
    f->Ouvrir_Fichier->trigger();
    plateforme->boites.clear();
}

void TestEdition::Selectionner(int ligne)
{
    QListWidgetItem* item = f->ListePOI->item(ligne);
    QVERIFY(item);
    QTest::mouseClick(f->ListePOI->viewport(), Qt::LeftButton, {},
                      f->ListePOI->visualItemRect(item).center());
    QCOMPARE(f->ListePOI->currentRow(), ligne);
}

void TestEdition::Nouveau(const QString& position, const QString& nom)
{
    f->Option1[1]->click();
    f->Lat_Long->setText(position);
    f->Nom_WP->setText(nom);
    f->Validation->click();
}

void TestEdition::selection_data()
{
    QTest::addColumn<bool>("parClic");
    QTest::addColumn<QByteArray>("lat");
    QTest::addColumn<QByteArray>("lon");
    QTest::addColumn<QString>("position");
    QTest::newRow("clic") << true << QByteArray("48.3905") << QByteArray("-4.4860")
                          << "48.3905,-4.4860";
    QTest::newRow("code") << false << QByteArray("48.3905") << QByteArray("-4.4860")
                          << "48.3905,-4.4860";
    QTest::newRow("latitude nulle") << false << QByteArray("0.0") << QByteArray("-4.4") << "France";
    QTest::newRow("longitude mot") << false << QByteArray("48") << QByteArray("abc") << "France";
    QTest::newRow("latitude vide") << true << QByteArray() << QByteArray("-4.4") << "France";
    QTest::newRow("demi degre") << true << QByteArray("-0.5") << QByteArray("2") << "-0.5,2";
    QTest::newRow("blanc garde") << false << QByteArray(" 48.5") << QByteArray("-4.3")
                                 << " 48.5,-4.3";
}

void TestEdition::selection()
{
    QFETCH(bool, parClic);
    QFETCH(QByteArray, lat);
    QFETCH(QByteArray, lon);
    QFETCH(QString, position);
    Ouvrir("<gpx>\r\n" + Wpt("1", "1", "t0", "Autre", "", 0) + Wpt(lat, lon, "t1", "Brest", "", 2) +
           "</gpx>\r\n");
    f->Text1->setText(QStringLiteral("x"));
    f->Text4->setText(QStringLiteral("y"));
    f->Option1[1]->setChecked(true);
    if (parClic)
        Selectionner(1);
    else
        f->ListePOI->setCurrentRow(1);
    QCOMPARE(NumPOI, int16_t(2));
    QCOMPARE(f->Lat_Long->text(), position);
    QCOMPARE(f->Nom_WP->text(), QStringLiteral("Brest"));
    QCOMPARE(f->Text7->text(), QStringLiteral("Brest"));
    QVERIFY(f->Text1->text().isEmpty() && f->Text4->text().isEmpty());
    QVERIFY(!f->Option1[1]->isChecked());
    QCOMPARE(f->ListeLiens->count(), 2);
    QCOMPARE(f->ListeLiens->item(1)->text(), QStringLiteral("2  Brest 2    (Web)"));
    QCOMPARE(f->ListeLiens->currentRow(), -1);
    QVERIFY(plateforme->boites.isEmpty());
}

void TestEdition::selectionAuClavier()
{
    Ouvrir(Cinq);
    Selectionner(0);
    f->ListePOI->setFocus();
    QTest::keyClick(f->ListePOI, Qt::Key_Down);
    QCOMPARE(NumPOI, int16_t(2));
    QCOMPARE(f->Nom_WP->text(), QStringLiteral("Deux"));
    QCOMPARE(f->ListeLiens->count(), 2);
}

void TestEdition::selectionEffaceeParLeCode()
{
    Ouvrir(Cinq);
    Selectionner(2);
    f->ListePOI->setCurrentRow(-1);
    QCOMPARE(NumPOI, int16_t(3));
    QCOMPARE(f->Nom_WP->text(), QStringLiteral("Trois"));
    QCOMPARE(f->ListeLiens->count(), 3);
}

void TestEdition::clicsEnModeNouveau()
{
    Ouvrir(Cinq);
    Selectionner(0);
    // Outside "Nouveau Poi" a click changes nothing.
    QTest::mouseClick(f->Nom_WP, Qt::LeftButton);
    QCOMPARE(f->Nom_WP->text(), QStringLiteral("Un"));
    f->Option1[1]->click();
    QCOMPARE(f->Nom_WP->text(), QStringLiteral("Entrez ici le nom / Enter Poi's name"));
    QTest::mouseClick(f->Nom_WP, Qt::LeftButton);
    QVERIFY(f->Nom_WP->text().isEmpty());
    QTest::mouseClick(f->Lat_Long, Qt::LeftButton);
    QVERIFY(f->Lat_Long->text().isEmpty());
    f->Nom_WP->setText(QStringLiteral("Tapé"));
    QTest::mouseClick(f->Nom_WP, Qt::LeftButton);
    QVERIFY(f->Nom_WP->text().isEmpty());
}

void TestEdition::positions_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("lat");
    QTest::addColumn<QString>("lon");
    QTest::newRow("correcte") << "48.5,-4.3"
                              << ""
                              << "48.5"
                              << "-4.3";
    QTest::newRow("virgules decimales") << "48,5,-4,3"
                                        << "M10"
                                        << ""
                                        << "";
    QTest::newRow("point-virgule") << "48.5;-4.3"
                                   << "M11"
                                   << ""
                                   << "";
    QTest::newRow("vide") << ""
                          << "M11"
                          << ""
                          << "";
    QTest::newRow("latitude nulle") << "0,-4.3"
                                    << "M11"
                                    << ""
                                    << "";
    QTest::newRow("longitude nulle") << "48.5,0"
                                     << "M11"
                                     << ""
                                     << "";
    QTest::newRow("mot") << "48.5,abc"
                         << "M13"
                         << ""
                         << "";
    QTest::newRow("mot avant zero") << "abc,0"
                                    << "M13"
                                    << ""
                                    << "";
    QTest::newRow("France") << "France"
                            << "M11"
                            << ""
                            << "";
    QTest::newRow("une virgule entiers") << "48,5"
                                         << ""
                                         << "48"
                                         << "5";
    QTest::newRow("blancs gardes") << "48.5 , -4.3"
                                   << ""
                                   << "48.5 "
                                   << " -4.3";
}

void TestEdition::positions()
{
    QFETCH(QString, texte);
    QFETCH(QString, message);
    QFETCH(QString, lat);
    QFETCH(QString, lon);
    Ouvrir(Cinq);
    Nouveau(texte, QStringLiteral("Brest"));
    if (message.isEmpty()) {
        QVERIFY(plateforme->boites.isEmpty());
        QCOMPARE(Table.NbPOI, int16_t(6));
        QCOMPARE(Table.LatPOI[6], lat);
        QCOMPARE(Table.LonPOI[6], lon);
        QCOMPARE(Table.NomPOI[6], QStringLiteral("Brest"));
        QCOMPARE(f->ListePOI->count(), 6);
        QCOMPARE(f->ListePOI->currentRow(), -1);
        QVERIFY(!f->Option1[1]->isChecked());
        QCOMPARE(NumPOI, int16_t(6));
    } else {
        QCOMPARE(plateforme->Textes(), QStringList{message});
        QCOMPARE(Table.NbPOI, int16_t(5));
        QCOMPARE(f->ListePOI->count(), 5);
        // The entry stays, to be corrected and applied again.
        QVERIFY(f->Option1[1]->isChecked());
        QCOMPARE(f->Lat_Long->text(), texte);
    }
}

void TestEdition::nouveauPoiEtHorodatage()
{
    Ouvrir(Cinq);
    Nouveau(QStringLiteral("48.5,-4.3"), QStringLiteral("Brest"));
    Nouveau(QStringLiteral("48.6,-4.3"), QStringLiteral("Entrez ici le nom / Enter Poi's name"));
    QCOMPARE(Table.TempsPOI[6], QStringLiteral("2026-06-21T08:30:05Z"));
    QCOMPARE(Table.TempsPOI[7], QStringLiteral("2026-06-21T08:30:05Z"));
    QCOMPARE(Table.NomPOI[7], QStringLiteral("Entrez ici le nom / Enter Poi's name"));
    // A new row starts empty, whatever the table held there before.
    QVERIFY(Table.SymPOI[7].isEmpty());
    QCOMPARE(Table.NbLiens[7], int16_t(0));
    QCOMPARE(f->Lat_Long->text(), QStringLiteral("48.6,-4.3"));
}

void TestEdition::modifierGardeTempsSymboleEtLiens()
{
    Ouvrir(Cinq + Wpt("47", "-3", "", "SansTemps", "", 0));
    Selectionner(1);
    f->Option1[0]->click();
    f->Lat_Long->setText(QStringLiteral("47.25,-3.5"));
    f->Nom_WP->setText(QStringLiteral("Deux bis"));
    plateforme->maintenant = plateforme->maintenant.addDays(1);
    f->Validation->click();
    QVERIFY(plateforme->boites.isEmpty());
    QCOMPARE(Table.NomPOI[2], QStringLiteral("Deux bis"));
    QCOMPARE(Table.LatPOI[2], QStringLiteral("47.25"));
    QCOMPARE(Table.TempsPOI[2], QStringLiteral("t2"));
    QCOMPARE(Table.SymPOI[2], QStringLiteral("s2"));
    QCOMPARE(Table.NbLiens[2], int16_t(2));
    QCOMPARE(f->ListePOI->currentRow(), 1);
    QCOMPARE(f->ListePOI->item(1)->text(), QStringLiteral("Deux bis"));
    for (QRadioButton* o : f->Option1)
        QVERIFY(!o->isChecked());

    // A waypoint without a time stamp receives one.
    Selectionner(5);
    f->Option1[0]->click();
    f->Validation->click();
    QCOMPARE(Table.TempsPOI[6], QStringLiteral("2026-06-22T08:30:05Z"));
}

void TestEdition::supprimerTroisSurCinq()
{
    Ouvrir(Cinq);
    auto attendue = std::make_unique<PoiTable>(Table);
    Selectionner(2);
    f->Option1[2]->click();
    f->Validation->click();
    QVERIFY(plateforme->boites.isEmpty());
    QCOMPARE(Table.NbPOI, int16_t(4));
    for (int avant : {4, 5})
        attendue->CopierLigne(avant, avant - 1);
    attendue->NbPOI = 4;
    QCOMPARE(Resume(Table), Resume(*attendue));
    QCOMPARE(f->ListePOI->count(), 4);
    QCOMPARE(f->ListePOI->currentRow(), -1);
    QCOMPARE(NumPOI, int16_t(3));
    // The boxes still show the deleted waypoint.
    QCOMPARE(f->Nom_WP->text(), QStringLiteral("Trois"));

    // A new waypoint starts with no links or symbol of the rows it reuses.
    Nouveau(QStringLiteral("1,1"), QStringLiteral("Neuf"));
    QCOMPARE(Table.NbLiens[5], int16_t(0));
    QVERIFY(Table.SymPOI[5].isEmpty());
    QVERIFY(Table.LienHref[5][1].isEmpty());
}

void TestEdition::supprimerLeSeul()
{
    Ouvrir("<gpx>\r\n" + Wpt("1", "2", "t", "Seul", "", 0) + "</gpx>\r\n");
    Selectionner(0);
    f->Option1[2]->click();
    f->Validation->click();
    QCOMPARE(Table.NbPOI, int16_t(0));
    QCOMPARE(f->ListePOI->count(), 0);
}

void TestEdition::centiemeEtRefus()
{
    QByteArray quatreVingtDixNeuf = "<gpx>\r\n";
    for (int i = 1; i <= 99; ++i)
        quatreVingtDixNeuf += Wpt("1", "2", "t" + QByteArray::number(i), "P", "", 0);
    Ouvrir(quatreVingtDixNeuf + "</gpx>\r\n");
    Nouveau(QStringLiteral("48.5,-4.3"), QStringLiteral("Centieme"));
    QCOMPARE(Table.NbPOI, MaxPOI);
    QVERIFY(plateforme->boites.isEmpty());
    Nouveau(QStringLiteral("48.5,-4.3"), QStringLiteral("De trop"));
    QCOMPARE(plateforme->Textes(), QStringList{QStringLiteral("100M2")});
    QCOMPARE(Table.NbPOI, MaxPOI);
    QVERIFY(!f->Option1[1]->isChecked());
    QCOMPARE(Table.NomPOI[100], QStringLiteral("Centieme"));
}

void TestEdition::sansFichier_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("modifier") << 0;
    QTest::newRow("nouveau") << 1;
}

void TestEdition::sansFichier()
{
    QFETCH(int, mode);
    f->Option1[mode]->click();
    f->Lat_Long->setText(QStringLiteral("48.5,-4.3"));
    f->Nom_WP->setText(QStringLiteral("Brest"));
    f->Validation->click();
    QCOMPARE(plateforme->Textes(), QStringList{QStringLiteral("M7")});
    QCOMPARE(Table.NbPOI, int16_t(0));
    QCOMPARE(f->ListePOI->count(), 0);
}

void TestEdition::sansPoiCourant_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("modifier") << 0;
    QTest::newRow("supprimer") << 2;
}

void TestEdition::sansPoiCourant()
{
    QFETCH(int, mode);
    Ouvrir(Cinq);
    const QString avant = Resume(Table);
    QCOMPARE(NumPOI, int16_t(6)); // past the table's rows after an Open
    f->Option1[mode]->click();
    f->Lat_Long->setText(QStringLiteral("48.5,-4.3"));
    f->Nom_WP->setText(QStringLiteral("Brest"));
    f->Validation->click();
    QCOMPARE(plateforme->Textes(), QStringList{QStringLiteral("Selectionner d'abord un Poi")});
    QCOMPARE(Resume(Table), avant);
    QCOMPARE(f->ListePOI->count(), 5);
}

void TestEdition::validerSansMode()
{
    Ouvrir(Cinq);
    Selectionner(0);
    f->Validation->click();
    QCOMPARE(plateforme->Textes(),
             QStringList{QStringLiteral("Choisir Modifier, Ajouter ou Supprimer")});
    QCOMPARE(Table.NbPOI, int16_t(5));
}

void TestEdition::enFrancais()
{
    const QLocale avant;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    Ouvrir(Cinq);
    Nouveau(QStringLiteral("48.5,-4.3"), QStringLiteral("Brest"));
    QLocale::setDefault(avant);
    QVERIFY(plateforme->boites.isEmpty());
    QCOMPARE(Table.LatPOI[6], QStringLiteral("48.5"));
}

QTEST_MAIN(TestEdition)
#include "test_edition.moc"
