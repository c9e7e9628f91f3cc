// SPDX-License-Identifier: GPL-3.0-or-later
#include "earth/Placemark.h"

#include <QLocale>
#include <QStringList>

bool LirePlacemark(const QString& kml, PlacemarkKml& resultat)
{
    static const QString debutNom = QStringLiteral("<name>");
    static const QString finNom = QStringLiteral("</name>");
    static const QString debutCoord = QStringLiteral("<coordinates>");
    static const QString finCoord = QStringLiteral("</coordinates>");

    // The coordinates close the fragment, so they are searched from its end:
    // a name may hold any text, tags included.
    const int fc = kml.lastIndexOf(finCoord);
    const int dc = fc < 0 ? -1 : kml.lastIndexOf(debutCoord, fc);
    if (dc < 0)
        return false;
    const QStringList parties =
        kml.mid(dc + debutCoord.size(), fc - dc - debutCoord.size()).split(QLatin1Char(','));
    if (parties.size() < 2)
        return false;
    const QLocale c = QLocale::c();
    bool okLon = false;
    bool okLat = false;
    resultat.longitude = c.toDouble(parties[0].trimmed(), &okLon);
    resultat.latitude = c.toDouble(parties[1].trimmed(), &okLat);
    if (!okLon || !okLat)
        return false;

    resultat.nom.clear();
    const int dn = kml.indexOf(debutNom);
    if (dn >= 0 && dn < dc) {
        const int fn = kml.lastIndexOf(finNom, dc);
        if (fn > dn)
            resultat.nom = kml.mid(dn + debutNom.size(), fn - dn - debutNom.size());
    }
    return true;
}
