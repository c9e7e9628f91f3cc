// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/Gerer_POI.h"

#include "gpx/PoiTable.h"

#include <QListWidget>

namespace Gerer_POI {

void RemplirListePOI(QListWidget& liste, const PoiTable& table)
{
    liste.clear();
    const int16_t nombre = table.NbPOI;
    for (int i = 1; i <= nombre; ++i)
        liste.addItem(table.NomPOI[i]);
}

} // namespace Gerer_POI
