// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Window layouts are given in twips, 1440 to the inch, converted at the
// screen's logical resolution.
class QWidget;

namespace Twips {
int VersPixels(double twips);
double DePixels(int pixels);

// Names a control and places it by its layout values in twips, recording
// its tab index.
void Placer(QWidget* w, const char* nom, int gauche, int haut, int largeur, int hauteur,
            int tabIndex);
} // namespace Twips
