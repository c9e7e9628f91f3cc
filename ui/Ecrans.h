#pragma once

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

} // namespace Ecrans
