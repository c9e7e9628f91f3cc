#pragma once

#include "earth/ApplicationGE.h"
#include "shell/Plateforme.h"

#include <QList>
#include <QStringList>
#include <functional>

// A map object that records every call and answers from its settings.
class ApplicationGEFactice : public ApplicationGE {
public:
    int pretApres = 0; // IsInitialized answers non-zero from this call on (1-based)
    bool sondageEchoue = false;
    bool cameraEchoue = false;
    int sondages = 0;
    CameraGE camera;
    QStringList appels;

    int32_t IsInitialized() override;
    void SetCameraParams(double latitude, double longitude, double altitude, int32_t altitudeMode,
                         double range, double tilt, double azimuth, double speed) override;
    void LoadKmlData(const QString& kml) override;
    CameraGE GetCamera(int32_t considerTerrain) override;
};

// The platform seam for tests: answers dialogs from a script and records
// every call. Installs itself for its lifetime, and hides the language files
// meanwhile.
class PlateformeTest : public Plateforme {
public:
    struct Boite {
        QString texte;
        Boutons boutons;
    };

    PlateformeTest();
    ~PlateformeTest() override;

    // Answers of the next message boxes, in order; OK (or Non for a
    // question) once the script is exhausted.
    QList<Reponse> reponses;
    // Answers of the next file dialogs, in order; "" (cancel) afterwards.
    QStringList fichiers;
    // Run after a file dialog has answered, before the command goes on.
    std::function<void()> apresDialogue;
    int32_t connexion = 1;
    QDateTime maintenant = QDateTime(QDate(2026, 6, 21), QTime(8, 30, 5), Qt::UTC);
    // Creates the map object; when unset, creation fails.
    std::function<std::unique_ptr<ApplicationGE>()> fabrique;

    QList<Boite> boites;
    // The texts of the message boxes shown so far.
    QStringList Textes() const;
    QList<Dialogue> dialogues;
    QStringList ouvertures;
    int verificationsConnexion = 0;
    QStringList creations;
    int fins = 0;

    // Map creation then gives a fake that becomes ready at its n-th query;
    // carte points to it once created (owned by the program).
    void CarteFactice(int pretApres = 1);
    ApplicationGEFactice* carte = nullptr;

    Reponse Message(QWidget* parent, const QString& texte, Boutons boutons) override;
    QString DialogueFichier(QWidget* parent, Dialogue genre, const QString& filtre) override;
    bool OuvrirShell(const QString& adresse) override;
    int32_t ConnexionInternet() override;
    QDateTime Maintenant() override;
    std::unique_ptr<ApplicationGE> CreerObjet(const QString& identifiant, QString* erreur) override;
    void FinProgramme() override;
};
