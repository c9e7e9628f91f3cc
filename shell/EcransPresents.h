// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/Ecrans.h"

#include <QGuiApplication>
#include <QScreen>

// Apart from the rules in Ecrans, which need only QtCore: the screens of
// this session, for the windows of the editor and of the globe.
namespace Ecrans {

// Rentrer on the available areas of the screens present.
inline QPoint RentrerSurLesEcrans(const QRect& fenetre)
{
    QVector<QRect> zones;
    for (const QScreen* e : QGuiApplication::screens())
        zones << e->availableGeometry();
    return Rentrer(fenetre, zones);
}

} // namespace Ecrans
