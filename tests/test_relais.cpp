// SPDX-License-Identifier: GPL-3.0-or-later
// The sea chart's tile relay attacked as another local user and as a
// hostile tile server would: it holds a few sockets, megabytes and seconds
// at most, and the editor beside it keeps answering and saving.
#include "Outils.h"
#include "earth/globe/RelaisTuiles.h"
#include "shell/Declarations.h"
#include "ui/Creer_POI.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using OutilsGPX::Lire;

namespace {

long MemoireKo()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    statm.open(QIODevice::ReadOnly);
    return statm.readAll().split(' ').value(1).toLong() * sysconf(_SC_PAGESIZE) / 1024;
}

double Processeur()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

int Descripteurs()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot).size());
}

// The processor time the process takes while its events run for ms.
double ProcesseurPendant(int ms)
{
    const double avant = Processeur();
    QTest::qWait(ms);
    return Processeur() - avant;
}

struct Reponse {
    int statut = -1; // -1: closed without an answer
    QByteArray raison;
    bool png = false;
    qint64 ms = 0;
};

// The reason phrases HTTP gives its status codes.
QByteArray Raison(int statut)
{
    return QHash<int, QByteArray>{{200, "OK"},
                                  {400, "Bad Request"},
                                  {404, "Not Found"},
                                  {502, "Bad Gateway"},
                                  {503, "Service Unavailable"}}
        .value(statut);
}

// A request sent raw, as a client of the relay would; the answer read
// until the relay closes the connection.
Reponse Demander(quint16 port, const QByteArray& tete, int delai = 20000)
{
    QElapsedTimer t;
    t.start();
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, port);
    Reponse r;
    if (!s.waitForConnected(5000))
        return r;
    s.write(tete);
    // The relay answers from this thread's events: they run meanwhile.
    QByteArray recu;
    while (t.elapsed() < delai && s.state() == QAbstractSocket::ConnectedState) {
        QTest::qWait(5);
        recu += s.readAll();
    }
    recu += s.readAll();
    r.ms = t.elapsed();
    if (recu.startsWith("HTTP/1.1 ")) {
        r.statut = recu.mid(9, 3).toInt();
        r.raison = recu.mid(13, recu.indexOf("\r\n") - 13);
    }
    r.png = recu.mid(recu.indexOf("\r\n\r\n") + 4).startsWith("\x89PNG");
    return r;
}

// Idle connections to the relay, held by another process: about n of them.
QProcess* Oisifs(quint16 port, int n, const QString& utilisateur = QString())
{
    auto* p = new QProcess;
    const QString script =
        QStringLiteral("import resource, socket, sys, time\n"
                       "h = resource.getrlimit(resource.RLIMIT_NOFILE)[1]\n"
                       "resource.setrlimit(resource.RLIMIT_NOFILE, (h, h))\n"
                       "s = []\n"
                       "for i in range(%1):\n"
                       "    try:\n"
                       "        c = socket.create_connection(('127.0.0.1', %2))\n"
                       "        s.append(c)\n"
                       "    except OSError:\n"
                       "        time.sleep(0.01)\n"
                       "print(len(s), flush=True)\n"
                       "time.sleep(60)\n")
            .arg(n)
            .arg(port);
    if (utilisateur.isEmpty())
        p->start(QStringLiteral("python3"), {"-c", script});
    else
        p->start(QStringLiteral("runuser"), {"-u", utilisateur, "--", "python3", "-c", script});
    return p;
}

} // namespace

class TestRelais : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase() { serveur.kill(), serveur.waitForFinished(); }
    void serveurHostile_data();
    void serveurHostile();
    void requetes_data();
    void requetes();
    void memeServeur_data();
    void memeServeur();
    void plusRecentesDAbord();
    void connexionsOisives();
    void plusDeDescripteurs();
    void autreUtilisateur_data();
    void autreUtilisateur();
    void plafondDesConnexions();
    void delaiDeTete();
    // Last: the silent client made for the limits has had its 10 s.
    void delaiDeTeteParDefaut();

