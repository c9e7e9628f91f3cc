// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/Positions.h"

#include <QVector>
#include <cmath>

namespace Positions {

namespace {

enum class Unite { Aucune, Degre, Minute, Seconde };

// A piece of the text: a number with its unit mark, a hemisphere letter, or
// a separator between the two coordinates.
struct Jeton {
    enum Genre { Nombre, Lettre, Separateur } genre;
    explicit Jeton(Genre g = Nombre) : genre(g) {}
    double valeur = 0;
    bool entier = true;
    bool signe = false; // a sign was written
    Unite unite = Unite::Aucune;
    QChar lettre;
};

struct Coordonnee {
    double valeur = 0;
    QChar hemisphere; // N or E, null without a letter
};

// The typographic variants of the marks, as their plain forms.
QString Normaliser(QString t)
{
    for (QChar& c : t) {
        const char16_t u = c.unicode();
        if (u == 0x2032 || u == 0x2019 || u == 0x2018 || u == 0x02B9)
            c = QLatin1Char('\'');
        else if (u == 0x2033 || u == 0x201D || u == 0x201C || u == 0x02BA)
            c = QLatin1Char('"');
        else if (u == 0x00BA || u == 0x02DA)
            c = QChar(0x00B0);
        else if (u == 0x2212)
            c = QLatin1Char('-');
    }
    return t.replace(QLatin1String("''"), QLatin1String("\"")).trimmed();
}

bool Chiffre(const QString& t, int i)
{
    return i >= 0 && i < t.size() && t[i].isDigit() && t[i].unicode() < 128;
}

bool EstLettre(QChar c)
{
    return QStringLiteral("NSEWOnsewo").contains(c);
}

// The pieces of the text; false when something else stands in it.
bool Decouper(const QString& t, bool virgulesDecimales, QVector<Jeton>& jetons)
{
    for (int i = 0; i < t.size();) {
        const QChar c = t[i];
        const bool signe = (c == QLatin1Char('-') || c == QLatin1Char('+')) &&
                           (Chiffre(t, i + 1) || (t.mid(i + 1, 1) == "." && Chiffre(t, i + 2)));
        if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char(',') || c == QLatin1Char(';') || c == QLatin1Char('/')) {
            jetons.append(Jeton(Jeton::Separateur));
            ++i;
        } else if (Chiffre(t, i) || signe || (c == QLatin1Char('.') && Chiffre(t, i + 1))) {
            const int debut = i;
            i += signe ? 1 : 0;
            while (Chiffre(t, i))
                ++i;
            const bool decimale = i < t.size() && Chiffre(t, i + 1) &&
                                  (t[i] == QLatin1Char('.') ||
                                   (t[i] == QLatin1Char(',') && virgulesDecimales && i > debut));
            if (decimale)
                for (++i; Chiffre(t, i);)
                    ++i;
            Jeton j(Jeton::Nombre);
            j.valeur =
                t.mid(debut, i - debut).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
            j.entier = !decimale;
            j.signe = signe;
            jetons.append(j);
        } else if (c == QChar(0x00B0) || c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            if (jetons.isEmpty() || jetons.last().genre != Jeton::Nombre ||
                jetons.last().unite != Unite::Aucune)
                return false;
            jetons.last().unite = c == QChar(0x00B0)       ? Unite::Degre
                                  : c == QLatin1Char('\'') ? Unite::Minute
                                                           : Unite::Seconde;
            ++i;
        } else if (EstLettre(c) && !(i + 1 < t.size() && t[i + 1].isLetter()) &&
                   !(i > 0 && t[i - 1].isLetter())) {
            Jeton j(Jeton::Lettre);
            j.lettre = c.toUpper();
            jetons.append(j);
            ++i;
        } else {
            return false;
        }
    }
    return true;
}

// One coordinate from its pieces: degrees, minutes and seconds in that order
// (marked or not), a sign or a letter before or after.
bool Assembler(const QVector<Jeton>& jetons, Coordonnee& c)
{
    QVector<Jeton> nombres;
    QChar lettre;
    for (int k = 0; k < jetons.size(); ++k) {
        if (jetons[k].genre == Jeton::Nombre) {
            nombres.append(jetons[k]);
        } else if (jetons[k].genre == Jeton::Lettre && lettre.isNull() &&
                   (k == 0 || k == jetons.size() - 1)) {
            lettre = jetons[k].lettre;
        } else {
            return false;
        }
    }
    if (nombres.isEmpty() || nombres.size() > 3)
        return false;
    int prochaine = int(Unite::Degre);
    double valeur = 0;
    for (int k = 0; k < nombres.size(); ++k) {
        const Jeton& n = nombres[k];
        const int unite = n.unite == Unite::Aucune ? prochaine : int(n.unite);
        // Units in order, a sign only in front, decimals only at the end.
        if (unite < prochaine || unite > int(Unite::Seconde) || (k > 0 && n.signe) ||
            (!n.entier && k + 1 < nombres.size()))
            return false;
        const double v = std::fabs(n.valeur);
        if (unite != int(Unite::Degre) && v >= 60)
            return false;
        valeur += v / (unite == int(Unite::Degre) ? 1 : unite == int(Unite::Minute) ? 60 : 3600);
        prochaine = unite + 1;
    }
    if (nombres[0].signe && !lettre.isNull())
        return false;
    // signbit also tells "-0" from "0" ("-0 30" is half a degree west).
    const bool negatif = std::signbit(nombres[0].valeur) || lettre == QLatin1Char('S') ||
                         lettre == QLatin1Char('W') || lettre == QLatin1Char('O');
    c.valeur = negatif ? -valeur : valeur;
    c.hemisphere = lettre.isNull()                         ? QChar()
                   : QStringLiteral("NS").contains(lettre) ? QLatin1Char('N')
                                                           : QLatin1Char('E');
    return true;
}

// Where the second coordinate starts; -1 when the pieces do not say.
int Coupure(const QVector<Jeton>& j)
{
    QVector<int> separateurs, lettres, degres, nombres;
    for (int k = 0; k < j.size(); ++k) {
        if (j[k].genre == Jeton::Separateur)
            separateurs << k;
        else if (j[k].genre == Jeton::Lettre)
            lettres << k;
        else if (j[k].unite == Unite::Degre)
            degres << k;
        if (j[k].genre == Jeton::Nombre)
            nombres << k;
    }
    if (!separateurs.isEmpty())
        return separateurs.size() == 1 ? separateurs[0] : -1;
    // Letters in front of each coordinate, or after each.
    if (lettres.size() == 2 && lettres[0] == 0)
        return lettres[1];
    if (!lettres.isEmpty() && lettres[0] > 0 && lettres[0] + 1 < j.size())
        return lettres[0] + 1;
    if (!degres.isEmpty())
        return degres.size() == 2 ? degres[1] : -1;
    const int n = nombres.size();
    return n == 2 || n == 4 || n == 6 ? nombres[n / 2] : -1;
}

} // namespace

