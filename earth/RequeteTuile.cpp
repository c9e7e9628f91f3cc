// SPDX-License-Identifier: GPL-3.0-or-later
#include "earth/RequeteTuile.h"

#include <algorithm>
#include <cstdlib>

namespace RequeteTuile {

namespace {

// Digits at p, at most n of them: their value, p moved past them; false
// when there are none.
bool Nombre(std::string_view s, size_t& p, size_t n, int64_t& valeur)
{
    const size_t debut = p;
    valeur = 0;
    while (p < s.size() && p - debut < n && s[p] >= '0' && s[p] <= '9')
        valeur = valeur * 10 + (s[p++] - '0');
    return p > debut && !(p < s.size() && s[p] >= '0' && s[p] <= '9');
}

bool Mot(std::string_view s, size_t& p, bool (*admis)(char), std::string& mot)
{
    const size_t debut = p;
    while (p < s.size() && admis(s[p]))
        ++p;
    mot.assign(s.substr(debut, p - debut));
    return p > debut && p - debut <= 64;
}

bool Attendu(std::string_view s, size_t& p, std::string_view motif)
{
    if (s.substr(p, motif.size()) != motif)
        return false;
    p += motif.size();
    return true;
}

} // namespace

Tete Lire(std::string_view recu, Tuile& tuile)
{
    const size_t fin = recu.find("\r\n\r\n");
    if (fin == std::string_view::npos)
        return recu.size() > TailleTete ? Tete::Refusee : Tete::Incomplete;
    if (fin + 4 > TailleTete)
        return Tete::Refusee;
    size_t p = 0;
    int64_t z = 0;
    const bool lue =
        Attendu(recu, p, "GET /") &&
        Mot(
            recu, p, [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); },
            tuile.jeton) &&
        Attendu(recu, p, "/") &&
        Mot(
            recu, p, [](char c) { return c >= 'a' && c <= 'z'; }, tuile.source) &&
        Attendu(recu, p, "/") && Nombre(recu, p, 2, z) && Attendu(recu, p, "/") &&
        Nombre(recu, p, 6, tuile.x) && Attendu(recu, p, "/") && Nombre(recu, p, 6, tuile.y) &&
        Attendu(recu, p, ".png HTTP/1.") &&
        (Attendu(recu, p, "0\r\n") || Attendu(recu, p, "1\r\n"));
    if (!lue || z > NiveauMaximum)
        return Tete::Refusee;
    tuile.z = int(z);
    const int64_t cote = int64_t(1) << z;
    return tuile.x < cote && tuile.y < cote ? Tete::Lue : Tete::Refusee;
}

std::string Chemin(const Tuile& tuile)
{
    return std::to_string(tuile.z) + '/' + std::to_string(tuile.x) + '/' + std::to_string(tuile.y) +
           ".png";
}

long Proprietaire(std::string_view texte, uint16_t client, uint16_t serveur)
{
    // "  sl  local_address rem_address   st tx_queue rx_queue tr tm->when
    // retrnsmt   uid ...": addresses as hexadecimal address:port.
    for (size_t debut = texte.find('\n'); debut != std::string_view::npos;) {
        const size_t fin = texte.find('\n', debut + 1);
        const std::string_view ligne =
            texte.substr(debut + 1, fin == std::string_view::npos ? fin : fin - debut - 1);
        debut = fin;
        std::string_view champs[8];
        size_t n = 0;
        for (size_t p = 0; p < ligne.size() && n < 8;) {
            const size_t d = ligne.find_first_not_of(' ', p);
            if (d == std::string_view::npos)
                break;
            const size_t f = std::min(ligne.find(' ', d), ligne.size());
            champs[n++] = ligne.substr(d, f - d);
            p = f;
        }
        if (n < 8)
            continue;
        auto port = [](std::string_view adresse) {
            const size_t deux = adresse.find(':');
            return deux == std::string_view::npos
                       ? -1L
                       : std::strtol(std::string(adresse.substr(deux + 1)).c_str(), nullptr, 16);
        };
        // Loopback, 127.0.0.1, as the kernel prints it.
        const bool boucle =
            champs[1].substr(0, 8) == "0100007F" && champs[2].substr(0, 8) == "0100007F";
        if (boucle && port(champs[1]) == client && port(champs[2]) == serveur)
            return std::strtol(std::string(champs[7]).c_str(), nullptr, 10);
    }
    return -1;
}

} // namespace RequeteTuile
