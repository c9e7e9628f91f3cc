// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gpx/Garde.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The routes of a GPX document: read from the texts the reader keeps, their
// legs along the rhumb line, and written back as the chart plotter reads
// them. Plain C++, shared by the editor and the companion tool.
namespace Gpx {

// A point of a route. One whose GUID is a mark's stands for that mark: the
// editor takes its name, symbol and position from the mark; otherwise it is
// a free point with its own.
struct PointRoute {
    std::string nom;
    std::string sym;
    std::string lat;
    std::string lon;
    std::string guid;
    // What the point held beyond those, as read, by its place in GPX 1.1:
    // attributes beyond lat and lon; ele to geoidheight; cmt to link; type
    // to dgpsid and elements GPX does not define; extensions but the GUID.
    std::string attributs;
    std::string avantNom;
    std::string avantSym;
    std::string apresSym;
    std::string extensions;
};

struct Route {
    std::string nom;
    std::vector<PointRoute> points;
    // Knots; the chart plotter's default when the file gives none.
    double vitesse = 5.0;
    // ISO 8601 in UTC ("2026-06-01T08:00:00Z"), "" when none.
    std::string depart;
    std::string guid;
    std::string viz = "1";
    // What the route held beyond those, as read: attributes; cmt to type;
    // extensions that are not the chart plotter's route fields.
    std::string attributs;
    std::string avantExtensions;
    std::string extensions;
    // The route's text as read, written back as it stands until the route
    // changes; "" for a new or changed route.
    std::string lue;
};

constexpr double VitesseParDefaut = 5.0;

// The route of a text the reader kept ("\t<rte>...</rte>\r\n"). A text that
// is not a route reads as an empty route that is written back as it was.
Route LireRoute(const std::string& texte);

// The routes of a whole GPX document in one pass, without its marks, each
// handed to chaque as soon as it is read: false when expat cannot read the
// document (not well-formed, or an encoding it does not know), for the
// reader that keeps everything to read it instead.
bool LireRoutes(std::string_view document, const std::function<void(Route&)>& chaque);

// The route as the writer lays it out: its text as read when it has one,
// otherwise written from its fields.
std::string TexteRoute(const Route& route);

// A position given as texts: valid when both are decimal numbers on the
// Earth (latitude within ±90, longitude within ±180).
struct Position {
    bool valide = false;
    double lat = 0;
    double lon = 0;
};
Position LirePosition(std::string_view lat, std::string_view lon);

// A leg along the rhumb line on WGS84: nautical miles and degrees true
// from 0 to below 360. Not valid when either end has no valid position.
struct Troncon {
    bool valide = false;
    double distance = 0;
    double cap = 0;
};
Troncon Rhumb(const Position& de, const Position& a);

// The segments of a track's text as the reader kept it: the points with a
// position of each.
std::vector<std::vector<Position>> LireTrace(const std::string& texte);

// A fresh GUID in the chart plotter's form (a random UUID, lower case).
std::string NouveauGuid();

// The GUID a mark's kept extensions give it; "" when none.
std::string GuidDeGarde(const GardePOI* garde);

// The mark's kept content with a GUID added to its extensions.
GardePOI AvecGuid(const GardePOI* garde, const std::string& guid);

// A number of nautical miles with 3 decimals, a bearing with one (0.0 to
// 359.9), as the companion tool and the panel print them.
std::string TexteMilles(double milles);
std::string TexteCap(double cap);

// Seconds since 1970 of an ISO 8601 time in UTC; none when it is not one.
std::optional<long long> LireDepart(std::string_view iso);

} // namespace Gpx
