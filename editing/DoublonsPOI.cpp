// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/DoublonsPOI.h"

#include "gpx/Fusion.h"
#include "gpx/Proprietes.h"

#include <algorithm>
#include <unordered_map>

namespace DoublonsPOI {

std::vector<std::vector<int>> Chercher(const PoiTable& table, double metres, bool toutNom)
{
    std::vector<std::vector<int>> groupes = Gpx::Doublons(Gpx::Reperer(table), metres, toutNom);
    for (auto& g : groupes)
        for (int& i : g)
            ++i;
    return groupes;
}

Resultat Fusionner(PoiTable& table, Routes& routes, const std::vector<std::vector<int>>& groupes)
{
    Resultat r;
    std::vector<int> retirees;
    std::unordered_map<std::string, std::string> guids;
    for (const std::vector<int>& g : groupes) {
        if (g.size() < 2)
            continue;
        const int premier = g.front();
        std::string guid = Gpx::GuidDeGarde(table.GardesPOI[size_t(premier)].get());
        Gpx::GardePOI garde =
            table.GardesPOI[size_t(premier)] ? *table.GardesPOI[size_t(premier)] : Gpx::GardePOI();
        std::string desc = Gpx::LirePropriete(&garde, Gpx::Propriete::Desc).value_or("");
        for (size_t k = 1; k < g.size(); ++k) {
            const int autre = g[k];
            retirees.push_back(autre);
            for (int l = 1; l <= table.NbLiens(autre); ++l) {
                const QString& href = table.LienHref[size_t(autre)][size_t(l)];
                const QString& texte = table.LienTexte[size_t(autre)][size_t(l)];
                bool deja = false;
                for (int m = 1; m <= table.NbLiens(premier) && !deja; ++m)
                    deja = table.LienHref[size_t(premier)][size_t(m)] == href &&
                           table.LienTexte[size_t(premier)][size_t(m)] == texte;
                if (deja)
                    continue;
                if (table.NbLiens(premier) >= MaxLiens) {
                    ++r.liensLaisses;
                    continue;
                }
                table.InsererLien(premier, table.NbLiens(premier) + 1, href, texte);
            }
            const Gpx::GardePOI* gardeAutre = table.GardesPOI[size_t(autre)].get();
            const std::string d = Gpx::LirePropriete(gardeAutre, Gpx::Propriete::Desc).value_or("");
            if (!d.empty())
                desc = desc.empty() ? d : desc + "\n\n" + d;
            garde = Gpx::AvecExtensionsManquantes(garde, gardeAutre);
            const std::string g2 = Gpx::GuidDeGarde(gardeAutre);
            if (!g2.empty() && guid.empty())
                guid = g2;
            else if (!g2.empty() && g2 != guid)
                guids[g2] = guid;
        }
        Gpx::Changement changement;
        if (!desc.empty())
            changement.emplace_back(Gpx::Propriete::Desc, desc);
        if (!guid.empty())
            changement.emplace_back(Gpx::Propriete::Guid, guid);
        table.GardesPOI[size_t(premier)] =
            std::make_shared<const Gpx::GardePOI>(Gpx::AvecProprietes(&garde, changement));
    }
    std::sort(retirees.begin(), retirees.end());
    table.SupprimerLignes(retirees);
    routes.RenommerGuids(guids);
    r.retirees = int(retirees.size());
    return r;
}

} // namespace DoublonsPOI
