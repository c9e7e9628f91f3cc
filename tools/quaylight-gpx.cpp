// SPDX-License-Identifier: GPL-3.0-or-later
// quaylight-gpx: the editor's GPX reader and writer from the command line.
// Plain C++ and POSIX, without Qt: it starts in a few milliseconds.
#include "gpx/Descripteurs.h"
#include "gpx/Fusion.h"
#include "gpx/Gpx.h"
#include "gpx/Importation.h"
#include "gpx/Proprietes.h"
#include "gpx/Routes.h"
#include "gpx/TexteCourt.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <malloc.h>
#include <memory>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const char* const Usage =
    "Usage: quaylight-gpx dump FILE\n"
    "       quaylight-gpx rewrite IN OUT\n"
    "       quaylight-gpx import IN OUT\n"
    "       quaylight-gpx routes FILE\n"
    "       quaylight-gpx props FILE\n"
    "       quaylight-gpx merge MINE THEIRS OUT [--within METRES] "
    "[--theirs|--mine|--both]\n"
    "       quaylight-gpx duplicates FILE [--within METRES] [--any-name]\n"
    "       quaylight-gpx --help\n"
    "\n"
    "dump     reads FILE as the editor opens it (without backups or link\n"
    "         relocation) and prints one tab-separated line per waypoint:\n"
    "         number, latitude, longitude, time, name, symbol, link count;\n"
    "         then one line per link: \"  link\", waypoint number, link number,\n"
    "         target, text. A first line \"routes-or-tracks\" tells that the\n"
    "         file holds routes or tracks.\n"
    "rewrite  reads IN as above and writes OUT with the editor's GPX writer.\n"
    "import   converts IN, of another format (by its extension: .kml, .kmz,\n"
    "         .csv, .wpt for OziExplorer, .gdb for Garmin, .geojson, .json,\n"
    "         .nmea), with gpsbabel, and writes OUT as rewrite does.\n"
    "routes   reads FILE as dump does and prints, for each route in file\n"
    "         order, a line \"route\", number, name, point count, total\n"
    "         nautical miles; then a line per leg: \"  leg\", leg number,\n"
    "         from, to, nautical miles, degrees true along the rhumb line\n"
    "         (\"?\" for a point without a valid position).\n"
    "props    reads FILE as dump does and prints one tab-separated line per\n"
    "         waypoint: number, GUID, viz, viz_name, arrival radius, range\n"
    "         rings as visible/number/step/units/colour, scale limits as\n"
    "         use/min/max, tide station; each as the file writes it, empty\n"
    "         where the waypoint does not carry it.\n"
    "merge    merges the waypoints of THEIRS into MINE and writes OUT: a\n"
    "         waypoint of THEIRS with MINE's GUID, or without conflicting\n"
    "         GUIDs, with the same name (case and accents aside) within\n"
    "         METRES (20) is the same and not added; one with MINE's GUID\n"
    "         but another place, name, symbol or links is changed and\n"
    "         keeps MINE's (--mine), takes THEIRS (--theirs) or adds it with\n"
    "         a new GUID (--both); one within METRES of a waypoint of\n"
    "         another name is near, and added; the others are new, added\n"
    "         at the end. THEIRS' routes and tracks are added. Prints\n"
    "         \"same N<TAB>changed N<TAB>near N<TAB>new N\".\n"
    "duplicates  prints one line per group of waypoints that share a GUID\n"
    "         or lie within METRES (20) of each other with the same name\n"
    "         (any name with --any-name): their numbers, in file order,\n"
    "         separated by spaces. Exit 3 when there are groups, 0 when\n"
    "         there are none.\n";

using Table = Gpx::TableGPX<Gpx::TexteCourt>;

// The run's one table. It is never freed: the process ends right after
// using it, and freeing its texts one by one would only delay that.
Table& LaTable()
{
    static Table* const table = new Table;
    return *table;
}

void Erreur(const char* quoi, const char* chemin, const std::string& raison)
{
    std::fprintf(stderr, "quaylight-gpx: cannot %s %s: %s\n", quoi, chemin, raison.c_str());
}

// The file being read, for the message if it shrinks under its mapping.
const char* lu = nullptr;

// A mapped file cut short by another program: its missing pages raise
// SIGBUS. The run stops with a message; nothing has been written yet.
void Tronque(int)
{
    const char* debut = "quaylight-gpx: cannot read ";
    const char* fin = ": the file shrank while it was read\n";
    const auto ecrire = [](const char* t) { return write(2, t, std::strlen(t)); };
    (void)ecrire(debut);
    (void)ecrire(lu ? lu : "");
    (void)ecrire(fin);
    _exit(1);
}

