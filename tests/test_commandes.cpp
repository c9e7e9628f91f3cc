// The editor's windows and commands, driven like a user through the real
// windows, the fake seam answering the dialogs.
#include "Outils.h"
#include "gpx/Fichiers.h"
#include "shell/Declarations.h"
#include "shell/Donnees.h"
#include "shell/Entree.h"
#include "shell/Langues.h"
#include "shell/Reglages.h"
#include "ui/Creer_POI.h"
#include "ui/ListeChoix.h"
#include "ui/TexteLien1.h"
#include "ui/Twips.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QtTest>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace OutilsGPX;
using Declarations::NumPOI;
using Declarations::Table;

namespace {

// Five waypoints with 1, 2, 3, 0 and 1 links.
const QByteArray Cinq = Document(
    Wpt("48.1", "-4.1", "t1", "Un", Liens(1), "s1") + Wpt("48.2", "-4.2", "t2", "Deux", Liens(2), "s2") +
    Wpt("48.3", "-4.3", "t3", "Trois", Liens(3), "s3") + Wpt("48.4", "-4.4", "t4", "Quatre", "", "s4") +
    Wpt("48.5", "-4.5", "t5", "Cinq", Liens(1), "s5"));

// Two waypoints, the second named nom with n links.
QByteArray Deux(int n = 2, const QByteArray& nom = "Anse Nord")
{
    return Document(Wpt("1", "1", "t0", "Autre") + Wpt("48.3", "-4.5", "t1", nom, Liens(n)));
}

// Every caption and tool tip the windows show, by control.
QStringList Legendes(Creer_POI& f, TexteLien1& d)
{
    QStringList l;
    for (QWidget* w : f.centralWidget()->findChildren<QWidget*>()) {
        QString t;
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            t = b->text();
        else if (auto* e = qobject_cast<QLabel*>(w))
            t = e->text();
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            t = g->title();
        if (!w->objectName().isEmpty())
            l << w->objectName() + QLatin1Char('|') + t + QLatin1Char('|') + w->toolTip();
    }
    for (QAction* a : f.findChildren<QAction*>())
        if (!a->objectName().isEmpty())
            l << a->objectName() + QLatin1Char('|') + a->text();
    l << f.Menu_Fichier->title() << d.Enregistrer->text() << d.Fermer->text();
    return l;
}

long PicMemoireKo()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

} // namespace

class TestCommandes : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Session::Preparer(); }
    void init() { s = std::make_unique<Session>(); }
    void cleanup() { s.reset(); }

    void question_data();
    void question();
    void menusPendantLaQuestion();
    void positionsDesFenetres_data();
    void positionsDesFenetres();
    void fenetres();

    void ouvrir();
    void ouvrirEncore();
    void ouvrirSansFichierDeTravail();
    void fichierEtranger();
    void sauverSous_data();
    void sauverSous();
    void sauverEchoue();
    void gardeCarte_data();
    void gardeCarte();
    void disquePlein();
    void fichierDisparu();
    void cinquanteMegaOctets();

    void selection_data();
    void selection();
    void focusNeChoisitRien();
    void clicsEnModeNouveau();
    void positions_data();
    void positions();
    void nouveauModifierSupprimer();
    void centiemeEtRefus();
    void refus_data();
    void refus();

    void liens();
    void validationDesLiens_data();
    void validationDesLiens();
    void choisirFichier();
    void description();
    void descriptionRefusee();
    void fenetreDescription();

    void quitter_data();
    void quitter();
    void languesEtAide();
    void appliquerLigne_data();
    void appliquerLigne();
    void fichiersLivres_data();
    void fichiersLivres();

private:
    Creer_POI& f() { return *s->f; }
    PlateformeTest& p() { return *s->plateforme; }
    std::unique_ptr<Session> s;
};

void TestCommandes::question_data()
{
    QTest::addColumn<int>("carte"); // -1 no map object, else ready at that query
    QTest::addColumn<bool>("echoue");
    QTest::addColumn<int>("option");
    QTest::addColumn<int>("connexion");
    QTest::addColumn<int>("boites");
    QTest::newRow("non") << 1 << false << 1 << 0 << 0;
    QTest::newRow("oui sans carte") << -1 << false << 0 << 1 << 1;
    QTest::newRow("oui, prete au 4e sondage") << 4 << false << 0 << 1 << 0;
    QTest::newRow("oui, le sondage echoue") << 1000 << true << 0 << 1 << 1;
}

void TestCommandes::question()
{
    QFETCH(int, carte);
    QFETCH(bool, echoue);
    QFETCH(int, option);
    QFETCH(int, connexion);
    QFETCH(int, boites);
    if (carte > 0)
        p().CarteFactice(carte);
    p().connexion = connexion;
    Entree::Demarrer();
    Creer_POI& f = *Entree::FenetrePrincipale();
    QCOMPARE(Entree::EtapeCourante(), Entree::Etape::AttenteReponse);
    QVERIFY(f.Google->isVisible() && !f.POIS->isVisible() && !f.LIENS->isVisible());
    QVERIFY(!Entree::FenetreDescription()->isVisible());
    // Nothing past the question has run.
    QCOMPARE(p().verificationsConnexion, 0);
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QTest::mouseClick(f.Option2[option], Qt::LeftButton, {},
                      QPoint(8, f.Option2[option]->height() / 2));
    if (echoue)
        p().carte->sondageEchoue = true;
    QTRY_COMPARE(Entree::EtapeCourante(), Entree::Etape::Terminee);
    QCOMPARE(p().boites.size(), boites);
    if (boites)
        QCOMPARE(p().boites[0].texte, Declarations::MsgBoite[16]);
    QCOMPARE(p().creations.size(), option == 0 ? 1 : 0);
    QCOMPARE(bool(Declarations::AppliGE), option == 0 && carte > 0);
    QCOMPARE(Declarations::Connecte, connexion);
    QVERIFY(f.POIS->isVisible() && !f.Google->isVisible());
    QCOMPARE(f.Pickup_X_Y->isVisible(), option == 0);
    if (carte == 4)
        QCOMPARE(p().carte->sondages, 4);
}

void TestCommandes::menusPendantLaQuestion()
{
    p().CarteFactice(1000000);
    Entree::Demarrer();
    Creer_POI& f = *Entree::FenetrePrincipale();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Option2[0]->click();
    QCOMPARE(Entree::EtapeCourante(), Entree::Etape::AttenteCarte);
    // The menus work while the map gets ready, Quit included.
    f.POIS->hide();
    f.LIENS->show();
    QTest::mouseClick(f.menuBar(), Qt::LeftButton, {},
                      f.menuBar()->actionGeometry(f.Montre_Fichier).center());
    QVERIFY(f.POIS->isVisible() && !f.LIENS->isVisible());
    Entree::FenetreDescription()->show();
    QTest::mouseClick(f.menuBar(), Qt::LeftButton, {},
                      f.menuBar()->actionGeometry(f.Quitter).center());
    QCOMPARE(p().fins, 1);
    QVERIFY(!f.isVisible() && !Entree::FenetreDescription()->isVisible());
    // The close box runs Quit once: one question, one end.
    s->Demarrer();
    s->f->close();
    QCOMPARE(p().boites.size(), 1);
    QCOMPARE(p().fins, 2);
}

