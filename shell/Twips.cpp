// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace Twips {

namespace {
double PointsParPouce()
{
    const QScreen* ecran = QGuiApplication::primaryScreen();
    return ecran ? ecran->logicalDotsPerInch() : 96.0;
}
} // namespace

int VersPixels(double twips)
{
    return static_cast<int>(std::lround(twips * PointsParPouce() / 1440.0));
}

double DePixels(int pixels)
{
    return pixels * 1440.0 / PointsParPouce();
}

void Placer(QWidget* w, const char* nom, int gauche, int haut, int largeur, int hauteur,
            int tabIndex)
{
    w->setObjectName(QLatin1String(nom));
    w->setGeometry(VersPixels(gauche), VersPixels(haut), VersPixels(largeur), VersPixels(hauteur));
    w->setProperty("tabIndex", tabIndex);
}

} // namespace Twips
