// The widget-free core: GPX reader and writer, relocation, the companion
// tool, codecs, and the text rules, as tables.
#include "Outils.h"
#include "earth/Placemark.h"
#include "editing/Nombres.h"
#include "gpx/Fichiers.h"
#include "gpx/UTF8.h"
#include "links/Descriptions.h"
#include "links/Gerer_liens.h"
#include "shell/Langues.h"
#include "shell/LigneLangue.h"
#include "ui/Ecrans.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>
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

QByteArray Texte(const PoiTable& t, QString* erreur = nullptr)
{
    QByteArray octets;
    QString e;
    if (!Fichiers::TexteGPX(t, octets, e) && erreur)
        *erreur = e;
    return octets;
}

int Outil(const QStringList& arguments, QByteArray* sortie = nullptr,
          const QByteArray& entree = QByteArray())
{
    QProcess outil;
    outil.start(QStringLiteral("./quaylight-gpx"), arguments);
    if (!outil.waitForStarted(30000))
        return -1;
    outil.write(entree);
    outil.closeWriteChannel();
    if (!outil.waitForFinished(30000))
        return -1;
    if (sortie)
        *sortie = outil.exitCode() == 0 ? outil.readAllStandardOutput()
                                        : outil.readAllStandardError();
    return outil.exitCode();
}

// A rule of the core applied to a text, its result as text.
QString Regle(const QString& regle, const QString& e)
{
    const QStringList p = e.split(QLatin1Char('|'));
    if (regle == QLatin1String("entree"))
        return Gerer_liens::EntreeListe(p[0].toInt(), p[1], p[2]);
    if (regle == QLatin1String("reduire"))
        return Gerer_liens::ReduireAmp(e);
    if (regle == QLatin1String("echapper"))
        return Gerer_liens::EchapperAmp(e);
    if (regle == QLatin1String("cible"))
        return Gerer_liens::CibleLien(e);
    if (regle == QLatin1String("url"))
        return Gerer_liens::CheminVersUrl(e);
    if (regle == QLatin1String("valide"))
        return Gerer_liens::TexteValide(e) ? QStringLiteral("oui") : QStringLiteral("non");
    if (regle == QLatin1String("ouvrir")) {
        const QUrl u = Gerer_liens::AdresseAOuvrir(Gerer_liens::CibleLien(e));
        return u.isLocalFile() ? QStringLiteral("fichier ") + u.toLocalFile()
                               : QStringLiteral("web ") + u.toString(QUrl::FullyEncoded);
    }
    if (regle == QLatin1String("tete"))
        return QString::number(Nombres::NombreEnTete(e));
    if (regle == QLatin1String("coord")) {
        double v = 0;
        return Nombres::LireCoordonnee(e, v) ? QString::number(v) : QStringLiteral("refus");
    }
    if (regle == QLatin1String("langue")) {
        EntreeLangue l;
        return CouperLigneLangue(e, l) ? QStringList{l.code, l.nom, l.texte1, l.texte2}.join('|')
                                       : QStringLiteral("refus");
    }
    if (regle == QLatin1String("fichierLangue"))
        return Langues::NomFichier(e);
    if (regle == QLatin1String("placemark")) {
        PlacemarkKml k;
        return LirePlacemark(e, k) ? QStringLiteral("%1|%2|%3").arg(k.nom).arg(k.longitude).arg(
                                         k.latitude)
                                   : QStringLiteral("refus");
    }
    if (regle == QLatin1String("chemin")) {
        QString dossier, nom;
        Fichiers::DecomposerChemin(e, dossier, nom);
        return dossier + QLatin1Char('|') + nom;
    }
    if (regle == QLatin1String("affichage"))
        return Fichiers::AffichageNomFichier(e);
    if (regle == QLatin1String("descriptif"))
        return Descriptions::FichierDescriptif(QStringLiteral("/g/Cotes.gpx"), e);
    if (regle == QLatin1String("document"))
        return Descriptions::TexteDocument(e);
    if (regle == QLatin1String("lignes"))
        return Fichiers::Textes(Fichiers::LignesWindows1252(e.toLatin1())).join('|');
    return QStringLiteral("regle inconnue");
}

} // namespace

class TestNoyau : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(dossier.isValid()); }
    void lecture_data();
    void lecture();
    void allerRetour_data();
    void allerRetour();
    void ecriture_data();
    void ecriture();
    void ecritureEchoue_data();
    void ecritureEchoue();
    void relocalisation_data();
    void relocalisation();
    void outilCommeEditeur_data();
    void outilCommeEditeur();
    void outilFichiers();
    void codecsCommeQt_data();
    void codecsCommeQt();
    void regles_data();
    void regles();
    void nombresEnFrancais();
    void ecrans_data();
    void ecrans();

