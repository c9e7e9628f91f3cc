// SPDX-License-Identifier: GPL-3.0-or-later
// Read + write of the largest GPX sample (100 waypoints of 50 links): the
// library in process; then quaylight-gpx rewrite, the floor of any rewrite
// through the parser (bench/plancher: the parser alone and the save) and
// gpsbabel's GPX to GPX conversion of the same file, in turn. Then a file
// of 20,000 marks as other programs write them (descriptions, extensions,
// links): opened and saved as the editor does; and a 50 MB file read.
#include "Marques.h"
#include "gpx/Descripteurs.h"
#include "gpx/Fichiers.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

QString entree;
QString sortie;
QString vingtMille;
QString cinquanteMo;
std::string outil;
std::string plancher;

void Ecrire(const QString& chemin, const QByteArray& octets)
{
    QFile f(chemin);
    if (!f.open(QIODevice::WriteOnly) || f.write(octets) != octets.size()) {
        std::fprintf(stderr, "cannot write %s\n", qUtf8Printable(chemin));
        std::exit(1);
    }
}

QByteArray Lire(const QString& chemin)
{
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void CreerPlusGrandFichier()
{
    auto table = std::make_unique<PoiTable>();
    for (int i = 1; i <= 100; ++i) {
        table->AjouterLigne();
        table->LatPOI[i] = QString::number(47 + i / 100.0, 'f', 5);
        table->LonPOI[i] = QString::number(-4 - i / 100.0, 'f', 5);
        table->TempsPOI[i] = QStringLiteral("2024-05-01T10:%1:%2Z")
                                 .arg(i / 60, 2, 10, QLatin1Char('0'))
                                 .arg(i % 60, 2, 10, QLatin1Char('0'));
        table->NomPOI[i] = QStringLiteral("Marque n°%1 de l'Aber").arg(i);
        for (int k = 1; k <= MaxLiens; ++k)
            table->InsererLien(
                i, k,
                QStringLiteral("https://example.org/ports/%1/page-%2.html?a=1&amp;b=2")
                    .arg(i)
                    .arg(k),
                QStringLiteral("Page %1 du port %2").arg(k).arg(i));
    }
    QString erreur;
    if (!Fichiers::EcrireGPX(entree, *table, erreur)) {
        std::fprintf(stderr, "cannot write %s: %s\n", qUtf8Printable(entree),
                     qUtf8Printable(erreur));
        std::exit(1);
    }
}

// Each program is run itself, without a shell between: the shell's own
// start would be timed with both programs and blur the comparison.
void Commande(benchmark::State& state, const std::vector<std::string>& arguments, bool muet = false)
{
    for (auto _ : state)
        if (Gpx::Executer(arguments, muet) != Gpx::Fin::Reussie) {
            state.SkipWithError(("failed: " + arguments[0]).c_str());
            break;
        }
}

void BM_BibliothequeLireEcrire(benchmark::State& state)
{
    auto table = std::make_unique<PoiTable>();
    for (auto _ : state) {
        QByteArray octets;
        QString erreur;
        if (!Fichiers::LireOctets(entree, octets, erreur)) {
            state.SkipWithError("read failed");
            break;
        }
        Fichiers::LirePOI(Fichiers::LignesWindows1252(octets), *table);
        if (!Fichiers::EcrireGPX(sortie, *table, erreur)) {
            state.SkipWithError("write failed");
            break;
        }
    }
}

// The Open command's file work (30 backups, link relocation, reading), then
// a save, as the editor does them; the save timed apart.
void OuvrirEtEnregistrer(benchmark::State& state, const QString& source, bool sauver)
{
    QTemporaryDir dossier;
    const QString rep = dossier.path() + QLatin1Char('/');
    const QString fichier = rep + QStringLiteral("Marques.gpx");
    QFile::copy(source, fichier);
    auto table = std::make_unique<PoiTable>();
    for (auto _ : state) {
        QByteArray octets;
        Fichiers::Lignes lignes;
        QString erreur;
        QString echec;
        if (!sauver) {
            Fichiers::TournerSauvegardes(fichier, rep, QStringLiteral("Marques.gpx"));
            if (!Fichiers::LireOctets(fichier, octets, erreur) ||
                !Fichiers::RelocaliserLiensFichier(fichier, rep, octets, lignes, echec, erreur)) {
                state.SkipWithError("open failed");
                break;
            }
            Fichiers::LirePOI(lignes, *table);
            continue;
        }
        if (table->NbPOI == 0)
            Fichiers::LirePOI(Fichiers::LignesWindows1252(Lire(fichier)), *table);
        if (!Fichiers::EcrireGPX(fichier, *table, erreur)) {
            state.SkipWithError("save failed");
            break;
        }
    }
}

void BM_OuvrirEtEnregistrer(benchmark::State& state)
{
    OuvrirEtEnregistrer(state, entree, false);
}

void BM_Ouvrir20000(benchmark::State& state)
{
    OuvrirEtEnregistrer(state, vingtMille, false);
}

void BM_Enregistrer20000(benchmark::State& state)
{
    OuvrirEtEnregistrer(state, vingtMille, true);
}

void BM_QuaylightGpxDump50Mo(benchmark::State& state)
{
    Commande(state, {outil, "dump", cinquanteMo.toStdString()}, true);
}

// quaylight-gpx rewrite, the floor (bench/plancher) and gpsbabel in turn,
// round after round, so that a change in the machine's load touches all
// three alike; their medians compared.
void BM_ReecrireGpsbabel(benchmark::State& state)
{
    const std::string e = entree.toStdString();
    const std::string s = sortie.toStdString();
    const std::vector<std::vector<std::string>> commandes = {
        {outil, "rewrite", e, s},
        {plancher, e, s},
        {"gpsbabel", "-i", "gpx", "-f", e, "-o", "gpx", "-F", s}};
    std::vector<std::vector<double>> durees(commandes.size());
    for (auto _ : state)
        for (size_t c = 0; c < commandes.size(); ++c) {
            const auto debut = std::chrono::steady_clock::now();
            if (Gpx::Executer(commandes[c]) != Gpx::Fin::Reussie) {
                state.SkipWithError(("failed: " + commandes[c][0]).c_str());
                return;
            }
            durees[c].push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - debut)
                    .count());
        }
    auto mediane = [](std::vector<double> v) {
        std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    const char* const noms[] = {"rewrite_ms", "plancher_ms", "gpsbabel_ms"};
    for (size_t c = 0; c < commandes.size(); ++c)
        state.counters[noms[c]] = mediane(durees[c]);
}

