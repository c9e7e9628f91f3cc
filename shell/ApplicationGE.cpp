// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ApplicationGE.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

namespace Carte {

namespace {

QStringList DossiersPlugin()
{
    // Beside the executable in the build tree, then where it is installed.
    const QString ici = QCoreApplication::applicationDirPath();
    return {ici, ici + QStringLiteral("/" QUAYLIGHT_PLUGINDIR_REL),
            QStringLiteral(QUAYLIGHT_PLUGINDIR)};
}

} // namespace

std::unique_ptr<ApplicationGE> CreerObjet(const QString& identifiant, QString* erreur)
{
    auto echec = [erreur](const QString& raison) {
        if (erreur)
            *erreur = raison;
        return std::unique_ptr<ApplicationGE>();
    };
    if (identifiant != QLatin1String(IdentifiantGE))
        return echec(QStringLiteral("unknown object %1").arg(identifiant));

    QString raisons;
    for (const QString& dossier : DossiersPlugin()) {
        const QString chemin = dossier + QStringLiteral("/libquaylight_globe.so");
        if (!QFileInfo::exists(chemin))
            continue;
        QPluginLoader chargeur(chemin);
        auto* fabrique = qobject_cast<FabriqueGlobe*>(chargeur.instance());
        if (!fabrique) {
            raisons += chargeur.errorString() + QLatin1Char('\n');
            continue;
        }
        if (auto objet = fabrique->Creer())
            return objet;
        raisons += QStringLiteral("%1: the globe could not be created\n").arg(chemin);
    }
    return echec(raisons.isEmpty() ? QStringLiteral("the globe plugin is not installed")
                                   : raisons.trimmed());
}

} // namespace Carte
