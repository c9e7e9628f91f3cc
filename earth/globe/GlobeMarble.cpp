// SPDX-License-Identifier: GPL-3.0-or-later
#include "GlobeMarble.h"

#include "CarteMarine.h"
#include "RelaisTuiles.h"
#include "earth/Eclaircie.h"
#include "earth/Placemark.h"
#include "ui/EcransPresents.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>
#include <marble/GeoDataDocument.h>
#include <marble/GeoDataPlacemark.h>
#include <marble/GeoDataTreeModel.h>
#include <marble/MarbleMap.h>
#include <marble/MarbleModel.h>

namespace {

struct Theme {
    const char* nom; // the caption's entry in the language files
    const char* defaut;
    const char* identifiant;
};

// Atlas and Blue Marble ship with the map data and work offline;
// OpenStreetMap and the sea chart load their tiles from the network.
const Theme Themes[] = {
    {"Atlas", "Atlas", "earth/srtm/srtm.dgml"},
    {"BlueMarble", "Blue Marble", "earth/bluemarble/bluemarble.dgml"},
    {"OpenStreetMap", "OpenStreetMap", "earth/openstreetmap/openstreetmap.dgml"},
    {"CarteMarine", "Carte marine", CarteMarine::Identifiant},
};
constexpr int IndexCarteMarine = 3;

// A caption of the globe window: the language file's, or the built-in one.
QString Legende(const char* nom, const char* defaut)
{
    const QVariant texte = qApp->property(QByteArray("quaylight.globe.") + nom);
    return texte.isValid() ? texte.toString() : QString::fromUtf8(defaut);
}

std::unique_ptr<QSettings> Reglages()
{
    auto r = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                         QStringLiteral("Quaylight"), QStringLiteral("Quaylight"));
    r->beginGroup(QStringLiteral("Globe"));
    return r;
}

} // namespace

FenetreGlobe::FenetreGlobe()
{
    setObjectName(QStringLiteral("Globe"));
    setWindowTitle(QStringLiteral("Quaylight - carte"));
    themes = new QComboBox(this);
    themes->setObjectName(QStringLiteral("Themes"));
    relais = CarteMarine::Relais(this);
    for (const Theme& t : Themes)
        themes->addItem(Legende(t.nom, t.defaut), QString::fromLatin1(t.identifiant));

    vue = new VueGlobe(this);
    vue->setObjectName(QStringLiteral("Vue"));
    connect(vue, &VueGlobe::MenuDemande, this, &FenetreGlobe::Menu);
    vue->Carte()->setProjection(Marble::Spherical);

    document = new Marble::GeoDataDocument;
    document->setName(QStringLiteral("Quaylight"));
    vue->Modele()->treeModel()->addDocument(document);

    auto* colonne = new QVBoxLayout(this);
    colonne->setContentsMargins(0, 0, 0, 0);
    colonne->addWidget(themes);
    colonne->addWidget(vue, 1);

    auto reglages = Reglages();
    // First use: the sea chart when the machine is online, Atlas otherwise.
    // First use: Atlas, which needs no network, and the sea chart as soon
    // as a tile really comes through the relay (an interface that is up
    // says nothing of a way out).
    const bool premiere = !reglages->contains(QStringLiteral("theme"));
    const int choisi = reglages->value(QStringLiteral("theme"), 0).toInt();
    themes->setCurrentIndex(choisi >= 0 && choisi < themes->count() ? choisi : 0);
    ChoisirTheme(themes->currentIndex());
    if (premiere && qApp->property("quaylight.connecte").toInt() != 0)
        EssayerCarteMarine();
    horsLigne =
        new QLabel(Legende("HorsLigne", "Carte marine hors ligne : seules les zones déjà "
                                        "vues s'affichent ; l'Atlas fonctionne sans réseau"),
                   vue);
    horsLigne->setObjectName(QStringLiteral("HorsLigne"));
    horsLigne->setWordWrap(true);
    horsLigne->setMargin(6);
    horsLigne->setStyleSheet(QStringLiteral("background: rgba(255, 250, 230, 230); color: #1b2a38;"
                                            " border: 1px solid #c8a040;"));
    horsLigne->hide();
    relais->Suivre([this](bool recue) { AfficherHorsLigne(!recue); });
    if (reglages->contains(QStringLiteral("distance")))
        vue->Placer(reglages->value(QStringLiteral("longitude")).toDouble(),
                    reglages->value(QStringLiteral("latitude")).toDouble(),
                    reglages->value(QStringLiteral("distance")).toDouble());
    connect(themes, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &FenetreGlobe::ChoisirTheme);
    if (!restoreGeometry(reglages->value(QStringLiteral("geometrie")).toByteArray())) {
        resize(800, 600);
        // First run: beside the editor's main window rather than over it,
        // narrower when the screen has not the room.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("Creer_POI") && w->isVisible())
                setGeometry(Ecrans::ACote(w->frameGeometry(), size(), 400, 8,
                                          w->screen()->availableGeometry()));
    }
    // Not off the screens present, whatever the settings or the editor's place.
    move(Ecrans::RentrerSurLesEcrans(frameGeometry()));
}

FenetreGlobe::~FenetreGlobe()
{
    SauverGeometrie();
    // The tree model does not own the documents added to it.
    vue->Modele()->treeModel()->removeDocument(document);
    delete document;
    qDeleteAll(enAttente);
}

