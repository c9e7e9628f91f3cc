// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/Nombres.h"

#include <QLocale>
#include <cmath>

namespace Nombres {

double NombreEnTete(const QString& texte)
{
    QString s;
    s.reserve(texte.size());
    for (const QChar c : texte)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n'))
            s += c;

    auto chiffre = [&s](int i) {
        return i < s.size() && s[i] >= QLatin1Char('0') && s[i] <= QLatin1Char('9');
    };
    int i = 0;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        ++i;
    int chiffres = 0;
    while (chiffre(i))
        ++i, ++chiffres;
    if (i < s.size() && s[i] == QLatin1Char('.')) {
        ++i;
        while (chiffre(i))
            ++i, ++chiffres;
    }
    if (chiffres == 0)
        return 0;
    int fin = i;
    // An exponent counts only when digits follow it.
    if (i < s.size() && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
        int j = i + 1;
        if (j < s.size() && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-')))
            ++j;
        if (chiffre(j)) {
            while (chiffre(j))
                ++j;
            fin = j;
        }
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(s.left(fin), &ok);
    return ok ? v : 0;
}

bool LireCoordonnee(const QString& texte, double& valeur)
{
    bool ok = false;
    valeur = QLocale::c().toDouble(texte.trimmed(), &ok);
    // "nan" and "inf" read as numbers here; they are no position.
    return ok && std::isfinite(valeur);
}

} // namespace Nombres
