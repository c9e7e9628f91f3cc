// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/Historique.h"

namespace {

std::vector<Historique::Rangee> Prendre(const PoiTable& table, const std::vector<int>& lignes)
{
    std::vector<Historique::Rangee> rangees;
    rangees.reserve(lignes.size());
    for (const int i : lignes)
        rangees.push_back(table.Prendre(i));
    return rangees;
}

} // namespace

Historique::Etape Historique::Etape::Modification(const PoiTable& table, std::vector<int> lignes,
                                                  int numAvant)
{
    Etape e;
    e.genre = Genre::Modification;
    e.avant = Prendre(table, lignes);
    e.lignes = std::move(lignes);
    e.numAvant = numAvant;
    return e;
}

Historique::Etape Historique::Etape::Retrait(const PoiTable& table, std::vector<int> lignes,
                                             int numAvant)
{
    Etape e = Modification(table, std::move(lignes), numAvant);
    e.genre = Genre::Retrait;
    return e;
}

Historique::Etape Historique::Etape::Ajout(std::vector<int> lignes, int numAvant)
{
    Etape e;
    e.genre = Genre::Ajout;
    e.lignes = std::move(lignes);
    e.numAvant = numAvant;
    return e;
}

Historique::Etape Historique::Etape::Itineraires(const Routes& routes, int numAvant)
{
    Etape e;
    e.numAvant = numAvant;
    e.AvecRoutes(routes);
    return e;
}

Historique::Etape Historique::Etape::Document(const PoiTable& table, const Routes& routes,
                                              int numAvant)
{
    Etape e = Itineraires(routes, numAvant);
    e.genre = Genre::Document;
    e.tableAvant = std::make_shared<const PoiTable>(table);
    return e;
}

Historique::Etape& Historique::Etape::AvecRoutes(const Routes& routes)
{
    routesAvant = std::make_shared<const std::vector<Gpx::Route>>(routes.liste);
    return *this;
}

void Historique::Noter(Etape etape, const PoiTable& table, const Routes& routes, int numApres)
{
    if (etape.genre == Etape::Genre::Document)
        etape.tableApres = std::make_shared<const PoiTable>(table);
    else if (etape.genre != Etape::Genre::Retrait)
        etape.apres = Prendre(table, etape.lignes);
    if (etape.routesAvant)
        etape.routesApres = std::make_shared<const std::vector<Gpx::Route>>(routes.liste);
    etape.numApres = numApres;
    faites.push_back(std::move(etape));
    defaites.clear();
}

Historique::Retour Historique::Annuler(PoiTable& table, Routes& routes)
{
    return Rejouer(table, routes, faites, defaites, true);
}

Historique::Retour Historique::Retablir(PoiTable& table, Routes& routes)
{
    return Rejouer(table, routes, defaites, faites, false);
}

Historique::Retour Historique::Rejouer(PoiTable& table, Routes& routes, std::vector<Etape>& de,
                                       std::vector<Etape>& vers, bool arriere)
{
    if (de.empty())
        return {};
    Etape& e = de.back();
    Retour retour{arriere ? e.numAvant : e.numApres, e.lignes};
    const std::vector<Rangee>& rangees = arriere ? e.avant : e.apres;
    if (e.genre == Etape::Genre::Document) {
        table = arriere ? *e.tableAvant : *e.tableApres;
    } else if (e.genre == Etape::Genre::Modification) {
        for (size_t k = 0; k < e.lignes.size(); ++k)
            table.Poser(e.lignes[k], rangees[k]);
    } else if ((e.genre == Etape::Genre::Retrait) == arriere) {
        // A removal undone, or an addition made again: the rows come back.
        table.InsererLignes(e.lignes, rangees);
    } else {
        // The rows go: the mark current then, if it still is one, is the
        // one chosen.
        table.SupprimerLignes(e.lignes);
        retour.lignes.clear();
        if (retour.num >= 1 && retour.num <= table.NbPOI)
            retour.lignes.push_back(retour.num);
    }
    if (const auto& r = arriere ? e.routesAvant : e.routesApres) {
        routes.liste = *r;
        retour.routes = true;
    }
    vers.push_back(std::move(e));
    de.pop_back();
    return retour;
}

void Historique::Vider()
{
    faites.clear();
    defaites.clear();
}
