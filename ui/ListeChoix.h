// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListWidget>

// A list whose entries are chosen only by selecting them: the current row
// that keyboard focus gives an item view means nothing here, and the user
// cannot clear the selection (Ctrl+click on the last entry chosen), only
// choose another entry. The program clears it with setCurrentRow(-1).
class ListeChoix : public QListWidget {
public:
    using QListWidget::QListWidget;

    // The selected entry's row, -1 when none is selected.
    int LigneChoisie() const;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
};
