// SPDX-License-Identifier: GPL-3.0-or-later
#include "gpx/TexteCourt.h"

#include "gpx/Codecs.h"

#include <cstring>

namespace Gpx {

void TexteCourt::Affecter(std::u16string_view texte)
{
    if (texte.empty()) {
        bloc.reset();
        return;
    }
    bool large = false;
    for (const char16_t c : texte)
        large = large || c > 0xFF;
    const uint32_t entete = uint32_t(texte.size()) << 1 | (large ? 1 : 0);
    bloc.reset(new unsigned char[sizeof entete + texte.size() * (large ? 2 : 1)]);
    std::memcpy(bloc.get(), &entete, sizeof entete);
    unsigned char* d = bloc.get() + sizeof entete;
    if (large)
        std::memcpy(d, texte.data(), texte.size() * 2);
    else
        for (const char16_t c : texte)
            *d++ = static_cast<unsigned char>(c);
}

void TexteCourt::AffecterUtf8(std::string_view utf8)
{
    // ASCII eight bytes at a time.
    size_t i = 0;
    while (i + 8 <= utf8.size() && !Huit::HorsAscii(Huit::Lire(utf8.data() + i)))
        i += 8;
    for (; i < utf8.size(); ++i)
        if (static_cast<unsigned char>(utf8[i]) >= 0x80) {
            Affecter(Utf8VersTexte(utf8));
            return;
        }
    if (utf8.empty()) {
        bloc.reset();
        return;
    }
    const uint32_t entete = uint32_t(utf8.size()) << 1;
    bloc.reset(new unsigned char[sizeof entete + utf8.size()]);
    std::memcpy(bloc.get(), &entete, sizeof entete);
    std::memcpy(bloc.get() + sizeof entete, utf8.data(), utf8.size());
}

void TexteCourt::Affecter(const TexteCourt& autre)
{
    if (!autre.bloc) {
        bloc.reset();
        return;
    }
    const uint32_t entete = Entete(autre.bloc.get());
    const size_t taille = (entete >> 1) * ((entete & 1) ? 2 : 1) + sizeof entete;
    bloc.reset(new unsigned char[taille]);
    std::memcpy(bloc.get(), autre.bloc.get(), taille);
}

std::u16string_view TexteCourt::Vue(std::u16string& tampon) const
{
    if (!bloc)
        return {};
    const uint32_t entete = Entete(bloc.get());
    const size_t n = entete >> 1;
    const unsigned char* d = bloc.get() + sizeof entete;
    if (entete & 1)
        return {reinterpret_cast<const char16_t*>(d), n};
    tampon.assign(d, d + n);
    return tampon;
}

} // namespace Gpx
