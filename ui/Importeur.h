// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>

class Creer_POI;
class QProgressDialog;

// The import command: a file of another format (KML, KMZ, CSV, Ozi, Garmin,
// GeoJSON, NMEA) converted by gpsbabel, without freezing the window (past a
// second a progress box offers to cancel), then opened as a new GPX document
// named like the source, beside it. The source is never written. It deletes
// itself once done.
class Importeur : public QObject {
public:
    explicit Importeur(Creer_POI& fenetre);
    void Demarrer();

private:
    void Termine(int code, QProcess::ExitStatus statut);
    void Message(const QString& texte);
    void Fin();

    Creer_POI& fenetre;
    QString source;
    QTemporaryDir dossier;
    QProcess gpsbabel;
    QPointer<QProgressDialog> progression;
    bool annule = false;
};
