// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// Text codecs without Qt, so that the companion tool starts without it.
// Texts are UTF-16 as in the editor; files are Windows-1252, one byte per
// character, and the only UTF-8 text is the name of a waypoint with a time.
namespace Gpx {

// Texts scanned eight bytes at a time, as a word.
namespace Huit {
constexpr uint64_t Un = 0x0101010101010101u;
constexpr uint64_t Haut = 0x8080808080808080u;
inline uint64_t Lire(const char* p)
{
    uint64_t mot;
    std::memcpy(&mot, p, sizeof mot);
    return mot;
}
// Non-zero when one of the eight bytes is zero.
constexpr uint64_t Nul(uint64_t mot)
{
    return (mot - Un) & ~mot & Haut;
}
// Non-zero when one of them is c.
constexpr uint64_t Egal(uint64_t mot, unsigned char c)
{
    return Nul(mot ^ (Un * c));
}
// Non-zero when one of them is past ASCII.
constexpr uint64_t HorsAscii(uint64_t mot)
{
    return mot & Haut;
}
} // namespace Huit

// Bytes 80 to 9F; the rest of Windows-1252 is Latin-1.
inline constexpr std::array<char16_t, 32> Windows1252Plage80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Every byte becomes one character; the five bytes Windows-1252 leaves
// undefined stand for the control characters of the same number.
inline char16_t CaractereWindows1252(char octet)
{
    const auto o = static_cast<unsigned char>(octet);
    return o >= 0x80 && o < 0xA0 ? Windows1252Plage80[o - 0x80] : char16_t(o);
}
std::u16string DepuisWindows1252(std::string_view octets);

// The inverse, appended to octets. False, with the first character
// Windows-1252 lacks in manquant, when the text cannot be written; octets
// then holds the characters before it.
bool VersWindows1252(std::u16string_view texte, std::string& octets, char16_t* manquant = nullptr);

// A code point appended in UTF-16: a surrogate pair beyond U+FFFF.
void AjouterCaractere(char32_t code, std::u16string& texte);

// The reverse: the code point at i, i moved onto the second half of a
// surrogate pair; a lone surrogate is returned as it stands.
char32_t LireCaractere(std::u16string_view texte, size_t& i);

// Bytes decoded as UTF-8 as the editor's toolkit decodes them: a byte order
// mark at the start is dropped and each byte that does not begin a valid
// sequence gives one U+FFFD.
std::u16string Utf8VersTexte(std::string_view octets);

// UTF-16 to UTF-8, appended; a lone surrogate is written "?".
void AjouterUtf8(std::u16string_view texte, std::string& octets);

// UTF-16 to UTF-8 for messages and the tool's output.
std::string EnUtf8(std::u16string_view texte);

} // namespace Gpx
