#pragma once

// The sea chart theme: OpenStreetMap with the OpenSeaMap seamarks over it.
namespace CarteMarine {

inline const char* const Identifiant = "earth/quaylight-carte-marine/quaylight-carte-marine.dgml";

// Writes the theme into the user's Marble folder, where Marble looks for
// themes and keeps the tiles it has loaded, so that an area seen once
// still shows without a network. The tile servers are the public ones,
// or those under the address in QUAYLIGHT_TUILES (tests: "/osm/" and
// "/seamark/" below it).
void Installer();

} // namespace CarteMarine
