// quaylight-gpx: the editor's GPX reader and writer from the command line.
#include "gpx/Fichiers.h"

#include <QStringList>
#include <cstdio>
#include <malloc.h>
#include <memory>

namespace {

const char* const Usage =
    "Usage: quaylight-gpx dump FILE\n"
    "       quaylight-gpx rewrite IN OUT\n"
    "       quaylight-gpx --help\n"
    "\n"
    "dump     reads FILE as the editor opens it (without backups or link\n"
    "         relocation) and prints one tab-separated line per waypoint:\n"
    "         number, latitude, longitude, time, name, symbol, link count;\n"
    "         then one line per link: \"  link\", waypoint number, link number,\n"
    "         target, text. A first line \"routes-or-tracks\" tells that the\n"
    "         file holds routes or tracks.\n"
    "rewrite  reads IN as above and writes OUT with the editor's GPX writer.\n";

// Texts on one line: tab, CR and LF shown as \t, \r and \n.
QByteArray Texte(const QString& s)
{
    QByteArray r = s.toUtf8();
    r.replace('\t', "\\t").replace('\r', "\\r").replace('\n', "\\n");
    return r;
}

bool Lire(const char* chemin, PoiTable& table, bool& routesOuTraces)
{
    QByteArray octets;
    QString erreur;
    const QString nom = QString::fromLocal8Bit(chemin);
    if (!Fichiers::LireOctets(nom, octets, erreur)) {
        std::fprintf(stderr, "quaylight-gpx: cannot read %s: %s\n", chemin, qUtf8Printable(erreur));
        return false;
    }
    const Fichiers::Lignes lignes = Fichiers::LignesWindows1252(octets);
    routesOuTraces = Fichiers::ChercherRoutesTraces(lignes);
    Fichiers::LirePOI(lignes, table);
    return true;
}

int Dump(const char* chemin)
{
    auto table = std::make_unique<PoiTable>();
    bool routes = false;
    if (!Lire(chemin, *table, routes))
        return 1;
    QByteArray sortie;
    if (routes)
        sortie += "routes-or-tracks\n";
    for (int i = 1; i <= table->NbPOI; ++i)
        sortie += QByteArray::number(i) + '\t' + Texte(table->LatPOI[i]) + '\t' +
                  Texte(table->LonPOI[i]) + '\t' + Texte(table->TempsPOI[i]) + '\t' +
                  Texte(table->NomPOI[i]) + '\t' + Texte(table->SymPOI[i]) + '\t' +
                  QByteArray::number(table->NbLiens[i]) + '\n';
    for (int i = 1; i <= table->NbPOI; ++i)
        for (int k = 1; k <= table->NbLiens[i]; ++k)
            sortie += "  link\t" + QByteArray::number(i) + '\t' + QByteArray::number(k) + '\t' +
                      Texte(table->LienHref[i][k]) + '\t' + Texte(table->LienTexte[i][k]) + '\n';
    std::fwrite(sortie.constData(), 1, sortie.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int Reecrire(const char* entree, const char* sortie)
{
    auto table = std::make_unique<PoiTable>();
    bool routes = false;
    if (!Lire(entree, *table, routes))
        return 1;
    QString erreur;
    if (!Fichiers::EcrireGPX(QString::fromLocal8Bit(sortie), *table, erreur)) {
        std::fprintf(stderr, "quaylight-gpx: cannot write %s: %s\n", sortie,
                     qUtf8Printable(erreur));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    // Large buffers come from the heap and stay there once freed, so the
    // next one reuses pages already in place instead of fresh ones.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    const QStringList args = [&] {
        QStringList l;
        for (int i = 1; i < argc; ++i)
            l << QString::fromLocal8Bit(argv[i]);
        return l;
    }();
    if (args.size() == 1 &&
        (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h"))) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (args.size() == 2 && args[0] == QLatin1String("dump"))
        return Dump(argv[2]);
    if (args.size() == 3 && args[0] == QLatin1String("rewrite"))
        return Reecrire(argv[2], argv[3]);
    std::fputs(Usage, stderr);
    return 2;
}
