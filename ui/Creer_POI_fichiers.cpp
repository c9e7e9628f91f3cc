// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's file commands: Open, Save and Save as.
#include "earth/Carte.h"
#include "editing/ProprietesPOI.h"
#include "gpx/Fichiers.h"
#include "shell/Declarations.h"
#include "shell/Plateforme.h"
#include "ui/BoiteFusion.h"
#include "ui/BoiteSymbole.h"
#include "ui/Creer_POI.h"
#include "ui/FiltreNoms.h"
#include "ui/Importeur.h"
#include "ui/ListeMarques.h"
#include "ui/PanneauRoutes.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>

namespace {

const QString FiltreGPX = QStringLiteral("*.gpx");

} // namespace

void Creer_POI::Message(int numero)
{
    Plateforme::Courante().Message(this, Declarations::MsgBoite[numero], Plateforme::Boutons::OK);
}

void Creer_POI::MessageEchec(int quoi, const QString& chemin, const QString& raison, int suite)
{
    Plateforme::Courante().Message(this, Messages::TexteEchec(quoi, chemin, raison, suite),
                                   Plateforme::Boutons::OK);
}

bool Creer_POI::EcrireDocument(const QString& chemin)
{
    QString erreur;
    // The routes as they now stand go with the marks.
    Declarations::Table.Fichier = Declarations::LesRoutes.Garde(Declarations::Table);
    if (Fichiers::EcrireGPX(chemin, Declarations::Table, erreur))
        return true;
    MessageEchec(Messages::EnregistrementEchoue, chemin, erreur, Messages::PrecedentIntact);
    return false;
}

void Creer_POI::Ouvrir_Fichier_Click()
{
    OuvrirDocument(QString());
}

void Creer_POI::OuvrirDocument(const QString& nom)
{
    using namespace Declarations;
    if (Option2[0]->isChecked()) {
        switch (Carte::GardeOuverture(this)) {
        case Carte::SuiteOuverture::Continuer:
            break;
        case Carte::SuiteOuverture::Quitter:
            Quitter_Click();
            return;
        case Carte::SuiteOuverture::Terminer:
            return;
        }
    }
    DecocherModes();
    const QString choix =
        !nom.isEmpty()
            ? nom
            : Plateforme::Courante().DialogueFichier(this, Plateforme::Dialogue::Ouvrir, FiltreGPX);
    if (choix.isEmpty())
        return;
    FichierGPX = choix;
    // Another document: its whole list at first, and no change to undo.
    Filtre->clear();
    Annulations.Vider();
    ROUTES->ChoisirRoute(-1);
    MettreAJourEdition();
    Fichiers::DecomposerChemin(FichierGPX, DossierGPX, NomFichierGPX);
    LeNomFichier->setText(Fichiers::AffichageNomFichier(FichierGPX));

    if (!QFileInfo::exists(FichierGPX)) {
        // A new document under that name, written by the first save.
        Table.Vider();
        LesRoutes.Vider();
        RemplirListePOI();
        ListeLiens->clear();
        for (QLineEdit* boite : {Lat_Long, Nom_WP, Text1, Text2, Text3, Text4})
            boite->clear();
        Symbole->Afficher(QString());
        if (Option2[0]->isChecked())
            Carte::ActualiserMarques();
        DecocherModes();
        return;
    }

    Fichiers::TournerSauvegardes(FichierGPX, DossierGPX, NomFichierGPX);
    QByteArray octets;
    QString erreur;
    if (!Fichiers::LireOctets(FichierGPX, octets, erreur)) {
        MessageEchec(Messages::LectureEchouee, FichierGPX, erreur, Messages::ListeVide);
        Table.Vider();
        LesRoutes.Vider();
        RemplirListePOI();
        NumPOI = 1;
        return;
    }
    Fichiers::Lignes lignes;
    QString echec;
    if (!Fichiers::RelocaliserLiensFichier(FichierGPX, DossierGPX, octets, lignes, echec, erreur))
        MessageEchec(echec == FichierGPX ? Messages::RelocalisationEchouee
                                         : Messages::TravailEchoue,
                     echec, erreur, Messages::LuTelQuel);
    const Gpx::Lecture lecture = Fichiers::LirePOI(lignes, Table);
    LesRoutes.Lire(Table);
    if (!lecture.xml)
        Plateforme::Courante().Message(this,
                                       Messages::Texte(Messages::PasBienForme)
                                           .arg(QString::fromStdString(lecture.raison))
                                           .arg(lecture.ligne)
                                           .arg(lecture.colonne),
                                       Plateforme::Boutons::OK);
    // Routes show in their panel and on the map, tracks on the map; what
    // the line reader finds is only kept.
    if (lecture.routesTraces && !lecture.xml)
        Message(18);
    if (lecture.horsCapacite > 0)
        Plateforme::Courante().Message(
            this, Messages::Texte(Messages::HorsCapacite).arg(lecture.horsCapacite).arg(MaxPOI),
            Plateforme::Boutons::OK);
    // The chart plotter would merge marks of one GUID.
    if (const int doubles = ProprietesPOI::GuidsEnDouble(Table))
        Plateforme::Courante().Message(this, Messages::Texte(Messages::GuidsEnDouble).arg(doubles),
                                       Plateforme::Boutons::OK);
    RemplirListePOI();
    NumPOI = static_cast<int16_t>(Table.NbPOI + 1);
    if (Option2[0]->isChecked())
        Carte::AfficherCartePOI(this);
}

void Creer_POI::Importer_Poi_Click()
{
    (new Importeur(*this, [this](const QString& source, const QString& gpx) {
        Importeur::OuvrirABord(*this, source, gpx,
                               [this](const QString& cible) { OuvrirDocument(cible); });
    }))->Demarrer();
}

void Creer_POI::Fusionner_Fichier_Click()
{
    using namespace Declarations;
    if (FichierGPX.isEmpty()) {
        Message(7);
        return;
    }
    (new Importeur(
         *this,
         [this](const QString& source, const QString& gpx) {
             // A file that cannot be read changes nothing.
             QByteArray octets;
             QString erreur;
             if (!Fichiers::LireOctets(gpx, octets, erreur)) {
                 MessageEchec(Messages::LectureEchouee, source, erreur, Messages::FusionRien);
                 return;
             }
             auto leur = std::make_unique<PoiTable>();
             Fichiers::LirePOI(Fichiers::LignesWindows1252(octets), *leur);
             FUSION->Ouvrir(std::move(leur));
         },
         true))
        ->Demarrer();
}

void Creer_POI::MontrerDocument()
{
    if (Option2[0]->isChecked())
        Carte::ActualiserMarques();
    RemplirListePOI();
    ROUTES->Actualiser();
    MontrerRoutesSurCarte();
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
