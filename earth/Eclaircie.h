// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <utility>
#include <vector>

// A crowded map thinned as the view needs: the zoom level from which each
// mark is drawn, so that at any level at most one mark stands in a cell of
// about 64 pixels (the first in the file's order) and the map stays quick
// to draw with thousands of marks. Marble's zoom level n shows the world
// about 256 times 2^n pixels wide.
namespace Eclaircie {

// Up to this many marks, every mark is drawn at every level.
constexpr int Seuil = 500;

// Levels 1 to 18 for marks given as longitude, latitude in degrees; all 1
// when there are at most seuil marks.
std::vector<int> NiveauxAffichage(const std::vector<std::pair<double, double>>& positions,
                                  int seuil = Seuil);

} // namespace Eclaircie
