// SPDX-License-Identifier: GPL-3.0-or-later
// The waypoint panel: selection, the clicks into the entry boxes and the
// new / modify / delete commands.
#include "earth/Carte.h"
#include "editing/Nombres.h"
#include "editing/Positions.h"
#include "shell/Declarations.h"
#include "shell/Plateforme.h"
#include "ui/BoiteSymbole.h"
#include "ui/Creer_POI.h"
#include "ui/ListeMarques.h"

#include <QLineEdit>
#include <QRadioButton>
#include <cmath>

namespace {

const QString InviteNom = QStringLiteral("Entrez ici le nom / Enter Poi's name");

// A waypoint is current while NumPOI designates one of the table's rows.
bool PoiCourant()
{
    return Declarations::NumPOI >= 1 && Declarations::NumPOI <= Declarations::Table.NbPOI;
}

QString TempsCourant()
{
    return Plateforme::Courante().Maintenant().toUTC().toString(
        QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"));
}

} // namespace

void Creer_POI::ListePOI_Click()
{
    using namespace Declarations;
    const int poi = ListePOI->PoiChoisi();
    // The map's current mark follows the selection, even to none.
    Carte::MarquerCourante(*this);
    if (poi < 1)
        return;
    NumPOI = static_cast<int16_t>(poi);
    const double lat = Nombres::NombreEnTete(Table.LatPOI[NumPOI]);
    const double lon = Nombres::NombreEnTete(Table.LonPOI[NumPOI]);
    Lat_Long->setText(lat == 0 || lon == 0
                          ? QStringLiteral("France")
                          : Table.LatPOI[NumPOI] + QLatin1Char(',') + Table.LonPOI[NumPOI]);
    Nom_WP->setText(Table.NomPOI[NumPOI]);
    Symbole->Afficher(Table.SymPOI[NumPOI]);
    Text7->setText(Nom_WP->text());
    for (QLineEdit* boite : {Text1, Text2, Text3, Text4})
        boite->clear();
    DecocherModes();
    RemplirListeLiens();
    if (Option2[0]->isChecked())
        Carte::CentrerCartePOI();
}

void Creer_POI::Lat_Long_Click()
{
    if (Option1[1]->isChecked())
        Lat_Long->clear();
}

void Creer_POI::Nom_WP_Click()
{
    if (Option1[1]->isChecked())
        Nom_WP->clear();
}

void Creer_POI::Option1_Click(int index)
{
    // A new mark starts with the default symbol unless one is chosen.
    if (index == 1) {
        Nom_WP->setText(InviteNom);
        Symbole->Afficher(QString());
    }
}

bool Creer_POI::StockerSaisiePOI()
{
    using namespace Declarations;
    SaisieOK = false;
    if (FichierGPX.isEmpty()) {
        Message(7);
        return false;
    }
    // The "lat,lon" form is stored as typed; any other text is read as a
    // sailor writes a position, and stored in decimal degrees.
    const QString texte = Lat_Long->text();
    const int virgules = texte.count(QLatin1Char(','));
    QString latitude = texte.section(QLatin1Char(','), 0, 0);
    QString longitude = texte.section(QLatin1Char(','), 1);
    double lat = 0;
    double lon = 0;
    if (virgules != 1 || !Nombres::LireCoordonnee(latitude, lat) ||
        !Nombres::LireCoordonnee(longitude, lon)) {
        switch (Positions::Lire(texte, lat, lon)) {
        case Positions::Lecture::Lue:
            latitude = Positions::Texte(lat);
            longitude = Positions::Texte(lon);
            lat = latitude.toDouble();
            lon = longitude.toDouble();
            break;
        case Positions::Lecture::Refusee:
            Message(13);
            return false;
        case Positions::Lecture::Inconnue:
            Message(virgules > 1 ? 10 : virgules == 0 ? 11 : 13);
            return false;
        }
    }
    if (lat == 0 || lon == 0) {
        Message(11);
        return false;
    }
    // A position on the Earth, whatever its form.
    if (std::fabs(lat) > 90 || std::fabs(lon) > 180) {
        Message(13);
        return false;
    }
    if (Nom_WP->text().isEmpty()) {
        Message(12);
        return false;
    }
    if (!PoiCourant()) {
        Message(13);
        return false;
    }
    Table.LatPOI[NumPOI] = latitude;
    Table.LonPOI[NumPOI] = longitude;
    Table.NomPOI[NumPOI] = Nom_WP->text();
    Table.SymPOI[NumPOI] = Symbole->Symbole();
    if (Table.TempsPOI[NumPOI].isEmpty())
        Table.TempsPOI[NumPOI] = TempsCourant();
    if (Option2[0]->isChecked())
        Carte::ActualiserMarques();
    RemplirListePOI();
    ListePOI->Choisir(NumPOI);
    SaisieOK = true;
    return true;
}

void Creer_POI::Validation_Click()
{
    using namespace Declarations;
    if (Option1[0]->isChecked()) {
        // Modify needs a current waypoint; without a file the store step
        // says so first.
        if (!FichierGPX.isEmpty() && !PoiCourant()) {
            Message(1);
            return;
        }
        StockerSaisiePOI();
        DecocherModes();
    } else if (Option1[1]->isChecked()) {
        if (Table.NbPOI >= MaxPOI) {
            Plateforme::Courante().Message(this, QString::number(MaxPOI) + MsgBoite[2],
                                           Plateforme::Boutons::OK);
            DecocherOption(Option1[1]);
            return;
        }
        NumPOI = static_cast<int16_t>(Table.AjouterLigne());
        if (!StockerSaisiePOI()) {
            Table.SupprimerLigne(NumPOI);
            return;
        }
        RemplirListePOI();
        ListePOI->setCurrentRow(-1);
        DecocherModes();
    } else if (Option1[2]->isChecked()) {
        if (!PoiCourant()) {
            Message(1);
            return;
        }
        // All it held goes with it.
        Table.SupprimerLigne(NumPOI);
        if (Option2[0]->isChecked())
            Carte::ActualiserMarques();
        RemplirListePOI();
        ListeLiens->setCurrentRow(-1);
        ListePOI->setCurrentRow(-1);
        DecocherModes();
    } else {
        Message(9);
    }
}
