// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ApplicationGE.h"

#include <QColor>
#include <vector>

class VueGlobe;
namespace Marble {
class GeoPainter;
}

// The marks' arrival circles and range rings over the globe, at their true
// size on the ground (the editor computes them), in each mark's colour;
// circles out of the view are not projected.
class CerclesGlobe {
public:
    explicit CerclesGlobe(VueGlobe& vue) : vue(vue) {}

    // The circles of the marks shown (hidden marks have none).
    void Poser(const std::vector<MarqueGE>& marques);
    void Dessiner(Marble::GeoPainter& peintre) const;

private:
    struct Trace {
        QColor couleur;
        CercleGE cercle;
        // Its box in degrees, to leave out what the view does not show, and
        // its centre, to draw a small circle through fewer points.
        double ouest = 0, est = 0, sud = 0, nord = 0;
        double longitude = 0, latitude = 0;
    };
    VueGlobe& vue;
    std::vector<Trace> cercles;
};
