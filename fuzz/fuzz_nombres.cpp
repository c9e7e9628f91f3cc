// The number readers on arbitrary texts: a number or 0, never NaN.
#include "editing/Nombres.h"
#include "gpx/UTF8.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille)
{
    const QString texte =
        UTF8::DepuisWindows1252(QByteArray(reinterpret_cast<const char*>(donnees), int(taille)));
    if (std::isnan(Nombres::NombreEnTete(texte)))
        std::abort();
    double v = 0;
    if (Nombres::LireCoordonnee(texte, v) && std::isnan(v))
        std::abort();
    return 0;
}