void TestCommandes::positionsDesFenetres_data()
{
    // Stored texts (twips), and where the window's left and top must be:
    // "" where the system placed it, "bord" on the nearest screen edge.
    QTest::addColumn<QString>("gauche");
    QTest::addColumn<QString>("haut");
    QTest::addColumn<QString>("attenduX");
    QTest::addColumn<QString>("attenduY");
    QTest::newRow("toutes") << "1500" << "3000" << "1500" << "3000";
    QTest::newRow("non numerique, absent") << "abc" << QString() << "" << "";
    QTest::newRow("ecran debranche") << "60000" << "-7000" << "bord" << "bord";
    QTest::newRow("valeur abimee") << "-99999999999" << "1e30" << "bord" << "bord";
}

void TestCommandes::positionsDesFenetres()
{
    QFETCH(QString, gauche);
    QFETCH(QString, haut);
    QFETCH(QString, attenduX);
    QFETCH(QString, attenduY);
    // Where the windowing system puts the windows without stored positions.
    Entree::Demarrer();
    const QPoint defauts[] = {Entree::FenetrePrincipale()->pos(),
                              Entree::FenetreDescription()->pos()};
    Entree::Terminer();
    for (const char* cle : {Reglages::Creer_POI_MargeG, Reglages::TexteLien1_MargeG})
        if (!gauche.isNull())
            Reglages::Ecrire(cle, gauche);
    for (const char* cle : {Reglages::Creer_POI_Haut, Reglages::TexteLien1_Haut})
        if (!haut.isNull())
            Reglages::Ecrire(cle, haut);
    Entree::Demarrer();
    const QRect ecran = QGuiApplication::primaryScreen()->availableGeometry();
    const QWidget* fenetres[] = {Entree::FenetrePrincipale(), Entree::FenetreDescription()};
    for (int i = 0; i < 2; ++i) {
        const QRect cadre = fenetres[i]->frameGeometry();
        auto attendu = [&](const QString& a, int defaut, int v, int debut, int fin) {
            if (a.isEmpty())
                return v == defaut;
            if (a == QLatin1String("bord"))
                return v == debut || v == fin;
            return v == Twips::VersPixels(a.toInt());
        };
        QVERIFY2(attendu(attenduX, defauts[i].x(), cadre.x(), ecran.left(),
                         ecran.right() + 1 - cadre.width()),
                 qPrintable(QString::number(cadre.x())));
        QVERIFY2(attendu(attenduY, defauts[i].y(), cadre.y(), ecran.top(),
                         ecran.bottom() + 1 - cadre.height()),
                 qPrintable(QString::number(cadre.y())));
    }
}

// The windows as a user meets them: fixed sizes, every menu entry shown, the
// tab order of the layout, a description window only the program closes.
void TestCommandes::fenetres()
{
    s->Demarrer();
    Creer_POI& f = this->f();
    QCOMPARE(f.minimumSize(), f.maximumSize());
    QCOMPARE(f.centralWidget()->size(), QSize(Twips::VersPixels(3900), Twips::VersPixels(7185)));
    for (QAction* a : f.menuBar()->actions())
        QVERIFY2(f.menuBar()->rect().contains(f.menuBar()->actionGeometry(a)), qPrintable(a->text()));
    f.LIENS->show();
    const QList<QWidget*> ordre = {
        f.LeNomFichier,   f.ListePOI,   f.Lat_Long,     f.Nom_WP,       f.Option1[0],
        f.Option1[1],     f.Option1[2], f.Validation,   f.Text3,        f.Text4,
        f.Text1,          f.Descriptif, f.Valider_lien, f.ListeLiens,   f.Tester_Lien,
        f.Supprimer_Lien, f.Text7,      f.Fichier_lien, f.Text2,
        f.LangFR,         f.LangEN,     f.LangSelf};
    auto suivant = [](QWidget* w) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible());
        return w;
    };
    for (int i = 1; i < ordre.size(); ++i)
        QCOMPARE(suivant(ordre[i - 1])->objectName(), ordre[i]->objectName());
    TexteLien1& d = *s->d;
    QCOMPARE(d.minimumSize(), d.maximumSize());
    QVERIFY(d.windowFlags() & Qt::Tool);
    d.show();
    d.close(); // the close box
    QVERIFY(d.isVisible());
    d.FermerParProgramme();
    QVERIFY(!d.isVisible());
}

void TestCommandes::ouvrir()
{
    s->Demarrer();
    QVERIFY(QDir().mkpath(s->Chemin(QStringLiteral("ex"))));
    const QString fichier = s->Chemin(QStringLiteral("ex/Marques.gpx"));
    const QByteArray avant =
        Document(Wpt("48.38", "-4.49", "t1", "Quai", Lien("file:///ailleurs/quai.pdf", "Plan")) +
                 Wpt("48.40", "-4.50", "t2", "Bou\xC3\xA9" "e") + "<trk>\r\n")
            .replace("\r\n</gpx>", "\n</gpx>"); // a last line ended by LF alone
    QVERIFY(Ecrire(fichier, avant));
    f().Option1[0]->setChecked(true);
    s->OuvrirChemin(fichier);

    QCOMPARE(p().dialogues, QList<Plateforme::Dialogue>{Plateforme::Dialogue::Ouvrir});
    QCOMPARE(p().filtres, QStringList{QStringLiteral("*.gpx")});
    QCOMPARE(Declarations::FichierGPX, fichier);
    QCOMPARE(Declarations::NomFichierGPX, QStringLiteral("Marques.gpx"));
    QCOMPARE(Declarations::DossierGPX, s->Chemin(QStringLiteral("ex/")));
    QCOMPARE(f().LeNomFichier->text(), Fichiers::AffichageNomFichier(fichier));
    QVERIFY(!f().Option1[0]->isChecked());
    QCOMPARE(p().Textes(), QStringList{QStringLiteral("M18")}); // the route warning, once
    QCOMPARE(f().ListePOI->count(), 2);
    QCOMPARE(f().ListePOI->item(1)->text(), QStringLiteral("Bouée"));
    QVERIFY(f().ListePOI->selectedItems().isEmpty());
    QCOMPARE(NumPOI, int16_t(3));
    // Local links now point beside the file, on disk and in the table; the
    // backup keeps the file as it was.
    const QString cible = QStringLiteral("file://") + s->Chemin(QStringLiteral("ex/quai.pdf"));
    QCOMPARE(Table.LienHref[1][1], cible);
    const QByteArray apres = Lire(fichier);
    QVERIFY(apres.contains("<link href=\"" + cible.toUtf8() + "\">\r\n"));
    QVERIFY(apres.endsWith("</gpx>\r\n"));
    QCOMPARE(Lire(s->Chemin(QStringLiteral("ex/tmp/Marques.gpx.30"))), avant);
    QCOMPARE(Lire(s->Chemin(QStringLiteral("ex/Temp.gpx"))), apres);
}

