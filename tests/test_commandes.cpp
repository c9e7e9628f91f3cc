// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's windows and commands, driven like a user through the real
// windows, the fake seam answering the dialogs; then the real seam.
#include "Outils.h"
#include "app/Entree.h"
#include "app/Langues.h"
#include "editing/ProprietesPOI.h"
#include "gpx/Fichiers.h"
#include "gpx/Messages.h"
#include "gpx/Proprietes.h"
#include "shell/Declarations.h"
#include "shell/Donnees.h"
#include "shell/Reglages.h"
#include "shell/Twips.h"
#include "ui/BoiteDoublons.h"
#include "ui/BoiteFusion.h"
#include "ui/BoiteProprietes.h"
#include "ui/BoiteSymbole.h"
#include "ui/Creer_POI.h"
#include "ui/FiltreNoms.h"
#include "ui/ListeMarques.h"
#include "ui/PanneauRoutes.h"
#include "ui/TexteLien1.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSet>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <cerrno>
#include <cstring>
#include <ifaddrs.h>
#include <net/if.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace OutilsGPX;
using Declarations::MsgBoite;
using Declarations::NumPOI;
using Declarations::Table;

namespace {

// A text typed into a box, and the message it brings (0 for none).
struct Tableau_Saisies {
    QLineEdit* boite;
    const char* texte;
    int message;
};

// Five waypoints with 1, 2, 3, 0 and 1 links.
const QByteArray Cinq = Document(Wpt("48.1", "-4.1", "t1", "Un", Liens(1), "s1") +
                                 Wpt("48.2", "-4.2", "t2", "Deux", Liens(2), "s2") +
                                 Wpt("48.3", "-4.3", "t3", "Trois", Liens(3), "s3") +
                                 Wpt("48.4", "-4.4", "t4", "Quatre", "", "s4") +
                                 Wpt("48.5", "-4.5", "t5", "Cinq", Liens(1), "s5"));

// Two waypoints, the second named "Anse Nord" with n links.
QByteArray Deux(int n = 2)
{
    return Document(Wpt("1", "1", "t0", "Autre") +
                    Wpt("48.3", "-4.5", "t1", "Anse Nord", Liens(n)));
}

const QString M1 = QStringLiteral("Selectionner d'abord un Poi");
const QString M6 = QStringLiteral("Sélectionner un lien d'abord");

// What a box shows when asked for nothing and for a million, then its value
// as it was.
QString Bornes(QDoubleSpinBox* b)
{
    const double avant = b->value();
    b->setValue(0);
    QString s = b->cleanText() + ' ';
    b->setValue(1e6);
    s += b->cleanText();
    b->setValue(avant);
    return s;
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
        l << w->objectName() + QLatin1Char('|') + t + QLatin1Char('|') + w->toolTip();
    }
    for (QAction* a : f.findChildren<QAction*>())
        l << a->objectName() + QLatin1Char('|') + a->text();
    return l << f.Menu_Fichier->title() << d.Enregistrer->text() << d.Fermer->text();
}

// A waypoint named nom, its time made of its position.
QByteArray Marque(const QByteArray& lat, const QByteArray& lon, const QByteArray& nom)
{
    return Wpt(lat, lon, "t" + lat + lon, nom);
}

QString Placemark(const QString& nom, const QString& coordonnees)
{
    return QStringLiteral("LoadKmlData <Placemark><name>%1</name><Point><coordinates>%2,0"
                          "</coordinates></Point></Placemark>")
        .arg(nom, coordonnees);
}

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

class TestCommandes : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { s = std::make_unique<Session>(); }
    void cleanup() { s.reset(); }

    void question_data();
    void question();
    void menusPendantLaQuestion();
    void positionsDesFenetres_data();
    void positionsDesFenetres();
    void fenetres();
    void miseEnPage_data();
    void miseEnPage();

    void ouvrir();
    void ouvrirEncore();
    void sauverSous_data();
    void sauverSous();
    void sauverEchoue();
    void gardeCarte_data();
    void gardeCarte();
    void cadrage_data();
    void cadrage();
    void carteSelectionEtEdition();
    void sansConnexion_data();
    void sansConnexion();
    void capture_data();
    void capture();
    void disquePlein();
    void grosFichier();
    void modifierGarde();
    void importer_data();
    void importer();

    void selection_data();
    void selection();
    void focusNeChoisitRien();
    void nouveauModifierSupprimer();
    void filtreEtSymbole();
    void saisiesTapees_data();
    void saisiesTapees();
    void annulerRetablir_data();
    void annulerRetablir();
    void proprietes();
    void refusDesProprietes_data();
    void refusDesProprietes();
    void guids();
    void proprietesSurLaCarte();
    void fusion();
    void doublons();
    void calque_data();
    void calque();
    void routes_data();
    void routes();
    void tableDesTroncons();
    void tailleGardee();
    void routesSurLaCarte();
    void choixSurLaCarte();
    void valider_data();
    void valider();

    void liens();
    void validationDesLiens_data();
    void validationDesLiens();
    void description();

    void quitter_data();
    void quitter();
    void languesEtAide();
    void appliquerLigne_data();
    void appliquerLigne();
    void fichiersLivres_data();
    void fichiersLivres();

    void message_data();
    void message();
    void dialogue_data();
    void dialogue();
    void ouvrirShell_data();
    void ouvrirShell();
    void connexion();

private:
    // Start-up answered "Oui" with a map ready at once.
    void DemarrerCarte(int32_t connexion = 1)
    {
        p().connexion = connexion;
        p().CarteFactice(1);
        s->Demarrer(0);
        QCOMPARE(Entree::EtapeCourante(), Entree::Etape::Terminee);
    }
    ApplicationGEFactice& carte() { return *p().carte; }
    Creer_POI& f() { return *s->f; }
    PlateformeTest& p() { return *s->plateforme; }
    std::unique_ptr<Session> s;
    PlateformeQt qt;
    QTemporaryDir bin;
    QString trace;
};

void TestCommandes::question_data()
{
    // carte: no map object (-1), or one ready at that query; fichier: a file
    // named at start, opened once start-up is over.
    Tableau({"carte", "echoue", "option", "connexion", "boites", "fichier"},
            {{"non", "1", "", "1", "0", "0", "M.gpx"},
             {"oui sans carte", "-1", "", "0", "1", "1"},
             {"oui, prete au 4e sondage", "4", "", "0", "1", "0", "M.gpx"},
             {"oui, le sondage echoue", "1000", "oui", "0", "1", "1"},
             {"fichier nouveau", "1", "", "1", "0", "0", "Nouveau.gpx"}});
}

void TestCommandes::question()
{
    const int carte = V("carte").toInt();
    const int option = V("option").toInt();
    if (carte > 0)
        p().CarteFactice(carte);
    p().connexion = V("connexion").toInt();
    QVERIFY(Ecrire(s->Chemin("M.gpx"), Cinq));
    Entree::Demarrer(V("fichier").isEmpty() ? QString() : s->Chemin(V("fichier")));
    Creer_POI& f = *Entree::FenetrePrincipale();
    QCOMPARE(Entree::EtapeCourante(), Entree::Etape::AttenteReponse);
    QVERIFY(f.Google->isVisible() && !f.POIS->isVisible() && !f.LIENS->isVisible());
    QVERIFY(!Entree::FenetreDescription()->isVisible());
    QCOMPARE(p().verificationsConnexion, 0); // nothing past the question has run
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QTest::mouseClick(f.Option2[option], Qt::LeftButton, {}, QPoint(8, 8));
    if (!V("echoue").isEmpty())
        p().carte->sondageEchoue = true;
    QTRY_COMPARE(Entree::EtapeCourante(), Entree::Etape::Terminee);
    QCOMPARE(p().Textes(), V("boites") == "1" ? QStringList{MsgBoite[16]} : QStringList());
    QCOMPARE(p().creations.size(), 1 - option);
    QCOMPARE(bool(Declarations::AppliGE), option == 0 && carte > 0);
    QCOMPARE(Declarations::Connecte, V("connexion").toInt());
    QVERIFY(f.POIS->isVisible() && !f.Google->isVisible());
    QCOMPARE(f.Pickup_X_Y->isVisible(), option == 0);
    QTRY_COMPARE(Declarations::FichierGPX, V("fichier").isEmpty() ? "" : s->Chemin(V("fichier")));
    // Four queries until ready, one for the Open command's guard.
    QVERIFY(carte != 4 || p().carte->sondages == 5);
    QCOMPARE(f.ListePOI->count(), V("fichier") == "M.gpx" ? 5 : 0);
    QVERIFY(p().dialogues.isEmpty());
    QVERIFY(carte != 4 || p().carte->Appels("LoadKmlData").size() == 5);
}

void TestCommandes::menusPendantLaQuestion()
{
    p().CarteFactice(1000000);
    s->Demarrer(0);
    QCOMPARE(Entree::EtapeCourante(), Entree::Etape::AttenteCarte);
    // The menus work while the map gets ready, Quit included.
    QVERIFY(QTest::qWaitForWindowExposed(&f()));
    f().POIS->hide();
    f().LIENS->show();
    QTest::mouseClick(f().menuBar(), Qt::LeftButton, {},
                      f().menuBar()->actionGeometry(f().Montre_Fichier).center());
    QVERIFY(f().POIS->isVisible() && !f().LIENS->isVisible());
    s->d->show();
    QTest::mouseClick(f().menuBar(), Qt::LeftButton, {},
                      f().menuBar()->actionGeometry(f().Quitter).center());
    QCOMPARE(p().fins, 1);
    QVERIFY(!f().isVisible() && !s->d->isVisible());
    // The close box runs Quit once: one question, one end.
    s->Demarrer();
    f().close();
    QCOMPARE(p().boites.size(), 1);
    QCOMPARE(p().fins, 2);
}

void TestCommandes::positionsDesFenetres_data()
{
    // Stored texts (twips), and where the window's left and top must be:
    // "" where the system placed it, "bord" on the nearest screen edge.
    Tableau({"gauche", "haut", "x", "y"},
            {{"toutes", "1500", "3000", "1500", "3000"},
             {"non numerique, absent", "abc", "", "", ""},
             {"ecran debranche", "60000", "-7000", "bord", "bord"},
             {"valeur abimee", "-99999999999", "1e30", "bord", "bord"}});
}

void TestCommandes::positionsDesFenetres()
{
    // Where the windowing system puts the windows without stored positions.
    Entree::Demarrer();
    const QPoint defauts[] = {Entree::FenetrePrincipale()->pos(),
                              Entree::FenetreDescription()->pos()};
    for (const char* cle : {Reglages::Creer_POI_MargeG, Reglages::TexteLien1_MargeG})
        Reglages::Ecrire(cle, V("gauche"));
    if (!V("haut").isEmpty())
        for (const char* cle : {Reglages::Creer_POI_Haut, Reglages::TexteLien1_Haut})
            Reglages::Ecrire(cle, V("haut"));
    Entree::Demarrer();
    const QRect e = QGuiApplication::primaryScreen()->availableGeometry();
    const QWidget* fenetres[] = {Entree::FenetrePrincipale(), Entree::FenetreDescription()};
    for (int i = 0; i < 2; ++i) {
        const QRect c = fenetres[i]->frameGeometry();
        auto place = [](const QString& a, int defaut, int v, int debut, int fin) {
            return a.isEmpty()                  ? v == defaut
                   : a == QLatin1String("bord") ? v == debut || v == fin
                                                : v == Twips::VersPixels(a.toInt());
        };
        QVERIFY2(place(V("x"), defauts[i].x(), c.x(), e.left(), e.right() + 1 - c.width()) &&
                     place(V("y"), defauts[i].y(), c.y(), e.top(), e.bottom() + 1 - c.height()),
                 qPrintable(QStringLiteral("%1,%2").arg(c.x()).arg(c.y())));
    }
}

// The windows as a user meets them: the main one at its least size, growing
// its marks list, every menu entry shown, a description window only the
// program closes.
void TestCommandes::fenetres()
{
    s->Demarrer();
    const QSize zone(Twips::VersPixels(3900), Twips::VersPixels(7185));
    QCOMPARE(f().centralWidget()->size(), zone);
    QCOMPARE(f().centralWidget()->minimumSize(), zone);
    const QRect liste = f().ListePOI->geometry();
    const QRect valider = f().Validation->geometry();
    f().resize(f().size() + QSize(0, 100));
    QTRY_COMPARE(f().ListePOI->height(), liste.height() + 100);
    QCOMPARE(f().Validation->geometry(), valider.translated(0, 100));
    QCOMPARE(f().ListePOI->width(), liste.width());
    for (QAction* a : f().menuBar()->actions())
        QVERIFY(f().menuBar()->rect().contains(f().menuBar()->actionGeometry(a)));
    QCOMPARE(s->d->minimumSize(), s->d->maximumSize());
    QVERIFY(s->d->windowFlags() & Qt::Tool);
    // Hidden until a mark's description is asked for.
    QVERIFY(!s->d->isVisible());
    s->d->show();
    s->d->close(); // the close box
    QVERIFY(s->d->isVisible());
    s->d->FermerParProgramme();
    QVERIFY(!s->d->isVisible());
}

// Each window and panel as the user sees it: every visible control inside
// it, none over another (a control left out of its layout lands on the
// others' corner).
void TestCommandes::miseEnPage_data()
{
    // actif: brought in front by the program (m: and the other windows
    // wait until it is closed); the description window is only shown, its
    // focus left to the desktop. paysage: the least width of a window that
    // lists marks side by side, wider than tall.
    // tab: the order Tab goes through the controls.
    Tableau({"fenetre", "actif", "paysage", "tab"},
            {{"principale", "principale", "1", "",
              "LeNomFichier,Filtre,ListePOI,Lat_Long,Nom_WP,Symbole,Option1(0),Option1(1),"
              "Option1(2),Validation,LangFR,LangEN,LangSelf"},
             {"routes", "routes", "1", "",
              "ListeRoutes,Nom_Route,Nouvelle_Route,Supprimer_Route,TableTroncons,"
              "Ajouter_Poi_Route,Inserer_Poi_Route,Retirer_Point,Monter_Point,Descendre_Point,"
              "Inverser_Route,Position_Point,Placer_Point,Vitesse_Route,Depart_Route,"
              "Construire_Route"},
             {"proprietes", "proprietes", "m", "",
              "Viz_Poi,Nom_Visible,Rayon_Arrivee,Anneaux_Visibles,Anneaux_Nombre,Anneaux_Pas,"
              "Anneaux_Unites,Anneaux_Couleur,Echelle_Utilisee,Echelle_Min,Echelle_Max,"
              "Station_Maree,Guid_Poi,Nouveau_Guid,Cmt_Poi,Desc_Poi,Valider_Proprietes,"
              "Annuler_Proprietes"},
             {"doublons", "doublons", "1", "500",
              "Distance_Doublons,Tout_Nom,Liste_Doublons,Fusionner_Groupe,Fusionner_Tout,"
              "Fermer_Doublons"},
             {"fusion", "fusion", "m", "600",
              "Distance_Fusion,Choix_Tous,Groupes_Fusion,Fusionner,Annuler_Fusion"},
             {"liens", "liens", "1", "",
              "Text3,Text4,Text1,Descriptif,Valider_lien,ListeLiens,Tester_Lien,Supprimer_Lien,"
              "Text7,Fichier_lien,Text2"},
             {"description", "description", "0", "", "Text1,Enregistrer,Fermer"}});
}

void TestCommandes::miseEnPage()
{
    s->Demarrer();
    s->Ouvrir(Cinq);
    f().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f()));
    QWidget* fenetre = &f();
    if (V("fenetre") == "routes") {
        f().Voir_Routes->trigger();
        fenetre = f().ROUTES;
    } else if (V("fenetre") == "proprietes") {
        s->Cliquer(f().ListePOI, 0);
        f().Proprietes_Poi->trigger();
        fenetre = f().PROPRIETES;
    } else if (V("fenetre") == "doublons") {
        f().Doublons_Poi->trigger();
        fenetre = f().DOUBLONS;
    } else if (V("fenetre") == "fusion") {
        const QString autre = s->Chemin(QStringLiteral("autre.gpx"));
        QVERIFY(Ecrire(autre, Cinq));
        p().fichiers << autre;
        f().Fusionner_Fichier->trigger();
        fenetre = f().FUSION;
    } else if (V("fenetre") == "liens" || V("fenetre") == "description") {
        f().ListePOI->setCurrentRow(1);
        f().Gestion_Liens->trigger();
        if (V("fenetre") == "description") {
            f().Descriptif->click();
            fenetre = s->d;
        }
    }
    // Opened in front, ready for the keyboard.
    QVERIFY(fenetre->isVisible());
    if (V("actif") != "0")
        QVERIFY(QTest::qWaitForWindowActive(fenetre->window()));
    QCOMPARE(QApplication::activeModalWidget() == fenetre, V("actif") == "m");
    if (!V("paysage").isEmpty())
        QVERIFY2(fenetre->width() > fenetre->height() && fenetre->width() >= V("paysage").toInt(),
                 qPrintable(QStringLiteral("%1x%2").arg(fenetre->width()).arg(fenetre->height())));
    QTest::qWait(50); // laid out
    auto controle = [](QWidget* w) {
        return qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
               qobject_cast<QAbstractItemView*>(w) || qobject_cast<QComboBox*>(w) ||
               qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QLabel*>(w) ||
               qobject_cast<QPlainTextEdit*>(w);
    };
    struct Vu {
        QString nom;
        QRect place;
        bool etiquette;
    };
    QList<Vu> vus;
    for (QWidget* w : fenetre->findChildren<QWidget*>()) {
        if (!w->isVisible() || !controle(w) || w->window() != fenetre->window())
            continue;
        bool dansUnAutre = false; // a combo box's edit, a table's header
        for (QWidget* p = w->parentWidget(); p && p != fenetre; p = p->parentWidget())
            dansUnAutre = dansUnAutre || controle(p);
        if (dansUnAutre)
            continue;
        const QRect r(w->mapTo(fenetre, QPoint()), w->size());
        const QString nom =
            w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName();
        // Below a group box's title too.
        QVERIFY2(fenetre->contentsRect().contains(r), qPrintable(nom));
        // Places in twips may round to one shared pixel.
        const bool etiquette = qobject_cast<QLabel*>(w);
        for (const auto& [autre, place, etiquetteAutre] : vus) {
            const QRect commun = place & r;
            // The form's labels stand a little over the field below
            // them, their text above it.
            const int permis = etiquette || etiquetteAutre ? 5 : 1;
            QVERIFY2(commun.width() <= 1 || commun.height() <= permis,
                     qPrintable(nom + " / " + autre));
        }
        vus.append({nom, r, etiquette});
    }
    QVERIFY(vus.size() >= 3);
    if (V("fenetre") == "principale") {
        // Its pictures as drawn when they were last looked at.
        for (const auto& [nom, image] :
             {std::pair("fenetre", f().windowIcon().pixmap(64)),
              std::pair("francais", f().LangFR->icon().pixmap(20, 12)),
              std::pair("britannique", f().LangEN->icon().pixmap(20, 12))})
            QCOMPARE(CommeReference(image.toImage(), QLatin1String(nom)), QString());
        // Each button's picture whole within it.
        for (QPushButton* b : {f().LangFR, f().LangEN, f().LangSelf})
            QVERIFY2(b->rect().contains(QRect(QPoint(), b->iconSize())),
                     qPrintable(b->objectName()));
        // The window's ground painted in its own colour, a corner free of
        // controls.
        const QImage vue = f().grab().toImage();
        auto* zone = f().centralWidget();
        const QPoint coin = zone->mapTo(&f(), QPoint(zone->width() - 4, zone->height() - 4));
        QCOMPARE(vue.pixelColor(coin * vue.devicePixelRatio()).name(),
                 zone->palette().color(QPalette::Window).name());
        QVERIFY(zone->palette().color(QPalette::Window) !=
                QApplication::palette().color(QPalette::Window));
    }
    // The order Tab goes through the window's controls.
    QWidgetList tabulation;
    for (QWidget* w = fenetre->window()->nextInFocusChain();
         w != fenetre->window() && !tabulation.contains(w); w = w->nextInFocusChain())
        tabulation << w;
    // Tab through the window's own controls, the parts of a box left out.
    QStringList parTab;
    for (QWidget* w : tabulation) {
        bool dansUnAutre = false;
        for (QWidget* p = w->parentWidget(); p && p != fenetre; p = p->parentWidget())
            dansUnAutre = dansUnAutre || controle(p);
        if (w->isVisible() && (w->focusPolicy() & Qt::TabFocus) && fenetre->isAncestorOf(w) &&
            !dansUnAutre)
            parTab << w->objectName();
    }
    QCOMPARE(parTab.join(','), V("tab"));
    // A form's texts on the left (a label, or a box that carries its own),
    // each beside the field it names; Tab goes through a row from left to
    // right.
    for (const QFormLayout* forme : fenetre->findChildren<QFormLayout*>()) {
        if (forme->parentWidget()->window() != fenetre->window())
            continue;
        for (int l = 0; l < forme->rowCount(); ++l) {
            QLayoutItem* texte = forme->itemAt(l, QFormLayout::LabelRole);
            QLayoutItem* champ = forme->itemAt(l, QFormLayout::FieldRole);
            QVERIFY(!texte || qobject_cast<QLabel*>(texte->widget()) ||
                    qobject_cast<QAbstractButton*>(texte->widget()));
            QVERIFY(!champ || !qobject_cast<QLabel*>(champ->widget()));
            if (texte && champ && champ->widget() &&
                qobject_cast<QAbstractButton*>(texte->widget()))
                QVERIFY(tabulation.indexOf(texte->widget()) < tabulation.indexOf(champ->widget()));
        }
    }
}

