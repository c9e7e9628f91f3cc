// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/ProprietesPOI.h"

#include "gpx/Routes.h"

#include <string>
#include <unordered_set>

namespace ProprietesPOI {

using Gpx::Propriete;

QString Affichee(const Gpx::Proprietes& p, Propriete q)
{
    const std::optional<std::string>& v = p[q];
    const bool drapeau = q == Propriete::Viz || q == Propriete::VizNom;
    if (drapeau || q == Propriete::AnneauxVisibles || q == Propriete::EchelleUtilisee) {
        // Shown and named unless the file says otherwise, as the writer
        // writes them; rings and scale limits off.
        const bool oui = v ? Gpx::Booleen(*v).value_or(drapeau) : drapeau;
        return oui ? QStringLiteral("1") : QStringLiteral("0");
    }
    return v ? QString::fromStdString(*v) : QString();
}

Valeurs Communes(const PoiTable& table, const std::vector<int>& marques)
{
    Valeurs communes;
    std::array<bool, Gpx::NbProprietes> differentes{};
    bool premiere = true;
    for (const int i : marques) {
        const Gpx::Proprietes p = Gpx::LireProprietes(table.GardesPOI[size_t(i)].get());
        for (int q = 0; q < Gpx::NbProprietes; ++q) {
            if (differentes[size_t(q)])
                continue;
            const QString v = Affichee(p, Propriete(q));
            if (premiere) {
                communes[size_t(q)] = v;
            } else if (*communes[size_t(q)] != v) {
                differentes[size_t(q)] = true;
                communes[size_t(q)].reset();
            }
        }
        premiere = false;
    }
    return communes;
}

void Appliquer(PoiTable& table, const std::vector<int>& marques, const Gpx::Changement& changement)
{
    if (changement.empty())
        return;
    for (const int i : marques) {
        auto& garde = table.GardesPOI[size_t(i)];
        garde = std::make_shared<const Gpx::GardePOI>(Gpx::AvecProprietes(garde.get(), changement));
    }
}

std::vector<int> SansGuid(const PoiTable& table)
{
    std::vector<int> sans;
    for (int i = 1; i <= table.NbPOI; ++i)
        if (Gpx::GuidDeGarde(table.GardesPOI[size_t(i)].get()).empty())
            sans.push_back(i);
    return sans;
}

void DonnerGuids(PoiTable& table, const std::vector<int>& marques)
{
    for (const int i : marques) {
        auto& garde = table.GardesPOI[size_t(i)];
        garde =
            std::make_shared<const Gpx::GardePOI>(Gpx::AvecGuid(garde.get(), Gpx::NouveauGuid()));
    }
}

int GuidsEnDouble(const PoiTable& table)
{
    std::unordered_set<std::string> vus;
    int doubles = 0;
    for (int i = 1; i <= table.NbPOI; ++i) {
        std::string g = Gpx::GuidDeGarde(table.GardesPOI[size_t(i)].get());
        if (!g.empty() && !vus.insert(std::move(g)).second)
            ++doubles;
    }
    return doubles;
}

} // namespace ProprietesPOI
