// SPDX-License-Identifier: GPL-3.0-or-later
#include "gpx/Messages.h"

#include <QDir>

namespace Declarations {
std::array<QString, 81> MsgBoite;
} // namespace Declarations

namespace Messages {

namespace {

// Built-in texts; language files may replace any slot. The program's own
// failures speak both languages until a language file gives them one.
const char* const Textes[Dernier + 1] = {
    "",
    "Selectionner d'abord un Poi",
    "",
    "Fichier, chemin ou URL accentué invalide",
    "Sauver le fichier ?",
    "Le nom du fichier est manquant",
    "Sélectionner un lien d'abord",
    "",
    "",
    "Choisir Modifier, Ajouter ou Supprimer",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "Le fichier n'a pas pu être enregistré - The file could not be saved",
    "Le fichier précédent est intact ; choisissez un autre nom ou dossier avec Enregistrer sous - "
    "The previous file is intact; choose another name or folder with Save as",
    "Le fichier n'a pas pu être lu - The file could not be read",
    "La liste des Poi est vide - The list of marks is empty",
    "Les liens vers des fichiers locaux n'ont pas pu être réécrits - Links to local files could "
    "not be rewritten",
    "Le fichier est lu tel quel - The file is read as it stands",
    "La description n'a pas pu être enregistrée - The description could not be saved",
    "Le texte reste dans la fenêtre - The text stays in the window",
    "Le fichier de travail Temp.gpx n'a pas pu être créé dans le dossier du fichier - The work "
    "file Temp.gpx could not be created in the file's folder",
    "le fichier est en lecture seule - the file is read-only",
    "c'est un dossier - it is a folder",
    "le fichier n'a pas été écrit en entier - the file was not written whole",
    "le caractère %1 ne peut pas être écrit en Windows-1252 - the character %1 cannot be written "
    "in Windows-1252",
    "le caractère %1 du Poi %2 ne peut pas être écrit dans le fichier - the character %1 of "
    "waypoint %2 cannot be written in the file",
    "Le fichier n'est pas du XML bien formé (%1, ligne %2, colonne %3) : il est lu ligne par "
    "ligne, et un enregistrement écrira les Poi de la liste en GPX bien formé - The file is not "
    "well-formed XML (%1, line %2, column %3): it is read line by line, and a save writes the "
    "listed marks as well-formed GPX",
    "%1 Poi au-delà des %2 premiers ne sont pas affichés ; ils sont gardés tels quels à "
    "l'enregistrement - %1 marks beyond the first %2 are not shown; a save keeps them as they "
    "are",
    "L'import demande le programme gpsbabel : installez le paquet gpsbabel (sudo apt install "
    "gpsbabel) - Importing needs the gpsbabel program: install the gpsbabel package (sudo apt "
    "install gpsbabel)",
    "Format non reconnu : choisissez un fichier KML, KMZ, CSV, OziExplorer (.wpt), Garmin (.gdb), "
    "GeoJSON ou NMEA - Unknown format: choose a KML, KMZ, CSV, OziExplorer (.wpt), Garmin (.gdb), "
    "GeoJSON or NMEA file",
    "Les Poi n'ont pas pu être importés - The marks could not be imported",
    "Vérifiez que le fichier est bien du format que dit son extension ; il n'a pas été modifié - "
    "Check that the file is of the format its extension says; it was not changed",
    "Conversion des Poi par gpsbabel... - Converting the marks with gpsbabel...",
    "Supprimer les %1 Poi choisis ? - Delete the %1 chosen marks?",
    "Supprimer la route « %1 » ? - Delete the route \"%1\"?",
    "La vitesse prévue est un nombre de nœuds plus grand que 0 ; elle reste comme avant - The "
    "planned speed is a number of knots above 0; it stays as it was",
    "Le départ s'écrit AAAA-MM-JJ HH:MM en UTC, ou reste vide ; il reste comme avant - The "
    "departure is written YYYY-MM-DD HH:MM in UTC, or left empty; it stays as it was",
    "Ce Poi est utilisé par %1 route(s), qui le perdront. Le supprimer ? - This mark is used by "
    "%1 route(s), which will lose it. Delete it?",
    "Des Poi choisis sont utilisés par %1 route(s), qui les perdront. - Chosen marks are used by "
    "%1 route(s), which will lose them.",
    "Ce point est un Poi : il se déplace avec le Poi, dans la gestion des Poi - This point is a "
    "mark: it moves with the mark, in the marks panel",
    "« %1 » attend un nombre positif ou nul ; le champ reprend sa valeur - "
    "\"%1\" takes a number of 0 or more; the field takes back its value",
    "« %1 » : de 0 à 10 cercles, en NM (0) ou km (1) ; le champ reprend sa valeur - "
    "\"%1\": 0 to 10 rings, in NM (0) or km (1); the field takes back its value",
    "« %1 » : une couleur s'écrit #RRGGBB, par exemple #FF0000 ; le champ reprend sa valeur - "
    "\"%1\": a colour is written #RRGGBB, for example #FF0000; the field takes back its value",
    "%1 Poi portent le GUID d'un Poi précédent : OpenCPN les fusionnerait à l'import ; « Nouveau "
    "GUID » dans les propriétés d'un Poi lui en donne un autre - "
    "%1 marks carry the GUID of an earlier mark: OpenCPN would merge them on import; \"New GUID\" "
    "in a mark's properties gives it another",
    "(plusieurs valeurs) - "
    "(several values)",
    "%1 Poi ont reçu un GUID - "
    "%1 marks were given a GUID",
    "Le calque « %1 » existe déjà dans %2 : le remplacer ? - "
    "The layer \"%1\" already exists in %2: replace it?",
    "Le calque n'a pas pu être écrit - "
    "The layer could not be written",
    "Vérifiez que le dossier des calques accepte l'écriture, ou choisissez un autre nom - "
    "Check that the layers folder can be written, or choose another name",
    "OpenCPN a deux dossiers de calques. Oui : celui de l'installation Flatpak (%1) ; Non : %2 - "
    "OpenCPN has two layers folders. Yes: the Flatpak installation's (%1); No: %2",
    "Calque écrit : %1 (%2 Poi) ; OpenCPN le montre à son prochain démarrage - "
    "Layer written: %1 (%2 marks); OpenCPN shows it at its next start",
    "Nom du calque OpenCPN - "
    "Name of the OpenCPN layer",
    "Rien n'a changé - "
    "Nothing was changed",
    "Pareils (%1)|Changés (%1)|Proches (%1)|Nouveaux (%1)",
    "Garder le mien|Prendre le leur|Garder les deux",
    ", dont %1 sans position - "
    ", %1 of them without a position",
    "Fusion : %1 Poi ajoutés, %2 mis à jour, %3 ignorés - "
    "Merge: %1 marks added, %2 updated, %3 skipped",
    "%1 Poi au-delà des %2 que le fichier peut tenir n'ont pas été ajoutés ; ils restent dans leur "
    "fichier - "
    "%1 marks past the %2 a file can hold were not added; they stay in their file",
    "%1 Poi : %2 - "
    "%1 marks: %2",
    "Aucun doublon à cette distance - "
    "No duplicates at this distance",
    "%1 Poi fusionnés dans %2 groupe(s) - "
    "%1 marks merged into %2 group(s)",
    "%1 lien(s) au-delà des 50 d'un Poi ont été laissés de côté - "
    "%1 link(s) past a mark's 50 were left out",
};

} // namespace

QString ParDefaut(int n)
{
    return n >= 0 && n <= Dernier ? QString::fromUtf8(Textes[n]) : QString();
}

QString Texte(int n)
{
    const QString& t = Declarations::MsgBoite[size_t(n)];
    return t.isEmpty() ? ParDefaut(n) : t;
}

QString TexteEchec(int quoi, const QString& chemin, const QString& raison, int suite)
{
    return Texte(quoi) + QStringLiteral(" :\n") + QDir::toNativeSeparators(chemin) +
           QStringLiteral("\n(") + raison + QStringLiteral(")\n") + Texte(suite);
}

} // namespace Messages
