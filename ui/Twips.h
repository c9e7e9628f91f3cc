#pragma once

// Window layouts are given in twips, 1440 to the inch, converted at the
// screen's logical resolution.
namespace Twips {
int VersPixels(double twips);
double DePixels(int pixels);
} // namespace Twips
