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
        if (liste->count() > 0 && liste->selectedItems().isEmpty())
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
