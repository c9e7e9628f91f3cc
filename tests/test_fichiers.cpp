#include "Factices.h"
#include "OutilsGPX.h"
#include "gpx/Fichiers.h"
#include "shell/Declarations.h"
#include "shell/Entree.h"
#include "ui/Creer_POI.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace OutilsGPX;
using Declarations::Table;

// The file commands driven through the main window, the seam answering the
// dialogs.
class TestFichiers : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void sauverSansNomDeFichier();
    void ouvrirFichierExistant();
    void ouvrirTrenteEtUneFois();
    void ouvrirNouveauDocumentEfface();
    void ouvrirAnnule();
    void ouvrirIllisible();
    void sauverSous_data();
    void sauverSous();
    void sauverSousAnnule();
    void sauverEchoue();
    void sauverSousEchoueGardeLeNom();
    void gardeCarte_data();
    void gardeCarte();

private:
    void Demarrer(int option = 1);
    void Ouvrir(const QString& chemin);
    QString Chemin(const QString& nom) { return dossier.filePath(nom); }
    Creer_POI& f() { return *Entree::FenetrePrincipale(); }

    QTemporaryDir dossier;
    std::unique_ptr<PlateformeTest> plateforme;
};

namespace {

const QByteArray Exemple = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n"
                           "<gpx version=\"1.1\" creator=\"OpenCPN\">\r\n"
                           "\t<wpt lat=\"48.38\" lon=\"-4.49\">\r\n"
                           "\t\t<time>2024-05-01T10:00:00Z</time>\r\n"
                           "\t\t<name>Quai</name>\r\n"
                           "\t\t<link href=\"file:///ailleurs/docs/quai.pdf\">\r\n"
                           "\t\t\t<text>Plan</text>\r\n"
                           "\t\t</link>\r\n"
                           "\t\t<sym>marina</sym>\r\n"
                           "\t</wpt>\r\n"
                           "\t<wpt lat=\"48.40\" lon=\"-4.50\">\r\n"
                           "\t\t<time>2024-05-01T10:05:00Z</time>\r\n"
                           "\t\t<name>Bou\xC3\xA9"
                           "e</name>\r\n"
                           "\t</wpt>\r\n"
                           "</gpx>\r\n";

} // namespace

void TestFichiers::initTestCase()
{
    QVERIFY(dossier.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dossier.path());
}

void TestFichiers::init()
{
    plateforme = std::make_unique<PlateformeTest>();
}

void TestFichiers::cleanup()
{
    Entree::Terminer();
    plateforme.reset();
}

void TestFichiers::Demarrer(int option)
{
    Entree::Demarrer();
    f().Option2[option]->click();
    QVERIFY(Entree::EtapeCourante() != Entree::Etape::AttenteReponse);
    plateforme->boites.clear();
}

void TestFichiers::Ouvrir(const QString& chemin)
{
    plateforme->fichiers << chemin;
    f().Ouvrir_Fichier->trigger();
}

void TestFichiers::sauverSansNomDeFichier()
{
    Demarrer();
    f().Sauver_Fichier->trigger();
    QCOMPARE(plateforme->boites.size(), 1);
    QCOMPARE(plateforme->boites[0].texte, QStringLiteral("Le nom du fichier est manquant"));
    QVERIFY(plateforme->dialogues.isEmpty());
}

void TestFichiers::ouvrirFichierExistant()
{
    Demarrer();
    QVERIFY(QDir().mkpath(Chemin(QStringLiteral("ex"))));
    const QString fichier = Chemin(QStringLiteral("ex/Marques.gpx"));
    QVERIFY(Ecrire(fichier, Exemple + "<trk>\r\n"));
    Declarations::MsgBoite[18] = QStringLiteral("routes");
    f().Option1[0]->setChecked(true);
    Ouvrir(fichier);

    QCOMPARE(plateforme->dialogues, QList<Plateforme::Dialogue>{Plateforme::Dialogue::Ouvrir});
    QCOMPARE(Declarations::FichierGPX, fichier);
    QCOMPARE(Declarations::NomFichierGPX, QStringLiteral("Marques.gpx"));
    QCOMPARE(Declarations::DossierGPX, Chemin(QStringLiteral("ex/")));
    QCOMPARE(f().LeNomFichier->text(), Fichiers::AffichageNomFichier(fichier));
    QVERIFY(!f().Option1[0]->isChecked());
    // The route warning, once.
    QCOMPARE(plateforme->boites.size(), 1);
    QCOMPARE(plateforme->boites[0].texte, QStringLiteral("routes"));

    QCOMPARE(Table.NbPOI, int16_t(2));
    QCOMPARE(f().ListePOI->count(), 2);
    QCOMPARE(f().ListePOI->item(1)->text(), QStringLiteral("Bouée"));
    QCOMPARE(f().ListePOI->currentRow(), -1);
    QCOMPARE(Declarations::NumPOI, int16_t(3));
    // Local links now point beside the file, on disk and in the table; the
    // backup keeps the file as it was.
    const QString cible = QStringLiteral("file://") + Chemin(QStringLiteral("ex/quai.pdf"));
    QCOMPARE(Table.LienHref[1][1], cible);
    QVERIFY(Lire(fichier).contains(cible.toUtf8()));
    QCOMPARE(Lire(Chemin(QStringLiteral("ex/tmp/Marques.gpx.30"))), Exemple + "<trk>\r\n");
    QCOMPARE(Lire(Chemin(QStringLiteral("ex/Temp.gpx"))), Lire(fichier));
}

