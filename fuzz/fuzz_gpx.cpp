// SPDX-License-Identifier: GPL-3.0-or-later
// GPX reader, link relocation and writer on arbitrary bytes: nothing may
// crash, the table keeps its limits, and what the writer produces reads back
// to the same waypoints, written once more. Links are left out of that
// comparison: they follow the first line holding a waypoint's time, and a
// time that stands inside another line may pick up other links each round.
// The companion tool's compact table must give the editor's bytes. Each
// route the reader keeps, written from its fields, reads back the same and
// is written the same again.
#include "gpx/Fichiers.h"
#include "gpx/Routes.h"
#include "gpx/TexteCourt.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

void Verifier(bool condition)
{
    if (!condition)
        std::abort();
}

void Limites(const PoiTable& t)
{
    Verifier(t.NbPOI >= 0 && t.NbPOI <= MaxPOI);
    for (const auto* colonne : {&t.NomPOI, &t.LatPOI, &t.LonPOI, &t.TempsPOI, &t.SymPOI})
        Verifier(colonne->size() == size_t(t.NbPOI) + 1);
    for (int i = 0; i <= t.NbPOI; ++i)
        Verifier(t.LienHref[size_t(i)].size() == t.LienTexte[size_t(i)].size());
}

void Routes(const PoiTable& t)
{
    if (!t.Fichier)
        return;
    for (const std::string& texte : t.Fichier->routes) {
        Gpx::Route r = Gpx::LireRoute(texte);
        Verifier(Gpx::TexteRoute(r) == texte);
        r.lue.clear();
        const std::string ecrite = Gpx::TexteRoute(r);
        Gpx::Route relue = Gpx::LireRoute(ecrite);
        Verifier(relue.nom == r.nom && relue.points.size() == r.points.size() &&
                 relue.guid == r.guid && relue.depart == r.depart);
        for (size_t k = 0; k < r.points.size(); ++k)
            Verifier(
                relue.points[k].nom == r.points[k].nom && relue.points[k].lat == r.points[k].lat &&
                relue.points[k].lon == r.points[k].lon && relue.points[k].guid == r.points[k].guid);
        relue.lue.clear();
        Verifier(Gpx::TexteRoute(relue) == ecrite);
    }
}

QString Champs(const PoiTable& t)
{
    QString r = QString::number(t.NbPOI);
    for (int i = 1; i <= t.NbPOI; ++i)
        r += QLatin1Char('\n') + t.LatPOI[i] + QLatin1Char('\t') + t.LonPOI[i] + QLatin1Char('\t') +
             t.TempsPOI[i] + QLatin1Char('\t') + t.NomPOI[i] + QLatin1Char('\t') + t.SymPOI[i];
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille)
{
    const QByteArray octets(reinterpret_cast<const char*>(donnees), int(taille));
    const Fichiers::Lignes lignes = Fichiers::LignesWindows1252(octets);
    QString erreur;
    const Fichiers::Lignes relocalisees =
        Fichiers::RelocaliserLignes(lignes, QStringLiteral("/home/marin/Régates & co ⚓/"));
    Verifier(relocalisees.size() == lignes.size());

    auto t1 = std::make_unique<PoiTable>();
    Fichiers::LirePOI(relocalisees, *t1);
    Limites(*t1);
    Routes(*t1);
    QByteArray b1;
    const bool ecrit = Fichiers::TexteGPX(*t1, b1, erreur);
    // The companion tool's compact table reads and writes the same bytes.
    auto court = std::make_unique<Gpx::TableGPX<Gpx::TexteCourt>>();
    Gpx::LirePOI(relocalisees, *court);
    std::string octetsCourt;
    Gpx::Refus refus;
    Verifier(Gpx::TexteGPX(*court, octetsCourt, refus) == ecrit);
    if (!ecrit)
        return 0;
    Verifier(QByteArray::fromStdString(octetsCourt) == b1);
    auto t2 = std::make_unique<PoiTable>();
    Fichiers::LirePOI(Fichiers::LignesWindows1252(b1), *t2);
    Limites(*t2);
    Verifier(t2->NbPOI == t1->NbPOI);
    QByteArray b2;
    Verifier(Fichiers::TexteGPX(*t2, b2, erreur));
    auto t3 = std::make_unique<PoiTable>();
    Fichiers::LirePOI(Fichiers::LignesWindows1252(b2), *t3);
    Limites(*t3);
    Verifier(Champs(*t3) == Champs(*t2));
    return 0;
}
