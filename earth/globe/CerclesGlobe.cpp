// SPDX-License-Identifier: GPL-3.0-or-later
#include "CerclesGlobe.h"

#include "LignesGlobe.h"
#include "VueGlobe.h"

#include <algorithm>
#include <marble/GeoDataLatLonAltBox.h>
#include <marble/GeoPainter.h>
#include <marble/MarbleMap.h>
#include <marble/ViewportParams.h>

void CerclesGlobe::Poser(const std::vector<MarqueGE>& marques)
{
    cercles.clear();
    for (const MarqueGE& m : marques) {
        if (!m.visible)
            continue;
        const QColor couleur(QRgb(m.couleur | 0xFF000000u));
        for (const CercleGE& c : m.cercles) {
            Trace t{couleur, c};
            t.ouest = t.sud = 1000;
            t.est = t.nord = -1000;
            for (const auto& [lon, lat] : t.cercle.points) {
                t.ouest = std::min(t.ouest, lon);
                t.est = std::max(t.est, lon);
                t.sud = std::min(t.sud, lat);
                t.nord = std::max(t.nord, lat);
            }
            cercles.push_back(std::move(t));
        }
    }
    vue.update();
}

void CerclesGlobe::Dessiner(Marble::GeoPainter& peintre) const
{
    if (cercles.empty())
        return;
    const Marble::GeoDataLatLonAltBox vu = vue.Carte()->viewport()->viewLatLonAltBox();
    peintre.save();
    peintre.setBrush(Qt::NoBrush);
    for (const Trace& t : cercles) {
        // A circle across the antimeridian is always drawn.
        if (t.est - t.ouest < 180 &&
            !vu.intersects(Marble::GeoDataLatLonBox(t.nord, t.sud, t.est, t.ouest,
                                                    Marble::GeoDataCoordinates::Degree)))
            continue;
        peintre.setPen(QPen(t.couleur, t.cercle.arrivee ? 2 : 1.5,
                            t.cercle.arrivee ? Qt::DashLine : Qt::SolidLine));
        TracerLigne(vue, peintre, t.cercle.points);
    }
    peintre.restore();
}
