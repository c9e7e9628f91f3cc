// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Reglages.h"

#include "shell/EcransPresents.h"
#include "shell/Twips.h"

#include <QLocale>
#include <QWidget>
#include <algorithm>

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

void Ecrire(const char* cle, const QString& valeur)
{
    auto reglages = Ouvrir();
    reglages->beginGroup(QLatin1String(Groupe));
    reglages->setValue(QLatin1String(cle), valeur);
}

void AppliquerPosition(QWidget& fenetre, const char* cleGauche, const char* cleHaut)
{
    QPoint position = fenetre.pos();
    // A damaged value stays a whole number of pixels far off the screens,
    // which the move onto the screens then corrects.
    auto lire = [](const char* cle, int& pixels) {
        bool ok = false;
        const float twips = QLocale().toFloat(Lire(cle), &ok);
        if (ok)
            pixels = Twips::VersPixels(std::clamp(double(twips), -1e8, 1e8));
    };
    lire(cleGauche, position.rx());
    lire(cleHaut, position.ry());
    fenetre.move(Ecrans::RentrerSurLesEcrans(QRect(position, fenetre.frameGeometry().size())));
}

void EcrirePosition(const QWidget& fenetre, const char* cleGauche, const char* cleHaut)
{
    // The user's locale, without digit grouping; a whole number has no
    // decimal part.
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    auto texte = [&locale](int pixels) {
        // Whole twips, as a position on screen is whole pixels.
        const float twips = static_cast<float>(qRound(Twips::DePixels(pixels)));
        return locale.toString(twips, 'f', QLocale::FloatingPointShortest);
    };
    Ecrire(cleGauche, texte(fenetre.pos().x()));
    Ecrire(cleHaut, texte(fenetre.pos().y()));
}

} // namespace Reglages
