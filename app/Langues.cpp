// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Langues.h"

#include "gpx/Fichiers.h"
#include "shell/Declarations.h"
#include "shell/Donnees.h"
#include "shell/LigneLangue.h"
#include "ui/Creer_POI.h"
#include "ui/TexteLien1.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTableWidget>
#include <QTreeWidget>

namespace Langues {

namespace {

// Sets what the object shows as its caption, where it has one.
void DefinirLegende(QObject* objet, const QString& texte)
{
    if (auto* b = qobject_cast<QAbstractButton*>(objet))
        b->setText(texte);
    else if (auto* l = qobject_cast<QLabel*>(objet))
        l->setText(texte);
    else if (auto* g = qobject_cast<QGroupBox*>(objet))
        g->setTitle(texte);
    else if (auto* a = qobject_cast<QAction*>(objet))
        a->setText(texte);
    else if (auto* m = qobject_cast<QMenu*>(objet))
        m->setTitle(texte);
    else if (auto* s = qobject_cast<QLineEdit*>(objet))
        s->setPlaceholderText(texte);
    else if (auto* d = qobject_cast<QDialog*>(objet))
        d->setWindowTitle(texte);
    else if (auto* t = qobject_cast<QTableWidget*>(objet))
        t->setHorizontalHeaderLabels(texte.split(QLatin1Char('|')));
    else if (auto* a = qobject_cast<QTreeWidget*>(objet))
        a->setHeaderLabels(texte.split(QLatin1Char('|')));
}

// Menu items have no tool tip; controls do.
void DefinirBulle(QObject* objet, const QString& texte)
{
    if (qobject_cast<QMenu*>(objet))
        return;
    if (auto* w = qobject_cast<QWidget*>(objet))
        w->setToolTip(texte);
}

} // namespace

QString NomFichier(const QString& langue)
{
    if (langue == QLatin1String("en"))
        return QStringLiteral("langueEN.txt");
    if (langue == QLatin1String("self"))
        return QStringLiteral("langueSELF.txt");
    return QStringLiteral("langueFR.txt");
}

void EtapeLangue(Creer_POI& principale, TexteLien1& description)
{
    const QString chemin = Donnees::Chercher(NomFichier(Declarations::Langue));
    if (!chemin.isEmpty())
        Charger(chemin, principale, description);
}

void Charger(const QString& chemin, Creer_POI& principale, TexteLien1& description)
{
    QByteArray octets;
    QString erreur;
    if (!Fichiers::LireOctets(chemin, octets, erreur))
        return;
    EntreeLangue entree;
    for (const QString& ligne : Fichiers::Textes(Fichiers::LignesWindows1252(octets)))
        if (CouperLigneLangue(ligne, entree))
            Appliquer(entree, principale, description);
    principale.AjusterBarreMenus();
}

void Appliquer(const EntreeLangue& e, Creer_POI& principale, TexteLien1& description)
{
    const QChar code = e.code;
    if (code == QLatin1Char('C')) {
        QObject* objet = principale.Controle(e.nom);
        DefinirLegende(objet, e.texte1);
        DefinirBulle(objet, e.texte2);
    }
    // The option buttons answer to their array name whatever the code.
    auto options = [&](const char* tableau, auto& boutons) {
        for (int i = 0; i < int(boutons.size()); ++i)
            if (e.nom == QStringLiteral("%1(%2)").arg(QLatin1String(tableau)).arg(i)) {
                boutons[i]->setText(e.texte1);
                boutons[i]->setToolTip(e.texte2);
            }
    };
    options("Option1", principale.Option1);
    options("Option2", principale.Option2);
    if (code == QLatin1Char('T')) {
        QObject* objet = principale.Controle(e.nom);
        if (auto* boite = qobject_cast<QLineEdit*>(objet))
            boite->setText(e.texte1);
        DefinirBulle(objet, e.texte2);
    }
    if (code == QLatin1Char('M'))
        for (int n = 1; n <= int(Declarations::MsgBoite.size()) - 1; ++n)
            if (e.nom == QStringLiteral("MsgBoite$(%1)").arg(n))
                Declarations::MsgBoite[n] = e.texte1;
    if (code == QLatin1Char('D'))
        DefinirLegende(description.Controle(e.nom), e.texte1);
    // Captions of the globe window, which the globe plugin reads when it
    // builds its menu.
    if (code == QLatin1Char('G'))
        qApp->setProperty(qPrintable(QStringLiteral("quaylight.globe.") + e.nom), e.texte1);
    if (code == QLatin1Char('A'))
        Declarations::AdresseAide = e.texte1;
}

} // namespace Langues
