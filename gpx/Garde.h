// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>
#include <vector>

// What a GPX file held beyond the fields the editor edits, as XML ready to
// be written back (UTF-8, one element a line, indented as the writer lays
// out the rest). The reader fills it; the writer puts each piece where the
// GPX 1.1 schema wants it.
namespace Gpx {

struct GardePOI {
    // Attributes of the waypoint's tag beyond lat and lon (namespace
    // declarations above all), each " name=\"value\"".
    std::string attributs;
    // Elements by their place among the edited ones: ele; magvar and
    // geoidheight; cmt, desc and src; the waypoint's own type; fix to
    // dgpsid and elements GPX does not define.
    std::string avantTemps;
    std::string avantNom;
    std::string avantLiens;
    std::string type;
    std::string apresType;
    // The extensions' attributes and children, foreign elements of the
    // waypoint moved in among them; whether the chart plotter's visibility
    // flags are there already.
    std::string attributsExtensions;
    std::string extensions;
    bool viz = false;
    bool vizNom = false;
    // A prefix the file gives the chart plotter's elements beyond the
    // writer's own "opencpn", ":" included ("" where its namespace is the
    // default one).
    std::string prefixeOpenCpn = "opencpn:";
    // The MIME types of its links, by link: target and text in UTF-8 as
    // the table holds them, separated by a line feed; the type escaped.
    std::vector<std::pair<std::string, std::string>> typesLiens;
};

struct GardeFichier {
    // Attributes for the root beyond the writer's own (namespace
    // declarations the kept content needs), each " name=\"value\"", and the
    // schema locations beyond GPX's, each " namespace location".
    std::string attributs;
    std::string schemas;
    // metadata; waypoints beyond the table's capacity; routes; tracks;
    // elements GPX does not define; the root's extensions' children. The
    // large ones an element a piece: one string growing to tens of
    // megabytes would hold twice its size while it moves.
    std::string metadata;
    std::vector<std::string> surplus;
    std::vector<std::string> routes;
    std::vector<std::string> traces;
    std::vector<std::string> autres;
    std::string attributsExtensions;
    std::string extensions;
    bool aExtensions = false;
};

} // namespace Gpx
