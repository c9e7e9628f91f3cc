// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

class Creer_POI;
class QPlainTextEdit;
class QPushButton;

// The description window: a tool window created hidden at start-up and only
// shown and hidden afterwards.
class TexteLien1 : public QWidget {
    Q_OBJECT
public:
    explicit TexteLien1(QWidget* parent = nullptr);

    // The main window, set by start-up.
    QPointer<Creer_POI> fenetrePrincipale;

    // A control by its layout name; null when there is none.
    QObject* Controle(const QString& nom) const;

    // Loads the current waypoint's description into the box.
    void Ouverture();

    void Enregistrer_Click();
    void Fermer_Click();
    void Form_QueryUnload(bool& cancel, int unloadmode);
    // Closes the window when the program ends.
    void FermerParProgramme();

    QPushButton* Enregistrer;
    QPushButton* Fermer;
    QPlainTextEdit* Text1;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool fermetureParProgramme = false;
};
