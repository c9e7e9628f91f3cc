#include "ui/Creer_POI.h"
#include "ui/TexteLien1.h"
#include "ui/Twips.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

// The windows as laid out: every control reachable by its layout name, with
// its caption, tool tip and place.
class TestFenetres : public QObject {
    Q_OBJECT
private slots:
    void controles_data();
    void controles();
    void menus_data();
    void menus();
    void fenetrePrincipale();
    void ordreTabulation();
    void couleurs();
    void fenetreDescription();
    void descriptionSeFermeParProgrammeSeulement();
};

namespace {

QString Texte(QObject* o)
{
    if (auto* b = qobject_cast<QAbstractButton*>(o))
        return b->text();
    if (auto* l = qobject_cast<QLabel*>(o))
        return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(o))
        return g->title();
    if (auto* e = qobject_cast<QLineEdit*>(o))
        return e->text();
    return QString();
}

QRect EnTwips(int g, int h, int l, int ht)
{
    return QRect(Twips::VersPixels(g), Twips::VersPixels(h), Twips::VersPixels(l),
                 Twips::VersPixels(ht));
}

// The next control that Tab reaches.
QWidget* Suivant(QWidget* w)
{
    do
        w = w->nextInFocusChain();
    while (!(w->focusPolicy() & Qt::TabFocus));
    return w;
}

} // namespace

void TestFenetres::controles_data()
{
    QTest::addColumn<QString>("nom");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("bulle");
    QTest::addColumn<QRect>("place");

    auto ligne = [](const char* nom, const char* parent, const QString& texte, const QString& bulle,
                    QRect place) {
        QTest::newRow(nom) << QString::fromLatin1(nom) << QString::fromLatin1(parent) << texte
                           << bulle << place;
    };
    const QString rien;
    ligne("Google", "ZoneClient", "Utiliser Google Earth ?", rien, EnTwips(720, 1800, 2295, 975));
    ligne("Option2(0)", "Google", "Oui", rien, EnTwips(120, 360, 855, 495));
    ligne("Option2(1)", "Google", "Non", rien, EnTwips(1320, 360, 855, 495));
    ligne("POIS", "ZoneClient", "Gestion des Poi", rien, EnTwips(240, 120, 3375, 6855));
    ligne("LangFR", "POIS", rien, rien, EnTwips(2040, 0, 375, 255));
    ligne("LangEN", "POIS", rien, rien, EnTwips(2400, 0, 375, 255));
    ligne("LangSelf", "POIS", rien, rien, EnTwips(2760, 0, 495, 255));
    ligne("Label2", "POIS", "Fichier des Poi", rien, EnTwips(120, 360, 3135, 255));
    ligne("LeNomFichier", "POIS", rien, rien, EnTwips(120, 600, 3135, 375));
    ligne("Label1", "POIS", "Liste des Poi du fichier choisi", rien, EnTwips(120, 1080, 3135, 255));
    ligne("ListePOI", "POIS", rien, "Liste des Poi du fichier \"gpx\" choisi",
          EnTwips(120, 1320, 3135, 3765));
    ligne("Lat_Long", "POIS", rien, "Latitude longitude", EnTwips(120, 5160, 2655, 375));
    ligne("Pickup_X_Y", "POIS", "<<<", "Capturer longitude latitude Google Earth",
          EnTwips(2760, 5160, 495, 375));
    ligne("Nom_WP", "POIS", rien, "Nom du Poi", EnTwips(120, 5640, 3135, 375));
    ligne("Option1(0)", "POIS", "Modifier le Poi",
          "Permet de modifier Longitude-Latitude et nom du  Poi sélectionné",
          EnTwips(120, 6000, 1575, 375));
    ligne("Option1(1)", "POIS", "Nouveau Poi",
          "Permet de créer un nouveau Poi dans le fichier \"gpx\" choisi",
          EnTwips(1800, 6000, 1455, 375));
    ligne("Option1(2)", "POIS", "Supprimer le Poi", "Supprime de Poi sélectionné",
          EnTwips(120, 6360, 1575, 375));
    ligne("Validation", "POIS", "Valider",
          "Valide l'ensemble des modifications de la boite de saisie",
          EnTwips(1800, 6360, 1455, 375));
    ligne("LIENS", "ZoneClient", "Gestion des liens", rien, EnTwips(4200, 120, 3375, 6855));
    ligne("Label9", "LIENS", "Nom du POI concerné", rien, EnTwips(240, 360, 2895, 255));
    ligne("Text7", "LIENS", rien, rien, EnTwips(120, 600, 3135, 375));
    ligne("Descriptif", "LIENS", "Créer-éditer descriptif détaillé",
          "Permet d'éditer ou de modifier un fichier de texte décrivant les caractéristiques "
          "essentielles du Poi sélectionné",
          EnTwips(120, 1080, 3135, 375));
    ligne("Label4", "LIENS", "Nom du lien internet à ajouter", rien, EnTwips(240, 1680, 2895, 255));
    ligne("Text3", "LIENS", rien,
          "Définir le nom qu'on donne à un lien internet associé au Poi sélectionné",
          EnTwips(120, 1920, 3135, 285));
    ligne("Label5", "LIENS", "URL du lien internet à ajouter",
          "URL du lien internet (copié-collé à partir du navigateur internet)",
          EnTwips(240, 2280, 2895, 255));
    ligne("Text4", "LIENS", rien, rien, EnTwips(120, 2490, 3135, 285));
    ligne("Label6", "LIENS", "Nom du lien fichier à ajouter au POI", rien,
          EnTwips(240, 3000, 2895, 255));
    ligne("Text1", "LIENS", rien,
          "Définir le nom qu'on donne à un lien \"fichier\" associé au Poi sélectionné",
          EnTwips(120, 3210, 3135, 285));
    ligne("Label7", "LIENS", "Fichier à lier au POI", rien, EnTwips(240, 3600, 2895, 255));
    ligne("Text2", "LIENS", rien, rien, EnTwips(120, 3780, 2655, 315));
    ligne("Fichier_lien", "LIENS", "<<<",
          "Permet de chercher dans le PC le fichier qu'on va lier au Poi sélectionné",
          EnTwips(2760, 3780, 495, 315));
    ligne("Valider_lien", "LIENS", "Valider",
          "Valide l'ensemble des modifications de la boite de saisie",
          EnTwips(120, 4200, 3135, 375));
    ligne("Label8", "LIENS", "Liste des liens du Poi", rien, EnTwips(240, 4680, 2895, 255));
    ligne("ListeLiens", "LIENS", rien,
          "Liste des liens du Poi sélectionné. Limité à  6 pour rester compatible avec OpenCPN",
          EnTwips(120, 4920, 3135, 1230));
    ligne("Tester_Lien", "LIENS", "Consulter le lien",
          "Permet de consulter le lien sélectionné dans la liste des liens",
          EnTwips(120, 6360, 1575, 375));
    ligne("Supprimer_Lien", "LIENS", "Supprimer le lien",
          "Supprime le lien sélectionné dans la liste des liens", EnTwips(1800, 6360, 1455, 375));
}

