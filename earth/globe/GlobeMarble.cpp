// SPDX-License-Identifier: GPL-3.0-or-later
#include "GlobeMarble.h"

#include "CarteMarine.h"
#include "IconesMarques.h"
#include "RelaisTuiles.h"
#include "earth/Eclaircie.h"
#include "earth/Placemark.h"
#include "shell/EcransPresents.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPainter>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <marble/GeoDataDocument.h>
#include <marble/GeoDataIconStyle.h>
#include <marble/GeoDataLabelStyle.h>
#include <marble/GeoDataPlacemark.h>
#include <marble/GeoDataStyle.h>
#include <marble/GeoDataTreeModel.h>
#include <marble/MarbleMap.h>
#include <marble/MarbleModel.h>

namespace {

struct Theme {
    const char* nom; // the caption's entry in the language files
    const char* defaut;
    const char* identifiant;
    // Its tiles: level n shows the world 256 times 2^(n + decalage) pixels
    // wide, up to niveauMax (the theme file's storage layout).
    double decalage;
    int niveauMax;
};

// Atlas and Blue Marble ship with the map data and work offline, in tiles
// of 675 pixels two across at level 0; OpenStreetMap and the sea chart load
// their tiles of 256 pixels from the network.
const double Tuiles675 = std::log2(2 * 675 / 256.0);
const Theme Themes[] = {
    {"Atlas", "Atlas", "earth/srtm/srtm.dgml", Tuiles675, 5},
    {"BlueMarble", "Blue Marble", "earth/bluemarble/bluemarble.dgml", Tuiles675, 7},
    {"OpenStreetMap", "OpenStreetMap", "earth/openstreetmap/openstreetmap.dgml", 0, 18},
    {"CarteMarine", "Carte marine", CarteMarine::Identifiant, 0, 18},
};
constexpr int IndexCarteMarine = 3;

// A caption of the globe window: the language file's, or the built-in one.
QString Legende(const char* nom, const char* defaut)
{
    const QVariant texte = qApp->property(QByteArray("quaylight.globe.") + nom);
    return texte.isValid() ? texte.toString() : QString::fromUtf8(defaut);
}

// The style of a mark's family, shared by all marks of it but the current.
// A mark's style; a mark the chart plotter hides is drawn faded.
Marble::GeoDataStyle::Ptr Style(Symboles::Famille famille, bool courante, bool estompee)
{
    static QHash<int, Marble::GeoDataStyle::Ptr> styles;
    Marble::GeoDataStyle::Ptr& style = styles[int(famille) * 4 + courante * 2 + estompee];
    if (!style) {
        style = Marble::GeoDataStyle::Ptr(new Marble::GeoDataStyle);
        Marble::GeoDataIconStyle icone;
        // Marble keeps the drawn icons by their path: one of its own for
        // each, or every mark would show the first icon drawn.
        icone.setIconPath(QStringLiteral(":/quaylight/marque-%1-%2-%3")
                              .arg(int(famille))
                              .arg(courante)
                              .arg(estompee));
        QImage image = IconesMarques::Icone(famille, courante);
        if (estompee) {
            QImage pale(image.size(), QImage::Format_ARGB32_Premultiplied);
            pale.fill(Qt::transparent);
            QPainter peintre(&pale);
            peintre.setOpacity(0.35);
            peintre.drawImage(0, 0, image);
            peintre.end();
            image = pale;
        }
        icone.setIcon(image);
        style->setIconStyle(icone);
        Marble::GeoDataLabelStyle etiquette;
        etiquette.setColor(courante   ? QColor(150, 20, 20)
                           : estompee ? QColor(27, 42, 56, 110)
                                      : QColor(27, 42, 56));
        if (courante) {
            QFont police = etiquette.font();
            police.setBold(true);
            etiquette.setFont(police);
        }
        style->setLabelStyle(etiquette);
    }
    return style;
}

std::unique_ptr<QSettings> Reglages()
{
    auto r = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                         QStringLiteral("Quaylight"), QStringLiteral("Quaylight"));
    r->beginGroup(QStringLiteral("Globe"));
    return r;
}

} // namespace

