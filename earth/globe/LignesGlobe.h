// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ApplicationGE.h"

#include <QPoint>
#include <QPointF>
#include <vector>

class VueGlobe;
namespace Marble {
class GeoPainter;
}

// A line through points (longitude, latitude in degrees), projected point
// by point and drawn straight on screen, broken where a point is out of
// sight (behind the globe); with pas, through every pas-th point only (the
// last always).
void TracerLigne(VueGlobe& vue, Marble::GeoPainter& peintre,
                 const std::vector<std::pair<double, double>>& points, size_t pas = 1);

// The routes and tracks over the globe, drawn at each paint, and the build
// mode of the chosen route: a click on a mark or on open water adds to it,
// a free point of it is dragged, Escape ends the mode.
class LignesGlobe {
public:
    explicit LignesGlobe(VueGlobe& vue) : vue(vue) {}

    void Poser(std::vector<LigneGE> nouvelles);
    void Construire(bool actif, std::vector<bool> libresDeLaRoute);
    bool EnConstruction() const { return construction; }
    void Suivre(SuiviRoutesGE* s) { suivi = s; }

    void Dessiner(Marble::GeoPainter& peintre) const;

    // In the build mode, a click: mark numero joins the route (when not 0),
    // otherwise the point under the place. False outside the mode.
    bool Cliquer(const QPoint& place, int marque);
    // In the build mode, true when a drag from place takes a free point of
    // the chosen route; it follows the pointer and is let go at the end.
    bool Prendre(const QPoint& place);
    bool Glisser(const QPoint& place);
    bool Lacher(const QPoint& place);
    // Escape: the mode ends. False outside the mode.
    bool Echap();

private:
    // The chosen route's line, null when none is chosen.
    LigneGE* Choisie();
    const LigneGE* Choisie() const { return const_cast<LignesGlobe*>(this)->Choisie(); }

    VueGlobe& vue;
    std::vector<LigneGE> lignes;
    bool construction = false;
    std::vector<bool> libres;
    SuiviRoutesGE* suivi = nullptr;
    int pris = -1;
    QPointF ecart;
};
