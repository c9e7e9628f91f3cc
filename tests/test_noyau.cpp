// SPDX-License-Identifier: GPL-3.0-or-later
// The widget-free core: GPX reader and writer, relocation, the companion
// tool, codecs, and the text rules, as tables.
#include "Outils.h"
#include "app/Langues.h"
#include "earth/Cercles.h"
#include "earth/DossierPrive.h"
#include "earth/Eclaircie.h"
#include "earth/Placemark.h"
#include "earth/RequeteTuile.h"
#include "editing/DoublonsPOI.h"
#include "editing/FiltrePOI.h"
#include "editing/Historique.h"
#include "editing/Nombres.h"
#include "editing/Positions.h"
#include "editing/ProprietesPOI.h"
#include "editing/Routes.h"
#include "editing/Symboles.h"
#include "gpx/Calques.h"
#include "gpx/Fichiers.h"
#include "gpx/Fusion.h"
#include "gpx/Importation.h"
#include "gpx/Proprietes.h"
#include "gpx/UTF8.h"
#include "links/Descriptions.h"
#include "links/Gerer_liens.h"
#include "shell/Ecrans.h"
#include "shell/LigneLangue.h"

#include <GeographicLib/Geodesic.hpp>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QXmlStreamReader>
#include <QtTest>
#include <csignal>
#include <cstring>
#include <functional>
#include <sys/resource.h>
#include <zlib.h>

using namespace OutilsGPX;

namespace {

// A table from its text: waypoints separated by " // ", each
// "lat|lon|time|name|symbol" then "|target^text" for each link.
std::unique_ptr<PoiTable> Table(const QString& texte)
{
    auto t = std::make_unique<PoiTable>();
    for (const QString& poi : texte.split(QStringLiteral(" // "), Qt::SkipEmptyParts)) {
        const QStringList c = poi.split('|');
        const int i = t->AjouterLigne();
        t->LatPOI[i] = c.value(0);
        t->LonPOI[i] = c.value(1);
        t->TempsPOI[i] = c.value(2);
        t->NomPOI[i] = c.value(3);
        t->SymPOI[i] = c.value(4);
        for (int k = 5; k < c.size(); ++k)
            t->InsererLien(i, k - 4, c[k].section('^', 0, 0), c[k].section('^', 1));
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
    if (outil.exitStatus() == QProcess::CrashExit) {
        // Told apart from an exit code: the signal is in the output.
        if (sortie)
            *sortie = "killed by signal " + QByteArray::number(outil.exitCode());
        return -2;
    }
    if (sortie)
        // Exit 3 is an answer (duplicates found), not a failure.
        *sortie = outil.exitCode() == 0 || outil.exitCode() == 3 ? outil.readAllStandardOutput()
                                                                 : outil.readAllStandardError();
    return outil.exitCode();
}

// The table the line reader gives.
std::unique_ptr<PoiTable> LireLignes(const QByteArray& octets)
{
    auto t = std::make_unique<PoiTable>();
    Gpx::LirePOI<QString>(Fichiers::LignesWindows1252(octets), *t, true);
    return t;
}

// What a conforming parser finds in a GPX document: each text and attribute
// value, and each element by its local name (GPX 1.0's url, urlname and
// email counted as the link, text and attributes they become), and each
// element of another vocabulary under its parent of one: what the writer
// must keep as it stands, comments in it too. The names of waypoints, which
// the reader completes, are left out. Empty when the text is not XML.
QMap<QString, int> Contenu(const QByteArray& xml)
{
    QMap<QString, int> contenu;
    QXmlStreamReader r(xml);
    QStringList chemin;
    QStringList espaces;
    auto gpx = [](const QString& uri) {
        return uri.isEmpty() || uri.startsWith("http://www.topografix.com/GPX/");
    };
    QString texte;
    auto texteLu = [&] {
        const QString t = texte.trimmed();
        if (t.startsWith(QChar(1)))
            ++contenu["valeur " + t.mid(1)];
        else if (!t.isEmpty() && chemin.mid(1) != QStringList{"wpt", "name"})
            ++contenu["texte " + t];
        texte.clear();
    };
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            texteLu();
            const QString nom = r.name().toString();
            if (!espaces.isEmpty() && !gpx(espaces.last()) && !gpx(r.namespaceUri().toString()))
                ++contenu["<" + chemin.last() + "/" + nom];
            chemin << nom;
            espaces << r.namespaceUri().toString();
            ++contenu["<" + (nom == "url" ? "link" : nom == "urlname" ? "text" : nom)];
            for (const QXmlStreamAttribute& a : r.attributes())
                if (a.name() != QLatin1String("version") && a.name() != QLatin1String("creator") &&
                    a.name() != QLatin1String("schemaLocation"))
                    ++contenu["valeur " + a.value().toString()];
        } else if (r.isEndElement()) {
            // A GPX 1.0 url becomes a link's target, an email its parts.
            if (chemin.last() == QLatin1String("url"))
                texte.prepend(QStringLiteral("\x01"));
            if (chemin.last() == QLatin1String("email") && texte.contains('@')) {
                ++contenu["valeur " + texte.section('@', 0, 0)];
                texte = QStringLiteral("\x01") + texte.section('@', 1);
            }
            texteLu();
            chemin.removeLast();
            espaces.removeLast();
        } else if (r.isCharacters()) {
            texte += r.text();
        } else if (r.isComment() && !chemin.isEmpty() && chemin.last() != QLatin1String("gpx") &&
                   chemin.last() != QLatin1String("wpt")) {
            // Kept within what is kept, not between the elements the
            // writer writes anew.
            ++contenu["<!--" + r.text().toString()];
        }
    }
    return r.hasError() ? QMap<QString, int>() : contenu;
}

// A KMZ archive as description gives it: entries "name=text=how" joined by
// ";", how being 0 (stored) or 8 (deflated), then d: sizes said to follow
// the data, x: the deflated data cut short, t: one byte more announced, g:
// 256 MiB and one announced, c: the archive cut in the entry's data.
QByteArray Kmz(const QString& description)
{
    QByteArray z;
    for (const QString& e : description.split(';')) {
        const QStringList c = e.split('=');
        const QByteArray nom = c[0].toUtf8(), texte = c[1].toUtf8();
        const QString facon = c[2];
        QByteArray donnees = texte;
        if (facon.startsWith('8')) {
            z_stream flux{};
            deflateInit2(&flux, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
            donnees.resize(int(deflateBound(&flux, uLong(texte.size()))));
            flux.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(texte.data()));
            flux.avail_in = uInt(texte.size());
            flux.next_out = reinterpret_cast<Bytef*>(donnees.data());
            flux.avail_out = uInt(donnees.size());
            deflate(&flux, Z_FINISH);
            donnees.resize(int(flux.total_out));
            deflateEnd(&flux);
        }
        if (facon.contains('x'))
            donnees.chop(2);
        quint32 taille = quint32(texte.size());
        taille = facon.contains('t') ? taille + 1 : facon.contains('g') ? (256u << 20) + 1 : taille;
        auto mot = [&z](quint32 v, int n) {
            for (int i = 0; i < n; ++i)
                z += char((v >> (8 * i)) & 0xFF);
        };
        mot(0x04034b50, 4);
        mot(20, 2);
        mot(facon.contains('d') ? 8 : 0, 2);
        mot(facon.startsWith('8') ? 8 : 0, 2);
        mot(0, 4); // time and date
        mot(0, 4); // CRC, not read
        mot(quint32(donnees.size()), 4);
        mot(taille, 4);
        mot(quint32(nom.size()), 2);
        mot(0, 2);
        z += nom + donnees;
        if (facon.contains('c'))
            z.chop(3);
    }
    return z;
}

// A file system that takes two bytes of a file, no more: the limit as it
// was kept in avant to be put back, SIGXFSZ ignored so that a write past it
// fails with the system's reason.
bool DeuxOctets(rlimit& avant)
{
    if (getrlimit(RLIMIT_FSIZE, &avant) != 0)
        return false;
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit deux = avant;
    deux.rlim_cur = 2;
    return setrlimit(RLIMIT_FSIZE, &deux) == 0;
}

// True when xmllint finds the file valid against the GPX 1.1 schema.
bool Valide(const QString& chemin)
{
    QProcess xmllint;
    xmllint.start(QStringLiteral("xmllint"),
                  {"--noout", "--schema", QUAYLIGHT_SOURCE "/tests/data/gpx-1.1.xsd", chemin});
    return xmllint.waitForFinished(30000) && xmllint.exitCode() == 0;
}

// A rule of the core applied to a text, its result as text.
// A property by its name in the code.
Gpx::Propriete ProprieteNommee(const QString& nom)
{
    static const QStringList noms = {
        "Guid",          "Viz",        "VizNom",        "Rayon",          "AnneauxVisibles",
        "AnneauxNombre", "AnneauxPas", "AnneauxUnites", "AnneauxCouleur", "EchelleUtilisee",
        "EchelleMin",    "EchelleMax", "Maree",         "Desc",           "Cmt"};
    return Gpx::Propriete(noms.indexOf(nom));
}

