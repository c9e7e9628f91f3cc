// SPDX-License-Identifier: GPL-3.0-or-later
#include "VueGlobe.h"

#include <QContextMenuEvent>
#include <QGridLayout>
#include <QPaintEvent>
#include <QToolButton>
#include <QVariantAnimation>
#include <cmath>
#include <marble/AbstractFloatItem.h>
#include <marble/GeoPainter.h>
#include <marble/MarbleMap.h>
#include <marble/MarbleModel.h>
#include <marble/Planet.h>
#include <marble/RenderPlugin.h>

namespace {

constexpr double Pi = 3.14159265358979323846;
// A distance from the globe as a radius: the view is taken as a human eye's
// angle over a window of average width, as Marble's own widget does.
constexpr double AngleDeVue = 110 * Pi / 180;
constexpr double Pas = 1.25; // zoom factor of one wheel notch, key or button

double RayonDeDistance(double rayonPlanete, double metres)
{
    return rayonPlanete * 0.4 / (metres / 1000 * std::tan(AngleDeVue / 2));
}

// The same relation, the other way.
double DistanceDeRayon(double rayonPlanete, double rayon)
{
    return rayonPlanete * 0.4 / (rayon * std::tan(AngleDeVue / 2)) * 1000;
}

} // namespace

VueGlobe::VueGlobe(QWidget* parent)
    : QWidget(parent), modele(new Marble::MarbleModel(this)), carte(new Marble::MarbleMap(modele)),
      vol(new QVariantAnimation(this))
{
    modele->setObjectName(QStringLiteral("Modele"));
    carte->setParent(this);
    carte->setObjectName(QStringLiteral("Carte"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 150);
    connect(carte, &Marble::MarbleMap::repaintNeeded, this, [this] { update(); });
    // Marble's on-map navigation control needs Marble's widget to answer
    // clicks: buttons of ours stand in for it.
    connect(carte, &Marble::MarbleMap::themeChanged, this, [this] {
        for (Marble::RenderPlugin* p : carte->renderPlugins())
            if (p->nameId() == QLatin1String("navigation"))
                p->setVisible(false);
    });
    auto* boutons = new QGridLayout;
    auto bouton = [&](const QString& texte, int ligne, int colonne, auto action) {
        auto* b = new QToolButton(this);
        b->setText(texte);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRaise(false);
        b->setFixedSize(24, 24);
        connect(b, &QToolButton::clicked, this, action);
        boutons->addWidget(b, ligne, colonne);
    };
    bouton(QStringLiteral("\u25B2"), 0, 1, [this] { Deplacer(QPoint(0, -height() / 5)); });
    bouton(QStringLiteral("\u25C0"), 1, 0, [this] { Deplacer(QPoint(-width() / 5, 0)); });
    bouton(QStringLiteral("\u25B6"), 1, 2, [this] { Deplacer(QPoint(width() / 5, 0)); });
    bouton(QStringLiteral("\u25BC"), 2, 1, [this] { Deplacer(QPoint(0, height() / 5)); });
    bouton(QStringLiteral("+"), 3, 1, [this] { Zoomer(Pas, rect().center()); });
    bouton(QStringLiteral("\u2212"), 4, 1, [this] { Zoomer(1 / Pas, rect().center()); });
    // On the right, under the compass: the overview map, the scale bar and
    // the attribution take the other corners.
    auto* place = new QGridLayout(this);
    place->addLayout(boutons, 0, 0, Qt::AlignRight | Qt::AlignVCenter);

    // A flight: longitude by the shorter way, latitude straight, the radius
    // in geometric steps; one value from 0 to 1 drives all three.
    vol->setDuration(1000);
    vol->setEasingCurve(QEasingCurve::InOutQuad);
    vol->setStartValue(0.0);
    vol->setEndValue(1.0);
}

int VueGlobe::Borner(double rayon) const
{
    // Marble's zoom is 200 times the logarithm of the radius.
    const double mini = std::exp(carte->minimumZoom() / 200.0);
    const double maxi = std::exp(carte->maximumZoom() / 200.0);
    return int(std::lround(std::clamp(rayon, mini, maxi)));
}

void VueGlobe::Voler(double longitude, double latitude, double distance)
{
    vol->stop();
    disconnect(vol, &QVariantAnimation::valueChanged, this, nullptr);
    const double lon0 = carte->centerLongitude();
    const double lat0 = carte->centerLatitude();
    const double r0 = carte->radius();
    const double r1 = Borner(RayonDeDistance(modele->planet()->radius(), distance));
    double dlon = std::remainder(longitude - lon0, 360.0);
    connect(vol, &QVariantAnimation::valueChanged, this, [=](const QVariant& v) {
        const double t = v.toDouble();
        carte->setRadius(int(std::lround(r0 * std::pow(r1 / r0, t))));
        carte->centerOn(lon0 + dlon * t, lat0 + (latitude - lat0) * t);
        update();
    });
    vol->start();
}

void VueGlobe::Placer(double longitude, double latitude, double distance)
{
    vol->stop();
    carte->setRadius(Borner(RayonDeDistance(modele->planet()->radius(), distance)));
    carte->centerOn(longitude, std::clamp(latitude, -90.0, 90.0));
    update();
}

double VueGlobe::Distance() const
{
    return DistanceDeRayon(modele->planet()->radius(), carte->radius());
}

bool VueGlobe::PointEn(const QPoint& place, double& longitude, double& latitude) const
{
    return carte->geoCoordinates(place.x(), place.y(), longitude, latitude,
                                 Marble::GeoDataCoordinates::Degree);
}

void VueGlobe::paintEvent(QPaintEvent* event)
{
    PlacerEchelle(); // with the sizes the last painting gave the items
    Marble::GeoPainter peintre(this, carte->viewport(), carte->mapQuality());
    carte->paint(peintre, event->rect());
    if (dessus)
        dessus(peintre);
    prete = prete || modele->mapTheme() != nullptr;
}

void VueGlobe::resizeEvent(QResizeEvent* event)
{
    carte->setSize(size());
    QWidget::resizeEvent(event);
}

void VueGlobe::PlacerEchelle()
{
    // The attribution the tile servers ask for stays in sight: where the
    // view is too narrow for both in its bottom corners, the scale bar
    // goes above the attribution's line.
    Marble::AbstractFloatItem* echelle = carte->floatItem(QStringLiteral("scalebar"));
    Marble::AbstractFloatItem* licence = carte->floatItem(QStringLiteral("license"));
    if (!echelle || !licence)
        return;
    const bool etroit = echelle->size().width() + licence->size().width() + 40 > width();
    echelle->setPosition(
        QPointF(10.5, etroit ? licence->position().y() - licence->size().height() - 6 : -10.5));
}

void VueGlobe::Zoomer(double facteur, const QPoint& autour)
{
    vol->stop();
    double lon0 = 0, lat0 = 0, lon1 = 0, lat1 = 0;
    const bool sur = PointEn(autour, lon0, lat0);
    carte->setRadius(Borner(carte->radius() * facteur));
    if (sur && PointEn(autour, lon1, lat1))
        carte->centerOn(carte->centerLongitude() + lon0 - lon1,
                        std::clamp(carte->centerLatitude() + lat0 - lat1, -90.0, 90.0));
    update();
}

void VueGlobe::Deplacer(const QPoint& pixels)
{
    vol->stop();
    // One pixel is one radius-th of a radian at the centre of the view.
    const double degres = 180 / Pi / carte->radius();
    const double lat = carte->centerLatitude();
    const double cosinus = std::max(std::cos(lat * Pi / 180), 0.01);
    carte->centerOn(carte->centerLongitude() + pixels.x() * degres / cosinus,
                    std::clamp(lat - pixels.y() * degres, -90.0, 90.0));
    update();
}

void VueGlobe::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    appui = glisse = event->pos();
    bouge = false;
    tenir = prise && prise(event->pos());
    glisser = !tenir;
    setCursor(tenir ? Qt::SizeAllCursor : Qt::ClosedHandCursor);
}

