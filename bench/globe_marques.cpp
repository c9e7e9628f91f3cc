// SPDX-License-Identifier: GPL-3.0-or-later
// The globe with 20,000 marks, as the editor shows a large file: the time
// to add the placemarks, then the time of each repaint while the view is
// panned, at a regional and at a close distance. Run under Xvfb:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build-rel/globe_marques
#include "earth/Eclaircie.h"
#include "earth/globe/VueGlobe.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <marble/GeoDataDocument.h>
#include <marble/GeoDataPlacemark.h>
#include <marble/GeoDataTreeModel.h>
#include <marble/MarbleMap.h>
#include <marble/MarbleModel.h>
#include <vector>

namespace {

void Attendre(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Repaints while the view moves east step by step: median and worst, in ms.
void Panoramique(VueGlobe& vue, double distance, double pas)
{
    vue.Placer(-4.6, 48.0, distance);
    Attendre(500);
    std::vector<double> temps;
    for (int i = 0; i < 40; ++i) {
        vue.Carte()->centerOn(-4.6 + pas * i, 48.0);
        QElapsedTimer t;
        t.start();
        vue.repaint();
        temps.push_back(t.nsecsElapsed() / 1e6);
        QApplication::processEvents();
    }
    std::sort(temps.begin(), temps.end());
    std::printf("repaint while panning at %.0f km: median %.1f ms, worst %.1f ms\n",
                distance / 1000, temps[temps.size() / 2], temps.back());
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const int nombre = argc > 1 ? std::atoi(argv[1]) : 20000;
    VueGlobe vue;
    vue.resize(800, 600);
    vue.Carte()->setMapThemeId(QStringLiteral("earth/srtm/srtm.dgml"));
    vue.show();
    Attendre(1500);

    // As the globe window adds a file's marks: in one change of the model,
    // thinned; "un-a-un" adds them one by one, unthinned, for comparison.
    const bool unAUn = argc > 2 && std::strcmp(argv[2], "un-a-un") == 0;
    auto* document = new Marble::GeoDataDocument;
    QElapsedTimer t;
    t.start();
    // A grid over the Iroise sea and the Breton coast, a mark every 700 m.
    const int cote = int(std::ceil(std::sqrt(nombre)));
    std::vector<std::pair<double, double>> positions;
    for (int i = 0; i < nombre; ++i)
        positions.emplace_back(-5.5 + 1.8 * (i % cote) / cote, 47.4 + 1.2 * (i / cote) / cote);
    const std::vector<int> niveaux =
        Eclaircie::NiveauxAffichage(positions, unAUn ? nombre : Eclaircie::Seuil);
    if (unAUn)
        vue.Modele()->treeModel()->addDocument(document);
    for (int i = 0; i < nombre; ++i) {
        auto* placemark = new Marble::GeoDataPlacemark(QStringLiteral("Marque %1").arg(i + 1));
        placemark->setCoordinate(positions[size_t(i)].first, positions[size_t(i)].second, 0,
                                 Marble::GeoDataCoordinates::Degree);
        placemark->setZoomLevel(niveaux[size_t(i)]);
        if (unAUn)
            vue.Modele()->treeModel()->addFeature(document, placemark);
        else
            document->append(placemark);
    }
    if (!unAUn)
        vue.Modele()->treeModel()->addDocument(document);
    std::printf("%d placemarks added in %lld ms\n", nombre, t.elapsed());
    Panoramique(vue, 200000, 0.02);
    Panoramique(vue, 20000, 0.002);
    return 0;
}
