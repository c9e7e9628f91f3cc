// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QIcon>
#include <QPixmap>

// The program's own small pictures, drawn rather than shipped as files.
namespace Images {
QPixmap DrapeauFrancais();    // 20 x 12
QPixmap DrapeauBritannique(); // 20 x 12
QPixmap MotSelf();            // 25 x 17
QIcon IconeFenetre();
// The texts of both windows: the desktop's sans-serif face at 8.25 points.
QFont PoliceFenetres();
} // namespace Images
