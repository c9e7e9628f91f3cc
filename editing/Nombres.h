// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Numbers typed or stored as text. The decimal separator is always ".",
// whatever the user's locale: positions move between machines as they are.
namespace Nombres {

// The leading decimal number of a text (optional sign, digits, ".", optional
// exponent), spaces, tabs and line feeds anywhere ignored; 0 when the text
// does not begin with a number.
double NombreEnTete(const QString& texte);

// A coordinate typed by the user: the whole text must be a finite number,
// blanks around it and a sign allowed. False when it is not.
bool LireCoordonnee(const QString& texte, double& valeur);

} // namespace Nombres