void TestCommandes::ouvrir()
{
    s->Demarrer();
    QVERIFY(QDir().mkpath(s->Chemin("ex")));
    const QString fichier = s->Chemin("ex/Marques.gpx");
    const QByteArray avant =
        Document(Wpt("48.38", "-4.49", "t1", "Quai", Lien("file:///ailleurs/quai.pdf", "Plan")) +
                 Wpt("48.40", "-4.50", "t2",
                     "Bou\xC3\xA9"
                     "e") +
                 "<trk>\n"); // a LF line end
    QVERIFY(Ecrire(fichier, avant));
    f().Option1[0]->setChecked(true);
    s->OuvrirChemin(fichier);
    QCOMPARE(p().dialogues, QList<Plateforme::Dialogue>{Plateforme::Dialogue::Ouvrir});
    QCOMPARE(p().filtres, QStringList{QStringLiteral("*.gpx")});
    QCOMPARE(Declarations::DossierGPX + '|' + Declarations::NomFichierGPX,
             s->Chemin("ex/|Marques.gpx"));
    QCOMPARE(f().LeNomFichier->text(), Fichiers::AffichageNomFichier(fichier));
    // Shown, not typed in.
    QTest::keyClicks(f().LeNomFichier, QStringLiteral("x"));
    QCOMPARE(f().LeNomFichier->text(), Fichiers::AffichageNomFichier(fichier));
    QVERIFY(!f().Option1[0]->isChecked());
    // A track left open: not well-formed, said once with where, then read
    // line by line; the route warning, once.
    QCOMPARE(p().Textes(), (QStringList{Messages::Texte(Messages::PasBienForme)
                                            .arg(QStringLiteral("mismatched tag"))
                                            .arg(27)
                                            .arg(3),
                                        QStringLiteral("M18")}));
    QCOMPARE(f().ListePOI->item(1)->text(), QStringLiteral("Bouée"));
    QVERIFY(f().ListePOI->selectedItems().isEmpty());
    QCOMPARE(NumPOI, int16_t(3));
    // Local links now point beside the file, on disk and in the table; the
    // backup keeps the file as it was.
    const QString cible = QStringLiteral("file://") + s->Chemin("ex/quai.pdf");
    QCOMPARE(Table.LienHref[1][1], cible);
    // Only the link's line changed, every other byte and line end kept; the
    // work file has every line ended by CR LF.
    const QByteArray apres = Lire(fichier);
    QCOMPARE(apres, QByteArray(avant).replace("file:///ailleurs/quai.pdf", cible.toUtf8()));
    QCOMPARE(Lire(s->Chemin("ex/tmp/Marques.gpx.30")), avant);
    QCOMPARE(Lire(s->Chemin("ex/Temp.gpx")), QByteArray(apres).replace("<trk>\n", "<trk>\r\n"));

    // A file of LF lines whose links need no change is not written at all.
    const QString lf = s->Chemin("ex/lf.gpx");
    const QByteArray octetsLf = QByteArray(Cinq).replace("\r\n", "\n");
    QVERIFY(Ecrire(lf, octetsLf));
    const QDateTime hier = QDateTime::currentDateTimeUtc().addDays(-1);
    {
        QFile f(lf);
        QVERIFY(f.open(QIODevice::ReadWrite) &&
                f.setFileTime(hier, QFileDevice::FileModificationTime));
    }
    s->OuvrirChemin(lf);
    QCOMPARE(f().ListePOI->count(), 5);
    QCOMPARE(Lire(lf), octetsLf);
    QCOMPARE(QFileInfo(lf).lastModified().toSecsSinceEpoch(), hier.toSecsSinceEpoch());
    QVERIFY(QFile::exists(s->Chemin("ex/tmp/lf.gpx.30")) &&
            QFile::exists(s->Chemin("ex/Temp.gpx")));
}

// Open again and again: backups rotate, a file with nothing to relocate is
// left alone, Cancel keeps the document, a new name (or a file gone after
// the dialog) starts an empty one, a folder cannot be read, a work file that
// cannot be made is said so.
void TestCommandes::ouvrirEncore()
{
    s->Demarrer();
    const QString fichier = s->Chemin("M.gpx");
    QVERIFY(Ecrire(fichier, Cinq));
    for (int n = 1; n <= 31; ++n)
        s->OuvrirChemin(fichier);
    QCOMPARE(QDir(s->Chemin("tmp")).entryList(QDir::Files).size(), 30);
    QCOMPARE(Lire(s->Chemin("tmp/M.gpx.1")), Cinq);
    QCOMPARE(Lire(fichier), Cinq);
    s->OuvrirChemin(QString());
    QCOMPARE(Declarations::FichierGPX + QString::number(f().ListePOI->count()), fichier + "5");

    const QList<QLineEdit*> boites = {f().Lat_Long, f().Nom_WP, f().Text1,
                                      f().Text2,    f().Text3,  f().Text4};
    for (QLineEdit* b : boites)
        b->setText("x");
    f().ListeLiens->addItem(QStringLiteral("1  Plan    (File)"));
    f().Option1[1]->setChecked(true);
    p().apresDialogue = [fichier] { QFile::remove(fichier); };
    s->OuvrirChemin(fichier);
    p().apresDialogue = nullptr;
    QCOMPARE(Declarations::FichierGPX, fichier);
    QCOMPARE(Resume(Table) + QString::number(Table.NomPOI.size() + Table.LienHref.size()),
             QStringLiteral("2"));
    QVERIFY(f().ListePOI->count() == 0 && f().ListeLiens->count() == 0);
    for (QLineEdit* b : boites)
        QVERIFY(b->text().isEmpty());
    QVERIFY(!f().Option1[1]->isChecked() && !QFile::exists(fichier));
    f().Sauver_Fichier->trigger();
    QCOMPARE(Lire(fichier), Document(""));
    QVERIFY(p().boites.isEmpty());

    QVERIFY(QDir().mkpath(s->Chemin("dossier.gpx")));
    s->OuvrirChemin(s->Chemin("dossier.gpx"));
    QCOMPARE(p().boites.size(), 1);
    QVERIFY(p().boites[0].texte.startsWith(MsgBoite[Messages::LectureEchouee] + " :\n" +
                                           s->Chemin("dossier.gpx")));
    QCOMPARE(f().ListePOI->count(), 0);
    QVERIFY(QDir().mkpath(s->Chemin("sans/Temp.gpx")));
    s->Ouvrir(Cinq, QStringLiteral("sans/M.gpx"));
    QVERIFY(p().boites[1].texte.startsWith(MsgBoite[Messages::TravailEchoue] + " :\n" +
                                           s->Chemin("sans/Temp.gpx")));
    QCOMPARE(f().ListePOI->count(), 5); // read as it stands
}

void TestCommandes::sauverSous_data()
{
    Tableau({"choisi", "ecrit"}, {{"sans extension", "marks", "marks.gpx"},
                                  {"avec extension", "Cote.gpx", "Cote.gpx"},
                                  {"majuscules", "MARKS.GPX", "MARKS.GPX.gpx"},
                                  {"dossier en .gpx", "archive.gpx/marks", "archive.gpx/marks"}});
}

void TestCommandes::sauverSous()
{
    const QString ecrit = s->Chemin(V("ecrit"));
    s->Demarrer();
    QVERIFY(QDir().mkpath(s->Chemin("archive.gpx")));
    s->Ouvrir(Cinq);
    QVERIFY(Ecrire(ecrit, "sera remplace"));
    p().fichiers << s->Chemin(V("choisi"));
    f().Sauver_sous->trigger();
    QCOMPARE(p().dialogues.last(), Plateforme::Dialogue::EnregistrerSous);
    QCOMPARE(Declarations::FichierGPX, ecrit);
    QCOMPARE(Resume(*LireTexte(Lire(ecrit))), Resume(Table));
    // The name box keeps the opened file; the next Save goes to the new one.
    QCOMPARE(f().LeNomFichier->text(), Fichiers::AffichageNomFichier(s->Chemin("marques.gpx")));
    QFile::remove(ecrit);
    f().Sauver_Fichier->trigger();
    QVERIFY(QFile::exists(ecrit) && p().boites.isEmpty());
    f().Sauver_sous->trigger(); // cancelled
    QCOMPARE(Declarations::FichierGPX, ecrit);
}

// Saves that fail: the file, the table and the document's name stay, and the
// message, in the user's language, says what failed and what to do.
void TestCommandes::sauverEchoue()
{
    s->Demarrer();
    f().Sauver_Fichier->trigger();
    QCOMPARE(p().Textes(), QStringList{QStringLiteral("Le nom du fichier est manquant")});
    Langues::Charger(QStringLiteral(QUAYLIGHT_LANG_SOURCE "/langueEN.txt"), f(), *s->d);
    s->Ouvrir(Cinq);
    const QString fichier = Declarations::FichierGPX;
    const QString resume = Resume(Table);
    QFile::setPermissions(fichier, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    p().boites.clear();
    f().Sauver_Fichier->trigger();
    QFile::setPermissions(fichier, QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(p().Textes(), QStringList{"The file could not be saved :\n" + fichier +
                                       "\n(the file is read-only)\nThe previous file is intact; "
                                       "choose another name or folder with Save as"});
    QCOMPARE(Lire(fichier), Cinq);
    QCOMPARE(Resume(Table), resume);
    const QString impossible = s->Chemin("absent/Ailleurs.gpx");
    p().fichiers << impossible;
    f().Sauver_sous->trigger();
    QVERIFY(p().boites.size() == 2 && p().boites[1].texte.contains(impossible));
    QCOMPARE(Declarations::FichierGPX, fichier);
    // No file is left beside but the Open command's work file.
    QCOMPARE(QDir(s->Chemin("")).entryList(QDir::Files), (QStringList{"marques.gpx", "Temp.gpx"}));
}

void TestCommandes::gardeCarte_data()
{
    // Abort runs Quit, which asks about saving and ends the program.
    Tableau({"reponse", "dialogue", "fins"},
            {{"abandon", "3", "", "1"}, {"reessayer", "4", "", "0"}, {"ignorer", "5", "oui", "0"}});
}

void TestCommandes::gardeCarte()
{
    p().CarteFactice(1000000);
    s->Demarrer(0);
    p().reponses << Plateforme::Reponse(V("reponse").toInt());
    s->OuvrirChemin(s->Chemin("Garde.gpx"));
    QCOMPARE(p().boites.size(), V("fins").toInt() + 1);
    QCOMPARE(p().boites[0].boutons, Plateforme::Boutons::AbandonReessayerIgnorer);
    QCOMPARE(p().dialogues.isEmpty(), V("dialogue").isEmpty());
    QCOMPARE(p().fins, V("fins").toInt());
}

void TestCommandes::disquePlein()
{
    const QString point = s->Chemin("petit");
    QVERIFY(QDir().mkpath(point));
    if (geteuid() != 0 ||
        mount("tmpfs", point.toLocal8Bit().constData(), "tmpfs", 0, "size=64k") != 0)
        QSKIP("no small file system can be mounted here (needs root and mount rights)");
    s->Demarrer();
    s->Ouvrir(Cinq, QStringLiteral("petit/Marques.gpx"));
    // Fill what is left, then give a waypoint many links.
    QFile plein(point + "/plein");
    QVERIFY(plein.open(QIODevice::WriteOnly));
    while (plein.write(QByteArray(1024, 'x')) == 1024 && plein.flush())
        ;
    plein.close();
    // Larger than the writer's buffer: the write fails while the document
    // is being written, not only when the file is committed.
    for (int i = 1; i <= Table.NbPOI; ++i) {
        for (int k = Table.NbLiens(i) + 1; k <= MaxLiens; ++k)
            Table.InsererLien(i, k, QString(), QString());
        for (int k = 1; k <= MaxLiens; ++k)
            Table.LienHref[i][k] = QStringLiteral("http://example.org/%1/")
                                       .arg(k)
                                       .leftJustified(300, QLatin1Char('x'));
    }
    const QString avant = Resume(Table);
    const QByteArray disque = Lire(Declarations::FichierGPX);
    f().Sauver_Fichier->trigger();
    const QByteArray apres = Lire(Declarations::FichierGPX);
    umount(point.toLocal8Bit().constData());
    // The message names the file and why, the system's own words.
    QVERIFY(p().boites.size() == 1 && p().boites[0].texte.contains(Declarations::FichierGPX));
    QVERIFY2(p().boites[0].texte.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))),
             qPrintable(p().boites[0].texte));
    QCOMPARE(apres, disque);
    QCOMPARE(Resume(Table), avant);
}

// A file another program wrote: a waypoint modified keeps what the editor
// does not show, one deleted goes with all it held, the rest stays.
void TestCommandes::modifierGarde()
{
    s->Demarrer();
    s->Ouvrir(Lire(QUAYLIGHT_SOURCE "/tests/data/gpx/basecamp.gpx"));
    s->Cliquer(f().ListePOI, 0);
    f().Option1[0]->click();
    f().Nom_WP->setText(QStringLiteral("Toulinguet"));
    f().Validation->click();
    s->Cliquer(f().ListePOI, 2);
    f().Option1[2]->click();
    f().Validation->click();
    f().Sauver_Fichier->trigger();
    QCOMPARE(p().Textes(), QStringList());
    const QString ecrit = QString::fromUtf8(Lire(Declarations::FichierGPX));
    for (const char* garde : {"<name>Toulinguet</name>", "<desc>Phare, 3 éclats</desc>",
                              "<gpxx:Category>Phares</gpxx:Category>", "<ele>3.2</ele>",
                              "<text>Garmin International</text>", "xmlns:ctx="})
        QVERIFY2(ecrit.contains(QString::fromUtf8(garde)), garde);
    QVERIFY(!ecrit.contains("Proximity") && !ecrit.contains("44.6167"));
}

// Marks from other formats, converted by gpsbabel and opened as a new GPX
// document beside the source, which stays as it was.
void TestCommandes::importer_data()
{
    const QString kml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml "
                        "xmlns=\"http://www.opengis.net/kml/2.2\"><Document>"
                        "<Placemark><name>Phare du Petit Minou</name><Point><coordinates>-4.6156,"
                        "48.3367,0</coordinates></Point></Placemark><Placemark><name>Bouée</name>"
                        "<Point><coordinates>-4.49,48.38,0</coordinates></Point></Placemark>"
                        "</Document></kml>\n";
    const QString marques = "Phare du Petit Minou 48.3367 -4.6156\nBouée 48.38 -4.49";
    Tableau({"source", "contenu", "marques", "message"},
            {{"kml", "rade.kml", kml, marques},
             {"kmz", "rade.kmz", kml, marques},
             {"csv", "rade.csv", "Name,Latitude,Longitude\nPort,48.38,-4.49\nAnse,48.35,-4.55\n",
              "Port 48.38 -4.49\nAnse 48.35 -4.55"},
             {"ozi", "rade.wpt",
              "OziExplorer Waypoint File Version 1.1\r\nWGS 84\r\nReserved 2\r\nReserved "
              "3\r\n1,PORT,48.380000,-4.490000,,0,1,3,0,65535,,0,0,0,-777,6,0,17\r\n",
              "PORT 48.38 -4.49"},
             {"deja un gpx de ce nom", "marques.csv", "Name,Latitude,Longitude\nPort,48.38,-4.49\n",
              "Port 48.38 -4.49"},
             {"kml mal forme", "casse.kml", "<kml><Document><Placemark>", "",
              "Les Poi n'ont pas pu être importés"},
             {"format inconnu", "rade.xyz", "x", "", "Format non reconnu"},
             {"sans gpsbabel", "rade.csv", "Name,Latitude,Longitude\n", "",
              "L'import demande le programme gpsbabel"},
             // Found, but it cannot start: its interpreter is missing.
             {"gpsbabel qui ne demarre pas", "rade.csv", "Name,Latitude,Longitude\n", "",
              "Les Poi n'ont pas pu être importés"},
             // A conversion that takes long: its progress box cancels it.
             {"annulee", "long.csv", "Name,Latitude,Longitude\n", "", "-"}});
}

