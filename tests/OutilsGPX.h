#pragma once

#include "gpx/PoiTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Helpers shared by the GPX tests.
namespace OutilsGPX {

// One line per waypoint and per link, as the companion tool's dump prints
// them, to compare whole tables in one go.
QString Resume(const PoiTable& table);

// Writes bytes to a file; false on failure.
bool Ecrire(const QString& chemin, const QByteArray& octets);
QByteArray Lire(const QString& chemin);

// Checks that a GPX file written by the editor is well-formed XML and that
// gpsbabel reads the table's waypoint names and positions. Empty when all is
// well, otherwise what differs.
QString VerifierInterop(const QString& chemin, const PoiTable& table);

} // namespace OutilsGPX
