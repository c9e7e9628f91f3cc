// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gpx/TableGPX.h"
#include "gpx/UTF8.h"

#include <QString>

using Gpx::MaxLiens;
using Gpx::MaxPOI;

// The waypoint table of the open document, in the editor's strings.
struct PoiTable : Gpx::TableGPX<QString> {};

namespace Gpx {
template <> struct Textes<QString> {
    static bool Etroit(const QString&, std::string_view&) { return false; }
    static std::u16string_view Vue(const QString& s, std::u16string&)
    {
        return {reinterpret_cast<const char16_t*>(s.utf16()), size_t(s.size())};
    }
    static void Affecter(QString& cible, std::u16string_view valeur)
    {
        cible = UTF8::TexteQt(valeur);
    }
    static void AffecterUtf8(QString& cible, std::string_view utf8)
    {
        cible = QString::fromUtf8(utf8.data(), int(utf8.size()));
    }
};
} // namespace Gpx
