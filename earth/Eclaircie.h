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

// How a map theme's tiles go with the levels above: its tile level n shows
// the world 256 times 2^(n + decalage) pixels wide, up to niveauMax, and its
// closest view shows it largeurMax pixels wide. Marble draws a mark from the
// theme's tile level on, so a mark's level is given in the theme's.
struct Tuiles {
    double decalage = 0;
    int niveauMax = 18;
    double largeurMax = 1e12;
};

// The level past every tile level: a mark never drawn.
constexpr int Jamais = 20;

// A mark's level in the theme's tile levels; Jamais for one that even the
// closest view would draw over another.
int NiveauTuiles(int niveau, const Tuiles& tuiles);

} // namespace Eclaircie
