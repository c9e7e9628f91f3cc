// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/Historique.h"

#include <QDialog>
#include <functional>
#include <vector>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QPushButton;

// "Doublons…": the groups of marks that stand for one place (a GUID
// shared, or the same name within a distance, or any name with the box
// checked), each kept as its first mark by "Fusionner le groupe" or
// "Fusionner tout", one step of the history each.
class BoiteDoublons : public QDialog {
public:
    struct Liens {
        std::function<void(Historique::Etape)> noter;
        std::function<void()> documentChange;
    };

    BoiteDoublons(QWidget* parent, Liens liens);

    void Ouvrir();
    // The groups found again at the distance shown.
    void Chercher();
    void Fusionner_Groupe_Click();
    void Fusionner_Tout_Click();

    const std::vector<std::vector<int>>& Groupes() const { return groupes; }

    QLabel* Label_Doublons;
    QDoubleSpinBox* Distance_Doublons;
    QCheckBox* Tout_Nom;
    QListWidget* Liste_Doublons;
    QPushButton* Fusionner_Groupe;
    QPushButton* Fusionner_Tout;
    QPushButton* Fermer_Doublons;

private:
    void Fusionner(const std::vector<std::vector<int>>& choisis);

    Liens liens;
    std::vector<std::vector<int>> groupes;
};
