#include "OutilsGPX.h"
#include "gpx/Fichiers.h"
#include "gpx/UTF8.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <unistd.h>

using namespace OutilsGPX;

// A waypoint to build tables in tests.
struct Poi {
    QString lat, lon, temps, nom, sym;
    QList<QPair<QString, QString>> liens;
};
using Pois = QList<Poi>;
Q_DECLARE_METATYPE(Poi)

namespace {

std::unique_ptr<PoiTable> Table(const Pois& pois)
{
    auto t = std::make_unique<PoiTable>();
    t->NbPOI = static_cast<int16_t>(pois.size());
    for (int i = 1; i <= pois.size(); ++i) {
        const Poi& p = pois[i - 1];
        t->LatPOI[i] = p.lat;
        t->LonPOI[i] = p.lon;
        t->TempsPOI[i] = p.temps;
        t->NomPOI[i] = p.nom;
        t->SymPOI[i] = p.sym;
        t->NbLiens[i] = static_cast<int16_t>(p.liens.size());
        for (int k = 1; k <= p.liens.size(); ++k) {
            t->LienHref[i][k] = p.liens[k - 1].first;
            t->LienTexte[i][k] = p.liens[k - 1].second;
        }
    }
    return t;
}

std::unique_ptr<PoiTable> LireTexte(const QByteArray& octets)
{
    auto t = std::make_unique<PoiTable>();
    Fichiers::LirePOI(Fichiers::LignesWindows1252(octets), *t);
    return t;
}

const QByteArray Entete =
    "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n"
    "<gpx version=\"1.1\" creator=\"OpenCPN\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xmlns=\"http://www.topografix.com/GPX/1/1\" "
    "xmlns:gpxx=\"http://www.garmin.com/xmlschemas/GpxExtensions/v3\" "
    "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
    "http://www.topografix.com/GPX/1/1/gpx.xsd\" xmlns:opencpn=\"http://www.opencpn.org\">\r\n";

// A waypoint as the writer lays it out, for reader inputs.
QByteArray Wpt(const QByteArray& lat, const QByteArray& lon, const QByteArray& temps,
               const QByteArray& nom, const QByteArray& liens = QByteArray())
{
    return "\t<wpt lat=\"" + lat + "\" lon=\"" + lon + "\">\r\n\t\t<time>" + temps +
           "</time>\r\n\t\t<name>" + nom + "</name>\r\n" + liens +
           "\t\t<sym>anchorage</sym>\r\n\t</wpt>\r\n";
}

QByteArray Lien(const QByteArray& cible, const QByteArray& texte)
{
    return "\t\t<link href=\"" + cible + "\">\r\n\t\t\t<text>" + texte +
           "</text>\r\n\t\t</link>\r\n";
}

} // namespace

class TestGpx : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void allerRetour_data();
    void allerRetour();
    void ecritureExacte();
    void ecritureOctetsDesNoms();
    void ecritureRefuseCaractereAbsent();
    void lecture_data();
    void lecture();
    void lectureCentUn();
    void lectureCinquanteEtUnLiens();
    void lectureFichiersAbimes_data();
    void lectureFichiersAbimes();
    void routesEtTraces_data();
    void routesEtTraces();
    void relocalisation_data();
    void relocalisation();
    void relocalisationDossierSansWindows1252();
    void relocalisationFichier();
    void sauvegardesTournantes();
    void affichageNomFichier_data();
    void affichageNomFichier();
    void ecritureEchoue_data();
    void ecritureEchoue();
    void outilDump();
    void outilRewrite();
    void codecsCommeQt_data();
    void codecsCommeQt();
    void lignes_data();
    void lignes();
    void outilCommeEditeur_data();
    void outilCommeEditeur();
    void outilEcritureSure();

private:
    QTemporaryDir dossier;
};

void TestGpx::initTestCase()
{
    QVERIFY(dossier.isValid());
}

