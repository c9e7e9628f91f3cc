// SPDX-License-Identifier: GPL-3.0-or-later
#include "RelaisTuiles.h"

#include "earth/RequeteTuile.h"

#include <QFile>
#include <QNetworkReply>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTimer>
#include <arpa/inet.h>
#include <linux/inet_diag.h>
#include <linux/netlink.h>
#include <linux/sock_diag.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The program's name, as the tile servers ask, and its home page once it
// has one.
const QByteArray Agent = QByteArray("Quaylight/" QUAYLIGHT_VERSION) +
                         (sizeof(QUAYLIGHT_HOMEPAGE) > 1 ? " (+" QUAYLIGHT_HOMEPAGE ")" : "");
// A client's time to send its request.
constexpr int DelaiTete = 10000;
constexpr int PauseAcceptation = 500;

void Repondre(QTcpSocket* client, int statut, const QByteArray& corps = {})
{
    const char* raison = statut == 200   ? "OK"
                         : statut == 404 ? "Not Found"
                         : statut == 400 ? "Bad Request"
                         : statut == 503 ? "Service Unavailable"
                                         : "Bad Gateway";
    client->setProperty("lue", true);
    client->write(QByteArray("HTTP/1.1 ") + QByteArray::number(statut) + ' ' + raison +
                  "\r\nContent-Type: " + (corps.isEmpty() ? "text/plain" : "image/png") +
                  "\r\nContent-Length: " + QByteArray::number(corps.size()) +
                  "\r\nConnection: close\r\n\r\n" + corps);
    client->disconnectFromHost();
}

bool Png(const QByteArray& corps)
{
    return corps.startsWith(QByteArray("\x89PNG\r\n\x1a\n", 8));
}

// The owner of the loopback connection from port client to port serveur,
// asked of the kernel for that one socket (sock_diag); -2 when the kernel
// does not answer with it. Its "no such entry" means no such connection, or
// a kernel without the TCP half of sock_diag: /proc tells them apart.
long ProprietaireNoyau(quint16 client, quint16 serveur)
{
    const int fd = socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_SOCK_DIAG);
    if (fd < 0)
        return -2;
    struct {
        nlmsghdr entete;
        inet_diag_req_v2 demande;
    } message{};
    message.entete.nlmsg_len = sizeof message;
    message.entete.nlmsg_type = SOCK_DIAG_BY_FAMILY;
    message.entete.nlmsg_flags = NLM_F_REQUEST;
    message.demande.sdiag_family = AF_INET;
    message.demande.sdiag_protocol = IPPROTO_TCP;
    message.demande.idiag_states = ~0u;
    message.demande.id.idiag_sport = htons(client);
    message.demande.id.idiag_dport = htons(serveur);
    message.demande.id.idiag_src[0] = htonl(INADDR_LOOPBACK);
    message.demande.id.idiag_dst[0] = htonl(INADDR_LOOPBACK);
    message.demande.id.idiag_cookie[0] = INET_DIAG_NOCOOKIE;
    message.demande.id.idiag_cookie[1] = INET_DIAG_NOCOOKIE;
    long proprietaire = -2;
    alignas(nlmsghdr) char reponse[8192];
    if (send(fd, &message, sizeof message, 0) == ssize_t(sizeof message)) {
        const ssize_t n = recv(fd, reponse, sizeof reponse, 0);
        const auto* r = reinterpret_cast<const nlmsghdr*>(reponse);
        if (n >= ssize_t(sizeof(nlmsghdr)) && NLMSG_OK(r, size_t(n))) {
            if (r->nlmsg_type == SOCK_DIAG_BY_FAMILY &&
                r->nlmsg_len >= NLMSG_LENGTH(sizeof(inet_diag_msg)))
                proprietaire = long(static_cast<const inet_diag_msg*>(NLMSG_DATA(r))->idiag_uid);
        }
    }
    close(fd);
    return proprietaire;
}

} // namespace

namespace {

// A deadline in milliseconds, which tests shorten through the variable.
int Delai(const char* variable, int defaut)
{
    return qEnvironmentVariableIsSet(variable) ? qEnvironmentVariableIntValue(variable) : defaut;
}

} // namespace

