// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class Creer_POI;
class TexteLien1;

// Start-up: shared state, both windows, stored positions, the language step,
// the map question and, after "Oui", the map object and its readiness.
namespace Entree {

enum class Etape {
    Arretee,        // not started, or ended by Terminer
    AttenteReponse, // "Utiliser Google Earth ?" is open
    AttenteCarte,   // the map object is being polled until ready
    Terminee,
};

// Runs start-up up to the map question and returns; the rest runs when the
// question is answered, so the menus stay usable meanwhile. A file named
// there is opened once start-up is over, as the Open command opens it.
void Demarrer(const QString& fichier = QString());
Etape EtapeCourante();

Creer_POI* FenetrePrincipale();
TexteLien1* FenetreDescription();

// Destroys both windows and the map object (end of the program, end of a test).
void Terminer();

// The help page shipped with the program, as an address for the browser.
QString AdresseAideParDefaut();

// Interval of the readiness poll of the map object, in milliseconds.
constexpr int IntervalleSondage = 50;

} // namespace Entree
