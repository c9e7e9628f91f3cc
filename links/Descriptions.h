// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gpx/PoiTable.h"

#include <QString>

// Description files: one Windows-1252 text file per waypoint, beside the GPX
// file, reached from the waypoint through its first link "Description".
namespace Descriptions {

// The description file of a waypoint: the GPX file's folder, the name, ".txt".
// Path separators in the name become "_", and "." or ".." gets a "_" in
// front, so the file never lands outside that folder.
QString FichierDescriptif(const QString& fichierGPX, const QString& nomPOI);

// The file's text, each of its lines followed by CR LF; "" when there is no
// such file. False with the reason when it exists but cannot be read.
bool Lire(const QString& chemin, QString& texte, QString& erreur);

// The text of an editor's document as it holds it (its raw text): paragraph
// ends become line feeds, and every other character stays, non-breaking
// spaces included (the editor's plain text would turn them into spaces).
QString TexteDocument(QString brut);

// Writes the box's text, its line breaks as CR LF, followed by CR LF. False,
// with the reason and the file untouched, on failure or when the text holds a
// character Windows-1252 lacks.
bool Ecrire(const QString& chemin, const QString& texte, QString& erreur);

// Makes link 1 of waypoint i the description link unless it already is:
// the 50 link slots move up one place, the count grows up to 50. False when
// nothing changed.
bool InsererLien(PoiTable& table, int i, const QString& chemin);

} // namespace Descriptions
