// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtPlugin>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

class QSettings;

// A failing call on the map object. Callers decide whether it is reported.
class EchecGE : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CameraGE {
    double FocusPointLatitude = 0;
    double FocusPointLongitude = 0;
};

// What a map tells the editor of its waypoints' placemarks.
class SuiviGE {
public:
    virtual ~SuiviGE() = default;
    // A click on the placemark of waypoint numero.
    virtual void PlacemarkChoisi(int numero) = 0;
    // The placemark of waypoint numero dragged to a point.
    virtual void PlacemarkDeplace(int numero, double longitude, double latitude) = 0;
};

// A circle around a mark, as points (longitude, latitude in degrees) on
// the ground: its arrival circle, or one of its range rings.
struct CercleGE {
    bool arrivee = false;
    std::vector<std::pair<double, double>> points;
};

struct MarqueGE {
    QString nom;
    double longitude = 0;
    double latitude = 0;
    QString symbole;
    // The chart plotter's properties the map shows: hidden marks drawn
    // faded (or left out), no label for a hidden name, the circles in
    // their colour (0xRRGGBB).
    bool visible = true;
    bool nomVisible = true;
    std::vector<CercleGE> cercles;
    unsigned couleur = 0xFF0000;
};

// A map whose placemarks stand for the editor's waypoints: they follow the
// table, the current one stands out, a click picks one and a drag moves the
// current one.
class MarquesGE {
public:
    virtual ~MarquesGE() = default;
    // The waypoints' placemarks, waypoint k + 1 at index k, in place of the
    // ones shown before.
    virtual void PoserMarques(const std::vector<MarqueGE>& marques) = 0;
    // The current waypoint (0 for none), and whether a drag may move it. A
    // placemark dragged and not stored since goes back to its place when
    // it stops being the one that may move.
    virtual void MarquerCourante(int numero, bool deplacable) = 0;
    // Who hears of clicks and drags; null for nobody.
    virtual void Suivre(SuiviGE* suivi) = 0;
};

// A line on the map: a route through its points, or a segment of a track.
struct LigneGE {
    // Longitude and latitude of each point with a position.
    std::vector<std::pair<double, double>> points;
    // A track: thin, and nothing on it is picked.
    bool trace = false;
    // The chosen route: it stands out and its points are numbered.
    bool choisie = false;
};

// What a map tells the editor while the chosen route is built on it.
class SuiviRoutesGE {
public:
    virtual ~SuiviRoutesGE() = default;
    // A click on the placemark of waypoint numero: the mark joins the route.
    virtual void MarqueAjoutee(int numero) = 0;
    // A click on open water: a free point joins the route.
    virtual void PointAjoute(double longitude, double latitude) = 0;
    // Free point k of the chosen route dragged to a point.
    virtual void PointDeplace(int k, double longitude, double latitude) = 0;
    // Escape on the map: the build mode ends.
    virtual void ConstructionFinie() = 0;
};

// A map that draws the document's routes and tracks, and on which the
// chosen route is built by clicks.
class RoutesGE {
public:
    virtual ~RoutesGE() = default;
    // The lines, in place of the ones shown before.
    virtual void PoserLignes(const std::vector<LigneGE>& lignes) = 0;
    // The build mode on or off; libres tells which points of the chosen
    // route are free points, which a drag moves meanwhile.
    virtual void Construire(bool actif, const std::vector<bool>& libres) = 0;
    // Who hears of the mode's clicks and drags; null for nobody.
    virtual void SuivreRoutes(SuiviRoutesGE* suivi) = 0;
};

// The map the editor drives: the five operations of its automation object.
// Every operation may throw EchecGE.
class ApplicationGE {
public:
    virtual ~ApplicationGE() = default;
    // Non-zero once the map is shown and ready.
    virtual int32_t IsInitialized() = 0;
    // Flies the view to a look-at; range in metres.
    virtual void SetCameraParams(double latitude, double longitude, double altitude,
                                 int32_t altitudeMode, double range, double tilt, double azimuth,
                                 double speed) = 0;
    // Shows the placemark described by a KML Placemark fragment.
    virtual void LoadKmlData(const QString& kml) = 0;
    // The point at the centre of the view.
    virtual CameraGE GetCamera(int32_t considerTerrain) = 0;
    // The waypoints' placemarks, when the map knows them as such; null for a
    // map that only takes placemark texts.
    virtual MarquesGE* Marques() { return nullptr; }
    // The routes' lines, when the map draws them; null otherwise.
    virtual RoutesGE* Routes() { return nullptr; }
};

// Interface of the globe plugin, loaded at run time so that the editor does
// not pay for the map library when the map is not wanted.
class FabriqueGlobe {
public:
    virtual ~FabriqueGlobe() = default;
    virtual std::unique_ptr<ApplicationGE> Creer() = 0;
};

#define FabriqueGlobe_iid "org.quaylight.FabriqueGlobe/1.0"
Q_DECLARE_INTERFACE(FabriqueGlobe, FabriqueGlobe_iid)

namespace Carte {
// Identifier under which the map object is created.
inline const char* const IdentifiantGE = "GoogleEarth.ApplicationGE";

// Creates the object named by the identifier by loading the globe plugin.
// Returns null, with the reason in erreur, when it cannot be created.
std::unique_ptr<ApplicationGE> CreerObjet(const QString& identifiant, QString* erreur = nullptr);
} // namespace Carte
