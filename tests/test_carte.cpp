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

using Declarations::Table;

// The map steps of the commands, against a map that records every call.
class TestCarte : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void cadrage_data();
    void cadrage();
    void selectionCentre();
    void cinqSelectionsSansConnexion();
    void sansConnexionNon();
    void editionsSansPlacemark();
    void capture();
    void captureEnFrancais();
    void captureEchoue_data();
    void captureEchoue();
    void sansCarteRienNEstEnvoye();

private:
    void Demarrer(bool oui = true, int32_t connexion = 1);
    void Ouvrir(const QByteArray& pois);
    QStringList Appels(const QString& debut) const;

    QTemporaryDir dossier;
    std::unique_ptr<PlateformeTest> plateforme;
    Creer_POI* f = nullptr;
};

namespace {

QByteArray Wpt(const QByteArray& lat, const QByteArray& lon, const QByteArray& nom)
{
    return "<wpt lat=\"" + lat + "\" lon=\"" + lon + "\">\r\n<time>t" + lat + lon +
           "</time>\r\n<name>" + nom + "</name>\r\n</wpt>\r\n";
}

} // namespace

void TestCarte::initTestCase()
{
    QVERIFY(dossier.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dossier.path());
}

void TestCarte::init()
{
    plateforme = std::make_unique<PlateformeTest>();
}

void TestCarte::cleanup()
{
    Entree::Terminer();
    plateforme.reset();
}

void TestCarte::Demarrer(bool oui, int32_t connexion)
{
    plateforme->connexion = connexion;
    plateforme->CarteFactice(1);
    Entree::Demarrer();
    f = Entree::FenetrePrincipale();
    f->Option2[oui ? 0 : 1]->click();
    Declarations::MsgBoite[16] = QStringLiteral("M16");
    QCOMPARE(Entree::EtapeCourante(), Entree::Etape::Terminee);
}

void TestCarte::Ouvrir(const QByteArray& pois)
{
    const QString chemin = dossier.filePath(QStringLiteral("carte.gpx"));
    QVERIFY(OutilsGPX::Ecrire(chemin, "<gpx>\r\n" + pois + "</gpx>\r\n"));
    plateforme->fichiers << chemin;
    f->Ouvrir_Fichier->trigger();
}

QStringList TestCarte::Appels(const QString& debut) const
{
    QStringList r;
    if (plateforme->carte)
        for (const QString& a : plateforme->carte->appels)
            if (a.startsWith(debut))
                r << a;
    return r;
}

void TestCarte::cadrage_data()
{
    QTest::addColumn<QByteArray>("pois");
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<double>("range");
    QTest::addColumn<QStringList>("placemarks");
    QTest::newRow("un poi") << Wpt("48.3905", "-4.4860", "Brest") << 48.3905 << -4.486 << 2000.0
                            << QStringList{"<Placemark><name>Brest</name><Point><coordinates>"
                                           "-4.4860,48.3905,0</coordinates></Point></Placemark>"};
    QTest::newRow("deux pois") << Wpt("48.0", "-4.0", "A") + Wpt("48.2", "-4.5", "B") << 48.1
                               << -4.25 << 0.7 * 150000
                               << QStringList{"<Placemark><name>A</name><Point><coordinates>"
                                              "-4.0,48.0,0</coordinates></Point></Placemark>",
                                              "<Placemark><name>B</name><Point><coordinates>"
                                              "-4.5,48.2,0</coordinates></Point></Placemark>"};
    QTest::newRow("aucun poi") << QByteArray() << 0.0 << 0.0 << 2000.0 << QStringList();
    QTest::newRow("latitude mot")
        << Wpt("abc", "2", "X") + Wpt("1", "3", "Y") << 0.5 << 2.5 << 2.0 * 150000
        << QStringList{"<Placemark><name>X</name><Point><coordinates>2,abc,0</coordinates>"
                       "</Point></Placemark>",
                       "<Placemark><name>Y</name><Point><coordinates>3,1,0</coordinates>"
                       "</Point></Placemark>"};
    QTest::newRow("esperluette et chevron")
        << Wpt("1", "2", "Quai &amp; &lt;Port&gt;") << 1.0 << 2.0 << 2000.0
        << QStringList{"<Placemark><name>Quai & <Port></name><Point><coordinates>2,1,0"
                       "</coordinates></Point></Placemark>"};
}

void TestCarte::cadrage()
{
    QFETCH(QByteArray, pois);
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(double, range);
    QFETCH(QStringList, placemarks);
    Demarrer();
    Ouvrir(pois);
    QCOMPARE(Appels("IsInitialized").size(), 2); // start-up, then the Open command's guard
    const QStringList camera = Appels("SetCameraParams");
    QCOMPARE(camera.size(), 1);
    const QStringList v = camera[0].split(QLatin1Char(' '));
    QCOMPARE(v.size(), 9);
    // Single precision framing.
    QVERIFY2(qAbs(v[1].toDouble() - lat) < 1e-5, qPrintable(camera[0]));
    QVERIFY2(qAbs(v[2].toDouble() - lon) < 1e-5, qPrintable(camera[0]));
    QVERIFY2(qAbs(v[5].toDouble() - range) < range * 1e-5, qPrintable(camera[0]));
    QCOMPARE(v[3] + v[4] + v[6] + v[7] + v[8], QStringLiteral("01005"));
    QStringList kml;
    for (const QString& a : Appels("LoadKmlData "))
        kml << a.mid(12);
    QCOMPARE(kml, placemarks);
    QVERIFY(plateforme->boites.isEmpty());
}