void TestFichiers::ouvrirTrenteEtUneFois()
{
    Demarrer();
    QVERIFY(QDir().mkpath(Chemin(QStringLiteral("rot"))));
    const QString fichier = Chemin(QStringLiteral("rot/M.gpx"));
    QVERIFY(Ecrire(fichier, Exemple));
    QByteArray avantDernier;
    for (int n = 1; n <= 31; ++n) {
        if (n == 31)
            avantDernier = Lire(fichier);
        Ouvrir(fichier);
    }
    QCOMPARE(QDir(Chemin(QStringLiteral("rot/tmp"))).entryList(QDir::Files).size(), 30);
    QCOMPARE(Lire(Chemin(QStringLiteral("rot/tmp/M.gpx.30"))), avantDernier);
    // The oldest generations hold the file before and after its first
    // relocation.
    QCOMPARE(Lire(Chemin(QStringLiteral("rot/tmp/M.gpx.1"))), avantDernier);
}

void TestFichiers::ouvrirNouveauDocumentEfface()
{
    Demarrer();
    const QString fichier = Chemin(QStringLiteral("Existant.gpx"));
    QVERIFY(Ecrire(fichier, Exemple));
    Ouvrir(fichier);
    QCOMPARE(Table.NbPOI, int16_t(2));
    for (QLineEdit* boite : {f().Lat_Long, f().Nom_WP, f().Text1, f().Text2, f().Text3, f().Text4})
        boite->setText(QStringLiteral("x"));
    f().ListeLiens->addItem(QStringLiteral("1  Plan    (File)"));
    f().Option1[1]->setChecked(true);

    const QString nouveau = Chemin(QStringLiteral("Nouveau.gpx"));
    Ouvrir(nouveau);
    QCOMPARE(Declarations::FichierGPX, nouveau);
    QCOMPARE(Table.NbPOI, int16_t(0));
    for (int i = 0; i <= MaxPOI; ++i) {
        QCOMPARE(Table.NbLiens[i], int16_t(0));
        QVERIFY(Table.SymPOI[i].isEmpty() && Table.LienHref[i][1].isEmpty());
    }
    QCOMPARE(f().ListePOI->count(), 0);
    QCOMPARE(f().ListeLiens->count(), 0);
    for (QLineEdit* boite : {f().Lat_Long, f().Nom_WP, f().Text1, f().Text2, f().Text3, f().Text4})
        QVERIFY(boite->text().isEmpty());
    QVERIFY(!f().Option1[1]->isChecked());
    QVERIFY(!QFile::exists(nouveau));
    QVERIFY(!QFile::exists(Chemin(QStringLiteral("tmp/Nouveau.gpx.30"))));

    // Saved, the new document is an empty GPX file.
    f().Sauver_Fichier->trigger();
    QCOMPARE(Lire(nouveau).count("\r\n"), 3);
}

void TestFichiers::ouvrirAnnule()
{
    Demarrer();
    const QString fichier = Chemin(QStringLiteral("Garde.gpx"));
    QVERIFY(Ecrire(fichier, Exemple));
    Ouvrir(fichier);
    Ouvrir(QString());
    QCOMPARE(Declarations::FichierGPX, fichier);
    QCOMPARE(Table.NbPOI, int16_t(2));
    QCOMPARE(f().ListePOI->count(), 2);
}

void TestFichiers::ouvrirIllisible()
{
    Demarrer();
    const QString fichier = Chemin(QStringLiteral("Existant2.gpx"));
    QVERIFY(Ecrire(fichier, Exemple));
    Ouvrir(fichier);
    // A folder of that name exists: it cannot be read as a file.
    const QString dossierGpx = Chemin(QStringLiteral("dossier.gpx"));
    QVERIFY(QDir().mkpath(dossierGpx));
    plateforme->boites.clear();
    Ouvrir(dossierGpx);
    QCOMPARE(plateforme->boites.size(), 1);
    QVERIFY(plateforme->boites[0].texte.contains(dossierGpx));
    QCOMPARE(Table.NbPOI, int16_t(0));
    QCOMPARE(f().ListePOI->count(), 0);
}

void TestFichiers::sauverSous_data()
{
    QTest::addColumn<QString>("choisi");
    QTest::addColumn<QString>("ecrit");
    QTest::newRow("sans extension") << "marks"
                                    << "marks.gpx";
    QTest::newRow("avec extension") << "Cote.gpx"
                                    << "Cote.gpx";
    QTest::newRow("majuscules") << "MARKS.GPX"
                                << "MARKS.GPX.gpx";
    QTest::newRow("dossier en .gpx") << "archive.gpx/marks"
                                     << "archive.gpx/marks";
}