void TestCommandes::importer()
{
    s->Demarrer();
    s->Ouvrir(Document(Wpt("1", "2", "t", "Avant")));
    const QString source = s->Chemin(V("source"));
    QByteArray contenu = V("contenu").toUtf8();
    if (source.endsWith(".kmz")) {
        QProcess zip;
        zip.start("python3", {"-c",
                              "import sys, zipfile\n"
                              "with zipfile.ZipFile(sys.argv[1], 'w', "
                              "zipfile.ZIP_DEFLATED) as z:\n"
                              "    z.writestr('images/x.png', b'png')\n"
                              "    z.writestr('doc.kml', sys.stdin.buffer.read())\n",
                              source});
        zip.write(contenu);
        zip.closeWriteChannel();
        QVERIFY(zip.waitForFinished(20000) && zip.exitCode() == 0);
        contenu = Lire(source);
    } else {
        QVERIFY(Ecrire(source, contenu));
    }
    const QString avant = Declarations::FichierGPX;
    p().fichiers << source << s->Chemin("choisi");
    const QByteArray chemins = qgetenv("PATH");
    if (QByteArray(QTest::currentDataTag()) == "sans gpsbabel")
        qputenv("PATH", "/nulle-part");
    if (QByteArray(QTest::currentDataTag()) == "gpsbabel qui ne demarre pas") {
        QVERIFY(QDir().mkpath(s->Chemin("casse")) &&
                Ecrire(s->Chemin("casse/gpsbabel"), "#!/nulle-part/sh\n"));
        QFile::setPermissions(s->Chemin("casse/gpsbabel"), QFile::ExeOwner | QFile::ReadOwner);
        qputenv("PATH", s->Chemin("casse").toLocal8Bit() + ':' + chemins);
    }
    if (V("message") == "-") {
        // A gpsbabel that takes its time.
        QVERIFY(
            QDir().mkpath(s->Chemin("lent")) &&
            Ecrire(s->Chemin("lent/gpsbabel"), "#!/bin/sh\necho $$ > \"$0.pid\"\nexec sleep 30\n"));
        QFile::setPermissions(s->Chemin("lent/gpsbabel"), QFile::ExeOwner | QFile::ReadOwner);
        qputenv("PATH", s->Chemin("lent").toLocal8Bit() + ':' + chemins);
    }
    f().Importer_Poi->trigger();
    qputenv("PATH", chemins);
    if (V("message") == "-") {
        QProgressDialog* progression = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT((progression = f().findChild<QProgressDialog*>("Importation")) &&
                                     progression->isVisible(),
                                 5000);
        progression->findChild<QPushButton*>()->click();
        // The conversion is stopped, not left to run its course.
        const QByteArray pid = Lire(s->Chemin("lent/gpsbabel.pid")).trimmed();
        QVERIFY(!pid.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists("/proc/" + pid), 5000);
        QCOMPARE(Declarations::FichierGPX + Table.NomPOI[1], avant + "Avant");
        QVERIFY(p().boites.isEmpty() && !QFile::exists(s->Chemin("long.gpx")));
        QCOMPARE(Lire(source), contenu);
        return;
    }
    if (!V("message").isEmpty()) {
        QTRY_COMPARE(p().boites.size(), 1);
        QVERIFY2(p().boites[0].texte.startsWith(V("message")), qPrintable(p().boites[0].texte));
        QCOMPARE(Declarations::FichierGPX + Table.NomPOI[1], avant + "Avant");
    } else {
        QTRY_VERIFY(Declarations::FichierGPX != avant);
        QStringList lues;
        for (int i = 1; i <= Table.NbPOI; ++i)
            lues << QStringLiteral("%1 %2 %3")
                        .arg(Table.NomPOI[i])
                        .arg(Table.LatPOI[i].toDouble())
                        .arg(Table.LonPOI[i].toDouble());
        QCOMPARE(lues.join('\n'), V("marques"));
        QCOMPARE(f().ListePOI->count(), Table.NbPOI);
        // Named like the source; when that name is taken, the user's choice.
        const bool pris = V("source") == "marques.csv";
        QCOMPARE(Declarations::FichierGPX,
                 pris ? s->Chemin("choisi.gpx")
                      : source.section('.', 0, -2) + QStringLiteral(".gpx"));
        QCOMPARE(p().dialogues.contains(Plateforme::Dialogue::EnregistrerSous), pris);
        QVERIFY(p().boites.isEmpty());
    }
    QCOMPARE(Lire(source), contenu);
}

void TestCommandes::grosFichier()
{
    s->Demarrer();
    const QString fichier = s->Chemin("Enorme.gpx"); // 20 MB, 20,005 marks
    {
        QFile g(fichier);
        QVERIFY(g.open(QIODevice::WriteOnly));
        const QByteArray liens = Liens(10);
        g.write(Entete);
        for (int i = 1; i <= MaxPOI + 5; ++i)
            g.write(Wpt("48." + QByteArray::number(i), "-4", "T" + QByteArray::number(i),
                        "P" + QByteArray::number(i), liens));
        g.write("</gpx>\r\n");
    }
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    const long avant = u.ru_maxrss;
    s->OuvrirChemin(fichier);
    getrusage(RUSAGE_SELF, &u);
    QCOMPARE(f().ListePOI->count(), int(MaxPOI));
    QCOMPARE(Table.NomPOI[MaxPOI] + QString::number(Table.NbLiens(MaxPOI)),
             QStringLiteral("P2000010"));
    // The marks beyond are said, and kept by a save.
    QCOMPARE(p().Textes(), QStringList{Messages::Texte(Messages::HorsCapacite).arg(5).arg(MaxPOI)});
    qInfo("peak memory for a 20 MB file: %ld MB more", (u.ru_maxrss - avant) / 1024);
#if !defined(__SANITIZE_ADDRESS__) // the sanitizer's own memory hides the reader's
    // The file is held while it is read and its links relocated: a few
    // times its size at most.
    QVERIFY(u.ru_maxrss - avant < 8 * 20 * 1024);
#endif
    f().Sauver_Fichier->trigger();
    const QByteArray ecrit = Lire(fichier);
    QCOMPARE(ecrit.count("<wpt "), MaxPOI + 5);
    QVERIFY(ecrit.contains("<name>P20005</name>") && ecrit.contains("http://l/10"));
}

void TestCommandes::selection_data()
{
    Tableau({"clic", "lat", "lon", "position"},
            {{"clic", "oui", "48.3905", "-4.4860", "48.3905,-4.4860"},
             {"code", "", "48.3905", "-4.4860", "48.3905,-4.4860"},
             {"latitude nulle", "", "0.0", "-4.4", "France"},
             {"longitude mot", "", "48", "abc", "France"},
             {"latitude vide", "oui", "", "-4.4", "France"},
             {"demi degre", "oui", "-0.5", "2", "-0.5,2"},
             {"blanc garde", "", " 48.5", "-4.3", " 48.5,-4.3"}});
}

void TestCommandes::selection()
{
    s->Demarrer();
    s->Ouvrir(Document(Wpt("1", "1", "t0", "Autre") +
                       Wpt(V("lat").toLatin1(), V("lon").toLatin1(), "t1", "Brest", Liens(2))));
    f().Text1->setText("x");
    f().Text4->setText("y");
    f().Option1[1]->setChecked(true);
    if (V("clic").isEmpty())
        f().ListePOI->setCurrentRow(1);
    else
        s->Cliquer(f().ListePOI, 1);
    QCOMPARE(NumPOI, int16_t(2));
    QCOMPARE(f().Lat_Long->text(), V("position"));
    QCOMPARE(f().Nom_WP->text() + f().Text7->text(), QStringLiteral("BrestBrest"));
    // The file's name and the mark's in the links panel are shown, not typed.
    for (QLineEdit* montre : {f().Text7, f().LeNomFichier}) {
        const QString avant = montre->text();
        QTest::keyClicks(montre, QStringLiteral("x"));
        QCOMPARE(montre->text(), avant);
    }
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
    QCOMPARE(f().Nom_WP->text() + QString::number(NumPOI), QStringLiteral("Autre1"));
    QVERIFY(p().boites.isEmpty());
}

// With a filter on, list entries stand for the marks they show: selecting,
// modifying, deleting and creating act on the right waypoints. The symbol
// box shows the mark's symbol, and Valider stores it.
// What a sailor types: a symbol that begins like an offered name stays as
// typed, and shows whole in the tool tip; Return in the filter box chooses the first mark shown,
// whichever was chosen before.
void TestCommandes::saisiesTapees_data()
{
    Tableau({"symbole", "stocke"}, {{"debut d'un nom propose", "buoy", "buoy"},
                                    {"nom Garmin", "Anchor", "Anchor"},
                                    {"nom propose entier", "light", "light"}});
}

void TestCommandes::saisiesTapees()
{
    s->Demarrer();
    s->Ouvrir(Cinq);
    f().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f()));
    s->Cliquer(f().ListePOI, 3); // Quatre
    f().Option1[0]->click();
    f().Symbole->setFocus();
    f().Symbole->lineEdit()->selectAll();
    QTest::keyClicks(f().Symbole, V("symbole"));
    f().Validation->click();
    QCOMPARE(Table.SymPOI[4], V("stocke"));
    // The whole name in the tool tip; the list as wide as its longest name.
    QVERIFY(f().Symbole->Bulle().startsWith(V("stocke") + '\n'));
    int longest = 0;
    for (int k = 0; k < f().Symbole->count(); ++k)
        longest = std::max(longest, f().Symbole->view()->fontMetrics().horizontalAdvance(
                                        f().Symbole->itemText(k)));
    QVERIFY(f().Symbole->view()->minimumWidth() > longest);
    // Sixteen names at a time.
    f().Symbole->showPopup();
    QAbstractItemView* liste = f().Symbole->view();
    QCOMPARE(liste->viewport()->height() / liste->sizeHintForRow(0), 16);
    f().Symbole->hidePopup();
    // Quatre still chosen and shown third: Return takes the first shown.
    QTest::keyClick(&f(), Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(f().Filtre, QStringLiteral("u"));
    QCOMPARE(f().ListePOI->Filtre().Position(4), 2);
    QCOMPARE(f().ListePOI->PoiChoisi(), 4);
    QTest::keyClick(f().Filtre, Qt::Key_Return);
    QCOMPARE(f().ListePOI->PoiChoisi(), 1);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f().ListePOI));
}

void TestCommandes::filtreEtSymbole()
{
    s->Demarrer();
    s->Ouvrir(Cinq);
    f().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f()));
    QTest::keyClick(&f(), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f().Filtre));
    QTest::keyClicks(f().Filtre, QStringLiteral("TR"));
    auto liste = [this] {
        QStringList noms;
        for (int k = 0; k < f().ListePOI->count(); ++k)
            noms << f().ListePOI->item(k)->text();
        return noms.join(',');
    };
    QCOMPARE(liste(), QStringLiteral("Trois,Quatre"));
    s->Cliquer(f().ListePOI, 1);
    QCOMPARE(NumPOI, 4);
    QCOMPARE(f().Nom_WP->text() + '|' + f().Symbole->currentText(), QStringLiteral("Quatre|s4"));
    f().Option1[0]->click();
    f().Nom_WP->setText(QStringLiteral("Quatre bis"));
    f().Symbole->setEditText(QStringLiteral(" buoy1 "));
    f().Validation->click();
    QCOMPARE(Table.NomPOI[4] + '|' + Table.SymPOI[4], QStringLiteral("Quatre bis|buoy1"));
    QCOMPARE(f().ListePOI->PoiChoisi(), 4);
    QVERIFY(f().Symbole->findText(QStringLiteral("buoy1")) >= 0 &&
            f().Symbole->findText(QStringLiteral("s5")) >= 0);
    // Each symbol proposed once, none empty.
    QStringList proposes;
    for (int k = 0; k < f().Symbole->count(); ++k)
        proposes << f().Symbole->itemText(k);
    QVERIFY(!proposes.contains(QString()));
    QCOMPARE(proposes.removeDuplicates(), 0);
    s->Cliquer(f().ListePOI, 0);
    f().Option1[2]->click();
    f().Validation->click();
    QCOMPARE(Table.NbPOI, 4);
    QCOMPARE(Table.NomPOI[3], QStringLiteral("Quatre bis"));
    QCOMPARE(liste(), QStringLiteral("Quatre bis"));
    // A new mark: the symbol box starts empty, and the mark is listed when
    // the filter takes it.
    f().Option1[1]->click();
    QVERIFY(f().Symbole->currentText().isEmpty());
    f().Lat_Long->setText(QStringLiteral("47.5,-3.1"));
    f().Nom_WP->setText(QStringLiteral("Trézien"));
    f().Validation->click();
    QCOMPARE(Table.NbPOI, 5);
    QCOMPARE(Table.NomPOI[5] + '|' + Table.SymPOI[5], QStringLiteral("Trézien|"));
    QCOMPARE(liste(), QStringLiteral("Quatre bis,Trézien"));
    // The link commands act on the mark the entry shows.
    s->Cliquer(f().ListePOI, 1);
    f().Gestion_Liens->trigger();
    f().Text3->setText(QStringLiteral("Phare"));
    f().Text4->setText(QStringLiteral("http://phare"));
    f().Valider_lien->click();
    QCOMPARE(Table.NbLiens(5), 1);
    f().Montre_Fichier->trigger();
    // Escape shows all again; the mark chosen stays chosen.
    QTest::keyClick(f().Filtre, Qt::Key_Escape);
    QCOMPARE(liste(), QStringLiteral("Un,Deux,Quatre bis,Cinq,Trézien"));
    QCOMPARE(f().ListePOI->PoiChoisi(), 5);
    // So does the filter's clear button, with the mouse.
    QTest::keyClicks(f().Filtre, QStringLiteral("Un"));
    QCOMPARE(liste(), QStringLiteral("Un"));
    auto* effacer = f().Filtre->findChild<QToolButton*>();
    QVERIFY(effacer && effacer->isVisible());
    QTest::mouseClick(effacer, Qt::LeftButton);
    QCOMPARE(liste(), QStringLiteral("Un,Deux,Quatre bis,Cinq,Trézien"));
    QVERIFY(p().boites.isEmpty());
    const QString fichier = s->Chemin(QStringLiteral("marques.gpx"));
    f().Sauver_Fichier->trigger();
    const QByteArray ecrit = Lire(fichier);
    QVERIFY(ecrit.contains("<name>Quatre bis</name>\r\n\t\t<sym>buoy1</sym>"));
    QVERIFY(ecrit.contains("<sym>anchorage</sym>"));
}

void TestCommandes::annulerRetablir_data()
{
    // Commands on the five marks, then the table (name/symbol/links of each)
    // and whether Annuler and Rétablir are offered. c, C, S: a click, with
    // Ctrl, with Shift, on list row n; A: Ctrl+A; k n: mode n checked and
    // nothing else; m, y, n: "Valider" to
    // modify the name, the symbol, or a new mark; d: delete, D: delete
    // answered No; l, x: add a link, delete the first; f: the filter; u, r:
    // Ctrl+Z, Ctrl+Y; o: open the file again; s: save. Then, after each undo
    // and redo, the current mark and the chosen ones, "current:chosen" (one
    // past the last mark when none is current).
    const QString cinq = QStringLiteral("Un/s1/1,Deux/s2/2,Trois/s3/3,Quatre/s4/0,Cinq/s5/1");
    Tableau({"commandes", "attendu", "choix"},
            {{"modifier, annuler", "c 1;m Dos;u", cinq + "|01", "2:2"},
             {"modifier, annuler, retablir", "c 1;m Dos;u;r",
              "Un/s1/1,Dos/s2/2,Trois/s3/3,Quatre/s4/0,Cinq/s5/1|10", "2:2 2:2"},
             {"nouveau, annuler", "n Six;u", cinq + "|01", "6:"},
             {"nouveau, annuler, retablir", "n Six;u;r", cinq + ",Six//0|10", "6: 6:6"},
             {"nouveau, annuler, supprimer le courant", "c 1;n Six;u;d",
              "Un/s1/1,Trois/s3/3,Quatre/s4/0,Cinq/s5/1|10", "2:2"},
             {"nouveau apres le dernier, annuler", "c 4;n Six;u", cinq + "|01", "5:5"},
             {"supprimer un", "c 2;d;u", cinq + "|01", "3:3"},
             {"supprimer plusieurs", "c 1;S 3;d", "Un/s1/1,Cinq/s5/1|10", ""},
             {"supprimer plusieurs, annuler", "c 1;S 3;d;u", cinq + "|01", "2:2,3,4"},
             {"supprimer plusieurs, non", "c 1;S 3;D", cinq + "|00", ""},
             {"supprimer tout, annuler, retablir", "A;d;u;r", "|10", "6:1,2,3,4,5 1:"},
             {"un mode, puis plusieurs", "c 1;k 0;C 3;k 2;A;d", "|10", ""},
             {"plusieurs, puis un nouveau", "c 1;C 3;k 0;k 1;n Six", cinq + ",Six//0|10", ""},
             {"ctrl-clic retire un choix", "c 1;C 3;C 3;d",
              "Un/s1/1,Trois/s3/3,Quatre/s4/0,Cinq/s5/1|10", ""},
             {"symbole a plusieurs", "c 0;C 4;y buoy1",
              "Un/buoy1/1,Deux/s2/2,Trois/s3/3,Quatre/s4/0,Cinq/buoy1/1|10", ""},
             {"symbole a plusieurs, annuler", "c 0;C 4;y buoy1;u", cinq + "|01", "1:1,5"},
             {"symbole commun montre", "c 0;C 4;y buoy1;c 1;c 0;C 4",
              "Un/buoy1/1,Deux/s2/2,Trois/s3/3,Quatre/s4/0,Cinq/buoy1/1|10", ""},
             {"liens", "c 0;l;l;x;u;u", "Un/s1/2,Deux/s2/2,Trois/s3/3,Quatre/s4/0,Cinq/s5/1|11",
              "1:1 1:1"},
             {"tout annuler", "c 0;m A;c 1;y buoy1;n Six;c 2;S 3;d;u;u;u;u", cinq + "|01",
              "3:3,4 2:2 2:2 1:1"},
             {"une modification oublie les retablissements", "c 1;m Dos;u;c 2;m Tres;r",
              "Un/s1/1,Deux/s2/2,Tres/s3/3,Quatre/s4/0,Cinq/s5/1|10", "2:2 3:3"},
             {"filtre", "f tr;c 1;d;f ;u", cinq + "|01", "4:4"},
             {"filtre et plusieurs", "A;f tr;d", "Un/s1/1,Deux/s2/2,Cinq/s5/1|10", ""},
             {"enregistrer garde l'historique", "c 1;m Dos;s;u", cinq + "|01", "2:2"},
             {"ouvrir le vide", "c 1;m Dos;o;u", cinq + "|00", "6:"}});
}

