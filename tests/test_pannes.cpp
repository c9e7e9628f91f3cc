#include "Factices.h"
#include "OutilsGPX.h"
#include "gpx/Fichiers.h"
#include "shell/Declarations.h"
#include "shell/Entree.h"
#include "ui/Creer_POI.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace OutilsGPX;
using Declarations::Table;

// What happens when the disk does not play along.
class TestPannes : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void systemeDeFichiersPlein();
    void dossierEnLectureSeule();
    void fichierDisparuApresLeDialogue();
    void fichierDeCinquanteMegaOctets();

private:
    void Ouvrir(const QString& chemin);

    QTemporaryDir dossier;
    std::unique_ptr<PlateformeTest> plateforme;
    Creer_POI* f = nullptr;
};

namespace {

const QByteArray Deux =
    "<gpx>\r\n<wpt lat=\"1\" lon=\"2\">\r\n<time>t1</time>\r\n<name>A</name>\r\n"
    "</wpt>\r\n<wpt lat=\"3\" lon=\"4\">\r\n<time>t2</time>\r\n<name>B</name>"
    "\r\n</wpt>\r\n</gpx>\r\n";

long PicMemoireKo()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

} // namespace

void TestPannes::initTestCase()
{
    QVERIFY(dossier.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dossier.path());
}

void TestPannes::init()
{
    plateforme = std::make_unique<PlateformeTest>();
    Entree::Demarrer();
    f = Entree::FenetrePrincipale();
    f->Option2[1]->click();
}

void TestPannes::cleanup()
{
    Entree::Terminer();
    plateforme.reset();
}

void TestPannes::Ouvrir(const QString& chemin)
{
    plateforme->fichiers << chemin;
    f->Ouvrir_Fichier->trigger();
}

void TestPannes::systemeDeFichiersPlein()
{
    const QString point = dossier.filePath(QStringLiteral("petit"));
    QVERIFY(QDir().mkpath(point));
    if (geteuid() != 0 ||
        mount("tmpfs", point.toLocal8Bit().constData(), "tmpfs", 0, "size=64k") != 0)
        QSKIP("no small file system can be mounted here (needs root and mount rights)");
    const QString fichier = point + QStringLiteral("/Marques.gpx");
    QVERIFY(Ecrire(fichier, Deux));
    Ouvrir(fichier);
    QCOMPARE(Table.NbPOI, int16_t(2));
    // Fill what is left, then add a waypoint with many links.
    QFile plein(point + QStringLiteral("/plein"));
    QVERIFY(plein.open(QIODevice::WriteOnly));
    const QByteArray bloc(1024, 'x');
    while (plein.write(bloc) == bloc.size() && plein.flush())
        ;
    plein.close();
    Table.NbLiens[2] = MaxLiens;
    for (int k = 1; k <= MaxLiens; ++k)
        Table.LienHref[2][k] = QStringLiteral("http://example.org/%1").arg(k);
    const QString avant = Resume(Table);
    const QByteArray disque = Lire(fichier);
    plateforme->boites.clear();
    f->Sauver_Fichier->trigger();
    const QByteArray apres = Lire(fichier);
    umount(point.toLocal8Bit().constData());
    QCOMPARE(plateforme->boites.size(), 1);
    QVERIFY2(plateforme->boites[0].texte.contains(fichier),
             qPrintable(plateforme->boites[0].texte));
    QCOMPARE(apres, disque);
    QCOMPARE(Resume(Table), avant);
}

void TestPannes::dossierEnLectureSeule()
{
    if (geteuid() == 0)
        QSKIP("the superuser writes into read-only folders");
    const QString d = dossier.filePath(QStringLiteral("lecture"));
    QVERIFY(QDir().mkpath(d));
    const QString fichier = d + QStringLiteral("/Marques.gpx");
    QVERIFY(Ecrire(fichier, Deux));
    Ouvrir(fichier);
    QFile::setPermissions(d, QFile::ReadOwner | QFile::ExeOwner);
    plateforme->boites.clear();
    f->Sauver_Fichier->trigger();
    QFile::setPermissions(d, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(plateforme->boites.size(), 1);
    QVERIFY(plateforme->boites[0].texte.contains(fichier));
    QCOMPARE(Lire(fichier), Deux);
}

void TestPannes::fichierDisparuApresLeDialogue()
{
    const QString premier = dossier.filePath(QStringLiteral("Premier.gpx"));
    QVERIFY(Ecrire(premier, Deux));
    Ouvrir(premier);
    const QString fichier = dossier.filePath(QStringLiteral("Disparu.gpx"));
    QVERIFY(Ecrire(fichier, Deux));
    plateforme->apresDialogue = [fichier] { QFile::remove(fichier); };
    plateforme->boites.clear();
    Ouvrir(fichier);
    // Gone before it could be read: a new document under that name.
    QVERIFY(plateforme->boites.isEmpty());
    QCOMPARE(Declarations::FichierGPX, fichier);
    QCOMPARE(Table.NbPOI, int16_t(0));
    QCOMPARE(f->ListePOI->count(), 0);
    QVERIFY(!QFile::exists(fichier));
}

void TestPannes::fichierDeCinquanteMegaOctets()
{
    const QString fichier = dossier.filePath(QStringLiteral("Enorme.gpx"));
    {
        QFile f(fichier);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<gpx>\r\n");
        QByteArray liens;
        for (int k = 1; k <= MaxLiens; ++k)
            liens += "\t\t<link href=\"https://example.org/page-" + QByteArray::number(k) +
                     ".html\">\r\n\t\t\t<text>Page</text>\r\n\t\t</link>\r\n";
        for (int i = 1; f.size() < 50 * 1024 * 1024; ++i)
            f.write("\t<wpt lat=\"48." + QByteArray::number(i) + "\" lon=\"-4\">\r\n\t\t<time>T" +
                    QByteArray::number(i) + "</time>\r\n\t\t<name>P" + QByteArray::number(i) +
                    "</name>\r\n" + liens + "\t</wpt>\r\n");
        f.write("</gpx>\r\n");
    }
    const long avant = PicMemoireKo();
    Ouvrir(fichier);
    const long apres = PicMemoireKo();
    QCOMPARE(Table.NbPOI, MaxPOI);
    QCOMPARE(Table.NomPOI[100], QStringLiteral("P100"));
    QCOMPARE(Table.NbLiens[100], MaxLiens);
    QCOMPARE(f->ListePOI->count(), 100);
    qInfo("peak memory for a 50 MB file: %ld MB more", (apres - avant) / 1024);
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("the address sanitizer's own memory hides the reader's");
#endif
    // The whole file is held while it is read and its links relocated: a
    // few times its size at most.
    QVERIFY2(apres - avant < 8 * 50 * 1024,
             qPrintable(QStringLiteral("%1 MB").arg((apres - avant) / 1024)));
}

QTEST_MAIN(TestPannes)
#include "test_pannes.moc"
