// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

struct PoiTable;

// The symbol of a mark, beside its name: the chart plotter's icon names and
// those the open file uses, or any text the user types.
class BoiteSymbole : public QComboBox {
public:
    explicit BoiteSymbole(QWidget* parent);

    // The names offered, for the open document; the text shown stays.
    void Proposer(const PoiTable& table);
    // Shows a symbol from its first letter.
    void Afficher(const QString& symbole);
    // The symbol typed or chosen, blanks around it dropped.
    QString Symbole() const { return currentText().trimmed(); }
    // The tool tip: the whole name shown, which the narrow box may cut,
    // then what the box is for.
    QString Bulle() const;

protected:
    bool event(QEvent* e) override;
};
