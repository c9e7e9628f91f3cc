// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/Routes.h"
#include "gpx/PoiTable.h"

#include <vector>

// Duplicate marks of the open document, found and merged.
namespace DoublonsPOI {

// Groups of marks (table rows, ascending; groups in the order of their
// first mark) that share a GUID, or lie within metres of each other with
// the same name, case and accents aside (whatever their names with
// toutNom). Groups chain: A near B and B near C make one group.
std::vector<std::vector<int>> Chercher(const PoiTable& table, double metres, bool toutNom);

struct Resultat {
    // Marks merged into others and removed; links of theirs left out past
    // the 50 a mark may hold.
    int retirees = 0;
    int liensLaisses = 0;
};

// Each group kept as its first mark: it keeps its fields and gains the
// others' links (up to 50, none twice), their descriptions after its own
// (a blank line between), their extensions' elements it has none of, and
// the routes' points that stood for them. The others are removed.
Resultat Fusionner(PoiTable& table, Routes& routes, const std::vector<std::vector<int>>& groupes);

} // namespace DoublonsPOI
