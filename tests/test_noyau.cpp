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
        *sortie =
            outil.exitCode() == 0 ? outil.readAllStandardOutput() : outil.readAllStandardError();
    return outil.exitCode();
}

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
        return LirePlacemark(e, k)
                   ? QStringLiteral("%1|%2|%3").arg(k.nom).arg(k.longitude).arg(k.latitude)
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
    if (regle == QLatin1String("reloc")) // folder|line
        return Fichiers::Textes(
                   Fichiers::RelocaliserLignes(Fichiers::LignesWindows1252(p[1].toLatin1()), p[0]))
            .join('|');
    if (regle == QLatin1String("ecran")) { // a window's left, top, width and height
        // Two screens side by side, the second one shorter.
        const QPoint q =
            Ecrans::Rentrer(QRect(p[0].toInt(), p[1].toInt(), p[2].toInt(), p[3].toInt()),
                            {QRect(0, 0, 1280, 1024), QRect(1280, 0, 1640, 900)});
        return QStringLiteral("%1|%2").arg(q.x()).arg(q.y());
    }
    if (regle == QLatin1String("lignes"))
        return Fichiers::Textes(Fichiers::LignesWindows1252(e.toLatin1())).join('|');
    return QStringLiteral("regle inconnue");
}

} // namespace

class TestNoyau : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(dossier.isValid()); }
    void echantillons_data();
    void echantillons();
    void allerRetour_data();
    void allerRetour();
    void ecriture_data();
    void ecriture();
    void outilFichiers();
    void codecsCommeQt_data();
    void codecsCommeQt();
    void regles_data();
    void regles();

private:
    QTemporaryDir dossier;
};

// Every sample of tests/data/gpx: read as its .txt file says, written
// well-formed, and the companion tool, with its own compact table and file
// code, gives the editor's dump and bytes.
void TestNoyau::echantillons_data()
{
    QTest::addColumn<QString>("gpx");
    const QDir d(QStringLiteral(QUAYLIGHT_SOURCE "/tests/data/gpx"));
    for (const QString& n : d.entryList({QStringLiteral("*.gpx")}))
        QTest::newRow(qPrintable(n)) << d.filePath(n);
}