// The file's lines. A regular file is mapped rather than copied: its pages
// are already in memory, and a copy would cost as many fresh pages.
bool LireLignes(const char* chemin, Gpx::Lignes& lignes)
{
    const int fd = open(chemin, O_RDONLY | O_CLOEXEC);
    struct stat etat {};
    if (fd < 0 || fstat(fd, &etat) != 0) {
        Erreur("read", chemin, std::strerror(errno));
        if (fd >= 0)
            close(fd);
        return false;
    }
    if (S_ISDIR(etat.st_mode)) {
        close(fd);
        Erreur("read", chemin, "is a folder");
        return false;
    }
    if (S_ISREG(etat.st_mode) && etat.st_size > 0) {
        const auto taille = size_t(etat.st_size);
        void* carte = mmap(nullptr, taille, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (carte != MAP_FAILED) {
            close(fd);
            lu = chemin;
            std::signal(SIGBUS, Tronque);
            std::shared_ptr<const void> proprietaire(
                carte, [taille](const void* p) { munmap(const_cast<void*>(p), taille); });
            lignes = Gpx::Lignes(std::string_view(static_cast<const char*>(carte), taille),
                                 std::move(proprietaire));
            return true;
        }
    }
    // Anything else (a pipe, a mapping refused) is read whole.
    std::string octets;
    char tampon[65536];
    for (;;) {
        const ssize_t n = read(fd, tampon, sizeof tampon);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            Erreur("read", chemin, std::strerror(errno));
            close(fd);
            return false;
        }
        if (n == 0)
            break;
        octets.append(tampon, size_t(n));
    }
    close(fd);
    lignes = Gpx::Lignes(std::move(octets));
    return true;
}

// The file's marks in table, and what the editor says of them at Open said
// on standard error: the answer stands, read from what the file holds.
Gpx::Lecture LirePOI(const char* chemin, const Gpx::Lignes& lignes, Table& table)
{
    const Gpx::Lecture lecture = Gpx::LirePOI(lignes, table);
    if (!lecture.xml)
        std::fprintf(stderr,
                     "quaylight-gpx: note: %s is not well-formed XML (%s, line %ld, column %ld); "
                     "it was read line by line\n",
                     chemin, lecture.raison.c_str(), lecture.ligne, lecture.colonne);
    if (lecture.horsCapacite > 0)
        std::fprintf(stderr,
                     "quaylight-gpx: note: %s holds %ld waypoints past the %d the editor holds; "
                     "they are only kept where this file is written again (rewrite, or merge "
                     "as MINE)\n",
                     chemin, lecture.horsCapacite, int(Gpx::MaxPOI));
    return lecture;
}

bool Lire(const char* chemin, Table& table, bool& routesOuTraces)
{
    Gpx::Lignes lignes;
    if (!LireLignes(chemin, lignes))
        return false;
    routesOuTraces = LirePOI(chemin, lignes, table).routesTraces;
    return true;
}

// Texts on one line: tab, CR and LF shown as \t, \r and \n.
void TexteUtf8(std::string_view utf8, std::string& sortie)
{
    for (const char c : utf8) {
        if (c == '\t')
            sortie += "\\t";
        else if (c == '\r')
            sortie += "\\r";
        else if (c == '\n')
            sortie += "\\n";
        else
            sortie += c;
    }
}

void Texte(const Gpx::TexteCourt& s, std::string& sortie)
{
    std::u16string large;
    TexteUtf8(Gpx::EnUtf8(s.Vue(large)), sortie);
}

