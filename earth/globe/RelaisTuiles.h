// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Ecoute.h"

#include <QElapsedTimer>
#include <QHash>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QUrl>
#include <deque>
#include <functional>
#include <list>

class QNetworkReply;
class QTcpSocket;

// The sea chart's tiles pass through here. The tile servers' usage rules
// ask each program to name itself in the User-Agent of its requests, and
// Marble sends its own name with no way to change it; so Marble loads
// these tiles from this relay on loopback, which fetches them from the
// servers under the program's own name. Only tile paths of the known
// sources, under a token drawn at each start, are served, to the user's own
// programs; and neither other local users nor a misbehaving server can make
// it hold more than a few sockets, a few megabytes or a little time.
class RelaisTuiles : public QObject {
public:
    // sources: a name ("osm") and the address its tiles are under.
    explicit RelaisTuiles(const QHash<QString, QUrl>& sources, QObject* parent = nullptr);
    ~RelaisTuiles() override;

    // Where Marble asks for a source's tiles: http://127.0.0.1:port/token/osm/
    QUrl Adresse(const QString& source) const;

    // Told of each tile's download: true when one came, false when the
    // server could not be reached or gave no tile.
    void Suivre(std::function<void(bool)> fonction) { suivi = std::move(fonction); }

    // Whether a redirect from de to vers stays on the same server: scheme,
    // host and port, a default port written or not.
    static bool MemeServeur(const QUrl& de, const QUrl& vers);

    static constexpr int ConnexionsParServeur = 2;
    // Marble opens 4 connections at a time.
    static constexpr int ConnexionsMax = 32;
    static constexpr int AttenteMax = 64;
    static constexpr qint64 TailleTuileMax = 1 << 20;
    static constexpr int RedirectionsMax = 3;

private:
    struct Demande {
        QPointer<QTcpSocket> client;
        QUrl url;
    };
    void Accepter(QTcpSocket* client);
    void Lire(QTcpSocket* client);
    void Lancer(const QString& serveur);
    void Telecharger(const Demande& demande, const QString& serveur);
    // True when the connection's other end is a program of this user.
    bool DuMemeUtilisateur(const QTcpSocket& client) const;

    QHash<QString, QUrl> sources;
    const int delaiTete;
    const int delaiServeur;
    // Owners read from /proc/net/tcp alone, as on a kernel without
    // sock_diag: for the tests (QUAYLIGHT_TUILES_PROC set).
    const bool parProc;
    QByteArray jeton;
    QHash<QString, std::deque<Demande>> attente; // by server, the newest last
    QHash<QString, int> enCours;                 // by server
    // The clients, oldest first.
    std::list<QPointer<QTcpSocket>> clients;
    std::function<void(bool)> suivi;
    // Last, so that their replies and sockets go before the state above.
    Ecoute ecoute;
    QNetworkAccessManager reseau;
};
