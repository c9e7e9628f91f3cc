// SPDX-License-Identifier: GPL-3.0-or-later
// The waypoint panel: selection, the clicks into the entry boxes and the
// new / modify / delete commands.
#include "earth/Carte.h"
#include "editing/Historique.h"
#include "editing/Nombres.h"
#include "editing/Positions.h"
#include "editing/ProprietesPOI.h"
#include "shell/Declarations.h"
#include "shell/Plateforme.h"
#include "ui/BoiteSymbole.h"
#include "ui/Creer_POI.h"
#include "ui/ListeMarques.h"
#include "ui/PanneauRoutes.h"

#include <QAction>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

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

// The list and, when it is shown, the map follow a change of the table.
void MontrerTable(Creer_POI& f)
{
    if (f.Option2[0]->isChecked())
        Carte::ActualiserMarques();
    f.RemplirListePOI();
}

// Several marks chosen: what they share shows, and only the symbol box
// and the modify and delete commands act on them.
void MontrerPlusieurs(Creer_POI& f, const std::vector<int>& choisis)
{
    using Declarations::Table;
    const QString& symbole = Table.SymPOI[size_t(choisis.front())];
    bool commun = true;
    for (const int i : choisis)
        commun = commun && Table.SymPOI[size_t(i)] == symbole;
    f.Symbole->Afficher(commun ? symbole : QString());
    for (QLineEdit* boite : {f.Lat_Long, f.Nom_WP, f.Text7, f.Text1, f.Text2, f.Text3, f.Text4})
        boite->clear();
    f.ListeLiens->clear();
    f.DecocherModes();
}

// The symbol box given to every mark chosen; names, positions and links
// stay as they are.
void SymboleDePlusieurs(Creer_POI& f, const std::vector<int>& choisis)
{
    using namespace Declarations;
    auto etape = Historique::Etape::Modification(Table, choisis, NumPOI);
    const QString symbole = f.Symbole->Symbole();
    for (const int i : choisis)
        Table.SymPOI[size_t(i)] = symbole;
    MontrerTable(f);
    f.ListePOI->Choisir(choisis);
    f.NoterChangement(std::move(etape));
}

// Marks removed from the table and from the routes that used them, as one
// step.
void Retirer(Creer_POI& f, const std::vector<int>& marques, const Routes::Guids& guids)
{
    using namespace Declarations;
    auto etape = Historique::Etape::Retrait(Table, marques, NumPOI);
    if (!guids.empty()) {
        etape.AvecRoutes(LesRoutes);
        LesRoutes.RetirerGuids(guids);
    }
    Table.SupprimerLignes(marques);
    // As after one deletion: the mark that followed the first is current.
    NumPOI = static_cast<int16_t>(marques.front());
    MontrerTable(f);
    f.ListeLiens->setCurrentRow(-1);
    f.ListePOI->setCurrentRow(-1);
    f.NoterChangement(std::move(etape));
}

// The marks chosen deleted, all they held with them, once the user says so.
void SupprimerPlusieurs(Creer_POI& f, const std::vector<int>& choisis)
{
    using namespace Declarations;
    int routes = 0;
    const Routes::Guids guids = LesRoutes.GuidsUtilises(Table, choisis, routes);
    QString question = Messages::Texte(Messages::SupprimerPlusieurs).arg(choisis.size());
    if (routes > 0)
        question =
            Messages::Texte(Messages::PoisDansRoutes).arg(routes) + QLatin1Char('\n') + question;
    if (Plateforme::Courante().Message(&f, question, Plateforme::Boutons::NonOui) !=
        Plateforme::Reponse::Oui)
        return;
    Retirer(f, choisis, guids);
}

} // namespace

void Creer_POI::ListePOI_Click()
{
    using namespace Declarations;
    const std::vector<int> choisis = ListePOI->PoisChoisis();
    const bool plusieurs = choisis.size() > 1;
    Lat_Long->setEnabled(!plusieurs);
    Nom_WP->setEnabled(!plusieurs);
    // The map's current mark follows the selection, even to none.
    MarquerCouranteSurCarte();
    if (plusieurs) {
        MontrerPlusieurs(*this, choisis);
        return;
    }
    if (choisis.empty())
        return;
    const int poi = choisis.front();
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
        Carte::CentrerCartePOI(this);
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
    // A new mark starts with the default symbol unless one is chosen, and
    // its boxes take text whatever was chosen; several marks modified keep
    // their names and positions.
    const bool saisie = index == 1 || ListePOI->PoisChoisis().size() <= 1;
    Lat_Long->setEnabled(saisie);
    Nom_WP->setEnabled(saisie);
    if (index == 1) {
        Nom_WP->setText(InviteNom);
        Symbole->Afficher(QString());
    }
}

