// SPDX-License-Identifier: GPL-3.0-or-later
#include "gpx/Importation.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <zlib.h>

namespace Importation {

const char* const Filtres =
    "Poi d'autres formats (*.kml *.kmz *.csv *.wpt *.gdb *.geojson *.json *.nmea);;"
    "KML, KMZ (*.kml *.kmz);;CSV (*.csv);;OziExplorer (*.wpt);;Garmin (*.gdb);;"
    "GeoJSON (*.geojson *.json);;NMEA (*.nmea)";

namespace {

std::string Extension(std::string_view chemin)
{
    const size_t point = chemin.find_last_of("./");
    if (point == std::string_view::npos || chemin[point] != '.')
        return {};
    std::string e(chemin.substr(point + 1));
    std::transform(e.begin(), e.end(), e.begin(),
                   [](unsigned char c) { return char(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return e;
}

uint32_t Mot(std::string_view s, size_t p, int octets)
{
    uint32_t v = 0;
    for (int k = octets - 1; k >= 0; --k)
        v = v << 8 | static_cast<unsigned char>(s[p + size_t(k)]);
    return v;
}

} // namespace

std::string Format(std::string_view chemin)
{
    static const struct {
        const char* extension;
        const char* format;
    } Formats[] = {{"kml", "kml"}, {"kmz", "kml"},         {"csv", "unicsv"},   {"wpt", "ozi"},
                   {"gdb", "gdb"}, {"geojson", "geojson"}, {"json", "geojson"}, {"nmea", "nmea"}};
    const std::string e = Extension(chemin);
    for (const auto& f : Formats)
        if (e == f.extension)
            return f.format;
    return {};
}

bool EstKmz(std::string_view chemin)
{
    return Extension(chemin) == "kmz";
}

std::vector<std::string> Arguments(const std::string& format, const std::string& source,
                                   const std::string& cible)
{
    return {"gpsbabel", "-i", format, "-f", source, "-o", "gpx,gpxver=1.1", "-F", cible};
}

bool ExtraireKml(std::string_view z, std::string& kml, std::string& raison)
{
    // The local headers one after the other: signature, then the fields.
    for (size_t p = 0; p + 30 <= z.size() && Mot(z, p, 4) == 0x04034b50;) {
        const uint32_t drapeaux = Mot(z, p + 6, 2);
        const uint32_t methode = Mot(z, p + 8, 2);
        const uint32_t compresse = Mot(z, p + 18, 4);
        const uint32_t taille = Mot(z, p + 22, 4);
        const uint32_t nom = Mot(z, p + 26, 2);
        const uint32_t extra = Mot(z, p + 28, 2);
        const size_t donnees = p + 30 + nom + extra;
        // Sizes written after the data (bit 3) are not read here.
        if ((drapeaux & 8) || donnees + compresse > z.size() || taille > (256u << 20)) {
            raison = "the KMZ archive's layout is not supported";
            return false;
        }
        const std::string_view entree = z.substr(p + 30, nom);
        const bool estKml = entree.size() > 4 && Extension(entree) == "kml";
        if (estKml && methode == 0) {
            kml.assign(z.substr(donnees, compresse));
            return true;
        }
        if (estKml && methode == 8) {
            kml.assign(taille, '\0');
            z_stream flux{};
            if (inflateInit2(&flux, -MAX_WBITS) != Z_OK) {
                raison = "no decompressor";
                return false;
            }
            flux.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(z.data() + donnees));
            flux.avail_in = compresse;
            flux.next_out = reinterpret_cast<Bytef*>(kml.data());
            flux.avail_out = taille;
            const int r = inflate(&flux, Z_FINISH);
            inflateEnd(&flux);
            if (r != Z_STREAM_END || flux.total_out != taille) {
                raison = "the KMZ archive is damaged";
                return false;
            }
            return true;
        }
        p = donnees + compresse;
    }
    raison = "no KML document in the KMZ archive";
    return false;
}

} // namespace Importation
