// SPDX-License-Identifier: GPL-3.0-or-later
// Mark properties as the user meets them: 20,000 marks opened in the
// editor, all chosen (Ctrl+A), the properties dialog opened on them, one
// property changed and applied, then undone; each to the list shown again.
// Release build, under Xvfb:
//   xvfb-run -a build-rel/proprietes_editeur
#include "Marques.h"
#include "Mesures.h"
#include "Outils.h"
#include "ui/BoiteProprietes.h"
#include "ui/Creer_POI.h"
#include "ui/ListeMarques.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
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
    const QString fichier = s.Chemin(QStringLiteral("marques.gpx"));
    OutilsGPX::Ecrire(fichier, Marques(20000));
    s.OuvrirChemin(fichier);
    BoiteProprietes& b = *s.f->PROPRIETES;
    std::vector<double> ouvrir, appliquer, annuler;
    QElapsedTimer t;
    for (int essai = 0; essai < 5; ++essai) {
        QTest::keyClick(s.f->ListePOI, Qt::Key_A, Qt::ControlModifier);
        t.start();
        s.f->Proprietes_Poi->trigger();
        ouvrir.push_back(t.nsecsElapsed() / 1e6);
        b.Rayon_Arrivee->setText(QString::number(0.1 * (essai + 1)));
        t.start();
        b.Valider_Proprietes->click();
        QCoreApplication::processEvents();
        appliquer.push_back(t.nsecsElapsed() / 1e6);
        t.start();
        s.f->Annuler->trigger();
        QCoreApplication::processEvents();
        annuler.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("20,000 marks chosen: dialog opened %.1f ms, a radius applied %.1f ms, undone "
                "%.1f ms (medians of 5)\n",
                Mediane(ouvrir), Mediane(appliquer), Mediane(annuler));
    return s.plateforme->boites.isEmpty() ? 0 : 1;
}
