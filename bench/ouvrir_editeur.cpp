// SPDX-License-Identifier: GPL-3.0-or-later
// The editor opening a file of 20,000 marks as other programs write them,
// as the user does (the Open command through its dialog, answered "Non" to
// the map), to the filled list; then a save; keys typed into the list's
// filter; 5,000 marks deleted and the deletion undone. Release build, under
// Xvfb:
//   xvfb-run -a build-rel/ouvrir_editeur
#include "Marques.h"
#include "Outils.h"
#include "ui/Creer_POI.h"
#include "ui/FiltreNoms.h"
#include "ui/ListeMarques.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The process's resident memory.
long MemoireKo()
{
    QFile statut(QStringLiteral("/proc/self/status"));
    statut.open(QIODevice::ReadOnly);
    for (const QByteArray& ligne : statut.readAll().split('\n'))
        if (ligne.startsWith("VmRSS:"))
            return ligne.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

} // namespace

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
    // Typing a name into the filter, letter by letter, then erasing it: each
    // key to the list updated (most of the list matches "marque 1", one
    // mark "marque 12345"; none "quai").
    std::vector<double> touches;
    for (const QString& texte : {QStringLiteral("Marque 12345"), QStringLiteral("quai")}) {
        for (const QChar c : texte) {
            QElapsedTimer t;
            t.start();
            QTest::keyClicks(s.f->Filtre, QString(c));
            touches.push_back(t.nsecsElapsed() / 1e6);
        }
        while (!s.f->Filtre->text().isEmpty()) {
            QElapsedTimer t;
            t.start();
            QTest::keyClick(s.f->Filtre, Qt::Key_Backspace);
            touches.push_back(t.nsecsElapsed() / 1e6);
        }
    }
    if (s.f->ListePOI->count() != 20000) {
        std::fprintf(stderr, "the filter left %d marks\n", s.f->ListePOI->count());
        return 1;
    }
    // 5,000 marks chosen (one in four), deleted after the question, then the
    // deletion undone: each to the list shown again.
    std::vector<qint64> supprimer, annuler;
    for (int essai = 0; essai < 5; ++essai) {
        QItemSelection choix;
        for (int k = 0; k < 20000; k += 4)
            choix.select(s.f->ListePOI->model()->index(k, 0), s.f->ListePOI->model()->index(k, 0));
        s.f->ListePOI->selectionModel()->select(choix, QItemSelectionModel::ClearAndSelect);
        s.plateforme->reponses << Plateforme::Reponse::Oui;
        s.f->Option1[2]->click();
        QElapsedTimer t;
        t.start();
        s.f->Validation->click();
        supprimer.push_back(t.elapsed());
        t.start();
        s.f->Annuler->trigger();
        annuler.push_back(t.elapsed());
        if (s.f->ListePOI->count() != 20000 || s.f->ListePOI->PoisChoisis().size() != 5000) {
            std::fprintf(stderr, "undone, the list holds %d marks\n", s.f->ListePOI->count());
            return 1;
        }
    }
    // The history's memory: 200 steps that each change one mark of the
    // 20,000 grow the process by what they changed, not by a table each.
    s.f->ListePOI->setCurrentRow(10);
    const long avant = MemoireKo();
    for (int pas = 0; pas < 200; ++pas) {
        s.f->Option1[0]->click();
        s.f->Nom_WP->setText(QStringLiteral("Marque changée %1").arg(pas));
        s.f->Validation->click();
    }
    std::printf("200 changes of one mark kept for undoing: %ld KB more\n", MemoireKo() - avant);
    std::sort(supprimer.begin(), supprimer.end());
    std::sort(annuler.begin(), annuler.end());
    std::printf("Deleting 5,000 chosen marks of 20,000: median %lld ms (%lld to %lld); undoing "
                "it: median %lld ms (%lld to %lld)\n",
                supprimer[2], supprimer[0], supprimer[4], annuler[2], annuler[0], annuler[4]);
    std::sort(touches.begin(), touches.end());
    std::printf("A key in the filter: median %.1f ms, worst %.1f ms (%zu keys)\n",
                touches[touches.size() / 2], touches.back(), touches.size());
    std::sort(ouvrir.begin(), ouvrir.end());
    std::sort(sauver.begin(), sauver.end());
    std::printf("Open to the filled list: median %lld ms (%lld to %lld)\n", ouvrir[2], ouvrir[0],
                ouvrir[4]);
    std::printf("Save: median %lld ms (%lld to %lld)\n", sauver[2], sauver[0], sauver[4]);
    return 0;
}