RelaisTuiles::RelaisTuiles(const QHash<QString, QUrl>& s, QObject* parent)
    : QObject(parent), sources(s), delaiTete(Delai("QUAYLIGHT_TUILES_DELAI_TETE", DelaiTete)),
      // A tile's download, whatever its server does.
      delaiServeur(Delai("QUAYLIGHT_TUILES_DELAI", 30000)),
      parProc(qEnvironmentVariableIsSet("QUAYLIGHT_TUILES_PROC")),
      // Out of descriptors: a little wait rather than a retry at once.
      ecoute([this](QTcpSocket* client) { Accepter(client); }, PauseAcceptation)
{
    quint32 alea[4];
    QRandomGenerator::system()->fillRange(alea);
    jeton = QByteArray(reinterpret_cast<const char*>(alea), sizeof alea).toHex();
    ecoute.Ecouter();
}

RelaisTuiles::~RelaisTuiles()
{
    // The clients go with the server that accepted them, after this
    // object's state: they must not call back into it.
    for (const QPointer<QTcpSocket>& c : clients)
        if (c)
            c->disconnect(this);
}

QUrl RelaisTuiles::Adresse(const QString& source) const
{
    QUrl u;
    u.setScheme(QStringLiteral("http"));
    u.setHost(QStringLiteral("127.0.0.1"));
    u.setPort(ecoute.Port());
    u.setPath(QLatin1Char('/') + QString::fromLatin1(jeton) + QLatin1Char('/') + source +
              QLatin1Char('/'));
    return u;
}

bool RelaisTuiles::MemeServeur(const QUrl& de, const QUrl& vers)
{
    const int defaut = de.scheme() == QLatin1String("https") ? 443 : 80;
    return vers.scheme() == de.scheme() && vers.host() == de.host() &&
           vers.port(defaut) == de.port(defaut);
}

void RelaisTuiles::Accepter(QTcpSocket* client)
{
    if (!DuMemeUtilisateur(*client)) {
        client->abort();
        client->deleteLater();
        return;
    }
    clients.remove_if([](const QPointer<QTcpSocket>& c) { return c.isNull(); });
    if (int(clients.size()) >= ConnexionsMax) {
        // Room for the newcomer: the oldest client that has not said
        // what it wants goes; when all have, it waits its turn.
        const auto muet = std::find_if(clients.begin(), clients.end(),
                                       [](const auto& c) { return !c->property("lue").toBool(); });
        if (muet == clients.end()) {
            client->abort();
            client->deleteLater();
            ecoute.Suspendre();
            return;
        }
        (*muet)->abort();
        clients.erase(muet);
    }
    clients.emplace_back(client);
    connect(client, &QTcpSocket::readyRead, this, [this, client] { Lire(client); });
    connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
    // Room again for one waiting, if accepting paused at the cap.
    connect(client, &QObject::destroyed, this, [this] { ecoute.Reprendre(); });
    // A client that has not sent its request in time goes; one that has
    // waits at most for its tile's download.
    QTimer::singleShot(delaiTete, client, [client] {
        if (!client->property("lue").toBool())
            client->abort();
    });
    QTimer::singleShot(delaiTete + delaiServeur + delaiTete, client, [client] { client->abort(); });
}

bool RelaisTuiles::DuMemeUtilisateur(const QTcpSocket& client) const
{
    long proprietaire = parProc ? -2 : ProprietaireNoyau(client.peerPort(), client.localPort());
    if (proprietaire == -2) {
        // Without sock_diag, the kernel's table of all connections, which
        // is longer to read.
        QFile table(QStringLiteral("/proc/net/tcp"));
        if (!table.open(QIODevice::ReadOnly))
            return false;
        const QByteArray texte = table.readAll();
        proprietaire =
            RequeteTuile::Proprietaire(std::string_view(texte.constData(), size_t(texte.size())),
                                       client.peerPort(), client.localPort());
    }
    return proprietaire == long(getuid());
}

