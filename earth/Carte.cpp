#include "earth/Carte.h"

#include "earth/ApplicationGE.h"
#include "shell/Declarations.h"
#include "shell/Plateforme.h"
#include "ui/Creer_POI.h"

namespace Carte {

bool GardeOuverture(Creer_POI& fenetre)
{
    int32_t pret = 0;
    try {
        if (Declarations::AppliGE)
            pret = Declarations::AppliGE->IsInitialized();
    } catch (const EchecGE&) {
        pret = 0;
    }
    if (pret != 0)
        return true;
    switch (Plateforme::Courante().Message(
        &fenetre,
        QStringLiteral(
            "Google Earth n'est pas encore initalisé - Googel Earth has not finished loading"),
        Plateforme::Boutons::AbandonReessayerIgnorer)) {
    case Plateforme::Reponse::Abandon:
        fenetre.Quitter_Click();
        return false;
    case Plateforme::Reponse::Ignorer:
        return true;
    default:
        return false;
    }
}

// Framing and placemarks are not drawn on the map yet.
void AfficherCartePOI() {}
void CentrerCartePOI() {}

} // namespace Carte
