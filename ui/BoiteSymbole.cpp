// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/BoiteSymbole.h"

#include "editing/Symboles.h"
#include "gpx/PoiTable.h"

#include <QCompleter>
#include <QLineEdit>

BoiteSymbole::BoiteSymbole(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(16);
    // What the user types stays as typed: names that begin the same are
    // offered in a list below, and taken only when picked there (inline
    // completion turned "buoy" into "buoy1" and "Anchor" into "anchorage").
    completer()->setCompletionMode(QCompleter::PopupCompletion);
    Proposer(PoiTable());
}

void BoiteSymbole::Proposer(const PoiTable& table)
{
    const QString texte = currentText();
    clear();
    addItems(Symboles::Proposes(table));
    setEditText(texte);
}

void BoiteSymbole::Afficher(const QString& symbole)
{
    setEditText(symbole);
    lineEdit()->setCursorPosition(0);
}
