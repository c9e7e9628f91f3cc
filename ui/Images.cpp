// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Images.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

namespace Images {

QPixmap DrapeauFrancais()
{
    QPixmap p(20, 12);
    QPainter g(&p);
    g.fillRect(0, 0, 7, 12, QColor(0, 35, 149));
    g.fillRect(7, 0, 6, 12, Qt::white);
    g.fillRect(13, 0, 7, 12, QColor(237, 41, 57));
    return p;
}

QPixmap DrapeauBritannique()
{
    QPixmap p(20, 12);
    p.fill(QColor(1, 33, 105));
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    const QColor rouge(200, 16, 46);
    g.setPen(QPen(Qt::white, 3));
    g.drawLine(0, 0, 20, 12);
    g.drawLine(0, 12, 20, 0);
    g.setPen(QPen(rouge, 1));
    g.drawLine(0, 0, 20, 12);
    g.drawLine(0, 12, 20, 0);
    g.setRenderHint(QPainter::Antialiasing, false);
    g.fillRect(8, 0, 4, 12, Qt::white);
    g.fillRect(0, 4, 20, 4, Qt::white);
    g.fillRect(9, 0, 2, 12, rouge);
    g.fillRect(0, 5, 20, 2, rouge);
    return p;
}

QPixmap MotSelf()
{
    QPixmap p(25, 17);
    p.fill(QColor(255, 255, 224));
    QPainter g(&p);
    g.setPen(QColor(0, 0, 128));
    g.drawRect(0, 0, 24, 16);
    QFont f = g.font();
    f.setPixelSize(10);
    f.setBold(true);
    g.setFont(f);
    g.drawText(QRect(0, 0, 25, 17), Qt::AlignCenter, QStringLiteral("Self"));
    return p;
}

QIcon IconeFenetre()
{
    // A sea-blue disc with a red and white mark buoy.
    QIcon icone;
    for (int taille : {16, 32, 48, 64}) {
        QPixmap p(taille, taille);
        p.fill(Qt::transparent);
        QPainter g(&p);
        g.setRenderHint(QPainter::Antialiasing);
        g.scale(taille / 64.0, taille / 64.0);
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(16, 78, 139));
        g.drawEllipse(2, 2, 60, 60);
        g.setBrush(QColor(90, 160, 220));
        g.drawRect(8, 44, 48, 6);
        g.setBrush(QColor(220, 30, 40));
        QPainterPath bouee;
        bouee.moveTo(32, 10);
        bouee.lineTo(44, 46);
        bouee.lineTo(20, 46);
        bouee.closeSubpath();
        g.drawPath(bouee);
        g.setBrush(Qt::white);
        g.drawRect(24, 28, 16, 6);
        icone.addPixmap(p);
    }
    return icone;
}

QFont PoliceFenetres()
{
    QFont police = QGuiApplication::font();
    police.setPointSizeF(8.25);
    return police;
}

} // namespace Images