FenetreGlobe::FenetreGlobe() : vue(new VueGlobe(this)), lignes(*vue), cercles(*vue)
{
    setObjectName(QStringLiteral("Globe"));
    setWindowTitle(QStringLiteral("Quaylight - carte"));
    themes = new QComboBox(this);
    themes->setObjectName(QStringLiteral("Themes"));
    relais = CarteMarine::Relais(this);
    for (const Theme& t : Themes)
        themes->addItem(Legende(t.nom, t.defaut), QString::fromLatin1(t.identifiant));

    vue->setObjectName(QStringLiteral("Vue"));
    connect(vue, &VueGlobe::MenuDemande, this, &FenetreGlobe::Menu);
    connect(vue, &VueGlobe::Clique, this, &FenetreGlobe::Cliquer);
    connect(vue, &VueGlobe::PriseDeplacee, this, &FenetreGlobe::Glisser);
    vue->DefinirPrise([this](const QPoint& p) { return Prendre(p); });
    vue->DefinirDessus([this](Marble::GeoPainter& peintre) {
        cercles.Dessiner(peintre);
        lignes.Dessiner(peintre);
        disposees = true;
    });
    const QAbstractItemModel* arbre = vue->Modele()->treeModel();
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(arbre, signal, this, [this] { disposees = false; });
    connect(arbre, &QAbstractItemModel::dataChanged, this, [this] { disposees = false; });
    connect(arbre, &QAbstractItemModel::modelReset, this, [this] { disposees = false; });
    connect(vue, &VueGlobe::PriseLachee, this, [this](const QPoint& p) { lignes.Lacher(p); });
    vue->Carte()->setProjection(Marble::Spherical);

    document = new Marble::GeoDataDocument;
    document->setName(QStringLiteral("Quaylight"));
    vue->Modele()->treeModel()->addDocument(document);
    documentMarques = new Marble::GeoDataDocument;
    documentMarques->setName(QStringLiteral("Quaylight - Poi"));
    vue->Modele()->treeModel()->addDocument(documentMarques);

    auto* colonne = new QVBoxLayout(this);
    colonne->setContentsMargins(0, 0, 0, 0);
    auto* haut = new QHBoxLayout;
    haut->addWidget(themes, 1);
    sansMasquees = new QCheckBox(Legende("SansMasquees", "Sans les Poi masqués"), this);
    sansMasquees->setObjectName(QStringLiteral("SansMasquees"));
    haut->addWidget(sansMasquees);
    colonne->addLayout(haut);
    colonne->addWidget(vue, 1);

    auto reglages = Reglages();
    sansMasquees->setChecked(reglages->value(QStringLiteral("sansMasquees"), false).toBool());
    connect(sansMasquees, &QCheckBox::toggled, this, [this](bool sans) {
        Reglages()->setValue(QStringLiteral("sansMasquees"), sans);
        MontrerMasquees();
    });
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
        // narrower when the screen has not the room; the frame, as wide as
        // the main window's, counted in.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("Creer_POI") && w->isVisible()) {
                const QRect c = w->frameGeometry();
                const QRect g = w->geometry();
                setGeometry(
                    Ecrans::ACote(c, size(), 400, 8, w->screen()->availableGeometry(),
                                  QMargins(g.left() - c.left(), g.top() - c.top(),
                                           c.right() - g.right(), c.bottom() - g.bottom())));
            }
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
    vue->Modele()->treeModel()->removeDocument(documentMarques);
    delete documentMarques;
    // The model goes with the view, after this object's own part: it must
    // no longer tell it of its changes.
    vue->Modele()->treeModel()->disconnect(this);
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
    // The marks thinned by the new theme's tile levels, in one change.
    if (nbMarques > 0) {
        Marble::GeoDataTreeModel* arbre = vue->Modele()->treeModel();
        arbre->removeDocument(documentMarques);
        Eclaircir();
        arbre->addDocument(documentMarques);
    }
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

