// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/BoiteSymbole.h"

#include "editing/Symboles.h"
#include "gpx/PoiTable.h"

#include <QLineEdit>

BoiteSymbole::BoiteSymbole(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(16);
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