QString Regle(const QString& regle, const QString& e)
{
    using namespace Gerer_liens;
    const QStringList p = e.split('|');
    const QString refus = QStringLiteral("refus");
    double v = 0;
    EntreeLangue l;
    PlacemarkKml k;
    QString dossier, nom;
    const QHash<QString, std::function<QString()>> regles = {
        {"entree", [&] { return EntreeListe(p[0].toInt(), p.value(1), p.value(2)); }},
        {"reduire", [&] { return ReduireAmp(e); }},
        {"echapper", [&] { return EchapperAmp(e); }},
        {"cible", [&] { return CibleLien(e); }},
        {"url", [&] { return CheminVersUrl(e); }},
        {"valide", [&] { return QString(TexteValide(e) ? "oui" : "non"); }},
        {"ouvrir",
         [&] {
             const QUrl u = AdresseAOuvrir(CibleLien(e));
             return u.isLocalFile() ? "fichier " + u.toLocalFile()
                                    : "web " + u.toString(QUrl::FullyEncoded);
         }},
        {"tete", [&] { return QString::number(Nombres::NombreEnTete(e)); }},
        {"pas", [&] { return QString::number(Cercles::Pas(e.toDouble(), 65)); }},
        {"position",
         [&] {
             double lat = 0, lon = 0;
             const auto l = Positions::Lire(e, lat, lon);
             return l == Positions::Lecture::Lue
                        ? Positions::Texte(lat) + '|' + Positions::Texte(lon)
                    : l == Positions::Lecture::Refusee ? QStringLiteral("refusee")
                                                       : QStringLiteral("inconnue");
         }},
        {"coord", [&] { return Nombres::LireCoordonnee(e, v) ? QString::number(v) : refus; }},
        {"depart",
         [&] {
             const auto t = Gpx::LireDepart(e.toStdString());
             return t ? QString::number(*t) : refus;
         }},
        {"langue",
         [&] {
             return CouperLigneLangue(e, l)
                        ? QStringList{l.code, l.nom, l.texte1, l.texte2}.join('|')
                        : refus;
         }},
        {"fichierLangue", [&] { return Langues::NomFichier(e); }},
        {"propriete",
         [&] {
             Gpx::RefusPropriete r{};
             const auto v = Gpx::Normaliser(ProprieteNommee(p[0]), p.value(1).toStdString(), r);
             return v ? QString::fromStdString(*v) : refus + QString::number(int(r));
         }},
        // A flag as a file gives it, blanks and case as they come.
        {"booleen",
         [&] {
             const auto b = Gpx::Booleen(e.toStdString());
             return b ? QString(*b ? "oui" : "non") : refus;
         }},
        {"calque", [&] { return Calques::NomFichier(e); }},
        // A route's planned speed as a file gives it; 5 knots unless it is
        // a speed.
        {"vitesse",
         [&] {
             return QString::number(Gpx::LireRoute("<rte><extensions><opencpn:planned_speed>" +
                                                   e.toStdString() +
                                                   "</opencpn:planned_speed></extensions></rte>")
                                        .vitesse);
         }},
        // The merge's name key and the filter's, which Qt's Unicode data
        // makes: the same for every name.
        {"cle",
         [&] {
             // Every character of the ranges the merge's tables hold.
             if (e == QLatin1String("*")) {
                 QStringList ecarts;
                 for (const auto& [de, a] : {std::pair{0x20, 0x500}, std::pair{0x1E00, 0x2000}})
                     for (int u = de; u < a; ++u) {
                         const QString c{QChar(ushort(u))};
                         if (QString::fromStdU16String(Gpx::CleNom(c.toStdU16String())) !=
                             FiltrePOI::Cle(c))
                             ecarts << QString::number(u, 16);
                     }
                 return ecarts.isEmpty() ? QStringLiteral("pareilles") : ecarts.join(' ');
             }
             const QString c = QString::fromStdU16String(Gpx::CleNom(e.toStdU16String()));
             return c == FiltrePOI::Cle(e) ? c : "filtre " + FiltrePOI::Cle(e) + " fusion " + c;
         }},
        {"placemark",
         [&] {
             return LirePlacemark(e, k)
                        ? QStringLiteral("%1|%2|%3").arg(k.nom).arg(k.longitude).arg(k.latitude)
                        : refus;
         }},
        {"chemin",
         [&] { return Fichiers::DecomposerChemin(e, dossier, nom), dossier + '|' + nom; }},
        {"affichage", [&] { return Fichiers::AffichageNomFichier(e); }},
        // A tile request head: what the relay makes of it.
        {"requete",
         [&] {
             RequeteTuile::Tuile t;
             const QByteArray octets = e.toLatin1();
             switch (RequeteTuile::Lire({octets.constData(), size_t(octets.size())}, t)) {
             case RequeteTuile::Tete::Incomplete:
                 return QStringLiteral("incomplete");
             case RequeteTuile::Tete::Refusee:
                 return QStringLiteral("refusee");
             case RequeteTuile::Tete::Lue:
                 break;
             }
             return QString::fromStdString(t.jeton + ' ' + t.source + ' ' +
                                           RequeteTuile::Chemin(t));
         }},
        // client port|server port|lines of /proc/net/tcp: the owner's uid
        {"proprietaire",
         [&] {
             const QByteArray t = e.section('|', 2).toLatin1();
             return QString::number(RequeteTuile::Proprietaire({t.constData(), size_t(t.size())},
                                                               p[0].toUShort(), p[1].toUShort()));
         }},
        // threshold|lon,lat;lon,lat...: the levels the marks are drawn from
        {"eclaircie",
         [&] {
             std::vector<std::pair<double, double>> positions;
             for (const QString& p : e.section('|', 1).split(';'))
                 positions.emplace_back(p.section(',', 0, 0).toDouble(),
                                        p.section(',', 1).toDouble());
             QStringList niveaux;
             for (const int n : Eclaircie::NiveauxAffichage(positions, p[0].toInt()))
                 niveaux << QString::number(n);
             return niveaux.join(',');
         }},
        // name|text: whether the filter shows the mark
        {"filtre",
         [&] {
             PoiTable table;
             table.NomPOI[table.AjouterLigne()] = p[0];
             FiltrePOI f;
             f.Appliquer(table, p[1]);
             return QString(f.Poi(0) == 1 ? "oui" : "non");
         }},
        // text|name;name...: the waypoint of each list position, then the
        // list position of each waypoint
        {"liste",
         [&] {
             PoiTable table;
             for (const QString& n : e.section('|', 1).split(';'))
                 table.NomPOI[table.AjouterLigne()] = n;
             FiltrePOI f;
             f.Appliquer(table, p[0]);
             QStringList pois, positions;
             for (int k = 0; k <= f.Nombre(); ++k)
                 pois << QString::number(f.Poi(k));
             for (int i = 0; i <= table.NbPOI + 1; ++i)
                 positions << QString::number(f.Position(i));
             return pois.join(',') + '|' + positions.join(',');
         }},
        {"famille",
         [&] {
             static const char* const noms[] = {"bouee",  "feu",  "mouillage",
                                                "danger", "port", "autre"};
             return QString::fromLatin1(noms[int(Symboles::FamilleDe(e))]);
         }},
        // level|offset|last tile level|the world's width at the closest view
        {"tuiles",
         [&] {
             Eclaircie::Tuiles t;
             t.decalage = p[1].toDouble();
             t.niveauMax = p[2].toInt();
             t.largeurMax = p[3].toDouble();
             return QString::number(Eclaircie::NiveauTuiles(p[0].toInt(), t));
         }},
        {"descriptif", [&] { return Descriptions::FichierDescriptif("/g/Cotes.gpx", e); }},
        {"document", [&] { return Descriptions::TexteDocument(e); }},
        {"lignes",
         [&] { return Fichiers::Textes(Fichiers::LignesWindows1252(e.toLatin1())).join('|'); }},
        // folder|line
        {"reloc",
         [&] {
             return Fichiers::Textes(Fichiers::RelocaliserLignes(
                                         Fichiers::LignesWindows1252(p[1].toLatin1()), p[0]))
                 .join('|');
         }},
        // context|value: what the writer writes of a plain value, in one
        // step, the same from a text kept one byte a character and from one
        // kept in two; "refus" sends it through escaping.
        {"ecrire",
         [&] {
             const bool cible = p[0] == QLatin1String("cible");
             const QByteArray latin1 = p[1].toLatin1();
             std::string etroit, large;
             const bool e = Gpx::Ecriture::Simple(
                 std::string_view(latin1.constData(), size_t(latin1.size())), cible, etroit);
             const bool l = Gpx::Ecriture::Simple(
                 std::u16string_view(reinterpret_cast<const char16_t*>(p[1].utf16()),
                                     size_t(p[1].size())),
                 cible, large);
             if (e != l || etroit != large)
                 return QStringLiteral("differ");
             return e ? QString::fromStdString(etroit) : refus;
         }},
        // A window's left, top, width and height; two screens side by side,
        // the second one shorter.
        {"ecran",
         [&] {
             const QPoint q =
                 Ecrans::Rentrer(QRect(p[0].toInt(), p[1].toInt(), p[2].toInt(), p[3].toInt()),
                                 {QRect(0, 0, 1280, 1024), QRect(1280, 0, 1640, 900)});
             return QStringLiteral("%1|%2").arg(q.x()).arg(q.y());
         }},
        // The editor's left, top, width and height; the globe beside it.
        // With a fifth argument, the frame's margins "left,top,right,bottom"
        // and a screen of 1600 by 1000.
        {"acote", [&] {
             const QStringList m = p.value(4).split(',');
             const QRect r = Ecrans::ACote(
                 QRect(p[0].toInt(), p[1].toInt(), p[2].toInt(), p[3].toInt()), {800, 600}, 400, 8,
                 p.size() > 4 ? QRect(0, 0, 1600, 1000) : QRect(0, 0, 1280, 1024),
                 QMargins(m.value(0).toInt(), m.value(1).toInt(), m.value(2).toInt(),
                          m.value(3).toInt()));
             return QStringLiteral("%1|%2|%3|%4")
                 .arg(r.x())
                 .arg(r.y())
                 .arg(r.width())
                 .arg(r.height());
         }}};
    if (regle == QLatin1String("dansecran")) {
        // The frame and the client area, each "x,y,w,h"; the screen 1600 by
        // 1000 less a panel of 40 at the bottom.
        auto rect = [](const QString& t) {
            const QStringList c = t.split(',');
            return QRect(c[0].toInt(), c[1].toInt(), c[2].toInt(), c[3].toInt());
        };
        const QRect r = Ecrans::DansLEcran(rect(p[0]), rect(p[1]), QRect(0, 0, 1600, 960));
        return QStringLiteral("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    }
    return regles.contains(regle) ? regles[regle]() : QStringLiteral("regle inconnue");
}

} // namespace

class TestNoyau : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(dossier.isValid()); }
    void echantillons_data();
    void echantillons();
    void ecriture_data();
    void ecriture();
    void outilFichiers();
    void ligneDeCommande_data();
    void ligneDeCommande();
    void fichierRaccourci();
    void kmz_data();
    void kmz();
    void codecsCommeQt_data();
    void codecsCommeQt();
    void regles_data();
    void regles();
    void dossierPrive_data();
    void dossierPrive();
    void relocalisationEnPlace_data();
    void relocalisationEnPlace();
    void troncons_data();
    void troncons();
    void routesDesMarques();
    void proprietes_data();
    void proprietes();
    void proprietesDePlusieurs();
    void cercles_data();
    void cercles();
    void classes_data();
    void classes();
    void doublons();
    void fusionParLOutil();
    void groupeAuDelaDe50Liens();
    void commandesDesRoutes();

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
    // The marks as the sample's .txt file lists them, which is the tool's
    // dump: by the editor's reader, by the tool's, and by the tool reading a
    // pipe, which cannot be mapped.
    const QByteArray dump = Lire(gpx.chopped(3) + "txt");
    QCOMPARE((Fichiers::ChercherRoutesTraces(lignes) ? "routes-or-tracks\n" : "") +
                 Resume(*t).toUtf8(),
             dump);
    QByteArray sortie;
    QCOMPARE(Outil({"dump", gpx}, &sortie), 0);
    QCOMPARE(sortie, dump);
    QCOMPARE(Outil({"dump", QStringLiteral("/dev/stdin")}, &sortie, fichier), 0);
    QCOMPARE(sortie, dump);
    // Binary noise around the same marks never crashes the reader.
    QByteArray bruit = fichier;
    for (int i = 0; i < 4096; ++i)
        bruit += char((i * 7919) % 256);
    QVERIFY(LireTexte(bruit + "<wpt \"\"\"<time><name><link<text></wpt>")->NbPOI <= MaxPOI);

    const QString ecrit = dossier.filePath("ecrit.gpx");
    QString erreur;
    QFile::remove(ecrit);
    QFile::remove(ecrit + ".outil");
    const bool ok = Fichiers::EcrireGPX(ecrit, *t, erreur);
    QCOMPARE(Outil({"rewrite", gpx, ecrit + ".outil"}, &sortie), ok ? 0 : 1);
    if (!ok) {
        // Refused as the editor refuses it, and nothing written.
        QVERIFY(erreur.contains("U+0001") && sortie.contains("U+0001"));
        QCOMPARE(QDir(dossier.path()).entryList({QStringLiteral("ecrit*")}), QStringList());
        return;
    }
    QCOMPARE(Lire(ecrit + ".outil"), Lire(ecrit));
    // The routes: as the tool lists them where the sample says; written back
    // as read by the model, and the same points when written from its
    // fields.
    const QString routes = gpx.chopped(3) + "routes";
    QByteArray legs;
    QCOMPARE(Outil({"routes", gpx}, &legs), 0);
    if (QFile::exists(routes))
        QCOMPARE(legs, Lire(routes));
    Routes modele;
    modele.Lire(*t);
    if (t->Fichier)
        QCOMPARE(modele.Garde(*t)->routes, t->Fichier->routes);
    for (Gpx::Route& r : modele.liste)
        r.lue.clear();
    PoiTable reecrite = *t;
    reecrite.Fichier = modele.Garde(*t);
    const QString parChamps = dossier.filePath("champs.gpx");
    QFile::remove(parChamps);
    QVERIFY(Fichiers::EcrireGPX(parChamps, reecrite, erreur));
    QByteArray legsParChamps;
    QCOMPARE(Outil({"routes", parChamps}, &legsParChamps), 0);
    QCOMPARE(legsParChamps, legs);
    // Valid output from valid input, and from a GPX 1.0 file (told by its
    // namespace, or by its version alone), which the writer makes 1.1.
    const bool valide = Valide(gpx) ||
                        fichier.contains("xmlns=\"http://www.topografix.com/GPX/1/0\"") ||
                        fichier.contains("<gpx version=\"1.0\"");
    if (valide)
        QVERIFY(Valide(parChamps));
    // gpsbabel, a reader nobody here wrote, finds the same route points.
    auto pointsDeRoutes = [](const QString& f) {
        QProcess g;
        g.start("gpsbabel", {"-r", "-i", "gpx", "-f", f, "-o", "unicsv", "-F", "-"});
        return g.waitForFinished(30000) ? g.readAllStandardOutput() : QByteArray("?");
    };
    if (!modele.liste.empty())
        QCOMPARE(pointsDeRoutes(parChamps), pointsDeRoutes(gpx));
    // Well-formed, valid wherever the input was, read by gpsbabel; read
    // back and saved again, the same bytes.
    QCOMPARE(VerifierInterop(ecrit, *t), QString());
    if (valide)
        QVERIFY(Valide(ecrit));
    // Schema locations go in pairs, namespace and file, whatever the input
    // held.
    const QByteArray ecrits = Lire(ecrit);
    const int lieu = ecrits.indexOf("xsi:schemaLocation=\"") + 20;
    QCOMPARE(ecrits.mid(lieu, ecrits.indexOf('"', lieu) - lieu).simplified().count(' ') % 2, 1);
    auto relu = LireTexte(Lire(ecrit));
    if (Fichiers::LirePOI(lignes, *relu).xml) {
        // A GPX file reads back as it was read, and nothing it held is lost.
        relu = LireTexte(Lire(ecrit));
        QCOMPARE(Resume(*relu), Resume(*t));
        QCOMPARE(Texte(*relu), Lire(ecrit));
        // Nor when its routes are written from their fields.
        const QMap<QString, int> avant = Contenu(fichier);
        for (const QString& sortie : {ecrit, parChamps}) {
            const QMap<QString, int> apres = Contenu(Lire(sortie));
            QStringList perdus;
            for (auto c = avant.begin(); c != avant.end(); ++c)
                if (apres.value(c.key()) < c.value())
                    perdus << c.key();
            QVERIFY2(perdus.isEmpty(), qPrintable(sortie + ": " + perdus.join('\n')));
        }
    }
    // The writer's own layout reads the same by both readers, but for the
    // links the line reader finds by time: compared where the time is the
    // waypoint's own and found first on its line (none without a time).
    PoiTable seule = *t;
    seule.Fichier.reset();
    for (auto& g : seule.GardesPOI)
        g.reset();
    const QByteArray propre = Texte(seule);
    auto parXml = LireTexte(propre);
    auto parLignes = LireLignes(propre);
    const QString texte = QString::fromUtf8(propre);
    for (int i = 1; i <= parXml->NbPOI; ++i) {
        const QString temps = parXml->TempsPOI[i];
        const QString ligne = QStringLiteral("\t\t<time>%1</time>").arg(temps);
        if (temps.isEmpty() || texte.indexOf(temps) != texte.indexOf(ligne) + 8 ||
            std::count(parXml->TempsPOI.begin(), parXml->TempsPOI.end(), temps) > 1)
            for (auto* t : {parXml.get(), parLignes.get()}) {
                t->LienHref[i].clear();
                t->LienTexte[i].clear();
            }
    }
    QCOMPARE(Resume(*parLignes), Resume(*parXml));
}