void FenetreGlobe::PoserMarques(const std::vector<MarqueGE>& liste)
{
    // One change of the model for all, as for the other placemarks. Those
    // of earlier tables are kept, hidden, for the next: the map's layout
    // may still hold them after the document leaves the model.
    Marble::GeoDataTreeModel* arbre = vue->Modele()->treeModel();
    arbre->removeDocument(documentMarques);
    numeros.clear();
    familles.clear();
    estompees.clear();
    deplacee = false;
    cercles.Poser(liste);
    const int n = int(liste.size());
    std::vector<std::pair<double, double>> positions;
    positions.reserve(liste.size());
    for (int i = 0; i < n; ++i) {
        const MarqueGE& m = liste[size_t(i)];
        if (i == marques.size()) {
            marques.append(new Marble::GeoDataPlacemark);
            documentMarques->append(marques.back());
        }
        Marble::GeoDataPlacemark* p = marques[i];
        // A hidden name shows no label; a hidden mark is faded, or left
        // out when the window's box says so.
        p->setName(m.nomVisible ? m.nom : QString());
        p->setCoordinate(m.longitude, m.latitude, 0, Marble::GeoDataCoordinates::Degree);
        p->setVisible(m.visible || !sansMasquees->isChecked());
        familles.append(Symboles::FamilleDe(m.symbole));
        estompees.append(!m.visible);
        p->setStyle(Style(familles.back(), false, estompees.back()));
        p->setPopularity(1);
        numeros.insert(p, i + 1);
        positions.emplace_back(m.longitude, m.latitude);
    }
    for (int i = n; i < marques.size(); ++i)
        marques[i]->setVisible(false);
    niveaux = Eclaircie::NiveauxAffichage(positions);
    nbMarques = n;
    if (courante > n)
        courante = 0;
    Eclaircir();
    arbre->addDocument(documentMarques);
}

Eclaircie::Tuiles FenetreGlobe::TuilesDuTheme() const
{
    const Theme& t = Themes[std::max(themes->currentIndex(), 0)];
    Eclaircie::Tuiles tuiles;
    tuiles.decalage = t.decalage;
    tuiles.niveauMax = t.niveauMax;
    // Marble's zoom is 200 times the logarithm of the globe's radius.
    tuiles.largeurMax = 2 * M_PI * std::exp(vue->Carte()->maximumZoom() / 200.0);
    return tuiles;
}

void FenetreGlobe::Eclaircir()
{
    const Eclaircie::Tuiles tuiles = TuilesDuTheme();
    for (int i = 0; i < nbMarques; ++i)
        marques[i]->setZoomLevel(Eclaircie::NiveauTuiles(niveaux[size_t(i)], tuiles));
    if (courante > 0)
        Dessiner(courante, true, false);
}

void FenetreGlobe::MontrerMasquees()
{
    Marble::GeoDataTreeModel* arbre = vue->Modele()->treeModel();
    arbre->removeDocument(documentMarques);
    for (int i = 0; i < nbMarques; ++i)
        marques[i]->setVisible(!estompees[i] || !sansMasquees->isChecked());
    arbre->addDocument(documentMarques);
}

void FenetreGlobe::MarquerCourante(int numero, bool d)
{
    if (numero < 0 || numero > nbMarques)
        numero = 0;
    if (deplacee && (numero != courante || !d))
        Remettre();
    if (numero != courante) {
        if (courante > 0)
            Dessiner(courante, false);
        courante = numero;
        if (courante > 0)
            Dessiner(courante, true);
    }
    deplacable = d && courante > 0;
}

void FenetreGlobe::Dessiner(int numero, bool c, bool dansLeModele)
{
    Marble::GeoDataPlacemark* p = marques[numero - 1];
    p->setStyle(Style(familles[numero - 1], c, !c && estompees[numero - 1]));
    // The current mark shows at every scale, above the others; every mark
    // above a capture's placemark at its place.
    p->setZoomLevel(c ? 0 : Eclaircie::NiveauTuiles(niveaux[size_t(numero - 1)], TuilesDuTheme()));
    p->setPopularity(c ? 1 << 30 : 1);
    if (dansLeModele)
        vue->Modele()->treeModel()->updateFeature(p);
}

void FenetreGlobe::Remettre()
{
    deplacee = false;
    Marble::GeoDataPlacemark* p = marques[courante - 1];
    p->setCoordinate(longitudeAvant, latitudeAvant, 0, Marble::GeoDataCoordinates::Degree);
    vue->Modele()->treeModel()->updateFeature(p);
}

int FenetreGlobe::MarqueEn(const QPoint& place) const
{
    // A click right after a change (an undo by the keyboard, then a click
    // before the map has drawn again) would search a layout of freed
    // placemarks.
    if (!disposees)
        vue->repaint();
    for (const Marble::GeoDataFeature* f : vue->Carte()->whichFeatureAt(place))
        if (const int n = numeros.value(f, 0))
            return n;
    return 0;
}

