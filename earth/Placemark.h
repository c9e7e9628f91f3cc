// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The fields of a KML Placemark fragment as the editor writes it. Names are
// taken as they stand, so an unescaped "&" or "<" is shown as typed.
struct PlacemarkKml {
    QString nom;
    double longitude = 0;
    double latitude = 0;
};

// False when the fragment has no readable coordinates.
bool LirePlacemark(const QString& kml, PlacemarkKml& resultat);