// A table written, then read back: the bytes it gives (the whole document,
// a part of it, or the character refused), the table read (when it differs
// from the one written), the same bytes when saved again, and a file that
// xmllint and gpsbabel read.
void TestNoyau::ecriture_data()
{
    const QString lien = "http://a.b/?x=1&amp;y=2^Capitainerie & <bureau>|file:///home/Quai é&";
    Tableau(
        {"ecrit", "relu", "octets"},
        {{"vide", "", "", QString::fromLatin1(Document(""))},
         {"document exact", "48.38|-4.49|2024-05-01T10:00:00Z|Quai| // 48.5|-4|T2|B|s|h1^t1|h2^",
          "48.38|-4.49|2024-05-01T10:00:00Z|Quai|anchorage // 48.5|-4|T2|B|s|h1^t1|h2^",
          QString::fromLatin1(
              Document(Wpt("48.38", "-4.49", "2024-05-01T10:00:00Z", "Quai") +
                       Wpt("48.5", "-4", "T2", "B", Lien("h1", "t1") + Lien("h2", ""), "s")))},
         {"caracteres speciaux",
          "48.1|-4.2|t|Anse & <Nord> \"Ré\" l'été|m|" + lien + "1.pdf^Plan é|x\"<^",
          "48.1|-4.2|t|Anse & <Nord> \"Ré\" l'été|m|" + lien + "amp;1.pdf^Plan é|x\"<^",
          "<name>Anse &amp; &lt;Nord&gt; \"Ré\" l'été</name>"},
         {"pourcent 20", "1|2|t|Pointe%20du%20Raz|s", "1|2|t|Pointe du Raz|s"},
         {"sans nom", "1|2|t||buoy|http://x^y", "1|2|t|(Sans nom)|buoy|http://x^y"},
         // Without a time, a name stays as written, with its links, and
         // no time element is written.
         {"sans temps", "47.5|-3.1||Île%20Verte ÿ €|s|h^y", "",
          "\t<wpt lat=\"47.5\" lon=\"-3.1\">\r\n\t\t<name>&#206;le%20Verte &#255; &#8364;</name>"},
         {"texte hors ascii en references", "1|2||Ã©|s", "", "<name>&#195;&#169;</name>"},
         {"nom avec temps en utf-8", "1|2|t|港口 ł|s", "", "<name>港口 ł</name>"},
         // What another program wrote beyond Windows-1252 is written
         // back as references, and reads back the same.
         {"au-dela de windows-1252", "54.7|17.5||Łeba &#1; 🚢|⚓|file:///a/Łeba.pdf^Ł", "",
          "<name>&#321;eba &amp;#1; &#128674;</name>"},
         {"lien au-dela", "1|2|t|A|s|file:///a/Łeba.pdf^Łeba 🚢", "", ">&#321;eba &#128674;</text>"},
         {"fins de ligne", "1|2|t|A|s|h^c\r\nd", "", "<text>c&#13;&#10;d</text>"},
         {"cible: entites gardees, le reste echappe", "1|2|t|A|s|a&amp;b&#233;&#1;&Co;&#x2693;^",
          "1|2|t|A|s|a&amp;bé&amp;#1;&amp;Co;⚓^", "href=\"a&amp;b&#233;&amp;#1;&amp;Co;&#x2693;\""},
         // A disk that takes two bytes: refused, the file there before
         // kept.
         {"disque plein", "1|2|t|" + QString(20000, 'a') + "|s", "", "E:not written whole"},
         // Each side of the ASCII table's end, in a name without a time:
         // DEL as it stands, then the first character past it.
         {"del",
          "1|2||A\x7f"
          "B|s",
          "",
          "<name>A\x7f"
          "B</name>"},
         {"u+0080", QString::fromUtf8("1|2||A\u0080B|s"), "", "<name>A&#128;B</name>"},
         {"caractere de controle refuse",
          "1|2|t|A\x01"
          "B|s",
          "", "U+0001"}});
}

void TestNoyau::ecriture()
{
    auto table = Table(V("ecrit"));
    const QString chemin = dossier.filePath("ecrit.gpx");
    QString erreur;
    const QByteArray attendu = V("octets").toUtf8();
    const bool plein = attendu.startsWith("E:");
    QVERIFY(Ecrire(chemin, "avant"));
    rlimit limite{};
    if (plein)
        QVERIFY(DeuxOctets(limite));
    const bool ecrit = Fichiers::EcrireGPX(chemin, *table, erreur);
    if (plein)
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limite), 0);
    if (attendu.startsWith("U+") || plein) {
        QVERIFY2(!ecrit && erreur.contains(V("octets").mid(plein ? 2 : 0)), qPrintable(erreur));
        QCOMPARE(Lire(chemin), QByteArray("avant"));
        return;
    }
    QVERIFY2(ecrit, qPrintable(erreur));
    const QByteArray octets = Lire(chemin);
    QVERIFY2(attendu.startsWith("<?xml") ? octets == attendu : octets.contains(attendu),
             octets.constData());
    auto lu = LireTexte(octets);
    const auto relu = Table(V("relu").isEmpty() ? V("ecrit") : V("relu"));
    QCOMPARE(Resume(*lu), Resume(*relu));
    QCOMPARE(Texte(*lu), Texte(*relu));
    QCOMPARE(VerifierInterop(chemin, *table), QString());
}

// The editor's own arguments, answered before it needs a display, and the
// GPX tool's: what was asked for on standard output, a refusal on standard
// error, and a note there leaves the answer as it is. @ stands for a sample
// file, # for one that is not well-formed, & for a file of more marks than
// the editor holds, % for a file to write.
void TestNoyau::ligneDeCommande_data()
{
    const char* usage = "Usage: quaylight-gpx dump FILE\n";
    const char* distance = "--within takes 1 to 1852 metres, not ";
    Tableau(
        {"arguments", "code", "sortie", "programme", "erreur"},
        {{"aide", "--help", "0", "Usage: quaylight [FILE.gpx]"},
         {"version", "--version", "0", "quaylight "},
         {"option inconnue", "-x", "2", "unexpected argument -x"},
         {"deux fichiers", "a.gpx b.gpx", "2", "unexpected argument b.gpx"},
         {"apres --", "-- a.gpx b.gpx", "2", "unexpected argument b.gpx"},
         {"outil, aide", "--help", "0", usage, "quaylight-gpx"},
         {"outil, -h", "-h", "0", usage, "quaylight-gpx"},
         {"outil, commande inconnue", "frobnicate @", "2", usage, "quaylight-gpx"},
         {"outil, fichier manquant", "dump", "2", usage, "quaylight-gpx"},
         {"outil, fichier de trop", "dump @ @", "2", usage, "quaylight-gpx"},
         {"outil, option inconnue", "merge @ @ % --fast", "2", usage, "quaylight-gpx"},
         {"outil, distance la plus grande", "merge @ @ % --within 1852", "0", "same 5\t",
          "quaylight-gpx"},
         {"outil, distance trop petite", "merge @ @ % --within 0.99", "2",
          QString::fromLatin1(distance) + "0.99\n", "quaylight-gpx"},
         {"outil, distance la plus petite", "duplicates @ --within 1", "0", "", "quaylight-gpx"},
         {"outil, distance trop grande", "duplicates @ --within 1853", "2",
          QString::fromLatin1(distance) + "1853\n", "quaylight-gpx"},
         {"outil, distance et unite", "duplicates @ --within 5m", "2",
          QString::fromLatin1(distance) + "5m\n", "quaylight-gpx"},
         {"outil, distance absente", "duplicates @ --within", "2", usage, "quaylight-gpx"},
         {"outil, doublons, option inconnue", "duplicates @ --near", "2", usage, "quaylight-gpx"},
         {"outil, fichier mal forme", "dump #", "0", "Bout du fichier", "quaylight-gpx",
          "marque-ouverte.gpx is not well-formed XML (no element found, line 9, column 1); it "
          "was read line by line\n"},
         {"outil, routes d'un fichier mal forme", "routes #", "0", "", "quaylight-gpx",
          "marque-ouverte.gpx is not well-formed XML (no element found, line 9, column 1); it "
          "was read line by line\n"},
         {"outil, au-dela de la capacite", "rewrite & %", "0", "", "quaylight-gpx",
          "grande.gpx holds 2 waypoints past the 20000 the editor holds; they are only kept "
          "where this file is written again (rewrite, or merge as MINE)\n"}});
}

