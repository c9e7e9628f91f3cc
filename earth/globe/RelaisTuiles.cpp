#include "RelaisTuiles.h"

#include <QNetworkReply>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTimer>

namespace {

const QByteArray Agent =
    "Quaylight/" QUAYLIGHT_VERSION " (+https://github.com/quaylight/quaylight)";
constexpr int TailleRequete = 8192;
constexpr int DelaiServeur = 30000;
constexpr int DelaiClient = 120000;

void Repondre(QTcpSocket* client, int statut, const QByteArray& corps = {})
{
    const char* raison = statut == 200   ? "OK"
                         : statut == 404 ? "Not Found"
                         : statut == 400 ? "Bad Request"
                                         : "Bad Gateway";
    client->write(QByteArray("HTTP/1.1 ") + QByteArray::number(statut) + ' ' + raison +
                  "\r\nContent-Type: " + (corps.isEmpty() ? "text/plain" : "image/png") +
                  "\r\nContent-Length: " + QByteArray::number(corps.size()) +
                  "\r\nConnection: close\r\n\r\n" + corps);
    client->disconnectFromHost();
}

} // namespace

RelaisTuiles::RelaisTuiles(const QHash<QString, QUrl>& s, QObject* parent)
    : QObject(parent), sources(s)
{
    quint32 alea[4];
    QRandomGenerator::system()->fillRange(alea);
    jeton = QByteArray(reinterpret_cast<const char*>(alea), sizeof alea).toHex();
    connect(&ecoute, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* client = ecoute.nextPendingConnection()) {
            connect(client, &QTcpSocket::readyRead, this, [this, client] { Lire(client); });
            connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
            // Nor does a client that never ends its request hold a socket.
            QTimer::singleShot(DelaiClient, client, [client] { client->abort(); });
        }
    });
    ecoute.listen(QHostAddress::LocalHost);
}

QUrl RelaisTuiles::Adresse(const QString& source) const
{
    QUrl u;
    u.setScheme(QStringLiteral("http"));
    u.setHost(ecoute.serverAddress().toString());
    u.setPort(ecoute.serverPort());
    u.setPath(QLatin1Char('/') + QString::fromLatin1(jeton) + QLatin1Char('/') + source +
              QLatin1Char('/'));
    return u;
}

void RelaisTuiles::Lire(QTcpSocket* client)
{
    // One request a connection: the answer closes it.
    if (client->property("lue").toBool()) {
        client->readAll();
        return;
    }
    const QByteArray tampon = client->property("tampon").toByteArray() + client->readAll();
    const int fin = tampon.indexOf("\r\n\r\n");
    if (fin < 0) {
        if (tampon.size() > TailleRequete) {
            client->setProperty("lue", true);
            Repondre(client, 400);
        } else
            client->setProperty("tampon", tampon);
        return;
    }
    client->setProperty("lue", true);
    static const QRegularExpression ligne(QStringLiteral(
        R"(^GET /([0-9a-f]+)/([a-z]+)/(\d{1,2})/(\d{1,6})/(\d{1,6})\.png HTTP/1\.[01]\r\n)"));
    const QRegularExpressionMatch m = ligne.match(QString::fromLatin1(tampon.left(fin + 2)));
    const int z = m.captured(3).toInt();
    const qint64 cote = qint64(1) << qMin(z, NiveauMaximum);
    if (!m.hasMatch() || m.captured(1).toLatin1() != jeton || !sources.contains(m.captured(2)) ||
        z > NiveauMaximum || m.captured(4).toLongLong() >= cote ||
        m.captured(5).toLongLong() >= cote) {
        Repondre(client, 404);
        return;
    }
    QUrl url = sources.value(m.captured(2));
    url.setPath(url.path() +
                QStringLiteral("%1/%2/%3.png").arg(z).arg(m.captured(4), m.captured(5)));
    attente[url.authority()].push_back({client, url});
    Lancer(url.authority());
}

void RelaisTuiles::Lancer(const QString& serveur)
{
    std::deque<Demande>& file = attente[serveur];
    while (enCours.value(serveur) < ConnexionsParServeur && !file.empty()) {
        const Demande d = file.front();
        file.pop_front();
        if (!d.client)
            continue; // Marble gave up meanwhile
        QNetworkRequest requete(d.url);
        requete.setHeader(QNetworkRequest::UserAgentHeader, Agent);
        requete.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::NoLessSafeRedirectPolicy);
        requete.setTransferTimeout(DelaiServeur);
        ++enCours[serveur];
        QNetworkReply* reponse = reseau.get(requete);
        connect(reponse, &QNetworkReply::finished, this,
                [this, reponse, serveur, client = d.client] {
                    reponse->deleteLater();
                    --enCours[serveur];
                    const int statut =
                        reponse->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
                    const QByteArray corps = reponse->readAll();
                    const bool recue = reponse->error() == QNetworkReply::NoError &&
                                       statut == 200 && !corps.isEmpty();
                    // Marble keeps the tile it has when a download fails.
                    if (client)
                        Repondre(client,
                                 recue           ? 200
                                 : statut == 404 ? 404
                                                 : 502,
                                 recue ? corps : QByteArray());
                    Lancer(serveur);
                });
    }
}