private:
    QTemporaryDir dossier;
};

void TestNoyau::lecture_data()
{
    QTest::addColumn<QByteArray>("fichier");
    QTest::addColumn<QString>("fin"); // how the table's summary ends

    QTest::newRow("vide") << QByteArray() << QString();
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
    QTest::newRow("avec temps sans nom")
        << QByteArray("<wpt lat=\"1\" lon=\"2\">\r\n<time>t</time>\r\n<sym>b</sym>\r\n</wpt>\r\n")
        << "1|1|2|t|(Sans nom)|b|0";
    QTest::newRow("octets utf-8 avec et sans temps")
        << QByteArray("<wpt lat=\"1\" lon=\"2\">\r\n<time>t</time>\r\n<name>a%20\xC3\xA9</name>\r\n"
                      "</wpt>\r\n<wpt lat=\"3\" lon=\"4\">\r\n<name>a%20\xC3\xA9</name>\r\n"
                      "</wpt>\r\n")
        << QString::fromUtf8("1|1|2|t|a é||0\n2|3|4||a%20Ã©||0");
    QTest::newRow("marques d'ordre des octets")
        << QByteArray("<wpt lat=\"1\" lon=\"2\">\r\n<time>t</time>\r\n<name>&#xFFFE;AB</name>\r\n"
                      "</wpt>\r\n<wpt lat=\"3\" lon=\"4\">\r\n<name>&#xFEFF;C</name>\r\n</wpt>\r\n")
        << QStringLiteral("1|1|2|t|&#xFFFE;AB||0\n2|3|4||\uFEFFC||0");
    QTest::newRow("entites") << QByteArray(
                                    "<wpt lat=\"1\" lon=\"2\">\r\n<time>t</time>\r\n"
                                    "<name>A &amp; B &lt;&amp;lt;&gt; C&D &#233;</name>\r\n"
                                    "<link href=\"http://x?a=1&amp;b=&quot;2&quot;\">\r\n"
                                    "<text>&lt;plan&gt; &amp; co</text>\r\n</link>\r\n</wpt>\r\n")
                             << QString::fromUtf8("1|1|2|t|A & B <&lt;> C&D é||1\n"
                                                  "  1.1 http://x?a=1&amp;b=\"2\" | <plan> & co");
    // A reference to a character XML forbids stays text, so that it can be
    // written back well-formed.
    QTest::newRow("reference interdite")
        << QByteArray("<wpt lat=\"1\" lon=\"2\">\r\n<name>a&#1;b&#xFFFF;</name>\r\n</wpt>\r\n")
        << "1|1|2||a&#1;b&#xFFFF;||0";
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
    QByteArray cent;
    for (int i = 1; i <= 101; ++i)
        cent += Wpt(QByteArray::number(i), "2", "t" + QByteArray::number(i),
                    "P" + QByteArray::number(i), Lien("h" + QByteArray::number(i), "x"));
    QTest::newRow("101 poi") << cent << "100|100|2|t100|P100|anchorage|1\n  100.1 h100 | x";
    QByteArray liens;
    for (int k = 1; k <= 51; ++k)
        liens += Lien("h" + QByteArray::number(k), "x" + QByteArray::number(k));
    // The 51st link's text does not land on the 50th link.
    QTest::newRow("51 liens") << Wpt("1", "2", "t", "A", liens) << "  1.50 h50 | x50";
    QTest::newRow("moins de quatre guillemets")
        << QByteArray("<wpt lat=\"1\">\r\n<time>t</time>\r\n<name>A</name>\r\n</wpt>\r\n")
        << "1|||t|A||0";
    QTest::newRow("lignes courtes")
        << QByteArray("<wpt lat=\"1\" lon=\"2\">\r\n<time>\r\n<name>\r\n<sym>\r\n"
                      "<link\r\n<text>\r\n</wpt>\r\n")
        << "1|1|2||||0";
    QTest::newRow("balise au-dela de 32767")
        << "<wpt lat=\"1\" lon=\"2\">\r\n<time>t</time>\r\n" + QByteArray(40000, ' ') +
               "<name>loin</name>\r\n</wpt>\r\n"
        << "1|1|2|t|(Sans nom)||0";
    QTest::newRow("guillemet au-dela de 32767")
        << "<wpt lat=\"1\" lon=\"" + QByteArray(40000, '9') + "\">\r\n</wpt>" << "1||||||0";
}

