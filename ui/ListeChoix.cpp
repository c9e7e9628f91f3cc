#include "ui/ListeChoix.h"

int ListeChoix::LigneChoisie() const
{
    const QList<QListWidgetItem*> choisis = selectedItems();
    return choisis.isEmpty() ? -1 : row(choisis.constFirst());
}

QItemSelectionModel::SelectionFlags ListeChoix::selectionCommand(const QModelIndex& index,
                                                                 const QEvent* event) const
{
    const auto commande = QListWidget::selectionCommand(index, event);
    return commande.testFlag(QItemSelectionModel::Deselect) ? QItemSelectionModel::NoUpdate
                                                            : commande;
}
