// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

class ListeMarques;

// The box above the waypoint list that narrows it as the user types.
// Escape empties it; Down and Return go on into the list, Return choosing
// the first mark shown when none is chosen.
class FiltreNoms : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    // The list the box narrows.
    void DefinirListe(ListeMarques* l) { liste = l; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    ListeMarques* liste = nullptr;
};
