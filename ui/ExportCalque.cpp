// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ExportCalque.h"

#include "gpx/Calques.h"
#include "gpx/Fichiers.h"
#include "gpx/Messages.h"
#include "shell/Declarations.h"
#include "shell/Plateforme.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <numeric>

namespace ExportCalque {

void Exporter_Calque_Click(QWidget& fenetre, const std::vector<int>& choisis)
{
    using namespace Declarations;
    Plateforme& p = Plateforme::Courante();
    auto message = [&](const QString& texte) {
        p.Message(&fenetre, texte, Plateforme::Boutons::OK);
    };
    std::vector<int> marques = choisis;
    if (marques.empty()) {
        marques.resize(size_t(Table.NbPOI));
        std::iota(marques.begin(), marques.end(), 1);
    }
    if (marques.empty()) {
        message(Messages::Texte(Messages::ListeVide));
        return;
    }
    const Calques::Dossiers d = Calques::Chercher(QDir::homePath());
    QString dossier = d.flatpakExiste && !d.classiqueExiste ? d.flatpak : d.classique;
    if (d.flatpakExiste && d.classiqueExiste)
        dossier = p.Message(&fenetre,
                            Messages::Texte(Messages::CalqueOuFlatpak)
                                .arg(QDir::toNativeSeparators(d.flatpak),
                                     QDir::toNativeSeparators(d.classique)),
                            Plateforme::Boutons::OuiNon) == Plateforme::Reponse::Oui
                      ? d.flatpak
                      : d.classique;
    const QString nom = Calques::NomFichier(p.Saisie(&fenetre, Messages::Texte(Messages::NomCalque),
                                                     QFileInfo(NomFichierGPX).completeBaseName()));
    if (nom.isEmpty())
        return;
    const QString chemin = QDir(dossier).filePath(nom);
    if (QFileInfo::exists(chemin) &&
        p.Message(
            &fenetre,
            Messages::Texte(Messages::CalqueExiste).arg(nom, QDir::toNativeSeparators(dossier)),
            Plateforme::Boutons::NonOui) != Plateforme::Reponse::Oui)
        return;
    errno = 0;
    if (!QDir().mkpath(dossier)) {
        const int e = errno;
        message(Messages::TexteEchec(Messages::CalqueEchoue, dossier,
                                     QString::fromLocal8Bit(std::strerror(e ? e : EACCES)),
                                     Messages::CalqueQuoiFaire));
        return;
    }
    PoiTable calque = Calques::Extraire(Table, marques);
    QString erreur;
    if (!Fichiers::EcrireGPX(chemin, calque, erreur)) {
        message(Messages::TexteEchec(Messages::CalqueEchoue, chemin, erreur,
                                     Messages::CalqueQuoiFaire));
        return;
    }
    message(Messages::Texte(Messages::CalqueEcrit)
                .arg(QDir::toNativeSeparators(chemin))
                .arg(marques.size()));
}

} // namespace ExportCalque
