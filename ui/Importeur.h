// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>

class QProgressDialog;
class QWidget;

// The import command: a file of another format (KML, KMZ, CSV, Ozi, Garmin,
// GeoJSON, NMEA) converted by gpsbabel, without freezing the window (past a
// second a progress box offers to cancel), then opened as a new GPX document
// named like the source, beside it, by ouvrir (the window's Open command).
// The source is never written. It deletes itself once done.
class Importeur : public QObject {
public:
    Importeur(QWidget& fenetre, std::function<void(const QString&)> ouvrir);
    void Demarrer();

private:
    void Termine(int code, QProcess::ExitStatus statut);
    void Message(const QString& texte);
    void Fin();

    QWidget& fenetre;
    std::function<void(const QString&)> ouvrirDocument;
    QString source;
    QTemporaryDir dossier;
    QProcess gpsbabel;
    QPointer<QProgressDialog> progression;
    bool annule = false;
};
