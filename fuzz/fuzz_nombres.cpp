// SPDX-License-Identifier: GPL-3.0-or-later
// The number and position readers on arbitrary texts: a number or 0, never
// NaN; a position read lies on the Earth.
#include "editing/Nombres.h"
#include "editing/Positions.h"
#include "gpx/UTF8.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille)
{
    const QByteArray octets(reinterpret_cast<const char*>(donnees), int(taille));
    for (const QString& texte : {UTF8::DepuisWindows1252(octets), QString::fromUtf8(octets)}) {
        if (std::isnan(Nombres::NombreEnTete(texte)))
            std::abort();
        double v = 0;
        if (Nombres::LireCoordonnee(texte, v) && std::isnan(v))
            std::abort();
        double lat = NAN;
        double lon = NAN;
        if (Positions::Lire(texte, lat, lon) == Positions::Lecture::Lue &&
            !(std::fabs(lat) <= 90 && std::fabs(lon) <= 180))
            std::abort();
    }
    return 0;
}
