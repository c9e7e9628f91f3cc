// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Files shipped with the program (language files, help page): looked for in
// the current working directory first, then in the installed data folder.
namespace Donnees {

// The path of the first existing candidate, "" when there is none.
QString Chercher(const QString& nomRelatif);

// Replaces the folders searched (tests); an empty list restores them.
void DefinirDossiers(const QStringList& dossiers);

} // namespace Donnees
