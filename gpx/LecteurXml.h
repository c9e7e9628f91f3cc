// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gpx/Garde.h"
#include "gpx/TableGPX.h"

#include <memory>
#include <string>
#include <string_view>

namespace Gpx {

// The values a reader finds, as it finds them.
class Receveur {
public:
    // A value of waypoint i (of its link k for a link's fields); a later
    // value of the same field replaces it.
    virtual void Poser(Champ champ, int i, int k, std::u16string_view valeur) = 0;
    // The same in UTF-8 that does not start with a byte order mark.
    virtual void PoserUtf8(Champ champ, int i, int k, std::string_view valeur) = 0;
    // What waypoint i held beyond those fields.
    virtual void Garder(int i, std::shared_ptr<const GardePOI> garde) = 0;
    // What the file held beyond its waypoints.
    virtual void GarderFichier(std::shared_ptr<const GardeFichier> garde) = 0;
    // The count, once the file is read.
    virtual void Compter(int16_t nbPOI) = 0;

protected:
    ~Receveur() = default;
};

// How a file was read, and what the user should be told of it.
struct Lecture {
    // False when the file is not well-formed XML (or not GPX) and was read
    // line by line: why, and where, as the XML parser says.
    bool xml = true;
    std::string raison;
    long ligne = 0;
    long colonne = 0;
    bool routesTraces = false;
    // Waypoints beyond the table's capacity, kept for the save.
    long horsCapacite = 0;
};

// A text appended as XML text, or as an attribute's value between double
// quotes (then tabs and line ends as references, which a parser would
// otherwise turn into spaces); a carriage return always as a reference.
void EchapperXml(std::string_view s, bool attribut, std::string& sortie);
// " name=\"value\"", the value escaped, appended.
void AttributXml(std::string_view nom, std::string_view valeur, std::string& sortie);
// An element's or attribute's name without its prefix.
std::string_view NomLocal(std::string_view nom);

// Reads a GPX 1.1 or 1.0 document with the XML parser: waypoints by element
// whatever their layout, texts decoded as the file declares. False, with the
// reason in lecture, when the text is not well-formed XML or its root is not
// a GPX root; the receiver may then hold part of the file.
bool LireXml(std::string_view octets, Receveur& receveur, Lecture& lecture);

} // namespace Gpx
