// SPDX-License-Identifier: GPL-3.0-or-later
// The real globe under a virtual X server, alone and behind the editor.
#include "Outils.h"
#include "app/Entree.h"
#include "earth/Carte.h"
#include "earth/globe/IconesMarques.h"
#include "editing/Nombres.h"
#include "shell/ApplicationGE.h"
#include "shell/Declarations.h"
#include "ui/BoiteProprietes.h"
#include "ui/BoiteSymbole.h"
#include "ui/Creer_POI.h"
#include "ui/ListeMarques.h"
#include "ui/PanneauRoutes.h"

#include <GeographicLib/Geodesic.hpp>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTableWidget>
#include <QTcpServer>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>
#include <cmath>
#include <marble/AbstractFloatItem.h>
#include <marble/GeoDataTreeModel.h>
#include <marble/MarbleMap.h>
#include <marble/MarbleModel.h>

namespace {

QWidget* Fenetre()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("Globe"))
            return w;
    return nullptr;
}

bool Contient(const QAbstractItemModel& modele, const QModelIndex& parent, const QString& nom)
{
    for (int r = 0; r < modele.rowCount(parent); ++r) {
        const QModelIndex i = modele.index(r, 0, parent);
        if (i.data(Qt::DisplayRole).toString() == nom || Contient(modele, i, nom))
            return true;
    }
    return false;
}

} // namespace

class TestGlobe : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase() { serveur.kill(), serveur.waitForFinished(); }
    void sansIssue();
    void editeurAvecLeGlobe();
    void icones();

private:
    // Marble's folder, where the sea chart is written and its tiles kept,
    // and the tile server the sea chart loads from.
    QTemporaryDir donnees;
    QProcess serveur;
    QString journal;
};

void TestGlobe::initTestCase()
{
    Session::Preparer();
    qputenv("XDG_DATA_HOME", donnees.path().toUtf8());
    journal = donnees.filePath("tuiles.txt");
    serveur.start("python3", {QUAYLIGHT_SOURCE "/tests/serveur_tuiles.py", journal});
    QVERIFY(serveur.waitForReadyRead(10000));
    qputenv("QUAYLIGHT_TUILES", "http://127.0.0.1:" + serveur.readLine().trimmed());
}

