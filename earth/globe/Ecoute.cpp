// SPDX-License-Identifier: GPL-3.0-or-later
#include "Ecoute.h"

#include <QSocketNotifier>
#include <QTcpSocket>
#include <QTimer>
#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

Ecoute::Ecoute(std::function<void(QTcpSocket*)> n, int p, QObject* parent)
    : QObject(parent), nouvelle(std::move(n)), pause(p)
{
}

Ecoute::~Ecoute()
{
    delete notificateur;
    if (descripteur >= 0)
        ::close(descripteur);
}

bool Ecoute::Ecouter()
{
    descripteur = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (descripteur < 0)
        return false;
    sockaddr_in adresse{};
    adresse.sin_family = AF_INET;
    adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t taille = sizeof adresse;
    if (::bind(descripteur, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse) != 0 ||
        ::listen(descripteur, SOMAXCONN) != 0 ||
        ::getsockname(descripteur, reinterpret_cast<sockaddr*>(&adresse), &taille) != 0) {
        ::close(descripteur);
        descripteur = -1;
        return false;
    }
    port = ntohs(adresse.sin_port);
    notificateur = new QSocketNotifier(descripteur, QSocketNotifier::Read);
    connect(notificateur, &QSocketNotifier::activated, this, &Ecoute::Accepter);
    Armer();
    return true;
}

void Ecoute::Suspendre()
{
    suspendue = true;
    Armer();
}

void Ecoute::Reprendre()
{
    suspendue = false;
    Armer();
}

void Ecoute::Armer()
{
    if (notificateur)
        notificateur->setEnabled(!suspendue && !enRepos);
}

void Ecoute::Accepter()
{
    while (!suspendue) {
        const int client = ::accept4(descripteur, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (client < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK) {
                // Out of descriptors or memory: the connection waits in
                // the queue meanwhile.
                enRepos = true;
                QTimer::singleShot(pause, this, [this] {
                    enRepos = false;
                    Armer();
                });
                Armer();
            }
            return;
        }
        auto* socket = new QTcpSocket(this);
        if (!socket->setSocketDescriptor(client)) {
            ::close(client);
            delete socket;
            continue;
        }
        nouvelle(socket);
    }
}