private:
    void PreparerLimites();
    QByteArray Tuile(const QByteArray& chemin) const
    {
        return "GET /" + jeton + "/osm/" + chemin + " HTTP/1.1\r\nHost: x\r\n\r\n";
    }
    QProcess serveur;
    QString journal;
    QTemporaryDir dossier;
    std::unique_ptr<RelaisTuiles> relais;
    QUrl amont; // the tile server's osm tiles
    quint16 port = 0;
    QByteArray jeton;
    // A relay with the deadlines in use, and a client that says nothing:
    // how long after it connected the relay closed it.
    std::unique_ptr<RelaisTuiles> parDefaut;
    QTcpSocket muet;
    QElapsedTimer depuisMuet;
    qint64 muetFerme = -1;
    // A relay whose clients have 2 s to send their request, before a tile
    // server that accepts and never answers.
    QTcpServer amontMuet;
    std::unique_ptr<RelaisTuiles> limites;
};

void TestRelais::initTestCase()
{
    Session::Preparer();
    // A download's deadline, shortened so that the trickle ends soon.
    qputenv("QUAYLIGHT_TUILES_DELAI", "4000");
    journal = dossier.filePath("tuiles.txt");
    serveur.start("python3", {QUAYLIGHT_SOURCE "/tests/serveur_tuiles.py", journal});
    QVERIFY(serveur.waitForReadyRead(20000));
    const QString adresse = "http://127.0.0.1:" + serveur.readLine().trimmed();
    amont = QUrl(adresse + "/osm/");
    relais = std::make_unique<RelaisTuiles>(
        QHash<QString, QUrl>{{"osm", amont}, {"seamark", QUrl(adresse + "/seamark/")}});
    const QUrl a = relais->Adresse("osm");
    port = quint16(a.port());
    jeton = a.path().section('/', 1, 1).toLatin1();
}

// The relays of the limits' tests, made after the others have run: a relay
// with the deadlines in use and a client that says nothing, and a relay
// whose clients have 2 s, before a tile server that never answers.
void TestRelais::PreparerLimites()
{
    if (limites)
        return;
    const QByteArray delai = qgetenv("QUAYLIGHT_TUILES_DELAI");
    qunsetenv("QUAYLIGHT_TUILES_DELAI");
    parDefaut = std::make_unique<RelaisTuiles>(
        QHash<QString, QUrl>{{"osm", QUrl("http://127.0.0.1:9/osm/")}});
    connect(&muet, &QTcpSocket::disconnected, this, [this] { muetFerme = depuisMuet.elapsed(); });
    muet.connectToHost(QHostAddress::LocalHost, quint16(parDefaut->Adresse("osm").port()));
    depuisMuet.start();
    muet.waitForConnected(5000);
    amontMuet.listen(QHostAddress::LocalHost);
    qputenv("QUAYLIGHT_TUILES_DELAI_TETE", "2000");
    limites = std::make_unique<RelaisTuiles>(QHash<QString, QUrl>{
        {"osm", QUrl("http://127.0.0.1:" + QString::number(amontMuet.serverPort()) + "/osm/")}});
    qunsetenv("QUAYLIGHT_TUILES_DELAI_TETE");
    qputenv("QUAYLIGHT_TUILES_DELAI", delai);
}

// What a tile server sends, and what the relay makes of it: a tile or a
// refusal soon enough, memory kept.
void TestRelais::serveurHostile_data()
{
    Tableau({"tuile", "statut"}, {{"tuile", "1/0/0", "200"},
                                  {"corps de 2 Mio annonce", "10/0/0", "502"},
                                  {"corps sans fin", "11/0/0", "502"},
                                  {"goutte a goutte", "12/0/0", "502"},
                                  {"redirection vers un autre service", "13/0/0", "502"},
                                  {"bombe gzip", "14/0/0", "502"},
                                  {"page web", "15/0/0", "502"},
                                  {"redirection sur le meme serveur", "16/0/0", "200"},
                                  {"tuile de 1 Mio", "17/0/0", "200"},
                                  {"1 Mio et un octet annonces", "17/1/0", "502"},
                                  {"1 Mio et un octet", "17/2/0", "502"}});
}