void TestFenetres::controles()
{
    QFETCH(QString, nom);
    QFETCH(QString, parent);
    QFETCH(QString, texte);
    QFETCH(QString, bulle);
    QFETCH(QRect, place);

    Creer_POI f;
    auto* w = qobject_cast<QWidget*>(f.Controle(nom));
    QVERIFY2(w, qPrintable(nom));
    QCOMPARE(w->objectName(), nom);
    QCOMPARE(w->parentWidget()->objectName(), parent);
    QCOMPARE(Texte(w), texte);
    QCOMPARE(w->toolTip(), bulle);
    QCOMPARE(w->geometry(), place);
}

void TestFenetres::menus_data()
{
    QTest::addColumn<QString>("nom");
    QTest::addColumn<QString>("texte");
    QTest::addColumn<bool>("dansFichier");
    QTest::newRow("Ouvrir_Fichier") << "Ouvrir_Fichier"
                                    << "Ouvrir ou créer un fichier \"gpx\"" << true;
    QTest::newRow("Sauver_Fichier") << "Sauver_Fichier"
                                    << "Enregistrer" << true;
    QTest::newRow("Sauver_sous") << "Sauver_sous"
                                 << "Enregistrer sous ..." << true;
    QTest::newRow("Montre_Fichier") << "Montre_Fichier"
                                    << "Voir GPX" << false;
    QTest::newRow("Gestion_Liens") << "Gestion_Liens"
                                   << "Liens du Poi" << false;
    QTest::newRow("Aide") << "Aide"
                          << "Aide" << false;
    QTest::newRow("Quitter") << "Quitter"
                             << "Quitter" << false;
}

void TestFenetres::menus()
{
    QFETCH(QString, nom);
    QFETCH(QString, texte);
    QFETCH(bool, dansFichier);
    Creer_POI f;
    auto* action = qobject_cast<QAction*>(f.Controle(nom));
    QVERIFY(action);
    QCOMPARE(action->text(), texte);
    auto* menu = qobject_cast<QMenu*>(f.Controle(QStringLiteral("Menu_Fichier")));
    QVERIFY(menu);
    QCOMPARE(menu->title(), QStringLiteral("Fichier"));
    QCOMPARE(menu->actions().contains(action), dansFichier);
    QCOMPARE(f.menuBar()->actions().contains(action), !dansFichier);
}