void TestNoyau::lecture()
{
    QFETCH(QByteArray, fichier);
    QFETCH(QString, fin);
    const QString resume = Resume(*LireTexte(fichier));
    QVERIFY2(resume.endsWith(fin), qPrintable(resume.right(200)));
    // Binary noise around the same marks never crashes the reader.
    for (int i = 0; i < 4096; ++i)
        fichier += char((i * 7919) % 256);
    QVERIFY(LireTexte(fichier + "<wpt \"\"\"<time><name><link<text></wpt>")->NbPOI <= MaxPOI);
}

void TestNoyau::allerRetour_data()
{
    QTest::addColumn<Pois>("ecrit");
    QTest::addColumn<Pois>("relu");

    const QString t1 = QStringLiteral("2024-05-01T10:00:00Z");
    QTest::newRow("vide") << Pois{} << Pois{};
    Poi special{"48.1", "-4.2", t1, "Anse & <Nord> \"Ré\" l'été", "marina", {}};
    special.liens = {{"http://a.b/?x=1&amp;y=2", "Capitainerie & <bureau>"},
                     {"file:///home/marin/Cartes/Quai é&1.pdf", "Plan é"},
                     {"http://a.b/\"q\"<r>", ""}};
    Poi specialRelu = special;
    specialRelu.liens[1].first = "file:///home/marin/Cartes/Quai é&amp;1.pdf";
    QTest::newRow("caracteres speciaux") << Pois{special} << Pois{specialRelu};
    QTest::newRow("pourcent 20") << Pois{{"1", "2", t1, "Pointe%20du%20Raz", "", {}}}
                                 << Pois{{"1", "2", t1, "Pointe du Raz", "anchorage", {}}};
    QTest::newRow("sans nom") << Pois{{"1", "2", t1, "", "buoy", {{"http://x", "y"}}}}
                              << Pois{{"1", "2", t1, "(Sans nom)", "buoy", {{"http://x", "y"}}}};
    // Without a time, a name stays as written and the links are lost.
    QTest::newRow("sans temps") << Pois{{"47.5", "-3.1", "", "Île%20Verte ÿ €", "", {{"h", "y"}}}}
                                << Pois{{"47.5", "-3.1", "", "Île%20Verte ÿ €", "anchorage", {}}};
    // What another program wrote beyond Windows-1252 is written back as
    // references, and reads back the same.
    Poi etranger{"54.7", "17.5", t1, "港口 ł", "⚓", {{"file:///a/Łeba.pdf", "Łeba 🚢"}}};
    QTest::newRow("au-dela de windows-1252") << Pois{etranger} << Pois{etranger};
    QTest::newRow("au-dela sans temps") << Pois{{"54.7", "17.5", "", "Łeba &#1; 🚢", "⚓", {}}}
                                        << Pois{{"54.7", "17.5", "", "Łeba &#1; 🚢", "⚓", {}}};
    Pois plein;
    for (int i = 1; i <= MaxPOI; ++i) {
        Poi p{QString::number(40 + i / 100.0), QString::number(-4 - i / 100.0),
              QStringLiteral("2024-05-01T10:%1:00Z").arg(i % 60, 2, 10, QLatin1Char('0')) +
                  QString::number(i),
              QStringLiteral("P%1").arg(i), "anchorage", {}};
        for (int k = 1; k <= MaxLiens; ++k)
            p.liens << qMakePair(QStringLiteral("http://x/%1/%2").arg(i).arg(k),
                                 QStringLiteral("lien %1").arg(k));
        plein << p;
    }
    QTest::newRow("100 poi de 50 liens") << plein << plein;
}

void TestNoyau::allerRetour()
{
    QFETCH(Pois, ecrit);
    QFETCH(Pois, relu);
    auto table = Table(ecrit);
    const QString chemin = dossier.filePath(QStringLiteral("aller-retour.gpx"));
    QString erreur;
    QVERIFY2(Fichiers::EcrireGPX(chemin, *table, erreur), qPrintable(erreur));
    auto lu = LireTexte(Lire(chemin));
    QCOMPARE(Resume(*lu), Resume(*Table(relu)));
    // Saved again, nothing drifts.
    QCOMPARE(Texte(*lu), Texte(*Table(relu)));
    const QString interop = VerifierInterop(chemin, *table);
    QVERIFY2(interop.isEmpty(), qPrintable(interop));
}

