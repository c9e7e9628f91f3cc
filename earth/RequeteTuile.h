// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The tile relay's reading of what its clients send: plain C++, so that it
// is fuzzed and tested without a network.
namespace RequeteTuile {

constexpr size_t TailleTete = 8192;
constexpr int NiveauMaximum = 18;

struct Tuile {
    std::string jeton;
    std::string source;
    int z = 0;
    int64_t x = 0;
    int64_t y = 0;
};

enum class Tete {
    Incomplete, // the blank line has not come yet, and the head is within its size
    Refusee,    // too long, or not a request this relay serves
    Lue
};

// Reads the request head among the bytes a client sent so far: "GET
// /token/source/z/x/y.png HTTP/1.x", the token in lower-case hexadecimal,
// the source in lower-case letters, z up to 18 and x, y within the level.
// The whole head, up to its blank line, counts in the size limit.
Tete Lire(std::string_view recu, Tuile& tuile);

// The path the tile has upstream: "z/x/y.png", the numbers as parsed.
std::string Chemin(const Tuile& tuile);

// The owner of the loopback TCP connection from port client to port
// serveur in the text of /proc/net/tcp; -1 when no line is that connection.
long Proprietaire(std::string_view procNetTcp, uint16_t client, uint16_t serveur);

} // namespace RequeteTuile
