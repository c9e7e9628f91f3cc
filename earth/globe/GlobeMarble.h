// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "earth/ApplicationGE.h"

#include "VueGlobe.h"

#include <QLabel>
#include <QVector>
#include <QWidget>

class QComboBox;
class RelaisTuiles;
namespace Marble {
class GeoDataDocument;
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

protected:
    void closeEvent(QCloseEvent* event) override;

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

    // The right click's menu: the clicked point goes into the editor's
    // position box as the capture of the view's centre puts it there.
    void Menu(const QPoint& ecran, double longitude, double latitude);

    VueGlobe* vue;
    QComboBox* themes;
    RelaisTuiles* relais;
    QLabel* horsLigne = nullptr;
    bool designe = false;
    double longitudeDesignee = 0;
    double latitudeDesignee = 0;
    Marble::GeoDataDocument* document;
    QVector<Marble::GeoDataPlacemark*> enAttente;
};

class ApplicationGlobe : public ApplicationGE {
public:
    ApplicationGlobe();
    ~ApplicationGlobe() override;

    int32_t IsInitialized() override;
    void SetCameraParams(double latitude, double longitude, double altitude, int32_t altitudeMode,
                         double range, double tilt, double azimuth, double speed) override;
    void LoadKmlData(const QString& kml) override;
    CameraGE GetCamera(int32_t considerTerrain) override;

    FenetreGlobe* Fenetre() const { return fenetre; }

private:
    FenetreGlobe* fenetre;
};
