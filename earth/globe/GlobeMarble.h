// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "earth/Eclaircie.h"
#include "editing/Symboles.h"
#include "shell/ApplicationGE.h"

#include "CerclesGlobe.h"
#include "LignesGlobe.h"
#include "VueGlobe.h"

#include <QHash>
#include <QLabel>
#include <QVector>
#include <QWidget>

class QCheckBox;
class QComboBox;
class RelaisTuiles;
namespace Marble {
class GeoDataDocument;
class GeoDataFeature;
class GeoDataPlacemark;
} // namespace Marble

// The top-level globe window that stands in for the map application.
class FenetreGlobe : public QWidget {
    Q_OBJECT
public:
    FenetreGlobe();
    ~FenetreGlobe() override;

    bool Prete() const { return vue->Prete(); }
    VueGlobe* Vue() const { return vue; }
    // The point a right click chose for the next capture, taken once;
    // false when there is none.
    bool PrendrePointDesigne(double& longitude, double& latitude);
    // A placemark, shown once the current event is handled, with the others
    // added meanwhile.
    void AjouterPlacemark(const QString& nom, double longitude, double latitude);

    // The editor's waypoints, their placemarks in a document of their own.
    void PoserMarques(const std::vector<MarqueGE>& liste);
    void MarquerCourante(int numero, bool deplacable);
    void Suivre(SuiviGE* s) { suivi = s; }
    // The waypoint whose placemark is drawn at a place of the view; 0 for none.
    int MarqueEn(const QPoint& place) const;
    // The waypoint whose point lies nearest a place, within portee pixels;
    // 0 for none.
    int MarqueProche(const QPoint& place, double portee) const;
    // The routes and tracks drawn over the map, and the build mode.
    LignesGlobe& Lignes() { return lignes; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ChoisirTheme(int index);
    // At first use, the sea chart once one of its tiles comes within 3 s.
    void EssayerCarteMarine();
    // The notice over the map while the sea chart gets no tile.
    void AfficherHorsLigne(bool afficher);
    void SauverGeometrie();
    // The placemarks waiting, into the document in one change of the model
    // (added one by one, 20,000 took 4 s), the map thinned as it needs.
    void PoserPlacemarks();

    // A left click on a waypoint's placemark picks it.
    void Cliquer(const QPoint& place);
    // True when a drag from place moves the current waypoint's placemark.
    bool Prendre(const QPoint& place);
    // The placemark taken follows the pointer, where it was taken kept.
    void Glisser(const QPoint& place);
    // The placemark of waypoint numero drawn as the current one or not; the
    // model told of it when the placemark is in it already.
    void Dessiner(int numero, bool courante, bool dansLeModele = true);
    void Remettre();
    // The marks' levels in the theme's tiles, the current mark drawn as
    // such, outside the model.
    void Eclaircir();
    // Hidden marks shown faded, or left out as the box says, in one change
    // of the model.
    void MontrerMasquees();
    Eclaircie::Tuiles TuilesDuTheme() const;

    // The right click's menu: the clicked point goes into the editor's
    // position box as the capture of the view's centre puts it there.
    void Menu(const QPoint& ecran, double longitude, double latitude);

    VueGlobe* vue;
    QComboBox* themes;
    // The box that leaves the hidden marks out of the map.
    QCheckBox* sansMasquees;
    RelaisTuiles* relais;
    QLabel* horsLigne = nullptr;
    bool designe = false;
    double longitudeDesignee = 0;
    double latitudeDesignee = 0;
    Marble::GeoDataDocument* document;
    QVector<Marble::GeoDataPlacemark*> enAttente;

    Marble::GeoDataDocument* documentMarques;
    // Waypoint k + 1 at k, the first nbMarques shown.
    QVector<Marble::GeoDataPlacemark*> marques;
    int nbMarques = 0;
    QHash<const Marble::GeoDataFeature*, int> numeros;
    QVector<Symboles::Famille> familles;
    QVector<bool> estompees;
    std::vector<int> niveaux; // the thinning's levels
    int courante = 0;
    bool deplacable = false;
    // The place of a placemark dragged and not yet stored by the editor.
    bool deplacee = false;
    // Whether the map has drawn the placemarks since the model last
    // changed: its layout, which finds what is under the mouse, is made
    // when drawing, and holds freed placemarks until then.
    bool disposees = false;
    QPointF ecartPrise; // from the pointer to the mark taken
    double longitudeAvant = 0;
    double latitudeAvant = 0;
    SuiviGE* suivi = nullptr;
    LignesGlobe lignes;
    CerclesGlobe cercles;
};

class ApplicationGlobe : public ApplicationGE, public MarquesGE, public RoutesGE {
public:
    ApplicationGlobe();
    ~ApplicationGlobe() override;

    int32_t IsInitialized() override;
    void SetCameraParams(double latitude, double longitude, double altitude, int32_t altitudeMode,
                         double range, double tilt, double azimuth, double speed) override;
    void LoadKmlData(const QString& kml) override;
    CameraGE GetCamera(int32_t considerTerrain) override;
    MarquesGE* Marques() override { return this; }
    void PoserMarques(const std::vector<MarqueGE>& marques) override;
    void MarquerCourante(int numero, bool deplacable) override;
    void Suivre(SuiviGE* suivi) override;
    RoutesGE* Routes() override { return this; }
    void PoserLignes(const std::vector<LigneGE>& lignes) override;
    void Construire(bool actif, const std::vector<bool>& libres) override;
    void SuivreRoutes(SuiviRoutesGE* suivi) override;

    FenetreGlobe* Fenetre() const { return fenetre; }

private:
    FenetreGlobe* fenetre;
};
