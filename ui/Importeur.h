// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>

class QProgressDialog;
class QWidget;

// A file of another format (KML, KMZ, CSV, Ozi, Garmin, GeoJSON, NMEA)
// converted by gpsbabel, without freezing the window (past a second a
// progress box offers to cancel), then handed as GPX to suite with the
// source's path; with gpx, a GPX file is offered too and handed as it is.
// The source is never written. It deletes itself once done.
class Importeur : public QObject {
public:
    using Suite = std::function<void(const QString& source, const QString& gpx)>;
    Importeur(QWidget& fenetre, Suite suite, bool gpx = false);
    void Demarrer();

    // The import command's end: the GPX file opened as a new document named
    // like the source, beside it, by ouvrir (the window's Open command); a
    // file of that name is replaced only through "Enregistrer sous".
    static void OuvrirABord(QWidget& fenetre, const QString& source, const QString& gpx,
                            const std::function<void(const QString&)>& ouvrir);

private:
    void Termine(int code, QProcess::ExitStatus statut);
    void Message(const QString& texte);
    void Fin();

    QWidget& fenetre;
    Suite suite;
    bool gpx;
    QString source;
    QTemporaryDir dossier;
    QProcess gpsbabel;
    QPointer<QProgressDialog> progression;
    bool annule = false;
};