// A network interface that is up, but no way out (a tile server that
// accepts and never answers): at first use the globe stays on Atlas, and the
// sea chart chosen then says that it is offline.
void TestGlobe::sansIssue()
{
    QTcpServer muet;
    QVERIFY(muet.listen(QHostAddress::LocalHost));
    const QByteArray serveur = qgetenv("QUAYLIGHT_TUILES");
    qputenv("QUAYLIGHT_TUILES", "http://127.0.0.1:" + QByteArray::number(muet.serverPort()));
    qputenv("QUAYLIGHT_TUILES_DELAI", "2000");
    qApp->setProperty("quaylight.connecte", 1);
    auto globe = Carte::CreerObjet(QString::fromLatin1(Carte::IdentifiantGE));
    QVERIFY(globe);
    // Ready once it has drawn its map, not before.
    QCOMPARE(globe->IsInitialized(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(globe->IsInitialized(), 1, 10000);
    auto* themes = Fenetre()->findChild<QComboBox*>(QStringLiteral("Themes"));
    auto* avis = Fenetre()->findChild<QWidget*>(QStringLiteral("HorsLigne"));
    QTest::qWait(4000);
    QCOMPARE(themes->currentText(), QStringLiteral("Atlas"));
    QVERIFY(!avis->isVisible());
    themes->setCurrentIndex(3);
    QTRY_VERIFY_WITH_TIMEOUT(avis->isVisible(), 15000);
    // At the top, centred between the overview map and the compass, clear
    // of both; its text whole, wrapped, clear of its border.
    auto* carte = Fenetre()->findChild<Marble::MarbleMap*>(QStringLiteral("Carte"));
    const int largeurVue = avis->parentWidget()->width();
    QVERIFY(avis->y() > 0 && avis->y() < 20);
    QVERIFY(qAbs(2 * avis->x() + avis->width() - largeurVue) <= 1);
    for (const char* nom : {"overviewmap", "compass"}) {
        const Marble::AbstractFloatItem* outil = carte->floatItem(nom);
        QVERIFY(outil && outil->visible());
        QVERIFY2(!QRectF(outil->positivePosition(), outil->size()).intersects(avis->geometry()),
                 nom);
    }
    auto* etiquette = qobject_cast<QLabel*>(avis);
    QVERIFY(avis->width() >= 240 && etiquette->wordWrap() && etiquette->margin() >= 6);
    QVERIFY(avis->height() >= avis->heightForWidth(avis->width()));
    themes->setCurrentIndex(0);
    QVERIFY(!avis->isVisible());
    globe.reset();
    // A theme the settings hold past the list (a later version's): Atlas.
    {
        QSettings reglages(QSettings::IniFormat, QSettings::UserScope, "Quaylight", "Quaylight");
        reglages.setValue("Globe/theme", 9);
    }
    globe = Carte::CreerObjet(QString::fromLatin1(Carte::IdentifiantGE));
    QVERIFY(globe);
    QCOMPARE(Fenetre()->findChild<QComboBox*>(QStringLiteral("Themes"))->currentText(),
             QStringLiteral("Atlas"));
    // Marble's own navigation control, which answers no click here, is not
    // shown; the window's buttons stand in for it.
    for (const Marble::RenderPlugin* p :
         Fenetre()->findChild<Marble::MarbleMap*>(QStringLiteral("Carte"))->renderPlugins())
        QVERIFY(p->nameId() != QLatin1String("navigation") || !p->visible());
    globe.reset();
    qputenv("QUAYLIGHT_TUILES", serveur);
    qunsetenv("QUAYLIGHT_TUILES_DELAI");
    QSettings(QSettings::IniFormat, QSettings::UserScope, "Quaylight", "Quaylight").remove("Globe");
}

// The globe the user sees behind the editor: its themes, the file's marks,
// the flight to a selected one, the capture of the centre, stored.
void TestGlobe::editeurAvecLeGlobe()
{
    QString erreur;
    QVERIFY(!Carte::CreerObjet(QStringLiteral("Autre.Application"), &erreur) && !erreur.isEmpty());
    Session s;
    s.plateforme->fabrique = [] {
        return Carte::CreerObjet(QString::fromLatin1(Carte::IdentifiantGE));
    };
    s.Demarrer(0);
    QTRY_COMPARE_WITH_TIMEOUT(Entree::EtapeCourante(), Entree::Etape::Terminee, 60000);
    QVERIFY(Declarations::AppliGE && s.plateforme->boites.isEmpty());
    // At first start, a landscape window beside the editor's.
    QVERIFY2(Fenetre()->width() > Fenetre()->height() &&
                 !Fenetre()->frameGeometry().intersects(s.f->frameGeometry()),
             qPrintable(QStringLiteral("%1x%2").arg(Fenetre()->width()).arg(Fenetre()->height())));
    auto* themes = Fenetre()->findChild<QComboBox*>(QStringLiteral("Themes"));
    QStringList noms;
    for (int i = 0; i < themes->count(); ++i)
        noms << themes->itemText(i);
    QCOMPARE(noms, (QStringList{"Atlas", "Blue Marble", "OpenStreetMap", "Carte marine"}));
    // Online (as the fake seam says) at first use: the sea chart once a tile
    // has come through the relay, its base and seamark tiles from the test's
    // server, the seamarks on the map.
    QTRY_COMPARE_WITH_TIMEOUT(themes->currentText(), QStringLiteral("Carte marine"), 5000);
    auto* vue = Fenetre()->findChild<QWidget*>(QStringLiteral("Vue"));
    QTRY_VERIFY_WITH_TIMEOUT(OutilsGPX::Lire(journal).contains("/osm/") &&
                                 OutilsGPX::Lire(journal).contains("/seamark/"),
                             20000);
    auto rouges = [vue] {
        const QImage image = vue->grab().toImage();
        int n = 0;
        for (int y = 0; y < image.height(); y += 4)
            for (int x = 0; x < image.width(); x += 4)
                n += image.pixelColor(x, y) == QColor(220, 0, 0);
        return n;
    };
    QTRY_VERIFY_WITH_TIMEOUT(rouges() > 100, 20000);
    // Through the program's relay, under the program's own name, two at a
    // time at most; the relay serves only tile paths under its token.
    for (const QString& d :
         QString::fromUtf8(OutilsGPX::Lire(journal)).split('\n', Qt::SkipEmptyParts))
        QVERIFY2(d.section(' ', 2).startsWith("Quaylight/") && d.section(' ', 1, 1).toInt() <= 2,
                 qPrintable(d));
    const QRegularExpressionMatch relais =
        QRegularExpression(R"x(host="([^"]+)" port="(\d+)" path="/(\w+)/osm/")x")
            .match(QString::fromUtf8(OutilsGPX::Lire(donnees.filePath(
                "marble/maps/earth/quaylight-carte-marine/quaylight-carte-marine.dgml"))));
    QVERIFY(relais.hasMatch());
    QNetworkAccessManager reseau;
    for (const auto& [chemin, statut] : std::initializer_list<std::pair<QString, int>>{
             {"/" + relais.captured(3) + "/osm/18/5/7.png", 200},
             {"/0123456789abcdef/osm/18/5/7.png", 404},
             {"/" + relais.captured(3) + "/osm/1/2/0.png", 404},
             {"/" + relais.captured(3) + "/osm/19/0/0.png", 404},
             {"/" + relais.captured(3) + "/../osm/1/1/0.png", 404},
             {"/" + relais.captured(3) + "/autre/1/1/0.png", 404}}) {
        QNetworkReply* r = reseau.get(QNetworkRequest(
            QUrl("http://" + relais.captured(1) + ':' + relais.captured(2) + chemin)));
        QTRY_VERIFY(r->isFinished());
        QCOMPARE(r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), statut);
        delete r;
    }
    QCOMPARE(OutilsGPX::Lire(journal).count("/osm/18/5/7.png"), 1);

    // In a narrow window too, the attribution the servers ask for shows.
    auto* carte = Fenetre()->findChild<Marble::MarbleMap*>(QStringLiteral("Carte"));
    const QSize taille = Fenetre()->size();
    Fenetre()->resize(480, 400);
    vue->grab(), vue->grab(); // the second with the sizes the first gave
    auto zone = [carte](const char* nom) {
        const Marble::AbstractFloatItem* f = carte->floatItem(nom);
        return QRectF(f->positivePosition(), f->size());
    };
    QVERIFY(zone("license").width() > 100 && !zone("license").intersects(zone("scalebar")));
    // The bar stays beside the attribution wherever both fit there with
    // 40 pixels to spare, and goes above it where not: every width across
    // the change, both sides of it seen.
    QSet<bool> cotes;
    for (int largeur = 600; largeur <= 800; ++largeur) {
        Fenetre()->resize(largeur, 400);
        vue->grab(), vue->grab();
        const bool cote = zone("scalebar").width() + zone("license").width() + 40 <= vue->width();
        QCOMPARE(zone("scalebar").bottom() > zone("license").top(), cote);
        cotes.insert(cote);
    }
    QCOMPARE(cotes.size(), 2);
    // The least the window shrinks to: a map 150 pixels high, and as wide
    // as the window's tools, 200 at least.
    Fenetre()->resize(1, 1);
    QTRY_COMPARE(vue->height(), 150);
    QVERIFY(vue->width() >= 200);
    Fenetre()->resize(taille);

    s.Ouvrir(
        OutilsGPX::Document(OutilsGPX::Wpt("48.3833", "-4.4950", "t1", "Quai &amp; &lt;Port&gt;") +
                            OutilsGPX::Wpt("48.35", "-4.55", "t2", "Anse")));
    auto* modele = Fenetre()->findChild<Marble::MarbleModel*>(QStringLiteral("Modele"));
    // Shown together once the command is over.
    for (const char* nom : {"Quai & <Port>", "Anse"})
        QTRY_VERIFY(Contient(*modele->treeModel(), QModelIndex(), QString::fromUtf8(nom)));
    QVERIFY_EXCEPTION_THROWN(
        Declarations::AppliGE->LoadKmlData(QStringLiteral("<Placemark><name>X</name></Placemark>")),
        EchecGE);
    // Navigation by mouse, keyboard and the buttons, and no helper process:
    // no web engine.
    const QPoint milieu = vue->rect().center();
    auto centre = [carte] { return QPointF(carte->centerLongitude(), carte->centerLatitude()); };
    auto change = [&](std::function<void()> geste, auto mesure) {
        const auto avant = mesure();
        geste();
        return mesure() != avant;
    };
    auto rayon = [carte] { return carte->radius(); };
    QVERIFY(change([&] { QTest::mouseDClick(vue, Qt::LeftButton, {}, milieu); }, rayon));
    auto souris = [vue](QEvent::Type type, const QPoint& p) {
        QMouseEvent e(type, p, vue->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(vue, &e);
    };
    QVERIFY(change(
        [&] {
            souris(QEvent::MouseButtonPress, milieu);
            souris(QEvent::MouseMove, milieu + QPoint(40, 30));
            souris(QEvent::MouseButtonRelease, milieu + QPoint(40, 30));
        },
        centre));
    QWheelEvent roue(milieu, vue->mapToGlobal(milieu), {}, {0, -120}, Qt::NoButton, {},
                     Qt::NoScrollPhase, false);
    QVERIFY(change([&] { QApplication::sendEvent(vue, &roue); }, rayon));
    // Each button and each key moves the view the way its arrow points, or
    // zooms as its sign says.
    auto sens = [&](std::function<void()> geste, QString s) {
        const QPointF c0 = centre();
        const qreal r0 = rayon();
        geste();
        const QPointF d = centre() - c0;
        if (rayon() != r0) // a zoom about the middle may move the centre by a hair
            return s + (rayon() > r0 ? "+" : "-");
        return s +
               (d.y() > 0   ? "N"
                : d.y() < 0 ? "S"
                            : "") +
               (d.x() > 0   ? "E"
                : d.x() < 0 ? "O"
                            : "");
    };
    QStringList boutons;
    for (QToolButton* b : vue->findChildren<QToolButton*>())
        boutons << sens([b] { b->click(); }, b->text());
    QCOMPARE(boutons.join(' '), QStringLiteral("\u25B2N \u25C0O \u25B6E \u25BCS ++ \u2212-"));
    // Drawn as buttons, on a ground of their own over the map.
    const QImage dessus = vue->grab().toImage();
    for (QToolButton* b : vue->findChildren<QToolButton*>()) {
        const QRgb c = dessus.pixel(b->geometry().topLeft() + QPoint(3, 3));
        QVERIFY2(Proches(c, b->palette().color(QPalette::Button).rgba()),
                 qPrintable(b->text() + ' ' + QColor(c).name()));
    }
    QStringList touches;
    for (auto [touche, nom] : {std::pair{Qt::Key_Up, "h"},
                               {Qt::Key_Left, "g"},
                               {Qt::Key_Right, "d"},
                               {Qt::Key_Down, "b"},
                               {Qt::Key_Plus, "p"},
                               {Qt::Key_Minus, "m"}})
        touches << sens([&, touche = touche] { QTest::keyClick(vue, touche); }, nom);
    QCOMPARE(touches.join(' '), QStringLiteral("hN gO dE bS p+ m-"));
    QDir proc(QStringLiteral("/proc"));
    for (const QString& p : proc.entryList({QStringLiteral("[0-9]*")}, QDir::Dirs))
        QVERIFY(OutilsGPX::Lire("/proc/" + p + "/stat").split(' ').value(3).toLongLong() !=
                    QCoreApplication::applicationPid() ||
                p.toLongLong() == serveur.processId());
    // A range below the theme's closest view still flies there.
    s.f->ListePOI->setCurrentRow(1);
    QTRY_VERIFY_WITH_TIMEOUT(qAbs(carte->centerLatitude() - 48.35) < 0.01 &&
                                 qAbs(carte->centerLongitude() + 4.55) < 0.01,
                             20000);
    s.f->Pickup_X_Y->click();
    const QStringList capture = s.f->Lat_Long->text().split(QLatin1Char(','));
    QVERIFY(qAbs(capture.value(0).toDouble() - 48.35) < 0.01 &&
            qAbs(capture.value(1).toDouble() + 4.55) < 0.01);
    s.f->Option1[0]->click();
    s.f->Validation->click();
    QVERIFY(s.plateforme->boites.isEmpty());
    QCOMPARE(Declarations::Table.LatPOI[2] + ',' + Declarations::Table.LonPOI[2],
             capture.join(','));

    // A right click away from the centre, "Prendre cette position": the
    // position under the pointer, where "<<<" would give the centre.
    const QPoint designe(vue->width() / 3, vue->height() / 3);
    qreal lonDesigne = 0, latDesigne = 0;
    QVERIFY(carte->geoCoordinates(designe.x(), designe.y(), lonDesigne, latDesigne,
                                  Marble::GeoDataCoordinates::Degree));
    QTimer choix;
    QObject::connect(&choix, &QTimer::timeout, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* menu = qobject_cast<QMenu*>(w);
                menu && menu->objectName() == QLatin1String("MenuGlobe") && menu->isVisible()) {
                menu->setActiveAction(menu->actions().constFirst());
                QTest::keyClick(menu, Qt::Key_Return);
            }
    });
    choix.start(50);
    QContextMenuEvent clic(QContextMenuEvent::Mouse, designe, vue->mapToGlobal(designe));
    s.f->Lat_Long->clear();
    QApplication::sendEvent(vue, &clic);
    const QStringList droit = s.f->Lat_Long->text().split(',');
    QVERIFY2(qAbs(droit.value(0).toDouble() - latDesigne) < 1e-6 &&
                 qAbs(droit.value(1).toDouble() - lonDesigne) < 1e-6,
             qPrintable(s.f->Lat_Long->text()));
    // Once: the next capture is the centre again.
    s.f->Pickup_X_Y->click();
    QCOMPARE(s.f->Lat_Long->text(), capture.join(','));

    // Picked on the map: a click on a placemark selects its mark and the
    // view stays. In "Modifier le Poi" a drag moves the current one: the
    // position box takes its place, "Valider" and a save store it with the
    // symbol chosen. A drag given up puts the placemark back.
    Declarations::AppliGE->SetCameraParams(48.366, -4.52, 0, 1, 12000, 0, 0, 5);
    // The flight's last step puts the view exactly there.
    QTRY_VERIFY_WITH_TIMEOUT(qAbs(carte->centerLatitude() - 48.366) < 1e-9 &&
                                 qAbs(carte->centerLongitude() + 4.52) < 1e-9,
                             10000);
    auto ecran = [carte, vue](int poi) {
        qreal x = 0, y = 0;
        carte->screenCoordinates(Nombres::NombreEnTete(Declarations::Table.LonPOI[poi]),
                                 Nombres::NombreEnTete(Declarations::Table.LatPOI[poi]), x, y);
        vue->grab(); // the placemarks laid out as the user sees them
        return QPoint(qRound(x), qRound(y));
    };
    auto gauche = [&](const QPoint& p) {
        souris(QEvent::MouseButtonPress, p);
        souris(QEvent::MouseButtonRelease, p);
    };
    auto glisser = [&](const QPoint& de, const QPoint& a) {
        souris(QEvent::MouseButtonPress, de);
        souris(QEvent::MouseMove, (de + a) / 2);
        souris(QEvent::MouseMove, a);
        souris(QEvent::MouseButtonRelease, a);
    };
    const QPointF vue0 = centre();
    gauche(ecran(1));
    QCOMPARE(s.f->ListePOI->PoiChoisi(), 1);
    // The current mark alone wears the yellow ring, also once the marks
    // are laid anew (as after any change of the table).
    Carte::ActualiserMarques();
    // The pixels around a point of the view that pass a test.
    auto autour = [vue](const QPoint& centre, int demi, auto garde) {
        const QImage image = vue->grab().toImage();
        int n = 0;
        for (int y = -demi; y <= demi; ++y)
            for (int x = -demi; x <= demi; ++x)
                n += garde(image.pixelColor(centre + QPoint(x, y)));
        return n;
    };
    auto jaune = [](const QColor& c) { return c.red() > 150 && c.green() > 120 && c.blue() < 90; };
    const int anneauCourante = autour(ecran(1), 17, jaune),
              anneauAutre = autour(ecran(2), 17, jaune);
    QVERIFY2(anneauCourante > 40 && anneauAutre == 0,
             qPrintable(QStringLiteral("%1 %2").arg(anneauCourante).arg(anneauAutre)));
    // A number past the last mark makes none current.
    Carte::MarquerCourante(Declarations::Table.NbPOI + 1, false);
    QCOMPARE(autour(ecran(1), 17, jaune), 0);
    Carte::MarquerCourante(1, false);
    QCOMPARE(s.f->Nom_WP->text(), QStringLiteral("Quai & <Port>"));
    QTest::qWait(300);
    QCOMPARE(centre(), vue0);
    // A click right after the marks are laid anew, before the map has drawn
    // again, finds them where they are now: the Anse's old place is water.
    {
        const QPoint ancienne = ecran(2);
        const QString lat = Declarations::Table.LatPOI[2];
        Declarations::Table.LatPOI[2] = QStringLiteral("40");
        Carte::ActualiserMarques();
        gauche(ancienne);
        QCOMPARE(s.f->ListePOI->PoiChoisi(), 1);
        Declarations::Table.LatPOI[2] = lat;
        Carte::ActualiserMarques();
    }
    // Out of "Modifier le Poi" a drag from the current mark pans the view.
    const QString texte = s.f->Lat_Long->text();
    glisser(ecran(1), ecran(1) + QPoint(40, 25));
    QVERIFY(centre() != vue0);
    QCOMPARE(s.f->Lat_Long->text(), texte);
    Declarations::AppliGE->SetCameraParams(48.366, -4.52, 0, 1, 12000, 0, 0, 5);
    QTRY_COMPARE_WITH_TIMEOUT(centre(), vue0, 10000);
    s.f->Option1[0]->click();
    const QPoint depart = ecran(1), arrivee = depart + QPoint(40, 25);
    glisser(depart, arrivee);
    double lon = 0, lat = 0;
    QVERIFY(carte->geoCoordinates(arrivee.x(), arrivee.y(), lon, lat,
                                  Marble::GeoDataCoordinates::Degree));
    QCOMPARE(centre(), vue0);
    QCOMPARE(s.f->Lat_Long->text(), Carte::TexteCapture(lat, lon));
    QCOMPARE(Declarations::Table.LatPOI[1], QStringLiteral("48.3833"));
    s.f->Symbole->setFocus();
    s.f->Symbole->lineEdit()->selectAll();
    QTest::keyClicks(s.f->Symbole, QStringLiteral("buoy1"));
    s.f->Validation->click();
    QVERIFY(s.plateforme->boites.isEmpty());
    QCOMPARE(Declarations::Table.LatPOI[1] + ',' + Declarations::Table.LonPOI[1],
             Carte::TexteCapture(lat, lon));
    s.f->Sauver_Fichier->trigger();
    const QByteArray enregistre = OutilsGPX::Lire(s.Chemin(QStringLiteral("marques.gpx")));
    QVERIFY2(enregistre.contains("lat=\"" + Carte::TexteCoordonnee(lat).toUtf8() + "\" lon=\"" +
                                 Carte::TexteCoordonnee(lon).toUtf8() + "\"") &&
                 enregistre.contains("<sym>buoy1</sym>"),
             enregistre.constData());
    gauche(ecran(2));
    QCOMPARE(s.f->ListePOI->PoiChoisi(), 2);
    // The ring goes with the current mark.
    QVERIFY(autour(ecran(2), 17, jaune) > 40 && autour(ecran(1), 17, jaune) == 0);
    s.f->Option1[0]->click();
    const QPoint anse = ecran(2);
    glisser(anse, anse + QPoint(0, 60));
    QVERIFY(s.f->Lat_Long->text() !=
            Declarations::Table.LatPOI[2] + ',' + Declarations::Table.LonPOI[2]);
    s.f->Option1[1]->click();
    gauche(ecran(1));
    QCOMPARE(s.f->ListePOI->PoiChoisi(), 1);
    vue->grab(); // the mark put back, laid out where it was
    gauche(anse);
    QCOMPARE(s.f->ListePOI->PoiChoisi(), 2);
    // Another mark chosen after a drag puts the dragged one back.
    s.f->Option1[0]->click();
    glisser(anse, anse + QPoint(0, 60));
    gauche(ecran(1));
    QCOMPARE(s.f->ListePOI->PoiChoisi(), 1);
    vue->grab();
    gauche(anse);
    QCOMPARE(s.f->ListePOI->PoiChoisi(), 2);
    s.f->Option1[1]->click();
    // Leaving "Modifier le Poi" in the middle of a drag ends it: the mark
    // stays at its place, and its ring with it, as the pointer goes on.
    s.f->Option1[0]->click();
    souris(QEvent::MouseButtonPress, anse);
    souris(QEvent::MouseMove, anse + QPoint(0, 30));
    s.f->Option1[1]->click();
    souris(QEvent::MouseMove, anse + QPoint(0, 60));
    souris(QEvent::MouseButtonRelease, anse + QPoint(0, 60));
    QVERIFY(autour(anse, 17, jaune) > 40 && autour(anse + QPoint(0, 60), 17, jaune) == 0);

    // A route built on the globe: a click on a mark, one on the water, the
    // free point dragged, Escape; drawn in the chosen route's colour.
    s.f->Voir_Routes->trigger();
    PanneauRoutes& routes = *s.f->ROUTES;
    routes.Nouvelle_Route->click();
    routes.Construire_Route->click();
    gauche(ecran(1));
    const QPoint eau = ecran(1) + QPoint(70, -50);
    gauche(eau);
    QCOMPARE(routes.TableTroncons->rowCount(), 2);
    // A double-click zooms; it adds the one point of its first click.
    {
        const QPoint ici = eau + QPoint(30, 40);
        gauche(ici);
        QMouseEvent deux(QEvent::MouseButtonDblClick, ici, vue->mapToGlobal(ici), Qt::LeftButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(vue, &deux);
        souris(QEvent::MouseButtonRelease, ici);
        QCOMPARE(routes.TableTroncons->rowCount(), 3);
        s.f->Annuler->trigger();
        QCOMPARE(routes.TableTroncons->rowCount(), 2);
        Declarations::AppliGE->SetCameraParams(48.366, -4.52, 0, 1, 12000, 0, 0, 5);
        QTRY_COMPARE_WITH_TIMEOUT(centre(), vue0, 10000);
    }
    QCOMPARE(routes.TableTroncons->item(0, 1)->text(), QStringLiteral("Quai & <Port>"));
    QCOMPARE(routes.TableTroncons->item(1, 1)->text(), QStringLiteral("001 *"));
    auto couleur = [vue](const QColor& c) {
        const QImage image = vue->grab().toImage();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y) == c;
        return n;
    };
    QVERIFY(couleur(QColor(230, 40, 30)) > 40);
    // Its points numbered in discs: a mark's yellow, a free point's white.
    QVERIFY(couleur(QColor(255, 220, 80)) > 20);
    auto place = [carte] {
        const Gpx::PointRoute& libre = Declarations::LesRoutes.liste[0].points[1];
        qreal x = 0, y = 0;
        carte->screenCoordinates(std::stod(libre.lon), std::stod(libre.lat), x, y);
        return QPointF(x, y);
    };
    const QPointF avant = place();
    glisser(eau, eau + QPoint(30, 0));
    QVERIFY2(QLineF(place(), avant + QPointF(30, 0)).length() < 1.5,
             qPrintable(QStringLiteral("%1,%2").arg(place().x()).arg(place().y())));
    // Undone while held (twice with the button down: the drag, then
    // the point): the drag goes on without its point and moves nothing.
    const QPoint tenu = place().toPoint();
    souris(QEvent::MouseButtonPress, tenu);
    s.f->Annuler->trigger();
    s.f->Annuler->trigger();
    QCOMPARE(routes.TableTroncons->rowCount(), 1);
    souris(QEvent::MouseMove, tenu + QPoint(20, 0));
    souris(QEvent::MouseButtonRelease, tenu + QPoint(20, 0));
    QCOMPARE(int(Declarations::LesRoutes.liste[0].points.size()), 1);
    s.f->Retablir->trigger();
    s.f->Retablir->trigger();
    QCOMPARE(routes.TableTroncons->rowCount(), 2);
    QTest::keyClick(Fenetre(), Qt::Key_Escape);
    QVERIFY(!routes.Construire_Route->isChecked());
    gauche(eau + QPoint(-30, 30));
    QCOMPARE(routes.TableTroncons->rowCount(), 2);
    // A second route along the first, chosen: drawn on top of it.
    const int avantRoute2 = couleur(QColor(230, 40, 30));
    routes.Nouvelle_Route->click();
    routes.Construire_Route->click();
    const QPoint premier = place().toPoint();
    gauche(premier);
    gauche(ecran(1));
    QCOMPARE(int(Declarations::LesRoutes.liste.size()), 2);
    const int apresRoute2 = couleur(QColor(230, 40, 30));
    QVERIFY2(apresRoute2 > avantRoute2 / 2,
             qPrintable(QStringLiteral("%1 of %2").arg(apresRoute2).arg(avantRoute2)));
    // Its first point, a free one, is dragged as the others.
    const std::string latDepart = Declarations::LesRoutes.liste[1].points[0].lat;
    souris(QEvent::MouseButtonPress, premier);
    souris(QEvent::MouseMove, premier + QPoint(0, 15));
    souris(QEvent::MouseMove, premier + QPoint(0, 30));
    // Drawn where it is held, before the button is let go.
    const int blancs = autour(premier + QPoint(0, 30), 3,
                              [](const QColor& c) { return c == QColor(255, 255, 255); });
    QVERIFY2(blancs > 20, qPrintable(QString::number(blancs)));
    souris(QEvent::MouseButtonRelease, premier + QPoint(0, 30));
    QVERIFY(Declarations::LesRoutes.liste[1].points[0].lat != latDepart);
    QTest::keyClick(Fenetre(), Qt::Key_Escape);
    routes.Supprimer_Route->click();

    // Properties on the map: range rings at their true size in their
    // colour; a hidden name shows no label; a hidden mark is faded, and
    // left out by the window's box.
    s.f->ROUTES->Supprimer_Route->click();
    s.plateforme->boites.clear();
    s.f->ListePOI->setCurrentRow(1);
    BoiteProprietes& b = *s.f->PROPRIETES;
    s.f->Proprietes_Poi->trigger();
    b.Anneaux_Visibles->click();
    b.Anneaux_Nombre->setText(QStringLiteral("2"));
    b.Anneaux_Pas->setText(QStringLiteral("0.5"));
    b.Anneaux_Couleur->setText(QStringLiteral("#00C800"));
    b.Nom_Visible->click();
    b.Valider_Proprietes->click();
    QVERIFY(s.plateforme->boites.isEmpty());
    QVERIFY(couleur(QColor(0, 200, 0)) > 50);
    // The outer ring, 1 NM from the mark, is drawn 1 NM from it, once the
    // flight to the mark chosen is over.
    Declarations::AppliGE->SetCameraParams(48.35, -4.55, 0, 1, 12000, 0, 0, 5);
    QTRY_VERIFY_WITH_TIMEOUT(qAbs(carte->centerLatitude() - 48.35) < 1e-9 &&
                                 qAbs(carte->centerLongitude() + 4.55) < 1e-9,
                             10000);
    const QPoint centreAnse = ecran(2);
    const QImage image = vue->grab().toImage();
    const double metresParPixel = 1852.0 / [&] {
        double lon2 = 0, lat2 = 0;
        carte->geoCoordinates(centreAnse.x() + 100, centreAnse.y(), lon2, lat2,
                              Marble::GeoDataCoordinates::Degree);
        double s12 = 0;
        GeographicLib::Geodesic::WGS84().Inverse(48.35, -4.55, lat2, lon2, s12);
        return 100 * 1852.0 / s12;
    }();
    int loin = 0;
    for (int x = centreAnse.x(); x < image.width(); ++x)
        if (const QColor c = image.pixelColor(x, centreAnse.y());
            c.green() > 120 && c.red() < 100 && c.blue() < 100)
            loin = x - centreAnse.x();
    // Within two pixels: half the line's width outside the ring, the
    // mark's place rounded to a pixel, the edge's smoothing.
    QVERIFY2(qAbs(loin * metresParPixel - 1852) < 2 * metresParPixel,
             qPrintable(QStringLiteral("%1 px of %2 m").arg(loin).arg(metresParPixel)));
    QVERIFY(!Contient(*modele->treeModel(), QModelIndex(), QStringLiteral("Anse")));
    s.f->Proprietes_Poi->trigger();
    b.Viz_Poi->click();
    b.Valider_Proprietes->click();
    QCOMPARE(couleur(QColor(0, 200, 0)), 0);
    auto* sansMasquees = Fenetre()->findChild<QCheckBox*>(QStringLiteral("SansMasquees"));
    QVERIFY(sansMasquees && !sansMasquees->isChecked());
    const QPoint anse2 = ecran(2);
    gauche(anse2);
    QCOMPARE(s.f->ListePOI->PoiChoisi(), 2);
    sansMasquees->click();
    s.f->ListePOI->setCurrentRow(0);
    gauche(ecran(2));
    QCOMPARE(s.f->ListePOI->PoiChoisi(), 1);
    sansMasquees->click();
    // Shown again, faded, and taken by a click.
    gauche(ecran(2));
    QCOMPARE(s.f->ListePOI->PoiChoisi(), 2);
    s.f->Annuler->trigger();
    QVERIFY(couleur(QColor(0, 200, 0)) > 50);

    // Above 500 marks the map draws one per cell of about 64 pixels. Two
    // marks 16 pixels apart in one cell of 32 to 64 pixels here: the second
    // is not drawn, and a click on its point takes it while a route is built.
    {
        const double parDegre = 2 * M_PI * carte->radius() / 360;
        const double cellule =
            360 / std::ldexp(1.0, int(std::floor(std::log2(360 * parDegre / 32))));
        const double lat = (std::floor((48.35 + 90) / cellule) + 0.5) * cellule - 90;
        const double lon = (std::floor((-4.55 + 180) / cellule) + 0.5) * cellule - 180;
        auto nombre = [](double x) { return QByteArray::number(x, 'f', 9); };
        // Ouest and Est share their cells down to level 7 (0.7 degrees wide
        // from longitude 0), not at level 8.
        QByteArray marques = OutilsGPX::Wpt(nombre(lat + 8 / parDegre), nombre(lon), "t1", "Haut") +
                             OutilsGPX::Wpt(nombre(lat - 8 / parDegre), nombre(lon), "t2", "Bas") +
                             OutilsGPX::Wpt("30", "0.05", "t3", "Ouest") +
                             OutilsGPX::Wpt("30", "0.45", "t4", "Est");
        for (int i = 0; i < 500; ++i)
            marques +=
                OutilsGPX::Wpt(nombre(-40 - i / 25 * 0.5), nombre(100 + i % 25 * 0.5), "t", "Loin");
        s.Ouvrir(OutilsGPX::Document(marques));
        gauche(ecran(2));
        QCOMPARE(s.f->ListePOI->PoiChoisi(), 0);
        routes.Nouvelle_Route->click();
        routes.Construire_Route->click();
        gauche(ecran(2));
        QCOMPARE(routes.TableTroncons->rowCount(), 1);
        QCOMPARE(routes.TableTroncons->item(0, 1)->text(), QStringLiteral("Bas"));
        QTest::keyClick(Fenetre(), Qt::Key_Escape);
        // Atlas's tiles stop at level 5: there, its closest view shows the
        // Est, which the sea chart draws from level 8 on.
        themes->setCurrentIndex(0);
        Declarations::AppliGE->SetCameraParams(30, 0.25, 0, 1, 1500, 0, 0, 5);
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(carte->centerLatitude() - 30) < 1e-9, 10000);
        gauche(ecran(4));
        QCOMPARE(s.f->ListePOI->PoiChoisi(), 4);
        Declarations::AppliGE->SetCameraParams(48.35, -4.55, 0, 1, 12000, 0, 0, 5);
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(carte->centerLatitude() - 48.35) < 1e-9, 10000);
    }

    // The view the user last looked at comes back at the next start, and
    // the theme chosen: Atlas stays, though the sea chart's tiles would come.
    themes->setCurrentIndex(0);
    s.Demarrer(0);
    QTRY_COMPARE_WITH_TIMEOUT(Entree::EtapeCourante(), Entree::Etape::Terminee, 60000);
    const CameraGE vu = Declarations::AppliGE->GetCamera(1);
    QVERIFY(qAbs(vu.FocusPointLatitude - 48.35) < 0.001 &&
            qAbs(vu.FocusPointLongitude + 4.55) < 0.001);
    QTest::qWait(1500);
    QCOMPARE(Fenetre()->findChild<QComboBox*>(QStringLiteral("Themes"))->currentText(),
             QStringLiteral("Atlas"));
}