// Open again and again: backups rotate, a file with nothing to relocate is
// left alone, a new name starts an empty document, Cancel keeps the
// document, a folder cannot be read.
void TestCommandes::ouvrirEncore()
{
    s->Demarrer();
    const QString fichier = s->Chemin(QStringLiteral("M.gpx"));
    QVERIFY(Ecrire(fichier, Cinq));
    for (int n = 1; n <= 31; ++n)
        s->OuvrirChemin(fichier);
    QCOMPARE(QDir(s->Chemin(QStringLiteral("tmp"))).entryList(QDir::Files).size(), 30);
    QCOMPARE(Lire(s->Chemin(QStringLiteral("tmp/M.gpx.1"))), Cinq);
    QCOMPARE(Lire(fichier), Cinq);
    s->OuvrirChemin(QString());
    QCOMPARE(Declarations::FichierGPX, fichier);
    QCOMPARE(f().ListePOI->count(), 5);

    for (QLineEdit* b : {f().Lat_Long, f().Nom_WP, f().Text1, f().Text2, f().Text3, f().Text4})
        b->setText(QStringLiteral("x"));
    f().ListeLiens->addItem(QStringLiteral("1  Plan    (File)"));
    f().Option1[1]->setChecked(true);
    const QString nouveau = s->Chemin(QStringLiteral("Nouveau.gpx"));
    s->OuvrirChemin(nouveau);
    QCOMPARE(Declarations::FichierGPX, nouveau);
    QCOMPARE(Resume(Table), QString());
    QCOMPARE(Table.LienHref[1][1], QString());
    QVERIFY(f().ListePOI->count() == 0 && f().ListeLiens->count() == 0);
    for (QLineEdit* b : {f().Lat_Long, f().Nom_WP, f().Text1, f().Text2, f().Text3, f().Text4})
        QVERIFY(b->text().isEmpty());
    QVERIFY(!f().Option1[1]->isChecked());
    QVERIFY(!QFile::exists(nouveau));
    f().Sauver_Fichier->trigger();
    QCOMPARE(Lire(nouveau), Document(""));

    QVERIFY(QDir().mkpath(s->Chemin(QStringLiteral("dossier.gpx"))));
    s->OuvrirChemin(s->Chemin(QStringLiteral("dossier.gpx")));
    QCOMPARE(p().boites.size(), 1);
    QVERIFY(p().boites[0].texte.startsWith(Declarations::MsgBoite[Messages::LectureEchouee]));
    QVERIFY(p().boites[0].texte.contains(s->Chemin(QStringLiteral("dossier.gpx"))));
    QCOMPARE(f().ListePOI->count(), 0);
}

// A folder where the work file cannot be made: the message says so, and the
// file is read as it stands.
void TestCommandes::ouvrirSansFichierDeTravail()
{
    s->Demarrer();
    QVERIFY(QDir().mkpath(s->Chemin(QStringLiteral("Temp.gpx"))));
    s->Ouvrir(Cinq);
    QCOMPARE(p().boites.size(), 1);
    QVERIFY2(p().boites[0].texte.startsWith(Declarations::MsgBoite[Messages::TravailEchoue]),
             qPrintable(p().boites[0].texte));
    QVERIFY(p().boites[0].texte.contains(s->Chemin(QStringLiteral("Temp.gpx"))));
    QCOMPARE(f().ListePOI->count(), 5);
}

// A file another program wrote, beyond what Windows-1252 holds, in a folder
// with an accent: it opens well-formed, saves without a message and reads
// back the same.
void TestCommandes::fichierEtranger()
{
    s->Demarrer();
    QVERIFY(QDir().mkpath(s->Chemin(QStringLiteral("Régates"))));
    const QString fichier = s->Chemin(QStringLiteral("Régates/m.gpx"));
    QVERIFY(Ecrire(fichier, Document(Wpt("54.7", "17.5", "t", "Port", Lien("file:///x/Plan&Co;.pdf",
                                                                            "&#321;eba"),
                                         "&#x2693;") +
                                     Wpt("54.8", "17.6", "", "Gda&#324;sk"))));
    s->OuvrirChemin(fichier);
    QVERIFY(p().boites.isEmpty());
    QCOMPARE(Table.SymPOI[1], QStringLiteral("⚓"));
    QCOMPARE(Table.NomPOI[2], QStringLiteral("Gdańsk"));
    const QString apresOuverture = VerifierInterop(fichier, Table);
    QVERIFY2(apresOuverture.isEmpty(), qPrintable(apresOuverture));
    const QString avant = Resume(Table);
    f().Sauver_Fichier->trigger();
    QVERIFY(p().boites.isEmpty());
    QCOMPARE(Resume(*LireTexte(Lire(fichier))), avant);
    const QString apres = VerifierInterop(fichier, Table);
    QVERIFY2(apres.isEmpty(), qPrintable(apres));
}

void TestCommandes::sauverSous_data()
{
    QTest::addColumn<QString>("choisi");
    QTest::addColumn<QString>("ecrit");
    QTest::newRow("sans extension") << "marks" << "marks.gpx";
    QTest::newRow("avec extension") << "Cote.gpx" << "Cote.gpx";
    QTest::newRow("majuscules") << "MARKS.GPX" << "MARKS.GPX.gpx";
    QTest::newRow("dossier en .gpx") << "archive.gpx/marks" << "archive.gpx/marks";
}

void TestCommandes::sauverSous()
{
    QFETCH(QString, choisi);
    QFETCH(QString, ecrit);
    s->Demarrer();
    QVERIFY(QDir().mkpath(s->Chemin(QStringLiteral("archive.gpx"))));
    s->Ouvrir(Cinq);
    QVERIFY(Ecrire(s->Chemin(ecrit), "sera remplace"));
    p().fichiers << s->Chemin(choisi);
    f().Sauver_sous->trigger();
    QCOMPARE(p().dialogues.last(), Plateforme::Dialogue::EnregistrerSous);
    QCOMPARE(Declarations::FichierGPX, s->Chemin(ecrit));
    QCOMPARE(Resume(*LireTexte(Lire(s->Chemin(ecrit)))), Resume(Table));
    // The name box keeps the opened file; the next Save goes to the new one.
    QCOMPARE(f().LeNomFichier->text(), Fichiers::AffichageNomFichier(s->Chemin("marques.gpx")));
    QVERIFY(p().boites.isEmpty());
    QFile::remove(s->Chemin(ecrit));
    f().Sauver_Fichier->trigger();
    QVERIFY(QFile::exists(s->Chemin(ecrit)));
    f().Sauver_sous->trigger(); // cancelled
    QCOMPARE(Declarations::FichierGPX, s->Chemin(ecrit));
}

