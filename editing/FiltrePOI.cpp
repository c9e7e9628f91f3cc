// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/FiltrePOI.h"

#include "gpx/PoiTable.h"

#include <algorithm>

namespace {

// Appends the key of one character: its base letter without marks, folded.
void AjouterCle(QChar c, QString& cle)
{
    const ushort u = c.unicode();
    if (u < 0x80) {
        cle += QChar(u >= 'A' && u <= 'Z' ? u + 32 : u);
        return;
    }
    switch (u) {
    case 0x00C6: // Æ
    case 0x00E6:
        cle += QLatin1String("ae");
        return;
    case 0x0152: // Œ
    case 0x0153:
        cle += QLatin1String("oe");
        return;
    case 0x00DF: // ß
        cle += QLatin1String("ss");
        return;
    default:
        break;
    }
    if (c.category() == QChar::Mark_NonSpacing || c.category() == QChar::Mark_Enclosing)
        return;
    if (c.decompositionTag() == QChar::Canonical) {
        for (const QChar d : c.decomposition())
            AjouterCle(d, cle);
        return;
    }
    cle += c.toCaseFolded();
}

// Appends the key of a name.
void AjouterCles(const QString& nom, QString& cle)
{
    for (const QChar c : nom)
        AjouterCle(c, cle);
}

} // namespace

QString FiltrePOI::Cle(const QString& nom)
{
    QString cle;
    cle.reserve(nom.size());
    AjouterCles(nom, cle);
    return cle;
}

void FiltrePOI::Appliquer(const PoiTable& table, const QString& t)
{
    texte = t;
    cle = Cle(t);
    pois.clear();
    total = std::max<int>(table.NbPOI, 0);
    if (cle.isEmpty())
        return;
    // One buffer for every name's key: 20,000 names at each key typed.
    QString tampon;
    for (int i = 1; i <= table.NbPOI; ++i) {
        tampon.clear();
        AjouterCles(table.NomPOI[i], tampon);
        if (tampon.contains(cle))
            pois.push_back(i);
    }
}

int FiltrePOI::Poi(int position) const
{
    if (position < 0 || position >= Nombre())
        return 0;
    return Actif() ? pois[size_t(position)] : position + 1;
}

int FiltrePOI::Position(int poi) const
{
    if (poi < 1 || poi > total)
        return -1;
    if (!Actif())
        return poi - 1;
    const auto p = std::lower_bound(pois.begin(), pois.end(), poi);
    return p != pois.end() && *p == poi ? int(p - pois.begin()) : -1;
}
