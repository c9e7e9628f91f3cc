#include "CarteMarine.h"

#include "RelaisTuiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSaveFile>
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
    const QString dossier =
        Marble::MarbleDirs::localPath() + QStringLiteral("/maps/earth/quaylight-carte-marine");
    QFile modele(QStringLiteral(":/quaylight/quaylight-carte-marine.dgml"));
    if (!QDir().mkpath(dossier) || !modele.open(QIODevice::ReadOnly))
        return;
    const QByteArray theme =
        QString::fromUtf8(modele.readAll())
            .replace(QStringLiteral("@URL_OSM@"), Adresse(relais.Adresse(QStringLiteral("osm"))))
            .replace(QStringLiteral("@URL_SEAMARK@"),
                     Adresse(relais.Adresse(QStringLiteral("seamark"))))
            .toUtf8();
    const QString chemin = dossier + QStringLiteral("/quaylight-carte-marine.dgml");
    QFile ancien(chemin);
    if (!ancien.open(QIODevice::ReadOnly) || ancien.readAll() != theme) {
        QSaveFile f(chemin);
        if (f.open(QIODevice::WriteOnly) && f.write(theme) == theme.size())
            f.commit();
    }
    // Marble shows a texture only with its first zoom level at hand: the
    // world from Marble's own map data, no seamark on it.
    const QString monde =
        Marble::MarbleDirs::path(QStringLiteral("maps/earth/openstreetmap/0/0/0.png"));
    if (!monde.isEmpty() && QDir().mkpath(dossier + QStringLiteral("/osm/0/0")))
        QFile::copy(monde, dossier + QStringLiteral("/osm/0/0/0.png"));
    QImage vide(256, 256, QImage::Format_ARGB32);
    vide.fill(Qt::transparent);
    const QString amers = dossier + QStringLiteral("/seamark/0/0/0.png");
    if (!QFile::exists(amers) && QDir().mkpath(dossier + QStringLiteral("/seamark/0/0")))
        vide.save(amers);
}

} // namespace CarteMarine
