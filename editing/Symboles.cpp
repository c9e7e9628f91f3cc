// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/Symboles.h"

#include "editing/FiltrePOI.h"
#include "gpx/PoiTable.h"

#include <QSet>

namespace Symboles {

const QStringList& Integres()
{
    static const QStringList noms = {
        "anchorage",    "anchor",  "boarding",   "airplane", "boundary", "buoy1",     "buoy2",
        "campfire",     "camping", "circle",     "coral",    "diamond",  "empty",     "fish",
        "fishhaven",    "fishing", "float",      "food",     "fuel",     "greenlite", "kelp",
        "light",        "light1",  "litevessel", "mob",      "mooring",  "oilbuoy",   "platform",
        "redgreenlite", "redlite", "rock1",      "rock2",    "sand",     "scuba",     "shoal",
        "snag",         "square",  "triangle",   "wreck1",   "wreck2",   "xmblue",    "xmgreen",
        "xmred"};
    return noms;
}

QStringList Proposes(const PoiTable& table)
{
    QStringList noms = Integres();
    QSet<QString> vus(noms.begin(), noms.end());
    for (int i = 1; i <= table.NbPOI; ++i) {
        const QString& s = table.SymPOI[i];
        if (!s.isEmpty() && !vus.contains(s)) {
            vus.insert(s);
            noms << s;
        }
    }
    return noms;
}

Famille FamilleDe(const QString& symbole)
{
    // Words looked for in the name, the first family that matches wins:
    // a "wreck buoy" is a danger, a "light float" a light.
    struct Regle {
        Famille famille;
        std::initializer_list<const char*> mots;
    };
    static const Regle regles[] = {
        {Famille::Autre, {"airport", "passport"}},
        {Famille::Danger,
         {"rock", "wreck", "shoal", "snag", "coral", "kelp", "sand", "reef", "danger", "hazard",
          "obstruction", "platform", "exclamation", "warning", "epave", "roche", "haut-fond",
          "ecueil"}},
        {Famille::Feu, {"light", "lite", "feu", "phare"}},
        {Famille::Bouee, {"buoy", "float", "navaid", "beacon", "bouee", "balise", "tourelle"}},
        {Famille::Mouillage, {"anchor", "mooring", "mouillage", "ancre", "corps-mort"}},
        {Famille::Port, {"fuel", "harbo", "marina", "dock", "port", "carburant"}},
    };
    const QString cle = FiltrePOI::Cle(symbole);
    for (const Regle& r : regles)
        for (const char* mot : r.mots)
            if (cle.contains(QLatin1String(mot)))
                return r.famille;
    return Famille::Autre;
}

} // namespace Symboles