void TestRelais::serveurHostile()
{
    const long avant = MemoireKo();
    const Reponse r = Demander(port, Tuile(V("tuile").toLatin1() + ".png"));
    qInfo("%d in %lld ms, %ld KiB more", r.statut, r.ms, MemoireKo() - avant);
    QCOMPARE(r.statut, V("statut").toInt());
    QCOMPARE(r.raison, Raison(r.statut));
    QVERIFY2(r.ms < 4000 + 2000, qPrintable(QString::number(r.ms)));
    QCOMPARE(r.png, r.statut == 200);
    // A body refused is a connection closed: the server stops sending soon,
    // and the relay's other downloads are not kept waiting behind it.
    if (V("tuile") == "11/0/0")
        QTRY_VERIFY_WITH_TIMEOUT(Lire(journal).contains("fin 11 "), 2000);
#if !defined(__SANITIZE_ADDRESS__) // the sanitizer keeps freed memory, up to 256 MB
    QVERIFY2(MemoireKo() - avant < 16 * 1024, qPrintable(QString::number(MemoireKo() - avant)));
#endif
    QVERIFY(!Lire(journal).contains("autre "));
}

// Request heads: numbers go upstream as parsed; a head over 8 KiB, even in
// one write with its blank line, is refused as too large (400), one of
// 8 KiB is read.
void TestRelais::requetes_data()
{
    // A head filled up to the size given, with a header line of its own.
    const auto Longue = [](const QByteArray& tete, int taille) {
        QByteArray t = tete.chopped(2) + "X: ";
        return QString(t + QByteArray(taille - t.size() - 4, 'a') + "\r\n\r\n");
    };
    const QByteArray faux = "GET /abcd/osm/5/7/14.png HTTP/1.1\r\n\r\n";
    Tableau({"tete", "statut", "amont"},
            {{"zeros en tete", QString(Tuile("5/007/0012.png")), "200", "/osm/5/7/12.png "},
             {"tete de 20 Kio",
              QString("GET /" + jeton + "/osm/5/7/13.png HTTP/1.1\r\nX: " + QByteArray(20000, 'a') +
                      "\r\n\r\n"),
              "400"},
             {"jeton faux", QString("GET /abcd/osm/5/7/14.png HTTP/1.1\r\n\r\n"), "404"},
             {"tete de 8192 octets", Longue(Tuile("5/7/15.png"), 8192), "200", "/osm/5/7/15.png "},
             {"jeton faux en 8192 octets", Longue(faux, 8192), "404"},
             {"jeton faux en 8193 octets", Longue(faux, 8193), "400"}});
}

void TestRelais::requetes()
{
    const Reponse r = Demander(port, V("tete").toLatin1());
    QCOMPARE(r.statut, V("statut").toInt());
    QCOMPARE(r.raison, Raison(r.statut));
    QVERIFY(Lire(journal).contains(V("amont").toLatin1()));
    QVERIFY(!Lire(journal).contains("/osm/5/7/13.png") && !Lire(journal).contains("/5/7/14"));
}

// A redirect is followed on the same server only, whether its address
// writes the scheme's default port or leaves it out.
void TestRelais::memeServeur_data()
{
    Tableau({"de", "vers", "meme"},
            {{"port http ecrit", "http://t.fr/1.png", "http://t.fr:80/2.png", "oui"},
             {"port https tu", "https://t.fr:443/1.png", "https://t.fr/2.png", "oui"},
             {"port http en https", "https://t.fr/1.png", "https://t.fr:80/2.png", "non"},
             {"autre port", "http://t.fr:8080/1.png", "http://t.fr/2.png", "non"},
             {"autre schema", "http://t.fr/1.png", "https://t.fr/2.png", "non"},
             {"autre hote", "http://t.fr/1.png", "http://u.fr/1.png", "non"}});
}

