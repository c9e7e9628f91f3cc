// SPDX-License-Identifier: GPL-3.0-or-later
#include "CerclesGlobe.h"

#include "LignesGlobe.h"
#include "VueGlobe.h"
#include "earth/Cercles.h"

#include <algorithm>
#include <cmath>
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
            t.longitude = m.longitude;
            t.latitude = m.latitude;
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
        // Its radius on screen: under a pixel it is not drawn, and a small
        // one through fewer points.
        size_t pas = 1;
        qreal cx = 0, cy = 0, nx = 0, ny = 0;
        if (!t.cercle.points.empty() &&
            vue.Carte()->screenCoordinates(t.longitude, t.latitude, cx, cy) &&
            vue.Carte()->screenCoordinates(t.cercle.points[0].first, t.cercle.points[0].second, nx,
                                           ny)) {
            pas = Cercles::Pas(std::hypot(nx - cx, ny - cy), t.cercle.points.size());
            if (pas == 0)
                continue;
        }
        peintre.setPen(QPen(t.couleur, t.cercle.arrivee ? 2 : 1.5,
                            t.cercle.arrivee ? Qt::DashLine : Qt::SolidLine));
        TracerLigne(vue, peintre, t.cercle.points, pas);
    }
    peintre.restore();
}