void TestCarte::selectionCentre()
{
    Demarrer();
    Ouvrir(Wpt("48.5", "-4.25", "A") + Wpt("zero", "3", "B"));
    plateforme->carte->appels.clear();
    f->ListePOI->setCurrentRow(0);
    f->ListePOI->setCurrentRow(1);
    QCOMPARE(Appels("SetCameraParams"), (QStringList{"SetCameraParams 48.5 -4.25 0 1 2000 0 0 5",
                                                     "SetCameraParams 0 3 0 1 2000 0 0 5"}));
}

void TestCarte::cinqSelectionsSansConnexion()
{
    Demarrer(true, 0);
    QByteArray cinq;
    for (int i = 1; i <= 5; ++i)
        cinq += Wpt(QByteArray::number(40 + i), "-4", "P" + QByteArray::number(i));
    plateforme->reponses << Plateforme::Reponse::Oui; // the Open command's framing
    Ouvrir(cinq);
    for (int i = 0; i < 5; ++i) {
        plateforme->reponses << Plateforme::Reponse::Oui;
        f->ListePOI->setCurrentRow(i);
    }
    QCOMPARE(plateforme->boites.size(), 6);
    for (const auto& b : plateforme->boites) {
        QCOMPARE(b.texte, QStringLiteral("M16"));
        QCOMPARE(b.boutons, Plateforme::Boutons::OuiNon);
    }
    QCOMPARE(Appels("SetCameraParams").size(), 6);
}

void TestCarte::sansConnexionNon()
{
    Demarrer(true, 0);
    Ouvrir(Wpt("1", "2", "A"));    // answered No
    f->ListePOI->setCurrentRow(0); // No again
    QCOMPARE(plateforme->boites.size(), 2);
    QVERIFY(Appels("SetCameraParams").isEmpty());
    QVERIFY(Appels("LoadKmlData").isEmpty());
}

void TestCarte::editionsSansPlacemark()
{
    Demarrer();
    Ouvrir(Wpt("48.1", "-4.1", "A") + Wpt("48.2", "-4.2", "B"));
    plateforme->carte->appels.clear();
    f->Option1[1]->click();
    f->Lat_Long->setText(QStringLiteral("48.3,-4.3"));
    f->Nom_WP->setText(QStringLiteral("C"));
    f->Validation->click();
    f->ListePOI->setCurrentRow(0);
    f->Option1[0]->click();
    f->Validation->click();
    f->ListePOI->setCurrentRow(1);
    f->Option1[2]->click();
    f->Validation->click();
    QCOMPARE(Table.NbPOI, int16_t(2));
    QVERIFY(Appels("LoadKmlData").isEmpty());
}

void TestCarte::capture()
{
    Demarrer();
    Ouvrir(Wpt("48.1", "-4.1", "A"));
    f->ListePOI->setCurrentRow(0);
    plateforme->carte->camera = {48.5123456789012345, -4.3};
    plateforme->carte->appels.clear();
    f->Pickup_X_Y->click();
    QCOMPARE(f->Lat_Long->text(), QStringLiteral("48.5123456789012,-4.3"));
    QCOMPARE(Appels(""),
             (QStringList{"GetCamera 1", "LoadKmlData <Placemark><Point><coordinates>-4.3,"
                                         "48.5123456789012,0</coordinates></Point></Placemark>"}));
    // The captured text can be stored.
    f->Option1[0]->click();
    f->Validation->click();
    QVERIFY(plateforme->boites.isEmpty());
    QCOMPARE(Table.LatPOI[1], QStringLiteral("48.5123456789012"));
    QCOMPARE(Table.LonPOI[1], QStringLiteral("-4.3"));
}

void TestCarte::captureEnFrancais()
{
    const QLocale avant;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    Demarrer();
    plateforme->carte->camera = {48.5, -4.25};
    f->Pickup_X_Y->click();
    QLocale::setDefault(avant);
    QCOMPARE(f->Lat_Long->text(), QStringLiteral("48.5,-4.25"));
}

void TestCarte::captureEchoue_data()
{
    QTest::addColumn<bool>("carteCreee");
    QTest::newRow("pas de carte") << false;
    QTest::newRow("pas de camera") << true;
}

void TestCarte::captureEchoue()
{
    QFETCH(bool, carteCreee);
    if (carteCreee) {
        Demarrer();
        plateforme->carte->cameraEchoue = true;
    } else {
        Entree::Demarrer(); // no map can be created
        f = Entree::FenetrePrincipale();
        f->Option2[0]->click();
        Declarations::MsgBoite[16] = QStringLiteral("M16");
        plateforme->boites.clear();
    }
    f->Lat_Long->setText(QStringLiteral("avant"));
    f->Pickup_X_Y->click();
    QCOMPARE(plateforme->boites.size(), 1);
    QCOMPARE(plateforme->boites[0].texte, QStringLiteral("M16"));
    QCOMPARE(plateforme->boites[0].boutons, Plateforme::Boutons::OK);
    QCOMPARE(f->Lat_Long->text(), QStringLiteral("avant"));
}

void TestCarte::sansCarteRienNEstEnvoye()
{
    Demarrer(false, 0);
    QVERIFY(!plateforme->carte);
    Ouvrir(Wpt("48.1", "-4.1", "A"));
    f->ListePOI->setCurrentRow(0);
    QVERIFY(!f->Pickup_X_Y->isVisible());
    QVERIFY(plateforme->creations.isEmpty());
    QVERIFY(plateforme->boites.isEmpty());
}

QTEST_MAIN(TestCarte)
#include "test_carte.moc"
