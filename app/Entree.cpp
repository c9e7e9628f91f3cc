// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Entree.h"

#include "app/Langues.h"
#include "earth/Carte.h"
#include "shell/ApplicationGE.h"
#include "shell/Declarations.h"
#include "shell/Donnees.h"
#include "shell/Plateforme.h"
#include "shell/Reglages.h"
#include "shell/Twips.h"
#include "ui/Creer_POI.h"
#include "ui/ListeMarques.h"
#include "ui/TexteLien1.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <memory>

namespace Entree {

namespace {

std::unique_ptr<Creer_POI> principale;
std::unique_ptr<TexteLien1> description;
Etape etape = Etape::Arretee;
QPointer<QTimer> sondage;
QString aOuvrir;

// Start-up is over: the file named at start opens now.
void Finir()
{
    etape = Etape::Terminee;
    if (aOuvrir.isEmpty())
        return;
    QTimer::singleShot(0, principale.get(), [fichier = aOuvrir] {
        if (principale)
            principale->OuvrirDocument(fichier);
    });
    aOuvrir.clear();
}

// Asks the map whether it is ready; true once start-up is over.
bool SonderCarte()
{
    try {
        if (Declarations::AppliGE->IsInitialized() == 0)
            return false;
    } catch (const EchecGE& e) {
        qWarning("Quaylight: the map did not answer: %s", e.what());
        principale->Message(16);
    }
    Finir();
    return true;
}

void AttendreCarte()
{
    etape = Etape::AttenteCarte;
    QString erreur;
    Declarations::AppliGE =
        Plateforme::Courante().CreerObjet(QLatin1String(Carte::IdentifiantGE), &erreur);
    if (!Declarations::AppliGE) {
        qWarning("Quaylight: the map could not be created: %s", qUtf8Printable(erreur));
        principale->Message(16);
        Finir();
        return;
    }
    principale->SuivreCarte();
    if (SonderCarte())
        return;
    // Polled from the event loop so the window stays responsive meanwhile.
    sondage = new QTimer(principale.get());
    sondage->setInterval(IntervalleSondage);
    QObject::connect(sondage, &QTimer::timeout, [] {
        if (!Declarations::AppliGE || SonderCarte())
            sondage->deleteLater();
    });
    sondage->start();
}

// Start-up after the map question has been answered.
void Suite()
{
    Creer_POI& f = *principale;
    f.POIS->show();
    f.Google->hide();
    if (f.Option2[1]->isChecked())
        f.Pickup_X_Y->hide();
    Declarations::Connecte = Plateforme::Courante().ConnexionInternet();
    // The globe plugin chooses its first theme by it.
    qApp->setProperty("quaylight.connecte", Declarations::Connecte);
    if (!f.Option2[0]->isChecked()) {
        Finir();
        return;
    }
    AttendreCarte();
}

} // namespace

void Demarrer(const QString& fichier)
{
    Terminer();
    Declarations::Reinitialiser();
    aOuvrir = fichier;

    principale = std::make_unique<Creer_POI>();
    Creer_POI& f = *principale;
    f.LIENS->move(Twips::VersPixels(360), Twips::VersPixels(120));
    f.show();
    f.ListeLiens->clear();
    f.ListePOI->clear();

    description = std::make_unique<TexteLien1>();
    f.fenetreDescription = description.get();
    description->fenetrePrincipale = &f;
    description->show();
    description->hide();

    Reglages::AppliquerPosition(f, Reglages::Creer_POI_MargeG, Reglages::Creer_POI_Haut);
    Reglages::AppliquerTaille(f, Reglages::Creer_POI_Largeur, Reglages::Creer_POI_Hauteur);
    // A window left wider than its least size had its routes shown.
    if (f.centralWidget()->width() > f.centralWidget()->minimumWidth())
        f.Voir_Routes_Click();
    Reglages::AppliquerPosition(*description, Reglages::TexteLien1_MargeG,
                                Reglages::TexteLien1_Haut);
    Declarations::Langue = Reglages::Lire(Reglages::Lang);

    for (int i = 0; i <= Messages::Dernier; ++i)
        Declarations::MsgBoite[size_t(i)] = Messages::ParDefaut(i);
    Declarations::AdresseAide = AdresseAideParDefaut();
    Langues::EtapeLangue(f, *description);

    Creer_POI::DecocherOption(f.Option2[1]);
    Creer_POI::DecocherOption(f.Option2[0]);
    f.POIS->hide();
    etape = Etape::AttenteReponse;
    for (QRadioButton* option : f.Option2)
        QObject::connect(option, &QRadioButton::toggled, [](bool coche) {
            if (coche && etape == Etape::AttenteReponse)
                Suite();
        });
}

Etape EtapeCourante()
{
    return etape;
}

Creer_POI* FenetrePrincipale()
{
    return principale.get();
}

TexteLien1* FenetreDescription()
{
    return description.get();
}

void Terminer()
{
    etape = Etape::Arretee;
    Declarations::AppliGE.reset();
    description.reset();
    principale.reset();
}

QString AdresseAideParDefaut()
{
    const QString page = Donnees::Chercher(QStringLiteral("help/index.html"));
    // A raw path after "file://", as the desktop's open action takes it.
    return QStringLiteral("file://") +
           (page.isEmpty() ? QStringLiteral(QUAYLIGHT_DATADIR "/help/index.html") : page);
}

} // namespace Entree
