// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gpx/PoiTable.h"
#include "shell/ApplicationGE.h"
#include "shell/Plateforme.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

class Creer_POI;
class TexteLien1;

// A map object that records every call and answers from its settings; with
// marques, one that knows the waypoints' placemarks.
class ApplicationGEFactice : public ApplicationGE, public MarquesGE, public RoutesGE {
public:
    bool marques = false;
    SuiviGE* suivi = nullptr;
    // What it was last given of the routes: their lines, and the build mode
    // with the free points of the chosen route.
    std::vector<LigneGE> lignes;
    bool construction = false;
    std::vector<bool> libres;
    SuiviRoutesGE* suiviRoutes = nullptr;
    int pretApres = 0; // IsInitialized answers non-zero from this call on (1-based)
    bool sondageEchoue = false;
    bool cameraEchoue = false;
    int sondages = 0;
    CameraGE camera;
    QStringList appels;

    int32_t IsInitialized() override;
    void SetCameraParams(double latitude, double longitude, double altitude, int32_t altitudeMode,
                         double range, double tilt, double azimuth, double speed) override;
    void LoadKmlData(const QString& kml) override
    {
        appels << QStringLiteral("LoadKmlData ") + kml;
    }
    CameraGE GetCamera(int32_t considerTerrain) override;
    MarquesGE* Marques() override { return marques ? this : nullptr; }
    void PoserMarques(const std::vector<MarqueGE>& liste) override;
    void MarquerCourante(int numero, bool deplacable) override
    {
        appels << QStringLiteral("MarquerCourante %1 %2").arg(numero).arg(deplacable);
    }
    void Suivre(SuiviGE* s) override { suivi = s; }
    RoutesGE* Routes() override { return marques ? this : nullptr; }
    void PoserLignes(const std::vector<LigneGE>& l) override { lignes = l; }
    void Construire(bool actif, const std::vector<bool>& l) override
    {
        construction = actif;
        libres = l;
    }
    void SuivreRoutes(SuiviRoutesGE* s) override { suiviRoutes = s; }
    // The calls that start with debut.
    QStringList Appels(const QString& debut) const
    {
        return appels.filter(
            QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(debut)));
    }
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
    // Answers of the next text questions, in order; "" (cancel) afterwards.
    QStringList saisies;
    QStringList questions;
    // Run after a file dialog has answered, before the command goes on.
    std::function<void()> apresDialogue;
    int32_t connexion = 1;
    QDateTime maintenant = QDateTime(QDate(2026, 6, 21), QTime(8, 30, 5), Qt::UTC);
    // Creates the map object; when unset, creation fails.
    std::function<std::unique_ptr<ApplicationGE>()> fabrique;

    QList<Boite> boites;
    QStringList Textes() const;
    QList<Dialogue> dialogues;
    QStringList filtres;
    QStringList ouvertures;
    int verificationsConnexion = 0;
    QStringList creations;
    int fins = 0;

    // Map creation then gives a fake that becomes ready at its n-th query,
    // one that knows waypoints with marques; carte points to it once
    // created (owned by the program).
    void CarteFactice(int pretApres = 1, bool marques = false);
    ApplicationGEFactice* carte = nullptr;

    Reponse Message(QWidget* parent, const QString& texte, Boutons boutons) override;
    QString DialogueFichier(QWidget* parent, Dialogue genre, const QString& filtre) override;
    QString Saisie(QWidget*, const QString& question, const QString&) override
    {
        questions << question;
        return saisies.isEmpty() ? QString() : saisies.takeFirst();
    }
    bool OuvrirShell(const QString& adresse) override { return ouvertures << adresse, true; }
    int32_t ConnexionInternet() override { return ++verificationsConnexion, connexion; }
    QDateTime Maintenant() override { return maintenant; }
    std::unique_ptr<ApplicationGE> CreerObjet(const QString& identifiant, QString* erreur) override;
    void FinProgramme() override { ++fins; }
};

// A data-driven test's table of texts: the columns' names, then the rows,
// each with its name first; missing cells are empty.
// Column names must outlive the table: string literals.
void Tableau(const std::vector<const char*>& colonnes, const QList<QStringList>& lignes);
// A text column of the current row.
QString V(const char* colonne);

// GPX texts and tables for tests.
namespace OutilsGPX {

inline const QByteArray Entete =
    "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n"
    "<gpx version=\"1.1\" creator=\"OpenCPN\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xmlns=\"http://www.topografix.com/GPX/1/1\" "
    "xmlns:gpxx=\"http://www.garmin.com/xmlschemas/GpxExtensions/v3\" "
    "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
    "http://www.topografix.com/GPX/1/1/gpx.xsd\" xmlns:opencpn=\"http://www.opencpn.org\">\r\n";

// A waypoint exactly as the writer lays it out; liens are Lien() blocks.
QByteArray Wpt(const QByteArray& lat, const QByteArray& lon, const QByteArray& temps,
               const QByteArray& nom, const QByteArray& liens = QByteArray(),
               const QByteArray& sym = "anchorage");
QByteArray Lien(const QByteArray& cible, const QByteArray& texte);
// n links "http://l/k" named "Lk".
QByteArray Liens(int n);
inline QByteArray Document(const QByteArray& wpts)
{
    return Entete + wpts + "</gpx>\r\n";
}

// The table a text reads into.
std::unique_ptr<PoiTable> LireTexte(const QByteArray& octets);
// One line per waypoint and per link, to compare whole tables in one go.
QString Resume(const PoiTable& table);

bool Ecrire(const QString& chemin, const QByteArray& octets);
QByteArray Lire(const QString& chemin);

// Checks that a GPX file is well-formed XML and that gpsbabel reads the
// table's waypoint names and positions. Empty when all is well, otherwise
// what differs.
QString VerifierInterop(const QString& chemin, const PoiTable& table);

} // namespace OutilsGPX

// Whether two colours differ by at most 24 in each channel, alpha included:
// the same colour drawn by another antialiasing or gradient.
bool Proches(QRgb a, QRgb b);

// An image the program draws against its reference, tests/data/images/NOM.png:
// empty when each pixel is within a few levels of it (the raster engine's
// rounding may differ from one processor to another), else what differs.
// With QUAYLIGHT_IMAGES_ECRIRE set, writes the reference instead.
QString CommeReference(const QImage& image, const QString& nom);

// The editor started through the fake seam, settings and files in folders of
// their own.
class Session {
public:
    // Settings go to a fresh folder for the whole test program.
    static void Preparer();

    Session();
    ~Session();

    // Start-up, answered "Oui" (0) or "Non" (1); messages without a built-in
    // text get "Mn", and the boxes of start-up are forgotten.
    void Demarrer(int option = 1);
    // The Open command on a file of that name holding contenu.
    void Ouvrir(const QByteArray& contenu, const QString& nom = QStringLiteral("marques.gpx"));
    // Open on a path, through the dialog.
    void OuvrirChemin(const QString& chemin);
    // A mouse click on entry ligne of a list.
    void Cliquer(QWidget* liste, int ligne, Qt::KeyboardModifiers touches = {});
    // A new waypoint through the panel.
    void Nouveau(const QString& position, const QString& nom);
    QString Chemin(const QString& nom) const { return dossier.filePath(nom); }
    QStringList Liens() const;

    QTemporaryDir dossier;
    std::unique_ptr<PlateformeTest> plateforme;
    Creer_POI* f = nullptr;
    TexteLien1* d = nullptr;
};
