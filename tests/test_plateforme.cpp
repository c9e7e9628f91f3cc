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
    QVERIFY(
        OutilsGPX::Ecrire(script, "#!/bin/sh\nprintf '%s' \"$1\" > '" + trace.toUtf8() + "'\n"));
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", bin.path().toUtf8() + ':' + qgetenv("PATH"));
    qunsetenv("BROWSER");
}

void TestPlateforme::message_data()
{
    // Buttons (Plateforme::Boutons), the button pressed (QMessageBox's, 0
    // for Escape), the answer (Plateforme::Reponse), the icon.
    Tableau({"boutons", "bouton", "reponse", "icone"},
            {{"ok", "0", "1024", "0", "0"},
             {"oui", "1", "16384", "1", "4"},
             {"non par echap", "1", "0", "2", "4"},
             {"abandon", "2", "262144", "3", "2"},
             {"ignorer", "2", "1048576", "5", "2"},
             {"reessayer par echap", "2", "0", "4", "2"}});
}

void TestPlateforme::message()
{
    QString vu;
    QuandModal([&vu](QWidget* w) {
        auto* boite = qobject_cast<QMessageBox*>(w);
        vu = QStringLiteral("%1|%2|%3").arg(boite->windowTitle(), boite->text()).arg(boite->icon());
        if (V("bouton") != "0")
            boite->button(QMessageBox::StandardButton(V("bouton").toInt()))->click();
        else
            QTest::keyClick(boite, Qt::Key_Escape);
    });
    QCOMPARE(int(qt.Message(nullptr, QStringLiteral("Sauver ?"),
                            Plateforme::Boutons(V("boutons").toInt()))),
             V("reponse").toInt());
    QCOMPARE(vu, "Quaylight|Sauver ?|" + V("icone"));
}

void TestPlateforme::dialogue_data()
{
    // The dialog (Plateforme::Dialogue) and its filter; the name typed; its
    // mode, accept mode, filters and options as the user meets them.
    Tableau({"genre", "filtre", "nom", "attendu"},
            {{"ouvrir un nouveau fichier", "0", "*.gpx", "Nouveau.gpx", "0 0 *.gpx propre"},
             {"enregistrer sous", "1", "*.gpx", "Copie.gpx", "0 1 *.gpx"},
             {"fichier a lier", "2", "*", "Plan_rade", "1 0 *"}});
}

// Each dialog in its mode; the name typed by the user is what comes back.
void TestPlateforme::dialogue()
{
    const QString nom = V("nom");
    QTemporaryDir dossier;
    QVERIFY(OutilsGPX::Ecrire(dossier.filePath(QStringLiteral("Plan_rade")), "x"));
    QString vu;
    QuandModal([&](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        if (!d)
            return;
        vu = QStringLiteral("%1 %2 %3")
                 .arg(d->fileMode())
                 .arg(d->acceptMode())
                 .arg(d->nameFilters().join(QLatin1Char(';')));
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
    QCOMPARE(qt.DialogueFichier(nullptr, Plateforme::Dialogue(V("genre").toInt()), V("filtre")),
             dossier.filePath(nom));
    QCOMPARE(vu, V("attendu"));
}

void TestPlateforme::ouvrirShell_data()
{
    QTest::addColumn<QString>("cible");
    QTest::addColumn<QString>("ouvert");
    QTest::newRow("fichier avec diese") << "file:///home/m/Bouée #3?.txt"
                                        << "fichier /home/m/Bouée #3?.txt";
    QTest::newRow("pourcent litteral") << "file:///a/Plan%20rade"
                                       << "fichier /a/Plan%20rade";
    QTest::newRow("web sans schema") << "www.shom.fr"
                                     << "web http://www.shom.fr";
    QTest::newRow("web") << "https://m.fr/?a=1&b=2"
                         << "web https://m.fr/?a=1&b=2";
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
        if (i->ifa_addr &&
            (i->ifa_addr->sa_family == AF_INET || i->ifa_addr->sa_family == AF_INET6) &&
            !(drapeaux & IFF_LOOPBACK) && (drapeaux & IFF_UP) && (drapeaux & IFF_RUNNING))
            attendu = 1;
    }
    freeifaddrs(liste);
    QCOMPARE(qt.ConnexionInternet(), attendu);
    QVERIFY(qAbs(qt.Maintenant().secsTo(QDateTime::currentDateTimeUtc())) < 5);
}

QTEST_MAIN(TestPlateforme)
#include "test_plateforme.moc"
