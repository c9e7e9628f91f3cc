// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDoubleSpinBox>

class QLabel;

// The distance under which two marks stand at the same place, for the
// duplicates and the merge: whole metres from one to a nautical mile,
// twenty at first.
class ChampDistance : public QDoubleSpinBox {
public:
    ChampDistance(QWidget* parent, const QString& nom);

    // Its label, named nom.
    static QLabel* Etiquette(QWidget* parent, const QString& nom);
};
