// SPDX-License-Identifier: GPL-3.0-or-later
// The description editor's commands.
#include "links/Descriptions.h"
#include "shell/Declarations.h"
#include "shell/Plateforme.h"
#include "shell/Reglages.h"
#include "ui/Creer_POI.h"
#include "ui/TexteLien1.h"

#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>

void TexteLien1::Ouverture()
{
    using namespace Declarations;
    if (!Table.Ligne(NumPOI))
        return;
    const QString chemin = Descriptions::FichierDescriptif(FichierGPX, Table.NomPOI[NumPOI]);
    QString texte;
    QString erreur;
    // A description that cannot be read leaves the box as it was.
    if (Descriptions::Lire(chemin, texte, erreur))
        Text1->setPlainText(texte);
}

void TexteLien1::Enregistrer_Click()
{
    using namespace Declarations;
    Creer_POI* principale = fenetrePrincipale;
    if (NumPOI < 1 || NumPOI > Table.NbPOI) {
        Plateforme::Courante().Message(this, MsgBoite[1], Plateforme::Boutons::OK);
        return;
    }
    const QString chemin = Descriptions::FichierDescriptif(FichierGPX, Table.NomPOI[NumPOI]);
    QString erreur;
    if (!Descriptions::Ecrire(chemin, Descriptions::TexteDocument(Text1->document()->toRawText()),
                              erreur)) {
        Plateforme::Courante().Message(this,
                                       Messages::TexteEchec(Messages::DescriptionEchouee, chemin,
                                                            erreur, Messages::TexteGarde),
                                       Plateforme::Boutons::OK);
        return;
    }
    if (principale && principale->Nom_WP->text().isEmpty()) {
        Plateforme::Courante().Message(this, MsgBoite[15], Plateforme::Boutons::OK);
        return;
    }
    // The link the description gives its mark is a change to undo; the
    // file written stays.
    auto etape = Historique::Etape::Modification(Table, {NumPOI}, NumPOI);
    if (Descriptions::InsererLien(Table, NumPOI, chemin) && principale) {
        principale->NoterChangement(std::move(etape));
        principale->RemplirListeLiens();
    }
}

void TexteLien1::Fermer_Click()
{
    Reglages::EcrirePosition(*this, Reglages::TexteLien1_MargeG, Reglages::TexteLien1_Haut);
    hide();
}
