#include "ui/Twips.h"

#include <QGuiApplication>
#include <QScreen>
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

} // namespace Twips
