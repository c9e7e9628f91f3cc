// SPDX-License-Identifier: GPL-3.0-or-later
#include "links/Gerer_liens.h"
#include "shell/ApplicationGE.h"
#include "shell/Plateforme.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QNetworkInterface>
#include <QUrl>

Plateforme::Reponse PlateformeQt::Message(QWidget* parent, const QString& texte, Boutons boutons)
{
    QMessageBox boite(parent);
    boite.setWindowTitle(QStringLiteral("Quaylight"));
    boite.setText(texte);
    switch (boutons) {
    case Boutons::OK:
        boite.setIcon(QMessageBox::NoIcon);
        boite.setStandardButtons(QMessageBox::Ok);
        break;
    case Boutons::OuiNon:
    case Boutons::NonOui:
        boite.setIcon(QMessageBox::Question);
        boite.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        if (boutons == Boutons::NonOui)
            boite.setDefaultButton(QMessageBox::No);
        break;
    case Boutons::AbandonReessayerIgnorer:
        boite.setIcon(QMessageBox::Warning);
        boite.setStandardButtons(QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);
        // Escape must not take the button that ends the program.
        boite.setEscapeButton(QMessageBox::Retry);
        break;
    }
    switch (boite.exec()) {
    case QMessageBox::Yes:
        return Reponse::Oui;
    case QMessageBox::No:
        return Reponse::Non;
    case QMessageBox::Abort:
        return Reponse::Abandon;
    case QMessageBox::Retry:
        return Reponse::Reessayer;
    case QMessageBox::Ignore:
        return Reponse::Ignorer;
    default:
        // A box closed with Escape answers as its safest button.
        return boutons == Boutons::OuiNon || boutons == Boutons::NonOui ? Reponse::Non
               : boutons == Boutons::AbandonReessayerIgnorer            ? Reponse::Reessayer
                                                                        : Reponse::OK;
    }
}

QString PlateformeQt::DialogueFichier(QWidget* parent, Dialogue genre, const QString& filtre)
{
    QFileDialog dialogue(parent);
    dialogue.setNameFilter(filtre);
    switch (genre) {
    case Dialogue::Ouvrir:
    case Dialogue::EnregistrerSous:
        // New names are accepted: Open creates a new document, Save as a new file.
        dialogue.setFileMode(QFileDialog::AnyFile);
        dialogue.setAcceptMode(genre == Dialogue::Ouvrir ? QFileDialog::AcceptOpen
                                                         : QFileDialog::AcceptSave);
        dialogue.setOption(QFileDialog::DontConfirmOverwrite);
        // A desktop's own "open" dialog may have no name field (GTK): the
        // toolkit's dialog always shows where a new file's name is typed.
        if (genre == Dialogue::Ouvrir)
            dialogue.setOption(QFileDialog::DontUseNativeDialog);
        break;
    case Dialogue::FichierExistant:
        dialogue.setFileMode(QFileDialog::ExistingFile);
        dialogue.setAcceptMode(QFileDialog::AcceptOpen);
        break;
    }
    if (dialogue.exec() != QDialog::Accepted || dialogue.selectedFiles().isEmpty())
        return QString();
    return dialogue.selectedFiles().constFirst();
}

QString PlateformeQt::Saisie(QWidget* parent, const QString& question, const QString& initiale)
{
    bool ok = false;
    const QString texte = QInputDialog::getText(parent, QStringLiteral("Quaylight"), question,
                                                QLineEdit::Normal, initiale, &ok);
    return ok ? texte : QString();
}

bool PlateformeQt::OuvrirShell(const QString& adresse)
{
    return QDesktopServices::openUrl(Gerer_liens::AdresseAOuvrir(adresse));
}

int32_t PlateformeQt::ConnexionInternet()
{
    // Connected when an interface other than loopback is up with an address;
    // no traffic is sent.
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& i : interfaces) {
        const auto drapeaux = i.flags();
        if (drapeaux.testFlag(QNetworkInterface::IsLoopBack) ||
            !drapeaux.testFlag(QNetworkInterface::IsUp) ||
            !drapeaux.testFlag(QNetworkInterface::IsRunning))
            continue;
        if (!i.addressEntries().isEmpty())
            return 1;
    }
    return 0;
}

QDateTime PlateformeQt::Maintenant()
{
    return QDateTime::currentDateTimeUtc();
}

std::unique_ptr<ApplicationGE> PlateformeQt::CreerObjet(const QString& identifiant, QString* erreur)
{
    return Carte::CreerObjet(identifiant, erreur);
}

void PlateformeQt::FinProgramme()
{
    // Leaves every running event loop, the main one included.
    QCoreApplication::exit(0);
}
