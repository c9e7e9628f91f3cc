// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/FiltrePOI.h"
#include "ui/ListeChoix.h"

struct PoiTable;

// The waypoint list: the names of the marks the filter shows, each entry
// standing for its waypoint's row of the table.
class ListeMarques : public ListeChoix {
public:
    using ListeChoix::ListeChoix;

    // Refills the list from the table through the filter, without a selection.
    void Remplir(const PoiTable& table);
    // Shows the marks whose name holds texte; the selected mark stays
    // selected, without a new selection, while it is shown.
    void Filtrer(const PoiTable& table, const QString& texte);
    const FiltrePOI& Filtre() const { return filtre; }

    // The waypoint of the selected entry; 0 when none is selected.
    int PoiChoisi() const { return filtre.Poi(LigneChoisie()); }
    // Selects the entry of a waypoint, or none when it is not shown.
    void Choisir(int poi) { setCurrentRow(filtre.Position(poi)); }

private:
    void Montrer(const PoiTable& table);

    FiltrePOI filtre;
};
