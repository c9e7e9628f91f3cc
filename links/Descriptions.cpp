// SPDX-License-Identifier: GPL-3.0-or-later
#include "links/Descriptions.h"

#include "gpx/Fichiers.h"
#include "gpx/Messages.h"
#include "gpx/UTF8.h"

#include <QFileInfo>

namespace Descriptions {

QString FichierDescriptif(const QString& fichierGPX, const QString& nomPOI)
{
    QString dossier;
    QString nomGpx;
    Fichiers::DecomposerChemin(fichierGPX, dossier, nomGpx);
    QString nom = nomPOI;
    nom.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    if (nom == QLatin1String(".") || nom == QLatin1String(".."))
        nom.prepend(QLatin1Char('_'));
    return dossier + nom + QStringLiteral(".txt");
}

bool Lire(const QString& chemin, QString& texte, QString& erreur)
{
    texte.clear();
    if (!QFileInfo::exists(chemin))
        return true;
    QByteArray octets;
    if (!Fichiers::LireOctets(chemin, octets, erreur))
        return false;
    for (const QString& ligne : Fichiers::Textes(Fichiers::LignesWindows1252(octets))) {
        texte += ligne;
        texte += QStringLiteral("\r\n");
    }
    return true;
}

QString TexteDocument(QString brut)
{
    for (QChar& c : brut) {
        const char16_t u = c.unicode();
        // Paragraph and line separators, and the frame marks of a document.
        if (u == 0x2029 || u == 0x2028 || u == 0xFDD0 || u == 0xFDD1)
            c = QLatin1Char('\n');
    }
    return brut;
}

bool Ecrire(const QString& chemin, const QString& texte, QString& erreur)
{
    QString lignes = texte;
    lignes.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lignes.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    lignes.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    lignes += QStringLiteral("\r\n");
    QByteArray octets;
    QChar manquant;
    if (!UTF8::VersWindows1252(lignes, octets, &manquant)) {
        erreur =
            Messages::Texte(Messages::CaractereWindows1252).arg(UTF8::DecrireCaractere(manquant));
        return false;
    }
    return Fichiers::EcrireOctets(chemin, octets, erreur);
}

bool InsererLien(PoiTable& table, int i, const QString& chemin)
{
    if (table.NbLiens(i) >= 1 && table.LienTexte[i][1] == QLatin1String("Description"))
        return false;
    // First in the list; a waypoint that has its 50 links keeps them all.
    table.InsererLien(i, 1, QStringLiteral("file://") + chemin, QStringLiteral("Description"));
    return true;
}

} // namespace Descriptions
