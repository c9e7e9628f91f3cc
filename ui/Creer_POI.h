// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/Historique.h"
#include "shell/ApplicationGE.h"

#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <array>
#include <memory>
#include <utility>
#include <vector>

class BoiteDoublons;
class BoiteFusion;
class BoiteProprietes;
class BoiteSymbole;
class FiltreNoms;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class ListeChoix;
class ListeMarques;
class QMenu;
class QPushButton;
class PanneauRoutes;
class QRadioButton;
class TexteLien1;

// The main window: menu bar, the start-up question panel Google, the
// waypoint panel POIS and the link panel LIENS. Controls carry their layout
// names as object names; language files address them by these names.
class Creer_POI : public QMainWindow {
    Q_OBJECT
public:
    explicit Creer_POI(QWidget* parent = nullptr);
    ~Creer_POI() override;

    // The description window, set by start-up; its commands open it.
    QPointer<TexteLien1> fenetreDescription;

    // A control, menu or menu item by its layout name ("Option1(2)" for an
    // element of an option-button array); null when there is none.
    QObject* Controle(const QString& nom) const;

    // Handlers, named after the control and the event.
    void Ouvrir_Fichier_Click();
    // The Open command; a name given stands for the dialog's answer (a file
    // named when the program starts).
    void OuvrirDocument(const QString& nom);
    void Sauver_Fichier_Click();
    void Sauver_sous_Click();
    void Importer_Poi_Click();
    // Another file's marks, classed against the document's, in the merge
    // dialog.
    void Fusionner_Fichier_Click();
    void Annuler_Click();
    void Retablir_Click();
    void Montre_Fichier_Click();
    void Gestion_Liens_Click();
    // Shows the routes panel beside the marks, or hides it.
    void Voir_Routes_Click();
    void Aide_Click();
    void Quitter_Click();
    void Form_QueryUnload(bool& cancel, int unloadmode);
    void LangFR_Click();
    void LangEN_Click();
    void LangSelf_Click();
    void ListePOI_Click();
    void Lat_Long_Click();
    void Nom_WP_Click();
    void Option1_Click(int index);
    void Validation_Click();
    void Pickup_X_Y_Click();
    void Fichier_lien_Click();
    void Valider_lien_Click();
    void Tester_Lien_Click();
    void Supprimer_Lien_Click();
    void Descriptif_Click();

    // Picks and drags on the map reach this window from now on.
    void SuivreCarte();

    // Fits the menu bar's entries into the window's width; run again after
    // their captions change.
    void AjusterBarreMenus();

    // Waypoint list, rebuilt from the table.
    void RemplirListePOI();
    // Link list of the current waypoint, rebuilt from the table.
    void RemplirListeLiens();
    // Checks the position and name boxes and stores them into row NumPOI;
    // false, after its message, when they are refused.
    bool StockerSaisiePOI();

    // A change of the document made: one step to undo.
    void NoterChangement(Historique::Etape etape);
    // Undo and redo available as the history allows.
    void MettreAJourEdition();
    // The whole document changed (a merge): list, routes panel and map.
    void MontrerDocument();

    // Shows message numero of the message table, OK button only.
    void Message(int numero);

    // Clears an option button even inside an exclusive group.
    static void DecocherOption(QRadioButton* option);
    // Clears the three edit modes of Option1.
    void DecocherModes();

    QMenu* Menu_Fichier;
    QAction* Ouvrir_Fichier;
    QAction* Sauver_Fichier;
    QAction* Sauver_sous;
    QAction* Importer_Poi;
    QAction* Fusionner_Fichier;
    QMenu* Menu_Edition;
    QAction* Annuler;
    QAction* Retablir;
    QAction* Montre_Fichier;
    QAction* Gestion_Liens;
    QAction* Voir_Routes;
    QAction* Proprietes_Poi;
    QAction* Guids_Poi;
    QAction* Exporter_Calque;
    QAction* Doublons_Poi;
    QAction* Aide;
    QAction* Quitter;

    QGroupBox* Google;
    std::array<QRadioButton*, 2> Option2;

    QGroupBox* POIS;
    QPushButton* LangFR;
    QPushButton* LangEN;
    QPushButton* LangSelf;
    QLabel* Label2;
    QLineEdit* LeNomFichier;
    QLabel* Label1;
    FiltreNoms* Filtre;
    ListeMarques* ListePOI;
    QLineEdit* Lat_Long;
    QPushButton* Pickup_X_Y;
    QLineEdit* Nom_WP;
    BoiteSymbole* Symbole;
    std::array<QRadioButton*, 3> Option1;
    QPushButton* Validation;

    QGroupBox* LIENS;
    QLabel* Label9;
    QLineEdit* Text7;
    QPushButton* Descriptif;
    QLabel* Label4;
    QLineEdit* Text3;
    QLabel* Label5;
    QLineEdit* Text4;
    QLabel* Label6;
    QLineEdit* Text1;
    QLabel* Label7;
    QLineEdit* Text2;
    QPushButton* Fichier_lien;
    QPushButton* Valider_lien;
    QLabel* Label8;
    ListeChoix* ListeLiens;
    QPushButton* Tester_Lien;
    QPushButton* Supprimer_Lien;

    PanneauRoutes* ROUTES;
    BoiteProprietes* PROPRIETES;
    BoiteFusion* FUSION;
    BoiteDoublons* DOUBLONS;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* objet, QEvent* event) override;

private:
    // True while an entry of the waypoint list is selected: the link and
    // description commands act on it.
    bool PoiSelectionne() const;
    // Adds the link of a text box and a target box to the current waypoint.
    void AjouterLien(QLineEdit* texte, QLineEdit* cible, QString (*convertir)(const QString&));
    void AjouterLienWeb();
    void AjouterLienFichier();
    // Writes the table to chemin; false, after telling the user, on failure.
    bool EcrireDocument(const QString& chemin);
    void MessageEchec(int quoi, const QString& chemin, const QString& raison, int suite);

    // The table as a step of the history left it: list, map, current mark.
    void Revenir(const Historique::Retour& retour);

    void ConstruireMenus();
    void ConstruireGoogle(QWidget* zone);
    void ConstruirePOIS(QWidget* zone);
    void ConstruireLIENS(QWidget* zone);
    void ConnecterEvenements();
    // The panels laid out in the window's size: the marks list and the
    // routes panel take what the window has beyond its least size.
    void Disposer();
    // The chosen mark drawn as the current one on the map, movable in
    // "Modifier le Poi".
    void MarquerCouranteSurCarte();
    // The routes and tracks drawn on the map, the chosen route standing out.
    void MontrerRoutesSurCarte();

    // Where the marks panel's controls stand in the window's least size.
    QRect poisDeBase;
    QRect listeDeBase;
    std::vector<std::pair<QWidget*, QPoint>> sousLaListe;

    // The map's camera at the last capture.
    CameraGE camera;
    // What the map tells this window of picks and drags.
    std::unique_ptr<SuiviGE> suiviCarte;

    // Set while the program closes the window itself, so that the close
    // request is not taken for the user's.
    bool fermetureParProgramme = false;
};
