// The seam on a real desktop: message boxes and file dialogs as they open,
// the desktop's open action through xdg-open, the connection check.
#include "Outils.h"
#include "shell/Plateforme.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <ifaddrs.h>
#include <net/if.h>

Q_DECLARE_METATYPE(Plateforme::Boutons)
Q_DECLARE_METATYPE(Plateforme::Reponse)
Q_DECLARE_METATYPE(Plateforme::Dialogue)

namespace {

// Runs action on the modal window once it shows.
void QuandModal(std::function<void(QWidget*)> action)
{
    QTimer::singleShot(50, [action] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w) {
            QuandModal(action);
            return;
        }
        action(w);
    });
}

} // namespace

class TestPlateforme : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void message_data();
    void message();
    void dialogue_data();
    void dialogue();
    void ouvrirShell_data();
    void ouvrirShell();
    void connexion();

private:
    PlateformeQt qt;
    // A stand-in for xdg-open that writes down what it was asked to open;
    // the toolkit looks for it once and keeps its path.
    QTemporaryDir bin;
    QString trace;
};

void TestPlateforme::initTestCase()
{
    trace = bin.filePath(QStringLiteral("trace"));
    const QString script = bin.filePath(QStringLiteral("xdg-open"));
    QVERIFY(OutilsGPX::Ecrire(script, "#!/bin/sh\nprintf '%s' \"$1\" > '" + trace.toUtf8() + "'\n"));
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", bin.path().toUtf8() + ':' + qgetenv("PATH"));
    qunsetenv("BROWSER");
}

void TestPlateforme::message_data()
{
    QTest::addColumn<Plateforme::Boutons>("boutons");
    QTest::addColumn<int>("bouton"); // QMessageBox::StandardButton, 0 for Escape
    QTest::addColumn<Plateforme::Reponse>("reponse");
    QTest::addColumn<int>("icone");
    using B = Plateforme::Boutons;
    using R = Plateforme::Reponse;
    QTest::newRow("ok") << B::OK << int(QMessageBox::Ok) << R::OK << int(QMessageBox::NoIcon);
    QTest::newRow("oui") << B::OuiNon << int(QMessageBox::Yes) << R::Oui
                         << int(QMessageBox::Question);
    QTest::newRow("non par echap") << B::OuiNon << 0 << R::Non << int(QMessageBox::Question);
    QTest::newRow("ignorer") << B::AbandonReessayerIgnorer << int(QMessageBox::Ignore)
                             << R::Ignorer << int(QMessageBox::Warning);
    QTest::newRow("abandon") << B::AbandonReessayerIgnorer << int(QMessageBox::Abort)
                             << R::Abandon << int(QMessageBox::Warning);
    QTest::newRow("reessayer par echap")
        << B::AbandonReessayerIgnorer << 0 << R::Reessayer << int(QMessageBox::Warning);
}

void TestPlateforme::message()
{
    QFETCH(Plateforme::Boutons, boutons);
    QFETCH(int, bouton);
    QFETCH(Plateforme::Reponse, reponse);
    QFETCH(int, icone);
    QString vu;
    QuandModal([&](QWidget* w) {
        auto* boite = qobject_cast<QMessageBox*>(w);
        if (!boite)
            return;
        vu = boite->windowTitle() + QLatin1Char('|') + boite->text() + QLatin1Char('|') +
             QString::number(boite->icon());
        if (bouton)
            boite->button(QMessageBox::StandardButton(bouton))->click();
        else
            QTest::keyClick(boite, Qt::Key_Escape);
    });
    QCOMPARE(qt.Message(nullptr, QStringLiteral("Sauver ?"), boutons), reponse);
    QCOMPARE(vu, QStringLiteral("Quaylight|Sauver ?|%1").arg(icone));
}

