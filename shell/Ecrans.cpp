// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Ecrans.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace Ecrans {

namespace {

// The coordinate nearest v that keeps a length taille inside the span of
// place from debut, or debut when it is longer than the span.
int Borner(int v, int debut, int taille, int place)
{
    return std::max(debut, std::min(v, debut + place - taille));
}

} // namespace

QPoint Rentrer(const QRect& fenetre, const QVector<QRect>& ecrans)
{
    QPoint meilleur = fenetre.topLeft();
    long long distance = std::numeric_limits<long long>::max();
    for (const QRect& e : ecrans) {
        if (e.isEmpty())
            continue;
        if (e.contains(fenetre))
            return fenetre.topLeft();
        const QPoint p(Borner(fenetre.x(), e.x(), fenetre.width(), e.width()),
                       Borner(fenetre.y(), e.y(), fenetre.height(), e.height()));
        const long long dx = std::llabs(static_cast<long long>(p.x()) - fenetre.x());
        const long long dy = std::llabs(static_cast<long long>(p.y()) - fenetre.y());
        if (dx * dx + dy * dy < distance) {
            distance = dx * dx + dy * dy;
            meilleur = p;
        }
    }
    return meilleur;
}

QRect ACote(const QRect& voisine, const QSize& voulue, int largeurMin, int marge,
            const QRect& ecran, const QMargins& cadre)
{
    const int bords = cadre.left() + cadre.right();
    const int droite = ecran.x() + ecran.width() - (voisine.x() + voisine.width() + marge) - bords;
    const int gauche = voisine.x() - marge - ecran.x() - bords;
    const int hauteur = std::min(voulue.height(), ecran.height() - cadre.top() - cadre.bottom());
    const int haut =
        Borner(voisine.y(), ecran.y(), hauteur + cadre.top() + cadre.bottom(), ecran.height()) +
        cadre.top();
    const int aDroite = voisine.x() + voisine.width() + marge + cadre.left();
    if (std::max(droite, gauche) < largeurMin)
        return QRect(aDroite, haut, voulue.width(), hauteur);
    if (droite >= gauche)
        return QRect(aDroite, haut, std::min(voulue.width(), droite), hauteur);
    const int largeur = std::min(voulue.width(), gauche);
    return QRect(voisine.x() - marge - cadre.right() - largeur, haut, largeur, hauteur);
}

QRect DansLEcran(const QRect& cadre, const QRect& client, const QRect& ecran)
{
    const int gauche = client.x() - cadre.x();
    const int haut = client.y() - cadre.y();
    const int bordsL = cadre.width() - client.width();
    const int bordsH = cadre.height() - client.height();
    const int largeur = std::max(1, std::min(client.width(), ecran.width() - bordsL));
    const int hauteur = std::max(1, std::min(client.height(), ecran.height() - bordsH));
    const int x = Borner(cadre.x(), ecran.x(), largeur + bordsL, ecran.width());
    const int y = Borner(cadre.y(), ecran.y(), hauteur + bordsH, ecran.height());
    return QRect(x + gauche, y + haut, largeur, hauteur);
}

} // namespace Ecrans
