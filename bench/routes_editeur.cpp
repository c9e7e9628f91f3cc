// SPDX-License-Identifier: GPL-3.0-or-later
// Routes as the user meets them: a file of 20,000 marks and a route of
// 5,000 points through them opened in the editor, the routes panel shown,
// and the time from choosing that route to its filled leg table; then the
// companion tool's routes command beside its dump of a file of 1,000 routes
// of 100 points. Release build, under Xvfb:
//   xvfb-run -a build-rel/routes_editeur
#include "Marques.h"
#include "Mesures.h"
#include "Outils.h"
#include "ui/Creer_POI.h"
#include "ui/PanneauRoutes.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QProcess>
#include <QTableWidget>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    Session::Preparer();
    Session s;
    s.Demarrer(1);
    const QString fichier = s.Chemin(QStringLiteral("routes.gpx"));
    OutilsGPX::Ecrire(fichier, MarquesEtRoutes(20000, 1, 5000));
    s.OuvrirChemin(fichier);
    s.f->Voir_Routes->trigger();
    PanneauRoutes& routes = *s.f->ROUTES;
    std::vector<double> choix;
    for (int essai = 0; essai < 7; ++essai) {
        routes.ListeRoutes->setCurrentRow(-1);
        QElapsedTimer t;
        t.start();
        routes.ListeRoutes->setCurrentRow(0);
        choix.push_back(t.nsecsElapsed() / 1e6);
        if (routes.TableTroncons->rowCount() != 5000) {
            std::fprintf(stderr, "the leg table holds %d rows\n", routes.TableTroncons->rowCount());
            return 1;
        }
    }
    std::printf("a route of 5,000 points chosen to its filled leg table: median %.1f ms\n",
                Mediane(choix));

    const QString grand = s.Chemin(QStringLiteral("1000-routes.gpx"));
    OutilsGPX::Ecrire(grand, MarquesEtRoutes(2000, 1000, 100));
    std::vector<double> itineraires, dump;
    // In turn, so that a change of the machine's load touches both alike.
    for (int essai = 0; essai < 7; ++essai) {
        itineraires.push_back(Outil({QStringLiteral("routes"), grand}));
        dump.push_back(Outil({QStringLiteral("dump"), grand}));
    }
    std::printf("quaylight-gpx routes of 1,000 routes of 100 points: median %.1f ms, dump %.1f "
                "ms, ratio %.2f\n",
                Mediane(itineraires), Mediane(dump), Mediane(itineraires) / Mediane(dump));
    return 0;
}
