// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Positions as sailors write them off charts, pilot books and plotters:
// degrees, minutes and seconds with or without their signs, hemisphere
// letters (N, S, E, W, and O for ouest) before or after each coordinate,
// decimal degrees separated by blanks, ";" or a comma.
namespace Positions {

enum class Lecture {
    Lue,      // a position, within the Earth's bounds
    Refusee,  // written as a position, but one that cannot be: a sign with a
              // letter, minutes or seconds of 60 or more, a coordinate out of
              // bounds, text left over
    Inconnue, // nothing a sailor writes for a position
};

// Reads a text into decimal degrees. The latitude comes first unless the
// letters say otherwise ("W 4 29 N 48 23").
Lecture Lire(const QString& texte, double& latitude, double& longitude);

// A coordinate as stored: decimal degrees with ".", at most 6 decimals,
// trailing zeros dropped ("48.3905", "-4.486").
QString Texte(double degres);

} // namespace Positions
