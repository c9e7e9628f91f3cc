#include "earth/Placemark.h"
#include "editing/Gerer_POI.h"
#include "gpx/PoiTable.h"

#include <QListWidget>
#include <QtTest>
#include <memory>

class TestTable : public QObject {
    Q_OBJECT
private slots:
    void remplirListe_data();
    void remplirListe();
    void remplirListeSansSelection();
    void viderEfface();
    void placemark_data();
    void placemark();
};

void TestTable::remplirListe_data()
{
    QTest::addColumn<QStringList>("noms");
    QTest::newRow("vide") << QStringList();
    QTest::newRow("un") << QStringList{QStringLiteral("Brest")};
    QTest::newRow("homonymes") << QStringList{QStringLiteral("Quai"), QStringLiteral("Quai"),
                                              QString(), QStringLiteral("Anse & <Nord>")};
    QStringList cent;
    for (int i = 1; i <= MaxPOI; ++i)
        cent << QStringLiteral("P%1").arg(i);
    QTest::newRow("plein") << cent;
}

void TestTable::remplirListe()
{
    QFETCH(QStringList, noms);
    auto table = std::make_unique<PoiTable>();
    table->NbPOI = static_cast<int16_t>(noms.size());
    for (int i = 0; i < noms.size(); ++i)
        table->NomPOI[i + 1] = noms[i];
    // A name beyond NbPOI and slot 0 must never be listed.
    table->NomPOI[0] = QStringLiteral("zero");
    if (noms.size() < MaxPOI)
        table->NomPOI[noms.size() + 1] = QStringLiteral("au-dela");

    QListWidget liste;
    liste.addItems({QStringLiteral("ancien 1"), QStringLiteral("ancien 2")});
    Gerer_POI::RemplirListePOI(liste, *table);

    QCOMPARE(liste.count(), noms.size());
    for (int k = 0; k < noms.size(); ++k)
        QCOMPARE(liste.item(k)->text(), noms[k]);
}

void TestTable::remplirListeSansSelection()
{
    auto table = std::make_unique<PoiTable>();
    table->NbPOI = 2;
    table->NomPOI[1] = QStringLiteral("A");
    table->NomPOI[2] = QStringLiteral("B");
    QListWidget liste;
    liste.addItems({QStringLiteral("x"), QStringLiteral("y")});
    liste.setCurrentRow(1);
    Gerer_POI::RemplirListePOI(liste, *table);
    QCOMPARE(liste.currentRow(), -1);
    QVERIFY(liste.selectedItems().isEmpty());
}

void TestTable::viderEfface()
{
    auto table = std::make_unique<PoiTable>();
    table->NbPOI = MaxPOI;
    for (int i = 0; i <= MaxPOI; ++i) {
        table->NomPOI[i] = table->LatPOI[i] = table->LonPOI[i] = QStringLiteral("x");
        table->TempsPOI[i] = table->SymPOI[i] = QStringLiteral("x");
        table->NbLiens[i] = MaxLiens;
        table->LienHref[i][MaxLiens] = table->LienTexte[i][1] = QStringLiteral("x");
    }
    table->Vider();
    QCOMPARE(table->NbPOI, int16_t(0));
    for (int i = 0; i <= MaxPOI; ++i) {
        QVERIFY(table->NomPOI[i].isEmpty() && table->LatPOI[i].isEmpty());
        QVERIFY(table->LonPOI[i].isEmpty() && table->TempsPOI[i].isEmpty());
        QVERIFY(table->SymPOI[i].isEmpty());
        QCOMPARE(table->NbLiens[i], int16_t(0));
        QVERIFY(table->LienHref[i][MaxLiens].isEmpty() && table->LienTexte[i][1].isEmpty());
    }
}

void TestTable::placemark_data()
{
    QTest::addColumn<QString>("kml");
    QTest::addColumn<bool>("lisible");
    QTest::addColumn<QString>("nom");
    QTest::addColumn<double>("lon");
    QTest::addColumn<double>("lat");

    QTest::newRow("nomme") << QStringLiteral("<Placemark><name>Brest</name><Point><coordinates>"
                                             "-4.4860,48.3905,0</coordinates></Point></Placemark>")
                           << true << QStringLiteral("Brest") << -4.486 << 48.3905;
    QTest::newRow("esperluette et chevron")
        << QStringLiteral("<Placemark><name>Quai & <Port></name><Point><coordinates>"
                          "-4.5,48,0</coordinates></Point></Placemark>")
        << true << QStringLiteral("Quai & <Port>") << -4.5 << 48.0;
    QTest::newRow("nom avec balises")
        << QStringLiteral("<Placemark><name>a</name><coordinates>b</name><Point><coordinates>"
                          "2,1,0</coordinates></Point></Placemark>")
        << true << QStringLiteral("a</name><coordinates>b") << 2.0 << 1.0;
    QTest::newRow("sans nom") << QStringLiteral("<Placemark><Point><coordinates>2.25,-1.5,0"
                                                "</coordinates></Point></Placemark>")
                              << true << QString() << 2.25 << -1.5;
    QTest::newRow("latitude illisible")
        << QStringLiteral("<Placemark><name>X</name><Point><coordinates>-4.5,abc,0"
                          "</coordinates></Point></Placemark>")
        << false << QString() << 0.0 << 0.0;
    QTest::newRow("sans coordonnees") << QStringLiteral("<Placemark><name>X</name></Placemark>")
                                      << false << QString() << 0.0 << 0.0;
    QTest::newRow("vide") << QString() << false << QString() << 0.0 << 0.0;
}

void TestTable::placemark()
{
    QFETCH(QString, kml);
    QFETCH(bool, lisible);
    PlacemarkKml p;
    QCOMPARE(LirePlacemark(kml, p), lisible);
    if (!lisible)
        return;
    QFETCH(QString, nom);
    QFETCH(double, lon);
    QFETCH(double, lat);
    QCOMPARE(p.nom, nom);
    QCOMPARE(p.longitude, lon);
    QCOMPARE(p.latitude, lat);
}

QTEST_MAIN(TestTable)
#include "test_table.moc"
