// SPDX-License-Identifier: GPL-3.0-or-later
#include "gpx/Codecs.h"

namespace Gpx {

namespace {

bool Suite(unsigned char o)
{
    return (o & 0xC0) == 0x80;
}

// One sequence starting at p (whose first byte is past ASCII): its code
// point and length, or 0 when the byte does not begin a valid sequence.
int Sequence(const unsigned char* p, const unsigned char* fin, char32_t& code)
{
    const unsigned char c = *p;
    int n;
    char32_t minimum;
    if (c <= 0xC1)
        return 0;
    if (c < 0xE0) {
        n = 2;
        minimum = 0x80;
        code = c & 0x1F;
    } else if (c < 0xF0) {
        n = 3;
        minimum = 0x800;
        code = c & 0x0F;
    } else if (c < 0xF5) {
        n = 4;
        minimum = 0x10000;
        code = c & 0x07;
    } else {
        return 0;
    }
    if (fin - p < n)
        return 0;
    for (int k = 1; k < n; ++k) {
        if (!Suite(p[k]))
            return 0;
        code = (code << 6) | (p[k] & 0x3F);
    }
    if (code < minimum || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
        return 0;
    return n;
}

// The byte of a character, or -1 when Windows-1252 lacks it.
int OctetWindows1252(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < int(Windows1252Plage80.size()); ++i)
        if (Windows1252Plage80[i] == c)
            return 0x80 + i;
    return -1;
}

} // namespace

std::u16string DepuisWindows1252(std::string_view octets)
{
    std::u16string texte(octets.size(), u'\0');
    char16_t* sortie = texte.data();
    for (const char octet : octets)
        *sortie++ = CaractereWindows1252(octet);
    return texte;
}

bool VersWindows1252(std::u16string_view texte, std::string& octets, char16_t* manquant)
{
    octets.reserve(octets.size() + texte.size());
    for (const char16_t c : texte) {
        const int o = OctetWindows1252(c);
        if (o < 0) {
            if (manquant)
                *manquant = c;
            return false;
        }
        octets += static_cast<char>(o);
    }
    return true;
}

void AjouterCaractere(char32_t code, std::u16string& texte)
{
    if (code >= 0x10000) {
        texte += char16_t(0xD800 + ((code - 0x10000) >> 10));
        texte += char16_t(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
        texte += char16_t(code);
    }
}

std::u16string Utf8VersTexte(std::string_view octets)
{
    auto p = reinterpret_cast<const unsigned char*>(octets.data());
    const auto fin = p + octets.size();
    std::u16string texte;
    texte.reserve(octets.size());
    if (fin - p >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        p += 3;
    while (p < fin) {
        if (*p < 0x80) {
            texte += char16_t(*p++);
            continue;
        }
        char32_t code = 0;
        const int n = Sequence(p, fin, code);
        if (n == 0) {
            texte += char16_t(0xFFFD);
            ++p;
            continue;
        }
        AjouterCaractere(code, texte);
        p += n;
    }
    return texte;
}

char32_t LireCaractere(std::u16string_view texte, size_t& i)
{
    const char32_t c = texte[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < texte.size() && texte[i + 1] >= 0xDC00 &&
        texte[i + 1] <= 0xDFFF)
        return 0x10000 + ((c - 0xD800) << 10) + (texte[++i] - 0xDC00);
    return c;
}

void AjouterUtf8(std::u16string_view texte, std::string& octets)
{
    for (size_t i = 0; i < texte.size(); ++i) {
        const char32_t c = LireCaractere(texte, i);
        if (c >= 0xD800 && c <= 0xDFFF) {
            octets += '?';
            continue;
        }
        if (c < 0x80) {
            octets += char(c);
        } else if (c < 0x800) {
            octets += char(0xC0 | (c >> 6));
            octets += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            octets += char(0xE0 | (c >> 12));
            octets += char(0x80 | ((c >> 6) & 0x3F));
            octets += char(0x80 | (c & 0x3F));
        } else {
            octets += char(0xF0 | (c >> 18));
            octets += char(0x80 | ((c >> 12) & 0x3F));
            octets += char(0x80 | ((c >> 6) & 0x3F));
            octets += char(0x80 | (c & 0x3F));
        }
    }
}

std::string EnUtf8(std::u16string_view texte)
{
    std::string octets;
    AjouterUtf8(texte, octets);
    return octets;
}

} // namespace Gpx
