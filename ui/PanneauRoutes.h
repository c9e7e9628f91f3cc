// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/Historique.h"
#include "shell/ApplicationGE.h"

#include <QGroupBox>
#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

// The routes panel: the document's routes, the chosen one's leg table,
// its planned speed and departure, and the commands that build it. Every
// change is one step of the history. It works on the shared routes and
// table; what it needs of the main window it is given. In its build mode,
// clicks on the map add to the chosen route.
class PanneauRoutes : public QGroupBox, public SuiviRoutesGE {
public:
    struct Liens {
        // The marks chosen in the marks list, in the order it shows them.
        std::function<std::vector<int>()> marquesChoisies;
        // A change made, to undo as one step.
        std::function<void(Historique::Etape)> noter;
        // The routes or the route chosen changed (the map follows).
        std::function<void()> routesChangees;
    };

    PanneauRoutes(QWidget* parent, Liens liens);

    // The lists filled again from the routes and the table, the chosen
    // route and point kept where they still exist.
    void Actualiser();
    // The route chosen (an index of the routes), -1 for none; the same for
    // the point chosen in its leg table.
    int RouteChoisie() const;
    int PointChoisi() const;
    void ChoisirRoute(int r);
    void ChoisirPoint(int k);

    void Nouvelle_Route_Click();
    void Nom_Route_Valider();
    void Supprimer_Route_Click();
    void Ajouter_Poi_Route_Click();
    void Inserer_Poi_Route_Click();
    void Retirer_Point_Click();
    void Monter_Point_Click();
    void Descendre_Point_Click();
    void Inverser_Route_Click();
    void Placer_Point_Click();
    void Vitesse_Route_Valider();
    void Depart_Route_Valider();
    void Construire_Route_Click();

    // The map's clicks and drags in the build mode.
    void MarqueAjoutee(int numero) override;
    void PointAjoute(double longitude, double latitude) override;
    void PointDeplace(int k, double longitude, double latitude) override;
    void ConstructionFinie() override;

    QListWidget* ListeRoutes;
    QLineEdit* Nom_Route;
    QPushButton* Nouvelle_Route;
    QPushButton* Supprimer_Route;
    QTableWidget* TableTroncons;
    QPushButton* Ajouter_Poi_Route;
    QPushButton* Inserer_Poi_Route;
    QPushButton* Retirer_Point;
    QPushButton* Monter_Point;
    QPushButton* Descendre_Point;
    QPushButton* Inverser_Route;
    QLineEdit* Position_Point;
    QPushButton* Placer_Point;
    QLabel* Label_Vitesse;
    QLineEdit* Vitesse_Route;
    QLabel* Label_Depart;
    QLineEdit* Depart_Route;
    QLabel* Totaux_Route;
    QPushButton* Construire_Route;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Runs a change of the chosen route (or of the routes) as one step.
    void Changer(const std::function<void()>& changement);
    void AjouterMarques(int avant);
    // The chosen route's leg table, its marks found through index.
    void RemplirTroncons(const Routes::Index& index);
    void Message(const QString& texte);

    Liens liens;
    // Set while the lists are filled, so that their selections do not
    // count as the user's.
    bool remplissage = false;
};
