#include "gpx/UTF8.h"

#include <array>

namespace UTF8 {

namespace {

// Bytes 80 to 9F; the rest of Windows-1252 is Latin-1.
constexpr std::array<char16_t, 32> Plage80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The byte of a character, or -1 when Windows-1252 lacks it.
int Octet(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < int(Plage80.size()); ++i)
        if (Plage80[i] == c)
            return 0x80 + i;
    return -1;
}

} // namespace

QString DepuisWindows1252(const QByteArray& octets)
{
    QString texte(octets.size(), Qt::Uninitialized);
    QChar* sortie = texte.data();
    for (int i = 0; i < octets.size(); ++i) {
        const auto o = static_cast<unsigned char>(octets[i]);
        sortie[i] = QChar(o >= 0x80 && o < 0xA0 ? Plage80[o - 0x80] : char16_t(o));
    }
    return texte;
}

bool VersWindows1252(QStringView texte, QByteArray& octets, QChar* manquant)
{
    octets.resize(texte.size());
    char* sortie = octets.data();
    const QChar* entree = texte.data();
    for (int i = 0; i < texte.size(); ++i) {
        const int o = Octet(entree[i].unicode());
        if (o < 0) {
            if (manquant)
                *manquant = entree[i];
            octets.truncate(i);
            return false;
        }
        sortie[i] = static_cast<char>(o);
    }
    return true;
}

QString Utf8VersTexte(const QString& texte)
{
    if (texte.isEmpty())
        return texte;
    QByteArray octets;
    if (!VersWindows1252(texte, octets)) {
        // Not a text read from a file: it is already decoded.
        return texte;
    }
    return QString::fromUtf8(octets);
}

QString DecrireCaractere(QChar c)
{
    const QString code = QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("\"%1\" (U+%2)").arg(c.isPrint() ? QString(c) : QString(), code);
}

} // namespace UTF8