void TestNoyau::ecriture_data()
{
    QTest::addColumn<Pois>("pois");
    QTest::addColumn<QByteArray>("attendu"); // the document, or a part of it
    const QString t = QStringLiteral("t");
    QTest::newRow("document exact")
        << Pois{{"48.38", "-4.49", "2024-05-01T10:00:00Z", "Quai", "", {}},
                {"48,5", "x", t, "B", "s", {{"h1", "t1"}, {"h2", ""}}}}
        << Document(Wpt("48.38", "-4.49", "2024-05-01T10:00:00Z", "Quai") +
                    Wpt("48,5", "x", "t", "B", Lien("h1", "t1") + Lien("h2", ""), "s"));
    QTest::newRow("vide") << Pois{} << Document("");
    QTest::newRow("nom avec temps en utf-8") << Pois{{"1", "2", t, "é", "", {}}}
                                             << QByteArray("<name>\xC3\xA9</name>");
    QTest::newRow("nom sans temps en references")
        << Pois{{"1", "2", "", "é€Ł🚢", "", {}}} << QByteArray("<name>&#233;&#8364;&#321;&#128674;<");
    QTest::newRow("octets deja utf-8 gardes")
        << Pois{{"1", "2", "", QString::fromLatin1("\xC3\xA9"), "", {}}}
        << QByteArray("<name>\xC3\xA9</name>");
    QTest::newRow("symbole hors windows-1252") << Pois{{"1", "2", t, "A", "⚓", {}}}
                                               << QByteArray("<sym>&#9875;</sym>");
    QTest::newRow("fins de ligne") << Pois{{"1", "2", t, "a\r\nb", "", {{"h", "c\nd"}}}}
                                   << QByteArray("<text>c&#10;d</text>");
    QTest::newRow("cible: entites gardees, le reste echappe")
        << Pois{{"1", "2", t, "A", "", {{"a&amp;b&#233;&#1;&Co;&#x2693;c", ""}}}}
        << QByteArray("href=\"a&amp;b&#233;&amp;#1;&amp;Co;&#x2693;c\"");
    QTest::newRow("caractere de controle refuse") << Pois{{"1", "2", t, "A\x01" "B", "", {}}}
                                                  << QByteArray("U+0001");
}

void TestNoyau::ecriture()
{
    QFETCH(Pois, pois);
    QFETCH(QByteArray, attendu);
    QString erreur;
    const QByteArray octets = Texte(*Table(pois), &erreur);
    if (attendu.startsWith("U+")) {
        QVERIFY2(erreur.contains(QString::fromLatin1(attendu)), qPrintable(erreur));
        return;
    }
    QVERIFY2(erreur.isEmpty(), qPrintable(erreur));
    QVERIFY2(attendu.startsWith("<?xml") ? octets == attendu : octets.contains(attendu),
             octets.constData());
}

void TestNoyau::ecritureEchoue_data()
{
    QTest::addColumn<QString>("cas");
    QTest::newRow("fichier en lecture seule") << "lecture-seule";
    QTest::newRow("dossier absent") << "dossier-absent";
    QTest::newRow("dossier en lecture seule") << "dossier-lecture-seule";
}

