// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gpx/PoiTable.h"
#include "gpx/Proprietes.h"

#include <QString>
#include <array>
#include <optional>
#include <vector>

// The chart plotter's properties of the chosen marks, as the properties
// dialog shows and changes them.
namespace ProprietesPOI {

// Each property as the marks show it: a text as the file wrote it ("" where
// a mark does not carry it), the visibility flags and the two check boxes
// as "1" or "0" with the chart plotter's defaults; none where the marks
// differ.
using Valeurs = std::array<std::optional<QString>, Gpx::NbProprietes>;
Valeurs Communes(const PoiTable& table, const std::vector<int>& marques);

// What a property shows for one mark, as above.
QString Affichee(const Gpx::Proprietes& p, Gpx::Propriete q);

// The change made on every mark (table rows); the other properties, and
// everything else the marks hold, stay as they are.
void Appliquer(PoiTable& table, const std::vector<int>& marques, const Gpx::Changement& changement);

// The marks without a GUID, in table order.
std::vector<int> SansGuid(const PoiTable& table);
// A fresh GUID for each of these marks.
void DonnerGuids(PoiTable& table, const std::vector<int>& marques);
// How many marks carry a GUID an earlier mark already has.
int GuidsEnDouble(const PoiTable& table);

} // namespace ProprietesPOI
