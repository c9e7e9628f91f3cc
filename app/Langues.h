// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class Creer_POI;
class TexteLien1;
struct EntreeLangue;

namespace Langues {

// The language file of a language code: "en" English, "self" the user's own,
// anything else French.
QString NomFichier(const QString& langue);

// Applies the language file chosen by Langue to both windows, the message
// table and the help address. A missing file changes nothing.
void EtapeLangue(Creer_POI& principale, TexteLien1& description);

// Applies the entries of one file; nothing is reported.
void Charger(const QString& chemin, Creer_POI& principale, TexteLien1& description);

// Applies one entry, each assignment on its own.
void Appliquer(const EntreeLangue& entree, Creer_POI& principale, TexteLien1& description);

} // namespace Langues
