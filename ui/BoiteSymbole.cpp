// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/BoiteSymbole.h"

#include "editing/Symboles.h"
#include "gpx/PoiTable.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QStyle>
#include <QToolTip>
#include <algorithm>

BoiteSymbole::BoiteSymbole(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(16);
    // What the user types stays as typed: the names are offered in the
    // box's own list, taken only when picked there with the arrows or a
    // click (inline completion turned "buoy" into "buoy1" and "Anchor" into
    // "anchorage"; a completion popup took the next click, on "Valider").
    setCompleter(nullptr);
    Proposer(PoiTable());
}

void BoiteSymbole::Proposer(const PoiTable& table)
{
    const QString texte = currentText();
    clear();
    const QStringList noms = Symboles::Proposes(table);
    addItems(noms);
    setEditText(texte);
    // The list below the box as wide as its longest name ("Danger Area"
    // showed as "Danger Ar").
    int largeur = 0;
    for (const QString& nom : noms)
        largeur = std::max(largeur, view()->fontMetrics().horizontalAdvance(nom));
    view()->setMinimumWidth(largeur + 2 * view()->frameWidth() +
                            style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 16);
}

QString BoiteSymbole::Bulle() const
{
    const QString nom = currentText();
    return nom.isEmpty() ? toolTip() : nom + QLatin1Char('\n') + toolTip();
}

bool BoiteSymbole::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip) {
        QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), Bulle(), this);
        return true;
    }
    return QComboBox::event(e);
}

void BoiteSymbole::Afficher(const QString& symbole)
{
    setEditText(symbole);
    lineEdit()->setCursorPosition(0);
}
