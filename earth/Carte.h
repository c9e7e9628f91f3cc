// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class Creer_POI;

// The map steps of the editor's commands, run only when the map is in use.
// Failures of the map never stop the editor.
namespace Carte {

// Before the Open command's dialog: asks whether the map is ready and, when
// it is not, lets the user abort (quit), retry (end the command) or ignore.
// True when the Open command goes on.
bool GardeOuverture(Creer_POI& fenetre);

// After a file has been read: frames its waypoints and shows each one as a
// named placemark.
void AfficherCartePOI();

// After a selection: flies the view to the current waypoint.
void CentrerCartePOI();

// The placemark text of a point: with a name, or none for "" (captures).
QString TextePlacemark(const QString& nom, const QString& lon, const QString& lat,
                       bool nomme = true);

} // namespace Carte
