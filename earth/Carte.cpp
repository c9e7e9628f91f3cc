// SPDX-License-Identifier: GPL-3.0-or-later
#include "earth/Carte.h"
#include "earth/Cercles.h"
#include "gpx/Proprietes.h"

#include "editing/Nombres.h"
#include "shell/ApplicationGE.h"
#include "shell/Declarations.h"
#include "shell/Plateforme.h"

#include <algorithm>

namespace Carte {

namespace {

// Camera settings of every move: altitude 0 in mode 1, no tilt, no azimuth,
// speed 5; the range in metres.
void Camera(double latitude, double longitude, double range)
{
    if (!Declarations::AppliGE)
        return;
    try {
        Declarations::AppliGE->SetCameraParams(latitude, longitude, 0, 1, range, 0, 0, 5);
    } catch (const EchecGE&) {
        // A map that cannot move leaves the view as it was.
    }
}

// Without a connection, each map move asks first; true to go on.
bool QuestionConnexion(QWidget* parent)
{
    if (Declarations::Connecte != 0)
        return true;
    return Plateforme::Courante().Message(parent, Declarations::MsgBoite[16],
                                          Plateforme::Boutons::OuiNon) == Plateforme::Reponse::Oui;
}

int sansVol = 0;

MarquesGE* Marques()
{
    return Declarations::AppliGE ? Declarations::AppliGE->Marques() : nullptr;
}

} // namespace

SansVol::SansVol()
{
    ++sansVol;
}

SansVol::~SansVol()
{
    --sansVol;
}

QString TexteCoordonnee(double valeur)
{
    return QString::number(valeur, 'g', 15);
}

QString TexteCapture(double latitude, double longitude)
{
    return TexteCoordonnee(latitude) + QLatin1Char(',') + TexteCoordonnee(longitude);
}

void Suivre(SuiviGE* suivi)
{
    if (MarquesGE* m = Marques())
        m->Suivre(suivi);
}

void ActualiserMarques()
{
    using namespace Declarations;
    MarquesGE* m = Marques();
    if (!m)
        return;
    std::vector<MarqueGE> marques(size_t(std::max<int>(Table.NbPOI, 0)));
    for (int i = 1; i <= Table.NbPOI; ++i) {
        MarqueGE& marque = marques[size_t(i - 1)];
        marque.nom = Table.NomPOI[i];
        marque.longitude = Nombres::NombreEnTete(Table.LonPOI[i]);
        marque.latitude = Nombres::NombreEnTete(Table.LatPOI[i]);
        marque.symbole = Table.SymPOI[i];
        if (const Gpx::GardePOI* garde = Table.GardesPOI[size_t(i)].get()) {
            const Gpx::Apparence a = Gpx::ApparenceDe(Gpx::LireProprietes(garde));
            marque.visible = a.visible;
            marque.nomVisible = a.nomVisible;
            if (a.visible)
                marque.cercles =
                    Cercles::Autour(marque.latitude, marque.longitude, a.rayon, a.anneaux, a.pas);
            marque.couleur = a.couleur;
        }
    }
    m->PoserMarques(marques);
}

void MarquerCourante(int numero, bool deplacable)
{
    if (MarquesGE* m = Marques())
        m->MarquerCourante(numero, numero > 0 && deplacable);
}

SuiteOuverture GardeOuverture(QWidget* parent)
{
    int32_t pret = 0;
    try {
        if (Declarations::AppliGE)
            pret = Declarations::AppliGE->IsInitialized();
    } catch (const EchecGE&) {
        pret = 0;
    }
    if (pret != 0)
        return SuiteOuverture::Continuer;
    switch (Plateforme::Courante().Message(
        parent,
        QStringLiteral(
            "Google Earth n'est pas encore initalisé - Googel Earth has not finished loading"),
        Plateforme::Boutons::AbandonReessayerIgnorer)) {
    case Plateforme::Reponse::Abandon:
        return SuiteOuverture::Quitter;
    case Plateforme::Reponse::Ignorer:
        return SuiteOuverture::Continuer;
    default:
        return SuiteOuverture::Terminer;
    }
}

QString TextePlacemark(const QString& nom, const QString& lon, const QString& lat, bool nomme)
{
    return QStringLiteral("<Placemark>") +
           (nomme ? QStringLiteral("<name>") + nom + QStringLiteral("</name>") : QString()) +
           QStringLiteral("<Point><coordinates>") + lon + QLatin1Char(',') + lat +
           QStringLiteral(",0</coordinates></Point></Placemark>");
}

void AfficherCartePOI(QWidget* parent)
{
    using namespace Declarations;
    if (!QuestionConnexion(parent))
        return;
    // Extents in single precision, as the view is framed.
    float latMin = 1000, latMax = -1000, lonMin = 1000, lonMax = -1000;
    double range = 2000;
    for (int i = 1; i <= Table.NbPOI; ++i) {
        const float lat = static_cast<float>(Nombres::NombreEnTete(Table.LatPOI[i]));
        const float lon = static_cast<float>(Nombres::NombreEnTete(Table.LonPOI[i]));
        latMin = std::min(latMin, lat);
        lonMin = std::min(lonMin, lon);
        latMax = std::max(latMax, lat);
        lonMax = std::max(lonMax, lon);
        const float calcule = ((latMax - latMin) + (lonMax - lonMin)) * 150000.0f;
        range = calcule < 2000 ? 2000 : calcule;
    }
    const float centreLat = (latMax + latMin) / 2;
    const float centreLon = (lonMax + lonMin) / 2;
    Camera(centreLat, centreLon, range);
    if (!AppliGE)
        return;
    if (Marques()) {
        ActualiserMarques();
        return;
    }
    for (int i = 1; i <= Table.NbPOI; ++i) {
        try {
            AppliGE->LoadKmlData(TextePlacemark(Table.NomPOI[i], Table.LonPOI[i], Table.LatPOI[i]));
        } catch (const EchecGE&) {
            // The other placemarks are still shown.
        }
    }
}

void CentrerCartePOI(QWidget* parent)
{
    using namespace Declarations;
    if (sansVol > 0 || !QuestionConnexion(parent))
        return;
    if (!Table.Ligne(NumPOI))
        return;
    Camera(Nombres::NombreEnTete(Table.LatPOI[NumPOI]), Nombres::NombreEnTete(Table.LonPOI[NumPOI]),
           2000);
}

} // namespace Carte