void FenetreGlobe::EssayerCarteMarine()
{
    auto* reseau = new QNetworkAccessManager(this);
    QNetworkReply* reponse = reseau->get(QNetworkRequest(
        relais->Adresse(QStringLiteral("osm")).resolved(QUrl(QStringLiteral("1/0/0.png")))));
    QTimer::singleShot(3000, reponse, [reponse] { reponse->abort(); });
    connect(reponse, &QNetworkReply::finished, this, [this, reponse, reseau] {
        const bool recue =
            reponse->error() == QNetworkReply::NoError &&
            reponse->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() == 200;
        reponse->deleteLater();
        reseau->deleteLater();
        // Unless the user chose a theme meanwhile.
        if (recue && themes->currentIndex() == 0)
            themes->setCurrentIndex(IndexCarteMarine);
    });
}

void FenetreGlobe::AfficherHorsLigne(bool afficher)
{
    afficher = afficher && themes->currentIndex() == IndexCarteMarine;
    if (afficher) {
        // Between the overview map and the compass, in the top corners.
        horsLigne->setFixedWidth(qBound(240, vue->width() - 420, 520));
        horsLigne->adjustSize();
        horsLigne->move((vue->width() - horsLigne->width()) / 2, 10);
        horsLigne->raise();
    }
    horsLigne->setVisible(afficher);
}

void FenetreGlobe::ChoisirTheme(int index)
{
    if (horsLigne)
        horsLigne->hide();
    if (index == IndexCarteMarine)
        CarteMarine::Installer(*relais);
    vue->Carte()->setMapThemeId(themes->itemData(index).toString());
    Reglages()->setValue(QStringLiteral("theme"), index);
}

void FenetreGlobe::SauverGeometrie()
{
    auto reglages = Reglages();
    reglages->setValue(QStringLiteral("geometrie"), saveGeometry());
    // The view the user last looked at comes back at the next start.
    reglages->setValue(QStringLiteral("longitude"), vue->Carte()->centerLongitude());
    reglages->setValue(QStringLiteral("latitude"), vue->Carte()->centerLatitude());
    reglages->setValue(QStringLiteral("distance"), vue->Distance());
}

void FenetreGlobe::Menu(const QPoint& ecran, double longitude, double latitude)
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("MenuGlobe"));
    QAction* prendre = menu.addAction(Legende("PrendrePosition", "Prendre cette position"));
    if (menu.exec(ecran) != prendre)
        return;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("Creer_POI"))
            if (auto* capture = w->findChild<QAbstractButton*>(QStringLiteral("Pickup_X_Y"))) {
                designe = true;
                longitudeDesignee = longitude;
                latitudeDesignee = latitude;
                capture->click();
                designe = false;
            }
}

bool FenetreGlobe::PrendrePointDesigne(double& longitude, double& latitude)
{
    if (!designe)
        return false;
    designe = false;
    longitude = longitudeDesignee;
    latitude = latitudeDesignee;
    return true;
}

void FenetreGlobe::AjouterPlacemark(const QString& nom, double longitude, double latitude)
{
    auto* placemark = new Marble::GeoDataPlacemark(nom);
    placemark->setCoordinate(longitude, latitude, 0, Marble::GeoDataCoordinates::Degree);
    if (enAttente.isEmpty())
        QTimer::singleShot(0, this, &FenetreGlobe::PoserPlacemarks);
    enAttente.append(placemark);
}

void FenetreGlobe::PoserPlacemarks()
{
    Marble::GeoDataTreeModel* arbre = vue->Modele()->treeModel();
    arbre->removeDocument(document);
    for (Marble::GeoDataPlacemark* p : enAttente)
        document->append(p);
    enAttente.clear();
    const QVector<Marble::GeoDataPlacemark*> tous = document->placemarkList();
    std::vector<std::pair<double, double>> positions;
    positions.reserve(size_t(tous.size()));
    for (const Marble::GeoDataPlacemark* p : tous)
        positions.emplace_back(p->coordinate().longitude(Marble::GeoDataCoordinates::Degree),
                               p->coordinate().latitude(Marble::GeoDataCoordinates::Degree));
    const std::vector<int> niveaux = Eclaircie::NiveauxAffichage(positions);
    for (int i = 0; i < tous.size(); ++i)
        tous[i]->setZoomLevel(niveaux[size_t(i)]);
    arbre->addDocument(document);
}

void FenetreGlobe::closeEvent(QCloseEvent* event)
{
    // The editor keeps using the map for the whole run: closing only hides
    // it until the next move of the view.
    SauverGeometrie();
    hide();
    event->ignore();
}

ApplicationGlobe::ApplicationGlobe() : fenetre(new FenetreGlobe)
{
    fenetre->show();
}

ApplicationGlobe::~ApplicationGlobe()
{
    delete fenetre;
}

int32_t ApplicationGlobe::IsInitialized()
{
    return fenetre->Prete() ? 1 : 0;
}

void ApplicationGlobe::SetCameraParams(double latitude, double longitude, double, int32_t,
                                       double range, double, double, double)
{
    // A globe window the user closed comes back when the map is used.
    fenetre->show();
    fenetre->Vue()->Voler(longitude, latitude, range);
}

void ApplicationGlobe::LoadKmlData(const QString& kml)
{
    PlacemarkKml p;
    if (!LirePlacemark(kml, p))
        throw EchecGE("the placemark has no readable coordinates");
    fenetre->AjouterPlacemark(p.nom, p.longitude, p.latitude);
}

CameraGE ApplicationGlobe::GetCamera(int32_t)
{
    CameraGE camera;
    camera.FocusPointLatitude = fenetre->Vue()->Carte()->centerLatitude();
    camera.FocusPointLongitude = fenetre->Vue()->Carte()->centerLongitude();
    // A point chosen by a right click stands for the centre, once.
    fenetre->PrendrePointDesigne(camera.FocusPointLongitude, camera.FocusPointLatitude);
    return camera;
}