void TestCommandes::annulerRetablir()
{
    s->Demarrer();
    s->Ouvrir(Cinq);
    f().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f()));
    // After each undo and redo, "current:chosen".
    QStringList apresAnnulations;
    for (const QString& commande : V("commandes").split(';')) {
        const QChar c = commande.at(0);
        const QString argument = commande.mid(2);
        if (c == 'c' || c == 'C' || c == 'S')
            s->Cliquer(f().ListePOI, argument.toInt(),
                       c == 'c'   ? Qt::NoModifier
                       : c == 'C' ? Qt::ControlModifier
                                  : Qt::ShiftModifier);
        else if (c == 'A')
            QTest::keyClick(f().ListePOI, Qt::Key_A, Qt::ControlModifier);
        else if (c == 'k')
            f().Option1[argument.toInt()]->click();
        else if (c == 'm' || c == 'y') {
            f().Option1[0]->click();
            (c == 'm' ? static_cast<QLineEdit*>(f().Nom_WP) : f().Symbole->lineEdit())
                ->setText(argument);
            f().Validation->click();
        } else if (c == 'n')
            s->Nouveau(QStringLiteral("47.5,-3.5"), argument);
        else if (c == 'd' || c == 'D') {
            // Several deleted after one question naming how many, No the
            // default; one without a question.
            const size_t n = f().ListePOI->PoisChoisis().size();
            p().boites.clear();
            p().reponses << (c == 'd' ? Plateforme::Reponse::Oui : Plateforme::Reponse::Non);
            f().Option1[2]->click();
            f().Validation->click();
            p().reponses.clear();
            QCOMPARE(p().Textes(),
                     n > 1 ? QStringList{QStringLiteral("Supprimer les %1 Poi choisis ? - Delete "
                                                        "the %1 chosen marks?")
                                             .arg(n)}
                           : QStringList());
            QVERIFY(n < 2 || p().boites.constFirst().boutons == Plateforme::Boutons::NonOui);
        } else if (c == 'l') {
            f().Text3->setText(QStringLiteral("L"));
            f().Text4->setText(QStringLiteral("http://l"));
            f().Valider_lien->click();
        } else if (c == 'x') {
            f().ListeLiens->setCurrentRow(0);
            f().Supprimer_Lien->click();
        } else if (c == 'f')
            f().Filtre->setText(argument);
        else if (c == 'u' || c == 'r')
            QTest::keyClick(f().ListePOI, c == 'u' ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
        else if (c == 'o')
            s->OuvrirChemin(s->Chemin(QStringLiteral("marques.gpx")));
        else if (c == 's')
            f().Sauver_Fichier->trigger();
        // Several marks chosen: their names and positions cannot be typed,
        // but for a new mark's.
        const std::vector<int> choisis = f().ListePOI->PoisChoisis();
        const bool saisie = choisis.size() <= 1 || f().Option1[1]->isChecked();
        QCOMPARE(QString::number(f().Nom_WP->isEnabled()) +
                     QString::number(f().Lat_Long->isEnabled()),
                 QString(2, saisie ? '1' : '0'));
        // A choice changed: no command is armed for the marks chosen before.
        // The symbol box shows the symbol the chosen marks share, from its
        // start, or nothing when they differ.
        if (QStringLiteral("cCSA").contains(c)) {
            for (const QRadioButton* o : f().Option1)
                QVERIFY(!o->isChecked());
            QSet<QString> symboles;
            for (const int i : choisis)
                symboles << Table.SymPOI[size_t(i)];
            QCOMPARE(f().Symbole->currentText(),
                     symboles.size() == 1 ? *symboles.begin() : QString());
            QCOMPARE(f().Symbole->lineEdit()->cursorPosition(), 0);
        }
        // One mark chosen: it is the current one, whose name the box shows.
        if (choisis.size() == 1)
            QCOMPARE(QString::number(choisis[0]) + ' ' + f().Nom_WP->text(),
                     QString::number(Declarations::NumPOI) + ' ' +
                         Table.NomPOI[Declarations::NumPOI]);
        if (c == 'u' || c == 'r') {
            QStringList n;
            for (const int i : choisis)
                n << QString::number(i);
            apresAnnulations << QString::number(Declarations::NumPOI) + ':' + n.join(',');
        }
    }
    QStringList marques;
    for (int i = 1; i <= Table.NbPOI; ++i)
        marques << Table.NomPOI[i] + '/' + Table.SymPOI[i] + '/' +
                       QString::number(Table.NbLiens(i));
    QCOMPARE(marques.join(',') + '|' + QString::number(f().Annuler->isEnabled()) +
                 QString::number(f().Retablir->isEnabled()),
             V("attendu"));
    QCOMPARE(apresAnnulations.join(' '), V("choix"));
}

// The saved file's marks as "name:property=value,..." for the properties
// asked, the absent ones left out.
QString Proprietes(const QString& fichier, const std::vector<Gpx::Propriete>& quelles)
{
    const auto t = LireTexte(Lire(fichier));
    QStringList marques;
    for (int i = 1; i <= t->NbPOI; ++i) {
        const Gpx::Proprietes p = Gpx::LireProprietes(t->GardesPOI[size_t(i)].get());
        QStringList valeurs;
        for (const Gpx::Propriete q : quelles)
            if (p[q])
                valeurs << QString::number(int(q)) + '=' + QString::fromStdString(*p[q]);
        marques << t->NomPOI[i] + ':' + valeurs.join(',');
    }
    return marques.join(' ');
}

// Three marks chosen with Ctrl+click, an arrival radius and hidden names
// given to them in one step; then two marks of mixed values, of which only
// the field changed moves; undone, the file is as it was.
void TestCommandes::proprietes()
{
    using P = Gpx::Propriete;
    s->Demarrer();
    s->Ouvrir(Cinq);
    BoiteProprietes& b = *f().PROPRIETES;
    s->Cliquer(f().ListePOI, 0);
    s->Cliquer(f().ListePOI, 2, Qt::ControlModifier);
    s->Cliquer(f().ListePOI, 4, Qt::ControlModifier);
    f().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f()));
    QTest::keyClick(f().ListePOI, Qt::Key_P, Qt::ControlModifier);
    QVERIFY(b.isVisible());
    QCOMPARE(b.Marques(), (std::vector<int>{1, 3, 5}));
    QCOMPARE(b.Nom_Visible->checkState(), Qt::Checked);
    QVERIFY(!b.Nouveau_Guid->isEnabled());
    // The rings' units: NM and km, NM where the marks give none.
    QCOMPARE(b.Anneaux_Unites->count(), 2);
    QCOMPARE(b.Anneaux_Unites->currentText(), QStringLiteral("NM"));
    // Tab leaves the description for the next field; it types no tab.
    b.activateWindow();
    b.Desc_Poi->setFocus();
    QTest::keyClick(b.Desc_Poi, Qt::Key_Tab);
    QVERIFY(!b.Desc_Poi->hasFocus() && !b.Desc_Poi->toPlainText().contains('\t'));
    b.Rayon_Arrivee->setText(QStringLiteral("0.3"));
    b.Nom_Visible->click();
    // km chosen where the marks gave no unit.
    b.Anneaux_Unites->setCurrentIndex(1);
    QTest::keyClick(b.Rayon_Arrivee, Qt::Key_Return);
    QVERIFY(!b.isVisible());
    QVERIFY(p().boites.isEmpty());
    f().Sauver_Fichier->trigger();
    const QString fichier = Declarations::FichierGPX;
    const std::vector<P> vues = {P::Viz, P::VizNom, P::Rayon, P::AnneauxUnites};
    QCOMPARE(Proprietes(fichier, vues),
             QStringLiteral("Un:1=1,2=0,3=0.300,7=1 Deux:1=1,2=1 Trois:1=1,2=0,3=0.300,7=1 "
                            "Quatre:1=1,2=1 Cinq:1=1,2=0,3=0.300,7=1"));
    // Mixed: an empty field with a hint, a partly checked box; only the
    // field changed goes to both marks.
    s->Cliquer(f().ListePOI, 0);
    s->Cliquer(f().ListePOI, 1, Qt::ControlModifier);
    QTest::mouseDClick(f().ListePOI->viewport(), Qt::LeftButton, Qt::ControlModifier,
                       f().ListePOI->visualItemRect(f().ListePOI->item(1)).center());
    QVERIFY(b.isVisible());
    QCOMPARE(b.Marques().size(), size_t(2));
    QVERIFY(b.Rayon_Arrivee->text().isEmpty());
    QVERIFY(!b.Rayon_Arrivee->placeholderText().isEmpty());
    QCOMPARE(b.Nom_Visible->checkState(), Qt::PartiallyChecked);
    QCOMPARE(b.Viz_Poi->checkState(), Qt::Checked);
    b.Viz_Poi->click();
    b.Valider_Proprietes->click();
    f().Sauver_Fichier->trigger();
    QCOMPARE(Proprietes(fichier, vues),
             QStringLiteral("Un:1=0,2=0,3=0.300,7=1 Deux:1=0,2=1 Trois:1=1,2=0,3=0.300,7=1 "
                            "Quatre:1=1,2=1 Cinq:1=1,2=0,3=0.300,7=1"));
    // Each dialog one step: the current and chosen marks come back too.
    f().Annuler->trigger();
    QCOMPARE(f().ListePOI->PoisChoisis(), (std::vector<int>{1, 2}));
    f().Annuler->trigger();
    QCOMPARE(f().ListePOI->PoisChoisis(), (std::vector<int>{1, 3, 5}));
    QVERIFY(!f().Annuler->isEnabled());
    f().Sauver_Fichier->trigger();
    QCOMPARE(Lire(fichier), Cinq);
    // Cancel changes nothing; without a mark chosen, message 1.
    s->Cliquer(f().ListePOI, 3);
    f().Proprietes_Poi->trigger();
    // The GUID shown whole, and not typed into.
    const QString guid = b.Guid_Poi->text();
    QTest::keyClicks(b.Guid_Poi, QStringLiteral("x"));
    QCOMPARE(b.Guid_Poi->text(), guid);
    QVERIFY(b.Guid_Poi->width() >
            b.Guid_Poi->fontMetrics().horizontalAdvance(QString(36, QLatin1Char('0'))));
    b.Station_Maree->setText(QStringLiteral("Brest"));
    b.Annuler_Proprietes->click();
    QVERIFY(!f().Annuler->isEnabled());
    f().ListePOI->clearSelection();
    f().Proprietes_Poi->trigger();
    QCOMPARE(p().Textes(), QStringList{Declarations::MsgBoite[1]});
}

// A refused value: its message names the field, the field takes back its
// former value, the dialog stays open and nothing changes.
void TestCommandes::refusDesProprietes_data()
{
    Tableau(
        {"champ", "valeur", "message"},
        {{"rayon negatif", "Rayon_Arrivee", "-0.1", "« Rayon d'arrivée (milles) » attend"},
         {"rayon illisible", "Rayon_Arrivee", "un mille", "« Rayon d'arrivée (milles) » attend"},
         {"onze cercles", "Anneaux_Nombre", "11", "de 0 à 10 cercles"},
         {"pas negatif", "Anneaux_Pas", "-1", "attend un nombre positif"},
         {"couleur", "Anneaux_Couleur", "rouge", "#RRGGBB"},
         {"echelle decimale", "Echelle_Min", "1.5", "« Échelle minimale, maximale » attend"},
         {"dix cercles", "Anneaux_Nombre", "10", ""}});
}

void TestCommandes::refusDesProprietes()
{
    s->Demarrer();
    s->Ouvrir(
        Document(Wpt("48.1", "-4.1", "t1", "Un")
                     .replace("</extensions>",
                              "\t\t\t<opencpn:arrival_radius>0.200</opencpn:arrival_radius>\r\n"
                              "\t\t\t<opencpn:waypoint_range_rings number=\"25\" units=\"7\"/>\r\n"
                              "\t\t</extensions>")));
    BoiteProprietes& b = *f().PROPRIETES;
    s->Cliquer(f().ListePOI, 0);
    f().Proprietes_Poi->trigger();
    // Shown as read, not written anew.
    QCOMPARE(b.Rayon_Arrivee->text(), QStringLiteral("0.200"));
    QCOMPARE(b.Anneaux_Nombre->text(), QStringLiteral("25"));
    QCOMPARE(b.Anneaux_Unites->currentText(), QStringLiteral("7"));
    auto* champ = b.findChild<QLineEdit*>(V("champ"));
    QVERIFY(champ);
    const QString avant = champ->text();
    champ->setText(V("valeur"));
    b.Valider_Proprietes->setFocus();
    b.Valider_Proprietes->click();
    if (V("message").isEmpty()) {
        QVERIFY(p().boites.isEmpty());
        QVERIFY(f().Annuler->isEnabled());
        return;
    }
    QCOMPARE(p().Textes().size(), 1);
    QVERIFY2(p().Textes().constFirst().contains(V("message")), qPrintable(p().Textes().join('\n')));
    QCOMPARE(champ->text(), avant);
    QVERIFY(b.isVisible());
    // The field is where the typing goes on.
    QCOMPARE(b.focusWidget(), static_cast<QWidget*>(champ));
    QVERIFY(!f().Annuler->isEnabled());
}

// A new mark gets a GUID of its own; marks read keep theirs; the command
// gives one to each mark without, as one step; marks sharing a GUID are
// told once at Open.
void TestCommandes::guids()
{
    const QByteArray guid = "\t\t\t<opencpn:guid>a1b2</opencpn:guid>\r\n\t\t</extensions>";
    s->Demarrer();
    s->Ouvrir(Document(Wpt("48.1", "-4.1", "t1", "Un").replace("\t\t</extensions>", guid) +
                       Wpt("48.2", "-4.2", "t2", "Deux").replace("\t\t</extensions>", guid) +
                       Wpt("48.3", "-4.3", "t3", "Trois")));
    QCOMPARE(p().Textes(), QStringList{Messages::Texte(Messages::GuidsEnDouble).arg(1)});
    p().boites.clear();
    s->Nouveau(QStringLiteral("47.5,-3.5"), QStringLiteral("Quatre"));
    const std::string nouveau = Gpx::GuidDeGarde(Table.GardesPOI[4].get());
    QCOMPARE(nouveau.size(), size_t(36));
    f().Guids_Poi->trigger();
    QCOMPARE(p().Textes(), QStringList{Messages::Texte(Messages::GuidsDonnes).arg(1)});
    QCOMPARE(Gpx::GuidDeGarde(Table.GardesPOI[1].get()), std::string("a1b2"));
    QCOMPARE(Gpx::GuidDeGarde(Table.GardesPOI[4].get()), nouveau);
    QVERIFY(!Gpx::GuidDeGarde(Table.GardesPOI[3].get()).empty());
    f().Annuler->trigger();
    QVERIFY(Gpx::GuidDeGarde(Table.GardesPOI[3].get()).empty());
    // The dialog's "Nouveau GUID" for one mark alone.
    s->Cliquer(f().ListePOI, 1);
    f().Proprietes_Poi->trigger();
    QCOMPARE(f().PROPRIETES->Guid_Poi->text(), QStringLiteral("a1b2"));
    f().PROPRIETES->Nouveau_Guid->click();
    f().PROPRIETES->Valider_Proprietes->click();
    QCOMPARE(ProprietesPOI::GuidsEnDouble(Table), 0);
}

// The map follows the properties: a hidden mark, a hidden name, circles;
// a change in the dialog reaches it at once, and so does its undoing.
void TestCommandes::proprietesSurLaCarte()
{
    p().CarteFactice(1, true);
    s->Demarrer(0);
    QTRY_COMPARE(Entree::EtapeCourante(), Entree::Etape::Terminee);
    auto avec = [](const QByteArray& wpt, const QByteArray& extensions) {
        return QByteArray(wpt).replace("\t\t</extensions>", extensions + "\r\n\t\t</extensions>");
    };
    s->Ouvrir(
        Document(Wpt("48.1", "-4.1", "t1", "Un").replace("<opencpn:viz>1", "<opencpn:viz>0") +
                 avec(Wpt("48.2", "-4.2", "t2", "Deux").replace("viz_name>1", "viz_name>0"),
                      "<opencpn:arrival_radius>0.1</opencpn:arrival_radius>"
                      "<opencpn:waypoint_range_rings visible=\"true\" number=\"3\" step=\"0.5\" "
                      "units=\"0\" colour=\"#00FF00\"/>") +
                 Wpt("48.3", "-4.3", "t3", "Trois")));
    auto marques = [this] {
        return p().carte->Appels("PoserMarques").constLast().split(' ').mid(1).join(' ');
    };
    QCOMPARE(marques(), QStringLiteral("Un|48.1|-4.1|anchorage|masquee "
                                       "Deux|48.2|-4.2|anchorage|sans nom|cercles 4 "
                                       "Trois|48.3|-4.3|anchorage"));
    s->Cliquer(f().ListePOI, 1);
    f().Proprietes_Poi->trigger();
    f().PROPRIETES->Viz_Poi->click();
    f().PROPRIETES->Valider_Proprietes->click();
    QVERIFY(marques().contains("Deux|48.2|-4.2|anchorage|masquee|sans nom Trois"));
    f().Annuler->trigger();
    QVERIFY(marques().contains("|sans nom|cercles 4"));
}

namespace {

// A waypoint with a GUID and what else its extensions hold.
QByteArray AvecGuid(const QByteArray& wpt, const QByteArray& guid, const QByteArray& autres = {})
{
    return QByteArray(wpt).replace("\t\t</extensions>", "\t\t\t<opencpn:guid>" + guid +
                                                            "</opencpn:guid>\r\n" + autres +
                                                            "\t\t</extensions>");
}

} // namespace

