#include "shell/Donnees.h"

#include <QDir>
#include <QFileInfo>

namespace Donnees {

QString Chercher(const QString& nomRelatif)
{
    const QString candidats[] = {QDir::current().filePath(nomRelatif),
                                 QStringLiteral(QUAYLIGHT_DATADIR "/") + nomRelatif};
    for (const QString& c : candidats)
        if (QFileInfo::exists(c))
            return c;
    return QString();
}

} // namespace Donnees
