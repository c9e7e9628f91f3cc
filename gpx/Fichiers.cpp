// SPDX-License-Identifier: GPL-3.0-or-later
#include "gpx/Fichiers.h"

#include "gpx/Messages.h"
#include "gpx/UTF8.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <functional>

namespace Fichiers {

QStringList Textes(const Lignes& lignes)
{
    QStringList l;
    l.reserve(lignes.size());
    for (std::string_view v : lignes)
        l << UTF8::DepuisWindows1252(v);
    return l;
}

bool LireOctets(const QString& chemin, QByteArray& octets, QString& erreur)
{
    QFile f(chemin);
    if (QFileInfo(chemin).isDir()) {
        erreur = Messages::Texte(Messages::EstUnDossier);
        return false;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        erreur = f.errorString();
        return false;
    }
    octets = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        erreur = f.errorString();
        return false;
    }
    return true;
}

Lignes LignesWindows1252(const QByteArray& octets)
{
    // The lines keep a shared copy of the bytes, not a deep one.
    auto proprietaire = std::make_shared<const QByteArray>(octets);
    const std::string_view vue(proprietaire->constData(), size_t(proprietaire->size()));
    return Lignes(vue, std::move(proprietaire));
}

Gpx::Lecture LirePOI(const Lignes& lignes, PoiTable& table)
{
    return Gpx::LirePOI<QString>(lignes, table);
}

namespace {

QString MessageRefus(const Gpx::Refus& refus)
{
    return Messages::Texte(Messages::CaracterePoi)
        .arg(UTF8::DecrireCaractere(QChar(refus.caractere)))
        .arg(refus.poi);
}

} // namespace

bool TexteGPX(const PoiTable& table, QByteArray& octets, QString& erreur)
{
    std::string texte;
    Gpx::Refus refus;
    const bool ok = Gpx::TexteGPX<QString>(table, texte, refus);
    octets = QByteArray::fromStdString(texte);
    if (!ok)
        erreur = MessageRefus(refus);
    return ok;
}

namespace {

// Replaces a file with what produire writes into it, through a temporary
// file renamed over it only once every byte is known to be written.
// produire returns the number of bytes it wrote, or -1 to give up (with
// erreur set).
bool EcrireFichier(const QString& chemin, const std::function<qint64(QSaveFile&)>& produire,
                   QString& erreur)
{
    const QFileInfo info(chemin);
    // Renaming over a read-only file would succeed, as would writing into it
    // as the superuser: a file without write permission is refused.
    const auto ecriture =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (info.exists() && (!info.isWritable() || !(info.permissions() & ecriture))) {
        erreur = Messages::Texte(Messages::LectureSeule);
        return false;
    }
    QSaveFile f(chemin);
    if (!f.open(QIODevice::WriteOnly)) {
        erreur = f.errorString();
        return false;
    }
    // A full disk shows at the flush, which commit() alone may not report;
    // one that fills part way may take part of a write with no error at
    // all: the bytes on disk are counted before the old file is replaced.
    const qint64 taille = produire(f);
    if (taille < 0 || !f.flush() || f.error() != QFileDevice::NoError || f.size() != taille) {
        if (taille >= 0 || erreur.isEmpty())
            erreur = f.error() != QFileDevice::NoError ? f.errorString()
                                                       : Messages::Texte(Messages::EcritEnPartie);
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        erreur = f.errorString();
        return false;
    }
    return true;
}

} // namespace

bool EcrireOctets(const QString& chemin, const QByteArray& octets, QString& erreur)
{
    return EcrireFichier(
        chemin,
        [&octets](QSaveFile& f) { return f.write(octets) == octets.size() ? octets.size() : 0; },
        erreur);
}

bool EcrireGPX(const QString& chemin, PoiTable& table, QString& erreur)
{
    auto produire = [&](QSaveFile& f) -> qint64 {
        qint64 taille = 0;
        Gpx::Refus refus;
        auto verser = [&](std::string_view piece) {
            const auto n = qint64(piece.size());
            taille += n;
            return f.write(piece.data(), n) == n;
        };
        if (!Gpx::TexteGPX<QString>(table, verser, refus) && refus.poi > 0) {
            erreur = MessageRefus(refus);
            return -1;
        }
        // A failed write shows in the file's error state.
        return taille;
    };
    if (!EcrireFichier(chemin, produire, erreur))
        return false;
    // What was written, the table now holds; a failed save leaves it alone.
    for (int i = 1; i <= table.NbPOI; ++i)
        if (table.SymPOI[i].isEmpty())
            table.SymPOI[i] = QStringLiteral("anchorage");
    return true;
}

