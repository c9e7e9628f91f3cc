// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gpx/PoiTable.h"

#include <QString>
#include <vector>

// The chart plotter's layers: GPX files in a folder of its own, which it
// shows read only.
namespace Calques {

struct Dossiers {
    // ~/.opencpn/layers and the Flatpak installation's; whether each
    // installation exists (its configuration folder).
    QString classique;
    QString flatpak;
    bool classiqueExiste = false;
    bool flatpakExiste = false;
};
Dossiers Chercher(const QString& maison);

// A layer's file name for the name the user gave: a folder separator
// becomes "_", ".gpx" is added when missing; "" for an empty name.
QString NomFichier(const QString& nom);

// The table of these marks alone (table rows), each with all it holds and
// the namespaces its content needs; none of the file's routes, tracks or
// metadata.
PoiTable Extraire(const PoiTable& table, const std::vector<int>& marques);

} // namespace Calques