void TestPlateforme::dialogue_data()
{
    QTest::addColumn<Plateforme::Dialogue>("genre");
    QTest::addColumn<QString>("filtre");
    QTest::addColumn<QString>("nom"); // typed into the name field
    QTest::addColumn<QString>("attendu"); // the mode, the filter, the options
    QTest::newRow("ouvrir un nouveau fichier")
        << Plateforme::Dialogue::Ouvrir << "*.gpx" << "Nouveau.gpx" << "0 0 *.gpx propre";
    QTest::newRow("enregistrer sous") << Plateforme::Dialogue::EnregistrerSous << "*.gpx"
                                      << "Copie.gpx" << "0 1 *.gpx";
    QTest::newRow("fichier a lier") << Plateforme::Dialogue::FichierExistant << "*"
                                    << "Plan_rade" << "1 0 *";
}

// Each dialog in its mode; the name typed by the user is what comes back.
void TestPlateforme::dialogue()
{
    QFETCH(Plateforme::Dialogue, genre);
    QFETCH(QString, filtre);
    QFETCH(QString, nom);
    QFETCH(QString, attendu);
    QTemporaryDir dossier;
    QVERIFY(OutilsGPX::Ecrire(dossier.filePath(QStringLiteral("Plan_rade")), "x"));
    QString vu;
    QuandModal([&](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        if (!d)
            return;
        vu = QStringLiteral("%1 %2 %3").arg(d->fileMode()).arg(d->acceptMode()).arg(
            d->nameFilters().join(QLatin1Char(';')));
        if (d->testOption(QFileDialog::DontUseNativeDialog))
            vu += QStringLiteral(" propre");
        d->setDirectory(dossier.path());
        auto* champ = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!champ) {
            d->reject();
            return;
        }
        champ->setText(nom);
        QTest::keyClick(champ, Qt::Key_Return);
    });
    QCOMPARE(qt.DialogueFichier(nullptr, genre, filtre), dossier.filePath(nom));
    QCOMPARE(vu, attendu);
}

void TestPlateforme::ouvrirShell_data()
{
    QTest::addColumn<QString>("cible");
    QTest::addColumn<QString>("ouvert");
    QTest::newRow("fichier avec diese") << "file:///home/m/Bouée #3?.txt"
                                        << "fichier /home/m/Bouée #3?.txt";
    QTest::newRow("pourcent litteral") << "file:///a/Plan%20rade" << "fichier /a/Plan%20rade";
    QTest::newRow("web sans schema") << "www.shom.fr" << "web http://www.shom.fr";
    QTest::newRow("web") << "https://m.fr/?a=1&b=2" << "web https://m.fr/?a=1&b=2";
}

// The desktop's open action receives exactly the file or address named.
void TestPlateforme::ouvrirShell()
{
    QFETCH(QString, cible);
    QFETCH(QString, ouvert);
    QFile::remove(trace);
    QVERIFY(qt.OuvrirShell(cible));
    QTRY_VERIFY(QFile::exists(trace) && !OutilsGPX::Lire(trace).isEmpty());
    const QUrl url(QString::fromUtf8(OutilsGPX::Lire(trace)));
    QCOMPARE(url.isLocalFile() ? QStringLiteral("fichier ") + url.toLocalFile()
                               : QStringLiteral("web ") + url.toString(),
             ouvert);
}

// Connected exactly when an interface other than loopback is up and running
// with an address, as the C library lists them.
void TestPlateforme::connexion()
{
    ifaddrs* liste = nullptr;
    QVERIFY(getifaddrs(&liste) == 0);
    int32_t attendu = 0;
    for (ifaddrs* i = liste; i; i = i->ifa_next) {
        const unsigned drapeaux = i->ifa_flags;
        if (i->ifa_addr && (i->ifa_addr->sa_family == AF_INET || i->ifa_addr->sa_family == AF_INET6) &&
            !(drapeaux & IFF_LOOPBACK) && (drapeaux & IFF_UP) && (drapeaux & IFF_RUNNING))
            attendu = 1;
    }
    freeifaddrs(liste);
    QCOMPARE(qt.ConnexionInternet(), attendu);
    QVERIFY(qAbs(qt.Maintenant().secsTo(QDateTime::currentDateTimeUtc())) < 5);
}

QTEST_MAIN(TestPlateforme)
#include "test_plateforme.moc"
