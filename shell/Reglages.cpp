#include "shell/Reglages.h"

namespace Reglages {

std::unique_ptr<QSettings> Ouvrir()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("Quaylight"), QStringLiteral("Quaylight"));
}

QString Lire(const char* cle)
{
    auto reglages = Ouvrir();
    reglages->beginGroup(QLatin1String(Groupe));
    return reglages->value(QLatin1String(cle)).toString();
}

} // namespace Reglages