// Another file merged through the window: its marks shown in four groups
// before anything changes, a near mark left out, a changed one kept both
// ways; one undo step gives the document back; an unreadable file changes
// nothing.
void TestCommandes::fusion()
{
    s->Demarrer();
    // Nothing to merge into before a file is open.
    f().Fusionner_Fichier->trigger();
    QCOMPARE(p().Textes(), QStringList{Declarations::MsgBoite[7]});
    QVERIFY(p().dialogues.isEmpty() && !f().FUSION->isVisible());
    p().boites.clear();
    s->Ouvrir(Cinq);
    // A route made before the merge and not saved stays, the file's after it.
    f().Voir_Routes->trigger();
    f().ROUTES->Nouvelle_Route->click();
    const QString autre = s->Chemin(QStringLiteral("autre.gpx"));
    QVERIFY(Ecrire(autre, Document(Wpt("48.1", "-4.1", "t1", "UN", Liens(1), "s1") +
                                   Wpt("48.2001", "-4.2", "t2", "Tourelle") +
                                   Wpt("47", "-3", "t6", "Six") + Wpt("91", "-3", "t7", "Sept"))
                              .replace("</gpx>", "\t<rte>\r\n\t</rte>\r\n</gpx>")));
    BoiteFusion& b = *f().FUSION;
    p().fichiers << autre;
    f().Fusionner_Fichier->trigger();
    QVERIFY(b.isVisible());
    // The distance in whole metres, up to a nautical mile.
    QCOMPARE(b.Distance_Fusion->cleanText(), QStringLiteral("20"));
    QCOMPARE(Bornes(b.Distance_Fusion), QStringLiteral("1 1852"));
    // The groups' titles run across the columns, shown whole.
    QStringList groupes;
    for (int g = 0; g < b.Groupes_Fusion->topLevelItemCount(); ++g) {
        groupes << b.Groupes_Fusion->topLevelItem(g)->text(0);
        QVERIFY2(b.Groupes_Fusion->fontMetrics().horizontalAdvance(groupes.last()) <
                     b.Groupes_Fusion->visualRect(b.Groupes_Fusion->model()->index(g, 0)).width(),
                 qPrintable(groupes.last()));
    }
    const QString sansPosition = Messages::Texte(Messages::FusionSansPosition).arg(1);
    QCOMPARE(groupes, (QStringList{"Pareils (1)", "Changés (0)", "Proches (1)",
                                   "Nouveaux (2)" + sansPosition}));
    // The groups that ask for a choice are open.
    QString ouverts;
    for (int g = 0; g < 4; ++g)
        ouverts += b.Groupes_Fusion->topLevelItem(g)->isExpanded() ? '1' : '0';
    QCOMPARE(ouverts, QStringLiteral("0110"));
    QTreeWidgetItem* proche = b.Groupes_Fusion->topLevelItem(2)->child(0);
    QCOMPARE(proche->text(1), QStringLiteral("Deux"));
    // Closer than 11 m, the near mark is new.
    b.Distance_Fusion->setValue(5);
    QCOMPARE(b.Groupes_Fusion->topLevelItem(3)->text(0), "Nouveaux (3)" + sansPosition);
    b.Distance_Fusion->setValue(20);
    b.Groupes_Fusion->topLevelItem(2)->child(0)->setCheckState(0, Qt::Unchecked);
    // Return merges, from the distance as from anywhere in the dialog.
    QTest::keyClick(b.Distance_Fusion, Qt::Key_Return);
    QCOMPARE(p().Textes(),
             QStringList{Messages::Texte(Messages::FusionBilan).arg(2).arg(0).arg(2)});
    // The mark without a position is added as it was read.
    QCOMPARE(int(Table.NbPOI), 7);
    QCOMPARE(Table.NomPOI[6] + '|' + Table.NomPOI[7] + '|' + Table.LatPOI[7],
             QStringLiteral("Six|Sept|91"));
    QCOMPARE(Declarations::LesRoutes.liste.size(), size_t(2));
    // The file's route has no name: listed by its number.
    QCOMPARE(f().ROUTES->ListeRoutes->item(0)->text().section(' ', 0, 1) + '|' +
                 f().ROUTES->ListeRoutes->item(1)->text().section(' ', 0, 0),
             QStringLiteral("Route 1|(2)"));
    f().Annuler->trigger();
    QCOMPARE(int(Table.NbPOI), 5);
    QCOMPARE(Declarations::LesRoutes.liste.size(), size_t(1));
    f().Annuler->trigger();
    QVERIFY(Declarations::LesRoutes.liste.empty());
    f().Sauver_Fichier->trigger();
    QCOMPARE(Lire(Declarations::FichierGPX), Cinq);

    // A changed mark (its GUID, another place) kept both ways: the
    // incoming one with a GUID of its own.
    s->Ouvrir(Document(AvecGuid(Wpt("48.1", "-4.1", "t1", "Un"), "g1")), "guids.gpx");
    QVERIFY(Ecrire(autre, Document(AvecGuid(Wpt("48.2", "-4.1", "t1", "Un"), "g1"))));
    p().boites.clear();
    p().fichiers << autre;
    f().Fusionner_Fichier->trigger();
    QCOMPARE(b.Classement().Nombre(Gpx::Classe::Changee), 1);
    // Every mark with a position: no word of marks without one.
    QCOMPARE(b.Groupes_Fusion->topLevelItem(3)->text(0), QStringLiteral("Nouveaux (0)"));
    b.Choix_Tous->setCurrentIndex(1);
    QCOMPARE(b.ChoixDe(0), Gpx::Choix::Leur);
    // The mark's own choice, in its cell, from the keyboard: F2 opens the
    // list there, Return keeps what is picked.
    QTreeWidgetItem* changee = b.Groupes_Fusion->topLevelItem(1)->child(0);
    b.Groupes_Fusion->setCurrentItem(changee, 2);
    QTest::keyClick(b.Groupes_Fusion, Qt::Key_F2);
    auto* liste = b.Groupes_Fusion->viewport()->findChild<QComboBox*>();
    QVERIFY(liste);
    QCOMPARE(liste->currentIndex(), 1);
    QTest::keyClick(liste, Qt::Key_Down);
    QTest::keyClick(liste, Qt::Key_Return);
    QTRY_COMPARE(changee->text(2), b.Choix_Tous->itemText(2));
    QCOMPARE(b.ChoixDe(0), Gpx::Choix::LesDeux);
    // The names are not edited.
    b.Groupes_Fusion->setCurrentItem(changee, 0);
    QTest::keyClick(b.Groupes_Fusion, Qt::Key_F2);
    QVERIFY(!b.Groupes_Fusion->viewport()->findChild<QLineEdit*>());
    b.Fusionner->click();
    QCOMPARE(int(Table.NbPOI), 2);
    QCOMPARE(Gpx::GuidDeGarde(Table.GardesPOI[1].get()), std::string("g1"));
    const std::string g2 = Gpx::GuidDeGarde(Table.GardesPOI[2].get());
    QVERIFY(!g2.empty() && g2 != "g1");
    QCOMPARE(Table.LatPOI[2], QStringLiteral("48.2"));

    // A folder in place of the file: said, nothing changes.
    p().boites.clear();
    b.hide();
    QVERIFY(QDir().mkpath(s->Chemin(QStringLiteral("dossier.gpx"))));
    p().fichiers << s->Chemin(QStringLiteral("dossier.gpx"));
    f().Fusionner_Fichier->trigger();
    QCOMPARE(p().boites.size(), 1);
    QVERIFY(p().Textes().constFirst().startsWith(Messages::Texte(Messages::LectureEchouee)));
    QVERIFY(p().Textes().constFirst().endsWith(Messages::Texte(Messages::FusionRien)));
    QVERIFY(!b.isVisible());
    QCOMPARE(int(Table.NbPOI), 2);
}

// Duplicates: one group of a GUID's mark and a nearby one of the same name
// merged into the first, which gains the other's links (none twice), its
// description after its own and the route's point; one undo step.
void TestCommandes::doublons()
{
    s->Demarrer();
    s->Ouvrir(Document(
        AvecGuid(Wpt("48", "-4", "t1", "Anse", Liens(1))
                     .replace("\t\t<name>Anse</name>\r\n", "\t\t<name>Anse</name>\r\n\t\t"
                                                           "<desc>Abri</desc>\r\n")
                     .replace("\t\t\t<opencpn:viz>1</opencpn:viz>\r\n", ""),
                 "g1") +
        Wpt("47", "-4", "t2", "Loin") +
        AvecGuid(Wpt("48.000135", "-4", "t3", "ANSE", Liens(2))
                     .replace("\t\t<name>ANSE</name>\r\n",
                              "\t\t<name>ANSE</name>\r\n\t\t<desc>Sable</desc>\r\n"),
                 "g3", "\t\t\t<opencpn:tidestation>Brest</opencpn:tidestation>\r\n")
            .replace("<opencpn:viz>1<", "<opencpn:viz>0<") +
        "\t<rte>\r\n\t\t<name>R</name>\r\n\t\t<rtept lat=\"48.000135\" lon=\"-4\">\r\n\t\t\t<name>"
        "ANSE</name>\r\n\t\t\t<extensions>\r\n\t\t\t\t<opencpn:guid>g3</opencpn:guid>\r\n\t\t\t"
        "</extensions>\r\n\t\t</rtept>\r\n\t</rte>\r\n\t<rte>\r\n\t\t<name>S</name>\r\n"
        "\t\t<rtept lat=\"47.5\" lon=\"-3\"/>\r\n\t</rte>\r\n"));
    BoiteDoublons& b = *f().DOUBLONS;
    f().Doublons_Poi->trigger();
    QVERIFY(b.isVisible());
    QCOMPARE(b.Groupes(), (std::vector<std::vector<int>>{{1, 3}}));
    QCOMPARE(b.Liste_Doublons->item(0)->text(),
             Messages::Texte(Messages::DoublonsGroupe).arg(2).arg("1 Anse, 3 ANSE"));
    QCOMPARE(Bornes(b.Distance_Doublons), QStringLiteral("1 1852"));
    // The two are 15 m apart: not one within 10 m.
    b.Distance_Doublons->setValue(10);
    QVERIFY(b.Groupes().empty());
    b.Distance_Doublons->setValue(20);
    b.Tout_Nom->click();
    QCOMPARE(b.Groupes().size(), size_t(1));
    b.Fusionner_Groupe->click();
    QCOMPARE(p().Textes(), QStringList{Messages::Texte(Messages::DoublonsBilan).arg(1).arg(1)});
    QCOMPARE(int(Table.NbPOI), 2);
    QCOMPARE(f().ListePOI->count(), 2);
    QCOMPARE(Table.NbLiens(1), 2);
    QCOMPARE(Table.LienHref[1][2], QStringLiteral("http://l/2"));
    const Gpx::Proprietes pr = Gpx::LireProprietes(Table.GardesPOI[1].get());
    QCOMPARE(pr[Gpx::Propriete::Desc].value_or(""), std::string("Abri\n\nSable"));
    QCOMPARE(pr[Gpx::Propriete::Maree].value_or(""), std::string("Brest"));
    QCOMPARE(pr[Gpx::Propriete::Guid].value_or(""), std::string("g1"));
    // Shown as the first mark was (no flag), though the other was hidden.
    QVERIFY(!pr[Gpx::Propriete::Viz]);
    QCOMPARE(Declarations::LesRoutes.liste[0].points[0].guid, std::string("g1"));
    // The route that did not pass by the merged mark is written as it was read.
    QVERIFY(Declarations::LesRoutes.liste[0].lue.empty());
    QVERIFY(!Declarations::LesRoutes.liste[1].lue.empty());
    QVERIFY(b.Groupes().empty());
    QVERIFY(!b.Fusionner_Tout->isEnabled());
    f().Annuler->trigger();
    QCOMPARE(int(Table.NbPOI), 3);
    QCOMPARE(Declarations::LesRoutes.liste[0].points[0].guid, std::string("g3"));
}

// The document or the chosen marks written as a layer of the chart
// plotter, in a temporary home of each layout.
void TestCommandes::calque_data()
{
    Tableau({"installations", "reponse", "dossier"},
            {{"aucune: le dossier est fait", "", "", ".opencpn/layers"},
             {"classique", ".opencpn", "", ".opencpn/layers"},
             {"flatpak seul", ".var/app/org.opencpn.OpenCPN/config/opencpn", "",
              ".var/app/org.opencpn.OpenCPN/config/opencpn/layers"},
             {"les deux, oui", ".opencpn;.var/app/org.opencpn.OpenCPN/config/opencpn", "o",
              ".var/app/org.opencpn.OpenCPN/config/opencpn/layers"},
             {"les deux, non", ".opencpn;.var/app/org.opencpn.OpenCPN/config/opencpn", "n",
              ".opencpn/layers"}});
}

void TestCommandes::calque()
{
    QTemporaryDir maison;
    const QByteArray ancienne = qgetenv("HOME");
    qputenv("HOME", maison.path().toUtf8());
    struct Remettre {
        QByteArray h;
        ~Remettre() { qputenv("HOME", h); }
    } remettre{ancienne};
    for (const QString& d : V("installations").split(';', Qt::SkipEmptyParts))
        QVERIFY(QDir(maison.path()).mkpath(d));
    s->Demarrer();
    s->Ouvrir(Cinq);
    s->Cliquer(f().ListePOI, 1);
    s->Cliquer(f().ListePOI, 3, Qt::ControlModifier);
    // The answer to the question between two installations, where there is one.
    auto repondre = [this] {
        if (!V("reponse").isEmpty())
            p().reponses << (V("reponse") == "o" ? Plateforme::Reponse::Oui
                                                 : Plateforme::Reponse::Non);
    };
    repondre();
    p().saisies << QStringLiteral("Bouées/rade");
    f().Exporter_Calque->trigger();
    const QString chemin = QDir(maison.path()).filePath(V("dossier") + "/Bouées_rade.gpx");
    QCOMPARE(p().questions.constFirst(), Messages::Texte(Messages::NomCalque));
    QVERIFY2(QFileInfo::exists(chemin), qPrintable(p().Textes().join('\n')));
    QCOMPARE(p().Textes().constLast(),
             Messages::Texte(Messages::CalqueEcrit).arg(QDir::toNativeSeparators(chemin)).arg(2));
    QCOMPARE(Resume(*LireTexte(Lire(chemin))),
             Resume(*LireTexte(Document(Wpt("48.2", "-4.2", "t2", "Deux", Liens(2), "s2") +
                                        Wpt("48.4", "-4.4", "t4", "Quatre", "", "s4")))));
    // An existing layer is replaced only after a question, No the default.
    p().boites.clear();
    f().ListePOI->clearSelection();
    repondre();
    p().saisies << QStringLiteral("Bouées/rade");
    f().Exporter_Calque->trigger();
    QVERIFY(p().Textes().constLast().contains(QStringLiteral("Bouées_rade.gpx")));
    QCOMPARE(p().boites.constLast().boutons, Plateforme::Boutons::NonOui);
    QCOMPARE(LireTexte(Lire(chemin))->NbPOI, int16_t(2));
    QVERIFY(p().reponses.isEmpty());
    repondre();
    p().reponses << Plateforme::Reponse::Oui;
    p().saisies << QStringLiteral("Bouées/rade");
    f().Exporter_Calque->trigger();
    QCOMPARE(LireTexte(Lire(chemin))->NbPOI, int16_t(5));
    // A folder that cannot be made says which and why.
    p().boites.clear();
    repondre();
    QVERIFY(QFile::remove(chemin));
    QVERIFY(QDir(QFileInfo(chemin).path()).removeRecursively());
    QVERIFY(Ecrire(QFileInfo(chemin).path(), "un fichier"));
    p().saisies << QStringLiteral("Autre");
    f().Exporter_Calque->trigger();
    QVERIFY2(p().Textes().constLast().startsWith(Messages::Texte(Messages::CalqueEchoue)),
             qPrintable(p().Textes().join('\n')));
    QVERIFY(p().Textes().constLast().contains(QDir::toNativeSeparators(QFileInfo(chemin).path())));
    // The name asked for and not given: nothing made, nothing more said.
    QVERIFY(QFile::remove(QFileInfo(chemin).path()));
    p().boites.clear();
    repondre();
    p().saisies << QString();
    f().Exporter_Calque->trigger();
    QCOMPARE(p().boites.size(), V("reponse").isEmpty() ? 0 : 1);
    QVERIFY(!QFileInfo::exists(QFileInfo(chemin).path()));
    // A file without marks has no layer to give.
    s->Ouvrir(Document(""));
    p().boites.clear();
    f().Exporter_Calque->trigger();
    QCOMPARE(p().Textes(), QStringList{Messages::Texte(Messages::ListeVide)});
}

// A map that knows the waypoints: their placemarks follow the table, a
// click on one picks its mark (the filter lets it be seen) without moving
// the view, a drag in modify mode fills the position box.
void TestCommandes::choixSurLaCarte()
{
    p().CarteFactice(1, true);
    s->Demarrer(0);
    QTRY_COMPARE(Entree::EtapeCourante(), Entree::Etape::Terminee);
    QVERIFY(p().carte->suivi);
    s->Ouvrir(Cinq);
    QVERIFY(p().carte->Appels("LoadKmlData").isEmpty());
    QCOMPARE(p().carte->Appels("PoserMarques").value(0).count('|'), 15);
    f().Filtre->setText(QStringLiteral("un"));
    p().carte->appels.clear();
    p().carte->suivi->PlacemarkChoisi(3);
    QVERIFY(f().Filtre->text().isEmpty());
    QCOMPARE(f().ListePOI->PoiChoisi(), 3);
    QCOMPARE(f().Nom_WP->text(), QStringLiteral("Trois"));
    QVERIFY(p().carte->Appels("SetCameraParams").isEmpty());
    QVERIFY(p().carte->appels.contains("MarquerCourante 3 0"));
    f().Option1[0]->click();
    QCOMPARE(p().carte->appels.last(), QStringLiteral("MarquerCourante 3 1"));
    p().carte->suivi->PlacemarkDeplace(3, -4.25, 48.35);
    QCOMPARE(f().Lat_Long->text(), QStringLiteral("48.35,-4.25"));
    QCOMPARE(Table.LatPOI[3], QStringLiteral("48.3"));
    // Leaving the mode without Valider puts the placemark back.
    f().Option1[2]->click();
    QCOMPARE(p().carte->appels.last(), QStringLiteral("MarquerCourante 3 0"));
    f().Option1[0]->click();
    p().carte->suivi->PlacemarkDeplace(3, -4.25, 48.35);
    p().carte->suivi->PlacemarkDeplace(2, -1, 1);
    f().Validation->click();
    QCOMPARE(Table.LatPOI[3] + ',' + Table.LonPOI[3], QStringLiteral("48.35,-4.25"));
    QVERIFY(p().carte->Appels("PoserMarques").last().contains("Trois|48.35|-4.25|s3"));
    // Undone, the map shows the mark where it was, and the view stays.
    p().carte->appels.clear();
    f().Annuler->trigger();
    QVERIFY(p().carte->Appels("PoserMarques").last().contains("Trois|48.3|-4.3|s3"));
    QVERIFY(p().carte->Appels("SetCameraParams").isEmpty());
    f().Retablir->trigger();
    // A mark made here, with nothing kept from a file, shows as the others.
    f().Option1[1]->click();
    f().Lat_Long->setText(QStringLiteral("47.5,-3.1"));
    f().Nom_WP->setText(QStringLiteral("Neuf"));
    f().Validation->click();
    QCOMPARE(p().carte->Appels("PoserMarques").constLast().split(' ').constLast(),
             QStringLiteral("Neuf|47.5|-3.1|"));
    // A pick in the list flies the view there, as before.
    p().carte->appels.clear();
    s->Cliquer(f().ListePOI, 0);
    QCOMPARE(p().carte->Appels("SetCameraParams").size(), 1);
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
    QCOMPARE(p().Textes(), QStringList{M1});
    QCOMPARE(Table.NbPOI, int16_t(5));

    // Ctrl+click or Ctrl+Space on the selected entry leaves it selected.
    s->Cliquer(f().ListePOI, 2);
    s->Cliquer(f().ListePOI, 2, Qt::ControlModifier);
    QTest::keyClick(f().ListePOI, Qt::Key_Space, Qt::ControlModifier);
    QCOMPARE(f().ListePOI->LigneChoisie(), 2);
    f().Gestion_Liens->trigger();
    f().ListeLiens->setFocus(Qt::TabFocusReason);
    QCOMPARE(f().ListeLiens->currentRow(), 0);
    f().Supprimer_Lien->click();
    f().Tester_Lien->click();
    QCOMPARE(p().Textes(), (QStringList{M1, M6, M6}));
    QCOMPARE(Table.NbLiens(3), int16_t(3));
    QVERIFY(p().ouvertures.isEmpty());
}