// Saves that fail: the file, the table and the document's name stay, and the
// message, in the user's language, says what failed and what to do.
void TestCommandes::sauverEchoue()
{
    s->Demarrer();
    f().Sauver_Fichier->trigger();
    QCOMPARE(p().Textes(), QStringList{QStringLiteral("Le nom du fichier est manquant")});
    QVERIFY(p().dialogues.isEmpty());
    Langues::Charger(QStringLiteral(QUAYLIGHT_LANG_SOURCE "/langueEN.txt"), f(), *s->d);
    s->Ouvrir(Cinq);
    const QString fichier = Declarations::FichierGPX;
    const QByteArray avant = Lire(fichier);
    const QString resume = Resume(Table);
    QFile::setPermissions(fichier, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    p().boites.clear();
    f().Sauver_Fichier->trigger();
    QFile::setPermissions(fichier, QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(p().Textes(), QStringList{QStringLiteral("The file could not be saved :\n") +
                                       fichier +
                                       QStringLiteral("\n(the file is read-only)\nThe previous "
                                                      "file is intact; choose another name or "
                                                      "folder with Save as")});
    QCOMPARE(Lire(fichier), avant);
    QCOMPARE(Resume(Table), resume);
    const QString impossible = s->Chemin(QStringLiteral("absent/Ailleurs.gpx"));
    p().fichiers << impossible;
    f().Sauver_sous->trigger();
    QCOMPARE(p().boites.size(), 2);
    QVERIFY(p().boites[1].texte.contains(impossible));
    QCOMPARE(Declarations::FichierGPX, fichier);
}

void TestCommandes::gardeCarte_data()
{
    QTest::addColumn<int>("reponse");
    QTest::addColumn<bool>("dialogue");
    QTest::addColumn<int>("fins");
    QTest::newRow("abandon") << int(Plateforme::Reponse::Abandon) << false << 1;
    QTest::newRow("reessayer") << int(Plateforme::Reponse::Reessayer) << false << 0;
    QTest::newRow("ignorer") << int(Plateforme::Reponse::Ignorer) << true << 0;
}

void TestCommandes::gardeCarte()
{
    QFETCH(int, reponse);
    QFETCH(bool, dialogue);
    QFETCH(int, fins);
    p().CarteFactice(1000000);
    s->Demarrer(0);
    p().reponses << Plateforme::Reponse(reponse);
    s->OuvrirChemin(s->Chemin(QStringLiteral("Garde.gpx")));
    // Abort runs Quit, which asks about saving.
    QCOMPARE(p().boites.size(), fins + 1);
    QCOMPARE(p().boites[0].boutons, Plateforme::Boutons::AbandonReessayerIgnorer);
    QCOMPARE(!p().dialogues.isEmpty(), dialogue);
    QCOMPARE(p().fins, fins);
}

void TestCommandes::disquePlein()
{
    const QString point = s->Chemin(QStringLiteral("petit"));
    QVERIFY(QDir().mkpath(point));
    if (geteuid() != 0 ||
        mount("tmpfs", point.toLocal8Bit().constData(), "tmpfs", 0, "size=64k") != 0)
        QSKIP("no small file system can be mounted here (needs root and mount rights)");
    s->Demarrer();
    s->Ouvrir(Cinq, QStringLiteral("petit/Marques.gpx"));
    // Fill what is left, then give a waypoint many links.
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
    const QByteArray disque = Lire(Declarations::FichierGPX);
    f().Sauver_Fichier->trigger();
    const QByteArray apres = Lire(Declarations::FichierGPX);
    umount(point.toLocal8Bit().constData());
    QCOMPARE(p().boites.size(), 1);
    QVERIFY(p().boites[0].texte.contains(Declarations::FichierGPX));
    QCOMPARE(apres, disque);
    QCOMPARE(Resume(Table), avant);
}

void TestCommandes::fichierDisparu()
{
    s->Demarrer();
    s->Ouvrir(Cinq);
    const QString fichier = s->Chemin(QStringLiteral("Disparu.gpx"));
    QVERIFY(Ecrire(fichier, Cinq));
    p().apresDialogue = [fichier] { QFile::remove(fichier); };
    s->OuvrirChemin(fichier);
    // Gone before it could be read: a new document under that name.
    QVERIFY(p().boites.isEmpty());
    QCOMPARE(Declarations::FichierGPX, fichier);
    QCOMPARE(f().ListePOI->count(), 0);
}

void TestCommandes::cinquanteMegaOctets()
{
    s->Demarrer();
    const QString fichier = s->Chemin(QStringLiteral("Enorme.gpx"));
    {
        QFile g(fichier);
        QVERIFY(g.open(QIODevice::WriteOnly));
        const QByteArray liens = Liens(MaxLiens);
        for (int i = 1; g.size() < 50 * 1024 * 1024; ++i)
            g.write(Wpt("48." + QByteArray::number(i), "-4", "T" + QByteArray::number(i),
                        "P" + QByteArray::number(i), liens));
    }
    const long avant = PicMemoireKo();
    s->OuvrirChemin(fichier);
    const long apres = PicMemoireKo();
    QCOMPARE(f().ListePOI->count(), 100);
    QCOMPARE(Table.NomPOI[100], QStringLiteral("P100"));
    QCOMPARE(Table.NbLiens[100], MaxLiens);
    qInfo("peak memory for a 50 MB file: %ld MB more", (apres - avant) / 1024);
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("the address sanitizer's own memory hides the reader's");
#endif
    // The file is held while it is read and its links relocated: a few
    // times its size at most.
    QVERIFY2(apres - avant < 8 * 50 * 1024, qPrintable(QString::number((apres - avant) / 1024)));
}

void TestCommandes::selection_data()
{
    QTest::addColumn<bool>("parClic");
    QTest::addColumn<QByteArray>("lat");
    QTest::addColumn<QByteArray>("lon");
    QTest::addColumn<QString>("position");
    QTest::newRow("clic") << true << QByteArray("48.3905") << QByteArray("-4.4860")
                          << "48.3905,-4.4860";
    QTest::newRow("code") << false << QByteArray("48.3905") << QByteArray("-4.4860")
                          << "48.3905,-4.4860";
    QTest::newRow("latitude nulle") << false << QByteArray("0.0") << QByteArray("-4.4") << "France";
    QTest::newRow("longitude mot") << false << QByteArray("48") << QByteArray("abc") << "France";
    QTest::newRow("latitude vide") << true << QByteArray() << QByteArray("-4.4") << "France";
    QTest::newRow("demi degre") << true << QByteArray("-0.5") << QByteArray("2") << "-0.5,2";
    QTest::newRow("blanc garde") << false << QByteArray(" 48.5") << QByteArray("-4.3")
                                 << " 48.5,-4.3";
}

void TestCommandes::selection()
{
    QFETCH(bool, parClic);
    QFETCH(QByteArray, lat);
    QFETCH(QByteArray, lon);
    QFETCH(QString, position);
    s->Demarrer();
    s->Ouvrir(Document(Wpt("1", "1", "t0", "Autre") + Wpt(lat, lon, "t1", "Brest", Liens(2))));
    f().Text1->setText(QStringLiteral("x"));
    f().Text4->setText(QStringLiteral("y"));
    f().Option1[1]->setChecked(true);
    if (parClic)
        s->Cliquer(f().ListePOI, 1);
    else
        f().ListePOI->setCurrentRow(1);
    QCOMPARE(NumPOI, int16_t(2));
    QCOMPARE(f().Lat_Long->text(), position);
    QCOMPARE(f().Nom_WP->text(), QStringLiteral("Brest"));
    QCOMPARE(f().Text7->text(), QStringLiteral("Brest"));
    QVERIFY(f().Text1->text().isEmpty() && f().Text4->text().isEmpty());
    QVERIFY(!f().Option1[1]->isChecked());
    QCOMPARE(s->Liens(), (QStringList{"1  L1    (Web)", "2  L2    (Web)"}));
    QVERIFY(f().ListeLiens->selectedItems().isEmpty());
    // The keyboard selects as the mouse does; clearing the selection in code
    // changes nothing.
    f().ListePOI->setFocus();
    QTest::keyClick(f().ListePOI, Qt::Key_Up);
    QCOMPARE(f().Nom_WP->text(), QStringLiteral("Autre"));
    f().ListePOI->setCurrentRow(-1);
    QCOMPARE(NumPOI, int16_t(1));
    QCOMPARE(f().Nom_WP->text(), QStringLiteral("Autre"));
    QVERIFY(p().boites.isEmpty());
}

// The current row that keyboard focus gives a list is not a selection: a
// waypoint or link is current only once the user selected its entry.
void TestCommandes::focusNeChoisitRien()
{
    s->Demarrer();
    s->Ouvrir(Cinq);
    f().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f()));
    s->Cliquer(f().ListePOI, 1);
    s->Ouvrir(Cinq);
    f().Lat_Long->setFocus();
    QTest::keyClick(f().Lat_Long, Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f().ListePOI));
    QCOMPARE(f().ListePOI->currentRow(), 0);
    QCOMPARE(f().Nom_WP->text(), QStringLiteral("Deux"));
    f().Option1[2]->click();
    f().Validation->click();
    QCOMPARE(p().Textes(), QStringList{QStringLiteral("Selectionner d'abord un Poi")});
    QCOMPARE(Table.NbPOI, int16_t(5));

    // Ctrl+click on the selected entry leaves it selected, and current.
    s->Cliquer(f().ListePOI, 2);
    QTest::mouseClick(f().ListePOI->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      f().ListePOI->visualItemRect(f().ListePOI->item(2)).center());
    QCOMPARE(f().ListePOI->LigneChoisie(), 2);
    f().Gestion_Liens->trigger();
    QVERIFY(f().LIENS->isVisible());
    f().ListeLiens->setFocus(Qt::TabFocusReason);
    QCOMPARE(f().ListeLiens->currentRow(), 0);
    p().boites.clear();
    f().Supprimer_Lien->click();
    f().Tester_Lien->click();
    QCOMPARE(p().Textes(), (QStringList{"Sélectionner un lien d'abord", "Sélectionner un lien d'abord"}));
    QCOMPARE(Table.NbLiens[3], int16_t(3));
    QVERIFY(p().ouvertures.isEmpty());
}