void TestGpx::allerRetour_data()
{
    QTest::addColumn<Pois>("ecrit");
    QTest::addColumn<Pois>("relu");

    const QString t1 = QStringLiteral("2024-05-01T10:00:00Z");
    const QString t2 = QStringLiteral("2024-05-01T10:05:00Z");
    QTest::newRow("vide") << Pois{} << Pois{};
    Poi quai{"48.38", "-4.49", t1, "Quai", "", {}};
    Poi quaiRelu = quai;
    quaiRelu.sym = "anchorage";
    QTest::newRow("un poi") << Pois{quai} << Pois{quaiRelu};

    Poi special{"48.1", "-4.2", t1, "Anse & <Nord> \"Ré\" l'été", "marina", {}};
    special.liens = {{"http://a.b/?x=1&amp;y=2", "Capitainerie & <bureau>"},
                     {"file:///home/marin/Cartes/Quai é&1.pdf", "Plan é"},
                     {"http://a.b/\"q\"<r>", ""}};
    Poi specialRelu = special;
    specialRelu.liens[1].first = "file:///home/marin/Cartes/Quai é&amp;1.pdf";
    QTest::newRow("caracteres speciaux") << Pois{special} << Pois{specialRelu};

    Poi espace{"1", "2", t2, "Pointe%20du%20Raz", "", {}};
    Poi espaceRelu{"1", "2", t2, "Pointe du Raz", "anchorage", {}};
    QTest::newRow("pourcent 20") << Pois{espace} << Pois{espaceRelu};

    Poi sansNom{"1", "2", t2, "", "buoy", {{"http://x", "y"}}};
    Poi sansNomRelu = sansNom;
    sansNomRelu.nom = "(Sans nom)";
    QTest::newRow("sans nom") << Pois{sansNom} << Pois{sansNomRelu};

    // Without a time, a name stays as written and the links are lost.
    Poi sansTemps{"47.5", "-3.1", "", "Île%20Verte é ÿ €", "", {{"http://x", "y"}}};
    Poi sansTempsRelu{"47.5", "-3.1", "", "Île%20Verte é ÿ €", "anchorage", {}};
    QTest::newRow("sans temps") << Pois{sansTemps, quai} << Pois{sansTempsRelu, quaiRelu};

    Poi chinois{"22.2", "114.1", t2, "港口 ł", "", {}};
    Poi chinoisRelu = chinois;
    chinoisRelu.sym = "anchorage";
    QTest::newRow("nom utf-8") << Pois{chinois} << Pois{chinoisRelu};

    Pois plein;
    for (int i = 1; i <= MaxPOI; ++i) {
        Poi p{QString::number(40 + i / 100.0),
              QString::number(-4 - i / 100.0),
              QStringLiteral("2024-05-01T10:%1:00Z").arg(i % 60, 2, 10, QLatin1Char('0')) +
                  QString::number(i),
              QStringLiteral("P%1").arg(i),
              "anchorage",
              {}};
        for (int k = 1; k <= MaxLiens; ++k)
            p.liens << qMakePair(QStringLiteral("http://x/%1/%2").arg(i).arg(k),
                                 QStringLiteral("lien %1").arg(k));
        plein << p;
    }
    QTest::newRow("100 poi de 50 liens") << plein << plein;
}

void TestGpx::allerRetour()
{
    QFETCH(Pois, ecrit);
    QFETCH(Pois, relu);
    auto table = Table(ecrit);
    const QString chemin = dossier.filePath(QStringLiteral("aller-retour.gpx"));
    QString erreur;
    QVERIFY2(Fichiers::EcrireGPX(chemin, *table, erreur), qPrintable(erreur));
    auto lu = LireTexte(Lire(chemin));
    QCOMPARE(Resume(*lu), Resume(*Table(relu)));
    // Saved again, the table read back gives the same file as the table
    // expected: nothing drifts across saves.
    QByteArray encore;
    QByteArray attendu;
    QVERIFY(Fichiers::TexteGPX(*lu, encore, erreur));
    QVERIFY(Fichiers::TexteGPX(*Table(relu), attendu, erreur));
    QCOMPARE(encore, attendu);
    const QString interop = VerifierInterop(chemin, *table);
    QVERIFY2(interop.isEmpty(), qPrintable(interop));
}

void TestGpx::ecritureExacte()
{
    auto vide = Table({});
    QByteArray octets;
    QString erreur;
    QVERIFY(Fichiers::TexteGPX(*vide, octets, erreur));
    QCOMPARE(octets, Entete + "</gpx>\r\n");

    auto table = Table({{"48.38", "-4.49", "2024-05-01T10:00:00Z", "Quai", "", {}},
                        {"48,5", "x", "t", "B", "s", {{"h1", "t1"}, {"h2", ""}}}});
    const QString chemin = dossier.filePath(QStringLiteral("exacte.gpx"));
    QVERIFY(Fichiers::EcrireGPX(chemin, *table, erreur));
    octets = Lire(chemin);
    QCOMPARE(octets, Entete + "\t<wpt lat=\"48.38\" lon=\"-4.49\">\r\n"
                              "\t\t<time>2024-05-01T10:00:00Z</time>\r\n"
                              "\t\t<name>Quai</name>\r\n"
                              "\t\t<sym>anchorage</sym>\r\n"
                              "\t\t<type>WPT</type>\r\n"
                              "\t\t<extensions>\r\n"
                              "\t\t\t<opencpn:viz>1</opencpn:viz>\r\n"
                              "\t\t\t<opencpn:viz_name>1</opencpn:viz_name>\r\n"
                              "\t\t</extensions>\r\n"
                              "\t</wpt>\r\n"
                              "\t<wpt lat=\"48,5\" lon=\"x\">\r\n"
                              "\t\t<time>t</time>\r\n"
                              "\t\t<name>B</name>\r\n"
                              "\t\t<link href=\"h1\">\r\n"
                              "\t\t\t<text>t1</text>\r\n"
                              "\t\t</link>\r\n"
                              "\t\t<link href=\"h2\">\r\n"
                              "\t\t\t<text></text>\r\n"
                              "\t\t</link>\r\n"
                              "\t\t<sym>s</sym>\r\n"
                              "\t\t<type>WPT</type>\r\n"
                              "\t\t<extensions>\r\n"
                              "\t\t\t<opencpn:viz>1</opencpn:viz>\r\n"
                              "\t\t\t<opencpn:viz_name>1</opencpn:viz_name>\r\n"
                              "\t\t</extensions>\r\n"
                              "\t</wpt>\r\n"
                              "</gpx>\r\n");
    QCOMPARE(table->SymPOI[1], QStringLiteral("anchorage"));
}

