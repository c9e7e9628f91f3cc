// The map steps of the commands, against a map that records every call.
#include "Outils.h"
#include "shell/Declarations.h"
#include "shell/Entree.h"
#include "ui/Creer_POI.h"
#include "ui/ListeChoix.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using Declarations::Table;
using OutilsGPX::Document;

namespace {

QByteArray Wpt(const QByteArray& lat, const QByteArray& lon, const QByteArray& nom)
{
    return OutilsGPX::Wpt(lat, lon, "t" + lat + lon, nom);
}

QString Placemark(const QString& nom, const QString& coordonnees)
{
    return QStringLiteral("LoadKmlData <Placemark><name>%1</name><Point><coordinates>%2,0"
                          "</coordinates></Point></Placemark>")
        .arg(nom, coordonnees);
}

} // namespace

class TestCarte : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Session::Preparer(); }
    void init() { s = std::make_unique<Session>(); }
    void cleanup() { s.reset(); }

    void cadrage_data();
    void cadrage();
    void selectionEtEdition();
    void sansConnexion_data();
    void sansConnexion();
    void capture();
    void captureEchoue_data();
    void captureEchoue();

private:
    // Start-up answered "Oui" with a map ready at once.
    void Demarrer(int32_t connexion = 1)
    {
        s->plateforme->connexion = connexion;
        s->plateforme->CarteFactice(1);
        s->Demarrer(0);
        QCOMPARE(Entree::EtapeCourante(), Entree::Etape::Terminee);
    }
    ApplicationGEFactice& carte() { return *s->plateforme->carte; }
    std::unique_ptr<Session> s;
};

void TestCarte::cadrage_data()
{
    // The waypoints; the view's latitude, longitude and range; the placemarks.
    QTest::addColumn<QByteArray>("pois");
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QStringList>("placemarks");
    auto r = [](const char* nom, const QByteArray& pois, const char* camera, QStringList kml) {
        QTest::newRow(nom) << pois << QString::fromLatin1(camera) << kml;
    };
    r("un poi", Wpt("48.3905", "-4.4860", "Brest"), "48.3905 -4.486 2000",
      {Placemark("Brest", "-4.4860,48.3905")});
    r("deux pois", Wpt("48.0", "-4.0", "A") + Wpt("48.2", "-4.5", "B"), "48.1 -4.25 105000",
      {Placemark("A", "-4.0,48.0"), Placemark("B", "-4.5,48.2")});
    r("aucun poi", "", "0 0 2000", {});
    r("latitude mot", Wpt("abc", "2", "X") + Wpt("1", "3", "Y"), "0.5 2.5 300000",
      {Placemark("X", "2,abc"), Placemark("Y", "3,1")});
    r("esperluette et chevron", Wpt("1", "2", "Quai &amp; &lt;Port&gt;"), "1 2 2000",
      {Placemark("Quai & <Port>", "2,1")});
}

void TestCarte::cadrage()
{
    QFETCH(QByteArray, pois);
    QFETCH(QString, camera);
    QFETCH(QStringList, placemarks);
    Demarrer();
    s->Ouvrir(Document(pois));
    QCOMPARE(carte().Appels("IsInitialized").size(), 2); // start-up, then Open's guard
    const QStringList appels = carte().Appels("SetCameraParams");
    QCOMPARE(appels.size(), 1);
    const QStringList v = appels[0].split(' '), attendu = camera.split(' ');
    // Framed in single precision.
    for (int i : {0, 1, 2}) {
        const double a = attendu[i].toDouble();
        QVERIFY2(qAbs(v[i == 2 ? 5 : i + 1].toDouble() - a) < 1e-5 * qMax(1.0, qAbs(a)),
                 qPrintable(appels[0]));
    }
    QCOMPARE(v[3] + v[4] + v[6] + v[7] + v[8], QStringLiteral("01005"));
    QCOMPARE(carte().Appels("LoadKmlData"), placemarks);
    QVERIFY(s->plateforme->boites.isEmpty());
}

