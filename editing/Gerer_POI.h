// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QListWidget;
struct PoiTable;

namespace Gerer_POI {
// Refills the waypoint list from the name column: item k shows waypoint k + 1.
// The list is left without a selection.
void RemplirListePOI(QListWidget& liste, const PoiTable& table);
} // namespace Gerer_POI