void TestCommandes::nouveauModifierSupprimer()
{
    s->Demarrer();
    s->Ouvrir(Cinq.chopped(8) + Wpt("47", "-3", "", "SansTemps") + "</gpx>\r\n");
    auto attendue = std::make_unique<PoiTable>(Table);
    // Modify keeps the time stamp, symbol and links; outside "Nouveau Poi" a
    // click into a box changes nothing.
    s->Cliquer(f().ListePOI, 1);
    QTest::mouseClick(f().Nom_WP, Qt::LeftButton);
    QCOMPARE(f().Nom_WP->text(), QStringLiteral("Deux"));
    f().Option1[0]->click();
    f().Lat_Long->setText("47.25,-3.5");
    f().Nom_WP->setText("Deux bis");
    f().Validation->click();
    attendue->LatPOI[2] = QStringLiteral("47.25");
    attendue->LonPOI[2] = QStringLiteral("-3.5");
    attendue->NomPOI[2] = QStringLiteral("Deux bis");
    QCOMPARE(Resume(Table), Resume(*attendue));
    QCOMPARE(f().ListePOI->LigneChoisie(), 1);
    QVERIFY(!f().Option1[0]->isChecked());
    // A waypoint without a time stamp receives one.
    s->Cliquer(f().ListePOI, 5);
    f().Option1[0]->click();
    f().Validation->click();
    attendue->TempsPOI[6] = QStringLiteral("2026-06-21T08:30:05Z");

    // Delete 3 of 6: the rows after it move up; NumPOI then designates the
    // next one, the boxes still show the deleted one.
    s->Cliquer(f().ListePOI, 2);
    f().Option1[2]->click();
    f().Validation->click();
    attendue->SupprimerLigne(3);
    QCOMPARE(Resume(Table), Resume(*attendue));
    QVERIFY(f().ListePOI->selectedItems().isEmpty());
    QCOMPARE(f().Nom_WP->text() + QString::number(NumPOI), QStringLiteral("Trois3"));
    // In "Nouveau Poi" a click into a box empties it, every time.
    f().Option1[1]->click();
    QCOMPARE(f().Nom_WP->text(), QStringLiteral("Entrez ici le nom / Enter Poi's name"));
    for (QLineEdit* b : {f().Nom_WP, f().Lat_Long, f().Nom_WP}) {
        QTest::mouseClick(b, Qt::LeftButton);
        QVERIFY(b->text().isEmpty());
        b->setText("x");
    }
    // Only a click: what is typed then stays.
    QTest::keyClicks(f().Nom_WP, QStringLiteral("Île"));
    QCOMPARE(f().Nom_WP->text(), QStringLiteral("xÎle"));
    // New waypoints start empty, whatever the rows they reuse held; two in
    // the same second share a time stamp; the prompt is a name.
    s->Nouveau(QStringLiteral("1,1"), QStringLiteral("Neuf"));
    s->Nouveau(QStringLiteral("48.6,-4.3"), QStringLiteral("Entrez ici le nom / Enter Poi's name"));
    QCOMPARE(Resume(Table).split('\n').filter(QRegularExpression("^[67]\t")),
             QStringList({"6\t1\t1\t2026-06-21T08:30:05Z\tNeuf\t\t0",
                          "7\t48.6\t-4.3\t2026-06-21T08:30:05Z\tEntrez ici le nom / Enter "
                          "Poi's name\t\t0"}));
    QCOMPARE(f().Lat_Long->text(), QStringLiteral("48.6,-4.3"));
    QVERIFY(p().boites.isEmpty());
}

void TestCommandes::valider_data()
{
    // pois: the file's waypoints ("-": no file); mode: Option1's index (-1
    // none); the position typed; the message, or what the new row stores.
    Tableau({"pois", "mode", "texte", "message", "stocke"},
            {{"correcte", "5", "1", "48.5,-4.3", "", "48.5|-4.3"},
             {"une virgule", "5", "1", "48,5", "", "48|5"},
             {"blancs gardes", "5", "1", "48.5 , -4.3", "", "48.5 | -4.3"},
             {"virgules decimales", "5", "1", "48,5,-4,3", "M10"},
             {"point-virgule", "5", "1", "48.5;-4.3", "", "48.5|-4.3"},
             {"en marin", "5", "1", "48°23,43'N 4°29.16'O", "", "48.3905|-4.486"},
             {"latitude hors de la Terre", "5", "1", "95,10", "M13"},
             {"soixante minutes", "5", "1", "48°60'N 4°W", "M13"},
             {"vide", "5", "1", "", "M11"},
             {"latitude nulle", "5", "1", "0,-4.3", "M11"},
             {"longitude nulle", "5", "1", "48.5,0", "M11"},
             {"mot", "5", "1", "48.5,abc", "M13"},
             {"mot avant zero", "5", "1", "abc,0", "M13"},
             {"France", "5", "1", "France", "M11"},
             {"modifier sans fichier", "-", "0", "48.5,-4.3", "M7"},
             {"nouveau sans fichier", "-", "1", "48.5,-4.3", "M7"},
             {"modifier sans poi courant", "5", "0", "48.5,-4.3", M1},
             {"supprimer sans poi courant", "5", "2", "48.5,-4.3", M1},
             {"sans mode", "5", "-1", "48.5,-4.3", "Choisir Modifier, Ajouter ou Supprimer"},
             {"vingt millieme", "19999", "1", "48.5,-4.3", "", "48.5|-4.3"},
             {"vingt mille et un", "20000", "1", "48.5,-4.3", "20000M2"}});
}

// "Valider" after an Open, no waypoint selected; positions are read with "."
// whatever the user's locale.
void TestCommandes::valider()
{
    const int pois = V("pois").toInt();
    const bool refuse = !V("message").isEmpty();
    s->Demarrer();
    QByteArray wpts;
    for (int i = 1; i <= pois; ++i)
        wpts += Wpt("1", "2", "t" + QByteArray::number(i), "P");
    if (V("pois") != "-")
        s->Ouvrir(Document(wpts));
    const QString avant = Resume(Table);
    if (V("mode") != "-1")
        f().Option1[V("mode").toInt()]->click();
    f().Lat_Long->setText(V("texte"));
    f().Nom_WP->setText("Brest");
    const QLocale locale;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    f().Validation->click();
    QLocale::setDefault(locale);
    QCOMPARE(p().Textes().join(""), V("message"));
    QCOMPARE(Resume(Table) == avant, refuse);
    // A new waypoint the store step refused stays, to be mended and applied.
    const bool garde = refuse && V("mode") == "1" && V("message") != "20000M2";
    QCOMPARE(f().Option1[1]->isChecked(), garde);
    QVERIFY(!garde || f().Lat_Long->text() == V("texte"));
    if (!refuse)
        QCOMPARE(Table.LatPOI[pois + 1] + '|' + Table.LonPOI[pois + 1] + '|' +
                     QString::number(NumPOI) + QString::number(f().ListePOI->count()),
                 V("stocke") + '|' + QString::number(pois + 1).repeated(2));
}

void TestCommandes::liens()
{
    s->Demarrer();
    s->Ouvrir(Deux(0));
    f().Gestion_Liens->trigger();
    f().Fichier_lien->click();
    QCOMPARE(p().Textes(), (QStringList{M1, M1}));
    QVERIFY(f().POIS->isVisible() && p().dialogues.size() == 1);
    f().ListePOI->setCurrentRow(1);
    f().Gestion_Liens->trigger();
    QVERIFY(f().LIENS->isVisible() && !f().POIS->isVisible());
    QCOMPARE(f().LIENS->pos(), QPoint(Twips::VersPixels(360), Twips::VersPixels(120)));
    // The file to link: every file, names without a dot included.
    p().fichiers << QString() << QStringLiteral("/home/é.pdf") << QStringLiteral("/home/Plan_rade");
    f().Text2->setText("avant");
    for (int i = 0; i < 3; ++i)
        f().Fichier_lien->click();
    QCOMPARE(p().dialogues.last(), Plateforme::Dialogue::FichierExistant);
    QCOMPARE(p().filtres.last(), QStringLiteral("*"));
    QCOMPARE(p().Textes().last(), QStringLiteral("Fichier, chemin ou URL accentué invalide"));
    QCOMPARE(f().Text2->text(), QStringLiteral("/home/Plan_rade"));
    p().boites.clear();
    // Both pairs at once: the web link first.
    f().Text1->setText("Plan");
    f().Text3->setText("Port");
    f().Text4->setText("http://m.fr/?a=1&b=2");
    f().Valider_lien->click();
    QCOMPARE(s->Liens(), (QStringList{"1  Port    (Web)", "2  Plan    (File)"}));
    QCOMPARE(Table.LienHref[2][1] + ' ' + Table.LienHref[2][2],
             QStringLiteral("http://m.fr/?a=1&amp;b=2 file:///home/Plan_rade"));
    for (QLineEdit* b : {f().Text1, f().Text2, f().Text3, f().Text4})
        QVERIFY(b->text().isEmpty());
    s->Cliquer(f().ListeLiens, 0);
    f().Tester_Lien->click();
    QCOMPARE(p().ouvertures, QStringList{QStringLiteral("http://m.fr/?a=1&b=2")});
    // The link chosen is the one deleted, from the list and the mark.
    s->Cliquer(f().ListeLiens, 1);
    f().Supprimer_Lien->click();
    QCOMPARE(s->Liens(), QStringList{"1  Port    (Web)"});
    QCOMPARE(QString::number(Table.NbLiens(2)) + Table.LienTexte[2][1], QStringLiteral("1Port"));
    QVERIFY(f().ListeLiens->selectedItems().isEmpty());
    // Up to 50 links; the 51st is refused.
    for (int k = 2; k <= MaxLiens + 1; ++k) {
        f().Text3->setText(QStringLiteral("W%1").arg(k));
        f().Text4->setText(QStringLiteral("http://w/%1").arg(k));
        f().Valider_lien->click();
    }
    QCOMPARE(p().Textes(), QStringList{QStringLiteral("M17")});
    QCOMPARE(QString::number(Table.NbLiens(2)) + Table.LienTexte[2][1] + Table.LienTexte[2][50],
             QStringLiteral("50PortW50"));
    f().Montre_Fichier->trigger();
    QVERIFY(f().POIS->isVisible() && !f().LIENS->isVisible());
}

void TestCommandes::validationDesLiens_data()
{
    // Text1 to Text4 before and after, the message.
    const QString m3 = QStringLiteral("Fichier, chemin ou URL accentué invalide : ");
    Tableau({"boites", "restent", "message"},
            {{"tout vide", "|||", "|||", ""},
             {"adresse seule", "|||http://x", "|||", "M14"},
             {"accent dans le chemin", "Plan|/home/é/p.pdf|Port|http://p", "Plan||Port|http://p",
              m3 + "/home/é/p.pdf"},
             {"tabulation dans le texte", "a\tb|||", "|||", m3 + "a\tb"}});
}

void TestCommandes::validationDesLiens()
{
    s->Demarrer();
    s->Ouvrir(Deux());
    f().ListePOI->setCurrentRow(1);
    const QList<QLineEdit*> boites = {f().Text1, f().Text2, f().Text3, f().Text4};
    for (int i = 0; i < 4; ++i)
        boites[i]->setText(V("boites").section('|', i, i));
    f().Valider_lien->click();
    QCOMPARE(p().Textes().join(""), V("message"));
    QCOMPARE(f().ListeLiens->count(), 2);
    QStringList restent;
    for (QLineEdit* b : boites)
        restent << b->text();
    QCOMPARE(restent.join('|'), V("restent"));
}

// The description editor: its file beside the GPX file, the link to it put
// first once, the text saved as it was loaded, the window where it was left.
void TestCommandes::description()
{
    s->Demarrer();
    // No file yet, so no mark: the links wait for one.
    f().Gestion_Liens->trigger();
    QCOMPARE(p().Textes(), QStringList{M1});
    QVERIFY(!f().LIENS->isVisible());
    p().boites.clear();
    s->Ouvrir(Deux(0));
    const QString fichier = s->Chemin("Anse Nord.txt");
    TexteLien1& d = *s->d;
    f().Descriptif->click();
    QCOMPARE(p().Textes(), QStringList{M1});
    QVERIFY(!d.isVisible());
    p().boites.clear();
    f().ListePOI->setCurrentRow(1);
    f().Gestion_Liens->trigger();
    f().Descriptif->click();
    QVERIFY(d.isVisible() && d.Text1->toPlainText().isEmpty());
    d.Enregistrer->click();
    QCOMPARE(Lire(fichier), QByteArray("\r\n"));
    QCOMPARE(s->Liens(), QStringList{"1  Description    (File)"});
    QCOMPARE(Table.LienHref[2][1], "file://" + fichier);
    // The only link deleted, the next save puts it back, once.
    s->Cliquer(f().ListeLiens, 0);
    f().Supprimer_Lien->click();
    d.Enregistrer->click();
    d.Enregistrer->click();
    QCOMPARE(s->Liens(), QStringList{"1  Description    (File)"});
    // The link is undone, the file written stays; undone again, the link
    // deleted comes back.
    f().Annuler->trigger();
    QVERIFY(s->Liens().isEmpty() && QFile::exists(fichier));
    f().Annuler->trigger();
    QCOMPARE(s->Liens(), QStringList{"1  Description    (File)"});

    // A file written elsewhere, LF line ends and non-breaking spaces: saved
    // unchanged, it keeps every character, one CR LF line end more.
    QVERIFY(Ecrire(fichier, "Mouillage\xA0: abrit\xE9\nligne 2\r\n"));
    d.move(Twips::VersPixels(3000), Twips::VersPixels(600));
    d.Fermer->click();
    QVERIFY(!d.isVisible());
    f().Descriptif->click();
    QCOMPARE(d.pos(), QPoint(Twips::VersPixels(3000), Twips::VersPixels(600)));
    QCOMPARE(d.Text1->toPlainText(), QStringLiteral("Mouillage : abrité\nligne 2\n"));
    d.Enregistrer->click();
    QCOMPARE(Lire(fichier), QByteArray("Mouillage\xA0: abrit\xE9\r\nligne 2\r\n\r\n"));
    QVERIFY(p().boites.isEmpty());

    // A character Windows-1252 lacks: refused, naming the file and the
    // character, and nothing written.
    d.Text1->setPlainText(QStringLiteral("Łeba"));
    d.Enregistrer->click();
    QVERIFY(p().boites.size() == 1 && p().boites[0].texte.contains(fichier) &&
            p().boites[0].texte.contains("U+0141"));
    QCOMPARE(Lire(fichier).left(9), QByteArray("Mouillage"));
    // Saved without a name in the name box: the file is written, no link.
    f().Nom_WP->clear();
    s->Cliquer(f().ListeLiens, 0);
    f().Supprimer_Lien->click();
    d.Text1->setPlainText(QStringLiteral("Leba"));
    d.Enregistrer->click();
    QCOMPARE(p().Textes().last(), QStringLiteral("M15"));
    QCOMPARE(QByteArray::number(Table.NbLiens(2)) + Lire(fichier), QByteArray("0Leba\r\n"));
    // With 50 links, the description link comes first and none is lost.
    for (int k = 1; k <= MaxLiens; ++k)
        Table.InsererLien(2, k, QString(), QStringLiteral("L%1").arg(k));
    f().Nom_WP->setText(QStringLiteral("Anse Nord"));
    d.Enregistrer->click();
    QCOMPARE(QString::number(Table.NbLiens(2)) + Table.LienTexte[2][1] + Table.LienTexte[2][51],
             QStringLiteral("51DescriptionL50"));
    // The window stays open on a waypoint that is then deleted.
    f().Option1[2]->click();
    f().Validation->click();
    QFile::remove(fichier);
    d.Enregistrer->click();
    QCOMPARE(p().Textes().last(), M1);
    QVERIFY(!QFile::exists(fichier));
}

void TestCommandes::quitter_data()
{
    Tableau({"reponse", "fichier"},
            {{"non", "2"}, {"oui puis annule", "1"}, {"oui puis nom", "1", "quitte.gpx"}});
}

void TestCommandes::quitter()
{
    Reglages::Ecrire("Autre", "efface");
    Reglages::Ecrire(Reglages::TexteLien1_MargeG, "4500");
    s->Demarrer();
    f().move(Twips::VersPixels(1500), Twips::VersPixels(2250));
    p().reponses << Plateforme::Reponse(V("reponse").toInt());
    p().fichiers << (V("fichier").isEmpty() ? QString() : s->Chemin(V("fichier")));
    f().Quitter->trigger();
    QCOMPARE(p().Textes(), QStringList{QStringLiteral("Sauver le fichier ?")});
    QCOMPARE(p().boites[0].boutons, Plateforme::Boutons::OuiNon);
    QCOMPARE(p().dialogues.size(), 2 - V("reponse").toInt());
    QCOMPARE(QFile::exists(s->Chemin("quitte.gpx")), !V("fichier").isEmpty());
    auto cles = Reglages::Ouvrir();
    cles->beginGroup(QLatin1String(Reglages::Groupe));
    QCOMPARE(cles->childKeys(), (QStringList{"Creer_POI_Haut", "Creer_POI_MargeG", "Lang",
                                             "TexteLien1_Haut", "TexteLien1_MargeG"}));
    // The description window never opened keeps its stored place.
    QCOMPARE(Twips::VersPixels(cles->value("TexteLien1_MargeG").toInt()), Twips::VersPixels(4500));
    QCOMPARE(Twips::VersPixels(cles->value("Creer_POI_Haut").toInt()), Twips::VersPixels(2250));
    QVERIFY(p().fins == 1 && !f().isVisible());
}

