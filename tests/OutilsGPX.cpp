#include "OutilsGPX.h"

#include <QFile>
#include <QProcess>

namespace OutilsGPX {

QString Resume(const PoiTable& t)
{
    QStringList l;
    for (int i = 1; i <= t.NbPOI; ++i) {
        l << QStringList{QString::number(i),
                         t.LatPOI[i],
                         t.LonPOI[i],
                         t.TempsPOI[i],
                         t.NomPOI[i],
                         t.SymPOI[i],
                         QString::number(t.NbLiens[i])}
                 .join(QLatin1Char('|'));
        for (int k = 1; k <= t.NbLiens[i]; ++k)
            l << QStringLiteral("  %1.%2 %3 | %4")
                     .arg(i)
                     .arg(k)
                     .arg(t.LienHref[i][k], t.LienTexte[i][k]);
    }
    return l.join(QLatin1Char('\n'));
}

bool Ecrire(const QString& chemin, const QByteArray& octets)
{
    QFile f(chemin);
    return f.open(QIODevice::WriteOnly) && f.write(octets) == octets.size();
}

QByteArray Lire(const QString& chemin)
{
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

namespace {

// Splits one CSV line, quotes handled.
QStringList ChampsCsv(const QString& ligne)
{
    QStringList champs;
    QString champ;
    bool guillemets = false;
    for (int i = 0; i < ligne.size(); ++i) {
        const QChar c = ligne[i];
        if (guillemets) {
            if (c == QLatin1Char('"') && i + 1 < ligne.size() && ligne[i + 1] == QLatin1Char('"'))
                champ += c, ++i;
            else if (c == QLatin1Char('"'))
                guillemets = false;
            else
                champ += c;
        } else if (c == QLatin1Char('"')) {
            guillemets = true;
        } else if (c == QLatin1Char(',')) {
            champs << champ;
            champ.clear();
        } else {
            champ += c;
        }
    }
    champs << champ;
    return champs;
}

} // namespace

QString VerifierInterop(const QString& chemin, const PoiTable& table)
{
    QProcess xmllint;
    xmllint.start(QStringLiteral("xmllint"), {QStringLiteral("--noout"), chemin});
    if (!xmllint.waitForFinished(30000) || xmllint.exitStatus() != QProcess::NormalExit ||
        xmllint.exitCode() != 0)
        return QStringLiteral("xmllint: ") + QString::fromUtf8(xmllint.readAllStandardError());

    QProcess babel;
    babel.start(QStringLiteral("gpsbabel"),
                {QStringLiteral("-i"), QStringLiteral("gpx"), QStringLiteral("-f"), chemin,
                 QStringLiteral("-o"), QStringLiteral("unicsv"), QStringLiteral("-F"),
                 QStringLiteral("-")});
    if (!babel.waitForFinished(30000) || babel.exitCode() != 0)
        return QStringLiteral("gpsbabel: ") + QString::fromUtf8(babel.readAllStandardError());
    QStringList lignes = QString::fromUtf8(babel.readAllStandardOutput())
                             .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString& l : lignes)
        l.remove(QLatin1Char('\r'));
    if (table.NbPOI == 0)
        return lignes.size() <= 1 ? QString()
                                  : QStringLiteral("gpsbabel found waypoints in an empty file");
    if (lignes.size() != table.NbPOI + 1)
        return QStringLiteral("gpsbabel found %1 waypoints, expected %2")
            .arg(lignes.size() - 1)
            .arg(table.NbPOI);
    const QStringList entete = ChampsCsv(lignes[0]);
    const int cLat = entete.indexOf(QStringLiteral("Latitude"));
    const int cLon = entete.indexOf(QStringLiteral("Longitude"));
    const int cNom = entete.indexOf(QStringLiteral("Name"));
    if (cLat < 0 || cLon < 0 || cNom < 0)
        return QStringLiteral("unexpected gpsbabel header: ") + lignes[0];
    for (int i = 1; i <= table.NbPOI; ++i) {
        const QStringList c = ChampsCsv(lignes[i]);
        const double lat = c.value(cLat).toDouble();
        const double lon = c.value(cLon).toDouble();
        if (qAbs(lat - table.LatPOI[i].toDouble()) > 1e-6 ||
            qAbs(lon - table.LonPOI[i].toDouble()) > 1e-6)
            return QStringLiteral("position of waypoint %1: %2,%3").arg(i).arg(lat).arg(lon);
        // gpsbabel names an unnamed waypoint itself.
        if (!table.NomPOI[i].isEmpty() && c.value(cNom) != table.NomPOI[i])
            return QStringLiteral("name of waypoint %1: \"%2\", expected \"%3\"")
                .arg(i)
                .arg(c.value(cNom), table.NomPOI[i]);
    }
    return QString();
}

} // namespace OutilsGPX