// A save that fails leaves the previous file whole, and nothing beside it.
void TestNoyau::ecritureEchoue()
{
    QFETCH(QString, cas);
    const QString d = dossier.filePath(cas) + QLatin1Char('/');
    QVERIFY(QDir().mkpath(d));
    QString cible = d + QStringLiteral("Marques.gpx");
    QVERIFY(Ecrire(cible, "ancien"));
    if (cas == QLatin1String("lecture-seule"))
        QFile::setPermissions(cible, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    else if (cas == QLatin1String("dossier-absent"))
        cible = d + QStringLiteral("absent/Marques.gpx");
    else if (geteuid() == 0)
        QSKIP("root writes into read-only folders");
    else
        QFile::setPermissions(d, QFile::ReadOwner | QFile::ExeOwner);
    auto table = Table({{"1", "2", "t", "A", "", {}}});
    QString erreur;
    QVERIFY(!Fichiers::EcrireGPX(cible, *table, erreur));
    QVERIFY(!erreur.isEmpty());
    QFile::setPermissions(d, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(Lire(d + QStringLiteral("Marques.gpx")), QByteArray("ancien"));
    QCOMPARE(QDir(d).entryList(QDir::Files), QStringList{QStringLiteral("Marques.gpx")});
}

void TestNoyau::relocalisation_data()
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
    // The file stays well-formed UTF-8 whatever the folder's name holds.
    QTest::newRow("dossier accentue") << "<link href=\"file:///x/plan.png\">"
                                      << QStringLiteral("/home/Régates 港/")
                                      << "<link href=\"file:///home/R&#233;gates &#28207;/plan.png\">";
    QTest::newRow("esperluette nue du nom")
        << "<link href=\"file:///x/Plan&Co;&amp;&#233;.pdf\">" << ici
        << "<link href=\"file:///home/marin/Marques/Plan&amp;Co;&amp;&#233;.pdf\">";
    QTest::newRow("texte de lien")
        << "<text>voir file:///x/plan.png</text>" << ici << "<text>voir file:///x/plan.png</text>";
    QTest::newRow("lien et texte sur une ligne")
        << "<link href=\"file:///x/p.png\"><text>p</text></link>" << ici
        << "<link href=\"file:///x/p.png\"><text>p</text></link>";
    QTest::newRow("adresse web") << "<link href=\"http://a/b.html\">" << ici
                                 << "<link href=\"http://a/b.html\">";
}

void TestNoyau::relocalisation()
{
    QFETCH(QString, ligne);
    QFETCH(QString, dossier);
    QFETCH(QString, attendu);
    const Fichiers::Lignes resultat =
        Fichiers::RelocaliserLignes(Fichiers::LignesWindows1252(ligne.toLatin1()), dossier);
    QCOMPARE(Fichiers::Textes(resultat), QStringList{attendu});
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

// The tool reads and writes without Qt, through its own compact table and
// file code: it must give the editor's results.
void TestNoyau::outilCommeEditeur_data()
{
    QTest::addColumn<QByteArray>("fichier");
    QTest::newRow("exemple") << Lire(QStringLiteral(QUAYLIGHT_SOURCE "/examples/rade-de-brest.gpx"));
    QTest::newRow("caracteres hors latin-1")
        << Document(Wpt("1", "2", "t", "Port &#x6E2F; &amp; &#128674;\tb",
                        Lien("file:///a/&#x6E2F;.pdf", "&#8364; \x80") +
                            Lien("http://a?b=1&amp;c", ""),
                        "&#x2693;") +
                    Wpt("3", "4", "", "\xCEle &#x6E2F; \x81\x9f &#324;") + "<trk>\r\n");
    QTest::newRow("utf-8 invalide") << Document(Wpt("1", "2", "t", "\xC3\x28 \xF0\x9F \xEF\xBB\xBF"));
    QTest::newRow("cr seuls") << Document(Wpt("1", "2", "t", "A", Lien("h", "x")))
                                     .replace("\r\n", "\r");
    QTest::newRow("vide") << QByteArray();
    QByteArray binaire;
    for (int i = 0; i < 4096; ++i)
        binaire += char((i * 7919 + i / 13) & 0xFF);
    QTest::newRow("binaire") << binaire;
    QTest::newRow("caractere de controle refuse") << Document(Wpt("1", "2", "", "A\x01" "B"));
}

void TestNoyau::outilCommeEditeur()
{
    QFETCH(QByteArray, fichier);
    const QString entree = dossier.filePath(QStringLiteral("comme-entree.gpx"));
    const QString sortie = dossier.filePath(QStringLiteral("comme-sortie.gpx"));
    QFile::remove(sortie);
    QVERIFY(Ecrire(entree, fichier));
    const Fichiers::Lignes lignes = Fichiers::LignesWindows1252(fichier);
    auto t = std::make_unique<PoiTable>();
    Fichiers::LirePOI(lignes, *t);

    const QByteArray dump = DumpAttendu(*t, Fichiers::ChercherRoutesTraces(lignes));
    QByteArray sortieOutil;
    QCOMPARE(Outil({QStringLiteral("dump"), entree}, &sortieOutil), 0);
    QCOMPARE(sortieOutil, dump);
    // A pipe cannot be mapped: it is read.
    QCOMPARE(Outil({QStringLiteral("dump"), QStringLiteral("/dev/stdin")}, &sortieOutil, fichier), 0);
    QCOMPARE(sortieOutil, dump);

    QString erreur;
    const QByteArray attendu = Texte(*t, &erreur);
    const int code = Outil({QStringLiteral("rewrite"), entree, sortie}, &sortieOutil);
    if (erreur.isEmpty()) {
        QCOMPARE(code, 0);
        QCOMPARE(Lire(sortie), attendu);
    } else {
        // Refused as the editor refuses it, and nothing written.
        QCOMPARE(code, 1);
        QVERIFY(sortieOutil.contains("U+0001"));
    }
    QCOMPARE(QDir(dossier.path()).entryList({QStringLiteral("comme-sortie*")}, QDir::Files),
             erreur.isEmpty() ? QStringList{QStringLiteral("comme-sortie.gpx")} : QStringList{});
}

// The dump's own format, and the tool's file handling: a file it replaces is
// replaced whole or not at all, as the editor saves.
void TestNoyau::outilFichiers()
{
    const QString d = dossier.filePath(QStringLiteral("outil")) + QLatin1Char('/');
    QVERIFY(QDir().mkpath(d));
    const QString entree = d + QStringLiteral("entree.gpx");
    QVERIFY(Ecrire(entree, Document("<trk>\r\n" + Wpt("48.1", "-4.2", "t1", "A\tb",
                                                        Lien("http://x", "x\ty")))));
    QByteArray sortie;
    QCOMPARE(Outil({QStringLiteral("dump"), entree}, &sortie), 0);
    QCOMPARE(sortie, QByteArray("routes-or-tracks\n1\t48.1\t-4.2\tt1\tA\\tb\tanchorage\t1\n"
                                "  link\t1\t1\thttp://x\tx\\ty\n"));
    QCOMPARE(Outil({QStringLiteral("dump"), d + QStringLiteral("absent.gpx")}, &sortie), 1);
    QVERIFY(sortie.contains("absent.gpx"));
    QCOMPARE(Outil({QStringLiteral("dump"), d}, &sortie), 1);
    QVERIFY(sortie.contains("folder"));
    QCOMPARE(Outil({QStringLiteral("rewrite"), entree, d + QStringLiteral("x/y.gpx")}), 1);

    // Its permissions stay; through a link, the link's target is replaced.
    const QString cible = d + QStringLiteral("cible.gpx");
    QVERIFY(Ecrire(cible, "ancien"));
    QVERIFY(QFile::setPermissions(cible, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    QVERIFY(QFile::link(cible, d + QStringLiteral("lien.gpx")));
    QCOMPARE(Outil({QStringLiteral("rewrite"), entree, d + QStringLiteral("lien.gpx")}), 0);
    QVERIFY(QFileInfo(d + QStringLiteral("lien.gpx")).isSymLink());
    QVERIFY(Lire(cible).startsWith("<?xml"));
    QCOMPARE(QFile::permissions(cible) & 0x7077, // not the "user" bits, which depend on who runs
             QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    // A read-only file is refused and left as it was.
    QVERIFY(Ecrire(cible, "ancien"));
    QVERIFY(QFile::setPermissions(cible, QFile::ReadOwner));
    QCOMPARE(Outil({QStringLiteral("rewrite"), entree, cible}), 1);
    QCOMPARE(Lire(cible), QByteArray("ancien"));
    // No work file is left behind.
    QCOMPARE(QDir(d).entryList(QDir::Files | QDir::System),
             (QStringList{QStringLiteral("cible.gpx"), QStringLiteral("entree.gpx"),
                          QStringLiteral("lien.gpx")}));
}

// The UTF-8 codecs stand in for Qt's, so names decode and encode as the
// editor always did.
void TestNoyau::codecsCommeQt_data()
{
    QTest::addColumn<QByteArray>("octets");
    QTest::newRow("accents") << QByteArray("Pointe \xC3\x8Ele \xE2\x82\xAC \xF0\x9F\x9A\xA2");
    QTest::newRow("bom au debut") << QByteArray("\xEF\xBB\xBF" "A\xC3\xA9");
    QTest::newRow("bom plus loin") << QByteArray("A\xEF\xBB\xBF");
    QTest::newRow("suites coupees") << QByteArray("\xC3 \xE2\x82 \xF0\x9F\x9A ab\xF0\x9F");
    QTest::newRow("trop longues") << QByteArray("\xC0\x80 \xE0\x80\x80 \xF0\x80\x80\x80");
    QTest::newRow("substituts et hors plage") << QByteArray("\xED\xA0\x80 \xF4\x90\x80\x80 \xF5");
    QTest::newRow("non-caracteres et suites seules")
        << QByteArray("\xEF\xBF\xBE \xEF\xB7\x90 \x80\xBF\xFE\xFF");
    QByteArray hasard;
    quint32 x = 12345;
    for (int i = 0; i < 20000; ++i) {
        x = x * 1103515245u + 12345u;
        // Mostly bytes that start or continue sequences.
        hasard += char(0x80 | ((x >> 16) & 0x7F));
    }
    QTest::newRow("hasard") << hasard;
}

void TestNoyau::codecsCommeQt()
{
    QFETCH(QByteArray, octets);
    const std::string_view vue(octets.constData(), size_t(octets.size()));
    const std::u16string texte = Gpx::Utf8VersTexte(vue);
    QCOMPARE(UTF8::TexteQt(texte), QString::fromUtf8(octets));
    // Back to UTF-8, lone surrogates included.
    const std::u16string avecSubstituts = texte + u"\xD800x\xDC00";
    QCOMPARE(QByteArray::fromStdString(Gpx::EnUtf8(avecSubstituts)),
             UTF8::TexteQt(avecSubstituts).toUtf8());
    QCOMPARE(Gpx::Utf8Valide(vue),
             !QString::fromUtf8("x" + octets).contains(QChar::ReplacementCharacter));
}

void TestNoyau::regles_data()
{
    QTest::addColumn<QString>("regle");
    QTest::addColumn<QString>("entree");
    QTest::addColumn<QString>("attendu");
    auto r = [](const char* nom, const char* regle, const QString& e, const QString& a) {
        QTest::newRow(nom) << QString::fromLatin1(regle) << e << a;
    };
    // Link list entries and stored targets.
    r("entree web", "entree", "2|Capitainerie|http://port.fr", "2  Capitainerie    (Web)");
    r("entree file", "entree", "1|Description|file://C:\\Nav\\A.txt", "1  Description    (File)");
    r("entree file dans le chemin", "entree", "3|p|http://a/profile.html", "3  p    (File)");
    r("entree FILE", "entree", "10||FILE:///x", "10      (Web)");
    r("reduire", "reduire", "a;amp;b&amp;amp;amp;", "a;b&amp;");
    r("echapper nues", "echapper", "x&y&amp;z", "x&amp;y&amp;z");
    r("cible", "cible", "http://a?x=1&amp;amp;y=2&lt;", "http://a?x=1&y=2&lt;");
    r("url windows", "url", "C:\\Cartes\\Port.pdf", "file:///C:/Cartes/Port.pdf");
    r("url linux", "url", "/home/marin/Port 2&c.pdf", "file:///home/marin/Port 2&c.pdf");
    r("url sans separateur", "url", "Port.pdf", "file:///Port.pdf");
    r("valide", "valide", "C:\\Cartes\\Port 2.pdf\x7f", "oui");
    r("valide accent", "valide", "Église", "non");
    r("valide tabulation", "valide", "a\tb", "non");
    r("valide 128", "valide", QString(QChar(128)), "non");
    // What the desktop is asked to open: exactly the file a target names.
    r("ouvrir diese", "ouvrir", "file:///home/m/Bouée #3?.txt", "fichier /home/m/Bouée #3?.txt");
    r("ouvrir pourcent", "ouvrir", "file:///a/Plan%20rade", "fichier /a/Plan%20rade");
    r("ouvrir esperluette", "ouvrir", "file:///a/b&amp;c.pdf", "fichier /a/b&c.pdf");
    r("ouvrir windows", "ouvrir", "file:///C:/Nav/A.txt", "fichier /C:/Nav/A.txt");
    r("ouvrir web", "ouvrir", "https://m.fr/?a=1&amp;b=2#h", "web https://m.fr/?a=1&b=2#h");
    r("ouvrir sans schema", "ouvrir", "www.shom.fr", "web http://www.shom.fr");
    r("ouvrir port", "ouvrir", "www.shom.fr:8080/a", "web http://www.shom.fr:8080/a");
    r("ouvrir mailto", "ouvrir", "mailto:port@brest.fr", "web mailto:port@brest.fr");
    // Numbers: the leading number of a stored text, a typed coordinate.
    r("tete", "tete", " 4 8.\t5\n", "48.5");
    r("tete mot", "tete", "abc", "0");
    r("tete suite", "tete", "-.5e1abc", "-5");
    r("tete virgule", "tete", "48,5", "48");
    r("tete exposant incomplet", "tete", "+12e", "12");
    r("coord", "coord", "  -4.3 ", "-4.3");
    r("coord vide", "coord", "", "refus");
    r("coord suite", "coord", "48.5x", "refus");
    r("coord nan", "coord", "nAn", "refus");
    r("coord infini", "coord", "-inf", "refus");
    // Language files.
    r("langue", "langue", "C[Label1]/a/b/c", "C|Label1|a/b|c");
    r("langue espaces", "langue", "M[ MsgBoite$(7) ] x / a /\tb ", "M|MsgBoite$(7)|a|\tb");
    r("langue crochet", "langue", "C[Label1]/a]b/", "C|Label1]/a|a]b|");
    r("langue espace en tete", "langue", " C[Label1]/a/b", "refus");
    r("langue sans ]", "langue", "C[Label1/a/b", "refus");
    r("langue une barre", "langue", "C[Label1]/a", "refus");
    r("fichier en", "fichierLangue", "en", "langueEN.txt");
    r("fichier self", "fichierLangue", "self", "langueSELF.txt");
    r("fichier EN", "fichierLangue", "EN", "langueFR.txt");
    // Map placemarks.
    r("placemark", "placemark",
      "<Placemark><name>Quai & <Port></name><Point><coordinates>-4.5,48,0</coordinates>"
      "</Point></Placemark>",
      "Quai & <Port>|-4.5|48");
    r("placemark balises", "placemark",
      "<Placemark><name>a</name><coordinates>b</name><Point><coordinates>2,1,0</coordinates>"
      "</Point></Placemark>",
      "a</name><coordinates>b|2|1");
    r("placemark illisible", "placemark",
      "<Placemark><name>X</name><Point><coordinates>-4.5,abc,0</coordinates></Point>"
      "</Placemark>",
      "refus");
    r("placemark sans coordonnees", "placemark", "<Placemark><name>X</name></Placemark>", "refus");
    // Paths: "\" is a character of a Linux file name.
    r("chemin", "chemin", "/home/a\\b/c\\d.gpx", "/home/a\\b/|c\\d.gpx");
    r("affichage 30", "affichage", "/home/marin/Marques/abcdef.gpx",
      "/home/marin/Marques/abcdef.gpx");
    r("affichage 31", "affichage", "/home/marin/Marques/abcdefg.gpx",
      "..../home/marin/Marques/abcdefg.gpx");
    r("descriptif barres", "descriptif", "../../etc/passwd", "/g/.._.._etc_passwd.txt");
    r("descriptif point point", "descriptif", "..", "/g/_...txt");
    r("descriptif barre inverse", "descriptif", "a\\b", "/g/a_b.txt");
    // The description editor's text keeps what it did not touch.
    r("document", "document", QStringLiteral("a\u00A0:\u2029b\u2028c"),
      QStringLiteral("a\u00A0:\nb\nc"));
    r("lignes", "lignes", "a\r\r\nb\n\rc\r\n", "a||b||c");
}

void TestNoyau::regles()
{
    QFETCH(QString, regle);
    QFETCH(QString, entree);
    QFETCH(QString, attendu);
    QCOMPARE(Regle(regle, entree), attendu);
}

void TestNoyau::nombresEnFrancais()
{
    // The user's locale writes decimals with a comma; positions still use ".".
    const QLocale avant;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    QCOMPARE(Regle(QStringLiteral("coord"), QStringLiteral("48.5")), QStringLiteral("48.5"));
    QCOMPARE(Regle(QStringLiteral("tete"), QStringLiteral("-4.3")), QStringLiteral("-4.3"));
    QLocale::setDefault(avant);
}

void TestNoyau::ecrans_data()
{
    QTest::addColumn<QRect>("fenetre");
    QTest::addColumn<QPoint>("attendu");
    QTest::newRow("sur le premier") << QRect(100, 50, 300, 400) << QPoint(100, 50);
    QTest::newRow("sur le second") << QRect(1300, 0, 300, 400) << QPoint(1300, 0);
    QTest::newRow("a cheval") << QRect(1200, 10, 300, 400) << QPoint(1280, 10);
    QTest::newRow("tres loin a gauche") << QRect(-2000000000, 10, 300, 400) << QPoint(0, 10);
    QTest::newRow("second ecran debranche") << QRect(3500, 100, 300, 400) << QPoint(2620, 100);
    QTest::newRow("sous le bas") << QRect(100, 1000, 300, 400) << QPoint(100, 624);
    QTest::newRow("plus grande que l'ecran") << QRect(-50, -50, 5000, 5000) << QPoint(0, 0);
}

void TestNoyau::ecrans()
{
    QFETCH(QRect, fenetre);
    QFETCH(QPoint, attendu);
    // Two screens side by side, the second one shorter.
    const QVector<QRect> ecrans = {QRect(0, 0, 1280, 1024), QRect(1280, 0, 1640, 900)};
    QCOMPARE(Ecrans::Rentrer(fenetre, ecrans), attendu);
}

QTEST_GUILESS_MAIN(TestNoyau)
#include "test_noyau.moc"
