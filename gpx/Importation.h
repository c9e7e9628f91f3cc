// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Marks from other formats, converted to GPX by gpsbabel (a program of its
// own, run by the editor and the companion tool). Plain C++.
namespace Importation {

// The file dialog's filters.
extern const char* const Filtres;

// gpsbabel's name of a file's format, by its extension (any case); "" when
// the extension is not one of those read. A KMZ archive reads as KML once
// its KML is taken out.
std::string Format(std::string_view chemin);
bool EstKmz(std::string_view chemin);

// gpsbabel's arguments (the program's name first) to convert source, of
// format, into the GPX file cible.
std::vector<std::string> Arguments(const std::string& format, const std::string& source,
                                   const std::string& cible);

// The first KML document of a KMZ archive (a ZIP file, stored or deflated);
// false with the reason.
bool ExtraireKml(std::string_view kmz, std::string& kml, std::string& raison);

} // namespace Importation