void TestFenetres::fenetrePrincipale()
{
    Creer_POI f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(f.windowTitle(), QStringLiteral("Quaylight (V1.2i)"));
    QVERIFY(!f.windowIcon().isNull());
    QCOMPARE(f.centralWidget()->size(), QSize(Twips::VersPixels(3900), Twips::VersPixels(7185)));
    QCOMPARE(f.minimumSize(), f.maximumSize());
    QVERIFY(!(f.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(f.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(f.Google->isVisible());
    QVERIFY(f.POIS->isVisible());
    QVERIFY(!f.LIENS->isVisible());
    QVERIFY(f.POIS->font().bold());
    QVERIFY(!f.Label2->font().bold());
    for (auto* bouton : {f.LangFR, f.LangEN, f.LangSelf}) {
        QVERIFY(bouton->text().isEmpty());
        QVERIFY(!bouton->icon().isNull());
    }
    QCOMPARE(f.LangFR->iconSize(), QSize(20, 12));
    QCOMPARE(f.LangSelf->iconSize(), QSize(25, 17));
    QVERIFY(f.Controle(QStringLiteral("NoSuchControl")) == nullptr);
    // Every menu bar entry shows; none hides behind an overflow button.
    for (QAction* a : f.menuBar()->actions()) {
        const QRect place = f.menuBar()->actionGeometry(a);
        QVERIFY2(!place.isEmpty() && f.menuBar()->rect().contains(place), qPrintable(a->text()));
    }
}

void TestFenetres::ordreTabulation()
{
    Creer_POI f;
    f.LIENS->show();
    // The focus chain follows the layout's tab indexes.
    const QList<QWidget*> attendu = {
        f.LeNomFichier,   f.ListePOI,   f.Lat_Long,     f.Nom_WP,       f.Option1[0],
        f.Option1[1],     f.Option1[2], f.Validation,   f.Text3,        f.Text4,
        f.Text1,          f.Descriptif, f.Valider_lien, f.ListeLiens,   f.Tester_Lien,
        f.Supprimer_Lien, f.Text7,      f.Pickup_X_Y,   f.Fichier_lien, f.Text2,
        f.LangFR,         f.LangEN,     f.LangSelf,     f.Option2[0],   f.Option2[1]};
    for (int i = 1; i < attendu.size(); ++i)
        QCOMPARE(Suivant(attendu[i - 1])->objectName(), attendu[i]->objectName());
}

void TestFenetres::couleurs()
{
    Creer_POI f;
    QCOMPARE(f.centralWidget()->palette().color(QPalette::Window), QColor(224, 224, 224));
    QCOMPARE(f.Validation->palette().color(QPalette::Button), QColor(192, 192, 255));
    QCOMPARE(f.Valider_lien->palette().color(QPalette::Button), QColor(192, 192, 255));
    QCOMPARE(f.Google->palette().color(QPalette::WindowText), QColor(Qt::black));
}

void TestFenetres::fenetreDescription()
{
    TexteLien1 d;
    QCOMPARE(d.windowTitle(), QStringLiteral("Saisie du texte de description"));
    QVERIFY(d.windowFlags() & Qt::Tool);
    QCOMPARE(d.size(), QSize(Twips::VersPixels(8220), Twips::VersPixels(3210)));
    QCOMPARE(d.minimumSize(), d.maximumSize());
    auto* enregistrer = qobject_cast<QAbstractButton*>(d.Controle(QStringLiteral("Enregistrer")));
    auto* fermer = qobject_cast<QAbstractButton*>(d.Controle(QStringLiteral("Fermer")));
    auto* texte = qobject_cast<QPlainTextEdit*>(d.Controle(QStringLiteral("Text1")));
    QVERIFY(enregistrer && fermer && texte);
    QCOMPARE(enregistrer->text(), QStringLiteral("Enregistrer"));
    QCOMPARE(fermer->text(), QStringLiteral("Fermer"));
    QCOMPARE(enregistrer->geometry(), EnTwips(0, 0, 4095, 375));
    QCOMPARE(fermer->geometry(), EnTwips(4080, 0, 4095, 375));
    QCOMPARE(texte->geometry(), EnTwips(0, 360, 8175, 2775));
    QCOMPARE(texte->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(Suivant(texte), enregistrer);
    QCOMPARE(Suivant(enregistrer), fermer);
}

void TestFenetres::descriptionSeFermeParProgrammeSeulement()
{
    TexteLien1 d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    d.close(); // the close box
    QVERIFY(d.isVisible());
    d.FermerParProgramme();
    QVERIFY(!d.isVisible());
}

QTEST_MAIN(TestFenetres)
#include "test_fenetres.moc"
