// SPDX-License-Identifier: GPL-3.0-or-later
#include "earth/DossierPrive.h"

#include "gpx/Descripteurs.h"

#include <QFile>
#include <QStringList>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace DossierPrive {

namespace {

QString Raison(const QString& chemin, const char* quoi)
{
    return chemin + QStringLiteral(": ") + QString::fromLocal8Bit(quoi);
}

} // namespace

bool Creer(const QString& base, const QString& relatif, QString& raison)
{
    QString chemin = base;
    for (const QString& partie : relatif.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        chemin += QLatin1Char('/') + partie;
        const QByteArray c = QFile::encodeName(chemin);
        struct stat etat {};
        if (mkdir(c.constData(), 0700) != 0 && errno != EEXIST) {
            raison = Raison(chemin, std::strerror(errno));
            return false;
        }
        if (lstat(c.constData(), &etat) != 0 || S_ISLNK(etat.st_mode) || !S_ISDIR(etat.st_mode)) {
            raison = Raison(chemin, "a symbolic link or not a folder, refused");
            return false;
        }
    }
    return true;
}

bool Ecrire(const QString& chemin, const QByteArray& octets, QString& raison)
{
    const QByteArray c = QFile::encodeName(chemin);
    struct stat etat {};
    if (lstat(c.constData(), &etat) == 0 && !S_ISREG(etat.st_mode)) {
        raison = Raison(chemin, "a symbolic link or not a file, refused");
        return false;
    }
    QByteArray temporaire = c + ".XXXXXX";
    const int fd = mkostemp(temporaire.data(), O_CLOEXEC);
    if (fd < 0) {
        raison = Raison(chemin, std::strerror(errno));
        return false;
    }
    // mkstemp makes it 0600 already; said again for clarity of intent.
    const bool ecrit =
        fchmod(fd, 0600) == 0 && Gpx::ToutEcrire(fd, {octets.constData(), size_t(octets.size())});
    const int erreur = errno;
    if (close(fd) != 0 || !ecrit || rename(temporaire.constData(), c.constData()) != 0) {
        raison = Raison(chemin, std::strerror(ecrit ? errno : erreur));
        unlink(temporaire.constData());
        return false;
    }
    return true;
}

bool EcrireSiAbsent(const QString& chemin, const QByteArray& octets, QString& raison)
{
    const QByteArray c = QFile::encodeName(chemin);
    const int fd = open(c.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (errno == EEXIST) {
            struct stat etat {};
            if (lstat(c.constData(), &etat) == 0 && S_ISREG(etat.st_mode))
                return true; // there already
            raison = Raison(chemin, "a symbolic link or not a file, refused");
        } else {
            raison = Raison(chemin, std::strerror(errno));
        }
        return false;
    }
    const bool ecrit = Gpx::EcrireEtFermer(fd, {octets.constData(), size_t(octets.size())});
    if (!ecrit) {
        raison = Raison(chemin, std::strerror(errno));
        unlink(c.constData());
    }
    return ecrit;
}

} // namespace DossierPrive