Lecture Lire(const QString& texte, double& latitude, double& longitude)
{
    const QString t = Normaliser(texte);
    bool chiffres = false;
    for (int i = 0; i < t.size(); ++i)
        chiffres = chiffres || Chiffre(t, i);
    if (!chiffres)
        return Lecture::Inconnue;
    // A comma between two digits is a decimal comma only when something else
    // separates the numbers: "48,5,-4,3" is no position anyone can be sure of.
    bool structure = false;
    for (const QChar c : t)
        structure = structure || c.isSpace() || c == QLatin1Char(';') || EstLettre(c) ||
                    QStringLiteral("\u00B0'\"").contains(c);
    if (!structure && t.count(QLatin1Char(',')) > 1)
        return Lecture::Inconnue;

    QVector<Jeton> jetons;
    if (!Decouper(t, structure, jetons))
        return Lecture::Refusee;
    const int coupure = Coupure(jetons);
    if (coupure <= 0 || coupure >= jetons.size())
        return Lecture::Refusee;
    const bool separateur = jetons[coupure].genre == Jeton::Separateur;
    Coordonnee a, b;
    if (!Assembler(jetons.mid(0, coupure), a) ||
        !Assembler(jetons.mid(coupure + (separateur ? 1 : 0)), b))
        return Lecture::Refusee;
    // The letters may say the longitude comes first.
    if (!a.hemisphere.isNull() && a.hemisphere == b.hemisphere)
        return Lecture::Refusee;
    if (a.hemisphere == QLatin1Char('E') || b.hemisphere == QLatin1Char('N'))
        std::swap(a, b);
    if (std::fabs(a.valeur) > 90 || std::fabs(b.valeur) > 180)
        return Lecture::Refusee;
    latitude = a.valeur;
    longitude = b.valeur;
    return Lecture::Lue;
}

QString Texte(double degres)
{
    QString t = QString::number(degres, 'f', 6);
    while (t.endsWith(QLatin1Char('0')))
        t.chop(1);
    if (t.endsWith(QLatin1Char('.')))
        t.chop(1);
    return t == QLatin1String("-0") ? QStringLiteral("0") : t;
}

} // namespace Positions
