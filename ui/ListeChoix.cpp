// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ListeChoix.h"

int ListeChoix::LigneChoisie() const
{
    const QList<QListWidgetItem*> choisis = selectedItems();
    return choisis.isEmpty() ? -1 : row(choisis.constFirst());
}

QItemSelectionModel::SelectionFlags ListeChoix::selectionCommand(const QModelIndex& index,
                                                                 const QEvent* event) const
{
    // Ctrl+click deselects, Ctrl+Space toggles: neither clears the last
    // entry chosen; one of several may go.
    const auto commande = QListWidget::selectionCommand(index, event);
    const bool efface =
        commande.testFlag(QItemSelectionModel::Deselect) ||
        (commande.testFlag(QItemSelectionModel::Toggle) && selectionModel()->isSelected(index));
    return efface && selectionModel()->selectedRows().size() <= 1 ? QItemSelectionModel::NoUpdate
                                                                  : commande;
}
