// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Files of the program in the user's folders that another user must neither
// read nor redirect: folders made 0700, files 0600, and a symbolic link met
// on the way refused rather than followed.
namespace DossierPrive {

// Makes the folders of relatif below base (which exists), each 0700 when
// made; false, with the reason, when one of them is a symbolic link or not
// a folder.
bool Creer(const QString& base, const QString& relatif, QString& raison);

// Replaces the file with octets, 0600, through a temporary file renamed over
// it; a symbolic link at its place is refused, never written through.
bool Ecrire(const QString& chemin, const QByteArray& octets, QString& raison);

// Writes the file only when nothing is at its place, not even a link.
bool EcrireSiAbsent(const QString& chemin, const QByteArray& octets, QString& raison);

} // namespace DossierPrive