void TestCommandes::clicsEnModeNouveau()
{
    s->Demarrer();
    s->Ouvrir(Cinq);
    s->Cliquer(f().ListePOI, 0);
    // Outside "Nouveau Poi" a click changes nothing.
    QTest::mouseClick(f().Nom_WP, Qt::LeftButton);
    QCOMPARE(f().Nom_WP->text(), QStringLiteral("Un"));
    f().Option1[1]->click();
    QCOMPARE(f().Nom_WP->text(), QStringLiteral("Entrez ici le nom / Enter Poi's name"));
    QTest::mouseClick(f().Nom_WP, Qt::LeftButton);
    QTest::mouseClick(f().Lat_Long, Qt::LeftButton);
    QVERIFY(f().Nom_WP->text().isEmpty() && f().Lat_Long->text().isEmpty());
    f().Nom_WP->setText(QStringLiteral("Tapé"));
    QTest::mouseClick(f().Nom_WP, Qt::LeftButton);
    QVERIFY(f().Nom_WP->text().isEmpty());
}

void TestCommandes::positions_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("lat");
    QTest::addColumn<QString>("lon");
    QTest::newRow("correcte") << "48.5,-4.3" << "" << "48.5" << "-4.3";
    QTest::newRow("une virgule entiers") << "48,5" << "" << "48" << "5";
    QTest::newRow("blancs gardes") << "48.5 , -4.3" << "" << "48.5 " << " -4.3";
    QTest::newRow("virgules decimales") << "48,5,-4,3" << "M10" << "" << "";
    QTest::newRow("point-virgule") << "48.5;-4.3" << "M11" << "" << "";
    QTest::newRow("vide") << "" << "M11" << "" << "";
    QTest::newRow("latitude nulle") << "0,-4.3" << "M11" << "" << "";
    QTest::newRow("longitude nulle") << "48.5,0" << "M11" << "" << "";
    QTest::newRow("mot") << "48.5,abc" << "M13" << "" << "";
    QTest::newRow("mot avant zero") << "abc,0" << "M13" << "" << "";
    QTest::newRow("France") << "France" << "M11" << "" << "";
}

