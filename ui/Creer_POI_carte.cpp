// SPDX-License-Identifier: GPL-3.0-or-later
// The window's side of the map: the capture of the position at the centre of
// the view, and picks and drags of its placemarks.
#include "earth/Carte.h"
#include "earth/CarteRoutes.h"
#include "shell/ApplicationGE.h"
#include "shell/Declarations.h"
#include "shell/Plateforme.h"
#include "ui/Creer_POI.h"
#include "ui/FiltreNoms.h"
#include "ui/ListeMarques.h"
#include "ui/PanneauRoutes.h"

#include <QLineEdit>
#include <QRadioButton>

namespace {

// A pick selects the mark in the list, a drag of the current one fills the
// position box.
class SuiviFenetre : public SuiviGE {
public:
    explicit SuiviFenetre(Creer_POI& f) : fenetre(f) {}

    void PlacemarkChoisi(int numero) override
    {
        if (!Declarations::Table.Ligne(numero) || fenetre.ListePOI->PoiChoisi() == numero)
            return;
        // The map is not filtered: a mark the list hides is shown again.
        if (fenetre.ListePOI->Filtre().Position(numero) < 0)
            fenetre.Filtre->clear();
        const Carte::SansVol garde;
        fenetre.ListePOI->Choisir(numero);
        fenetre.ListePOI->scrollToItem(fenetre.ListePOI->currentItem());
    }

    void PlacemarkDeplace(int numero, double longitude, double latitude) override
    {
        if (fenetre.Option1[0]->isChecked() && numero == Declarations::NumPOI) {
            fenetre.Lat_Long->setText(Carte::TexteCapture(latitude, longitude));
            fenetre.Lat_Long->setCursorPosition(0);
        }
    }

private:
    Creer_POI& fenetre;
};

} // namespace

void Creer_POI::SuivreCarte()
{
    if (!suiviCarte)
        suiviCarte = std::make_unique<SuiviFenetre>(*this);
    Carte::Suivre(suiviCarte.get());
    CarteRoutes::Suivre(ROUTES);
}

void Creer_POI::MontrerRoutesSurCarte()
{
    if (Option2[0]->isChecked())
        CarteRoutes::Poser(Declarations::Table, Declarations::LesRoutes, ROUTES->RouteChoisie());
}

Creer_POI::~Creer_POI()
{
    // The map no longer tells a window that is gone.
    if (suiviCarte) {
        Carte::Suivre(nullptr);
        CarteRoutes::Suivre(nullptr);
    }
}

void Creer_POI::MarquerCouranteSurCarte()
{
    Carte::MarquerCourante(ListePOI->PoiChoisi(), Option1[0]->isChecked());
}

void Creer_POI::Pickup_X_Y_Click()
{
    using namespace Declarations;
    try {
        if (!AppliGE)
            throw EchecGE("no map");
        camera = AppliGE->GetCamera(1);
        Lat_Long->setText(
            Carte::TexteCapture(camera.FocusPointLatitude, camera.FocusPointLongitude));
        AppliGE->LoadKmlData(
            Carte::TextePlacemark(QString(), Carte::TexteCoordonnee(camera.FocusPointLongitude),
                                  Carte::TexteCoordonnee(camera.FocusPointLatitude), false));
    } catch (const EchecGE&) {
        Message(16);
    }
}