int Dump(const char* chemin)
{
    Table* const table = &LaTable();
    bool routes = false;
    if (!Lire(chemin, *table, routes))
        return 1;
    std::string sortie;
    if (routes)
        sortie += "routes-or-tracks\n";
    for (int i = 1; i <= table->NbPOI; ++i) {
        sortie += std::to_string(i);
        for (const Gpx::TexteCourt* champ :
             {&table->LatPOI[i], &table->LonPOI[i], &table->TempsPOI[i], &table->NomPOI[i],
              &table->SymPOI[i]}) {
            sortie += '\t';
            Texte(*champ, sortie);
        }
        sortie += '\t' + std::to_string(table->NbLiens(i)) + '\n';
    }
    for (int i = 1; i <= table->NbPOI; ++i)
        for (int k = 1; k <= table->NbLiens(i); ++k) {
            sortie += "  link\t" + std::to_string(i) + '\t' + std::to_string(k) + '\t';
            Texte(table->LienHref[i][k], sortie);
            sortie += '\t';
            Texte(table->LienTexte[i][k], sortie);
            sortie += '\n';
        }
    std::fwrite(sortie.data(), 1, sortie.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int Props(const char* chemin)
{
    Table* const table = &LaTable();
    bool routes = false;
    if (!Lire(chemin, *table, routes))
        return 1;
    using Gpx::Propriete;
    std::string sortie;
    for (int i = 1; i <= table->NbPOI; ++i) {
        const Gpx::Proprietes p = Gpx::LireProprietes(table->GardesPOI[size_t(i)].get());
        auto champ = [&](Propriete q) { TexteUtf8(p[q].value_or(std::string()), sortie); };
        // The fields of one element joined by "/", empty when it is absent.
        auto groupe = [&](std::initializer_list<Propriete> qs) {
            bool present = false;
            for (const Propriete q : qs)
                present = present || p[q].has_value();
            if (!present)
                return;
            const char* separateur = "";
            for (const Propriete q : qs) {
                sortie += separateur;
                champ(q);
                separateur = "/";
            }
        };
        sortie += std::to_string(i);
        for (const Propriete q :
             {Propriete::Guid, Propriete::Viz, Propriete::VizNom, Propriete::Rayon}) {
            sortie += '\t';
            champ(q);
        }
        sortie += '\t';
        groupe({Propriete::AnneauxVisibles, Propriete::AnneauxNombre, Propriete::AnneauxPas,
                Propriete::AnneauxUnites, Propriete::AnneauxCouleur});
        sortie += '\t';
        groupe({Propriete::EchelleUtilisee, Propriete::EchelleMin, Propriete::EchelleMax});
        sortie += '\t';
        champ(Propriete::Maree);
        sortie += '\n';
    }
    std::fwrite(sortie.data(), 1, sortie.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

// A route's line and its legs' lines.
void Itineraire(const Gpx::Route& route, int n, std::string& sortie)
{
    std::string troncons;
    double total = 0;
    Gpx::Position avant;
    for (size_t k = 0; k < route.points.size(); ++k) {
        const Gpx::PointRoute& p = route.points[k];
        const Gpx::Position ici = Gpx::LirePosition(p.lat, p.lon);
        if (k > 0) {
            const Gpx::Troncon t = Gpx::Rhumb(avant, ici);
            troncons += "  leg\t" + std::to_string(k) + '\t';
            TexteUtf8(route.points[k - 1].nom, troncons);
            troncons += '\t';
            TexteUtf8(p.nom, troncons);
            troncons += '\t';
            troncons += t.valide ? Gpx::TexteMilles(t.distance) + '\t' + Gpx::TexteCap(t.cap)
                                 : std::string("?\t?");
            troncons += '\n';
            if (t.valide)
                total += t.distance;
        }
        avant = ici;
    }
    sortie += "route\t" + std::to_string(n) + '\t';
    TexteUtf8(route.nom, sortie);
    sortie += '\t' + std::to_string(route.points.size()) + '\t' + Gpx::TexteMilles(total) + '\n' +
              troncons;
}

int Itineraires(const char* chemin)
{
    Gpx::Lignes lignes;
    if (!LireLignes(chemin, lignes))
        return 1;
    std::string sortie;
    int n = 0;
    // The routes alone, in one pass; a file expat cannot read is read as
    // the editor reads it, with what it keeps of routes.
    if (!Gpx::LireRoutes(lignes.Octets(),
                         [&](Gpx::Route& route) { Itineraire(route, ++n, sortie); })) {
        sortie.clear();
        n = 0;
        Table& table = LaTable();
        LirePOI(chemin, lignes, table);
        if (table.Fichier)
            for (const std::string& texte : table.Fichier->routes)
                Itineraire(Gpx::LireRoute(texte), ++n, sortie);
    }
    std::fwrite(sortie.data(), 1, sortie.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

// A character the writer refuses, named as the editor names it. The writer
// refuses control characters only, which show nothing between the quotes.
std::string DecrireCaractere(char16_t c)
{
    char code[8];
    std::snprintf(code, sizeof code, "%04X", unsigned(c));
    return std::string("\"\" (U+") + code + ')';
}

// Replaces a file as the editor does: a file without write permission is
// refused, the document goes to a temporary file beside it that is renamed
// over it once written whole, and on failure the previous file stays. A
// device or a pipe is written to directly.
// Unlike the editor's saves, the bytes are not forced to the disk before
// the rename: as other command-line converters, the tool leaves that to the
// system (ext4 writes a file renamed over another before the rename).
bool EcrireGPX(const char* chemin, const Table& table)
{
    std::string cible = chemin;
    struct stat etat {};
    if (lstat(chemin, &etat) == 0 && S_ISLNK(etat.st_mode)) {
        // A link: its target is the file replaced.
        if (char* reel = realpath(chemin, nullptr)) {
            cible = reel;
            std::free(reel);
        }
    }
    const bool existe = stat(cible.c_str(), &etat) == 0;
    if (existe && ((etat.st_mode & 0222) == 0 || access(cible.c_str(), W_OK) != 0)) {
        Erreur("write", chemin, "the file is read-only");
        return false;
    }
    // A device or a pipe (/dev/stdout) is written to as it is: a file
    // renamed over it would take its place.
    const bool flux = existe && !S_ISREG(etat.st_mode);
    std::string temporaire = flux ? std::string() : cible + ".XXXXXX";
    const int fd =
        flux ? open(cible.c_str(), O_WRONLY | O_CLOEXEC) : mkostemp(temporaire.data(), O_CLOEXEC);
    if (fd < 0) {
        Erreur("write", chemin, std::strerror(errno));
        return false;
    }
    mode_t mode = etat.st_mode & 07777;
    if (!existe) {
        const mode_t masque = umask(0);
        umask(masque);
        mode = 0666 & ~masque;
    }
    Gpx::Refus refus;
    std::string raison;
    bool ok = flux || fchmod(fd, mode) == 0;
    ok = ok &&
         Gpx::TexteGPX(
             table, [fd](std::string_view piece) { return Gpx::ToutEcrire(fd, piece); }, refus);
    if (!ok)
        raison = refus.poi > 0 ? Gpx::TexteRefus(DecrireCaractere(refus.caractere), refus.poi)
                               : std::strerror(errno);
    if (close(fd) != 0 && ok) {
        ok = false;
        raison = std::strerror(errno);
    }
    if (ok && !flux && rename(temporaire.c_str(), cible.c_str()) != 0) {
        ok = false;
        raison = std::strerror(errno);
    }
    if (!ok) {
        Erreur("write", chemin, raison);
        if (!flux)
            unlink(temporaire.c_str());
    }
    return ok;
}

int Reecrire(const char* entree, const char* sortie)
{
    Table& table = LaTable();
    bool routes = false;
    if (!Lire(entree, table, routes))
        return 1;
    return EcrireGPX(sortie, table) ? 0 : 1;
}

// A temporary file of its own, with the given suffix; "" on failure.
std::string Temporaire(const char* suffixe, const std::string& contenu = {})
{
    const char* dossier = std::getenv("TMPDIR");
    std::string chemin =
        std::string(dossier && *dossier ? dossier : "/tmp") + "/quaylight-import-XXXXXX" + suffixe;
    const int fd = mkostemps(chemin.data(), int(std::strlen(suffixe)), O_CLOEXEC);
    if (fd < 0)
        return {};
    if (Gpx::EcrireEtFermer(fd, contenu))
        return chemin;
    // Nothing half written is left behind.
    const int erreur = errno;
    unlink(chemin.c_str());
    errno = erreur;
    return {};
}

int Importer(const char* entree, const char* sortie)
{
    const std::string format = Importation::Format(entree);
    if (format.empty()) {
        Erreur("import", entree, "its format is not known by its extension");
        return 1;
    }
    std::string lu = entree;
    std::string kml;
    if (Importation::EstKmz(entree)) {
        Gpx::Lignes archive;
        std::string raison;
        if (!LireLignes(entree, archive))
            return 1;
        if (!Importation::ExtraireKml(archive.Octets(), kml, raison)) {
            Erreur("import", entree, raison);
            return 1;
        }
        lu = Temporaire(".kml", kml);
    }
    const std::string gpx = lu.empty() ? std::string() : Temporaire(".gpx");
    if (gpx.empty()) {
        Erreur("import", entree, std::strerror(errno));
        if (lu != entree && !lu.empty())
            unlink(lu.c_str());
        return 1;
    }
    const Gpx::Fin fin = Gpx::Executer(Importation::Arguments(format, lu, gpx));
    int code = 1;
    if (fin != Gpx::Fin::Reussie) {
        Erreur("import", entree,
               fin == Gpx::Fin::PasLancee ? "gpsbabel is not installed (Debian package gpsbabel)"
                                          : "gpsbabel could not convert it (its message is above)");
    } else {
        Table& table = LaTable();
        bool routes = false;
        code = Lire(gpx.c_str(), table, routes) && EcrireGPX(sortie, table) ? 0 : 1;
    }
    unlink(gpx.c_str());
    if (lu != entree)
        unlink(lu.c_str());
    return code;
}

// A distance in metres after --within: 1 m to 1 NM.
bool Distance(const char* texte, double& metres)
{
    char* fin = nullptr;
    metres = std::strtod(texte, &fin);
    if (fin == texte || *fin != '\0' || !(metres >= 1 && metres <= 1852)) {
        std::fprintf(stderr, "quaylight-gpx: --within takes 1 to 1852 metres, not %s\n", texte);
        return false;
    }
    return true;
}

int Fusionner(int argc, char* argv[])
{
    double metres = 20;
    Gpx::Choix choix = Gpx::Choix::Mienne;
    for (int a = 5; a < argc; ++a) {
        const std::string o = argv[a];
        if (o == "--within" && a + 1 < argc) {
            if (!Distance(argv[++a], metres))
                return 2;
        } else if (o == "--mine" || o == "--theirs" || o == "--both") {
            choix = o == "--mine"     ? Gpx::Choix::Mienne
                    : o == "--theirs" ? Gpx::Choix::Leur
                                      : Gpx::Choix::LesDeux;
        } else {
            std::fputs(Usage, stderr);
            return 2;
        }
    }
    Table& mienne = LaTable();
    // The second table is never freed either; held from static storage, so
    // that the leak checker sees it reachable.
    static Table& leur = *new Table;
    bool routes = false;
    if (!Lire(argv[2], mienne, routes) || !Lire(argv[3], leur, routes))
        return 1;
    const Gpx::Classement c = Gpx::Classer(Gpx::Reperer(mienne), Gpx::Reperer(leur), metres);
    const Gpx::Bilan bilan =
        Gpx::Fusionner(mienne, leur, c, std::vector<Gpx::Choix>(c.classes.size(), choix),
                       std::vector<bool>(c.classes.size(), true));
    if (bilan.horsCapacite > 0)
        std::fprintf(stderr,
                     "quaylight-gpx: %d waypoints past the %d the editor holds were not added; "
                     "they stay in %s\n",
                     bilan.horsCapacite, int(Gpx::MaxPOI), argv[3]);
    if (!EcrireGPX(argv[4], mienne))
        return 1;
    std::printf("same %d\tchanged %d\tnear %d\tnew %d\n", c.Nombre(Gpx::Classe::Pareille),
                c.Nombre(Gpx::Classe::Changee), c.Nombre(Gpx::Classe::Proche),
                c.Nombre(Gpx::Classe::Nouvelle));
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int Doublons(int argc, char* argv[])
{
    double metres = 20;
    bool toutNom = false;
    for (int a = 3; a < argc; ++a) {
        const std::string o = argv[a];
        if (o == "--within" && a + 1 < argc) {
            if (!Distance(argv[++a], metres))
                return 2;
        } else if (o == "--any-name") {
            toutNom = true;
        } else {
            std::fputs(Usage, stderr);
            return 2;
        }
    }
    Table& table = LaTable();
    bool routes = false;
    if (!Lire(argv[2], table, routes))
        return 1;
    const auto groupes = Gpx::Doublons(Gpx::Reperer(table), metres, toutNom);
    std::string sortie;
    for (const auto& g : groupes) {
        const char* separateur = "";
        for (const int i : g) {
            sortie += separateur;
            sortie += std::to_string(i + 1);
            separateur = " ";
        }
        sortie += '\n';
    }
    std::fwrite(sortie.data(), 1, sortie.size(), stdout);
    if (std::fflush(stdout) != 0)
        return 1;
    return groupes.empty() ? 0 : 3;
}

} // namespace

int main(int argc, char* argv[])
{
    // Large buffers come from the heap and stay there once freed, so the
    // next one reuses pages already in place instead of fresh ones.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    const std::string commande = argc > 1 ? argv[1] : "";
    if (argc == 2 && (commande == "--help" || commande == "-h")) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (argc == 3 && commande == "dump")
        return Dump(argv[2]);
    if (argc == 4 && commande == "rewrite")
        return Reecrire(argv[2], argv[3]);
    if (argc == 4 && commande == "import")
        return Importer(argv[2], argv[3]);
    if (argc == 3 && commande == "routes")
        return Itineraires(argv[2]);
    if (argc == 3 && commande == "props")
        return Props(argv[2]);
    if (argc >= 5 && commande == "merge")
        return Fusionner(argc, argv);
    if (argc >= 3 && commande == "duplicates")
        return Doublons(argc, argv);
    std::fputs(Usage, stderr);
    return 2;
}