void TestNoyau::echantillons()
{
    QFETCH(QString, gpx);
    const QByteArray fichier = Lire(gpx);
    const Fichiers::Lignes lignes = Fichiers::LignesWindows1252(fichier);
    auto t = LireTexte(fichier);
    QCOMPARE(Resume(*t) + '\n', QString::fromUtf8(Lire(gpx.chopped(3) + "txt")));
    // Binary noise around the same marks never crashes the reader.
    QByteArray bruit = fichier;
    for (int i = 0; i < 4096; ++i)
        bruit += char((i * 7919) % 256);
    QVERIFY(LireTexte(bruit + "<wpt \"\"\"<time><name><link<text></wpt>")->NbPOI <= MaxPOI);

    const QByteArray dump = DumpAttendu(*t, Fichiers::ChercherRoutesTraces(lignes));
    QByteArray sortie;
    QCOMPARE(Outil({QStringLiteral("dump"), gpx}, &sortie), 0);
    QCOMPARE(sortie, dump);
    // A pipe cannot be mapped: it is read.
    QCOMPARE(Outil({QStringLiteral("dump"), QStringLiteral("/dev/stdin")}, &sortie, fichier), 0);
    QCOMPARE(sortie, dump);

    const QString ecrit = dossier.filePath(QStringLiteral("ecrit.gpx"));
    QString erreur;
    QFile::remove(ecrit);
    QFile::remove(ecrit + ".outil");
    const bool ok = Fichiers::EcrireGPX(ecrit, *t, erreur);
    QCOMPARE(Outil({QStringLiteral("rewrite"), gpx, ecrit + ".outil"}, &sortie), ok ? 0 : 1);
    if (!ok) {
        // Refused as the editor refuses it, and nothing written.
        QVERIFY(erreur.contains("U+0001") && sortie.contains("U+0001"));
        QCOMPARE(QDir(dossier.path()).entryList({QStringLiteral("ecrit*")}), QStringList());
        return;
    }
    QCOMPARE(Lire(ecrit + ".outil"), Lire(ecrit));
    QProcess xmllint;
    xmllint.start(QStringLiteral("xmllint"), {QStringLiteral("--noout"), ecrit});
    QVERIFY(xmllint.waitForFinished(30000) && xmllint.exitCode() == 0);
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
    QTest::newRow("nom avec temps en utf-8")
        << Pois{{"1", "2", t, "é", "", {}}} << QByteArray("<name>\xC3\xA9</name>");
    QTest::newRow("nom sans temps en references")
        << Pois{{"1", "2", "", "é€Ł🚢", "", {}}}
        << QByteArray("<name>&#233;&#8364;&#321;&#128674;<");
    QTest::newRow("octets deja utf-8 gardes")
        << Pois{{"1", "2", "", QString::fromLatin1("\xC3\xA9"), "", {}}}
        << QByteArray("<name>\xC3\xA9</name>");
    QTest::newRow("symbole hors windows-1252")
        << Pois{{"1", "2", t, "A", "⚓", {}}} << QByteArray("<sym>&#9875;</sym>");
    QTest::newRow("fins de ligne")
        << Pois{{"1", "2", t, "a\r\nb", "", {{"h", "c\nd"}}}} << QByteArray("<text>c&#10;d</text>");
    QTest::newRow("cible: entites gardees, le reste echappe")
        << Pois{{"1", "2", t, "A", "", {{"a&amp;b&#233;&#1;&Co;&#x2693;c", ""}}}}
        << QByteArray("href=\"a&amp;b&#233;&amp;#1;&amp;Co;&#x2693;c\"");
    QTest::newRow("caractere de controle refuse") << Pois{{"1",
                                                           "2",
                                                           t,
                                                           "A\x01"
                                                           "B",
                                                           "",
                                                           {}}}
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

// The tool reads and writes without Qt, through its own compact table and
// file code: it must give the editor's results.
// The dump's own format, and the tool's file handling: a file it replaces is
// replaced whole or not at all, as the editor saves.
void TestNoyau::outilFichiers()
{
    const QString d = dossier.filePath(QStringLiteral("outil")) + QLatin1Char('/');
    QVERIFY(QDir().mkpath(d));
    const QString entree = d + QStringLiteral("entree.gpx");
    QVERIFY(Ecrire(entree, Document("<trk>\r\n" +
                                    Wpt("48.1", "-4.2", "t1", "A\tb", Lien("http://x", "x\ty")))));
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
    QTest::newRow("bom au debut") << QByteArray("\xEF\xBB\xBF"
                                                "A\xC3\xA9");
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

// The table is tests/data/regles.txt.
void TestNoyau::regles_data()
{
    QTest::addColumn<QString>("regle");
    QTest::addColumn<QString>("entree");
    QTest::addColumn<QString>("attendu");
    auto texte = [](QString t) {
        for (int i = t.indexOf('\\'); i >= 0; i = t.indexOf('\\', i + 1)) {
            const QChar c = t[i + 1];
            const int n = c == 'u' ? 6 : 2;
            t.replace(i, n,
                      c == 'u'   ? QChar(t.mid(i + 2, 4).toUShort(nullptr, 16))
                      : c == 't' ? QChar('\t')
                      : c == 'r' ? QChar('\r')
                      : c == 'n' ? QChar('\n')
                      : c == 's' ? QChar(' ')
                                 : c);
        }
        return t;
    };
    const QStringList lignes =
        QString::fromUtf8(Lire(QUAYLIGHT_SOURCE "/tests/data/regles.txt")).split('\n');
    for (int n = 0; n < lignes.size(); ++n) {
        const QStringList c = lignes[n].split(QStringLiteral(" | "));
        if (c.size() == 3 && !lignes[n].startsWith('#'))
            QTest::newRow(qPrintable(QStringLiteral("%1 ligne %2").arg(c[0]).arg(n + 1)))
                << c[0] << texte(c[1]) << texte(c[2]);
    }
}

void TestNoyau::regles()
{
    QFETCH(QString, regle);
    QFETCH(QString, entree);
    QFETCH(QString, attendu);
    QCOMPARE(Regle(regle, entree), attendu);
}

QTEST_GUILESS_MAIN(TestNoyau)
#include "test_noyau.moc"