int FenetreGlobe::MarqueProche(const QPoint& place, double portee) const
{
    int plusProche = 0;
    for (int i = 0; i < nbMarques; ++i) {
        const Marble::GeoDataCoordinates c = marques[i]->coordinate();
        qreal x = 0, y = 0;
        if (!marques[i]->isVisible() ||
            !vue->Carte()->screenCoordinates(c.longitude(Marble::GeoDataCoordinates::Degree),
                                             c.latitude(Marble::GeoDataCoordinates::Degree), x, y))
            continue;
        const double d = QLineF(QPointF(x, y), place).length();
        if (d <= portee) {
            portee = d;
            plusProche = i + 1;
        }
    }
    return plusProche;
}

void FenetreGlobe::Cliquer(const QPoint& place)
{
    int n = MarqueEn(place);
    // Building a route, a click beside a mark's point takes the mark.
    if (n == 0 && lignes.EnConstruction())
        n = MarqueProche(place, 10);
    if (lignes.Cliquer(place, n))
        return;
    if (n > 0 && suivi)
        suivi->PlacemarkChoisi(n);
}

bool FenetreGlobe::Prendre(const QPoint& place)
{
    if (lignes.Prendre(place))
        return true;
    if (!deplacable || courante < 1)
        return false;
    const Marble::GeoDataCoordinates c = marques[courante - 1]->coordinate();
    qreal x = 0, y = 0;
    if (!vue->Carte()->screenCoordinates(c.longitude(Marble::GeoDataCoordinates::Degree),
                                         c.latitude(Marble::GeoDataCoordinates::Degree), x, y))
        return false;
    ecartPrise = QPointF(x, y) - place;
    // The current mark's icon is drawn centred on its point.
    return QLineF(QPointF(), ecartPrise).length() <= 17;
}

void FenetreGlobe::Glisser(const QPoint& place)
{
    if (lignes.Glisser(place))
        return;
    double longitude = 0, latitude = 0;
    if (!deplacable || courante < 1 ||
        !vue->PointEn((QPointF(place) + ecartPrise).toPoint(), longitude, latitude))
        return;
    Marble::GeoDataPlacemark* p = marques[courante - 1];
    if (!deplacee) {
        deplacee = true;
        longitudeAvant = p->coordinate().longitude(Marble::GeoDataCoordinates::Degree);
        latitudeAvant = p->coordinate().latitude(Marble::GeoDataCoordinates::Degree);
    }
    p->setCoordinate(longitude, latitude, 0, Marble::GeoDataCoordinates::Degree);
    vue->Modele()->treeModel()->updateFeature(p);
    if (suivi)
        suivi->PlacemarkDeplace(courante, longitude, latitude);
}

void FenetreGlobe::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && lignes.Echap())
        return;
    QWidget::keyPressEvent(event);
}

void FenetreGlobe::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Once the window manager has framed the window: the frame inside the
    // screen, the window shrunk if need be, stored places included.
    for (const int delai : {0, 300})
        QTimer::singleShot(delai, this, [this] {
            const QRect ecran = screen()->availableGeometry();
            if (!ecran.contains(frameGeometry()))
                setGeometry(Ecrans::DansLEcran(frameGeometry(), geometry(), ecran));
        });
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

void ApplicationGlobe::PoserMarques(const std::vector<MarqueGE>& marques)
{
    fenetre->PoserMarques(marques);
}

void ApplicationGlobe::MarquerCourante(int numero, bool deplacable)
{
    fenetre->MarquerCourante(numero, deplacable);
}

void ApplicationGlobe::Suivre(SuiviGE* suivi)
{
    fenetre->Suivre(suivi);
}

void ApplicationGlobe::PoserLignes(const std::vector<LigneGE>& lignes)
{
    fenetre->Lignes().Poser(lignes);
}

void ApplicationGlobe::Construire(bool actif, const std::vector<bool>& libres)
{
    fenetre->Lignes().Construire(actif, libres);
}

void ApplicationGlobe::SuivreRoutes(SuiviRoutesGE* suivi)
{
    fenetre->Lignes().Suivre(suivi);
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
