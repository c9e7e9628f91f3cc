// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ApplicationGE.h"

#include <cmath>
#include <vector>

// The arrival circle and range rings of a mark, on WGS84 at their true
// size: each circle as points (longitude, latitude in degrees) around it.
namespace Cercles {

// The arrival circle of rayon nautical miles (none at 0), then anneaux
// rings pas nautical miles apart; nothing around a position off the Earth.
std::vector<CercleGE> Autour(double latitude, double longitude, double rayon, int anneaux,
                             double pas);

// The step through the points of a circle drawn rayonEcran pixels from its
// mark: 1, every point, but for a small circle, whose segments would be
// under 6 pixels, down to one point in 16; 0 under a pixel, where it is not
// drawn at all. Here, for the globe's plugin, which does not link the
// geodesics.
inline size_t Pas(double rayonEcran, size_t points)
{
    if (!(rayonEcran >= 1))
        return 0;
    size_t pas = 1;
    // 1,600 circles of 65 points took 60 ms a repaint at the widest view.
    while (points > 1 && pas < 16 && 2 * M_PI * rayonEcran / double(points - 1) * double(pas) < 6)
        pas *= 2;
    return pas;
}

} // namespace Cercles
