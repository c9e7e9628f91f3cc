// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QVector>

// Windows placed from stored positions must stay where the user can see them.
namespace Ecrans {

// Where a window of geometry fenetre goes so that it lies on one of the
// screens (their available areas): unchanged when it already fits on one,
// otherwise moved onto the nearest screen by the least distance. A window
// larger than a screen keeps its top left corner on it.
QPoint Rentrer(const QRect& fenetre, const QVector<QRect>& ecrans);

// A new window whose client area has size voulue beside the window voisine
// (its frame), on the side of the screen ecran with more room, a gap marge
// between them; narrower when the room is smaller, down to largeurMin, and
// lower when the screen is; its frame, of margins cadre, counted in. Where
// no side has that room, it goes at the right of voisine in full size, for
// Rentrer to bring back. The client area it gives.
QRect ACote(const QRect& voisine, const QSize& voulue, int largeurMin, int marge,
            const QRect& ecran, const QMargins& cadre = {});

// The client area of a window (client inside its frame cadre) moved and, if
// need be, shrunk so that its frame lies inside ecran.
QRect DansLEcran(const QRect& cadre, const QRect& client, const QRect& ecran);

} // namespace Ecrans
