// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gpx/Gpx.h"
#include "gpx/PoiTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The editor's side of GPX files: Qt paths, messages and safe writes around
// the shared reader and writer.
namespace Fichiers {

using Lignes = Gpx::Lignes;

// The text of each line.
QStringList Textes(const Lignes& lignes);

// A whole file. False, with the reason, when it cannot be read.
bool LireOctets(const QString& chemin, QByteArray& octets, QString& erreur);

// The lines of a Windows-1252 text.
Lignes LignesWindows1252(const QByteArray& octets);

using Gpx::ChercherRoutesTraces;

// Replaces the table with the file's waypoints and links, and what else it
// holds for the save: read by the XML parser when the file is well-formed,
// line by line otherwise.
Gpx::Lecture LirePOI(const Lignes& lignes, PoiTable& table);

// The GPX document of the table, an empty symbol written as "anchorage".
// False, naming the character, when a value holds a character the file
// cannot carry.
bool TexteGPX(const PoiTable& table, QByteArray& octets, QString& erreur);

// Writes the table to chemin through a temporary file renamed over it, then
// sets empty symbols to "anchorage" as written. On failure the previous
// file and the table are intact. False with the reason.
bool EcrireGPX(const QString& chemin, PoiTable& table, QString& erreur);

// Replaces a file's contents safely, as EcrireGPX does.
bool EcrireOctets(const QString& chemin, const QByteArray& octets, QString& erreur);

// A path split at its last "/": the folder with its
// trailing separator, and the file name.
void DecomposerChemin(const QString& chemin, QString& dossier, QString& nom);

// The file name box: the whole path up to 30 characters, otherwise "...."
// and its last 31 characters.
QString AffichageNomFichier(const QString& chemin);

// Keeps the file as generation 30 of the "tmp" folder beside it, the older
// generations moving down one place (1 is the oldest). Failures are skipped.
void TournerSauvegardes(const QString& fichier, const QString& dossier, const QString& nom);

// The lines with every link to a local file pointed into dossier: what
// follows the target's last separator is kept, the path before it replaced.
// Characters of the folder's name past ASCII are written as references.
Lignes RelocaliserLignes(const Lignes& lignes, const QString& dossier);

// Rewrites the file, whose contents are octets, with its local links pointed
// into its folder, through the work file "Temp.gpx" left in that folder.
// lignes receives the file's lines as they now stand on disk. False with the
// reason and the file that could not be written (the work file or the file
// itself, then unchanged).
bool RelocaliserLiensFichier(const QString& fichier, const QString& dossier,
                             const QByteArray& octets, Lignes& lignes, QString& echec,
                             QString& erreur);

} // namespace Fichiers
