// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <vector>

struct PoiTable;

// The waypoints the list shows: all of them, or those whose name holds the
// filter's text, case and accents aside ("bouee" finds "Bouée"), in table
// order. List position k shows waypoint Poi(k).
class FiltrePOI {
public:
    // Chooses the waypoints of table for texte; an empty texte shows all.
    void Appliquer(const PoiTable& table, const QString& texte);
    // The same text again, on a table that changed.
    void Reappliquer(const PoiTable& table) { Appliquer(table, texte); }

    bool Actif() const { return !cle.isEmpty(); }
    const QString& Texte() const { return texte; }
    // How many marks the list shows.
    int Nombre() const { return Actif() ? int(pois.size()) : total; }
    // The waypoint at a list position; 0 when there is none.
    int Poi(int position) const;
    // The list position of a waypoint; -1 when it is not shown.
    int Position(int poi) const;

    // A name as the filter compares it: case folded, accents and other
    // combining marks dropped, ligatures spelt out.
    static QString Cle(const QString& nom);

private:
    QString texte;
    QString cle;
    std::vector<int> pois;
    int total = 0;
};
