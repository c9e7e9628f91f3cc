#pragma once

class Creer_POI;

// The map steps of the editor's commands, run only when the map is in use.
namespace Carte {

// Before the Open command's dialog: asks whether the map is ready and, when
// it is not, lets the user abort (quit), retry (end the command) or ignore.
// True when the Open command goes on.
bool GardeOuverture(Creer_POI& fenetre);

// After a file has been read: frames its waypoints and shows them.
void AfficherCartePOI();

// After a selection: flies the view to the current waypoint.
void CentrerCartePOI();

} // namespace Carte
