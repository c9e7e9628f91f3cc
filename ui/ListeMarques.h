// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/FiltrePOI.h"
#include "ui/ListeChoix.h"

#include <vector>

struct PoiTable;

// The waypoint list: the names of the marks the filter shows, each entry
// standing for its waypoint's row of the table. Shift and Ctrl with a click
// or the arrows, and Ctrl+A, choose several.
class ListeMarques : public ListeChoix {
public:
    explicit ListeMarques(QWidget* parent);

    // Refills the list from the table through the filter, without a selection.
    void Remplir(const PoiTable& table);
    // Shows the marks whose name holds texte; the marks chosen stay chosen,
    // without a new selection, while they are shown.
    void Filtrer(const PoiTable& table, const QString& texte);
    const FiltrePOI& Filtre() const { return filtre; }

    // The waypoint of the selected entry; 0 unless exactly one is selected.
    int PoiChoisi() const;
    // The waypoints of the selected entries, ascending.
    std::vector<int> PoisChoisis() const;
    // Selects the entry of a waypoint alone, or none when it is not shown.
    void Choisir(int poi) { setCurrentRow(filtre.Position(poi)); }
    // The entry at row alone selected and current, or none for -1: as a
    // single-selection list does, whatever was chosen before.
    void setCurrentRow(int row);
    // Selects the entries of waypoints (ascending), those shown.
    void Choisir(const std::vector<int>& pois);

private:
    void Montrer(const PoiTable& table);

    FiltrePOI filtre;
};
