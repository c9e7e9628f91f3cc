// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ApplicationGE.h"

#include <vector>

// The arrival circle and range rings of a mark, on WGS84 at their true
// size: each circle as points (longitude, latitude in degrees) around it.
namespace Cercles {

// The arrival circle of rayon nautical miles (none at 0), then anneaux
// rings pas nautical miles apart; nothing around a position off the Earth.
std::vector<CercleGE> Autour(double latitude, double longitude, double rayon, int anneaux,
                             double pas);

} // namespace Cercles
