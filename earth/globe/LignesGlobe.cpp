// SPDX-License-Identifier: GPL-3.0-or-later
#include "LignesGlobe.h"

#include "VueGlobe.h"

#include <QLineF>
#include <QPolygonF>
#include <marble/GeoDataCoordinates.h>
#include <marble/GeoPainter.h>
#include <marble/MarbleMap.h>

namespace {

const QColor Route(176, 32, 144);
const QColor RouteChoisie(230, 40, 30);
const QColor Trace(30, 110, 210);
// How near the pointer a point is taken, in pixels.
constexpr double Portee = 9;

} // namespace

void TracerLigne(VueGlobe& vue, Marble::GeoPainter& peintre,
                 const std::vector<std::pair<double, double>>& points, size_t pas)
{
    QPolygonF trait;
    auto tracer = [&peintre, &trait] {
        if (trait.size() > 1)
            peintre.QPainter::drawPolyline(trait);
        trait.clear();
    };
    for (size_t k = 0; k < points.size();
         k += k + pas < points.size() || k + 1 == points.size() ? pas : points.size() - 1 - k) {
        const auto& [lon, lat] = points[k];
        qreal x = 0, y = 0;
        if (vue.Carte()->screenCoordinates(lon, lat, x, y))
            trait << QPointF(x, y);
        else
            tracer();
    }
    tracer();
}

void LignesGlobe::Poser(std::vector<LigneGE> nouvelles)
{
    lignes = std::move(nouvelles);
    pris = -1;
    vue.update();
}

void LignesGlobe::Construire(bool actif, std::vector<bool> libresDeLaRoute)
{
    construction = actif;
    libres = std::move(libresDeLaRoute);
    pris = -1;
    if (construction)
        vue.setCursor(Qt::CrossCursor);
    else
        vue.unsetCursor();
}

LigneGE* LignesGlobe::Choisie()
{
    for (LigneGE& l : lignes)
        if (l.choisie)
            return &l;
    return nullptr;
}

void LignesGlobe::Dessiner(Marble::GeoPainter& peintre) const
{
    using Marble::GeoDataCoordinates;
    peintre.save();
    peintre.setBrush(Qt::NoBrush);
    // Tracks under routes, the chosen route on top. Drawn straight on
    // screen: with 200 routes of 50 points a repaint at 20 km took 86 ms
    // through Marble's lines, 35 ms so.
    for (int passe = 0; passe < 3; ++passe)
        for (const LigneGE& l : lignes) {
            if ((passe == 0) != l.trace || (passe == 2) != l.choisie)
                continue;
            peintre.setPen(l.trace     ? QPen(Trace, 1.5, Qt::DashLine)
                           : l.choisie ? QPen(RouteChoisie, 3.5)
                                       : QPen(Route, 2));
            TracerLigne(vue, peintre, l.points);
        }
    if (const LigneGE* l = Choisie()) {
        // The chosen route's points, numbered from 1.
        QFont police = peintre.font();
        police.setBold(true);
        peintre.setFont(police);
        for (size_t k = 0; k < l->points.size(); ++k) {
            qreal x = 0, y = 0;
            if (!vue.Carte()->screenCoordinates(l->points[k].first, l->points[k].second, x, y))
                continue;
            const bool libre = k < libres.size() && libres[k];
            peintre.setPen(QPen(RouteChoisie, 2));
            peintre.setBrush(libre ? QColor(255, 255, 255) : QColor(255, 220, 80));
            peintre.drawEllipse(QPointF(x, y), 5, 5);
            peintre.setPen(Qt::black);
            peintre.drawText(QPointF(x + 7, y - 6), QString::number(k + 1));
        }
    }
    peintre.restore();
}

bool LignesGlobe::Cliquer(const QPoint& place, int marque)
{
    if (!construction || !suivi)
        return false;
    if (marque > 0) {
        suivi->MarqueAjoutee(marque);
        return true;
    }
    double lon = 0, lat = 0;
    if (vue.PointEn(place, lon, lat))
        suivi->PointAjoute(lon, lat);
    return true;
}

bool LignesGlobe::Prendre(const QPoint& place)
{
    pris = -1;
    const LigneGE* l = construction ? Choisie() : nullptr;
    if (!l)
        return false;
    for (size_t k = 0; k < l->points.size() && k < libres.size(); ++k) {
        qreal x = 0, y = 0;
        if (!libres[k] ||
            !vue.Carte()->screenCoordinates(l->points[k].first, l->points[k].second, x, y))
            continue;
        if (QLineF(QPointF(x, y), place).length() <= Portee) {
            pris = int(k);
            ecart = QPointF(x, y) - place;
            return true;
        }
    }
    return false;
}

bool LignesGlobe::Glisser(const QPoint& place)
{
    // A point taken is one of the chosen route's: new lines forget it.
    if (pris < 0)
        return false;
    LigneGE* l = Choisie();
    double lon = 0, lat = 0;
    if (vue.PointEn((QPointF(place) + ecart).toPoint(), lon, lat)) {
        l->points[size_t(pris)] = {lon, lat};
        vue.update();
    }
    return true;
}

bool LignesGlobe::Lacher(const QPoint& place)
{
    const int k = pris;
    pris = -1;
    double lon = 0, lat = 0;
    if (k < 0)
        return false;
    if (suivi && vue.PointEn((QPointF(place) + ecart).toPoint(), lon, lat))
        suivi->PointDeplace(k, lon, lat);
    return true;
}

bool LignesGlobe::Echap()
{
    if (!construction)
        return false;
    if (suivi)
        suivi->ConstructionFinie();
    else
        Construire(false, {});
    return true;
}
