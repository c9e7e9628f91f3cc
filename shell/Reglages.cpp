#include "shell/Reglages.h"

#include "ui/Twips.h"

#include <QLocale>
#include <QWidget>

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
    bool ok = false;
    const float gauche = QLocale().toFloat(Lire(cleGauche), &ok);
    if (ok)
        fenetre.move(Twips::VersPixels(gauche), fenetre.pos().y());
    const float haut = QLocale().toFloat(Lire(cleHaut), &ok);
    if (ok)
        fenetre.move(fenetre.pos().x(), Twips::VersPixels(haut));
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
