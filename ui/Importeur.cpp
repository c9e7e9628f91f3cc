// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Importeur.h"

#include "gpx/Fichiers.h"
#include "gpx/Importation.h"
#include "gpx/Messages.h"
#include "shell/Plateforme.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QStandardPaths>

Importeur::Importeur(QWidget& f, Suite s, bool g)
    : QObject(&f), fenetre(f), suite(std::move(s)), gpx(g)
{
    connect(&gpsbabel, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), this,
            &Importeur::Termine);
    connect(&gpsbabel, &QProcess::errorOccurred, this, [this](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            Termine(-1, QProcess::CrashExit);
    });
}

void Importeur::Message(const QString& texte)
{
    Plateforme::Courante().Message(&fenetre, texte, Plateforme::Boutons::OK);
}

void Importeur::Fin()
{
    if (progression)
        progression->deleteLater();
    deleteLater();
}

void Importeur::Demarrer()
{
    // Without gpsbabel, only a GPX file can be taken: said before any dialog.
    const QString programme = QStandardPaths::findExecutable(QStringLiteral("gpsbabel"));
    if (programme.isEmpty() && !gpx) {
        Message(Messages::Texte(Messages::ImportSansGpsbabel));
        return Fin();
    }
    const QString filtres = QString::fromUtf8(Importation::Filtres);
    source = Plateforme::Courante().DialogueFichier(&fenetre, Plateforme::Dialogue::FichierExistant,
                                                    gpx ? QStringLiteral("GPX (*.gpx);;") + filtres
                                                        : filtres);
    if (source.isEmpty())
        return Fin();
    if (gpx && source.endsWith(QLatin1String(".gpx"), Qt::CaseInsensitive)) {
        suite(source, source);
        return Fin();
    }
    if (programme.isEmpty()) {
        Message(Messages::Texte(Messages::ImportSansGpsbabel));
        return Fin();
    }
    const std::string format = Importation::Format(source.toStdString());
    if (format.empty()) {
        Message(Messages::Texte(Messages::ImportFormat) + QStringLiteral("\n") +
                QDir::toNativeSeparators(source));
        return Fin();
    }
    QString lu = source;
    if (Importation::EstKmz(source.toStdString())) {
        // gpsbabel reads the KML inside.
        QByteArray archive;
        QString erreur;
        std::string kml, raison;
        if (!Fichiers::LireOctets(source, archive, erreur) ||
            !Importation::ExtraireKml({archive.constData(), size_t(archive.size())}, kml, raison)) {
            Message(Messages::TexteEchec(Messages::ImportEchoue, source,
                                         erreur.isEmpty() ? QString::fromStdString(raison) : erreur,
                                         Messages::ImportQuoiFaire));
            return Fin();
        }
        lu = dossier.filePath(QStringLiteral("doc.kml"));
        QFile f(lu);
        if (!f.open(QIODevice::WriteOnly) ||
            f.write(kml.data(), qint64(kml.size())) != qint64(kml.size())) {
            Message(Messages::TexteEchec(Messages::ImportEchoue, source, f.errorString(),
                                         Messages::ImportQuoiFaire));
            return Fin();
        }
    }
    const std::vector<std::string> a = Importation::Arguments(
        format, QFile::encodeName(lu).toStdString(),
        QFile::encodeName(dossier.filePath(QStringLiteral("import.gpx"))).toStdString());
    QStringList arguments;
    for (size_t k = 1; k < a.size(); ++k)
        arguments << QFile::decodeName(a[k].c_str());
    gpsbabel.start(programme, arguments);
    // Past a second of work, a progress box that can cancel.
    progression = new QProgressDialog(Messages::Texte(Messages::ImportEnCours),
                                      QStringLiteral("Annuler"), 0, 0, &fenetre);
    progression->setObjectName(QStringLiteral("Importation"));
    progression->setWindowTitle(QStringLiteral("Quaylight"));
    progression->setMinimumDuration(1000);
    progression->setWindowModality(Qt::WindowModal);
    connect(progression, &QProgressDialog::canceled, this, [this] {
        annule = true;
        gpsbabel.kill();
    });
}

void Importeur::Termine(int code, QProcess::ExitStatus statut)
{
    if (progression)
        progression->reset();
    if (annule)
        return Fin();
    const QString resultat = dossier.filePath(QStringLiteral("import.gpx"));
    if (statut != QProcess::NormalExit || code != 0 || !QFileInfo(resultat).isFile()) {
        const QString raison = QString::fromLocal8Bit(gpsbabel.readAllStandardError()).trimmed();
        Message(Messages::TexteEchec(Messages::ImportEchoue, source,
                                     raison.isEmpty() ? gpsbabel.errorString() : raison,
                                     Messages::ImportQuoiFaire));
        return Fin();
    }
    suite(source, resultat);
    Fin();
}

void Importeur::OuvrirABord(QWidget& fenetre, const QString& source, const QString& resultat,
                            const std::function<void(const QString&)>& ouvrir)
{
    const QFileInfo info(source);
    QString cible =
        info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".gpx");
    if (QFileInfo::exists(cible)) {
        cible = Plateforme::Courante().DialogueFichier(
            &fenetre, Plateforme::Dialogue::EnregistrerSous, QStringLiteral("*.gpx"));
        if (cible.isEmpty())
            return;
        if (!cible.contains(QLatin1String(".gpx")))
            cible += QStringLiteral(".gpx");
    }
    QByteArray octets;
    QString erreur;
    if (!Fichiers::LireOctets(resultat, octets, erreur) ||
        !Fichiers::EcrireOctets(cible, octets, erreur)) {
        Plateforme::Courante().Message(&fenetre,
                                       Messages::TexteEchec(Messages::EnregistrementEchoue, cible,
                                                            erreur, Messages::PrecedentIntact),
                                       Plateforme::Boutons::OK);
        return;
    }
    ouvrir(cible);
}