// A file cut short under the tool's mapping raises SIGBUS: the run stops
// there with a message and writes nothing. The signal is sent once the first
// file is read and the tool waits for the second one on its input.
void TestNoyau::fichierRaccourci()
{
    const QString sortie = dossier.filePath("raccourci.gpx");
    QFile::remove(sortie);
    QProcess outil;
    outil.start(QStringLiteral("./quaylight-gpx"),
                {"merge", QUAYLIGHT_SOURCE "/tests/data/gpx/exemple.gpx", "/dev/stdin", sortie});
    QVERIFY(outil.waitForStarted(30000));
    const QString attente = QStringLiteral("/proc/%1/wchan").arg(outil.processId());
    QTRY_VERIFY_WITH_TIMEOUT(Lire(attente).contains("pipe_read"), 30000);
    QCOMPARE(kill(pid_t(outil.processId()), SIGBUS), 0);
    outil.write(Lire(QUAYLIGHT_SOURCE "/tests/data/gpx/exemple.gpx"));
    outil.closeWriteChannel();
    QVERIFY(outil.waitForFinished(30000));
    QCOMPARE(outil.exitCode(), 1);
    QVERIFY(
        outil.readAllStandardError().contains("exemple.gpx: the file shrank while it was read"));
    QVERIFY(!QFile::exists(sortie));
}

void TestNoyau::ligneDeCommande()
{
    QStringList arguments = V("arguments").split(' ');
    arguments.replaceInStrings(QStringLiteral("@"),
                               QStringLiteral(QUAYLIGHT_SOURCE "/tests/data/gpx/exemple.gpx"));
    arguments.replaceInStrings(QStringLiteral("%"), dossier.filePath("ligne.gpx"));
    arguments.replaceInStrings(
        QStringLiteral("#"), QStringLiteral(QUAYLIGHT_SOURCE "/tests/data/gpx/marque-ouverte.gpx"));
    if (arguments.contains(QStringLiteral("&"))) {
        QByteArray wpts;
        for (int i = 0; i < MaxPOI + 2; ++i)
            wpts += "<wpt lat=\"1\" lon=\"2\"/>\n";
        QVERIFY(Ecrire(dossier.filePath("grande.gpx"), Document(wpts)));
        arguments.replaceInStrings(QStringLiteral("&"), dossier.filePath("grande.gpx"));
    }
    QProcess programme;
    programme.start("./" + (V("programme").isEmpty() ? "quaylight" : V("programme")), arguments);
    QVERIFY(programme.waitForFinished(30000));
    QCOMPARE(programme.exitCode(), V("code").toInt());
    const QByteArray sortie = programme.readAllStandardOutput();
    const QByteArray erreur = programme.readAllStandardError();
    QVERIFY2((V("code") == "0" ? sortie : erreur).contains(V("sortie").toUtf8()),
             (sortie + erreur).constData());
    // A note on standard error does not change the answer.
    if (V("code") != "0")
        QVERIFY(sortie.isEmpty());
    else if (V("erreur").isEmpty())
        QVERIFY2(erreur.isEmpty(), erreur.constData());
    else
        QVERIFY2(erreur.endsWith(V("erreur").toUtf8()) && erreur.count('\n') == 1,
                 erreur.constData());
}

