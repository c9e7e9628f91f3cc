#include "Factices.h"

#include "shell/Donnees.h"

#include <QLocale>

namespace {
QString Nombre(double v)
{
    return QLocale::c().toString(v, 'g', 9);
}
} // namespace

int32_t ApplicationGEFactice::IsInitialized()
{
    ++sondages;
    appels << QStringLiteral("IsInitialized");
    if (sondageEchoue)
        throw EchecGE("query failed");
    return sondages >= pretApres ? 1 : 0;
}

void ApplicationGEFactice::SetCameraParams(double latitude, double longitude, double altitude,
                                           int32_t altitudeMode, double range, double tilt,
                                           double azimuth, double speed)
{
    appels << QStringLiteral("SetCameraParams %1 %2 %3 %4 %5 %6 %7 %8")
                  .arg(Nombre(latitude), Nombre(longitude), Nombre(altitude))
                  .arg(altitudeMode)
                  .arg(Nombre(range), Nombre(tilt), Nombre(azimuth), Nombre(speed));
}

void ApplicationGEFactice::LoadKmlData(const QString& kml)
{
    appels << QStringLiteral("LoadKmlData ") + kml;
}

CameraGE ApplicationGEFactice::GetCamera(int32_t considerTerrain)
{
    appels << QStringLiteral("GetCamera %1").arg(considerTerrain);
    if (cameraEchoue)
        throw EchecGE("no camera");
    return camera;
}

PlateformeTest::PlateformeTest()
{
    Plateforme::Installer(this);
    // No language file applies unless a test points to one.
    Donnees::DefinirDossiers({QStringLiteral("/nonexistent/quaylight")});
}

PlateformeTest::~PlateformeTest()
{
    Plateforme::Installer(nullptr);
    Donnees::DefinirDossiers({});
}

void PlateformeTest::CarteFactice(int pretApres)
{
    fabrique = [this, pretApres] {
        auto objet = std::make_unique<ApplicationGEFactice>();
        objet->pretApres = pretApres;
        carte = objet.get();
        return std::unique_ptr<ApplicationGE>(std::move(objet));
    };
}

Plateforme::Reponse PlateformeTest::Message(QWidget*, const QString& texte, Boutons boutons)
{
    boites << Boite{texte, boutons};
    if (!reponses.isEmpty())
        return reponses.takeFirst();
    return boutons == Boutons::OK ? Reponse::OK : Reponse::Non;
}

QString PlateformeTest::DialogueFichier(QWidget*, Dialogue genre, const QString&)
{
    dialogues << genre;
    const QString choix = fichiers.isEmpty() ? QString() : fichiers.takeFirst();
    if (apresDialogue)
        apresDialogue();
    return choix;
}

bool PlateformeTest::OuvrirShell(const QString& adresse)
{
    ouvertures << adresse;
    return true;
}

int32_t PlateformeTest::ConnexionInternet()
{
    ++verificationsConnexion;
    return connexion;
}

QDateTime PlateformeTest::Maintenant()
{
    return maintenant;
}

std::unique_ptr<ApplicationGE> PlateformeTest::CreerObjet(const QString& identifiant,
                                                          QString* erreur)
{
    creations << identifiant;
    if (!fabrique) {
        if (erreur)
            *erreur = QStringLiteral("no map in this test");
        return nullptr;
    }
    return fabrique();
}

void PlateformeTest::FinProgramme()
{
    ++fins;
}

QStringList PlateformeTest::Textes() const
{
    QStringList textes;
    for (const Boite& b : boites)
        textes << b.texte;
    return textes;
}
