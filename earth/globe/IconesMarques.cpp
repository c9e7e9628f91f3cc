// SPDX-License-Identifier: GPL-3.0-or-later
#include "IconesMarques.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <map>

namespace IconesMarques {

namespace {

const QColor Contour(27, 42, 56);

// The drawing of a family in a 20 by 20 square.
void Dessiner(QPainter& p, Symboles::Famille famille)
{
    using Symboles::Famille;
    p.setPen(QPen(Contour, 1.5));
    switch (famille) {
    case Famille::Bouee: {
        // A can buoy on its float.
        p.setBrush(QColor(230, 120, 20));
        p.drawPolygon(QPolygonF({{10, 2}, {15, 14}, {5, 14}}));
        p.drawLine(QPointF(3, 17), QPointF(17, 17));
        break;
    }
    case Famille::Feu: {
        // The magenta flare of a light on a chart, with its point.
        QPainterPath flamme;
        flamme.moveTo(10, 18);
        flamme.cubicTo(3, 10, 6, 4, 10, 1);
        flamme.cubicTo(14, 4, 17, 10, 10, 18);
        p.setBrush(QColor(210, 40, 160));
        p.drawPath(flamme);
        p.setBrush(Contour);
        p.drawEllipse(QPointF(10, 17), 1.5, 1.5);
        break;
    }
    case Famille::Mouillage: {
        // An anchor: ring, shank, stock and arms.
        p.setPen(QPen(QColor(20, 70, 170), 2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(10, 3.5), 2, 2);
        p.drawLine(QPointF(10, 5.5), QPointF(10, 17));
        p.drawLine(QPointF(6, 8), QPointF(14, 8));
        p.drawArc(QRectF(4, 7, 12, 11), 200 * 16, 140 * 16);
        break;
    }
    case Famille::Danger: {
        // A rock or wreck: a red diamond with a cross.
        p.setBrush(QColor(215, 30, 30));
        p.drawPolygon(QPolygonF({{10, 1}, {19, 10}, {10, 19}, {1, 10}}));
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(QPointF(6.5, 10), QPointF(13.5, 10));
        p.drawLine(QPointF(10, 6.5), QPointF(10, 13.5));
        break;
    }
    case Famille::Port: {
        // A harbour or fuel berth: a green square with a quay.
        p.setBrush(QColor(30, 140, 80));
        p.drawRoundedRect(QRectF(2, 2, 16, 16), 3, 3);
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(QPointF(6, 6), QPointF(6, 14));
        p.drawLine(QPointF(6, 14), QPointF(14, 14));
        break;
    }
    case Famille::Autre:
        p.setBrush(QColor(60, 130, 200));
        p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
        break;
    }
}

} // namespace

QImage Icone(Symboles::Famille famille, bool courante)
{
    static std::map<std::pair<int, bool>, QImage> faites;
    QImage& icone = faites[{int(famille), courante}];
    if (!icone.isNull())
        return icone;
    const int cote = courante ? 34 : 20;
    icone = QImage(cote, cote, QImage::Format_ARGB32_Premultiplied);
    icone.fill(Qt::transparent);
    QPainter p(&icone);
    p.setRenderHint(QPainter::Antialiasing);
    if (courante) {
        // A yellow ring that shows on sea, land and chart alike.
        p.setPen(QPen(Contour, 1));
        p.setBrush(QColor(255, 220, 0, 200));
        p.drawEllipse(QRectF(0.5, 0.5, cote - 1, cote - 1));
        p.translate(4, 4);
        p.scale(26.0 / 20, 26.0 / 20);
    }
    Dessiner(p, famille);
    return icone;
}

} // namespace IconesMarques
