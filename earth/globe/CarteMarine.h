// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QObject;
class RelaisTuiles;

// The sea chart theme: OpenStreetMap with the OpenSeaMap seamarks over it.
namespace CarteMarine {

inline const char* const Identifiant = "earth/quaylight-carte-marine/quaylight-carte-marine.dgml";

// The relay the theme's tiles come through, from the public tile servers,
// or from those under the address in QUAYLIGHT_TUILES (tests: "/osm/" and
// "/seamark/" below it).
RelaisTuiles* Relais(QObject* parent);

// Writes the theme, with the relay's addresses, into the user's Marble
// folder, where Marble looks for themes and keeps the tiles it has loaded,
// so that an area seen once still shows without a network. Called before
// each loading of the theme: another run of the program may have written
// its own relay there since.
void Installer(const RelaisTuiles& relais);

} // namespace CarteMarine
