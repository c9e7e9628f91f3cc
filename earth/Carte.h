// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;
class SuiviGE;

// The map steps of the editor's commands, run only when the map is in use.
// Failures of the map never stop the editor.
namespace Carte {

// What the Open command does after the map's readiness question.
enum class SuiteOuverture { Continuer, Terminer, Quitter };

// Before the Open command's dialog: asks whether the map is ready and, when
// it is not, lets the user abort (quit), retry (end the command) or ignore
// (go on). Questions open over parent.
SuiteOuverture GardeOuverture(QWidget* parent);

// After a file has been read: frames its waypoints and shows each one as a
// named placemark. Without a connection, asks first over parent.
void AfficherCartePOI(QWidget* parent);

// After a selection: flies the view to the current waypoint, asking first
// over parent without a connection.
void CentrerCartePOI(QWidget* parent);

// After a change of the table: the waypoints' placemarks, on a map that
// knows them as waypoints.
void ActualiserMarques();

// Waypoint numero (0 for none) drawn as the current one, which a drag on
// the map moves when deplacable ("Modifier le Poi" chosen).
void MarquerCourante(int numero, bool deplacable);

// Who hears of picks and drags on the map (the editor's window); null for
// nobody.
void Suivre(SuiviGE* suivi);

// A coordinate as the capture writes it: "." whatever the locale, at most
// 15 significant digits; and a point as the position box shows it.
QString TexteCoordonnee(double valeur);
QString TexteCapture(double latitude, double longitude);

// While one lives, a selection does not fly the view to the waypoint: the
// user picked it on the map, where it is in sight.
class SansVol {
public:
    SansVol();
    ~SansVol();
    SansVol(const SansVol&) = delete;
    SansVol& operator=(const SansVol&) = delete;
};

// The placemark text of a point: with a name, or none for "" (captures).
QString TextePlacemark(const QString& nom, const QString& lon, const QString& lat,
                       bool nomme = true);

} // namespace Carte
