// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

struct PoiTable;

// The symbols a chart plotter draws for a mark (the GPX sym element).
namespace Symboles {

// What the map tells apart: the drawing of a mark.
enum class Famille { Bouee, Feu, Mouillage, Danger, Port, Autre };

// The chart plotter's built-in mark icons, in its order.
const QStringList& Integres();
// The built-in names, then the other names the table uses, in the order
// they first appear.
QStringList Proposes(const PoiTable& table);
// The family of a symbol name, of the chart plotter, of a GPS maker, or a
// sailor's own word for it; Autre when it says nothing known.
Famille FamilleDe(const QString& symbole);

} // namespace Symboles
