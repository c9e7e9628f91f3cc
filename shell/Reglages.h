// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>
#include <memory>

class QWidget;

// The per-user settings store: INI file of organisation and application
// "Quaylight", group "Startup".
namespace Reglages {

inline const char* const Groupe = "Startup";
inline const char* const Creer_POI_MargeG = "Creer_POI_MargeG";
inline const char* const Creer_POI_Haut = "Creer_POI_Haut";
inline const char* const TexteLien1_MargeG = "TexteLien1_MargeG";
inline const char* const TexteLien1_Haut = "TexteLien1_Haut";
inline const char* const Lang = "Lang";
inline const char* const Creer_POI_Largeur = "Creer_POI_Largeur";
inline const char* const Creer_POI_Hauteur = "Creer_POI_Hauteur";

std::unique_ptr<QSettings> Ouvrir();
// The stored text of a key of the group, "" when absent.
QString Lire(const char* cle);
void Ecrire(const char* cle, const QString& valeur);

// Moves a window to the position stored in twips under the two keys, read by
// the user's locale; an absent or non-numeric key leaves that coordinate. The
// window stays on the screens present.
void AppliquerPosition(QWidget& fenetre, const char* cleGauche, const char* cleHaut);
// Stores a window's position in twips, as the shortest decimal text.
void EcrirePosition(const QWidget& fenetre, const char* cleGauche, const char* cleHaut);

// A resizable window's size, stored in twips under the two keys when it is
// larger than its least size, and applied (never below that size) when
// stored; the window stays on the screens present.
void AppliquerTaille(QWidget& fenetre, const char* cleLargeur, const char* cleHauteur);
void EcrireTaille(const QWidget& fenetre, const char* cleLargeur, const char* cleHauteur);

} // namespace Reglages
