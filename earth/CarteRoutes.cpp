// SPDX-License-Identifier: GPL-3.0-or-later
#include "earth/CarteRoutes.h"

#include "shell/Declarations.h"

#include <memory>

namespace CarteRoutes {

namespace {

RoutesGE* Carte()
{
    return Declarations::AppliGE ? Declarations::AppliGE->Routes() : nullptr;
}

// The tracks' lines, read again only when the file's kept content changes:
// a track of thousands of points is not parsed at every edit of a mark.
const std::vector<LigneGE>& Traces(const PoiTable& table)
{
    static std::weak_ptr<const Gpx::GardeFichier> lu;
    static std::vector<LigneGE> traces;
    if (lu.lock() == table.Fichier && (table.Fichier || traces.empty()))
        return traces;
    lu = table.Fichier;
    traces.clear();
    if (!table.Fichier)
        return traces;
    for (const std::string& texte : table.Fichier->traces)
        for (const auto& segment : Gpx::LireTrace(texte)) {
            LigneGE ligne;
            ligne.trace = true;
            for (const Gpx::Position& p : segment)
                ligne.points.emplace_back(p.lon, p.lat);
            traces.push_back(std::move(ligne));
        }
    return traces;
}

} // namespace

std::vector<LigneGE> Lignes(const PoiTable& table, const Routes& routes, int choisie)
{
    std::vector<LigneGE> lignes = Traces(table);
    const Routes::Index index = Routes::Indexer(table);
    for (int r = 0; r < int(routes.liste.size()); ++r) {
        LigneGE ligne;
        ligne.choisie = r == choisie;
        for (const Gpx::PointRoute& p : routes.liste[size_t(r)].points) {
            const Routes::Point vu = routes.PointVu(table, index, p);
            if (vu.position.valide)
                ligne.points.emplace_back(vu.position.lon, vu.position.lat);
        }
        lignes.push_back(std::move(ligne));
    }
    return lignes;
}

void Poser(const PoiTable& table, const Routes& routes, int choisie)
{
    RoutesGE* carte = Carte();
    if (!carte)
        return;
    try {
        carte->PoserLignes(Lignes(table, routes, choisie));
    } catch (const EchecGE&) {
        // The map keeps the lines it had.
    }
}

void Construire(const PoiTable& table, const Routes& routes, int r)
{
    RoutesGE* carte = Carte();
    if (!carte)
        return;
    std::vector<bool> libres;
    if (r >= 0 && size_t(r) < routes.liste.size()) {
        const Routes::Index index = Routes::Indexer(table);
        for (const Gpx::PointRoute& p : routes.liste[size_t(r)].points) {
            const Routes::Point vu = routes.PointVu(table, index, p);
            // Only the points the line shows, in its order.
            if (vu.position.valide)
                libres.push_back(vu.marque == 0);
        }
    }
    try {
        carte->Construire(r >= 0, libres);
    } catch (const EchecGE&) {
    }
}

void Suivre(SuiviRoutesGE* suivi)
{
    if (RoutesGE* carte = Carte())
        carte->SuivreRoutes(suivi);
}

} // namespace CarteRoutes