void TestCommandes::languesEtAide()
{
    s->Demarrer();
    // Without a language file, the program's own messages have their text,
    // the last one too, and Help opens the page shipped with the program.
    QVERIFY(!MsgBoite[size_t(Messages::Dernier)].isEmpty());
    f().Aide->trigger();
    QCOMPARE(p().ouvertures, QStringList{Entree::AdresseAideParDefaut()});
    p().ouvertures.clear();
    const QString legende = f().Label1->text();
    for (QPushButton* b : {f().LangEN, f().LangEN, f().LangSelf, f().LangFR})
        b->click();
    QCOMPARE(p().Textes(), (QStringList{"Restart quaylight", "Restart quaylight",
                                        "Restart quaylight", "Relancer le logiciel"}));
    QCOMPARE(f().Label1->text(), legende);
    // Only Quit stores the language, and the next start uses it.
    QVERIFY(Reglages::Lire(Reglages::Lang).isEmpty());
    f().LangEN->click();
    f().Quitter->trigger();
    Donnees::DefinirDossiers({QStringLiteral(QUAYLIGHT_LANG_SOURCE)});
    s->Demarrer();
    QCOMPARE(f().Label1->text(), QStringLiteral("POIs of the chosen file"));
    QCOMPARE(MsgBoite[4], QStringLiteral("Save the file?"));
    QCOMPARE(f().windowTitle(), QStringLiteral("Quaylight (V1.2i)"));
    f().Aide->trigger();
    QCOMPARE(p().ouvertures, QStringList{Declarations::AdresseAide});
    // The page shipped with the program is the default.
    Donnees::DefinirDossiers({});
    QCOMPARE(Entree::AdresseAideParDefaut(), "file://" + QDir::currentPath() + "/help/index.html");
}

void TestCommandes::appliquerLigne_data()
{
    // controle: a name, "MsgBoite$(n)", "Aide" or "D:name"
    const QString l1 = QStringLiteral("Liste des Poi du fichier choisi");
    Tableau({"ligne", "controle", "texte", "bulle"},
            {{"option par un code quelconque", "X[Option1(0)]/Modifier/Modifier le Poi",
              "Option1(0)", "Modifier", "Modifier le Poi"},
             {"code minuscule", "c[Label1]/a/b", "Label1", l1, ""},
             {"menu sans bulle", "C[Ouvrir_Fichier]/Open/bulle", "Ouvrir_Fichier", "Open", ""},
             {"texte de boite", "T[Lat_Long]/48.5,-4.3/Pos", "Lat_Long", "48.5,-4.3", "Pos"},
             {"legende de boite ignoree", "C[Nom_WP]/x/Name", "Nom_WP", "", "Name"},
             {"message 32", "M[ MsgBoite$(32) ]/a/", "MsgBoite$(32)", "a", ""},
             {"message 0", "M[MsgBoite$(0)]/a/", "MsgBoite$(0)", "", ""},
             {"message 51", "M[MsgBoite$(51)]/a/", "MsgBoite$(7)", "M7", ""},
             {"message 07", "M[MsgBoite$(07)]/a/", "MsgBoite$(7)", "M7", ""},
             {"dernier message", "M[MsgBoite$(80)]/a/", "MsgBoite$(80)", "a", ""},
             {"message au-dela du dernier", "M[MsgBoite$(81)]/a/", "MsgBoite$(80)", "", ""},
             {"description", "D[Fermer]/Close/", "D:Fermer", "Close", ""},
             {"aide", "A[Aide]/https://example.org/aide/", "Aide", "https://example.org/aide", ""},
             {"inconnu", "C[Rien]/a/b", "Label1", l1, ""}});
}

void TestCommandes::appliquerLigne()
{
    const QString controle = V("controle");
    s->Demarrer();
    const QString fichier = s->Chemin("ligne.txt");
    // LF line ends are line ends too.
    QVERIFY(Ecrire(fichier, "titre\n" + V("ligne").toLatin1() + "\n"));
    Langues::Charger(fichier, f(), *s->d);
    QString vu;
    QObject* o = controle.startsWith(QLatin1String("D:")) ? s->d->Controle(controle.mid(2))
                                                          : f().Controle(controle);
    if (controle.startsWith(QLatin1String("MsgBoite$(")))
        vu = MsgBoite[size_t(controle.mid(10).chopped(1).toInt())];
    else if (controle == QLatin1String("Aide"))
        vu = Declarations::AdresseAide;
    else if (auto* b = qobject_cast<QAbstractButton*>(o))
        vu = b->text();
    else if (auto* l = qobject_cast<QLabel*>(o))
        vu = l->text();
    else if (auto* a = qobject_cast<QAction*>(o))
        vu = a->text();
    else if (auto* m = qobject_cast<QMenu*>(o))
        vu = m->title();
    else if (auto* e = qobject_cast<QLineEdit*>(o))
        vu = e->text();
    QCOMPARE(vu, V("texte"));
    if (auto* w = qobject_cast<QWidget*>(o); w && !qobject_cast<QMenu*>(o))
        QCOMPARE(w->toolTip(), V("bulle"));
}

void TestCommandes::fichiersLivres_data()
{
    Tableau({"fichier"},
            {{"FR", "langueFR.txt"}, {"EN", "langueEN.txt"}, {"SELF", "langueSELF.txt"}});
}

// Each shipped language file gives every caption and every message the
// program shows; the French one gives the windows as they are laid out.
void TestCommandes::fichiersLivres()
{
    s->Demarrer();
    const QStringList miseEnPage = Legendes(f(), *s->d);
    for (QString& m : MsgBoite)
        m.clear();
    for (const char* globe : {"quaylight.globe.PrendrePosition", "quaylight.globe.CarteMarine",
                              "quaylight.globe.HorsLigne"})
        qApp->setProperty(globe, QVariant());
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
    Langues::Charger(QStringLiteral(QUAYLIGHT_LANG_SOURCE "/") + V("fichier"), f(), *s->d);
    for (int n = 1; n <= Messages::Dernier; ++n)
        QVERIFY2(!MsgBoite[size_t(n)].isEmpty(), qPrintable(QString::number(n)));
    for (const char* globe : {"quaylight.globe.PrendrePosition", "quaylight.globe.CarteMarine",
                              "quaylight.globe.HorsLigne"})
        QVERIFY2(!qApp->property(globe).toString().isEmpty(), globe);
    // What the layout shows, the file gives back: the French file the same
    // texts (it may add tool tips), the others a text of their own.
    const QStringList legendes = Legendes(f(), *s->d);
    for (int i = 0; i < legendes.size(); ++i) {
        const QStringList avant = miseEnPage[i].split('|'), apres = legendes[i].split('|');
        for (int j = 0; j < avant.size(); ++j)
            QVERIFY2(avant[j].isEmpty() || (V("fichier") == "langueFR.txt" ? apres[j] == avant[j]
                                                                           : !apres[j].isEmpty()),
                     qPrintable(miseEnPage[i] + " / " + legendes[i]));
    }
    // The bar's height follows its font once the window is laid out again.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    for (QAction* a : f().menuBar()->actions()) {
        const QRect r = f().menuBar()->actionGeometry(a);
        QVERIFY2(f().menuBar()->rect().contains(r),
                 qPrintable(QStringLiteral("%1: %2,%3 %4x%5 in %6 (%7 pt)")
                                .arg(a->text())
                                .arg(r.x())
                                .arg(r.y())
                                .arg(r.width())
                                .arg(r.height())
                                .arg(f().menuBar()->width())
                                .arg(f().menuBar()->font().pointSizeF())));
    }
    // Shrunk only as far as it must: in this window, not to the floor.
    QVERIFY2(f().menuBar()->font().pointSizeF() > 6,
             qPrintable(QString::number(f().menuBar()->font().pointSizeF())));
    // Panel captions in bold, what the panels hold not.
    QVERIFY(f().POIS->font().bold() && f().LIENS->font().bold());
    QVERIFY(!f().Nom_WP->font().bold() && !f().ListePOI->font().bold() &&
            !f().ListeLiens->font().bold());
}

// The map steps, against a map that records every call. A selection flies
// there; the edit commands add no placemark.
void TestCommandes::cadrage_data()
{
    // The waypoints; the view's latitude, longitude and range; the placemarks.
    QTest::addColumn<QByteArray>("pois");
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QStringList>("placemarks");
    auto r = [](const char* nom, const QByteArray& pois, const char* camera, QStringList kml) {
        QTest::newRow(nom) << pois << QString::fromLatin1(camera) << kml;
    };
    r("un poi", Marque("48.3905", "-4.4860", "Brest"), "48.3905 -4.486 2000",
      {Placemark("Brest", "-4.4860,48.3905")});
    r("deux pois", Marque("48.0", "-4.0", "A") + Marque("48.2", "-4.5", "B"), "48.1 -4.25 105000",
      {Placemark("A", "-4.0,48.0"), Placemark("B", "-4.5,48.2")});
    r("aucun poi", "", "0 0 2000", {});
    r("latitude mot", Marque("abc", "2", "X") + Marque("1", "3", "Y"), "0.5 2.5 300000",
      {Placemark("X", "2,abc"), Placemark("Y", "3,1")});
    r("esperluette et chevron", Marque("1", "2", "Quai &amp; &lt;Port&gt;"), "1 2 2000",
      {Placemark("Quai & <Port>", "2,1")});
}

void TestCommandes::cadrage()
{
    QFETCH(QByteArray, pois);
    QFETCH(QString, camera);
    QFETCH(QStringList, placemarks);
    DemarrerCarte();
    s->Ouvrir(Document(pois));
    QCOMPARE(carte().Appels("IsInitialized").size(), 2); // start-up, then Open's guard
    const QStringList appels = carte().Appels("SetCameraParams");
    QCOMPARE(appels.size(), 1);
    const QStringList v = appels[0].split(' '), attendu = camera.split(' ');
    // Framed in single precision.
    for (int i : {0, 1, 2}) {
        const double a = attendu[i].toDouble();
        QVERIFY2(qAbs(v[i == 2 ? 5 : i + 1].toDouble() - a) < 1e-5 * qMax(1.0, qAbs(a)),
                 qPrintable(appels[0]));
    }
    QCOMPARE(v[3] + v[4] + v[6] + v[7] + v[8], QStringLiteral("01005"));
    QCOMPARE(carte().Appels("LoadKmlData"), placemarks);
    QVERIFY(p().boites.isEmpty());
}

void TestCommandes::carteSelectionEtEdition()
{
    DemarrerCarte();
    s->Ouvrir(Document(Marque("48.5", "-4.25", "A") + Marque("zero", "3", "B")));
    carte().appels.clear();
    f().ListePOI->setCurrentRow(0);
    f().ListePOI->setCurrentRow(1);
    QCOMPARE(carte().Appels("SetCameraParams"),
             (QStringList{"SetCameraParams 48.5 -4.25 0 1 2000 0 0 5",
                          "SetCameraParams 0 3 0 1 2000 0 0 5"}));
    s->Nouveau(QStringLiteral("48.3,-4.3"), QStringLiteral("C"));
    f().Option1[2]->click();
    f().Validation->click();
    QCOMPARE(Table.NbPOI, int16_t(2));
    QVERIFY(carte().Appels("LoadKmlData").isEmpty());
}

void TestCommandes::sansConnexion_data()
{
    Tableau({"reponse"}, {{"oui", "1"}, {"non", "2"}});
}

// Without a connection each map step asks first.
void TestCommandes::sansConnexion()
{
    QFETCH(QString, reponse);
    const bool oui = reponse == "1";
    DemarrerCarte(0);
    QByteArray cinq;
    for (int i = 1; i <= 5; ++i)
        cinq += Marque(QByteArray::number(40 + i), "-4", "P" + QByteArray::number(i));
    for (int i = 0; i < 6; ++i)
        p().reponses << Plateforme::Reponse(reponse.toInt());
    s->Ouvrir(Document(cinq));
    for (int i = 0; i < 5; ++i)
        f().ListePOI->setCurrentRow(i);
    QCOMPARE(p().boites.size(), 6);
    for (const auto& b : p().boites)
        QVERIFY(b.texte == QStringLiteral("M16") && b.boutons == Plateforme::Boutons::OuiNon);
    QCOMPARE(carte().Appels("SetCameraParams").size(), oui ? 6 : 0);
    QCOMPARE(carte().Appels("LoadKmlData").size(), oui ? 5 : 0);
}

void TestCommandes::capture_data()
{
    Tableau({"carte"}, {{"capture", "oui"}, {"pas de carte"}, {"pas de camera", "sans camera"}});
}

// The captured position uses "." in every locale, and can be stored; a map
// that cannot tell its centre leaves the box as it was.
void TestCommandes::capture()
{
    const QLocale avant;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    if (V("carte").isEmpty())
        s->Demarrer(0); // no map can be created
    else
        DemarrerCarte();
    s->Ouvrir(Document(Marque("48.1", "-4.1", "A")));
    f().ListePOI->setCurrentRow(0);
    if (!V("carte").isEmpty()) {
        carte().camera = {48.5123456789012345, -4.3};
        carte().cameraEchoue = V("carte") != "oui";
        carte().appels.clear();
    }
    p().boites.clear();
    f().Lat_Long->setText("avant");
    f().Pickup_X_Y->click();
    QLocale::setDefault(avant);
    if (V("carte") != "oui") {
        QCOMPARE(p().Textes(), QStringList{QStringLiteral("M16")});
        QCOMPARE(f().Lat_Long->text(), QStringLiteral("avant"));
        return;
    }
    QCOMPARE(f().Lat_Long->text(), QStringLiteral("48.5123456789012,-4.3"));
    QCOMPARE(carte().appels,
             (QStringList{"GetCamera 1", "LoadKmlData <Placemark><Point><coordinates>-4.3,"
                                         "48.5123456789012,0</coordinates></Point></Placemark>"}));
    f().Option1[0]->click();
    f().Validation->click();
    QVERIFY(p().boites.isEmpty());
    QCOMPARE(Table.LatPOI[1] + Table.LonPOI[1], QStringLiteral("48.5123456789012-4.3"));
}

// The seam on a real desktop: message boxes and file dialogs as they open,
// the desktop's open action through xdg-open, the connection check.
void TestCommandes::initTestCase()
{
    Session::Preparer();
    // A stand-in for xdg-open that writes down what it was asked to open;
    // the toolkit looks for it once and keeps its path.
    trace = bin.filePath("trace");
    const QString script = bin.filePath("xdg-open");
    QVERIFY(
        OutilsGPX::Ecrire(script, "#!/bin/sh\nprintf '%s' \"$1\" > '" + trace.toUtf8() + "'\n"));
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", bin.path().toUtf8() + ':' + qgetenv("PATH"));
    qunsetenv("BROWSER");
}

void TestCommandes::message_data()
{
    // Buttons (Plateforme::Boutons), the button pressed (QMessageBox's, 0
    // for Escape, -1 for Return), the answer (Plateforme::Reponse), the icon.
    Tableau({"boutons", "bouton", "reponse", "icone"},
            {{"ok", "0", "1024", "0", "0"},
             {"non par echap", "1", "0", "2", "4"},
             {"oui par defaut", "1", "-1", "1", "4"},
             {"non par defaut", "3", "-1", "2", "4"},
             {"abandon", "2", "262144", "3", "2"},
             {"reessayer par echap", "2", "0", "4", "2"}});
}

void TestCommandes::message()
{
    QString vu;
    QuandModal([&vu](QWidget* w) {
        auto* boite = qobject_cast<QMessageBox*>(w);
        vu = QStringLiteral("%1|%2|%3").arg(boite->windowTitle(), boite->text()).arg(boite->icon());
        if (V("bouton") == "-1")
            QTest::keyClick(boite, Qt::Key_Return);
        else if (V("bouton") != "0")
            boite->button(QMessageBox::StandardButton(V("bouton").toInt()))->click();
        else
            QTest::keyClick(boite, Qt::Key_Escape);
    });
    QCOMPARE(int(qt.Message(nullptr, QStringLiteral("Sauver ?"),
                            Plateforme::Boutons(V("boutons").toInt()))),
             V("reponse").toInt());
    QCOMPARE(vu, "Quaylight|Sauver ?|" + V("icone"));
}

void TestCommandes::dialogue_data()
{
    // The dialog (Plateforme::Dialogue) and its filter; the name typed; its
    // mode, accept mode, filters and options as the user meets them.
    Tableau({"genre", "filtre", "nom", "attendu"},
            {{"ouvrir un nouveau fichier", "0", "*.gpx", "Nouveau.gpx", "0 0 *.gpx propre"},
             {"enregistrer sous", "1", "*.gpx", "Copie.gpx", "0 1 *.gpx"},
             {"fichier a lier", "2", "*", "Plan_rade", "1 0 *"}});
}

