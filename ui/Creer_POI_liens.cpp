// SPDX-License-Identifier: GPL-3.0-or-later
// The link panel of the main window.
#include "links/Gerer_liens.h"
#include "shell/Declarations.h"
#include "shell/Plateforme.h"
#include "shell/Reglages.h"
#include "ui/Creer_POI.h"
#include "ui/ListeChoix.h"
#include "ui/ListeMarques.h"
#include "ui/TexteLien1.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>

bool Creer_POI::PoiSelectionne() const
{
    // The selected entry is the current waypoint; the bounds keep every
    // index inside the table whatever happened to the list.
    const int poi = ListePOI->PoiChoisi();
    return poi > 0 && Declarations::NumPOI == poi &&
           Declarations::NumPOI <= Declarations::Table.NbPOI;
}

void Creer_POI::RemplirListeLiens()
{
    using namespace Declarations;
    ListeLiens->clear();
    // NumPOI may designate a row past the count, never one past the table.
    if (Table.Ligne(NumPOI)) {
        const int n = Table.NbLiens(NumPOI);
        for (int k = 1; k <= n; ++k)
            ListeLiens->addItem(
                Gerer_liens::EntreeListe(k, Table.LienTexte[NumPOI][k], Table.LienHref[NumPOI][k]));
    }
    ListeLiens->setCurrentRow(-1);
}

void Creer_POI::Gestion_Liens_Click()
{
    if (!PoiSelectionne()) {
        Message(1);
        return;
    }
    POIS->hide();
    LIENS->show();
}

void Creer_POI::Fichier_lien_Click()
{
    if (!PoiSelectionne()) {
        Message(1);
        return;
    }
    const QString chemin = Plateforme::Courante().DialogueFichier(
        this, Plateforme::Dialogue::FichierExistant, QStringLiteral("*"));
    if (chemin.isEmpty())
        return;
    if (!Gerer_liens::TexteValide(chemin)) {
        Message(3);
        return;
    }
    Text2->setText(chemin);
}

void Creer_POI::AjouterLien(QLineEdit* texte, QLineEdit* cible,
                            QString (*convertir)(const QString&))
{
    using namespace Declarations;
    if (texte->text().isEmpty() && cible->text().isEmpty())
        return;
    if (texte->text().isEmpty() || cible->text().isEmpty() || !PoiSelectionne()) {
        Message(14);
        return;
    }
    const QString href = convertir(cible->text());
    const int n = Table.NbLiens(NumPOI);
    if (n >= MaxLiens) {
        Message(17);
        return;
    }
    Table.InsererLien(NumPOI, n + 1, href, texte->text());
    RemplirListeLiens();
}

void Creer_POI::AjouterLienWeb()
{
    AjouterLien(Text3, Text4, &Gerer_liens::EchapperAmp);
}

void Creer_POI::AjouterLienFichier()
{
    AjouterLien(Text1, Text2, &Gerer_liens::CheminVersUrl);
}

void Creer_POI::Valider_lien_Click()
{
    if (!PoiSelectionne()) {
        Message(1);
        return;
    }
    for (QLineEdit* boite : {Text1, Text2, Text3, Text4}) {
        if (!Gerer_liens::TexteValide(boite->text())) {
            Plateforme::Courante().Message(
                this, Declarations::MsgBoite[3] + QStringLiteral(" : ") + boite->text(),
                Plateforme::Boutons::OK);
            boite->clear();
            return;
        }
    }
    auto etape = Historique::Etape::Modification(Declarations::Table, {Declarations::NumPOI},
                                                 Declarations::NumPOI);
    const int avant = Declarations::Table.NbLiens(Declarations::NumPOI);
    AjouterLienWeb();
    AjouterLienFichier();
    if (Declarations::Table.NbLiens(Declarations::NumPOI) != avant)
        NoterChangement(std::move(etape));
    RemplirListeLiens();
    for (QLineEdit* boite : {Text1, Text2, Text3, Text4})
        boite->clear();
}

void Creer_POI::Supprimer_Lien_Click()
{
    using namespace Declarations;
    const int selection = ListeLiens->LigneChoisie();
    if (selection < 0 || !PoiSelectionne() || selection >= Table.NbLiens(NumPOI)) {
        Message(6);
        return;
    }
    auto etape = Historique::Etape::Modification(Table, {NumPOI}, NumPOI);
    Table.SupprimerLien(NumPOI, selection + 1);
    NoterChangement(std::move(etape));
    RemplirListeLiens();
}

void Creer_POI::Tester_Lien_Click()
{
    using namespace Declarations;
    const int selection = ListeLiens->LigneChoisie();
    if (!PoiSelectionne() || selection < 0 || selection >= Table.NbLiens(NumPOI)) {
        Message(6);
        return;
    }
    Plateforme::Courante().OuvrirShell(
        Gerer_liens::CibleLien(Table.LienHref[NumPOI][selection + 1]));
}

void Creer_POI::Descriptif_Click()
{
    TexteLien1* description = fenetreDescription;
    if (!PoiSelectionne() || !description) {
        Message(1);
        return;
    }
    description->show();
    Reglages::AppliquerPosition(*description, Reglages::TexteLien1_MargeG,
                                Reglages::TexteLien1_Haut);
    description->Ouverture();
}