void TestRelais::memeServeur()
{
    QCOMPARE(RelaisTuiles::MemeServeur(QUrl(V("de")), QUrl(V("vers"))), V("meme") == "oui");
}

// A backlog is served newest first: the tiles of the view the user looks
// at come before those of views already left.
void TestRelais::plusRecentesDAbord()
{
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    for (int x = 0; x < 8; ++x) {
        clients.push_back(std::make_unique<QTcpSocket>());
        clients.back()->connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(clients.back()->waitForConnected(5000));
        clients.back()->write(Tuile("3/" + QByteArray::number(x) + "/1.png"));
        clients.back()->flush();
    }
    QTRY_VERIFY(Lire(journal).count("/osm/3/") == 8);
    const QByteArray j = Lire(journal);
    QVERIFY2(j.indexOf("/osm/3/7/1.png") < j.indexOf("/osm/3/2/1.png"), j.constData());
}

// Hundreds of idle connections from another program (the desktop's limit
// is 1,024 descriptors): the relay keeps a few, does not spin, still serves
// a tile, and the editor still saves.
void TestRelais::connexionsOisives()
{
    Session s;
    s.Demarrer();
    s.Ouvrir(OutilsGPX::Document(OutilsGPX::Wpt("48.38", "-4.49", "t", "Quai")));
    std::unique_ptr<QProcess> attaque(Oisifs(port, 500));
    QTRY_VERIFY_WITH_TIMEOUT(attaque->canReadLine(), 60000);
    QVERIFY(attaque->readAll().trimmed().toInt() > 400);
    const double pris = ProcesseurPendant(2000);
    qInfo("%.2f s of processor in 2 s, %d descriptors", pris, Descripteurs());
    QVERIFY2(pris < 0.5, "the relay spins");
    QVERIFY2(Descripteurs() < 150, qPrintable(QString::number(Descripteurs())));
    QCOMPARE(Demander(port, Tuile("4/1/1.png")).statut, 200);
    QFile::remove(Declarations::FichierGPX);
    s.f->Sauver_Fichier->trigger();
    QVERIFY(s.plateforme->boites.isEmpty() && QFile::exists(Declarations::FichierGPX));
    attaque->kill();
    attaque->waitForFinished();
}

