// SPDX-License-Identifier: GPL-3.0-or-later
#include "gpx/UTF8.h"

#include "gpx/Codecs.h"

namespace UTF8 {

QString DepuisWindows1252(std::string_view octets)
{
    return TexteQt(Gpx::DepuisWindows1252(octets));
}

bool VersWindows1252(QStringView texte, QByteArray& octets, QChar* manquant)
{
    std::string sortie;
    char16_t c = 0;
    const bool ok = Gpx::VersWindows1252(
        {reinterpret_cast<const char16_t*>(texte.utf16()), size_t(texte.size())}, sortie, &c);
    octets = QByteArray::fromStdString(sortie);
    if (!ok && manquant)
        *manquant = QChar(c);
    return ok;
}

QString DecrireCaractere(QChar c)
{
    const QString code = QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("\"%1\" (U+%2)").arg(c.isPrint() ? QString(c) : QString(), code);
}

} // namespace UTF8
