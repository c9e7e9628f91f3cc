// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FiltreNoms.h"

#include "ui/ListeMarques.h"

#include <QKeyEvent>

void FiltreNoms::keyPressEvent(QKeyEvent* event)
{
    switch (liste ? event->key() : 0) {
    case Qt::Key_Escape:
        if (!text().isEmpty()) {
            clear();
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The first mark shown, always: one chosen before and still shown
        // further down is not the one the user asks for.
        if (liste->count() > 0)
            liste->setCurrentRow(0);
        liste->setFocus(Qt::ShortcutFocusReason);
        return;
    case Qt::Key_Down:
        liste->setFocus(Qt::ShortcutFocusReason);
        return;
    default:
        break;
    }
    QLineEdit::keyPressEvent(event);
}
