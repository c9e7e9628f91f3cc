// SPDX-License-Identifier: GPL-3.0-or-later
// Merging and duplicates as the user meets them: 20,000 marks opened in the
// editor, a file of 20,000 marks merged into them (half the same marks,
// half others), from the command to the dialog showing the four groups;
// then the companion tool's duplicates command on 20,000 marks beside its
// dump of the same file. Release build, under Xvfb:
//   xvfb-run -a build-rel/fusion_editeur
#include "Marques.h"
#include "Mesures.h"
#include "Outils.h"
#include "ui/BoiteFusion.h"
#include "ui/Creer_POI.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    Session::Preparer();
    Session s;
    s.Demarrer(1);
    const QString mien = s.Chemin(QStringLiteral("mien.gpx"));
    const QString leur = s.Chemin(QStringLiteral("leur.gpx"));
    OutilsGPX::Ecrire(mien, Marques(20000));
    // Marks 10,001 to 30,000: the first half are the open file's last.
    QByteArray autres = Marques(30000);
    const int debut = autres.indexOf("  <wpt", autres.indexOf("<name>Marque 10000</name>"));
    const int entete = autres.indexOf("  <wpt");
    autres.remove(entete, debut - entete);
    OutilsGPX::Ecrire(leur, autres);
    s.OuvrirChemin(mien);
    BoiteFusion& b = *s.f->FUSION;
    std::vector<double> dialogue;
    for (int essai = 0; essai < 5; ++essai) {
        s.plateforme->fichiers << leur;
        QElapsedTimer t;
        t.start();
        s.f->Fusionner_Fichier->trigger();
        QCoreApplication::processEvents();
        dialogue.push_back(t.nsecsElapsed() / 1e6);
        b.hide();
    }
    std::printf("20,000 marks merged into 20,000 (%s / %s / %s / %s): to the dialog %.0f ms "
                "(median of 5)\n",
                qPrintable(b.Groupes_Fusion->topLevelItem(0)->text(0)),
                qPrintable(b.Groupes_Fusion->topLevelItem(1)->text(0)),
                qPrintable(b.Groupes_Fusion->topLevelItem(2)->text(0)),
                qPrintable(b.Groupes_Fusion->topLevelItem(3)->text(0)), Mediane(dialogue));
    std::vector<double> dump, doublons;
    for (int essai = 0; essai < 5; ++essai) {
        dump.push_back(Outil({QStringLiteral("dump"), mien}));
        doublons.push_back(Outil({QStringLiteral("duplicates"), mien}));
    }
    std::printf("quaylight-gpx on 20,000 marks: dump %.0f ms, duplicates %.0f ms (%.2f times; "
                "medians of 5)\n",
                Mediane(dump), Mediane(doublons), Mediane(doublons) / Mediane(dump));
    return 0;
}
