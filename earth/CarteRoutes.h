// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/Routes.h"
#include "gpx/PoiTable.h"
#include "shell/ApplicationGE.h"

#include <vector>

// The routes' layer of the map: every route a line through its points, the
// chosen one standing out, the file's tracks thin lines; and the mode in
// which the chosen route is built by clicks on the map. Runs only on a map
// that draws routes; a failing map never stops the editor.
namespace CarteRoutes {

// The lines of the routes (route choisie standing out, -1 for none) and of
// the tracks the table's file kept.
std::vector<LigneGE> Lignes(const PoiTable& table, const Routes& routes, int choisie);

// The lines shown on the map.
void Poser(const PoiTable& table, const Routes& routes, int choisie);

// The build mode of route r on the map, or none (r = -1).
void Construire(const PoiTable& table, const Routes& routes, int r);

// Who hears of the build mode's clicks and drags; null for nobody.
void Suivre(SuiviRoutesGE* suivi);

} // namespace CarteRoutes
