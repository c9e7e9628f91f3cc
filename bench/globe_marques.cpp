// SPDX-License-Identifier: GPL-3.0-or-later
// The globe window with 20,000 marks, as the editor shows a large file: the
// time to add the placemarks, the time of each repaint while the view is
// panned at a regional and at a close distance, the time a click takes to
// find the mark under it, and a drag's step; the repaints again with 200
// routes of 50 points drawn over the marks. Run under Xvfb:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build-rel/globe_marques
#include "earth/Cercles.h"
#include "earth/globe/GlobeMarble.h"
#include "earth/globe/VueGlobe.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QSet>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <marble/MarbleMap.h>
#include <vector>

namespace {

void Attendre(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void Rapport(const std::string& quoi, std::vector<double> temps)
{
    std::sort(temps.begin(), temps.end());
    std::printf("%s: median %.2f ms, worst %.2f ms\n", quoi.c_str(), temps[temps.size() / 2],
                temps.back());
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
    Rapport("repaint while panning at " + std::to_string(int(distance / 1000)) + " km", temps);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // The window's settings go to a test folder, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    const int nombre = argc > 1 ? std::atoi(argv[1]) : 20000;
    FenetreGlobe fenetre;
    fenetre.resize(800, 640);
    fenetre.show();
    VueGlobe& vue = *fenetre.Vue();
    vue.Carte()->setMapThemeId(QStringLiteral("earth/srtm/srtm.dgml"));
    Attendre(1500);

    // A grid over the Iroise sea and the Breton coast, a mark every 700 m,
    // added as the editor adds a file's marks.
    const int cote = int(std::ceil(std::sqrt(nombre)));
    std::vector<MarqueGE> marques(static_cast<size_t>(nombre));
    static const char* const symboles[] = {"buoy1", "light", "anchorage", "rock1", "fuel", ""};
    for (int i = 0; i < nombre; ++i) {
        MarqueGE& m = marques[size_t(i)];
        m.nom = QStringLiteral("Marque %1").arg(i + 1);
        m.longitude = -5.5 + 1.8 * (i % cote) / cote;
        m.latitude = 47.4 + 1.2 * (i / cote) / cote;
        m.symbole = QString::fromLatin1(symboles[i % 6]);
    }
    QElapsedTimer t;
    t.start();
    fenetre.PoserMarques(marques);
    std::printf("%d placemarks added in %lld ms\n", nombre, t.elapsed());
    Panoramique(vue, 200000, 0.02);
    Panoramique(vue, 20000, 0.002);

    // 200 routes of 50 points through the marks, as a sailor plans them:
    // from mark to mark a few cables or miles apart, zigzagging over the
    // grid; one chosen, its points numbered.
    std::vector<LigneGE> lignes(200);
    for (int r = 0; r < 200; ++r) {
        lignes[size_t(r)].choisie = r == 0;
        int i = (r * 997) % nombre;
        for (int k = 0; k < 50; ++k) {
            const MarqueGE& m = marques[size_t(i)];
            lignes[size_t(r)].points.emplace_back(m.longitude, m.latitude);
            i = (i + 1 + (k % 3) * cote) % nombre;
        }
    }
    fenetre.Lignes().Poser(lignes);
    std::printf("with 200 routes of 50 points:\n");
    Panoramique(vue, 200000, 0.02);
    Panoramique(vue, 20000, 0.002);

    // Range rings: 500 marks spread over the grid, each with an arrival
    // circle and three rings, as the editor computes them; routes off.
    fenetre.Lignes().Poser({});
    t.start();
    for (int k = 0; k < 500; ++k) {
        MarqueGE& m = marques[size_t(k * nombre / 500)];
        m.cercles = Cercles::Autour(m.latitude, m.longitude, 0.1, 3, 0.2);
        m.couleur = 0x00A000;
    }
    const qint64 calcul = t.elapsed();
    t.start();
    fenetre.PoserMarques(marques);
    std::printf("with range rings on 500 marks (circles computed in %lld ms, placed in %lld "
                "ms):\n",
                calcul, t.elapsed());
    Panoramique(vue, 200000, 0.02);
    Panoramique(vue, 20000, 0.002);
    for (MarqueGE& m : marques)
        m.cercles.clear();
    fenetre.PoserMarques(marques);
    fenetre.Lignes().Poser(lignes);

    // How many marks the thinning and the labels leave drawn, a user's view
    // of them; Atlas goes no closer than about 60 km across.
    for (double d : {200000.0, 20000.0}) {
        vue.Placer(-4.6, 48.0, d);
        vue.repaint();
        QSet<int> vues;
        for (int y = 4; y < vue.height(); y += 8)
            for (int x = 4; x < vue.width(); x += 8)
                vues.insert(fenetre.MarqueEn(QPoint(x, y)));
        std::printf("marks drawn at %.0f km: %d\n", d / 1000, int(vues.size()) - 1);
    }
    // Clicks over the view at 20 km, every 16 pixels: the time to find the
    // mark under the pointer, or that there is none.
    vue.Placer(-4.6, 48.0, 20000);
    vue.repaint();
    std::vector<double> temps;
    int trouvees = 0;
    for (int y = 8; y < vue.height(); y += 16)
        for (int x = 8; x < vue.width(); x += 16) {
            QElapsedTimer c;
            c.start();
            const int n = fenetre.MarqueEn(QPoint(x, y));
            temps.push_back(c.nsecsElapsed() / 1e6);
            trouvees += n > 0;
        }
    Rapport("a click at 20 km (" + std::to_string(temps.size()) + " places, " +
                std::to_string(trouvees) + " on a mark)",
            temps);

    // A drag of the current mark: each step moves its placemark and repaints.
    const int courante = int(std::lround(double(cote) * cote / 2 + cote / 2.0));
    const MarqueGE& m = marques[size_t(courante - 1)];
    vue.Placer(m.longitude, m.latitude, 20000);
    fenetre.MarquerCourante(courante, true);
    vue.repaint();
    temps.clear();
    const QPoint centre = vue.rect().center();
    QMouseEvent appui(QEvent::MouseButtonPress, centre, Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(&vue, &appui);
    for (int i = 1; i <= 40; ++i) {
        QElapsedTimer c;
        c.start();
        QMouseEvent glisse(QEvent::MouseMove, centre + QPoint(3 * i, i), Qt::NoButton,
                           Qt::LeftButton, {});
        QApplication::sendEvent(&vue, &glisse);
        vue.repaint();
        temps.push_back(c.nsecsElapsed() / 1e6);
    }
    Rapport("a drag's step with its repaint", temps);
    return 0;
}