void TestGpx::ecritureOctetsDesNoms()
{
    QByteArray octets;
    QString erreur;
    // With a time, a name is UTF-8.
    QVERIFY(Fichiers::TexteGPX(*Table({{"1", "2", "t", "é", "", {}}}), octets, erreur));
    QVERIFY(octets.contains("<name>\xC3\xA9</name>"));
    // Without, a Windows-1252 character that is not ASCII becomes a
    // character reference so the file stays UTF-8; bytes that already read
    // as UTF-8 (written by another program) are kept as they are.
    QVERIFY(Fichiers::TexteGPX(*Table({{"1", "2", "", "é€", "", {}}}), octets, erreur));
    QVERIFY(octets.contains("<name>&#233;&#8364;</name>"));
    QVERIFY(Fichiers::TexteGPX(*Table({{"1", "2", "", QString::fromLatin1("\xC3\xA9"), "", {}}}),
                               octets, erreur));
    QVERIFY(octets.contains("<name>\xC3\xA9</name>"));
    auto lu = LireTexte(octets);
    QCOMPARE(lu->NomPOI[1], QString::fromLatin1("\xC3\xA9"));
}

void TestGpx::ecritureRefuseCaractereAbsent()
{
    auto table = Table({{"1", "2", "", "Łeba", "", {}}});
    QByteArray octets;
    QString erreur;
    QVERIFY(!Fichiers::TexteGPX(*table, octets, erreur));
    QVERIFY2(erreur.contains(QStringLiteral("U+0141")), qPrintable(erreur));
    // A link text too; nothing is written to the target.
    const QString chemin = dossier.filePath(QStringLiteral("refus.gpx"));
    QVERIFY(Ecrire(chemin, "ancien"));
    auto liens = Table({{"1", "2", "t", "Łeba", "", {{"http://x", "→"}}}});
    QVERIFY(!Fichiers::EcrireGPX(chemin, *liens, erreur));
    QVERIFY(erreur.contains(QStringLiteral("U+2192")));
    QCOMPARE(Lire(chemin), QByteArray("ancien"));
}

void TestGpx::lecture_data()
{
    QTest::addColumn<QByteArray>("fichier");
    QTest::addColumn<QString>("attendu");

    QTest::newRow("vide") << QByteArray() << QString();
    QTest::newRow("sans wpt") << QByteArray(Entete + "<metadata><name>x</name></metadata>\r\n")
                              << QString();
    QTest::newRow("lon avant lat")
        << QByteArray("<wpt lon=\"-4.5\" lat=\"48.1\">\r\n<time>t</time>\r\n<name>A</name>\r\n"
                      "</wpt>\r\n")
        << "1|-4.5|48.1|t|A||0";
    QTest::newRow("espaces apres la balise")
        << QByteArray("<wpt lat=\"1\" lon=\"2\">\r\n<time>t</time>\r\n<name>Quai</name>  \r\n"
                      "</wpt>\r\n")
        << "1|1|2|t|Quai</||0";
    QTest::newRow("sur une ligne")
        << QByteArray("<wpt lat=\"1\" lon=\"2\"><time>t</time><name>A</name></wpt>\r\n")
        << "1|1|2||||0";
    QTest::newRow("sans temps ni nom")
        << QByteArray("<wpt lat=\"1\" lon=\"2\">\r\n<sym>buoy</sym>\r\n</wpt>\r\n")
        << "1|1|2|||buoy|0";
    QTest::newRow("avec temps sans nom")
        << QByteArray("<wpt lat=\"1\" lon=\"2\">\r\n<time>t</time>\r\n</wpt>\r\n")
        << "1|1|2|t|(Sans nom)||0";
    QTest::newRow("octets utf-8 avec et sans temps")
        << QByteArray("<wpt lat=\"1\" lon=\"2\">\r\n<time>t</time>\r\n<name>a%20\xC3\xA9</name>\r\n"
                      "</wpt>\r\n<wpt lat=\"3\" lon=\"4\">\r\n<name>a%20\xC3\xA9</name>\r\n"
                      "</wpt>\r\n")
        << QString::fromUtf8("1|1|2|t|a é||0\n2|3|4||a%20Ã©||0");
    QTest::newRow("marques d'ordre des octets")
        << QByteArray("<wpt lat=\"1\" lon=\"2\">\r\n<time>t</time>\r\n<name>&#xFFFE;AB</name>\r\n"
                      "</wpt>\r\n<wpt lat=\"3\" lon=\"4\">\r\n<name>&#xFEFF;C</name>\r\n</wpt>\r\n")
        << QStringLiteral("1|1|2|t|\uFFFEAB||0\n2|3|4||\uFEFFC||0");
    QTest::newRow("entites") << QByteArray(
                                    "<wpt lat=\"1\" lon=\"2\">\r\n<time>t</time>\r\n"
                                    "<name>A &amp; B &lt;&amp;lt;&gt; C&D &#233;</name>\r\n"
                                    "<link href=\"http://x?a=1&amp;b=&quot;2&quot;\">\r\n"
                                    "<text>&lt;plan&gt; &amp; co</text>\r\n</link>\r\n</wpt>\r\n")
                             << QString::fromUtf8("1|1|2|t|A & B <&lt;> C&D é||1\n"
                                                  "  1.1 http://x?a=1&amp;b=\"2\" | <plan> & co");
    QTest::newRow("fins de ligne LF")
        << QByteArray("<wpt lat=\"1\" lon=\"2\">\n<time>t1</time>\n<name>A</name>\n"
                      "<link href=\"h\">\n<text>x</text>\n</link>\n</wpt>\n"
                      "<wpt lat=\"3\" lon=\"4\">\n<time>t2</time>\n<name>B</name>\n</wpt>")
        << "1|1|2|t1|A||1\n  1.1 h | x\n2|3|4|t2|B||0";
    QTest::newRow("fins de ligne CR")
        << QByteArray("<wpt lat=\"1\" lon=\"2\">\r<time>t1</time>\r<name>A</name>\r</wpt>\r"
                      "<wpt lat=\"3\" lon=\"4\">\r<time>t2</time>\r<name>B</name>\r</wpt>\r")
        << "1|1|2|t1|A||0\n2|3|4|t2|B||0";
    QTest::newRow("temps partages")
        << QByteArray(Wpt("1", "2", "t", "A", Lien("h1", "x1")) + Wpt("3", "4", "t", "B") +
                      Wpt("5", "6", "u", "C", Lien("h3", "x3") + Lien("h4", "x4")))
        << "1|1|2|t|A|anchorage|1\n  1.1 h1 | x1\n2|3|4|t|B|anchorage|1\n  2.1 h1 | x1\n"
           "3|5|6|u|C|anchorage|2\n  3.1 h3 | x3\n  3.2 h4 | x4";
    QTest::newRow("texte avant le lien")
        << QByteArray("<wpt lat=\"1\" lon=\"2\">\r\n<time>t</time>\r\n<text>seul</text>\r\n"
                      "<link href=\"h\">\r\n</link>\r\n</wpt>\r\n")
        << "1|1|2|t|(Sans nom)||1\n  1.1 h | ";
    QTest::newRow("temps en derniere ligne")
        << QByteArray("<wpt lat=\"1\" lon=\"2\">\r\n<time>t</time>") << "1|1|2|t|||0";
}

