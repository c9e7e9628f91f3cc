// SPDX-License-Identifier: GPL-3.0-or-later
// The language-line cutter on arbitrary lines.
#include "gpx/UTF8.h"
#include "shell/LigneLangue.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille)
{
    const QString ligne =
        UTF8::DepuisWindows1252(QByteArray(reinterpret_cast<const char*>(donnees), int(taille)));
    EntreeLangue e;
    if (CouperLigneLangue(ligne, e)) {
        if (e.code != ligne[0] || e.nom.size() > ligne.size() || e.texte1.size() > ligne.size() ||
            e.texte2.size() > ligne.size())
            std::abort();
    }
    return 0;
}
