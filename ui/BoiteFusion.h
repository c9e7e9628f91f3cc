// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/Historique.h"
#include "gpx/Fusion.h"
#include "gpx/PoiTable.h"

#include <QDialog>
#include <functional>
#include <memory>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// "Fusionner un fichier…": the marks of another file, classed against the
// open document's (same, changed, near, new) and shown in four groups with
// their counts before anything changes. The user chooses, for each changed
// mark or all, to keep the open document's, take the file's or keep both,
// and which near marks to add; the distance may be set from 1 m to 1 NM.
// The merge is one step of the history and ends with a message of counts.
class BoiteFusion : public QDialog {
public:
    struct Liens {
        std::function<void(Historique::Etape)> noter;
        // The table and routes changed: the list, the routes panel, the map.
        std::function<void()> documentChange;
    };

    BoiteFusion(QWidget* parent, Liens liens);

    // The file's marks classed and shown; leur is the file read.
    void Ouvrir(std::unique_ptr<PoiTable> leur);
    // Classes again at the distance shown.
    void Classer();
    // The merge as the dialog says.
    void Fusionner_Click();

    // The choice for changed mark t (an index of the file's marks).
    Gpx::Choix ChoixDe(int t) const;
    const Gpx::Classement& Classement() const { return classement; }

    QLabel* Label_Distance;
    QDoubleSpinBox* Distance_Fusion;
    QTreeWidget* Groupes_Fusion;
    QComboBox* Choix_Tous;
    QPushButton* Fusionner;
    QPushButton* Annuler_Fusion;

private:
    Liens liens;
    std::unique_ptr<PoiTable> leur;
    Gpx::Classement classement;
    // The distance the marks were classed at.
    double classeeA = -1;
    std::vector<QTreeWidgetItem*> entrees;
};