bool Creer_POI::StockerSaisiePOI()
{
    using namespace Declarations;
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
    MontrerTable(*this);
    ListePOI->Choisir(NumPOI);
    return true;
}

void Creer_POI::Validation_Click()
{
    using namespace Declarations;
    const std::vector<int> choisis = ListePOI->PoisChoisis();
    if (choisis.size() > 1 && (Option1[0]->isChecked() || Option1[2]->isChecked())) {
        if (Option1[0]->isChecked())
            SymboleDePlusieurs(*this, choisis);
        else
            SupprimerPlusieurs(*this, choisis);
        DecocherModes();
        return;
    }
    if (Option1[0]->isChecked()) {
        // Modify needs a current waypoint; without a file the store step
        // says so first.
        if (!FichierGPX.isEmpty() && !PoiCourant()) {
            Message(1);
            return;
        }
        if (!PoiCourant()) {
            StockerSaisiePOI();
        } else {
            auto etape = Historique::Etape::Modification(Table, {NumPOI}, NumPOI);
            if (StockerSaisiePOI())
                NoterChangement(std::move(etape));
        }
        DecocherModes();
    } else if (Option1[1]->isChecked()) {
        if (Table.NbPOI >= MaxPOI) {
            Plateforme::Courante().Message(this, QString::number(MaxPOI) + MsgBoite[2],
                                           Plateforme::Boutons::OK);
            DecocherOption(Option1[1]);
            return;
        }
        const int avant = NumPOI;
        NumPOI = static_cast<int16_t>(Table.AjouterLigne());
        if (!StockerSaisiePOI()) {
            Table.SupprimerLigne(NumPOI);
            return;
        }
        // The chart plotter knows a mark again by its GUID.
        ProprietesPOI::DonnerGuids(Table, {NumPOI});
        ListePOI->setCurrentRow(-1);
        DecocherModes();
        NoterChangement(Historique::Etape::Ajout({NumPOI}, avant));
    } else if (Option1[2]->isChecked()) {
        if (!PoiCourant()) {
            Message(1);
            return;
        }
        // All it held goes with it, out of the routes too, after a question
        // when routes use it.
        int routes = 0;
        const Routes::Guids guids = LesRoutes.GuidsUtilises(Table, {NumPOI}, routes);
        if (routes > 0 && Plateforme::Courante().Message(
                              this, Messages::Texte(Messages::PoiDansRoutes).arg(routes),
                              Plateforme::Boutons::NonOui) != Plateforme::Reponse::Oui)
            return;
        DecocherModes();
        Retirer(*this, {NumPOI}, guids);
    } else {
        Message(9);
    }
}

void Creer_POI::NoterChangement(Historique::Etape etape)
{
    Declarations::Annulations.Noter(std::move(etape), Declarations::Table, Declarations::LesRoutes,
                                    Declarations::NumPOI);
    MettreAJourEdition();
}

void Creer_POI::MettreAJourEdition()
{
    Annuler->setEnabled(Declarations::Annulations.PeutAnnuler());
    Retablir->setEnabled(Declarations::Annulations.PeutRetablir());
}

void Creer_POI::Annuler_Click()
{
    if (Declarations::Annulations.PeutAnnuler())
        Revenir(Declarations::Annulations.Annuler(Declarations::Table, Declarations::LesRoutes));
}

void Creer_POI::Retablir_Click()
{
    if (Declarations::Annulations.PeutRetablir())
        Revenir(Declarations::Annulations.Retablir(Declarations::Table, Declarations::LesRoutes));
}

void Creer_POI::Revenir(const Historique::Retour& retour)
{
    using namespace Declarations;
    DecocherModes();
    MontrerTable(*this);
    NumPOI = static_cast<int16_t>(retour.num);
    if (retour.routes)
        ROUTES->Actualiser();
    {
        // The marks the step touched chosen again, where they are.
        const Carte::SansVol garde;
        ListePOI->Choisir(retour.lignes);
    }
    MettreAJourEdition();
}
