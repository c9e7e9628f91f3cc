// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Donnees.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace Donnees {

namespace {
QStringList remplacants;
}

QString Chercher(const QString& nomRelatif)
{
    // The installed folder is looked for beside the executable first, so an
    // install moved to another prefix still finds its files.
    const QStringList dossiers = remplacants.isEmpty()
                                     ? QStringList{QDir::currentPath(),
                                                   QCoreApplication::applicationDirPath() +
                                                       QStringLiteral("/" QUAYLIGHT_DATADIR_REL),
                                                   QStringLiteral(QUAYLIGHT_DATADIR)}
                                     : remplacants;
    for (const QString& d : dossiers) {
        const QString c = QDir(d).filePath(nomRelatif);
        if (QFileInfo::exists(c))
            return c;
    }
    return QString();
}

void DefinirDossiers(const QStringList& dossiers)
{
    remplacants = dossiers;
}

} // namespace Donnees
