// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;
class QTcpSocket;

// Connections accepted on loopback, as QTcpServer accepts them, except
// when the process is out of descriptors: QTcpServer takes that for a
// passing error and tries again at once, which spins the processor until
// one is free. This one waits a little before it tries again.
class Ecoute : public QObject {
public:
    // nouvelle: given each connection accepted, a child of this object.
    // pause: the wait, in ms, after a failed accept.
    Ecoute(std::function<void(QTcpSocket*)> nouvelle, int pause, QObject* parent = nullptr);
    ~Ecoute() override;

    // Listens on 127.0.0.1, on a port the system chooses; false if it
    // cannot.
    bool Ecouter();
    quint16 Port() const { return port; }

    // Stops taking connections, which wait in the system's queue, and
    // takes them again.
    void Suspendre();
    void Reprendre();

private:
    void Accepter();
    void Armer();

    std::function<void(QTcpSocket*)> nouvelle;
    const int pause;
    int descripteur = -1;
    quint16 port = 0;
    QSocketNotifier* notificateur = nullptr;
    bool suspendue = false;
    bool enRepos = false; // after a failed accept
};
