// SPDX-License-Identifier: GPL-3.0-or-later
#include "gpx/Calques.h"

#include <QDir>
#include <QFileInfo>

namespace Calques {

Dossiers Chercher(const QString& maison)
{
    const QDir m(maison);
    Dossiers d;
    d.classique = m.filePath(QStringLiteral(".opencpn/layers"));
    d.flatpak = m.filePath(QStringLiteral(".var/app/org.opencpn.OpenCPN/config/opencpn/layers"));
    d.classiqueExiste = QFileInfo(m.filePath(QStringLiteral(".opencpn"))).isDir();
    d.flatpakExiste =
        QFileInfo(m.filePath(QStringLiteral(".var/app/org.opencpn.OpenCPN/config/opencpn")))
            .isDir();
    return d;
}

QString NomFichier(const QString& nom)
{
    QString n = nom.trimmed();
    n.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    if (n.isEmpty() || n == QLatin1String(".") || n == QLatin1String(".."))
        return n.isEmpty() ? QString() : QLatin1Char('_') + n;
    if (!n.endsWith(QLatin1String(".gpx"), Qt::CaseInsensitive))
        n += QLatin1String(".gpx");
    return n;
}

PoiTable Extraire(const PoiTable& table, const std::vector<int>& marques)
{
    PoiTable calque;
    for (const int i : marques)
        calque.Poser(calque.AjouterLigne(), table.Prendre(i));
    if (table.Fichier) {
        auto fichier = std::make_shared<Gpx::GardeFichier>();
        fichier->attributs = table.Fichier->attributs;
        fichier->schemas = table.Fichier->schemas;
        calque.Fichier = std::move(fichier);
    }
    return calque;
}

} // namespace Calques