void TestGpx::lecture()
{
    QFETCH(QByteArray, fichier);
    QFETCH(QString, attendu);
    QCOMPARE(Resume(*LireTexte(fichier)), attendu);
}

void TestGpx::lectureCentUn()
{
    QByteArray f = Entete;
    for (int i = 1; i <= 101; ++i)
        f += Wpt(QByteArray::number(i), "2", "t" + QByteArray::number(i),
                 "P" + QByteArray::number(i), Lien("h" + QByteArray::number(i), "x"));
    f += "</gpx>\r\n";
    auto t = LireTexte(f);
    QCOMPARE(t->NbPOI, MaxPOI);
    QCOMPARE(t->NomPOI[100], QStringLiteral("P100"));
    QCOMPARE(t->SymPOI[100], QStringLiteral("anchorage"));
    QCOMPARE(t->LienHref[100][1], QStringLiteral("h100"));
    QCOMPARE(t->NbLiens[100], int16_t(1));
}

void TestGpx::lectureCinquanteEtUnLiens()
{
    QByteArray liens;
    for (int k = 1; k <= 51; ++k)
        liens += Lien("h" + QByteArray::number(k), "x" + QByteArray::number(k));
    auto t = LireTexte(Entete + Wpt("1", "2", "t", "A", liens) + "</gpx>\r\n");
    QCOMPARE(t->NbLiens[1], MaxLiens);
    QCOMPARE(t->LienHref[1][50], QStringLiteral("h50"));
    // The 51st link's text does not land on the 50th link.
    QCOMPARE(t->LienTexte[1][50], QStringLiteral("x50"));
}

void TestGpx::lectureFichiersAbimes_data()
{
    QTest::addColumn<QByteArray>("fichier");
    QTest::addColumn<QString>("attendu");
    QTest::newRow("moins de quatre guillemets")
        << QByteArray("<wpt lat=\"1\">\r\n<time>t</time>\r\n<name>A</name>\r\n</wpt>\r\n")
        << "1|||t|A||0";
    QTest::newRow("lignes courtes")
        << QByteArray("<wpt lat=\"1\" lon=\"2\">\r\n<time>\r\n<name>\r\n<sym>\r\n"
                      "<link\r\n<text>\r\n</wpt>\r\n")
        << "1|1|2||||0";
    QByteArray longue = "<wpt lat=\"1\" lon=\"2\">\r\n<time>t</time>\r\n";
    longue += QByteArray(40000, ' ') + "<name>loin</name>\r\n</wpt>\r\n";
    QTest::newRow("balise au-dela de 32767") << longue << "1|1|2|t|(Sans nom)||0";
    QByteArray guillemetsLoin = "<wpt lat=\"1\" lon=\"" + QByteArray(40000, '9') + "\">\r\n</wpt>";
    QTest::newRow("guillemet au-dela de 32767") << guillemetsLoin << "1||||||0";
}

void TestGpx::lectureFichiersAbimes()
{
    QFETCH(QByteArray, fichier);
    QFETCH(QString, attendu);
    QCOMPARE(Resume(*LireTexte(fichier)), attendu);

    // Binary noise around the same markers never crashes the reader.
    QByteArray bruit = fichier;
    for (int i = 0; i < 4096; ++i)
        bruit += char((i * 7919) % 256);
    bruit += "<wpt \"\"\"<time><name><link<text></wpt>";
    auto t = LireTexte(bruit);
    QVERIFY(t->NbPOI <= MaxPOI);
}

void TestGpx::routesEtTraces_data()
{
    QTest::addColumn<QByteArray>("fichier");
    QTest::addColumn<bool>("trouve");
    QTest::newRow("trace") << QByteArray("<trk>\r\n<trkseg>\r\n") << true;
    QTest::newRow("route") << QByteArray("  <rte>") << true;
    QTest::newRow("point de trace") << QByteArray("<trkpt>") << true;
    QTest::newRow("point de route avec attributs")
        << QByteArray("<rtept lat=\"1\" lon=\"2\">") << false;
    QTest::newRow("waypoints seuls") << QByteArray(Entete + Wpt("1", "2", "t", "A")) << false;
}

