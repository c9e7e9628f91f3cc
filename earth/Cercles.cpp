// SPDX-License-Identifier: GPL-3.0-or-later
#include "earth/Cercles.h"

#include <GeographicLib/Geodesic.hpp>
#include <cmath>

namespace Cercles {

namespace {

constexpr double MetresParMille = 1852;
// Points of a circle: smooth at any size a mark's circle is drawn.
constexpr int Points = 64;

CercleGE Un(double latitude, double longitude, double milles, bool arrivee)
{
    const GeographicLib::Geodesic& wgs84 = GeographicLib::Geodesic::WGS84();
    CercleGE c;
    c.arrivee = arrivee;
    c.points.reserve(Points + 1);
    for (int k = 0; k <= Points; ++k) {
        double lat = 0, lon = 0;
        wgs84.Direct(latitude, longitude, 360.0 * k / Points, milles * MetresParMille, lat, lon);
        c.points.emplace_back(lon, lat);
    }
    return c;
}

} // namespace

std::vector<CercleGE> Autour(double latitude, double longitude, double rayon, int anneaux,
                             double pas)
{
    std::vector<CercleGE> cercles;
    // Not NaN, not infinite, on the Earth.
    if (!(std::fabs(latitude) <= 90 && std::fabs(longitude) <= 180))
        return cercles;
    if (rayon > 0 && std::isfinite(rayon))
        cercles.push_back(Un(latitude, longitude, rayon, true));
    if (pas > 0 && std::isfinite(pas))
        for (int k = 1; k <= anneaux; ++k)
            cercles.push_back(Un(latitude, longitude, k * pas, false));
    return cercles;
}

} // namespace Cercles
