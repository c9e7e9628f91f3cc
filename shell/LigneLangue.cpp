// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/LigneLangue.h"

namespace {

// The text without its leading and trailing spaces; tabs stay.
QStringView SansEspaces(QStringView s)
{
    while (!s.isEmpty() && s.front() == QLatin1Char(' '))
        s = s.mid(1);
    while (!s.isEmpty() && s.back() == QLatin1Char(' '))
        s.chop(1);
    return s;
}

} // namespace

bool CouperLigneLangue(const QString& ligne, EntreeLangue& entree)
{
    if (ligne.indexOf(QLatin1Char('[')) != 1)
        return false;
    const int crochet = ligne.lastIndexOf(QLatin1Char(']'));
    const int premiere = ligne.indexOf(QLatin1Char('/'));
    const int derniere = ligne.lastIndexOf(QLatin1Char('/'));
    // Malformed lines are skipped whole.
    if (crochet < 2 || premiere < 0 || premiere == derniere)
        return false;
    entree.code = ligne[0];
    entree.nom = SansEspaces(QStringView(ligne).mid(2, crochet - 2)).toString();
    entree.texte1 =
        SansEspaces(QStringView(ligne).mid(premiere + 1, derniere - premiere - 1)).toString();
    entree.texte2 = SansEspaces(QStringView(ligne).mid(derniere + 1)).toString();
    return true;
}
