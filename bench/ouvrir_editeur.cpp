// SPDX-License-Identifier: GPL-3.0-or-later
// The editor opening a file of 20,000 marks as other programs write them,
// as the user does (the Open command through its dialog, answered "Non" to
// the map), to the filled list; then a save. Release build, under Xvfb:
//   xvfb-run -a build-rel/ouvrir_editeur
#include "Marques.h"
#include "Outils.h"
#include "ui/Creer_POI.h"
#include "ui/ListeMarques.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    Session::Preparer();
    Session s;
    s.Demarrer(1);
    const QString fichier = s.Chemin(QStringLiteral("20000.gpx"));
    OutilsGPX::Ecrire(fichier, Marques(20000));
    std::vector<qint64> ouvrir, sauver;
    for (int essai = 0; essai < 5; ++essai) {
        QElapsedTimer t;
        t.start();
        s.OuvrirChemin(fichier);
        ouvrir.push_back(t.elapsed());
        if (s.f->ListePOI->count() != 20000) {
            std::fprintf(stderr, "the list holds %d marks\n", s.f->ListePOI->count());
            return 1;
        }
        t.start();
        s.f->Sauver_Fichier->trigger();
        sauver.push_back(t.elapsed());
    }
    std::sort(ouvrir.begin(), ouvrir.end());
    std::sort(sauver.begin(), sauver.end());
    std::printf("Open to the filled list: median %lld ms (%lld to %lld)\n", ouvrir[2], ouvrir[0],
                ouvrir[4]);
    std::printf("Save: median %lld ms (%lld to %lld)\n", sauver[2], sauver[0], sauver[4]);
    return 0;
}
