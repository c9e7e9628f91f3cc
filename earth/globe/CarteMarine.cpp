// SPDX-License-Identifier: GPL-3.0-or-later
#include "CarteMarine.h"

#include "RelaisTuiles.h"

#include "earth/DossierPrive.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QUrl>
#include <marble/MarbleDirs.h>

namespace CarteMarine {

namespace {

// A downloadUrl element of the theme for a tile server's address.
QString Adresse(const QUrl& u)
{
    const QString port = u.port() > 0 ? QStringLiteral(" port=\"%1\"").arg(u.port()) : QString();
    return QStringLiteral("<downloadUrl protocol=\"%1\" host=\"%2\"%3 path=\"%4\"/>")
        .arg(u.scheme(), u.host(), port, u.path());
}

} // namespace

RelaisTuiles* Relais(QObject* parent)
{
    const QString essai = qEnvironmentVariable("QUAYLIGHT_TUILES");
    auto serveur = [&essai](const char* public_, const char* chemin) {
        return QUrl(essai.isEmpty() ? QString::fromLatin1(public_) : essai + QLatin1String(chemin));
    };
    return new RelaisTuiles(
        {{QStringLiteral("osm"), serveur("https://tile.openstreetmap.org/", "/osm/")},
         {QStringLiteral("seamark"),
          serveur("https://tiles.openseamap.org/seamark/", "/seamark/")}},
        parent);
}

void Installer(const RelaisTuiles& relais)
{
    // The theme holds the relay's token: in folders of the user's alone,
    // never written through a link another user could have put there.
    const QString dossier =
        Marble::MarbleDirs::localPath() + QStringLiteral("/maps/earth/quaylight-carte-marine");
    QString raison;
    QFile modele(QStringLiteral(":/quaylight/quaylight-carte-marine.dgml"));
    if (!QDir().mkpath(Marble::MarbleDirs::localPath()) ||
        !DossierPrive::Creer(Marble::MarbleDirs::localPath(),
                             QStringLiteral("maps/earth/quaylight-carte-marine"), raison) ||
        !modele.open(QIODevice::ReadOnly)) {
        qWarning("sea chart not installed: %s", qUtf8Printable(raison));
        return;
    }
    const QByteArray theme =
        QString::fromUtf8(modele.readAll())
            .replace(QStringLiteral("@URL_OSM@"), Adresse(relais.Adresse(QStringLiteral("osm"))))
            .replace(QStringLiteral("@URL_SEAMARK@"),
                     Adresse(relais.Adresse(QStringLiteral("seamark"))))
            .toUtf8();
    const QString chemin = dossier + QStringLiteral("/quaylight-carte-marine.dgml");
    QFile ancien(chemin);
    const bool pareil = QFileInfo(chemin).isFile() && !QFileInfo(chemin).isSymLink() &&
                        ancien.open(QIODevice::ReadOnly) && ancien.readAll() == theme &&
                        (ancien.permissions() & 0x0077) == 0;
    if (!pareil && !DossierPrive::Ecrire(chemin, theme, raison))
        qWarning("sea chart theme not written: %s", qUtf8Printable(raison));
    // Marble shows a texture only with its first zoom level at hand: the
    // world from Marble's own map data, no seamark on it.
    QFile monde(Marble::MarbleDirs::path(QStringLiteral("maps/earth/openstreetmap/0/0/0.png")));
    QByteArray vide;
    QBuffer tampon(&vide);
    QImage transparente(256, 256, QImage::Format_ARGB32);
    transparente.fill(Qt::transparent);
    transparente.save(&tampon, "PNG");
    for (const auto& [couche, octets] :
         {std::pair<QString, QByteArray>{QStringLiteral("osm"), monde.open(QIODevice::ReadOnly)
                                                                    ? monde.readAll()
                                                                    : QByteArray()},
          {QStringLiteral("seamark"), vide}}) {
        if (octets.isEmpty())
            continue;
        if (!DossierPrive::Creer(dossier, couche + QStringLiteral("/0/0"), raison) ||
            !DossierPrive::EcrireSiAbsent(
                dossier + QLatin1Char('/') + couche + QStringLiteral("/0/0/0.png"), octets, raison))
            qWarning("sea chart tile not written: %s", qUtf8Printable(raison));
    }
}

} // namespace CarteMarine
