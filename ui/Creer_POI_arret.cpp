// SPDX-License-Identifier: GPL-3.0-or-later
// Language buttons, Help and Quit: what the program keeps between runs and
// how a run ends.
#include "shell/Declarations.h"
#include "shell/Plateforme.h"
#include "shell/Reglages.h"
#include "ui/Creer_POI.h"
#include "ui/TexteLien1.h"

namespace {

void ChoisirLangue(Creer_POI& fenetre, const char* code, const char* message)
{
    // Applies at the next start; the texts on screen stay as they are.
    Declarations::Langue = QLatin1String(code);
    Plateforme::Courante().Message(&fenetre, QLatin1String(message), Plateforme::Boutons::OK);
}

} // namespace

void Creer_POI::LangFR_Click()
{
    ChoisirLangue(*this, "fr", "Relancer le logiciel");
}

void Creer_POI::LangEN_Click()
{
    ChoisirLangue(*this, "en", "Restart quaylight");
}

void Creer_POI::LangSelf_Click()
{
    ChoisirLangue(*this, "self", "Restart quaylight");
}

void Creer_POI::Aide_Click()
{
    Plateforme::Courante().OuvrirShell(Declarations::AdresseAide);
}

void Creer_POI::Form_QueryUnload(bool& /*cancel*/, int unloadmode)
{
    // The user's close request runs Quit, which ends the program; the
    // program's own close proceeds.
    if (unloadmode == 0)
        Quitter_Click();
}

void Creer_POI::Quitter_Click()
{
    // Quit runs once, even when its own close of the window comes back here.
    if (fermetureParProgramme)
        return;
    fermetureParProgramme = true;
    if (Plateforme::Courante().Message(this, Declarations::MsgBoite[4],
                                       Plateforme::Boutons::OuiNon) == Plateforme::Reponse::Oui)
        Sauver_sous_Click();

    Reglages::Ouvrir()->remove(QLatin1String(Reglages::Groupe));
    Reglages::EcrirePosition(*this, Reglages::Creer_POI_MargeG, Reglages::Creer_POI_Haut);
    Reglages::EcrireTaille(*this, Reglages::Creer_POI_Largeur, Reglages::Creer_POI_Hauteur);
    TexteLien1* description = fenetreDescription;
    if (description)
        Reglages::EcrirePosition(*description, Reglages::TexteLien1_MargeG,
                                 Reglages::TexteLien1_Haut);
    Reglages::Ecrire(Reglages::Lang, Declarations::Langue);

    close();
    if (description)
        description->FermerParProgramme();
    fermetureParProgramme = false;
    Plateforme::Courante().FinProgramme();
}
