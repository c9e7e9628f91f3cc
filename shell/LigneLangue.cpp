#include "shell/LigneLangue.h"

namespace {

QString SansEspaces(const QString& s)
{
    int debut = 0;
    int fin = s.size();
    while (debut < fin && s[debut] == QLatin1Char(' '))
        ++debut;
    while (fin > debut && s[fin - 1] == QLatin1Char(' '))
        --fin;
    return s.mid(debut, fin - debut);
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
    entree.nom = SansEspaces(ligne.mid(2, crochet - 2));
    entree.texte1 = SansEspaces(ligne.mid(premiere + 1, derniere - premiere - 1));
    entree.texte2 = SansEspaces(ligne.mid(derniere + 1));
    return true;
}
