// The main window's file commands: Open, Save and Save as.
#include "earth/Carte.h"
#include "gpx/Fichiers.h"
#include "shell/Declarations.h"
#include "shell/Plateforme.h"
#include "ui/Creer_POI.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

namespace {

const QString FiltreGPX = QStringLiteral("*.gpx");

QString Natif(const QString& chemin)
{
    return QDir::toNativeSeparators(chemin);
}

} // namespace

void Creer_POI::Message(int numero)
{
    Plateforme::Courante().Message(this, Declarations::MsgBoite[numero], Plateforme::Boutons::OK);
}

void Creer_POI::MessageEchec(const QString& quoi, const QString& chemin, const QString& raison,
                             const QString& suite)
{
    Plateforme::Courante().Message(this,
                                   quoi + QStringLiteral(" :\n") + Natif(chemin) +
                                       QStringLiteral("\n(") + raison + QStringLiteral(")\n") +
                                       suite,
                                   Plateforme::Boutons::OK);
}

bool Creer_POI::EcrireDocument(const QString& chemin)
{
    QString erreur;
    if (Fichiers::EcrireGPX(chemin, Declarations::Table, erreur))
        return true;
    MessageEchec(QStringLiteral("Le fichier n'a pas pu être enregistré - The file could not be "
                                "saved"),
                 chemin, erreur,
                 QStringLiteral("Le fichier précédent est intact ; choisissez un autre nom ou "
                                "dossier avec Enregistrer sous - The previous file is intact; "
                                "choose another name or folder with Save as"));
    return false;
}

void Creer_POI::Ouvrir_Fichier_Click()
{
    using namespace Declarations;
    if (Option2[0]->isChecked() && !Carte::GardeOuverture(*this))
        return;
    DecocherModes();
    const QString choix =
        Plateforme::Courante().DialogueFichier(this, Plateforme::Dialogue::Ouvrir, FiltreGPX);
    if (choix.isEmpty())
        return;
    FichierGPX = choix;
    Fichiers::DecomposerChemin(FichierGPX, DossierGPX, NomFichierGPX);
    LeNomFichier->setText(Fichiers::AffichageNomFichier(FichierGPX));

    if (!QFileInfo::exists(FichierGPX)) {
        // A new document under that name, written by the first save.
        Table.Vider();
        ListePOI->clear();
        ListeLiens->clear();
        for (QLineEdit* boite : {Lat_Long, Nom_WP, Text1, Text2, Text3, Text4})
            boite->clear();
        DecocherModes();
        return;
    }

    Fichiers::TournerSauvegardes(FichierGPX, DossierGPX, NomFichierGPX);
    QByteArray octets;
    QString erreur;
    if (!Fichiers::LireOctets(FichierGPX, octets, erreur)) {
        MessageEchec(QStringLiteral("Le fichier n'a pas pu être lu - The file could not be read"),
                     FichierGPX, erreur,
                     QStringLiteral("La liste des Poi est vide - The list of marks is empty"));
        Table.Vider();
        RemplirListePOI();
        NumPOI = 1;
        return;
    }
    Fichiers::Lignes lignes;
    if (!Fichiers::RelocaliserLiensFichier(FichierGPX, DossierGPX, octets, lignes, erreur))
        MessageEchec(QStringLiteral("Les liens vers des fichiers locaux n'ont pas pu être "
                                    "réécrits - Links to local files could not be rewritten"),
                     FichierGPX, erreur,
                     QStringLiteral("Le fichier est lu tel quel - The file is read as it stands"));
    if (Fichiers::ChercherRoutesTraces(lignes))
        Message(18);
    Fichiers::LirePOI(lignes, Table);
    RemplirListePOI();
    NumPOI = static_cast<int16_t>(Table.NbPOI + 1);
    if (Option2[0]->isChecked())
        Carte::AfficherCartePOI();
}

void Creer_POI::Sauver_Fichier_Click()
{
    if (Declarations::FichierGPX.isEmpty()) {
        Message(5);
        return;
    }
    EcrireDocument(Declarations::FichierGPX);
}

void Creer_POI::Sauver_sous_Click()
{
    QString choix = Plateforme::Courante().DialogueFichier(
        this, Plateforme::Dialogue::EnregistrerSous, FiltreGPX);
    if (choix.isEmpty())
        return;
    // Case-sensitive, anywhere in the path, as the chart plotter's files go.
    if (!choix.contains(QLatin1String(".gpx")))
        choix += QStringLiteral(".gpx");
    // A failed save keeps the document's name, so the next Save goes where
    // the document was.
    if (EcrireDocument(choix))
        Declarations::FichierGPX = choix;
}
