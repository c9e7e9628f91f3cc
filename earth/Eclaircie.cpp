// SPDX-License-Identifier: GPL-3.0-or-later
#include "earth/Eclaircie.h"

#include <cmath>
#include <cstdint>
#include <unordered_set>

namespace Eclaircie {

std::vector<int> NiveauxAffichage(const std::vector<std::pair<double, double>>& positions,
                                  int seuil)
{
    constexpr int Dernier = 18;
    std::vector<int> niveaux(positions.size(), 1);
    if (int(positions.size()) <= seuil)
        return niveaux;
    // The cells taken, by level and position: 2^(level + 2) cells around
    // the world, of 64 pixels at that level.
    std::unordered_set<uint64_t> pris;
    for (size_t i = 0; i < positions.size(); ++i) {
        const double lon = std::fmod(std::fmod(positions[i].first + 180, 360) + 360, 360);
        const double lat = std::fmin(std::fmax(positions[i].second + 90, 0), 180);
        auto cellule = [&](int niveau) {
            const double n = std::ldexp(1.0, niveau + 2);
            return uint64_t(niveau) << 58 | uint64_t(lon / 360 * n) << 29 | uint64_t(lat / 360 * n);
        };
        int niveau = 1;
        while (niveau < Dernier && pris.count(cellule(niveau)))
            ++niveau;
        niveaux[i] = niveau;
        // Drawn from there on, it takes its cell at every deeper level too.
        for (int n = niveau; n <= Dernier; ++n)
            pris.insert(cellule(n));
    }
    return niveaux;
}

int NiveauTuiles(int niveau, const Tuiles& tuiles)
{
    if (niveau > std::ceil(std::log2(tuiles.largeurMax / 256)))
        return Jamais;
    const int n = int(std::ceil(niveau - tuiles.decalage - 1e-9));
    return n < 1 ? 1 : n > tuiles.niveauMax ? tuiles.niveauMax : n;
}

} // namespace Eclaircie
