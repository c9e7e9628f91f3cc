// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/Historique.h"
#include "editing/ProprietesPOI.h"

#include <QDialog>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The chart plotter's properties of the chosen marks, and their GPX
// comment and description. With several marks, a field whose values differ
// shows mixed (a partly checked box, an empty field with a hint), and only
// the fields the user changes go to every mark, as one step of the history.
class BoiteProprietes : public QDialog {
public:
    struct Liens {
        // The marks chosen in the marks list.
        std::function<std::vector<int>()> marquesChoisies;
        // A change made, to undo as one step.
        std::function<void(Historique::Etape)> noter;
        // The table changed: the list and the map follow.
        std::function<void()> tableChangee;
    };

    BoiteProprietes(QWidget* parent, Liens liens);

    // Shows the chosen marks' properties; message 1 without a mark.
    void Ouvrir();
    // What the user changed given to the marks; false, after a message,
    // when a value is refused: that field takes back its former value and
    // nothing changes.
    bool Valider_Proprietes_Click();
    void Nouveau_Guid_Click();
    // A fresh GUID for every mark of the document without one, as one step.
    void Guids_Poi_Click();

    // The marks it shows.
    const std::vector<int>& Marques() const { return marques; }

    QCheckBox* Viz_Poi;
    QCheckBox* Nom_Visible;
    QLabel* Label_Rayon;
    QLineEdit* Rayon_Arrivee;
    QCheckBox* Anneaux_Visibles;
    QLabel* Label_Anneaux;
    QLineEdit* Anneaux_Nombre;
    QLineEdit* Anneaux_Pas;
    QComboBox* Anneaux_Unites;
    QLineEdit* Anneaux_Couleur;
    QCheckBox* Echelle_Utilisee;
    QLabel* Label_Echelle;
    QLineEdit* Echelle_Min;
    QLineEdit* Echelle_Max;
    QLabel* Label_Maree;
    QLineEdit* Station_Maree;
    QLabel* Label_Guid;
    QLineEdit* Guid_Poi;
    QPushButton* Nouveau_Guid;
    QLabel* Label_Cmt;
    QLineEdit* Cmt_Poi;
    QLabel* Label_Desc;
    QPlainTextEdit* Desc_Poi;
    QPushButton* Valider_Proprietes;
    QPushButton* Annuler_Proprietes;

private:
    // What a field shows now, as ProprietesPOI gives the values: none while
    // it stays mixed.
    std::optional<QString> Lu(Gpx::Propriete q) const;
    void Montrer(Gpx::Propriete q, const std::optional<QString>& valeur);
    QWidget* Champ(Gpx::Propriete q) const;

    Liens liens;
    std::vector<int> marques;
    ProprietesPOI::Valeurs avant;
};
