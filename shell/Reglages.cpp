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

namespace {

// A key stored in twips, read by the user's locale into pixels, kept
// within bounds; an absent or non-numeric key leaves pixels as they are.
void LireTwips(const char* cle, double min, double max, int& pixels)
{
    bool ok = false;
    const float twips = QLocale().toFloat(Lire(cle), &ok);
    if (ok)
        pixels = Twips::VersPixels(std::clamp(double(twips), min, max));
}

} // namespace

void AppliquerPosition(QWidget& fenetre, const char* cleGauche, const char* cleHaut)
{
    QPoint position = fenetre.pos();
    // A damaged value stays a whole number of pixels far off the screens,
    // which the move onto the screens then corrects.
    LireTwips(cleGauche, -1e8, 1e8, position.rx());
    LireTwips(cleHaut, -1e8, 1e8, position.ry());
    fenetre.move(Ecrans::RentrerSurLesEcrans(QRect(position, fenetre.frameGeometry().size())));
}

namespace {

// Whole twips in the user's locale, without digit grouping; a whole number
// has no decimal part.
QString TexteTwips(int pixels)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    // Whole twips, as a position on screen is whole pixels.
    const float twips = static_cast<float>(qRound(Twips::DePixels(pixels)));
    return locale.toString(twips, 'f', QLocale::FloatingPointShortest);
}

} // namespace

void EcrirePosition(const QWidget& fenetre, const char* cleGauche, const char* cleHaut)
{
    Ecrire(cleGauche, TexteTwips(fenetre.pos().x()));
    Ecrire(cleHaut, TexteTwips(fenetre.pos().y()));
}

void AppliquerTaille(QWidget& fenetre, const char* cleLargeur, const char* cleHauteur)
{
    QSize taille = fenetre.size();
    LireTwips(cleLargeur, 0, 1e6, taille.rwidth());
    LireTwips(cleHauteur, 0, 1e6, taille.rheight());
    fenetre.resize(taille.expandedTo(fenetre.minimumSizeHint()));
    fenetre.move(Ecrans::RentrerSurLesEcrans(fenetre.frameGeometry()));
}

void EcrireTaille(const QWidget& fenetre, const char* cleLargeur, const char* cleHauteur)
{
    const QSize moindre = fenetre.minimumSizeHint();
    if (fenetre.width() <= moindre.width() && fenetre.height() <= moindre.height())
        return;
    Ecrire(cleLargeur, TexteTwips(fenetre.width()));
    Ecrire(cleHauteur, TexteTwips(fenetre.height()));
}

} // namespace Reglages
