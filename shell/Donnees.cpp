#include "shell/Donnees.h"

#include <QDir>
#include <QFileInfo>

namespace Donnees {

namespace {
QStringList remplacants;
}

QString Chercher(const QString& nomRelatif)
{
    const QStringList dossiers =
        remplacants.isEmpty() ? QStringList{QDir::currentPath(), QStringLiteral(QUAYLIGHT_DATADIR)}
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