// Each dialog in its mode; the name typed by the user is what comes back.
void TestCommandes::dialogue()
{
    const QString nom = V("nom");
    QTemporaryDir dossier;
    QVERIFY(OutilsGPX::Ecrire(dossier.filePath("Plan_rade"), "x"));
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

void TestCommandes::ouvrirShell_data()
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
void TestCommandes::ouvrirShell()
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
void TestCommandes::connexion()
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

void TestCommandes::routes_data()
{
    // Commands on the routes of a chart plotter's file (marks Le Conquet,
    // Lampaul, Molène), then each route's points and the one chosen (the
    // first once the panel, shown, has the keys). R n,
    // P k: a click on route n, on point k; c n, C n: a click, with Ctrl, on
    // mark n; a: add the marks, i: insert them before the point; x: Delete,
    // h, b: Ctrl+Up, Ctrl+Down in the leg table; H, B, X: the buttons that
    // move the point up, down, or take it out; v: reverse; N name: a new
    // route named by typing; S: delete the route (Oui); d n: delete mark n
    // (Oui); u, r: Ctrl+Z, Ctrl+Y; w: save and open again; n name, A: a new
    // route and the marks added by the window's keys, Ctrl+Shift+N and
    // Ctrl+Shift+A; p text: the chosen point placed at a typed position;
    // f text: typed in the marks' filter. Where given, the point chosen
    // after them, and the messages shown (by number).
    const QString lues = QStringLiteral("Tour des îles(Le Conquet,001,Molène,Lampaul)|"
                                        "Retour(Lampaul,Le Conquet,Hors carte)|Seul(Unique)");
    Tableau({"commandes", "attendu", "point", "messages"},
            {{"rien", "", lues + "|0"},
             {"par les touches", "c 2;n Aber;c 1;C 0;A", lues + "|Aber(Le Conquet,Lampaul)|3"},
             {"route vide", "N Aber;X;v;p 48.1,-4.1", lues + "|Aber()|3", "", "1"},
             {"position illisible", "R 0;P 1;p 48 nord", lues + "|0", "1", "13"},
             {"ajouter", "R 2;c 2;C 1;a", lues.chopped(12) + "Seul(Unique,Lampaul,Molène)|2", "2"},
             {"ajouter, annuler", "R 2;c 2;C 1;a;u", lues + "|2"},
             // A filter that shows no mark leaves none to add: said.
             {"ajouter sans marque", "R 2;c 2;f zzz;a;i", lues + "|2", "", "1 1"},
             {"inserer", "R 1;P 1;c 0;i",
              "Tour des îles(Le Conquet,001,Molène,Lampaul)|"
              "Retour(Lampaul,Le Conquet,Le Conquet,Hors carte)|Seul(Unique)|1",
              "1"},
             {"retirer, annuler, retablir", "R 0;P 1;x;u;r",
              "Tour des îles(Le Conquet,Molène,Lampaul)|"
              "Retour(Lampaul,Le Conquet,Hors carte)|Seul(Unique)|0"},
             {"monter, descendre", "R 0;P 2;h;h;b",
              "Tour des îles(Le Conquet,Molène,001,Lampaul)|"
              "Retour(Lampaul,Le Conquet,Hors carte)|Seul(Unique)|0"},
             {"par les boutons", "R 0;P 2;H;H;B;P 0;X",
              "Tour des îles(Molène,001,Lampaul)|"
              "Retour(Lampaul,Le Conquet,Hors carte)|Seul(Unique)|0"},
             // The first point up, the last one down: nothing moves.
             {"aux bouts", "R 0;P 0;h;P 3;b", lues + "|0"},
             {"inverser", "R 0;v",
              "Tour des îles(Lampaul,Molène,001,Le Conquet)|"
              "Retour(Lampaul,Le Conquet,Hors carte)|Seul(Unique)|0"},
             {"nouvelle", "N Aber;c 1;a", lues + "|Aber(Lampaul)|3"},
             {"nouvelle, annuler", "N Aber;u;u", lues + "|2"},
             {"nouvelle sans nom tape", "N;c 1;a", lues + "|Route 4(Lampaul)|3", "0"},
             {"supprimer la route, annuler", "R 1;S;u", lues + "|1"},
             {"supprimer un Poi des routes", "d 0",
              "Tour des îles(001,Molène,Lampaul)|"
              "Retour(Lampaul,Hors carte)|Seul(Unique)|0"},
             {"supprimer un Poi, annuler", "d 0;u", lues + "|0"},
             // A file left without routes, then a new one: saved.
             {"toutes supprimees, une nouvelle", "R 0;S;R 0;S;R 0;S;w;N Aber;c 1;a;w",
              "Aber(Lampaul)|-1"},
             {"enregistrer et rouvrir", "R 2;c 2;a;R 0;v;w",
              "Tour des îles(Lampaul,Molène,001,Le Conquet)|"
              "Retour(Lampaul,Le Conquet,Hors carte)|Seul(Unique,Molène)|-1"}});
}

void TestCommandes::routes()
{
    const QByteArray fichier = Lire(QUAYLIGHT_SOURCE "/tests/data/gpx/opencpn-routes.gpx");
    s->Demarrer();
    s->Ouvrir(fichier);
    f().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f()));
    QVERIFY(!f().ROUTES->isVisible());
    f().move(700, 100);
    QTRY_COMPARE(f().pos(), QPoint(700, 100));
    const QPoint marques = f().POIS->mapToGlobal(QPoint());
    QTest::keyClick(&f(), Qt::Key_R, Qt::ControlModifier);
    QVERIFY(f().ROUTES->isVisible() && f().POIS->isVisible());
    QVERIFY(f().centralWidget()->width() >= Twips::VersPixels(3900) + 680);
    // The window grew on its left: the marks stay where they were.
    QTRY_COMPARE(f().POIS->mapToGlobal(QPoint()), marques);
    PanneauRoutes& r = *f().ROUTES;
    QTableWidget* table = r.TableTroncons;
    const QString lues = QStringLiteral("Tour des îles(Le Conquet,001,Molène,Lampaul)|"
                                        "Retour(Lampaul,Le Conquet,Hors carte)|Seul(Unique)");
    QStringList messages;
    for (const QString& commande : V("commandes").split(';', Qt::SkipEmptyParts)) {
        const QChar c = commande.at(0);
        const QString argument = commande.mid(2);
        p().boites.clear();
        if (c == 'R')
            s->Cliquer(r.ListeRoutes, argument.toInt());
        else if (c == 'P')
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                              table->visualItemRect(table->item(argument.toInt(), 1)).center());
        else if (c == 'c' || c == 'C')
            s->Cliquer(f().ListePOI, argument.toInt(),
                       c == 'c' ? Qt::NoModifier : Qt::ControlModifier);
        else if (c == 'a')
            r.Ajouter_Poi_Route->click();
        else if (c == 'i')
            r.Inserer_Poi_Route->click();
        else if (c == 'x' || c == 'h' || c == 'b') {
            table->setFocus();
            QTest::keyClick(table,
                            c == 'x'   ? Qt::Key_Delete
                            : c == 'h' ? Qt::Key_Up
                                       : Qt::Key_Down,
                            c == 'x' ? Qt::NoModifier : Qt::ControlModifier);
        } else if (c == 'H' || c == 'B' || c == 'X')
            (c == 'H' ? r.Monter_Point : c == 'B' ? r.Descendre_Point : r.Retirer_Point)->click();
        else if (c == 'v')
            r.Inverser_Route->click();
        else if (c == 'N' || c == 'n') {
            if (c == 'N')
                r.Nouvelle_Route->click();
            else
                QTest::keyClick(f().ListePOI, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
            QVERIFY(r.Nom_Route->hasFocus());
            QTest::keyClicks(r.Nom_Route, argument);
            QTest::keyClick(r.Nom_Route, Qt::Key_Return);
        } else if (c == 'S') {
            p().reponses << Plateforme::Reponse::Oui;
            r.Supprimer_Route->click();
            QCOMPARE(p().boites.value(0).boutons, Plateforme::Boutons::NonOui);
        } else if (c == 'd') {
            s->Cliquer(f().ListePOI, argument.toInt());
            p().reponses << Plateforme::Reponse::Oui;
            f().Option1[2]->click();
            f().Validation->click();
            QCOMPARE(p().Textes(), QStringList{Messages::Texte(Messages::PoiDansRoutes).arg(2)});
        } else if (c == 'u' || c == 'r')
            QTest::keyClick(&f(), c == 'u' ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
        else if (c == 'w') {
            f().Sauver_Fichier->trigger();
            s->OuvrirChemin(s->Chemin("marques.gpx"));
        } else if (c == 'A')
            QTest::keyClick(f().ListePOI, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        else if (c == 'f')
            QTest::keyClicks(f().Filtre, argument);
        else if (c == 'p') {
            r.Position_Point->setText(argument);
            r.Placer_Point->click();
        }
        if (!QStringLiteral("Sd").contains(c))
            messages << p().Textes();
        p().reponses.clear();
    }
    QStringList attendus;
    for (const QString& n : V("messages").split(' ', Qt::SkipEmptyParts))
        attendus << Declarations::MsgBoite[size_t(n.toInt())];
    QCOMPARE(messages, attendus);
    auto resume = [] {
        QStringList routes;
        const auto index = Routes::Indexer(Declarations::Table);
        for (int k = 0; k < int(Declarations::LesRoutes.liste.size()); ++k) {
            QStringList noms;
            for (const auto& l : Declarations::LesRoutes.Lignes(Declarations::Table, index, k))
                noms << l.point.nom;
            routes << QString::fromStdString(Declarations::LesRoutes.liste[size_t(k)].nom) + '(' +
                          noms.join(',') + ')';
        }
        return routes.join('|');
    };
    const QString apres = resume();
    QCOMPARE(apres + '|' + QString::number(r.RouteChoisie()), V("attendu"));
    if (!V("point").isEmpty())
        QCOMPARE(table->currentRow(), V("point").toInt());
    // Every step undone gives the file's routes back, and redone, the same
    // routes again (a save and a new opening forget the steps; the rows
    // that undo check their own).
    if (!V("commandes").contains('w') && !V("commandes").contains('u')) {
        while (f().Annuler->isEnabled())
            f().Annuler->trigger();
        QCOMPARE(resume(), lues);
        while (f().Retablir->isEnabled())
            f().Retablir->trigger();
        QCOMPARE(resume(), apres);
    }
    QCOMPARE(r.ListeRoutes->count(), int(Declarations::LesRoutes.liste.size()));
    if (r.RouteChoisie() >= 0)
        QCOMPARE(table->rowCount(),
                 int(Declarations::LesRoutes.liste[size_t(r.RouteChoisie())].points.size()));
}

// The leg table as the sailor reads it, and the planned speed and departure
// typed: a refused one says so and stays as it was.
void TestCommandes::tableDesTroncons()
{
    s->Demarrer();
    s->Ouvrir(Lire(QUAYLIGHT_SOURCE "/tests/data/gpx/opencpn-routes.gpx"));
    f().Voir_Routes->trigger();
    PanneauRoutes& r = *f().ROUTES;
    s->Cliquer(r.ListeRoutes, 0);
    QCOMPARE(r.ListeRoutes->item(0)->text(), QStringLiteral("Tour des îles — 4 pts — 22.505 NM"));
    auto ligne = [&r](int k) {
        QStringList cellules;
        for (int c = 0; c < r.TableTroncons->columnCount(); ++c)
            cellules << r.TableTroncons->item(k, c)->text();
        return cellules.join('|');
    };
    QCOMPARE(ligne(0), QStringLiteral("1|Le Conquet|48.358300000,-4.566200000|||0.000|0:00|"
                                      "2025-06-01 06:00"));
    QCOMPARE(ligne(1), QStringLiteral("2|001 *|48.380000000,-4.800000000|9.444|277.9°|9.444|1:34|"
                                      "2025-06-01 07:34"));
    QCOMPARE(ligne(3).section('|', 3), QStringLiteral("6.946|303.3°|22.505|3:45|2025-06-01 09:45"));
    QCOMPARE(r.Totaux_Route->text(), QStringLiteral("Total : 22.505 NM, 3:45"));
    // The legs are read, not typed; a click takes one whole line.
    r.TableTroncons->setCurrentCell(1, 1);
    QTest::keyClick(r.TableTroncons, Qt::Key_F2);
    const auto* editeur = r.TableTroncons->viewport()->findChild<QLineEdit*>();
    QVERIFY(!editeur || !editeur->isVisible());
    QTest::mouseClick(r.TableTroncons->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      r.TableTroncons->visualItemRect(r.TableTroncons->item(3, 2)).center());
    QCOMPARE(r.TableTroncons->selectedItems().size(), r.TableTroncons->columnCount());
    QCOMPARE(r.TableTroncons->selectedItems().constFirst()->row(), 3);
    // The columns fill the table: the last one takes the room left.
    QVERIFY2(r.TableTroncons->horizontalHeader()->length() >= r.TableTroncons->viewport()->width(),
             qPrintable(QStringLiteral("%1 of %2")
                            .arg(r.TableTroncons->horizontalHeader()->length())
                            .arg(r.TableTroncons->viewport()->width())));
    const Tableau_Saisies saisies[] = {{r.Vitesse_Route, "0", Messages::VitesseRefusee},
                                       {r.Vitesse_Route, "vite", Messages::VitesseRefusee},
                                       {r.Depart_Route, "demain", Messages::DepartRefuse},
                                       {r.Depart_Route, "", 0},
                                       {r.Depart_Route, "2025-06-02T04:00:00Z", 0},
                                       {r.Vitesse_Route, "7,5", 0},
                                       {r.Depart_Route, "2025-06-02 05:00", 0}};
    for (const auto& [boite, texte, message] : saisies) {
        p().boites.clear();
        boite->setFocus();
        boite->selectAll();
        QTest::keyClick(boite, Qt::Key_Backspace);
        QTest::keyClicks(boite, QString::fromLatin1(texte));
        QTest::keyClick(boite, Qt::Key_Return);
        QCOMPARE(p().Textes(), message ? QStringList{Messages::Texte(message)} : QStringList());
    }
    QCOMPARE(r.Vitesse_Route->text(), QStringLiteral("7.5"));
    QCOMPARE(Declarations::LesRoutes.liste[0].vitesse, 7.5);
    QCOMPARE(ligne(3).section('|', 6), QStringLiteral("3:00|2025-06-02 08:00"));
    // The route point of the line "Hors carte" has no position: "?" in its leg.
    s->Cliquer(r.ListeRoutes, 1);
    QCOMPARE(ligne(2).section('|', 2, 4), QStringLiteral("?|?|?"));
    // A free point is placed by typing; a mark's point is not.
    s->Cliquer(r.ListeRoutes, 0);
    r.TableTroncons->setCurrentCell(1, 0);
    r.Position_Point->setText(QStringLiteral("48°23' N 4°48,6' W"));
    QTest::keyClick(r.Position_Point, Qt::Key_Return);
    QCOMPARE(ligne(1).section('|', 2, 2), QStringLiteral("48.383333333,-4.81"));
    QCOMPARE(r.TableTroncons->currentRow(), 1);
    r.TableTroncons->setCurrentCell(0, 0);
    p().boites.clear();
    r.Placer_Point->click();
    QCOMPARE(p().Textes(), QStringList{Messages::Texte(Messages::PointDeMarque)});
    // The table made again keeps its current line, the first one too.
    for (const int ligneCourante : {2, 0}) {
        r.TableTroncons->setCurrentCell(ligneCourante, 0);
        r.Vitesse_Route->setText(QString::number(7 + ligneCourante));
        QTest::keyClick(r.Vitesse_Route, Qt::Key_Return);
        QCOMPARE(r.TableTroncons->currentRow(), ligneCourante);
    }
}

// The window's size is kept beside its position, and a window left with its
// routes shown opens with them.
void TestCommandes::tailleGardee()
{
    s->Demarrer();
    f().Voir_Routes->trigger();
    f().resize(f().size() + QSize(40, 60));
    const QSize taille = f().size();
    p().reponses << Plateforme::Reponse::Non;
    f().Quitter->trigger();
    auto cles = Reglages::Ouvrir();
    cles->beginGroup(QLatin1String(Reglages::Groupe));
    QVERIFY(cles->contains("Creer_POI_Largeur") && cles->contains("Creer_POI_Hauteur"));
    s->Demarrer();
    QCOMPARE(f().size(), taille);
    QVERIFY(!f().ROUTES->isHidden() && f().Voir_Routes->isChecked());
    QCOMPARE(f().ListePOI->height(), Twips::VersPixels(3375) + 60);
    // One side at its least, the other not: the size is kept all the same.
    const QSize etroite(f().minimumSizeHint().width(), taille.height());
    f().resize(etroite);
    p().reponses << Plateforme::Reponse::Non;
    f().Quitter->trigger();
    s->Demarrer();
    QCOMPARE(f().size(), etroite);
}

// The routes on the map: a line each, the chosen one standing out, the
// tracks read only; in the build mode a click on a mark or on the water adds
// to the chosen route, a free point dragged moves, Escape ends the mode.
void TestCommandes::routesSurLaCarte()
{
    p().CarteFactice(1, true);
    s->Demarrer(0);
    QTRY_COMPARE(Entree::EtapeCourante(), Entree::Etape::Terminee);
    QVERIFY(carte().suiviRoutes == f().ROUTES);
    QByteArray fichier = Lire(QUAYLIGHT_SOURCE "/tests/data/gpx/opencpn-routes.gpx");
    fichier.replace("</gpx>", "<trk><trkseg><trkpt lat=\"48.1\" lon=\"-4.1\"/>"
                              "<trkpt lat=\"48.2\" lon=\"-4.2\"/></trkseg></trk></gpx>");
    s->Ouvrir(fichier);
    // Routes and tracks are shown: no message says they are not.
    QCOMPARE(p().Textes(), QStringList());
    auto resume = [this] {
        QStringList l;
        for (const LigneGE& ligne : carte().lignes)
            l << QStringLiteral("%1%2%3")
                     .arg(ligne.trace     ? (ligne.choisie ? "tC" : "t")
                          : ligne.choisie ? "C"
                                          : "r")
                     .arg(ligne.points.size())
                     .arg(ligne.points.empty() ? QString()
                                               : QStringLiteral("@%1").arg(ligne.points[0].second));
        return l.join(' ');
    };
    // The point off the Earth is not drawn.
    QCOMPARE(resume(), QStringLiteral("t2@48.1 r4@48.3583 r2@48.4595 r1@48"));
    f().Voir_Routes->trigger();
    PanneauRoutes& r = *f().ROUTES;
    s->Cliquer(r.ListeRoutes, 0);
    QCOMPARE(resume(), QStringLiteral("t2@48.1 C4@48.3583 r2@48.4595 r1@48"));
    r.Construire_Route->click();
    QVERIFY(carte().construction);
    QCOMPARE(carte().libres, (std::vector<bool>{false, true, false, false}));
    carte().suiviRoutes->MarqueAjoutee(3);
    carte().suiviRoutes->PointAjoute(-4.7, 48.31);
    // A number no mark has (one left from before a change) adds nothing.
    carte().suiviRoutes->MarqueAjoutee(0);
    carte().suiviRoutes->MarqueAjoutee(Table.NbPOI + 1);
    QCOMPARE(resume(), QStringLiteral("t2@48.1 C6@48.3583 r2@48.4595 r1@48"));
    QCOMPARE(r.TableTroncons->item(5, 1)->text(), QStringLiteral("002 *"));
    QCOMPARE(carte().libres.back(), true);
    carte().suiviRoutes->PointDeplace(5, -4.75, 48.32);
    QCOMPARE(r.TableTroncons->item(5, 2)->text(), QStringLiteral("48.32,-4.75"));
    // A mark's point does not move from the map.
    carte().suiviRoutes->PointDeplace(0, -4.75, 48.32);
    QCOMPARE(r.TableTroncons->item(0, 2)->text(), QStringLiteral("48.358300000,-4.566200000"));
    // Three steps, undone one by one.
    f().Annuler->trigger();
    QCOMPARE(r.TableTroncons->item(5, 2)->text(), QStringLiteral("48.31,-4.7"));
    f().Annuler->trigger();
    f().Annuler->trigger();
    QCOMPARE(resume(), QStringLiteral("t2@48.1 C4@48.3583 r2@48.4595 r1@48"));
    carte().suiviRoutes->ConstructionFinie();
    QVERIFY(!carte().construction && !r.Construire_Route->isChecked());
    // The panel put away ends the mode too.
    r.Construire_Route->click();
    f().Voir_Routes->trigger();
    QVERIFY(!carte().construction);
}

QTEST_MAIN(TestCommandes)
#include "test_commandes.moc"