void TestCommandes::positions()
{
    QFETCH(QString, texte);
    QFETCH(QString, message);
    QFETCH(QString, lat);
    QFETCH(QString, lon);
    s->Demarrer();
    s->Ouvrir(Cinq);
    s->Nouveau(texte, QStringLiteral("Brest"));
    QCOMPARE(p().Textes(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(f().ListePOI->count(), message.isEmpty() ? 6 : 5);
    if (message.isEmpty()) {
        QCOMPARE(Table.LatPOI[6] + QLatin1Char('|') + Table.LonPOI[6], lat + QLatin1Char('|') + lon);
        QVERIFY(f().ListePOI->selectedItems().isEmpty());
        QVERIFY(!f().Option1[1]->isChecked());
        QCOMPARE(NumPOI, int16_t(6));
    } else {
        // The entry stays, to be corrected and applied again.
        QVERIFY(f().Option1[1]->isChecked());
        QCOMPARE(f().Lat_Long->text(), texte);
    }
}

void TestCommandes::nouveauModifierSupprimer()
{
    s->Demarrer();
    s->Ouvrir(Cinq.chopped(8) + Wpt("47", "-3", "", "SansTemps") + "</gpx>\r\n");
    auto attendue = std::make_unique<PoiTable>(Table);
    // Modify keeps the time stamp, symbol and links.
    s->Cliquer(f().ListePOI, 1);
    f().Option1[0]->click();
    f().Lat_Long->setText(QStringLiteral("47.25,-3.5"));
    f().Nom_WP->setText(QStringLiteral("Deux bis"));
    f().Validation->click();
    attendue->LatPOI[2] = QStringLiteral("47.25");
    attendue->LonPOI[2] = QStringLiteral("-3.5");
    attendue->NomPOI[2] = QStringLiteral("Deux bis");
    QCOMPARE(Resume(Table), Resume(*attendue));
    QCOMPARE(f().ListePOI->LigneChoisie(), 1);
    for (QRadioButton* o : f().Option1)
        QVERIFY(!o->isChecked());
    // A waypoint without a time stamp receives one.
    s->Cliquer(f().ListePOI, 5);
    f().Option1[0]->click();
    f().Validation->click();
    QCOMPARE(Table.TempsPOI[6], QStringLiteral("2026-06-21T08:30:05Z"));

    // Delete 3 of 6: the rows after it move up; NumPOI then designates the
    // next one, the boxes still show the deleted one.
    s->Cliquer(f().ListePOI, 2);
    f().Option1[2]->click();
    f().Validation->click();
    for (int i = 3; i <= 5; ++i)
        attendue->CopierLigne(i + 1, i);
    attendue->NbPOI = 5;
    attendue->TempsPOI[5] = QStringLiteral("2026-06-21T08:30:05Z");
    QCOMPARE(Resume(Table), Resume(*attendue));
    QVERIFY(f().ListePOI->selectedItems().isEmpty());
    QCOMPARE(NumPOI, int16_t(3));
    QCOMPARE(f().Nom_WP->text(), QStringLiteral("Trois"));
    // New waypoints start empty, whatever the rows they reuse held; two in
    // the same second share a time stamp; the prompt is a name.
    s->Nouveau(QStringLiteral("1,1"), QStringLiteral("Neuf"));
    s->Nouveau(QStringLiteral("48.6,-4.3"), QStringLiteral("Entrez ici le nom / Enter Poi's name"));
    QCOMPARE(Resume(Table).section(QLatin1Char('\n'), -2),
             QStringLiteral("6|1|1|2026-06-21T08:30:05Z|Neuf||0\n"
                            "7|48.6|-4.3|2026-06-21T08:30:05Z|Entrez ici le nom / Enter Poi's name||0"));
    QCOMPARE(f().Lat_Long->text(), QStringLiteral("48.6,-4.3"));
    QVERIFY(p().boites.isEmpty());
    // Down to an empty list.
    while (Table.NbPOI > 0) {
        f().ListePOI->setCurrentRow(0);
        f().Option1[2]->click();
        f().Validation->click();
    }
    QCOMPARE(f().ListePOI->count(), 0);
}

void TestCommandes::centiemeEtRefus()
{
    s->Demarrer();
    QByteArray pois;
    for (int i = 1; i <= 99; ++i)
        pois += Wpt("1", "2", "t" + QByteArray::number(i), "P");
    s->Ouvrir(Document(pois));
    s->Nouveau(QStringLiteral("48.5,-4.3"), QStringLiteral("Centieme"));
    s->Nouveau(QStringLiteral("48.5,-4.3"), QStringLiteral("De trop"));
    QCOMPARE(p().Textes(), QStringList{QStringLiteral("100M2")});
    QCOMPARE(Table.NbPOI, MaxPOI);
    QVERIFY(!f().Option1[1]->isChecked());
    QCOMPARE(Table.NomPOI[100], QStringLiteral("Centieme"));
}

void TestCommandes::refus_data()
{
    QTest::addColumn<bool>("fichier");
    QTest::addColumn<int>("mode"); // -1 none
    QTest::addColumn<QString>("message");
    QTest::newRow("modifier sans fichier") << false << 0 << "M7";
    QTest::newRow("nouveau sans fichier") << false << 1 << "M7";
    QTest::newRow("modifier sans poi courant") << true << 0 << "Selectionner d'abord un Poi";
    QTest::newRow("supprimer sans poi courant") << true << 2 << "Selectionner d'abord un Poi";
    QTest::newRow("sans mode") << true << -1 << "Choisir Modifier, Ajouter ou Supprimer";
}

void TestCommandes::refus()
{
    QFETCH(bool, fichier);
    QFETCH(int, mode);
    QFETCH(QString, message);
    s->Demarrer();
    if (fichier)
        s->Ouvrir(Cinq);
    const QString avant = Resume(Table);
    if (mode >= 0)
        f().Option1[mode]->click();
    f().Lat_Long->setText(QStringLiteral("48.5,-4.3"));
    f().Nom_WP->setText(QStringLiteral("Brest"));
    f().Validation->click();
    QCOMPARE(p().Textes(), QStringList{message});
    QCOMPARE(Resume(Table), avant);
}

void TestCommandes::liens()
{
    s->Demarrer();
    s->Ouvrir(Deux(0));
    f().Gestion_Liens->trigger();
    QCOMPARE(p().Textes(), QStringList{QStringLiteral("Selectionner d'abord un Poi")});
    QVERIFY(f().POIS->isVisible());
    f().ListePOI->setCurrentRow(1);
    f().Gestion_Liens->trigger();
    QVERIFY(f().LIENS->isVisible() && !f().POIS->isVisible());
    QCOMPARE(f().LIENS->pos(), QPoint(Twips::VersPixels(360), Twips::VersPixels(120)));
    p().boites.clear();
    // Both pairs at once: the web link first.
    f().Text1->setText(QStringLiteral("Plan"));
    f().Text2->setText(QStringLiteral("/home/marin/plan.pdf"));
    f().Text3->setText(QStringLiteral("Port"));
    f().Text4->setText(QStringLiteral("http://m.fr/?a=1&b=2"));
    f().Valider_lien->click();
    QCOMPARE(s->Liens(), (QStringList{"1  Port    (Web)", "2  Plan    (File)"}));
    QCOMPARE(Table.LienHref[2][1], QStringLiteral("http://m.fr/?a=1&amp;b=2"));
    QCOMPARE(Table.LienHref[2][2], QStringLiteral("file:///home/marin/plan.pdf"));
    for (QLineEdit* b : {f().Text1, f().Text2, f().Text3, f().Text4})
        QVERIFY(b->text().isEmpty());
    s->Cliquer(f().ListeLiens, 0);
    f().Tester_Lien->click();
    QCOMPARE(p().ouvertures, QStringList{QStringLiteral("http://m.fr/?a=1&b=2")});
    f().Supprimer_Lien->click();
    QCOMPARE(s->Liens(), QStringList{"1  Plan    (File)"});
    QVERIFY(f().ListeLiens->selectedItems().isEmpty());
    // Up to 50 links; the 51st is refused.
    for (int k = 2; k <= MaxLiens + 1; ++k) {
        f().Text3->setText(QStringLiteral("W%1").arg(k));
        f().Text4->setText(QStringLiteral("http://w/%1").arg(k));
        f().Valider_lien->click();
    }
    QCOMPARE(p().Textes(), QStringList{QStringLiteral("M17")});
    QCOMPARE(Table.NbLiens[2], MaxLiens);
    QCOMPARE(Table.LienTexte[2][50], QStringLiteral("W50"));
    f().Montre_Fichier->trigger();
    QVERIFY(f().POIS->isVisible() && !f().LIENS->isVisible());
}

void TestCommandes::validationDesLiens_data()
{
    QTest::addColumn<QStringList>("boites"); // Text1, Text2, Text3, Text4
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("restent");
    QTest::newRow("tout vide") << QStringList{"", "", "", ""} << QStringList()
                               << QStringList{"", "", "", ""};
    QTest::newRow("adresse seule") << QStringList{"", "", "", "http://x"} << QStringList{"M14"}
                                   << QStringList{"", "", "", ""};
    QTest::newRow("accent dans le chemin")
        << QStringList{"Plan", "/home/é/p.pdf", "Port", "http://p"}
        << QStringList{"Fichier, chemin ou URL accentué invalide : /home/é/p.pdf"}
        << QStringList{"Plan", "", "Port", "http://p"};
    QTest::newRow("tabulation dans le texte")
        << QStringList{"a\tb", "", "", ""}
        << QStringList{"Fichier, chemin ou URL accentué invalide : a\tb"}
        << QStringList{"", "", "", ""};
}

void TestCommandes::validationDesLiens()
{
    QFETCH(QStringList, boites);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, restent);
    s->Demarrer();
    s->Ouvrir(Deux());
    f().ListePOI->setCurrentRow(1);
    const QList<QLineEdit*> cases = {f().Text1, f().Text2, f().Text3, f().Text4};
    for (int i = 0; i < 4; ++i)
        cases[i]->setText(boites[i]);
    f().Valider_lien->click();
    QCOMPARE(p().Textes(), messages);
    QCOMPARE(f().ListeLiens->count(), 2);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(cases[i]->text(), restent[i]);
}

void TestCommandes::choisirFichier()
{
    s->Demarrer();
    s->Ouvrir(Deux());
    f().Fichier_lien->click();
    QCOMPARE(p().Textes(), QStringList{QStringLiteral("Selectionner d'abord un Poi")});
    QCOMPARE(p().dialogues.size(), 1); // the Open command's only
    p().boites.clear();
    f().ListePOI->setCurrentRow(1);
    f().Text2->setText(QStringLiteral("avant"));
    f().Fichier_lien->click(); // cancelled
    // Every file, names without a dot included.
    QCOMPARE(p().dialogues.last(), Plateforme::Dialogue::FichierExistant);
    QCOMPARE(p().filtres.last(), QStringLiteral("*"));
    QCOMPARE(f().Text2->text(), QStringLiteral("avant"));
    p().fichiers << QStringLiteral("/home/é.pdf") << QStringLiteral("/home/Plan_rade");
    f().Fichier_lien->click();
    QCOMPARE(p().Textes(), QStringList{QStringLiteral("Fichier, chemin ou URL accentué invalide")});
    QCOMPARE(f().Text2->text(), QStringLiteral("avant"));
    f().Fichier_lien->click();
    QCOMPARE(f().Text2->text(), QStringLiteral("/home/Plan_rade"));
}

// The description editor: its file beside the GPX file, the link to it put
// first once, the text saved as it was loaded.
void TestCommandes::description()
{
    s->Demarrer();
    s->Ouvrir(Deux(0));
    const QString fichier = s->Chemin(QStringLiteral("Anse Nord.txt"));
    TexteLien1& d = *s->d;
    f().Descriptif->click();
    QCOMPARE(p().Textes(), QStringList{QStringLiteral("Selectionner d'abord un Poi")});
    QVERIFY(!d.isVisible());
    p().boites.clear();
    f().ListePOI->setCurrentRow(1);
    f().Gestion_Liens->trigger();
    f().Descriptif->click();
    QVERIFY(d.isVisible() && d.Text1->toPlainText().isEmpty());
    d.Enregistrer->click();
    QCOMPARE(Lire(fichier), QByteArray("\r\n"));
    QCOMPARE(s->Liens(), QStringList{"1  Description    (File)"});
    QCOMPARE(Table.LienHref[2][1], QStringLiteral("file://") + fichier);
    // The only link deleted, the next save puts it back.
    s->Cliquer(f().ListeLiens, 0);
    f().Supprimer_Lien->click();
    d.Enregistrer->click();
    QCOMPARE(s->Liens(), QStringList{"1  Description    (File)"});
    d.Enregistrer->click();
    QCOMPARE(Table.NbLiens[2], int16_t(1));

    // A file written elsewhere, LF line ends and non-breaking spaces: saved
    // unchanged, it keeps every character, one CR LF line end more.
    QVERIFY(Ecrire(fichier, "Mouillage\xA0: abrit\xE9\nligne 2\r\n"));
    d.Fermer->click();
    f().Descriptif->click();
    QCOMPARE(d.Text1->toPlainText(), QStringLiteral("Mouillage : abrité\nligne 2\n"));
    d.Enregistrer->click();
    QCOMPARE(Lire(fichier), QByteArray("Mouillage\xA0: abrit\xE9\r\nligne 2\r\n\r\n"));
    QVERIFY(p().boites.isEmpty());

    // Saved without a name in the name box: the file is written, no link.
    f().Nom_WP->clear();
    s->Cliquer(f().ListeLiens, 0);
    f().Supprimer_Lien->click();
    d.Enregistrer->click();
    QCOMPARE(p().Textes(), QStringList{QStringLiteral("M15")});
    QCOMPARE(Table.NbLiens[2], int16_t(0));
}

void TestCommandes::descriptionRefusee()
{
    s->Demarrer();
    s->Ouvrir(Deux(50));
    TexteLien1& d = *s->d;
    f().ListePOI->setCurrentRow(1);
    f().Descriptif->click();
    d.Text1->setPlainText(QStringLiteral("Łeba"));
    d.Enregistrer->click();
    QCOMPARE(p().boites.size(), 1);
    QVERIFY(p().boites[0].texte.contains(QStringLiteral("Anse Nord.txt")));
    QVERIFY(p().boites[0].texte.contains(QStringLiteral("U+0141")));
    QVERIFY(!QFile::exists(s->Chemin(QStringLiteral("Anse Nord.txt"))));
    // With 50 links, the description link comes first and the last goes.
    d.Text1->setPlainText(QStringLiteral("Leba"));
    d.Enregistrer->click();
    QCOMPARE(Table.NbLiens[2], MaxLiens);
    QCOMPARE(Table.LienTexte[2][1] + Table.LienTexte[2][50], QStringLiteral("DescriptionL49"));
    // The window stays open on a waypoint that is then deleted.
    f().Option1[2]->click();
    f().Validation->click();
    QFile::remove(s->Chemin(QStringLiteral("Anse Nord.txt")));
    p().boites.clear();
    d.Enregistrer->click();
    QCOMPARE(p().Textes(), QStringList{QStringLiteral("Selectionner d'abord un Poi")});
    QVERIFY(!QFile::exists(s->Chemin(QStringLiteral("Anse Nord.txt"))));
}

void TestCommandes::fenetreDescription()
{
    s->Demarrer();
    s->Ouvrir(Deux());
    TexteLien1& d = *s->d;
    f().ListePOI->setCurrentRow(1);
    Reglages::Ecrire(Reglages::TexteLien1_MargeG, QStringLiteral("1500"));
    Reglages::Ecrire(Reglages::TexteLien1_Haut, QStringLiteral("abc"));
    const int hautAvant = d.pos().y();
    f().Descriptif->click();
    QCOMPARE(d.pos(), QPoint(Twips::VersPixels(1500), hautAvant));
    d.move(Twips::VersPixels(3000), Twips::VersPixels(600));
    d.Fermer->click();
    QVERIFY(!d.isVisible());
    // Whole twips, read back to the same place.
    const QString gauche = Reglages::Lire(Reglages::TexteLien1_MargeG);
    QVERIFY2(QRegularExpression(QStringLiteral("^[0-9]+$")).match(gauche).hasMatch(),
             qPrintable(gauche));
    QCOMPARE(Twips::VersPixels(gauche.toInt()), Twips::VersPixels(3000));
    QCOMPARE(Twips::VersPixels(Reglages::Lire(Reglages::TexteLien1_Haut).toInt()),
             Twips::VersPixels(600));
}

void TestCommandes::quitter_data()
{
    QTest::addColumn<int>("reponse");
    QTest::addColumn<QString>("fichier");
    QTest::newRow("non") << int(Plateforme::Reponse::Non) << QString();
    QTest::newRow("oui puis annule") << int(Plateforme::Reponse::Oui) << QString();
    QTest::newRow("oui puis nom") << int(Plateforme::Reponse::Oui) << "quitte.gpx";
}

void TestCommandes::quitter()
{
    QFETCH(int, reponse);
    QFETCH(QString, fichier);
    Reglages::Ecrire("Autre", QStringLiteral("efface"));
    Reglages::Ecrire(Reglages::TexteLien1_MargeG, QStringLiteral("4500"));
    s->Demarrer();
    f().move(Twips::VersPixels(1500), Twips::VersPixels(2250));
    p().reponses << Plateforme::Reponse(reponse);
    if (!fichier.isEmpty())
        p().fichiers << s->Chemin(fichier);
    f().Quitter->trigger();
    QCOMPARE(p().boites.size(), 1);
    QCOMPARE(p().boites[0].texte, QStringLiteral("Sauver le fichier ?"));
    QCOMPARE(p().boites[0].boutons, Plateforme::Boutons::OuiNon);
    QCOMPARE(p().dialogues.size(), reponse == int(Plateforme::Reponse::Oui) ? 1 : 0);
    QCOMPARE(QFile::exists(s->Chemin(QStringLiteral("quitte.gpx"))), !fichier.isEmpty());
    auto cles = Reglages::Ouvrir();
    cles->beginGroup(QLatin1String(Reglages::Groupe));
    QCOMPARE(cles->childKeys(), (QStringList{"Creer_POI_Haut", "Creer_POI_MargeG", "Lang",
                                             "TexteLien1_Haut", "TexteLien1_MargeG"}));
    // The description window never opened keeps its stored place.
    QCOMPARE(Twips::VersPixels(cles->value("TexteLien1_MargeG").toInt()), Twips::VersPixels(4500));
    QCOMPARE(Twips::VersPixels(cles->value("Creer_POI_Haut").toInt()), Twips::VersPixels(2250));
    QCOMPARE(p().fins, 1);
    QVERIFY(!f().isVisible());
}

void TestCommandes::languesEtAide()
{
    s->Demarrer();
    const QString legende = f().Label1->text();
    f().LangEN->click();
    f().LangEN->click();
    f().LangSelf->click();
    QCOMPARE(Declarations::Langue, QStringLiteral("self"));
    f().LangFR->click();
    QCOMPARE(p().Textes(), (QStringList{"Restart quaylight", "Restart quaylight",
                                        "Restart quaylight", "Relancer le logiciel"}));
    QCOMPARE(f().Label1->text(), legende);
    // Only Quit stores the language, and the next start uses it.
    QVERIFY(Reglages::Lire(Reglages::Lang).isEmpty());
    f().LangEN->click();
    f().Quitter->trigger();
    Entree::Terminer();
    Donnees::DefinirDossiers({QStringLiteral(QUAYLIGHT_LANG_SOURCE)});
    s->Demarrer();
    QCOMPARE(f().Label1->text(), QStringLiteral("POIs of the chosen file"));
    QCOMPARE(Declarations::MsgBoite[4], QStringLiteral("Save the file?"));
    QCOMPARE(f().windowTitle(), QStringLiteral("Quaylight (V1.2i)"));
    f().Aide->trigger();
    QCOMPARE(p().ouvertures, QStringList{Declarations::AdresseAide});
    // The page shipped with the program is the default.
    Donnees::DefinirDossiers({});
    QCOMPARE(Entree::AdresseAideParDefaut(),
             QStringLiteral("file://") + QDir::currentPath() + QStringLiteral("/help/index.html"));
}

void TestCommandes::appliquerLigne_data()
{
    QTest::addColumn<QString>("ligne");
    QTest::addColumn<QString>("controle"); // name, "MsgBoite$(n)", "Aide" or "D:name"
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("bulle");
    const QString label1 = QStringLiteral("Liste des Poi du fichier choisi");
    QTest::newRow("legende et bulle videe") << "C[Label1]/Liste/" << "Label1" << "Liste" << "";
    QTest::newRow("option par un code quelconque")
        << "X[Option1(0)]/Modifier/Modifier le Poi" << "Option1(0)" << "Modifier"
        << "Modifier le Poi";
    QTest::newRow("code minuscule") << "c[Label1]/a/b" << "Label1" << label1 << "";
    QTest::newRow("espace en tete") << " C[Label1]/a/b" << "Label1" << label1 << "";
    QTest::newRow("menu sans bulle") << "C[Ouvrir_Fichier]/Open/bulle" << "Ouvrir_Fichier"
                                     << "Open" << "";
    QTest::newRow("menu") << "C[Menu_Fichier]/File/" << "Menu_Fichier" << "File" << "";
    QTest::newRow("texte de boite") << "T[Lat_Long]/48.5,-4.3/Position" << "Lat_Long"
                                    << "48.5,-4.3" << "Position";
    QTest::newRow("legende de boite ignoree") << "C[Nom_WP]/x/Name" << "Nom_WP" << "" << "Name";
    QTest::newRow("message 32") << "M[ MsgBoite$(32) ]/a/" << "MsgBoite$(32)" << "a" << "";
    QTest::newRow("message 0") << "M[MsgBoite$(0)]/a/" << "MsgBoite$(0)" << "" << "";
    QTest::newRow("message 51") << "M[MsgBoite$(51)]/a/" << "MsgBoite$(7)" << "M7" << "";
    QTest::newRow("message 07") << "M[MsgBoite$(07)]/a/" << "MsgBoite$(7)" << "M7" << "";
    QTest::newRow("message vide") << "M[MsgBoite$(4)]//" << "MsgBoite$(4)" << "" << "";
    QTest::newRow("description") << "D[Fermer]/Close/" << "D:Fermer" << "Close" << "";
    QTest::newRow("aide") << "A[Aide]/https://example.org/aide/" << "Aide"
                          << "https://example.org/aide" << "";
    QTest::newRow("inconnu") << "C[Rien]/a/b" << "Label1" << label1 << "";
}

void TestCommandes::appliquerLigne()
{
    QFETCH(QString, ligne);
    QFETCH(QString, controle);
    QFETCH(QString, texte);
    QFETCH(QString, bulle);
    s->Demarrer();
    const QString fichier = s->Chemin(QStringLiteral("ligne.txt"));
    // LF line ends are line ends too.
    QVERIFY(Ecrire(fichier, "titre\n" + ligne.toLatin1() + "\n"));
    Langues::Charger(fichier, f(), *s->d);
    if (controle.startsWith(QLatin1String("MsgBoite$("))) {
        QCOMPARE(Declarations::MsgBoite[size_t(controle.mid(10).chopped(1).toInt())], texte);
        return;
    }
    if (controle == QLatin1String("Aide")) {
        QCOMPARE(Declarations::AdresseAide, texte);
        return;
    }
    QObject* o = controle.startsWith(QLatin1String("D:")) ? s->d->Controle(controle.mid(2))
                                                          : f().Controle(controle);
    QVERIFY(o);
    QString vu;
    if (auto* b = qobject_cast<QAbstractButton*>(o))
        vu = b->text();
    else if (auto* l = qobject_cast<QLabel*>(o))
        vu = l->text();
    else if (auto* a = qobject_cast<QAction*>(o))
        vu = a->text();
    else if (auto* m = qobject_cast<QMenu*>(o))
        vu = m->title();
    else if (auto* e = qobject_cast<QLineEdit*>(o))
        vu = e->text();
    QCOMPARE(vu, texte);
    if (auto* w = qobject_cast<QWidget*>(o); w && !qobject_cast<QMenu*>(o))
        QCOMPARE(w->toolTip(), bulle);
}

void TestCommandes::fichiersLivres_data()
{
    QTest::addColumn<QString>("fichier");
    QTest::newRow("FR") << "langueFR.txt";
    QTest::newRow("EN") << "langueEN.txt";
    QTest::newRow("SELF") << "langueSELF.txt";
}

// Each shipped language file gives every caption and every message the
// program shows; the French one gives the windows as they are laid out.
void TestCommandes::fichiersLivres()
{
    QFETCH(QString, fichier);
    s->Demarrer();
    const QStringList miseEnPage = Legendes(f(), *s->d);
    for (QString& m : Declarations::MsgBoite)
        m.clear();
    for (QWidget* w : f().centralWidget()->findChildren<QWidget*>()) {
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && b->icon().isNull())
            b->setText(QString());
        if (auto* l = qobject_cast<QLabel*>(w))
            l->setText(QString());
        if (auto* g = qobject_cast<QGroupBox*>(w))
            g->setTitle(QString());
        w->setToolTip(QString());
    }
    for (QAction* a : f().findChildren<QAction*>())
        a->setText(QString());
    s->d->Enregistrer->setText(QString());
    Langues::Charger(QStringLiteral(QUAYLIGHT_LANG_SOURCE "/") + fichier, f(), *s->d);
    for (int n = 1; n <= Messages::Dernier; ++n)
        QVERIFY2(!Declarations::MsgBoite[size_t(n)].isEmpty(), qPrintable(QString::number(n)));
    // What the layout shows, the file gives back: the French file the same
    // texts (it may add tool tips), the others a text of their own.
    const QStringList legendes = Legendes(f(), *s->d);
    const bool francais = fichier == QLatin1String("langueFR.txt");
    for (int i = 0; i < legendes.size(); ++i) {
        const QStringList avant = miseEnPage[i].split(QLatin1Char('|'));
        const QStringList apres = legendes[i].split(QLatin1Char('|'));
        for (int j = 0; j < avant.size(); ++j)
            QVERIFY2(avant[j].isEmpty() || (francais ? apres.value(j) == avant[j]
                                                     : !apres.value(j).isEmpty()),
                     qPrintable(miseEnPage[i] + QStringLiteral(" / ") + legendes[i]));
    }
    // The menu bar still shows every entry.
    for (QAction* a : f().menuBar()->actions())
        QVERIFY(f().menuBar()->rect().contains(f().menuBar()->actionGeometry(a)));
}

QTEST_MAIN(TestCommandes)
#include "test_commandes.moc"