void TestGpx::routesEtTraces()
{
    QFETCH(QByteArray, fichier);
    QFETCH(bool, trouve);
    QCOMPARE(Fichiers::ChercherRoutesTraces(Fichiers::LignesWindows1252(fichier)), trouve);
}

void TestGpx::relocalisation_data()
{
    QTest::addColumn<QString>("ligne");
    QTest::addColumn<QString>("dossier");
    QTest::addColumn<QString>("attendu");
    const QString ici = QStringLiteral("/home/marin/Marques/");
    QTest::newRow("chemin windows") << "\t\t<link href=\"file:///C:/Cartes/quai.pdf\">" << ici
                                    << "\t\t<link href=\"file:///home/marin/Marques/quai.pdf\">";
    QTest::newRow("description windows")
        << "\t\t<link href=\"file://C:\\Nav\\Anse Nord.txt\">" << ici
        << "\t\t<link href=\"file:///home/marin/Marques/Anse Nord.txt\">";
    QTest::newRow("chemin linux") << "<link href=\"file:///tmp/a/b/plan.png\">  " << ici
                                  << "<link href=\"file:///home/marin/Marques/plan.png\">  ";
    QTest::newRow("sans dossier") << "<link href=\"file://plan.png\">" << ici
                                  << "<link href=\"file:///home/marin/Marques/plan.png\">";
    QTest::newRow("dossier avec esperluette")
        << "<link href=\"file:///x/plan.png\">" << QStringLiteral("/home/a&b \"c\"/")
        << "<link href=\"file:///home/a&amp;b &quot;c&quot;/plan.png\">";
    QTest::newRow("texte de lien")
        << "<text>voir file:///x/plan.png</text>" << ici << "<text>voir file:///x/plan.png</text>";
    QTest::newRow("lien et texte sur une ligne")
        << "<link href=\"file:///x/p.png\"><text>p</text></link>" << ici
        << "<link href=\"file:///x/p.png\"><text>p</text></link>";
    QTest::newRow("adresse web") << "<link href=\"http://a/b.html\">" << ici
                                 << "<link href=\"http://a/b.html\">";
}

void TestGpx::relocalisation()
{
    QFETCH(QString, ligne);
    QFETCH(QString, dossier);
    QFETCH(QString, attendu);
    Fichiers::Lignes resultat;
    QString erreur;
    QVERIFY(Fichiers::RelocaliserLignes(Fichiers::LignesWindows1252(ligne.toLatin1()), dossier,
                                        resultat, erreur));
    QCOMPARE(Fichiers::Textes(resultat), QStringList{attendu});
}

void TestGpx::relocalisationDossierSansWindows1252()
{
    // A folder whose name Windows-1252 lacks a character of: refused only
    // when a link must move into it.
    const QString dossierChinois = QStringLiteral("/home/\u6E2F/");
    Fichiers::Lignes resultat;
    QString erreur;
    QVERIFY(!Fichiers::RelocaliserLignes(
        Fichiers::LignesWindows1252("<link href=\"file:///x/plan.png\">"), dossierChinois, resultat,
        erreur));
    QVERIFY2(erreur.contains(QStringLiteral("U+6E2F")), qPrintable(erreur));
    QVERIFY(
        Fichiers::RelocaliserLignes(Fichiers::LignesWindows1252("<link href=\"http://a/b.html\">"),
                                    dossierChinois, resultat, erreur));
    QCOMPARE(Fichiers::Textes(resultat), QStringList{"<link href=\"http://a/b.html\">"});
}

void TestGpx::relocalisationFichier()
{
    const QString dossierGpx = dossier.filePath(QStringLiteral("reloc")) + QLatin1Char('/');
    QVERIFY(QDir().mkpath(dossierGpx));
    const QString fichier = dossierGpx + QStringLiteral("Marques.gpx");
    const QByteArray avant = Entete + Wpt("1", "2", "t", "A", Lien("file:///ailleurs/p.pdf", "p")) +
                             "</gpx>\n"; // a last line ended by LF alone
    QVERIFY(Ecrire(fichier, avant));
    Fichiers::Lignes lignes;
    QString erreur;
    QVERIFY2(Fichiers::RelocaliserLiensFichier(fichier, dossierGpx, avant, lignes, erreur),
             qPrintable(erreur));
    const QByteArray apres = Lire(fichier);
    QVERIFY(apres.contains("<link href=\"file://" + dossierGpx.toUtf8() + "p.pdf\">\r\n"));
    QVERIFY(apres.endsWith("</gpx>\r\n"));
    QCOMPARE(Lire(dossierGpx + QStringLiteral("Temp.gpx")), apres);
    QCOMPARE(Fichiers::Textes(lignes), Fichiers::Textes(Fichiers::LignesWindows1252(apres)));
    // Nothing to change: the file is left alone.
    QVERIFY(Fichiers::RelocaliserLiensFichier(fichier, dossierGpx, apres, lignes, erreur));
    QCOMPARE(Lire(fichier), apres);
}