void VueGlobe::mouseMoveEvent(QMouseEvent* event)
{
    if (!glisser && !tenir)
        return;
    // A hand's tremor is still a click.
    bouge = bouge || (event->pos() - appui).manhattanLength() > 3;
    if (tenir) {
        if (bouge)
            emit PriseDeplacee(event->pos());
        return;
    }
    Deplacer(glisse - event->pos());
    glisse = event->pos();
}

void VueGlobe::mouseReleaseEvent(QMouseEvent* event)
{
    const bool clic = (glisser || tenir) && !bouge && event->button() == Qt::LeftButton;
    const bool lache = tenir && bouge;
    glisser = tenir = false;
    if (lache)
        emit PriseLachee(event->pos());
    unsetCursor();
    if (clic)
        emit Clique(event->pos());
}

void VueGlobe::mouseDoubleClickEvent(QMouseEvent* event)
{
    Zoomer(Pas * Pas, event->pos());
}

void VueGlobe::wheelEvent(QWheelEvent* event)
{
    Zoomer(std::pow(Pas, event->angleDelta().y() / 120.0), event->position().toPoint());
}

void VueGlobe::keyPressEvent(QKeyEvent* event)
{
    const int dx = width() / 10;
    const int dy = height() / 10;
    switch (event->key()) {
    case Qt::Key_Left:
        return Deplacer(QPoint(-dx, 0));
    case Qt::Key_Right:
        return Deplacer(QPoint(dx, 0));
    case Qt::Key_Up:
        return Deplacer(QPoint(0, -dy));
    case Qt::Key_Down:
        return Deplacer(QPoint(0, dy));
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return Zoomer(Pas, rect().center());
    case Qt::Key_Minus:
        return Zoomer(1 / Pas, rect().center());
    default:
        QWidget::keyPressEvent(event);
    }
}

void VueGlobe::contextMenuEvent(QContextMenuEvent* event)
{
    double lon = 0, lat = 0;
    if (PointEn(event->pos(), lon, lat))
        emit MenuDemande(event->globalPos(), lon, lat);
}
