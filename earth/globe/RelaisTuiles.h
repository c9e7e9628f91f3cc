#pragma once

#include <QHash>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QTcpServer>
#include <QUrl>
#include <deque>

class QTcpSocket;

// The sea chart's tiles pass through here. The tile servers' usage rules
// ask each program to name itself in the User-Agent of its requests, and
// Marble sends its own name with no way to change it; so Marble loads
// these tiles from this relay on loopback, which fetches them from the
// servers under the program's own name. Only tile paths of the known
// sources, under a token drawn at each start, are served.
class RelaisTuiles : public QObject {
public:
    // sources: a name ("osm") and the address its tiles are under.
    explicit RelaisTuiles(const QHash<QString, QUrl>& sources, QObject* parent = nullptr);

    // Where Marble asks for a source's tiles: http://127.0.0.1:port/token/osm/
    QUrl Adresse(const QString& source) const;

    static constexpr int ConnexionsParServeur = 2;
    static constexpr int NiveauMaximum = 18;

private:
    struct Demande {
        QPointer<QTcpSocket> client;
        QUrl url;
    };
    void Lire(QTcpSocket* client);
    void Lancer(const QString& serveur);

    QHash<QString, QUrl> sources;
    QByteArray jeton;
    QHash<QString, std::deque<Demande>> attente; // by server
    QHash<QString, int> enCours;                 // by server
    // Last, so that their replies and sockets go before the state above.
    QTcpServer ecoute;
    QNetworkAccessManager reseau;
};