void TestGpx::sauvegardesTournantes()
{
    const QString d = dossier.filePath(QStringLiteral("rot")) + QLatin1Char('/');
    QVERIFY(QDir().mkpath(d));
    const QString fichier = d + QStringLiteral("Marks.gpx");
    for (int n = 1; n <= 31; ++n) {
        QVERIFY(Ecrire(fichier, "version " + QByteArray::number(n)));
        Fichiers::TournerSauvegardes(fichier, d, QStringLiteral("Marks.gpx"));
    }
    const QStringList generations = QDir(d + QStringLiteral("tmp")).entryList(QDir::Files);
    QCOMPARE(generations.size(), 30);
    for (int g = 1; g <= 30; ++g)
        QCOMPARE(Lire(d + QStringLiteral("tmp/Marks.gpx.%1").arg(g)),
                 "version " + QByteArray::number(g + 1));
}

void TestGpx::affichageNomFichier_data()
{
    QTest::addColumn<QString>("chemin");
    QTest::addColumn<QString>("affiche");
    const QString trente = QStringLiteral("/home/marin/Marques/abcdef.gpx");
    QCOMPARE(trente.size(), 30);
    QTest::newRow("30") << trente << trente;
    QTest::newRow("31") << trente + "x"
                        << "...." + trente + "x";
    QTest::newRow("long") << "/a/b/c" + trente << "...." + ("/a/b/c" + trente).right(31);
}

void TestGpx::affichageNomFichier()
{
    QFETCH(QString, chemin);
    QFETCH(QString, affiche);
    QCOMPARE(Fichiers::AffichageNomFichier(chemin), affiche);
}

void TestGpx::ecritureEchoue_data()
{
    QTest::addColumn<QString>("cas");
    QTest::newRow("fichier en lecture seule") << "lecture-seule";
    QTest::newRow("dossier absent") << "dossier-absent";
    QTest::newRow("dossier en lecture seule") << "dossier-lecture-seule";
}

