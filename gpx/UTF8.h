// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <string_view>

// The editor's text codecs, in Qt strings. Files are Windows-1252, one byte
// per character, on every platform.
namespace UTF8 {

// The characters as they are: no byte order mark is looked for.
inline QString TexteQt(std::u16string_view texte)
{
    return QString(reinterpret_cast<const QChar*>(texte.data()), int(texte.size()));
}

// Every byte becomes one character; the five bytes Windows-1252 leaves
// undefined stand for the control characters of the same number.
QString DepuisWindows1252(std::string_view octets);
inline QString DepuisWindows1252(const QByteArray& octets)
{
    return DepuisWindows1252(std::string_view(octets.constData(), size_t(octets.size())));
}

// The inverse. False, with the first character Windows-1252 lacks in
// manquant, when the text cannot be written; octets is then incomplete.
bool VersWindows1252(QStringView texte, QByteArray& octets, QChar* manquant = nullptr);

// Which character a message should name, e.g. "€" (U+20AC).
QString DecrireCaractere(QChar c);

} // namespace UTF8