// A selection flies there; the edit commands add no placemark.
void TestCarte::selectionEtEdition()
{
    Demarrer();
    s->Ouvrir(Document(Wpt("48.5", "-4.25", "A") + Wpt("zero", "3", "B")));
    carte().appels.clear();
    s->f->ListePOI->setCurrentRow(0);
    s->f->ListePOI->setCurrentRow(1);
    QCOMPARE(carte().Appels("SetCameraParams"),
             (QStringList{"SetCameraParams 48.5 -4.25 0 1 2000 0 0 5",
                          "SetCameraParams 0 3 0 1 2000 0 0 5"}));
    s->Nouveau(QStringLiteral("48.3,-4.3"), QStringLiteral("C"));
    s->f->Option1[2]->click();
    s->f->Validation->click();
    QCOMPARE(Table.NbPOI, int16_t(2));
    QVERIFY(carte().Appels("LoadKmlData").isEmpty());
}

void TestCarte::sansConnexion_data()
{
    Tableau({"reponse"}, {{"oui", "1"}, {"non", "2"}});
}

// Without a connection each map step asks first.
void TestCarte::sansConnexion()
{
    QFETCH(QString, reponse);
    const bool oui = reponse == "1";
    Demarrer(0);
    QByteArray cinq;
    for (int i = 1; i <= 5; ++i)
        cinq += Wpt(QByteArray::number(40 + i), "-4", "P" + QByteArray::number(i));
    for (int i = 0; i < 6; ++i)
        s->plateforme->reponses << Plateforme::Reponse(reponse.toInt());
    s->Ouvrir(Document(cinq));
    for (int i = 0; i < 5; ++i)
        s->f->ListePOI->setCurrentRow(i);
    QCOMPARE(s->plateforme->boites.size(), 6);
    for (const auto& b : s->plateforme->boites)
        QVERIFY(b.texte == QStringLiteral("M16") && b.boutons == Plateforme::Boutons::OuiNon);
    QCOMPARE(carte().Appels("SetCameraParams").size(), oui ? 6 : 0);
    QCOMPARE(carte().Appels("LoadKmlData").size(), oui ? 5 : 0);
}

void TestCarte::capture()
{
    // The captured position uses "." in every locale, and can be stored.
    const QLocale avant;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    Demarrer();
    s->Ouvrir(Document(Wpt("48.1", "-4.1", "A")));
    s->f->ListePOI->setCurrentRow(0);
    carte().camera = {48.5123456789012345, -4.3};
    carte().appels.clear();
    s->f->Pickup_X_Y->click();
    QCOMPARE(s->f->Lat_Long->text(), QStringLiteral("48.5123456789012,-4.3"));
    QCOMPARE(carte().appels,
             (QStringList{"GetCamera 1", "LoadKmlData <Placemark><Point><coordinates>-4.3,"
                                         "48.5123456789012,0</coordinates></Point></Placemark>"}));
    s->f->Option1[0]->click();
    s->f->Validation->click();
    QLocale::setDefault(avant);
    QVERIFY(s->plateforme->boites.isEmpty());
    QCOMPARE(Table.LatPOI[1] + Table.LonPOI[1], QStringLiteral("48.5123456789012-4.3"));
}

void TestCarte::captureEchoue_data()
{
    Tableau({"avecCarte"}, {{"pas de carte"}, {"pas de camera", "oui"}});
}

void TestCarte::captureEchoue()
{
    QFETCH(QString, avecCarte);
    if (!avecCarte.isEmpty()) {
        Demarrer();
        carte().cameraEchoue = true;
    } else {
        s->Demarrer(0); // no map can be created
    }
    s->f->Lat_Long->setText(QStringLiteral("avant"));
    s->f->Pickup_X_Y->click();
    QCOMPARE(s->plateforme->Textes(), QStringList{QStringLiteral("M16")});
    QCOMPARE(s->plateforme->boites[0].boutons, Plateforme::Boutons::OK);
    QCOMPARE(s->f->Lat_Long->text(), QStringLiteral("avant"));
}

QTEST_MAIN(TestCarte)
#include "test_carte.moc"