// Each family's icon draws something; icons are drawn centred on their
// point, as a click picks them: a drawing that is symmetric stays itself
// turned half round, ring included.
void TestGlobe::icones()
{
    using Symboles::Famille;
    for (const auto famille : {Famille::Bouee, Famille::Feu, Famille::Mouillage, Famille::Danger,
                               Famille::Port, Famille::Autre}) {
        const QImage icone = IconesMarques::Icone(famille, false);
        int peints = 0;
        for (int y = 0; y < icone.height(); ++y)
            for (int x = 0; x < icone.width(); ++x)
                peints += qAlpha(icone.pixel(x, y)) > 128;
        QVERIFY2(peints > 40, qPrintable(QStringLiteral("%1: %2").arg(int(famille)).arg(peints)));
    }
    // Each as drawn when it was last looked at.
    for (int famille = 0; famille <= int(Famille::Autre); ++famille)
        for (const bool courante : {false, true})
            QCOMPARE(CommeReference(IconesMarques::Icone(Famille(famille), courante),
                                    QStringLiteral("marque-%1-%2").arg(famille).arg(courante)),
                     QString());
    // Drawn centred on their point: a drawing symmetric from left to right
    // (and upside down for the last two) is so in its icon.
    for (const auto& [famille, aussiRetournee] :
         {std::pair(Famille::Bouee, false), std::pair(Famille::Feu, false),
          std::pair(Famille::Mouillage, false), std::pair(Famille::Danger, true),
          std::pair(Famille::Autre, true)})
        for (const bool courante : {false, true}) {
            const QImage icone = IconesMarques::Icone(famille, courante);
            const QImage tournee = icone.mirrored(true, aussiRetournee);
            int ecart = 0;
            for (int y = 0; y < icone.height(); ++y)
                for (int x = 0; x < icone.width(); ++x)
                    ecart = std::max(
                        ecart, std::abs(qAlpha(icone.pixel(x, y)) - qAlpha(tournee.pixel(x, y))));
            QVERIFY2(
                ecart <= 8,
                qPrintable(QStringLiteral("%1 %2: %3").arg(int(famille)).arg(courante).arg(ecart)));
        }
}

int main(int argc, char* argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    TestGlobe test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_globe.moc"