// Out of descriptors (a lowered limit stands for the desktop's, filled):
// accepting waits instead of spinning, and starts again once there are,
// whether the relay's clients or the rest of the program took them.
void TestRelais::plusDeDescripteurs()
{
    rlimit limite{};
    QVERIFY(getrlimit(RLIMIT_NOFILE, &limite) == 0);
    const rlimit ancienne = limite;
    limite.rlim_cur = rlim_t(Descripteurs() + 20);
    QVERIFY(setrlimit(RLIMIT_NOFILE, &limite) == 0);
    std::unique_ptr<QProcess> attaque(Oisifs(port, 300));
    QTRY_VERIFY_WITH_TIMEOUT(attaque->canReadLine(), 60000);
    const double pris = ProcesseurPendant(2000);
    qInfo("%.2f s of processor in 2 s", pris);
    QVERIFY(setrlimit(RLIMIT_NOFILE, &ancienne) == 0);
    QVERIFY2(pris < 0.5, qPrintable(QString::number(pris)));
    attaque->kill();
    attaque->waitForFinished();
    QTest::qWait(1000);
    QCOMPARE(Demander(port, Tuile("4/2/2.png")).statut, 200);
#if !defined(__SANITIZE_ADDRESS__) // its checks need a pipe, which no descriptor is left for
    // Filled by the rest of the program, none by the relay's clients: no
    // client that goes wakes it, it starts again by itself. The client is
    // another process, started while there were descriptors.
    QProcess client;
    client.start(QStringLiteral("python3"),
                 {"-c", QStringLiteral("import binascii, socket, sys\n"
                                       "print('pret', flush=True)\n"
                                       "r = binascii.unhexlify(sys.stdin.readline().strip())\n"
                                       "c = socket.create_connection(('127.0.0.1', %1))\n"
                                       "c.sendall(r)\n"
                                       "c.settimeout(8)\n"
                                       "d = b''\n"
                                       "try:\n"
                                       "    while True:\n"
                                       "        b = c.recv(65536)\n"
                                       "        if not b: break\n"
                                       "        d += b\n"
                                       "except OSError:\n"
                                       "    pass\n"
                                       "print(d[9:12].decode() or 'rien', flush=True)\n")
                            .arg(port)});
    QTRY_VERIFY_WITH_TIMEOUT(client.canReadLine(), 10000);
    QCOMPARE(client.readLine(), QByteArray("pret\n"));
    limite.rlim_cur = rlim_t(Descripteurs() + 2);
    QVERIFY(setrlimit(RLIMIT_NOFILE, &limite) == 0);
    std::vector<int> ouverts;
    for (int d; (d = ::open("/dev/null", O_RDONLY)) >= 0;)
        ouverts.push_back(d);
    client.write(Tuile("4/2/2.png").toHex() + '\n');
    const double attente = ProcesseurPendant(1500);
    for (const int d : ouverts)
        ::close(d);
    QVERIFY(setrlimit(RLIMIT_NOFILE, &ancienne) == 0);
    qInfo("%.2f s of processor in 1.5 s, no descriptor free", attente);
    QVERIFY2(attente < 0.4, qPrintable(QString::number(attente)));
    QTRY_COMPARE_WITH_TIMEOUT(client.state(), QProcess::NotRunning, 15000);
    QCOMPARE(client.readAll().trimmed(), QByteArray("200"));
#endif
}

// Another user of the machine, even with the token, is not served; the
// user's own programs are. Owners asked of the kernel (sock_diag), and read
// from /proc/net/tcp as on a kernel without it.
void TestRelais::autreUtilisateur_data()
{
    Tableau({"proc", "tuile"},
            {{"sock_diag", "", "4/3/3.png"}, {"/proc/net/tcp", "1", "4/3/4.png"}});
}

void TestRelais::autreUtilisateur()
{
    if (geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("runuser")).isEmpty())
        QSKIP("needs root and runuser to act as another user");
    std::unique_ptr<RelaisTuiles> parProc;
    RelaisTuiles* r = relais.get();
    if (!V("proc").isEmpty()) {
        qputenv("QUAYLIGHT_TUILES_PROC", "1");
        parProc = std::make_unique<RelaisTuiles>(QHash<QString, QUrl>{{"osm", amont}});
        qunsetenv("QUAYLIGHT_TUILES_PROC");
        r = parProc.get();
    }
    const quint16 p = quint16(r->Adresse("osm").port());
    const QByteArray tete = "GET " + r->Adresse("osm").path().toLatin1() + V("tuile").toLatin1() +
                            " HTTP/1.1\r\nHost: x\r\n\r\n";
    QProcess autre;
    autre.start(QStringLiteral("runuser"),
                {"-u", "nobody", "--", "python3", "-c",
                 QStringLiteral("import socket\n"
                                "c = socket.create_connection(('127.0.0.1', %1))\n"
                                "c.sendall(b'%2')\n"
                                "try:\n"
                                "    print(len(c.recv(100000)))\n"
                                "except ConnectionError:\n"
                                "    print(0)\n")
                     .arg(p)
                     .arg(QString::fromLatin1(tete).replace("\r", "\\r").replace("\n", "\\n"))});
    QTRY_VERIFY_WITH_TIMEOUT(autre.state() == QProcess::NotRunning, 20000);
    QCOMPARE(autre.readAllStandardOutput().trimmed(), QByteArray("0"));
    QVERIFY(!Lire(journal).contains("/osm/" + V("tuile").toLatin1()));
    QCOMPARE(Demander(p, tete).statut, 200);
}

