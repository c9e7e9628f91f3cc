#pragma once

#include <QByteArray>
#include <QString>

// Text codecs. Files are Windows-1252, one byte per character, on every
// platform; the only UTF-8 text is the name of a waypoint with a time.
namespace UTF8 {

// Every byte becomes one character; the five bytes Windows-1252 leaves
// undefined stand for the control characters of the same number.
QString DepuisWindows1252(const QByteArray& octets);

// The inverse. False, with the first character Windows-1252 lacks in
// manquant, when the text cannot be written; octets is then incomplete.
bool VersWindows1252(QStringView texte, QByteArray& octets, QChar* manquant = nullptr);

// A text read as Windows-1252 decoded again as UTF-8 (invalid sequences give
// U+FFFD).
QString Utf8VersTexte(const QString& texte);

// Which character a message should name, e.g. "€" (U+20AC).
QString DecrireCaractere(QChar c);

} // namespace UTF8