void TestFichiers::sauverSous()
{
    QFETCH(QString, choisi);
    QFETCH(QString, ecrit);
    Demarrer();
    QVERIFY(QDir().mkpath(Chemin(QStringLiteral("archive.gpx"))));
    const QString ouvert = Chemin(QStringLiteral("Source.gpx"));
    QVERIFY(Ecrire(ouvert, Exemple));
    Ouvrir(ouvert);
    QVERIFY(Ecrire(Chemin(ecrit), "sera remplace"));

    plateforme->fichiers << Chemin(choisi);
    f().Sauver_sous->trigger();
    QCOMPARE(plateforme->dialogues.last(), Plateforme::Dialogue::EnregistrerSous);
    QCOMPARE(Declarations::FichierGPX, Chemin(ecrit));
    auto relu = std::make_unique<PoiTable>();
    Fichiers::LirePOI(Fichiers::LignesWindows1252(Lire(Chemin(ecrit))), *relu);
    QCOMPARE(Resume(*relu), Resume(Table));
    // The name box keeps the opened file; the next Save goes to the new one.
    QCOMPARE(f().LeNomFichier->text(), Fichiers::AffichageNomFichier(ouvert));
    QVERIFY(plateforme->boites.isEmpty());
    QFile::remove(Chemin(ecrit));
    f().Sauver_Fichier->trigger();
    QVERIFY(QFile::exists(Chemin(ecrit)));
}

void TestFichiers::sauverSousAnnule()
{
    Demarrer();
    const QString ouvert = Chemin(QStringLiteral("Reste.gpx"));
    QVERIFY(Ecrire(ouvert, Exemple));
    Ouvrir(ouvert);
    const QByteArray avant = Lire(ouvert);
    f().Sauver_sous->trigger(); // the script has no name: cancelled
    QCOMPARE(Declarations::FichierGPX, ouvert);
    QCOMPARE(Lire(ouvert), avant);
}

void TestFichiers::sauverEchoue()
{
    Demarrer();
    const QString fichier = Chemin(QStringLiteral("Protege.gpx"));
    QVERIFY(Ecrire(fichier, Exemple));
    Ouvrir(fichier);
    const QByteArray avant = Lire(fichier);
    const QString resume = Resume(Table);
    QFile::setPermissions(fichier, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    plateforme->boites.clear();
    f().Sauver_Fichier->trigger();
    QFile::setPermissions(fichier, QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(plateforme->boites.size(), 1);
    QVERIFY2(plateforme->boites[0].texte.contains(fichier),
             qPrintable(plateforme->boites[0].texte));
    QCOMPARE(Lire(fichier), avant);
    QCOMPARE(Resume(Table), resume);
}

void TestFichiers::sauverSousEchoueGardeLeNom()
{
    Demarrer();
    const QString fichier = Chemin(QStringLiteral("Ici.gpx"));
    QVERIFY(Ecrire(fichier, Exemple));
    Ouvrir(fichier);
    plateforme->boites.clear();
    const QString impossible = Chemin(QStringLiteral("absent/Ailleurs.gpx"));
    plateforme->fichiers << impossible;
    f().Sauver_sous->trigger();
    QCOMPARE(plateforme->boites.size(), 1);
    QVERIFY(plateforme->boites[0].texte.contains(impossible));
    QCOMPARE(Declarations::FichierGPX, fichier);
}

void TestFichiers::gardeCarte_data()
{
    QTest::addColumn<int>("reponse");
    QTest::addColumn<bool>("dialogue");
    QTest::addColumn<int>("fins");
    QTest::newRow("abandon") << int(Plateforme::Reponse::Abandon) << false << 1;
    QTest::newRow("reessayer") << int(Plateforme::Reponse::Reessayer) << false << 0;
    QTest::newRow("ignorer") << int(Plateforme::Reponse::Ignorer) << true << 0;
}

void TestFichiers::gardeCarte()
{
    QFETCH(int, reponse);
    QFETCH(bool, dialogue);
    QFETCH(int, fins);
    plateforme->CarteFactice(1000000);
    Demarrer(0);
    QVERIFY(plateforme->carte);
    plateforme->reponses << Plateforme::Reponse(reponse);
    Ouvrir(Chemin(QStringLiteral("Garde2.gpx")));
    // Abort runs Quit, which asks about saving.
    QCOMPARE(plateforme->boites.size(), fins + 1);
    QCOMPARE(plateforme->boites[0].texte,
             QStringLiteral("Google Earth n'est pas encore initalisé - Googel Earth has not "
                            "finished loading"));
    QCOMPARE(plateforme->boites[0].boutons, Plateforme::Boutons::AbandonReessayerIgnorer);
    QCOMPARE(!plateforme->dialogues.isEmpty(), dialogue);
    QCOMPARE(plateforme->fins, fins);
}

QTEST_MAIN(TestFichiers)
#include "test_fichiers.moc"
