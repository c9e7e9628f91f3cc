// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QWidget>
#include <functional>

class QVariantAnimation;
namespace Marble {
class GeoPainter;
class MarbleMap;
class MarbleModel;
} // namespace Marble

// The globe drawn by Marble's map in a widget of our own: no popup layer,
// so no web engine. Drag to pan, the wheel zooms around the pointer, a
// double click zooms in, arrows and +/- from the keyboard, and small buttons
// of ours do the same by click.
class VueGlobe : public QWidget {
    Q_OBJECT
public:
    explicit VueGlobe(QWidget* parent = nullptr);

    Marble::MarbleModel* Modele() const { return modele; }
    Marble::MarbleMap* Carte() const { return carte; }
    // True once the map has been drawn with its theme.
    bool Prete() const { return prete; }

    // Moves the view over about a second to the point, seen from distance
    // metres (kept within the theme's zoom limits).
    void Voler(double longitude, double latitude, double distance);
    // The same at once.
    void Placer(double longitude, double latitude, double distance);
    // The distance in metres the view is seen from.
    double Distance() const;
    // The point under a place of the widget; false off the globe.
    bool PointEn(const QPoint& place, double& longitude, double& latitude) const;
    // What a left drag that starts at a place moves: something of the map
    // when prise answers true for it (PriseDeplacee follows), the view
    // otherwise.
    void DefinirPrise(std::function<bool(const QPoint&)> p) { prise = std::move(p); }
    // What is drawn over the map at each paint.
    void DefinirDessus(std::function<void(Marble::GeoPainter&)> d) { dessus = std::move(d); }

signals:
    // A right click on the globe, at a point of it.
    void MenuDemande(const QPoint& ecran, double longitude, double latitude);
    // A left click that moved nothing.
    void Clique(const QPoint& place);
    // What prise took, dragged to a place of the widget.
    void PriseDeplacee(const QPoint& place);
    // What prise took, let go at a place after a drag.
    void PriseLachee(const QPoint& place);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The globe's radius in pixels within the theme's zoom limits.
    int Borner(double rayon) const;
    // Zooms by a factor, the point under autour staying where it is.
    void Zoomer(double facteur, const QPoint& autour);
    // Pans by a number of pixels.
    void Deplacer(const QPoint& pixels);
    void PlacerEchelle();

    Marble::MarbleModel* modele;
    Marble::MarbleMap* carte;
    QVariantAnimation* vol;
    QPoint glisse;
    QPoint appui;
    bool glisser = false;
    bool tenir = false;
    bool bouge = false;
    std::function<bool(const QPoint&)> prise;
    std::function<void(Marble::GeoPainter&)> dessus;
    bool prete = false;
};