// 32 clients at most: the 33rd takes the place of the oldest that has not
// sent its request; when all have, it is turned away.
void TestRelais::plafondDesConnexions()
{
    PreparerLimites();
    const QUrl adresse = limites->Adresse("osm");
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    auto ouvrir = [&] {
        clients.push_back(std::make_unique<QTcpSocket>());
        clients.back()->connectToHost(QHostAddress::LocalHost, quint16(adresse.port()));
        return clients.back()->waitForConnected(5000);
    };
    auto ouverts = [&] {
        QString e;
        for (const auto& c : clients)
            e += c->state() == QAbstractSocket::ConnectedState ? '1' : '0';
        return e;
    };
    for (int i = 0; i < 32; ++i)
        QVERIFY(ouvrir());
    QTest::qWait(300);
    QCOMPARE(ouverts(), QString(32, '1'));
    QVERIFY(ouvrir());
    QTRY_COMPARE(ouverts(), '0' + QString(32, '1'));
    for (size_t i = 1; i < clients.size(); ++i) {
        clients[i]->write("GET " + adresse.path().toLatin1() + "6/7/" + QByteArray::number(int(i)) +
                          ".png HTTP/1.1\r\n\r\n");
        clients[i]->flush();
    }
    QTest::qWait(300);
    QVERIFY(ouvrir());
    QTRY_COMPARE(ouverts(), '0' + QString(32, '1') + '0');
    // Then the relay takes no more: the next waits in the system's queue,
    // and is taken once a client goes; saying nothing, it goes in its turn
    // after 2 s.
    QVERIFY(ouvrir());
    const double pris = ProcesseurPendant(500);
    QVERIFY2(pris < 0.2, qPrintable(QString::number(pris)));
    QCOMPARE(ouverts(), '0' + QString(32, '1') + "01");
    clients[1]->abort();
    QTest::qWait(1000);
    QCOMPARE(clients.back()->state(), QAbstractSocket::ConnectedState);
    QTRY_COMPARE_WITH_TIMEOUT(clients.back()->state(), QAbstractSocket::UnconnectedState, 5000);
    // Gone before the next test, which needs room.
    for (const auto& c : clients)
        c->abort();
    QTest::qWait(500);
}

// A client has 2 s here to send its request: one that says nothing goes
// then, not before; one that has sent it stays to wait for its tile.
void TestRelais::delaiDeTete()
{
    PreparerLimites();
    const auto port = quint16(limites->Adresse("osm").port());
    QTcpSocket silencieux, lent;
    QElapsedTimer t;
    t.start();
    silencieux.connectToHost(QHostAddress::LocalHost, port);
    lent.connectToHost(QHostAddress::LocalHost, port);
    QVERIFY(silencieux.waitForConnected(5000) && lent.waitForConnected(5000));
    QTest::qWait(1500);
    QVERIFY(silencieux.state() == QAbstractSocket::ConnectedState);
    lent.write("GET " + limites->Adresse("osm").path().toLatin1() + "5/7/9.png HTTP/1.1\r\n");
    QTest::qWait(300);
    lent.write("\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(silencieux.state() != QAbstractSocket::ConnectedState, 5000);
    // Qt's coarse timers fire within 5 % of their time.
    QVERIFY2(t.elapsed() >= 1900 && t.elapsed() < 3000, qPrintable(QString::number(t.elapsed())));
    QTest::qWait(500);
    QCOMPARE(lent.state(), QAbstractSocket::ConnectedState);
}

// In use, a client has 10 s to send its request.
void TestRelais::delaiDeTeteParDefaut()
{
    PreparerLimites();
    QTRY_VERIFY_WITH_TIMEOUT(muetFerme >= 0, 15000);
    QVERIFY2(muetFerme >= 9500 && muetFerme < 12000, qPrintable(QString::number(muetFerme)));
}

QTEST_MAIN(TestRelais)
#include "test_relais.moc"