// Prints the runs as usual and then how much faster the tool is.
class Rapport : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_name.function_name == "BM_ReecrireGpsbabel")
                for (const auto& [nom, valeur] : r.counters)
                    medianes[nom] = valeur;
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const double babel = medianes["gpsbabel_ms"];
        if (babel <= 0)
            return;
        std::printf("quaylight-gpx rewrite takes %.2f of gpsbabel's time (goal: 0.3 at most)\n",
                    medianes["rewrite_ms"] / babel);
        std::printf("the parser alone and the save take %.2f of it\n",
                    medianes["plancher_ms"] / babel);
    }

private:
    std::map<std::string, double> medianes;
};

} // namespace

BENCHMARK(BM_BibliothequeLireEcrire)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OuvrirEtEnregistrer)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Ouvrir20000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Enregistrer20000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_QuaylightGpxDump50Mo)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReecrireGpsbabel)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir dossier;
    entree = dossier.filePath(QStringLiteral("plus-grand.gpx"));
    sortie = dossier.filePath(QStringLiteral("sortie.gpx"));
    outil =
        (QCoreApplication::applicationDirPath() + QStringLiteral("/quaylight-gpx")).toStdString();
    plancher = (QCoreApplication::applicationDirPath() + QStringLiteral("/plancher")).toStdString();
    CreerPlusGrandFichier();
    vingtMille = dossier.filePath(QStringLiteral("20000.gpx"));
    Ecrire(vingtMille, Marques(20000));
    cinquanteMo = dossier.filePath(QStringLiteral("50-mo.gpx"));
    Ecrire(cinquanteMo, Marques(100000));
    benchmark::Initialize(&argc, argv);
    Rapport rapport;
    benchmark::RunSpecifiedBenchmarks(&rapport);
    benchmark::Shutdown();
    return 0;
}
