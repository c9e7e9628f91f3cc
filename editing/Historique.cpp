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

void Historique::Noter(Etape etape, const PoiTable& table, int numApres)
{
    if (etape.genre != Etape::Genre::Retrait)
        etape.apres = Prendre(table, etape.lignes);
    etape.numApres = numApres;
    faites.push_back(std::move(etape));
    defaites.clear();
}

Historique::Retour Historique::Annuler(PoiTable& table)
{
    if (faites.empty())
        return {};
    Etape& e = faites.back();
    Retour retour{e.numAvant, e.lignes};
    switch (e.genre) {
    case Etape::Genre::Modification:
        for (size_t k = 0; k < e.lignes.size(); ++k)
            table.Poser(e.lignes[k], e.avant[k]);
        break;
    case Etape::Genre::Retrait:
        table.InsererLignes(e.lignes, e.avant);
        break;
    case Etape::Genre::Ajout:
        table.SupprimerLignes(e.lignes);
        retour.lignes.clear();
        break;
    }
    defaites.push_back(std::move(e));
    faites.pop_back();
    return retour;
}

Historique::Retour Historique::Retablir(PoiTable& table)
{
    if (defaites.empty())
        return {};
    Etape& e = defaites.back();
    Retour retour{e.numApres, e.lignes};
    switch (e.genre) {
    case Etape::Genre::Modification:
        for (size_t k = 0; k < e.lignes.size(); ++k)
            table.Poser(e.lignes[k], e.apres[k]);
        break;
    case Etape::Genre::Retrait:
        table.SupprimerLignes(e.lignes);
        retour.lignes.clear();
        break;
    case Etape::Genre::Ajout:
        table.InsererLignes(e.lignes, e.apres);
        break;
    }
    faites.push_back(std::move(e));
    defaites.pop_back();
    return retour;
}

void Historique::Vider()
{
    faites.clear();
    defaites.clear();
}