// The dump's own format, and the tool's file handling: a file it replaces is
// replaced whole or not at all, as the editor saves.
void TestNoyau::outilFichiers()
{
    const QString d = dossier.filePath("outil") + QLatin1Char('/');
    QVERIFY(QDir().mkpath(d));
    const QString entree = d + "entree.gpx";
    QVERIFY(Ecrire(entree, Document("<trk>\r\n" +
                                    Wpt("48.1", "-4.2", "t1", "A\tb", Lien("http://x", "x\ty")))));
    QByteArray sortie;
    QCOMPARE(Outil({"dump", entree}, &sortie), 0);
    QCOMPARE(sortie, QByteArray("routes-or-tracks\n1\t48.1\t-4.2\tt1\tA\\tb\tanchorage\t1\n"
                                "  link\t1\t1\thttp://x\tx\\ty\n"));
    QCOMPARE(Outil({"dump", d + "absent.gpx"}, &sortie), 1);
    QVERIFY(sortie.contains("absent.gpx"));
    QCOMPARE(Outil({"dump", d}, &sortie), 1);
    QVERIFY(sortie.contains("folder"));
    QCOMPARE(Outil({"rewrite", entree, d + "x/y.gpx"}), 1);
    // Run with its standard input closed, its first file takes descriptor 0.
    QCOMPARE(QProcess::execute("sh", {"-c", "exec ./quaylight-gpx rewrite \"$0\" \"$1\" <&-",
                                      entree, d + "ferme.gpx"}),
             0);
    QVERIFY(Lire(d + "ferme.gpx").startsWith("<?xml") && QFile::remove(d + "ferme.gpx"));
    // Another format, through gpsbabel, written as rewrite writes.
    QVERIFY(Ecrire(d + "rade.csv", "Name,Latitude,Longitude\nPort,48.38,-4.49\n"));
    QCOMPARE(Outil({"import", d + "rade.csv", d + "rade.gpx"}), 0);
    QCOMPARE(Outil({"dump", d + "rade.gpx"}, &sortie), 0);
    QCOMPARE(sortie, QByteArray("1\t48.380000000\t-4.490000000\t\tPort\tanchorage\t0\n"));
    QCOMPARE(Outil({"import", d + "rade.xyz", d + "autre.gpx"}, &sortie), 1);
    QVERIFY(sortie.contains("format") && !QFile::exists(d + "autre.gpx"));
    QVERIFY(QFile::remove(d + "rade.csv") && QFile::remove(d + "rade.gpx"));

    // Its permissions stay; through a link, the link's target is replaced.
    const QString cible = d + "cible.gpx";
    QVERIFY(Ecrire(cible, "ancien"));
    QVERIFY(QFile::setPermissions(cible, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    QVERIFY(QFile::link(cible, d + "lien.gpx"));
    QCOMPARE(Outil({"rewrite", entree, d + "lien.gpx"}), 0);
    QVERIFY(QFileInfo(d + "lien.gpx").isSymLink());
    QVERIFY(Lire(cible).startsWith("<?xml"));
    QCOMPARE(QFile::permissions(cible) & 0x7077, // not the "user" bits, which depend on who runs
             QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    // A pipe, here through a link to /dev/stdout, is written to, not replaced.
    QVERIFY(QFile::link(QStringLiteral("/dev/stdout"), d + "sortie"));
    QCOMPARE(Outil({"rewrite", entree, d + "sortie"}, &sortie), 0);
    QVERIFY(sortie.startsWith("<?xml") && QFileInfo(d + "sortie").isSymLink());
    QVERIFY(QFile::remove(d + "sortie"));
    // A read-only file is refused and left as it was.
    QVERIFY(Ecrire(cible, "ancien"));
    QVERIFY(QFile::setPermissions(cible, QFile::ReadOwner));
    QCOMPARE(Outil({"rewrite", entree, cible}), 1);
    QCOMPARE(Lire(cible), QByteArray("ancien"));
    // A write that fails part way (past a file size limit) gives the
    // system's reason and leaves the file as it was.
    QVERIFY(QFile::setPermissions(cible, QFile::ReadOwner | QFile::WriteOwner));
    QProcess limite;
    limite.setProcessChannelMode(QProcess::MergedChannels);
    limite.start("sh",
                 {"-c", "trap '' XFSZ; ulimit -f 8; exec ./quaylight-gpx rewrite \"$0\" \"$1\"",
                  QUAYLIGHT_SOURCE "/tests/data/gpx/101-poi.gpx", cible});
    QVERIFY(limite.waitForFinished(30000));
    QCOMPARE(limite.exitCode(), 1);
    QVERIFY2(limite.readAll().contains("File too large"), "the reason is the system's");
    QCOMPARE(Lire(cible), QByteArray("ancien"));
    // No work file is left behind.
    QCOMPARE(QDir(d).entryList(QDir::Files | QDir::System),
             (QStringList{"cible.gpx", QStringLiteral("entree.gpx"), QStringLiteral("lien.gpx")}));
}

// The UTF-8 codecs stand in for Qt's, so names decode and encode as the
// editor always did.
// The KML document of a KMZ archive, stored or deflated, wherever it
// stands; what cannot be read says why.
void TestNoyau::kmz_data()
{
    const char* disposition = "the KMZ archive's layout is not supported";
    const char* abimee = "the KMZ archive is damaged";
    const char* absent = "no KML document in the KMZ archive";
    Tableau(
        {"archive", "kml", "raison"},
        {{"stocke", "doc.kml=<kml>a</kml>=0", "<kml>a</kml>"},
         {"deflate apres une image", "images/x.png=png=8;doc.kml=<kml>b</kml>=8", "<kml>b</kml>"},
         {"apres une image stockee", "x.png=png=0;doc.kml=<kml>c</kml>=0", "<kml>c</kml>"},
         {"nom le plus court", "a.kml=<kml/>=0", "<kml/>"},
         {"aucun document", "images/x.png=png=8", "", absent},
         {"un nom sans rien avant l'extension", ".kml=<kml/>=0", "", absent},
         {"vide", "", "", absent},
         {"tailles apres les donnees", "doc.kml=<kml/>=8d", "", disposition},
         {"coupee dans les donnees", "doc.kml=<kml>long</kml>=0c", "", disposition},
         {"au-dela de 256 Mio", "doc.kml=<kml/>=8g", "", disposition},
         {"donnees coupees", "doc.kml=<kml>abcdefgh</kml>=8x", "", abimee},
         {"un octet de plus annonce", "doc.kml=<kml/>=8t", "", abimee}});
}

void TestNoyau::kmz()
{
    const QByteArray z = V("archive").isEmpty() ? QByteArray() : Kmz(V("archive"));
    std::string kml = "avant", raison;
    const bool lu =
        Importation::ExtraireKml(std::string_view(z.constData(), size_t(z.size())), kml, raison);
    QCOMPARE(lu, V("raison").isEmpty());
    if (lu)
        QCOMPARE(QString::fromStdString(kml), V("kml"));
    QCOMPARE(QString::fromStdString(raison), V("raison"));
}

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
    // Each length's first and last character, either side of the
    // surrogates, the last of all.
    QTest::newRow("limites") << QByteArray("\x7F \xC2\x80 \xDF\xBF \xE0\xA0\x80 \xED\x9F\xBF "
                                           "\xEE\x80\x80 \xEF\xBF\xBF \xF0\x90\x80\x80 "
                                           "\xF4\x8F\xBF\xBF \xF0\x9F\xBF\xBF");
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
    // Back to UTF-8, lone surrogates included, the first and last of each half.
    const std::u16string avecSubstituts = texte + u"\xD800x\xDBFFx\xDC00x\xDFFF";
    QCOMPARE(QByteArray::fromStdString(Gpx::EnUtf8(avecSubstituts)),
             UTF8::TexteQt(avecSubstituts).toUtf8());
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
            if (c == '{') {
                // "x\{N}": x N times in all.
                const int fin = t.indexOf('}', i);
                const int n = t.mid(i + 2, fin - i - 2).toInt();
                t.replace(i, fin + 1 - i, QString(n - 1, t[i - 1]));
                i += n - 2;
                continue;
            }
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

// The chart plotter's properties in the forms real files carry: what the
// tool prints of them, a change made as the properties dialog makes it
// ("Name=value;..."), what the file then holds, valid against the schema,
// and what is read back. Everything not changed keeps its bytes.
void TestNoyau::proprietes_data()
{
    const QString anneaux = "<opencpn:waypoint_range_rings visible=\"true\" number=\"2\" "
                            "step=\"0.5\" units=\"0\" colour=\"#FF0000\" />";
    Tableau(
        {"extensions", "props", "changement", "ecrit", "relu", "avant"},
        {{"export d'OpenCPN",
          "<opencpn:guid>a1</opencpn:guid><opencpn:arrival_radius>0.050</opencpn:arrival_radius>" +
              anneaux +
              "<opencpn:scale_min_max UseScale=\"True\" ScaleMin=\"50000\" ScaleMax=\"0\"/>",
          "a1\t\t\t0.050\ttrue/2/0.5/0/#FF0000\tTrue/50000/0\t", "Rayon=0,25",
          "<opencpn:arrival_radius>0.250</opencpn:arrival_radius>",
          "a1\t1\t1\t0.250\ttrue/2/0.5/0/#FF0000\tTrue/50000/0\t"},
         {"attributs manquants", "<opencpn:waypoint_range_rings visible=\"1\" number=\"3\"/>",
          "\t\t\t\t1/3///\t\t", "AnneauxPas=2;AnneauxCouleur=#00ff00",
          "<opencpn:waypoint_range_rings visible=\"1\" number=\"3\" step=\"2\" "
          "colour=\"#00FF00\"/>",
          "\t1\t1\t\t1/3/2//#00FF00\t\t"},
         {"aucun, echelle donnee", "", "\t\t\t\t\t\t", "EchelleUtilisee=1",
          "<opencpn:scale_min_max UseScale=\"true\" ScaleMin=\"2147483646\" ScaleMax=\"0\" />",
          "\t1\t1\t\t\ttrue/2147483646/0\t"},
         {"aucun, nombre d'anneaux donne", "", "\t\t\t\t\t\t", "AnneauxNombre=3",
          "<opencpn:waypoint_range_rings visible=\"false\" number=\"3\" step=\"1\" units=\"0\" "
          "colour=\"#FF0000\" />",
          "\t1\t1\t\tfalse/3/1/0/#FF0000\t\t"},
         {"aucun, echelle minimale donnee", "", "\t\t\t\t\t\t", "EchelleMin=50000",
          "<opencpn:scale_min_max UseScale=\"false\" ScaleMin=\"50000\" ScaleMax=\"0\" />",
          "\t1\t1\t\t\tfalse/50000/0\t"},
         {"instruction avant le drapeau", "<?quaylight essai?><opencpn:viz>0</opencpn:viz>",
          "\t0\t\t\t\t\t", "Viz=1", "<opencpn:viz>1</opencpn:viz>", "\t1\t1\t\t\t\t"},
         {"booleens en toutes casses, hors limites gardes",
          "<opencpn:viz>FALSE</opencpn:viz><opencpn:viz_name>True</opencpn:viz_name>"
          "<opencpn:waypoint_range_rings visible=\"TRUE\" number=\"25\" step=\"-1\" "
          "units=\"7\" colour=\"red\"/>",
          "\tFALSE\tTrue\t\tTRUE/25/-1/7/red\t\t", "VizNom=0",
          "<opencpn:viz_name>0</opencpn:viz_name>", "\tFALSE\t0\t\tTRUE/25/-1/7/red\t\t"},
         {"nom masque, drapeau ajoute une seule fois", "", "\t\t\t\t\t\t", "Viz=0;VizNom=0",
          "<opencpn:viz>0</opencpn:viz>\r\n\t\t\t<opencpn:viz_name>0</opencpn:viz_name>\r\n"
          "\t\t</extensions>",
          "\t0\t0\t\t\t\t"},
         {"autre prefixe", "<ocpn:viz xmlns:ocpn=\"http://www.opencpn.org\">0</ocpn:viz>",
          "\t0\t\t\t\t\t", "Viz=1", ">1</ocpn:viz>", "\t1\t1\t\t\t\t"},
         {"guid en cdata et entites", "<opencpn:guid> <![CDATA[a&b]]>&#x2d;c </opencpn:guid>",
          "a&b-c\t\t\t\t\t\t", "Maree=Brest & co", "<opencpn:tidestation>Brest &amp; co<",
          "a&b-c\t1\t1\t\t\t\tBrest & co"},
         {"station videe", "<opencpn:tidestation>Brest</opencpn:tidestation>", "\t\t\t\t\t\tBrest",
          "Maree=", "</name>", "\t1\t1\t\t\t\t"},
         {"textes vides sur une marque qui n'en a pas", "", "\t\t\t\t\t\t",
          "Maree=;Cmt=;Desc=", "</name>", "\t1\t1\t\t\t\t"},
         {"elements vides, fermes d'eux-memes ou de blancs",
          "<opencpn:arrival_radius/><opencpn:tidestation> \t </opencpn:tidestation>",
          "\t\t\t\t\t\t", "Rayon=0,3", "<opencpn:arrival_radius>0.300</opencpn:arrival_radius>",
          "\t1\t1\t0.300\t\t\t"},
         {"attribut ajoute, apostrophes et blancs lus",
          "<opencpn:waypoint_range_rings visible='true' number=\"3\"   />", "\t\t\t\ttrue/3///\t\t",
          "AnneauxPas=1",
          "<opencpn:waypoint_range_rings visible=\"true\" number=\"3\" step=\"1\"/>",
          "\t1\t1\t\ttrue/3/1//\t\t"},
         {"commentaire avant la description", "", "\t\t\t\t\t\t",
          "Cmt=Quai nord;Desc=Ligne 1\nLigne 2",
          "<cmt>Quai nord</cmt>\r\n\t\t<desc>Ligne 1\nLigne 2</desc>\r\n\t\t<src>carte</src>",
          "\t1\t1\t\t\t\t", "<src>carte</src>"}});
}

void TestNoyau::proprietes()
{
    const QByteArray wpt = "<wpt lat=\"48.3\" lon=\"-4.5\"><time>2024-06-01T09:12:44Z</time>"
                           "<name>Roche</name>" +
                           V("avant").toUtf8() + "<sym>anchorage</sym><extensions>" +
                           V("extensions").toUtf8() + "</extensions></wpt>\r\n";
    const QString chemin = dossier.filePath("proprietes.gpx");
    QVERIFY(Ecrire(chemin, Document(wpt)));
    QByteArray props;
    QCOMPARE(Outil({"props", chemin}, &props), 0);
    QCOMPARE(QString::fromUtf8(props), "1\t" + V("props") + '\n');
    // Read and written untouched: the same bytes as a plain rewrite.
    auto table = LireTexte(Lire(chemin));
    const QByteArray tel = Texte(*table);
    Gpx::Changement changement;
    for (const QString& c : V("changement").split(';', Qt::SkipEmptyParts)) {
        const Gpx::Propriete p = ProprieteNommee(c.section('=', 0, 0));
        Gpx::RefusPropriete refus{};
        const auto valeur = Gpx::Normaliser(p, c.section('=', 1).toStdString(), refus);
        QVERIFY(valeur);
        changement.emplace_back(p, *valeur);
    }
    ProprietesPOI::Appliquer(*table, {1}, changement);
    const QByteArray ecrit = Texte(*table);
    QVERIFY2(ecrit.contains(V("ecrit").toUtf8()), ecrit.constData());
    // An emptied text is no element, never an empty one.
    QVERIFY2(!QRegularExpression(QStringLiteral("<([\\w:]+)[^>]*></\\1>"))
                  .match(QString::fromUtf8(ecrit))
                  .hasMatch(),
             ecrit.constData());
    // Only the changed elements differ from the untouched save.
    const QList<QByteArray> a = tel.split('\n'), b = ecrit.split('\n');
    int differentes = 0;
    for (const QByteArray& l : b)
        differentes += a.contains(l) ? 0 : 1;
    QVERIFY2(differentes <= int(changement.size()) + 1, ecrit.constData());
    QVERIFY(Ecrire(chemin, ecrit));
    QVERIFY(Valide(chemin));
    QCOMPARE(Outil({"props", chemin}, &props), 0);
    QCOMPARE(QString::fromUtf8(props), "1\t" + V("relu") + '\n');
}

// Several marks with mixed values: the dialog's common values, and a change
// that moves only its own field on every mark.
void TestNoyau::proprietesDePlusieurs()
{
    auto table = LireTexte(Document(
        "<wpt lat=\"1\" lon=\"2\"><name>A</name><extensions><opencpn:arrival_radius>0.100"
        "</opencpn:arrival_radius><opencpn:viz_name>0</opencpn:viz_name></extensions></wpt>"
        "<wpt lat=\"1\" lon=\"3\"><name>B</name><extensions><opencpn:arrival_radius>0.200"
        "</opencpn:arrival_radius><opencpn:viz_name>0</opencpn:viz_name></extensions></wpt>"
        "<wpt lat=\"1\" lon=\"4\"><name>C</name><type>Marque</type></wpt>"));
    using P = Gpx::Propriete;
    // C keeps its type, not B's hidden name: its own flag is written.
    QCOMPARE(Texte(*table).count("<opencpn:viz_name>"), 3);
    auto communes = ProprietesPOI::Communes(*table, {1, 2});
    QVERIFY(!communes[size_t(P::Rayon)]);
    QCOMPARE(*communes[size_t(P::VizNom)], QStringLiteral("0"));
    QCOMPARE(*communes[size_t(P::Viz)], QStringLiteral("1"));
    communes = ProprietesPOI::Communes(*table, {2, 3});
    QVERIFY(!communes[size_t(P::VizNom)]);
    // A value that differs from the second mark on stays left out.
    communes = ProprietesPOI::Communes(*table, {1, 2, 3});
    QVERIFY(!communes[size_t(P::Rayon)] && !communes[size_t(P::VizNom)]);
    QCOMPARE(*communes[size_t(P::Viz)], QStringLiteral("1"));
    QCOMPARE(*communes[size_t(P::AnneauxVisibles)], QStringLiteral("0"));
    ProprietesPOI::Appliquer(*table, {1, 2, 3}, {{P::Viz, "0"}});
    const char* rayons[] = {"0.100", "0.200", nullptr};
    for (int i = 1; i <= 3; ++i) {
        const auto p = Gpx::LireProprietes(table->GardesPOI[size_t(i)].get());
        QCOMPARE(p[P::Viz].value_or(""), std::string("0"));
        QCOMPARE(p[P::Rayon].has_value(), rayons[i - 1] != nullptr);
        if (rayons[i - 1])
            QCOMPARE(*p[P::Rayon], std::string(rayons[i - 1]));
        QCOMPARE(p[P::VizNom].has_value(), i < 3);
    }
    // GUIDs: given only to marks without one, each its own, in the
    // chart plotter's form; a GUID twice is counted once per extra mark.
    const auto sans = ProprietesPOI::SansGuid(*table);
    QCOMPARE(sans, (std::vector<int>{1, 2, 3}));
    ProprietesPOI::DonnerGuids(*table, {1, 3});
    QCOMPARE(ProprietesPOI::SansGuid(*table), std::vector<int>{2});
    const QString g = QString::fromStdString(Gpx::GuidDeGarde(table->GardesPOI[1].get()));
    QVERIFY2(QRegularExpression("^[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-"
                                "[0-9a-f]{12}$")
                 .match(g)
                 .hasMatch(),
             qPrintable(g));
    QCOMPARE(ProprietesPOI::GuidsEnDouble(*table), 0);
    ProprietesPOI::Appliquer(*table, {2, 3}, {{P::Guid, g.toStdString()}});
    QCOMPARE(ProprietesPOI::GuidsEnDouble(*table), 2);
}

// The circles the map draws around a mark, from its properties as read:
// their radii on WGS84 in metres, measured back from every point; and
// whether the mark and its name show ("11" unless a flag says otherwise).
void TestNoyau::cercles_data()
{
    Tableau(
        {"proprietes", "rayons", "couleur", "visible"},
        {{"rayon seul", "Rayon=0.500", "926", "ff0000"},
         {"anneaux en milles",
          "AnneauxVisibles=true;AnneauxNombre=2;AnneauxPas=0.5;AnneauxCouleur=#00C800", "926 1852",
          "c800"},
         {"anneaux en km et rayon",
          "Rayon=0.1;AnneauxVisibles=True;AnneauxNombre=2;AnneauxPas=1;AnneauxUnites=1;"
          "AnneauxCouleur=#0a0B0c",
          "185.2 1000 2000", "a0b0c"},
         {"anneaux caches, couleur illisible",
          "AnneauxVisibles=false;AnneauxNombre=2;AnneauxPas=1;AnneauxCouleur=rouge", "", "ff0000"},
         {"anneaux sans visible", "AnneauxNombre=2;AnneauxPas=1", "", "ff0000"},
         {"dix anneaux", "AnneauxVisibles=1;AnneauxNombre=10;AnneauxPas=0.1",
          "185.2 370.4 555.6 740.8 926 1111.2 1296.4 1481.6 1666.8 1852", "ff0000"},
         {"onze anneaux lus: aucun dessine", "AnneauxVisibles=1;AnneauxNombre=11;AnneauxPas=1", "",
          "ff0000"},
         {"pas illisible", "AnneauxVisibles=1;AnneauxNombre=2;AnneauxPas=un", "", "ff0000"},
         {"rayon negatif lu", "Rayon=-1", "", "ff0000"},
         {"masquee", "Viz=0", "", "ff0000", "01"},
         {"nom masque", "VizNom=False", "", "ff0000", "10"},
         {"drapeaux illisibles", "Viz=non;VizNom=2", "", "ff0000"}});
}

void TestNoyau::cercles()
{
    Gpx::Proprietes p;
    for (const QString& c : V("proprietes").split(';'))
        p[ProprieteNommee(c.section('=', 0, 0))] = c.section('=', 1).toStdString();
    const Gpx::Apparence a = Gpx::ApparenceDe(p);
    const double lat = 48.35, lon = -4.55;
    const std::vector<CercleGE> cercles = Cercles::Autour(lat, lon, a.rayon, a.anneaux, a.pas);
    QStringList rayons;
    for (const CercleGE& c : cercles) {
        QVERIFY(c.points.size() > 32 && c.points.front() == c.points.back());
        double min = 1e9, max = 0;
        for (const auto& [x, y] : c.points) {
            double s12 = 0;
            GeographicLib::Geodesic::WGS84().Inverse(lat, lon, y, x, s12);
            min = std::min(min, s12);
            max = std::max(max, s12);
        }
        QVERIFY2(max - min < 0.01, qPrintable(QString::number(max - min)));
        rayons << QString::number(std::round(max * 10) / 10);
    }
    QCOMPARE(rayons.join(' '), V("rayons"));
    QCOMPARE(QString::number(a.couleur, 16), V("couleur"));
    QCOMPARE(cercles.size() > 0 && cercles.front().arrivee, a.rayon > 0);
    QCOMPARE(QString::number(a.visible) + QString::number(a.nomVisible),
             V("visible").isEmpty() ? QStringLiteral("11") : V("visible"));
}

namespace {

// Marks to merge or to search, from "name|lat|lon|guid" separated by ";".
std::vector<Gpx::Reperee> Reperees(const QString& texte)
{
    std::vector<Gpx::Reperee> r;
    for (const QString& m : texte.split(';', Qt::SkipEmptyParts)) {
        const QStringList c = m.split('|');
        Gpx::Reperee x;
        x.cle = Gpx::CleNom(c[0].toStdU16String());
        x.position = Gpx::LirePosition(c.value(1).toStdString(), c.value(2).toStdString());
        x.guid = c.value(3).toStdString();
        x.contenu = c.value(4).toStdU16String();
        r.push_back(x);
    }
    return r;
}

} // namespace

// How an incoming mark stands to the open document's: P same, C changed,
// X near, N new, with the mark it matched. 19 and 21 m along the meridian
// at 48 degrees north are 0.000171 and 0.000189 degrees.
void TestNoyau::classes_data()
{
    const QString miennes = "Bouée Œil de Bœuf|48|-4|;Anse|48.1|-4|g1|anchorage;Pointe|48.2|-4|g2";
    Tableau({"miennes", "leur", "classe"},
            {{"meme guid, meme tout", miennes, "Anse|48.1|-4|g1|anchorage", "P1"},
             {"meme guid, sans symbole", miennes, "Anse|48.1|-4|g1", "C1"},
             {"meme guid, deplace", miennes, "Anse|48.1003|-4|g1|anchorage", "C1"},
             {"meme guid, renomme", miennes, "Anse Nord|48.1|-4|g1", "C1"},
             {"meme guid, autre symbole", miennes, "Anse|48.1|-4|g1|buoy1", "C1"},
             {"sans guid, accents et casse", miennes, "BOUEE OEIL DE BOEUF|48.000171|-4|", "P0"},
             {"21 m", miennes, "Bouée Œil de Bœuf|48.000189|-4|", "N"},
             {"19 m, autre nom", miennes, "Tourelle|48.000171|-4|", "X0"},
             {"21 m, autre nom", miennes, "Tourelle|48.000189|-4|", "N"},
             {"le plus proche d'autres noms",
              "Tourelle|48|-4|;Balise|48.000171|-4|;Phare|47.99985|-4|;Bouee|48|-4.0002|",
              "Ecueil|48.00005|-4|", "X0"},
             {"deux autres noms a egale distance", "Tourelle|48|-4.0001|;Balise|48|-3.9999|",
              "Ecueil|48|-4|", "X0"},
             {"un seul guid", miennes, "Pointe|48.2|-4|", "P2"},
             {"guids differents, meme nom", miennes, "Pointe|48.2|-4|g9", "N"},
             {"sans position", miennes, "Anse||", "N-"},
             {"sans position, meme guid", miennes, "Anse|91|-4|g1", "N-"},
             {"mienne sans position", "Anse|x|y|g1", "Anse|48.1|-4|g1", "C0"},
             {"antimeridien", "Ile|0|179.99990|", "Ile|0|-179.99995|", "P0"},
             {"au pole", "Pole|89.99995|0|", "Pole|89.99995|180|", "P0"}});
}

void TestNoyau::classes()
{
    const auto miennes = Reperees(V("miennes"));
    const auto leur = Reperees(V("leur"));
    const Gpx::Classement c = Gpx::Classer(miennes, leur, 20);
    const QString attendu = V("classe");
    const QString lettres = "PCXN";
    QCOMPARE(QString(lettres[int(c.classes[0])]), attendu.left(1));
    if (attendu.size() > 1 && attendu[1] != '-')
        QCOMPARE(c.correspondances[0], attendu.mid(1).toInt());
    QCOMPARE(c.sansPosition, attendu.endsWith('-') ? 1 : 0);
}

// Duplicate groups: a GUID shared, the same name within 20 m, chains of
// them; any name with the box; the tool prints them, exit 3 when some.
void TestNoyau::doublons()
{
    // A, then B 15 m north, C 15 m further (30 m from A), D far, E with
    // A's GUID far away, F near A of another name.
    const auto m = Reperees("A|48|-4|g1;a|48.000135|-4|;Â|48.00027|-4|;D|47|-4|;X|46|-4|g1;"
                            "F|48|-4.0001|");
    const auto groupes = Gpx::Doublons(m, 20, false);
    QCOMPARE(groupes, (std::vector<std::vector<int>>{{0, 1, 2, 4}}));
    QCOMPARE(Gpx::Doublons(m, 20, true), (std::vector<std::vector<int>>{{0, 1, 2, 4, 5}}));
    QCOMPARE(Gpx::Doublons(m, 10, false), (std::vector<std::vector<int>>{{0, 4}}));
    QVERIFY(Gpx::Doublons(Reperees("A|1|1|;A|x|y|;A||"), 20, true).empty());
    const QString chemin = dossier.filePath("doublons.gpx");
    QVERIFY(Ecrire(chemin,
                   Document(Wpt("48", "-4", "t", "A") + Wpt("47", "-4", "t", "B") +
                            Wpt("48.000135", "-4", "t", "a") + Wpt("48", "-4.0001", "t", "F"))));
    QByteArray sortie;
    QCOMPARE(Outil({"duplicates", chemin}, &sortie), 3);
    QCOMPARE(sortie, QByteArray("1 3\n"));
    QCOMPARE(Outil({"duplicates", chemin, "--any-name"}, &sortie), 3);
    QCOMPARE(sortie, QByteArray("1 3 4\n"));
    QCOMPARE(Outil({"duplicates", chemin, "--within", "10"}, &sortie), 0);
    QCOMPARE(sortie, QByteArray());
    QCOMPARE(Outil({"duplicates", chemin, "--within", "0.5"}, &sortie), 2);
}

// A merge through the tool: the four classes counted, the choice for
// changed marks, the incoming routes kept and pointing at the mark kept
// for them, the output valid; the open file into itself adds nothing.
void TestNoyau::fusionParLOutil()
{
    const QString mien = QUAYLIGHT_SOURCE "/tests/data/gpx/opencpn-export.gpx";
    const QString leur = dossier.filePath("leur.gpx");
    auto guid = [](const QByteArray& wpt, const QByteArray& g) {
        return QByteArray(wpt).replace("\t\t</extensions>",
                                       "\t\t\t<opencpn:guid>" + g +
                                           "</opencpn:guid>\r\n\t\t</extensions>");
    };
    QVERIFY(Ecrire(
        leur,
        Document(guid(Wpt("48.359", "-4.57", "2024-06-01T10:00:00Z", "Le Conquet",
                          Lien("https://www.leconquet.fr/port", "Capitainerie"), "anchorage"),
                      "a1b2c3d4-0001-4e5f-8a9b-000000000001") +
                 guid(Wpt("48.31", "-4.75", "2024-06-01T10:00:00Z", "Roche cachée", "",
                          "Symbol-Exclamation-Red"),
                      "a1b2c3d4-0001-4e5f-8a9b-000000000002") +
                 Wpt("48.38001", "-4.49", "2024-06-01T10:00:00Z", "Ponton visiteurs") +
                 // A new mark with an element of a namespace the open file
                 // does not bind: the merged file binds it.
                 QByteArray(Wpt("47.5", "-3.5", "2024-06-01T10:00:00Z", "Houat"))
                     .replace("\t\t</extensions>", "\t\t\t<x:note>n</x:note>\r\n\t\t</extensions>"))
            .replace("<gpx ", "<gpx xmlns:x=\"urn:exemple:x\" ")
            .replace("</gpx>", "\t<rte>\r\n\t\t<name>R</name>\r\n\t\t<rtept lat=\"48.31\" "
                               "lon=\"-4.75\">\r\n\t\t\t<name>Roche cachée</name>\r\n"
                               "\t\t\t<extensions>\r\n\t\t\t\t<opencpn:guid>a1b2c3d4-0001-4e5f-"
                               "8a9b-000000000002</opencpn:guid>\r\n\t\t\t</extensions>\r\n"
                               "\t\t</rtept>\r\n\t</rte>\r\n</gpx>")));
    QString sortie;
    QByteArray ligne;
    for (const auto& [option, ajoutees] :
         std::initializer_list<std::pair<const char*, int>>{{"--mine", 2}, {"--both", 3}}) {
        sortie = dossier.filePath(QStringLiteral("fusion%1.gpx").arg(option));
        QVERIFY2(Outil({"merge", mien, leur, sortie, option}, &ligne) == 0, ligne.constData());
        QCOMPARE(ligne, QByteArray("same 1\tchanged 1\tnear 1\tnew 1\n"));
        QVERIFY(Valide(sortie));
        auto t = LireTexte(Lire(sortie));
        QCOMPARE(int(t->NbPOI), 3 + ajoutees);
        QByteArray routes;
        QCOMPARE(Outil({"routes", sortie}, &routes), 0);
        QVERIFY2(routes.startsWith("route\t1\tR\t1\t"), routes.constData());
        // Kept both: the incoming mark has a GUID of its own, which its
        // route follows.
        const std::string g = Gpx::GuidDeGarde(t->GardesPOI[size_t(t->NbPOI) - 2].get());
        const bool lesDeux = std::string(option) == "--both";
        QCOMPARE(t->NomPOI[t->NbPOI - 2] == QStringLiteral("Roche cachée"), lesDeux);
        if (lesDeux)
            QVERIFY(g != "a1b2c3d4-0001-4e5f-8a9b-000000000002" &&
                    Lire(sortie).count(QByteArray::fromStdString(g)) == 2);
    }
    sortie = dossier.filePath("fusion-theirs.gpx");
    QVERIFY2(Outil({"merge", mien, leur, sortie, "--theirs"}, &ligne) == 0, ligne.constData());
    QCOMPARE(LireTexte(Lire(sortie))->LatPOI[2], QStringLiteral("48.31"));
    sortie = dossier.filePath("fusion-soi.gpx");
    QVERIFY2(Outil({"merge", mien, mien, sortie}, &ligne) == 0, ligne.constData());
    QCOMPARE(ligne, QByteArray("same 3\tchanged 0\tnear 0\tnew 0\n"));
    // An open file that binds a namespace of its own keeps it beside the
    // incoming one's, with its schema location; a namespace left without
    // a location is dropped.
    const QString z = dossier.filePath("z.gpx");
    QVERIFY(Ecrire(
        z,
        Document(QByteArray(Wpt("46", "-2", "2024-06-01T10:00:00Z", "Hoedic"))
                     .replace("\t\t</extensions>", "\t\t\t<z:note>n</z:note>\r\n\t\t</extensions>"))
            .replace("<gpx ", "<gpx xmlns:z=\"urn:exemple:z\" ")
            .replace("gpx.xsd\"", "gpx.xsd urn:exemple:z http://z/z.xsd urn:seul\"")));
    QVERIFY2(Outil({"merge", leur, z, sortie}, &ligne) == 0, ligne.constData());
    QVERIFY(Valide(sortie));
    QVERIFY(Lire(sortie).contains("xmlns:x=") && Lire(sortie).contains("xmlns:z="));
    QVERIFY(Lire(sortie).contains(" urn:exemple:z http://z/z.xsd\"") &&
            !Lire(sortie).contains("urn:seul"));
    QCOMPARE(Outil({"merge", mien, dossier.filePath("absent.gpx"), sortie}, &ligne), 1);
    QVERIFY(ligne.contains("absent.gpx"));

    // Past the capacity: added up to it, the rest told.
    Gpx::TableGPX<std::u16string> grande, trois;
    for (int i = 1; i < MaxPOI; ++i) {
        const int k = grande.AjouterLigne();
        grande.NomPOI[size_t(k)] = u"M";
        grande.LatPOI[size_t(k)] = Gpx::Utf8VersTexte(std::to_string(40 + i * 1e-3));
        grande.LonPOI[size_t(k)] = u"1";
    }
    for (int i = 0; i < 3; ++i) {
        const int k = trois.AjouterLigne();
        trois.NomPOI[size_t(k)] = u"N";
        trois.LatPOI[size_t(k)] = u"10";
        trois.LonPOI[size_t(k)] = Gpx::Utf8VersTexte(std::to_string(i));
    }
    const auto c = Gpx::Classer(Gpx::Reperer(grande), Gpx::Reperer(trois), 20);
    const Gpx::Bilan b =
        Gpx::Fusionner(grande, trois, c, std::vector<Gpx::Choix>(3), std::vector<bool>(3, true));
    QCOMPARE(b.ajoutees, 1);
    QCOMPARE(b.horsCapacite, 2);
    QCOMPARE(int(grande.NbPOI), int(MaxPOI));
}

// A group merged into its first mark keeps 50 links at most and counts
// the others; links it has already are not added again.
void TestNoyau::groupeAuDelaDe50Liens()
{
    auto liens = [](const QString& prefixe, int n) {
        QString l;
        for (int k = 1; k <= n; ++k)
            l += QStringLiteral("|http://%1/%2^%2").arg(prefixe).arg(k);
        return l;
    };
    auto table = Table("48|-4|t|A|s" + liens("a", 30) + " // 48|-4|t|A|s" + liens("a", 5) +
                       liens("b", 30) + " // 47|-4|t|B|s");
    Routes routes;
    const auto groupes = DoublonsPOI::Chercher(*table, 20, false);
    QCOMPARE(groupes, (std::vector<std::vector<int>>{{1, 2}}));
    const DoublonsPOI::Resultat r = DoublonsPOI::Fusionner(*table, routes, groupes);
    QCOMPARE(r.retirees, 1);
    QCOMPARE(r.liensLaisses, 10);
    QCOMPARE(int(table->NbPOI), 2);
    QCOMPARE(table->NbLiens(1), 50);
    QCOMPARE(table->LienHref[1][31], QStringLiteral("http://b/1"));
    QCOMPARE(table->NomPOI[2], QStringLiteral("B"));
}

// The sea chart's folder and files, which hold the relay's token: another
// user's link put in their way, or a file in a folder's place, is refused,
// never followed; a write the disk cuts short says why and leaves nothing.
void TestNoyau::dossierPrive_data()
{
    Tableau({"piege", "raison"},
            {{"rien", "", ""},
             {"theme lie ailleurs", "theme", "symbolic link"},
             {"dossier lie ailleurs", "dossier", "symbolic link"},
             {"tuile liee a un fichier absent", "tuile", "symbolic link"},
             {"tuile deja la, gardee", "presente", ""},
             {"fichier a la place du dossier", "fichier", "not a folder"},
             {"disque plein", "plein", QString::fromLocal8Bit(std::strerror(EFBIG))}});
}

void TestNoyau::dossierPrive()
{
    QTemporaryDir base;
    const QString d = base.path();
    const QString carte = d + "/maps/earth/carte";
    QVERIFY(Ecrire(d + "/dehors", "a moi") && QDir().mkpath(d + "/ailleurs"));
    if (V("piege") == "dossier")
        QVERIFY(QDir().mkpath(d + "/maps/earth") && QFile::link(d + "/ailleurs", carte));
    if (V("piege") == "theme")
        QVERIFY(QDir().mkpath(carte) && QFile::link(d + "/dehors", carte + "/theme.dgml"));
    if (V("piege") == "fichier")
        QVERIFY(QDir().mkpath(d + "/maps/earth") && Ecrire(carte, "a moi"));
    if (V("piege") == "tuile")
        QVERIFY(QDir().mkpath(carte + "/s/0/0") &&
                QFile::link(d + "/cree-par-le-lien", carte + "/s/0/0/0.png"));
    if (V("piege") == "presente")
        QVERIFY(
            QDir().mkpath(carte + "/s/0/0") && Ecrire(carte + "/s/0/0/0.png", "deja") &&
            QFile::setPermissions(carte + "/s/0/0/0.png", QFile::ReadOwner | QFile::WriteOwner) &&
            QFile::setPermissions(carte, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    rlimit limite{};
    if (V("piege") == "plein")
        QVERIFY(DeuxOctets(limite));
    QString raison;
    const bool ecrit = DossierPrive::Creer(d, "maps/earth/carte", raison) &&
                       DossierPrive::Ecrire(carte + "/theme.dgml", "jeton", raison) &&
                       DossierPrive::Creer(carte, "s/0/0", raison) &&
                       DossierPrive::EcrireSiAbsent(carte + "/s/0/0/0.png", "png", raison);
    if (V("piege") == "plein")
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limite), 0);
    QCOMPARE(ecrit, V("raison").isEmpty());
    QVERIFY2(ecrit || raison.contains(V("raison")), qPrintable(raison));
    // Nothing half written is left behind.
    if (V("piege") == "plein")
        QCOMPARE(QDir(carte).entryList(QDir::Files | QDir::Hidden), QStringList());
    QCOMPARE(Lire(d + "/dehors"), QByteArray("a moi"));
    QVERIFY(!QFile::exists(d + "/cree-par-le-lien") && QDir(d + "/ailleurs").isEmpty());
    if (ecrit) {
        // Neither group nor others may read the token.
        for (const QString& f : {carte, carte + "/theme.dgml", carte + "/s/0/0/0.png"})
            QCOMPARE(int(QFileInfo(f).permissions() & 0x0077), 0);
        QCOMPARE(Lire(carte + "/theme.dgml"), QByteArray("jeton"));
        QCOMPARE(Lire(carte + "/s/0/0/0.png"),
                 QByteArray(V("piege") == "presente" ? "deja" : "png"));
    }
}

// Opening relocates links to local files: the lines it changes get the
// folder beside the file, every other byte and every line end stays, and a
// file with nothing to change is not written (its time stays).
void TestNoyau::relocalisationEnPlace_data()
{
    const QString lien = "\t\t<link href=\"file:///ailleurs/plan.pdf\">";
    Tableau({"contenu"},
            {{"LF sans lien", "<gpx>\n\t<wpt lat=\"1\" lon=\"2\">\n\t</wpt>\n</gpx>\n"},
             {"lien deja a cote", "<gpx>\n\t\t<link href=\"file://DOSSIER/plan.pdf\">\n</gpx>\n"},
             {"LF avec un lien", "<gpx>\n" + lien + "\n\t\t</link>\n</gpx>\n"},
             {"CR seuls", "<gpx>\r" + lien + "\r</gpx>\r"},
             {"fins melees", "<gpx>\r\n" + lien + "\n</gpx>\r"},
             {"derniere ligne sans fin", "<gpx>\n" + lien}});
}

void TestNoyau::relocalisationEnPlace()
{
    QTemporaryDir d;
    const QString dossier = d.path() + '/';
    const QByteArray avant = V("contenu").replace("DOSSIER", d.path()).toUtf8();
    const QString chemin = dossier + "f.gpx";
    QVERIFY(Ecrire(chemin, avant));
    const QDateTime hier = QDateTime::currentDateTimeUtc().addDays(-1);
    {
        QFile f(chemin);
        QVERIFY(f.open(QIODevice::ReadWrite) &&
                f.setFileTime(hier, QFileDevice::FileModificationTime));
    }
    Fichiers::Lignes lignes;
    QString echec, erreur;
    QVERIFY(Fichiers::RelocaliserLiensFichier(chemin, dossier, avant, lignes, echec, erreur));
    const QByteArray attendu =
        QByteArray(avant).replace("file:///ailleurs/", "file://" + dossier.toUtf8());
    QCOMPARE(Lire(chemin), attendu);
    QCOMPARE(QFileInfo(chemin).lastModified().toSecsSinceEpoch() == hier.toSecsSinceEpoch(),
             attendu == avant);
    // The work file: the same lines, each ended by CR LF.
    QCOMPARE(Lire(dossier + "Temp.gpx"), Fichiers::Textes(lignes).join("\r\n").toUtf8() + "\r\n");
}

// Legs along the rhumb line, against GeographicLib's RhumbSolve tool
// ("RhumbSolve -i -p 9", metres / 1852): distance with 3 decimals, bearing
// true with one; "?" where an end has no position on the Earth.
void TestNoyau::troncons_data()
{
    Tableau({"de", "a", "milles", "cap"},
            {{"Brest Ouessant", "48.3583,-4.5662", "48.4595,-5.0963", "22.045", "286.0"},
             {"antimeridien", "-16.5,179.5", "-17.25,-179.25", "84.740", "121.9"},
             {"haute latitude", "78.2,15.6", "79.9,11.9", "110.874", "337.6"},
             {"nul", "48.38,-4.49", "48.38,-4.49", "0.000", "0.0"},
             {"equateur", "0,0", "0,1", "60.108", "90.0"},
             {"plein sud", "10,20", "9,20", "59.722", "180.0"},
             {"pres du pole", "89.9,0", "89.9,90", "9.473", "90.0"},
             {"depuis le pole sud", "-90,0", "-89,0", "60.310", "0.0"},
             // 359.994 degrees: rounded to 360.0, shown as north.
             {"a peine a l'ouest du nord", "0,0", "1,-0.0001", "59.705", "0.0"},
             {"meme point des deux cotes", "0,-180", "0,180", "0.000", "0.0"},
             {"latitude hors de la Terre", "90.5,0", "89,0", "?", "?"},
             {"longitude hors de la Terre", "0,0", "0,180.01", "?", "?"},
             {"pas un nombre", "abc,0", "1,1", "?", "?"},
             {"vide", ",", "1,1", "?", "?"}});
}

void TestNoyau::troncons()
{
    auto position = [](const QString& t) {
        return Gpx::LirePosition(t.section(',', 0, 0).toStdString(),
                                 t.section(',', 1).toStdString());
    };
    const Gpx::Troncon t = Gpx::Rhumb(position(V("de")), position(V("a")));
    QCOMPARE(t.valide, V("milles") != "?");
    if (t.valide) {
        QCOMPARE(QString::fromStdString(Gpx::TexteMilles(t.distance)), V("milles"));
        QCOMPARE(QString::fromStdString(Gpx::TexteCap(t.cap)), V("cap"));
    }
}

namespace {

QString Noms(const Routes& routes, const PoiTable& table, int r)
{
    QStringList noms;
    for (const Routes::Ligne& l : routes.Lignes(table, Routes::Indexer(table), r))
        noms << l.point.nom;
    return noms.join(',');
}

} // namespace

// Points tied to marks by GUID follow them; the untouched route is written
// as read; a deleted mark leaves its routes, and one undo brings both back.
void TestNoyau::routesDesMarques()
{
    auto t = LireTexte(Lire(QUAYLIGHT_SOURCE "/tests/data/gpx/opencpn-routes.gpx"));
    Routes routes;
    routes.Lire(*t);
    QCOMPARE(int(routes.liste.size()), 3);
    QCOMPARE(Noms(routes, *t, 0), QStringLiteral("Le Conquet,001,Molène,Lampaul"));
    QCOMPARE(routes.liste[0].vitesse, 6.0);
    QCOMPARE(routes.Depart(0), QDateTime(QDate(2025, 6, 1), QTime(6, 0), Qt::UTC));
    const std::vector<Routes::Ligne> lignes = routes.Lignes(*t, Routes::Indexer(*t), 0);
    QCOMPARE(lignes[1].point.marque, 0);
    QCOMPARE(lignes[2].point.marque, 3);
    // 22.505 NM at 6 knots: 3 h 45 min 03 s after 06:00.
    QCOMPARE(lignes.back().eta, QDateTime(QDate(2025, 6, 1), QTime(9, 45, 3), Qt::UTC));
    int nombre = 0;
    routes.GuidsUtilises(*t, {1}, nombre);
    QCOMPARE(nombre, 2);
    {
        // A mark without a GUID is used by no route, not even by one whose
        // points have none either.
        auto sans = LireTexte(
            Document(Wpt("48.1", "-4.1", "t", "Sans"))
                .replace("</gpx>", "\t<rte><rtept lat=\"48.1\" lon=\"-4.1\"/></rte>\r\n</gpx>"));
        Routes r;
        r.Lire(*sans);
        QCOMPARE(int(r.liste.size()), 1);
        QVERIFY(r.GuidsUtilises(*sans, {1}, nombre).empty());
        QCOMPARE(nombre, 0);
    }

    // Le Conquet moved and renamed: both routes follow and are written anew,
    // the third stays as it was read, and the fields nobody edits are kept.
    t->LatPOI[1] = "48.3600";
    t->NomPOI[1] = "Conquet & port";
    // Molène's symbol alone changes: its points follow it too.
    t->SymPOI[3] = "buoy1";
    QCOMPARE(Noms(routes, *t, 1), QStringLiteral("Lampaul,Conquet & port,Hors carte"));
    auto garde = routes.Garde(*t);
    QCOMPARE(garde->routes[2], t->Fichier->routes[2]);
    const std::string ecrite = garde->routes[0];
    for (const char* attendu :
         {"<rtept lat=\"48.3600\" lon=\"-4.566200000\">", "<name>Conquet &amp; port</name>",
          "<opencpn:planned_speed>6.00</opencpn:planned_speed>",
          "<opencpn:planned_departure>2025-06-01T06:00:00Z</opencpn:planned_departure>",
          "<opencpn:time_display>GLOBAL SETTING</opencpn:time_display>",
          "<opencpn:auto_name>1</opencpn:auto_name>", "<time>2025-05-10T07:03:00Z</time>",
          "<name>Molène</name>\r\n\t\t\t<sym>buoy1</sym>"})
        QVERIFY2(ecrite.find(attendu) != std::string::npos, attendu);
    // The route of points without a position is written back unchanged.
    QVERIFY(garde->routes[1].find("lat=\"91.5\"") != std::string::npos);
    {
        // A route longer than the piece the writer sends at once is written
        // whole, and what follows it.
        QByteArray points;
        for (int i = 0; i < 1200; ++i)
            points += "\t\t<rtept lat=\"48." + QByteArray::number(i) + "\" lon=\"-4.1\"><name>P" +
                      QByteArray::number(i) + "</name></rtept>\r\n";
        QVERIFY(points.size() > 64 << 10);
        const QByteArray longue =
            Document(Wpt("48.1", "-4.1", "t", "A"))
                .replace("</gpx>", "\t<rte>\r\n" + points + "\t</rte>\r\n\t<rte/>\r\n</gpx>");
        const QByteArray ecrit = Texte(*LireTexte(longue));
        QCOMPARE(ecrit.count("<rtept "), 1200);
        QVERIFY(ecrit.endsWith("P1199</name></rtept>\n\t</rte>\r\n\t<rte/>\r\n</gpx>\r\n"));
    }

    // Deleting Lampaul: one step takes it out of the table and both routes.
    Historique historique;
    auto etape = Historique::Etape::Retrait(*t, {2}, 2);
    etape.AvecRoutes(routes);
    routes.RetirerGuids({Routes::Guid(*t, 2)});
    t->SupprimerLignes({2});
    historique.Noter(std::move(etape), *t, routes, 2);
    QCOMPARE(Noms(routes, *t, 0), QStringLiteral("Conquet & port,001,Molène"));
    QCOMPARE(Noms(routes, *t, 1), QStringLiteral("Conquet & port,Hors carte"));
    const Historique::Retour retour = historique.Annuler(*t, routes);
    QVERIFY(retour.routes);
    QCOMPARE(retour.num, 2);
    QCOMPARE(Noms(routes, *t, 0), QStringLiteral("Conquet & port,001,Molène,Lampaul"));
    QCOMPARE(t->NomPOI[2], QStringLiteral("Lampaul"));
    historique.Retablir(*t, routes);
    QCOMPARE(Noms(routes, *t, 1), QStringLiteral("Conquet & port,Hors carte"));
}

// Each command of the panel on the model: the points it leaves, and a mark
// without a GUID given one the file keeps.
void TestNoyau::commandesDesRoutes()
{
    auto t = Table("48.1|-4.1||A|buoy // 48.2|-4.2||B| // 48.3|-4.3||C|");
    Routes routes;
    const int r = routes.Nouvelle("Essai");
    QCOMPARE(routes.liste[0].guid.size(), size_t(36));
    QVERIFY(routes.liste[0].guid != Gpx::NouveauGuid());
    routes.AjouterMarques(*t, r, -1, {1, 3});
    routes.AjouterMarques(*t, r, 1, {2});
    QCOMPARE(Noms(routes, *t, r), QStringLiteral("A,B,C"));
    QVERIFY(!Routes::Guid(*t, 2).empty());
    QCOMPARE(Texte(*t).count("<opencpn:guid>"), 3);
    routes.AjouterLibre(r, -1, 48.5, -4.5);
    routes.AjouterLibre(r, 0, 48.25, -4.125);
    QCOMPARE(Noms(routes, *t, r), QStringLiteral("002,A,B,C,001"));
    routes.PlacerLibre(r, 0, 47.5, -3.5);
    QCOMPARE(routes.liste[0].points[0].lat, std::string("47.5"));
    routes.Deplacer(r, 0, 2);
    QCOMPARE(Noms(routes, *t, r), QStringLiteral("A,B,002,C,001"));
    routes.Inverser(r);
    QCOMPARE(Noms(routes, *t, r), QStringLiteral("001,C,002,B,A"));
    routes.Retirer(r, 4);
    QCOMPARE(Noms(routes, *t, r), QStringLiteral("001,C,002,B"));
    routes.Vitesse(r, 7.25);
    routes.Depart(r, QDateTime(QDate(2026, 7, 14), QTime(5, 30), Qt::UTC));
    routes.Renommer(r, "Essai <2>");
    // Written from its fields, then read back the same.
    const Gpx::Route relue = Gpx::LireRoute(Gpx::TexteRoute(routes.liste[0]));
    QCOMPARE(relue.nom, std::string("Essai <2>"));
    QCOMPARE(relue.vitesse, 7.25);
    QCOMPARE(relue.depart, std::string("2026-07-14T05:30:00Z"));
    QCOMPARE(relue.points.size(), size_t(4));
    QCOMPARE(relue.points[1].guid, Routes::Guid(*t, 3));
    // The default speed is not written.
    routes.Vitesse(r, 5.0);
    QVERIFY(Gpx::TexteRoute(routes.liste[0]).find("planned_speed") == std::string::npos);
    routes.Supprimer(r);
    QVERIFY(routes.liste.empty());
}

QTEST_GUILESS_MAIN(TestNoyau)
#include "test_noyau.moc"
