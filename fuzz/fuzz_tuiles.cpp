// SPDX-License-Identifier: GPL-3.0-or-later
// The tile relay's request-head reader on arbitrary bytes: never a crash, a
// tile served lies within its level, and its request written again reads
// the same.
#include "earth/RequeteTuile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille)
{
    const std::string_view recu(reinterpret_cast<const char*>(donnees), taille);
    RequeteTuile::Tuile t;
    if (RequeteTuile::Lire(recu, t) != RequeteTuile::Tete::Lue)
        return 0;
    if (t.z < 0 || t.z > RequeteTuile::NiveauMaximum || t.x < 0 || t.y < 0 ||
        t.x >= (int64_t(1) << t.z) || t.y >= (int64_t(1) << t.z) || recu.size() < 4)
        std::abort();
    RequeteTuile::Tuile u;
    const std::string encore =
        "GET /" + t.jeton + '/' + t.source + '/' + RequeteTuile::Chemin(t) + " HTTP/1.1\r\n\r\n";
    if (RequeteTuile::Lire(encore, u) != RequeteTuile::Tete::Lue ||
        RequeteTuile::Chemin(u) != RequeteTuile::Chemin(t) || u.jeton != t.jeton)
        std::abort();
    return 0;
}
