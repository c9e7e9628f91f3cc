// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gpx/TableGPX.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace Gpx {

// A text in as few bytes as it allows: the size of a pointer in a table,
// and one byte per character on the heap when every character is below
// U+0100, two otherwise. The companion tool's table holds 10,000 of them,
// and each page it touches costs time.
class TexteCourt {
public:
    TexteCourt() = default;
    TexteCourt(const TexteCourt& autre) { Affecter(autre); }
    TexteCourt(TexteCourt&&) noexcept = default;
    TexteCourt& operator=(const TexteCourt& autre)
    {
        if (this != &autre)
            Affecter(autre);
        return *this;
    }
    TexteCourt& operator=(TexteCourt&&) noexcept = default;

    void clear() { bloc.reset(); }
    bool empty() const { return !bloc; }
    void Affecter(std::u16string_view texte);
    // The same from UTF-8; ASCII, most of a file, is stored as it stands.
    void AffecterUtf8(std::string_view utf8);
    // The characters, widened into tampon when they are kept one byte each.
    std::u16string_view Vue(std::u16string& tampon) const;
    // The bytes of a text kept one byte per character (Latin-1); false for
    // one kept in two.
    bool Etroit(std::string_view& octets) const
    {
        if (!bloc) {
            octets = {};
            return true;
        }
        const uint32_t entete = Entete(bloc.get());
        if (entete & 1)
            return false;
        octets = {reinterpret_cast<const char*>(bloc.get()) + sizeof entete, entete >> 1};
        return true;
    }

private:
    void Affecter(const TexteCourt& autre);
    static uint32_t Entete(const unsigned char* bloc)
    {
        uint32_t entete;
        std::memcpy(&entete, bloc, sizeof entete);
        return entete;
    }

    // The size shifted left by one, the low bit set for two bytes per
    // character; then the characters. Null for an empty text.
    std::unique_ptr<unsigned char[]> bloc;
};

template <> struct Textes<TexteCourt> {
    static std::u16string_view Vue(const TexteCourt& s, std::u16string& tampon)
    {
        return s.Vue(tampon);
    }
    static void Affecter(TexteCourt& cible, std::u16string_view valeur) { cible.Affecter(valeur); }
    static void AffecterUtf8(TexteCourt& cible, std::string_view utf8) { cible.AffecterUtf8(utf8); }
    static bool Etroit(const TexteCourt& s, std::string_view& octets) { return s.Etroit(octets); }
};

} // namespace Gpx