void RelaisTuiles::Lire(QTcpSocket* client)
{
    // One request a connection: the answer closes it.
    if (client->property("lue").toBool()) {
        client->readAll();
        return;
    }
    const QByteArray tampon = client->property("tampon").toByteArray() +
                              client->read(qint64(RequeteTuile::TailleTete) + 1);
    RequeteTuile::Tuile tuile;
    switch (
        RequeteTuile::Lire(std::string_view(tampon.constData(), size_t(tampon.size())), tuile)) {
    case RequeteTuile::Tete::Incomplete:
        client->setProperty("tampon", tampon);
        return;
    case RequeteTuile::Tete::Refusee:
        Repondre(client, tampon.size() > int(RequeteTuile::TailleTete) ? 400 : 404);
        return;
    case RequeteTuile::Tete::Lue:
        break;
    }
    client->setProperty("lue", true);
    client->setProperty("tampon", QVariant());
    const QString source = QString::fromStdString(tuile.source);
    if (QByteArray::fromStdString(tuile.jeton) != jeton || !sources.contains(source)) {
        Repondre(client, 404);
        return;
    }
    QUrl url = sources.value(source);
    url.setPath(url.path() + QString::fromStdString(RequeteTuile::Chemin(tuile)));
    std::deque<Demande>& file = attente[url.authority()];
    // A backlog beyond what a view needs is refused: Marble asks again.
    file.erase(std::remove_if(file.begin(), file.end(), [](const Demande& d) { return !d.client; }),
               file.end());
    if (int(file.size()) >= AttenteMax) {
        Repondre(client, 503);
        return;
    }
    file.push_back({client, url});
    Lancer(url.authority());
}

void RelaisTuiles::Lancer(const QString& serveur)
{
    std::deque<Demande>& file = attente[serveur];
    while (enCours.value(serveur) < ConnexionsParServeur && !file.empty()) {
        // The newest first: the tiles of the view the user looks at now.
        const Demande d = file.back();
        file.pop_back();
        if (!d.client)
            continue; // Marble gave up meanwhile
        Telecharger(d, serveur);
    }
}

void RelaisTuiles::Telecharger(const Demande& d, const QString& serveur)
{
    QNetworkRequest requete(d.url);
    requete.setHeader(QNetworkRequest::UserAgentHeader, Agent);
    // Bytes as sent, so the size cap holds for what is kept.
    requete.setRawHeader("Accept-Encoding", "identity");
    requete.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    requete.setMaximumRedirectsAllowed(RedirectionsMax);
    ++enCours[serveur];
    QNetworkReply* reponse = reseau.get(requete);
    // Qt's network thread reads no further ahead than this: unbounded, it
    // drains a body without end in one loop as long as the server writes
    // faster than it reads, and neither this download's abort nor any
    // other download is served meanwhile.
    reponse->setReadBufferSize(64 << 10);
    // The download's state, as long as its reply lives (no shared pointer:
    // this is a plugin, and its types would stand twice beside the
    // program's).
    struct Etat {
        QByteArray corps;
        bool termine = false;
    };
    auto* etat = new Etat;
    connect(reponse, &QObject::destroyed, [etat] { delete etat; });
    auto finir = [this, reponse, serveur, client = d.client, etat] {
        if (etat->termine)
            return;
        etat->termine = true;
        reponse->disconnect(this);
        if (reponse->isRunning())
            reponse->abort();
        reponse->deleteLater();
        --enCours[serveur];
        const int statut = reponse->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const bool recue = reponse->error() == QNetworkReply::NoError && statut == 200 &&
                           etat->corps.size() <= TailleTuileMax && Png(etat->corps);
        if (suivi && statut != 404)
            suivi(recue);
        // Marble keeps the tile it has when a download fails.
        if (client)
            Repondre(client,
                     recue           ? 200
                     : statut == 404 ? 404
                                     : 502,
                     recue ? etat->corps : QByteArray());
        Lancer(serveur);
    };
    auto abandonner = [reponse, etat, finir] {
        etat->corps.clear();
        reponse->abort(); // finished follows, and finir with it
        finir();
    };
    connect(reponse, &QNetworkReply::redirected, this,
            [reponse, url = d.url, abandonner](const QUrl& vers) {
                if (MemeServeur(url, vers))
                    emit reponse->redirectAllowed();
                else
                    abandonner();
            });
    connect(reponse, &QNetworkReply::metaDataChanged, this, [reponse, abandonner] {
        const QVariant taille = reponse->header(QNetworkRequest::ContentLengthHeader);
        if (taille.isValid() && taille.toLongLong() > TailleTuileMax)
            abandonner();
    });
    connect(reponse, &QNetworkReply::readyRead, this, [reponse, etat, abandonner] {
        etat->corps += reponse->readAll();
        if (etat->corps.size() > TailleTuileMax)
            abandonner();
    });
    connect(reponse, &QNetworkReply::finished, this, [reponse, etat, finir] {
        if (reponse->isOpen())
            etat->corps += reponse->readAll();
        finir();
    });
    // The whole download has its deadline, and ends with its client.
    QTimer::singleShot(delaiServeur, reponse, abandonner);
    if (d.client)
        connect(d.client, &QObject::destroyed, reponse, abandonner);
}