void DecomposerChemin(const QString& chemin, QString& dossier, QString& nom)
{
    // On Linux "\\" is an ordinary character of a file name.
    const int separateur = chemin.lastIndexOf(QLatin1Char('/'));
    dossier = chemin.left(separateur + 1);
    nom = chemin.mid(separateur + 1);
}

QString AffichageNomFichier(const QString& chemin)
{
    return chemin.size() <= 30 ? chemin : QStringLiteral("....") + chemin.right(31);
}

void TournerSauvegardes(const QString& fichier, const QString& dossier, const QString& nom)
{
    const QString tmp = dossier + QStringLiteral("tmp/");
    QDir().mkpath(tmp);
    auto generation = [&](int n) { return tmp + nom + QLatin1Char('.') + QString::number(n); };
    auto copier = [](const QString& source, const QString& cible) {
        if (!QFileInfo::exists(source))
            return;
        QFile::remove(cible);
        QFile::copy(source, cible);
    };
    for (int n = 1; n <= 29; ++n)
        copier(generation(n + 1), generation(n));
    copier(fichier, generation(30));
}

Lignes RelocaliserLignes(const Lignes& lignes, const QString& dossier)
{
    std::u16string tampon;
    const std::u16string_view echappe = Gpx::Ecriture::Echapper(
        {reinterpret_cast<const char16_t*>(dossier.utf16()), size_t(dossier.size())},
        Gpx::Ecriture::Contexte::Attribut, tampon);
    // The folder's name in ASCII, so that the line reads the same in a file
    // declared UTF-8 whatever characters the name holds.
    std::string octets;
    Gpx::Ecriture::References(echappe, octets);
    bool change = false;
    return Gpx::RelocaliserLignes(lignes, octets, change);
}

bool RelocaliserLiensFichier(const QString& fichier, const QString& dossier,
                             const QByteArray& octets, Lignes& lignes, QString& echec,
                             QString& erreur)
{
    lignes = LignesWindows1252(octets);
    const Lignes apres = RelocaliserLignes(lignes, dossier);
    const std::string_view tout = lignes.Octets();
    bool change = false;
    for (int i = 0; i < lignes.size() && !change; ++i)
        change = lignes[i] != apres[i];

    // Lines written in slices, so a large file is not held twice: the work
    // file's each ended by CR LF; the file's each with its own line end, so
    // that only the lines the relocation changed differ.
    auto ecrire = [&](bool propres) {
        return [&, propres](QSaveFile& f) -> qint64 {
            std::string tranche;
            qint64 position = 0;
            auto vider = [&] {
                const auto n = qint64(tranche.size());
                position += n;
                const bool ok = f.write(tranche.data(), n) == n;
                tranche.clear();
                return ok;
            };
            for (int i = 0; i < apres.size(); ++i) {
                tranche += apres[i];
                if (propres) {
                    const size_t fin = size_t(lignes[i].data() - tout.data()) + lignes[i].size();
                    const size_t suivante = i + 1 < lignes.size()
                                                ? size_t(lignes[i + 1].data() - tout.data())
                                                : tout.size();
                    tranche += tout.substr(fin, suivante - fin);
                } else {
                    tranche += "\r\n";
                }
                if (tranche.size() >= (1u << 20) && !vider())
                    return position;
            }
            vider();
            return position;
        };
    };
    echec = dossier + QStringLiteral("Temp.gpx");
    if (!EcrireFichier(echec, ecrire(false), erreur))
        return false;
    // A file whose links all point beside it already is not written.
    echec = fichier;
    if (change && !EcrireFichier(fichier, ecrire(true), erreur))
        return false;
    echec.clear();
    lignes = apres;
    return true;
}

} // namespace Fichiers
