// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <memory>

class ApplicationGE;
class QWidget;

// Everything the program asks of the desktop goes through this seam, so that
// tests can answer dialogs and record calls.
class Plateforme {
public:
    // NonOui: Yes and No, No the default.
    enum class Boutons { OK, OuiNon, AbandonReessayerIgnorer, NonOui };
    enum class Reponse { OK, Oui, Non, Abandon, Reessayer, Ignorer };
    enum class Dialogue { Ouvrir, EnregistrerSous, FichierExistant };

    virtual ~Plateforme() = default;

    // A message box titled with the program's name; an icon only for questions.
    virtual Reponse Message(QWidget* parent, const QString& texte, Boutons boutons) = 0;
    // The file dialog; returns the chosen full path, "" when cancelled.
    virtual QString DialogueFichier(QWidget* parent, Dialogue genre, const QString& filtre) = 0;
    // A line of text asked for, initiale offered; "" when cancelled.
    virtual QString Saisie(QWidget* parent, const QString& question, const QString& initiale) = 0;
    // The shell's "open" action on an address or a document.
    virtual bool OuvrirShell(const QString& adresse) = 0;
    // Non-zero when the computer reports an Internet connection.
    virtual int32_t ConnexionInternet() = 0;
    // The system clock, in UTC.
    virtual QDateTime Maintenant() = 0;
    // Creates the map's automation object; null with erreur set on failure.
    virtual std::unique_ptr<ApplicationGE> CreerObjet(const QString& identifiant,
                                                      QString* erreur) = 0;

    // Ends the program once the current handler returns.
    virtual void FinProgramme() = 0;

    // The seam in use; the Qt implementation unless a test installed another.
    static Plateforme& Courante();
    // Installs p (not owned); null restores the Qt implementation.
    static void Installer(Plateforme* p);
};

// The seam on a real desktop.
class PlateformeQt : public Plateforme {
public:
    Reponse Message(QWidget* parent, const QString& texte, Boutons boutons) override;
    QString DialogueFichier(QWidget* parent, Dialogue genre, const QString& filtre) override;
    QString Saisie(QWidget* parent, const QString& question, const QString& initiale) override;
    bool OuvrirShell(const QString& adresse) override;
    int32_t ConnexionInternet() override;
    QDateTime Maintenant() override;
    std::unique_ptr<ApplicationGE> CreerObjet(const QString& identifiant, QString* erreur) override;
    void FinProgramme() override;
};