void TestGpx::ecritureEchoue()
{
    QFETCH(QString, cas);
    const QString d = dossier.filePath(cas) + QLatin1Char('/');
    QVERIFY(QDir().mkpath(d));
    QString cible = d + QStringLiteral("Marques.gpx");
    QVERIFY(Ecrire(cible, "ancien"));
    if (cas == QLatin1String("lecture-seule")) {
        QFile::setPermissions(cible, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    } else if (cas == QLatin1String("dossier-absent")) {
        cible = d + QStringLiteral("absent/Marques.gpx");
    } else {
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QFile::setPermissions(d, QFile::ReadOwner | QFile::ExeOwner);
    }
    auto table = Table({{"1", "2", "t", "A", "", {}}});
    QString erreur;
    QVERIFY(!Fichiers::EcrireGPX(cible, *table, erreur));
    QVERIFY(!erreur.isEmpty());
    QFile::setPermissions(d, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (cas != QLatin1String("dossier-absent"))
        QCOMPARE(Lire(d + QStringLiteral("Marques.gpx")), QByteArray("ancien"));
    QCOMPARE(QDir(d).entryList(QDir::Files), QStringList{QStringLiteral("Marques.gpx")});
}

void TestGpx::outilDump()
{
    const QString fichier = dossier.filePath(QStringLiteral("dump.gpx"));
    QVERIFY(Ecrire(fichier, Entete + "<trk>\r\n" +
                                Wpt("48.1", "-4.2", "t1", "A\tb", Lien("http://x", "x\ty")) +
                                Wpt("47", "-3", "", "Île") + "</gpx>\r\n"));
    QProcess outil;
    outil.start(QStringLiteral("./quaylight-gpx"), {QStringLiteral("dump"), fichier});
    QVERIFY(outil.waitForFinished(30000));
    QCOMPARE(outil.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(outil.readAllStandardOutput()),
             QString::fromUtf8("routes-or-tracks\n"
                               "1\t48.1\t-4.2\tt1\tA\\tb\tanchorage\t1\n"
                               "2\t47\t-3\t\tÃŽle\tanchorage\t0\n"
                               "  link\t1\t1\thttp://x\tx\\ty\n"));

    outil.start(QStringLiteral("./quaylight-gpx"),
                {QStringLiteral("dump"), dossier.filePath(QStringLiteral("absent.gpx"))});
    QVERIFY(outil.waitForFinished(30000));
    QCOMPARE(outil.exitCode(), 1);
    QVERIFY(outil.readAllStandardError().contains("absent.gpx"));
}

void TestGpx::outilRewrite()
{
    const QString entree = dossier.filePath(QStringLiteral("entree.gpx"));
    const QString sortie = dossier.filePath(QStringLiteral("sortie.gpx"));
    QVERIFY(Ecrire(entree, "<wpt lat=\"1\" lon=\"2\">\n<time>t</time>\n<name>A &amp; B</name>\n"
                           "</wpt>\n"));
    QProcess outil;
    outil.start(QStringLiteral("./quaylight-gpx"), {QStringLiteral("rewrite"), entree, sortie});
    QVERIFY(outil.waitForFinished(30000));
    QCOMPARE(outil.exitCode(), 0);
    auto t = Table({{"1", "2", "t", "A & B", "", {}}});
    QByteArray attendu;
    QString erreur;
    QVERIFY(Fichiers::TexteGPX(*t, attendu, erreur));
    QCOMPARE(Lire(sortie), attendu);

    outil.start(QStringLiteral("./quaylight-gpx"),
                {QStringLiteral("rewrite"), entree, dossier.filePath(QStringLiteral("x/y.gpx"))});
    QVERIFY(outil.waitForFinished(30000));
    QCOMPARE(outil.exitCode(), 1);
    QVERIFY(!outil.readAllStandardError().isEmpty());
}

namespace {

// The dump the tool must print for a table the editor read.
QByteArray DumpAttendu(const PoiTable& t, bool routes)
{
    auto texte = [](const QString& s) {
        return s.toUtf8().replace('\t', "\\t").replace('\r', "\\r").replace('\n', "\\n");
    };
    QByteArray r = routes ? "routes-or-tracks\n" : "";
    for (int i = 1; i <= t.NbPOI; ++i)
        r += QByteArray::number(i) + '\t' + texte(t.LatPOI[i]) + '\t' + texte(t.LonPOI[i]) + '\t' +
             texte(t.TempsPOI[i]) + '\t' + texte(t.NomPOI[i]) + '\t' + texte(t.SymPOI[i]) + '\t' +
             QByteArray::number(t.NbLiens[i]) + '\n';
    for (int i = 1; i <= t.NbPOI; ++i)
        for (int k = 1; k <= t.NbLiens[i]; ++k)
            r += "  link\t" + QByteArray::number(i) + '\t' + QByteArray::number(k) + '\t' +
                 texte(t.LienHref[i][k]) + '\t' + texte(t.LienTexte[i][k]) + '\n';
    return r;
}

} // namespace

// The UTF-8 codecs stand in for Qt's, so names decode and encode as the
// editor always did.
void TestGpx::codecsCommeQt_data()
{
    QTest::addColumn<QByteArray>("octets");
    QTest::newRow("ascii") << QByteArray("Pointe du Raz");
    QTest::newRow("accents") << QByteArray("\xC3\x8Ele \xE2\x82\xAC \xF0\x9F\x9A\xA2");
    QTest::newRow("bom au debut") << QByteArray("\xEF\xBB\xBF"
                                                "A\xC3\xA9");
    QTest::newRow("bom plus loin") << QByteArray("A\xEF\xBB\xBF");
    QTest::newRow("suites coupees") << QByteArray("\xC3 \xE2\x82 \xF0\x9F\x9A");
    QTest::newRow("fin coupee") << QByteArray("ab\xF0\x9F");
    QTest::newRow("trop longues") << QByteArray("\xC0\x80 \xE0\x80\x80 \xF0\x80\x80\x80");
    QTest::newRow("substituts et hors plage") << QByteArray("\xED\xA0\x80 \xF4\x90\x80\x80 \xF5");
    QTest::newRow("non-caracteres") << QByteArray("\xEF\xBF\xBE \xEF\xB7\x90");
    QTest::newRow("suites seules") << QByteArray("\x80\xBF\xFE\xFF");
    QByteArray hasard;
    quint32 x = 12345;
    for (int i = 0; i < 20000; ++i) {
        x = x * 1103515245u + 12345u;
        // Mostly bytes that start or continue sequences.
        hasard += char(0x80 | ((x >> 16) & 0x7F));
    }
    QTest::newRow("hasard") << hasard;
}

void TestGpx::codecsCommeQt()
{
    QFETCH(QByteArray, octets);
    const std::u16string texte =
        Gpx::Utf8VersTexte(std::string_view(octets.constData(), size_t(octets.size())));
    QCOMPARE(UTF8::TexteQt(texte), QString::fromUtf8(octets));
    // Back to UTF-8, lone surrogates included.
    std::u16string avecSubstituts = texte;
    avecSubstituts += u"\xD800x\xDC00";
    QCOMPARE(QByteArray::fromStdString(Gpx::EnUtf8(avecSubstituts)),
             UTF8::TexteQt(avecSubstituts).toUtf8());
    QCOMPARE(Gpx::Utf8Valide(std::string_view(octets.constData(), size_t(octets.size()))),
             !QString::fromUtf8("x" + octets).contains(QChar::ReplacementCharacter));
}

void TestGpx::lignes_data()
{
    QTest::addColumn<QByteArray>("texte");
    QTest::addColumn<QStringList>("attendues");
    QTest::newRow("vide") << QByteArray() << QStringList{};
    QTest::newRow("sans fin") << QByteArray("a") << QStringList{"a"};
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("cr puis crlf") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("lf puis cr") << QByteArray("\n\r") << QStringList{"", ""};
    QTest::newRow("longues") << QByteArray(QByteArray(20, 'x') + "\n" + QByteArray(9, 'y') + "\r")
                             << QStringList{QString(20, 'x'), QString(9, 'y')};
}

void TestGpx::lignes()
{
    QFETCH(QByteArray, texte);
    QFETCH(QStringList, attendues);
    QCOMPARE(Fichiers::Textes(Fichiers::LignesWindows1252(texte)), attendues);
}

// The tool reads and writes without Qt, through its own table of compact
// texts and its own file code: it must give the editor's results.
void TestGpx::outilCommeEditeur_data()
{
    QTest::addColumn<QByteArray>("fichier");
    QTest::newRow("exemple") << Lire(
        QStringLiteral(QUAYLIGHT_SOURCE "/examples/rade-de-brest.gpx"));
    QTest::newRow("caracteres hors latin-1")
        << Entete +
               Wpt("1", "2", "t", "Port &#x6E2F; &amp; &#128674;",
                   Lien("file:///a/&#x6E2F;.pdf", "&#8364; \x80") +
                       Lien("http://a?b=1&amp;c", "")) +
               Wpt("3", "4", "",
                   "\xCE"
                   "le &#x6E2F; \x81\x9f") +
               "</gpx>\r\n";
    QTest::newRow("utf-8 invalide")
        << Entete + Wpt("1", "2", "t", "\xC3\x28 \xF0\x9F \xEF\xBB\xBF") + "<trk>\r\n</gpx>\r\n";
    QByteArray crSeuls = Entete + Wpt("1", "2", "t", "A", Lien("h", "x")) + "</gpx>";
    QTest::newRow("cr seuls") << crSeuls.replace("\r\n", "\r");
    QTest::newRow("vide") << QByteArray();
    QByteArray binaire;
    for (int i = 0; i < 4096; ++i)
        binaire += char((i * 7919 + i / 13) & 0xFF);
    QTest::newRow("binaire") << binaire;
    QTest::newRow("caractere de controle refuse")
        << Entete + Wpt("1", "2", "", "A\x01B") + "</gpx>";
}

void TestGpx::outilCommeEditeur()
{
    QFETCH(QByteArray, fichier);
    const QString entree = dossier.filePath(QStringLiteral("comme-entree.gpx"));
    const QString sortie = dossier.filePath(QStringLiteral("comme-sortie.gpx"));
    QFile::remove(sortie);
    QVERIFY(Ecrire(entree, fichier));
    const Fichiers::Lignes lignes = Fichiers::LignesWindows1252(fichier);
    auto t = std::make_unique<PoiTable>();
    Fichiers::LirePOI(lignes, *t);

    QProcess outil;
    outil.start(QStringLiteral("./quaylight-gpx"), {QStringLiteral("dump"), entree});
    QVERIFY(outil.waitForFinished(30000));
    QCOMPARE(outil.exitCode(), 0);
    const QByteArray dump = DumpAttendu(*t, Fichiers::ChercherRoutesTraces(lignes));
    QCOMPARE(outil.readAllStandardOutput(), dump);
    // A pipe cannot be mapped: it is read.
    outil.start(QStringLiteral("./quaylight-gpx"),
                {QStringLiteral("dump"), QStringLiteral("/dev/stdin")});
    QVERIFY(outil.waitForStarted(30000));
    outil.write(fichier);
    outil.closeWriteChannel();
    QVERIFY(outil.waitForFinished(30000));
    QCOMPARE(outil.exitCode(), 0);
    QCOMPARE(outil.readAllStandardOutput(), dump);

    QByteArray attendu;
    QString erreur;
    const bool ecrit = Fichiers::TexteGPX(*t, attendu, erreur);
    outil.start(QStringLiteral("./quaylight-gpx"), {QStringLiteral("rewrite"), entree, sortie});
    QVERIFY(outil.waitForFinished(30000));
    if (ecrit) {
        QCOMPARE(outil.exitCode(), 0);
        QCOMPARE(Lire(sortie), attendu);
    } else {
        // Refused as the editor refuses it, and nothing written.
        QCOMPARE(outil.exitCode(), 1);
        QVERIFY(outil.readAllStandardError().contains(erreur.toUtf8()));
        QVERIFY(!QFile::exists(sortie));
    }
    QCOMPARE(QDir(dossier.path()).entryList({QStringLiteral("comme-sortie*")}, QDir::Files),
             ecrit ? QStringList{QStringLiteral("comme-sortie.gpx")} : QStringList{});
}

// The tool replaces a file as the editor saves one: whole or not at all.
void TestGpx::outilEcritureSure()
{
    const QString d = dossier.filePath(QStringLiteral("outil-sur")) + QLatin1Char('/');
    QVERIFY(QDir().mkpath(d));
    const QString entree = d + QStringLiteral("entree.gpx");
    QVERIFY(Ecrire(entree, Entete + Wpt("1", "2", "t", "A") + "</gpx>\r\n"));
    auto lancer = [&](const QString& sortie) {
        QProcess outil;
        outil.start(QStringLiteral("./quaylight-gpx"), {QStringLiteral("rewrite"), entree, sortie});
        return outil.waitForFinished(30000) ? outil.exitCode() : -1;
    };

    // Its permissions stay; through a link, the link's target is replaced.
    const QString cible = d + QStringLiteral("cible.gpx");
    QVERIFY(Ecrire(cible, "ancien"));
    QVERIFY(QFile::setPermissions(cible, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    QVERIFY(QFile::link(cible, d + QStringLiteral("lien.gpx")));
    QCOMPARE(lancer(d + QStringLiteral("lien.gpx")), 0);
    QVERIFY(QFileInfo(d + QStringLiteral("lien.gpx")).isSymLink());
    QVERIFY(Lire(cible).startsWith("<?xml"));
    QCOMPARE(QFile::permissions(cible) & 0x7077, // not the "user" bits, which depend on who runs
             QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);

    // A read-only file is refused and left as it was.
    QVERIFY(Ecrire(cible, "ancien"));
    QVERIFY(QFile::setPermissions(cible, QFile::ReadOwner));
    QCOMPARE(lancer(cible), 1);
    QCOMPARE(Lire(cible), QByteArray("ancien"));

    // A folder cannot be read as a file.
    QProcess outil;
    outil.start(QStringLiteral("./quaylight-gpx"), {QStringLiteral("dump"), d});
    QVERIFY(outil.waitForFinished(30000));
    QCOMPARE(outil.exitCode(), 1);
    QVERIFY(outil.readAllStandardError().contains("folder"));
    // No work file is left behind.
    QCOMPARE(QDir(d).entryList(QDir::Files | QDir::System),
             (QStringList{QStringLiteral("cible.gpx"), QStringLiteral("entree.gpx"),
                          QStringLiteral("lien.gpx")}));
}

QTEST_GUILESS_MAIN(TestGpx)
#include "test_gpx.moc"
