#include "Outils.h"
#include "earth/ApplicationGE.h"
#include "shell/Declarations.h"
#include "shell/Entree.h"
#include "ui/Creer_POI.h"
#include "ui/ListeChoix.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <marble/GeoDataTreeModel.h>
#include <marble/MarbleModel.h>
#include <marble/MarbleWidget.h>

// The real globe under a virtual X server.
class TestGlobe : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void identifiantInconnu();
    void globeComplet();
    void editeurAvecLeGlobe();

private:
    QTemporaryDir dossier;
};

namespace {

Marble::MarbleWidget* CarteDuGlobe()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("Globe"))
            return w->findChild<Marble::MarbleWidget*>(QStringLiteral("Carte"));
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

void TestGlobe::initTestCase()
{
    QVERIFY(dossier.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dossier.path());
}

void TestGlobe::identifiantInconnu()
{
    QString erreur;
    QVERIFY(!Carte::CreerObjet(QStringLiteral("Autre.Application"), &erreur));
    QVERIFY(!erreur.isEmpty());
}

void TestGlobe::globeComplet()
{
    QString erreur;
    std::unique_ptr<ApplicationGE> globe =
        Carte::CreerObjet(QString::fromLatin1(Carte::IdentifiantGE), &erreur);
    QVERIFY2(globe, qPrintable(erreur));
    QTRY_VERIFY_WITH_TIMEOUT(globe->IsInitialized() != 0, 60000);

    QWidget* fenetre = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("Globe"))
            fenetre = w;
    QVERIFY(fenetre);
    auto* themes = fenetre->findChild<QComboBox*>(QStringLiteral("Themes"));
    QVERIFY(themes);
    QStringList noms;
    for (int i = 0; i < themes->count(); ++i)
        noms << themes->itemText(i);
    QCOMPARE(noms, (QStringList{QStringLiteral("Atlas"), QStringLiteral("Blue Marble"),
                                QStringLiteral("OpenStreetMap")}));
    QCOMPARE(themes->currentText(), QStringLiteral("Atlas"));

    globe->SetCameraParams(48.3905, -4.486, 0, 1, 2000, 0, 0, 5);
    CameraGE c;
    auto proche = [&] {
        c = globe->GetCamera(1);
        return qAbs(c.FocusPointLatitude - 48.3905) < 0.01 &&
               qAbs(c.FocusPointLongitude + 4.486) < 0.01;
    };
    QTRY_VERIFY2_WITH_TIMEOUT(
        proche(),
        qPrintable(
            QStringLiteral("centre %1, %2").arg(c.FocusPointLatitude).arg(c.FocusPointLongitude)),
        20000);

    globe->LoadKmlData(QStringLiteral("<Placemark><name>Quai & <Port></name><Point><coordinates>"
                                      "-4.486,48.3905,0</coordinates></Point></Placemark>"));
    auto* carte = fenetre->findChild<Marble::MarbleWidget*>(QStringLiteral("Carte"));
    QVERIFY(carte);
    QVERIFY(Contient(*carte->model()->treeModel(), QModelIndex(), QStringLiteral("Quai & <Port>")));

    QVERIFY_EXCEPTION_THROWN(globe->LoadKmlData(QStringLiteral("<Placemark><name>X</name>"
                                                               "</Placemark>")),
                             EchecGE);
}

void TestGlobe::editeurAvecLeGlobe()
{
    PlateformeTest plateforme;
    plateforme.fabrique = [] {
        return Carte::CreerObjet(QString::fromLatin1(Carte::IdentifiantGE));
    };
    Entree::Demarrer();
    Creer_POI* f = Entree::FenetrePrincipale();
    f->Option2[0]->click();
    QTRY_COMPARE_WITH_TIMEOUT(Entree::EtapeCourante(), Entree::Etape::Terminee, 60000);
    QVERIFY(Declarations::AppliGE);
    QVERIFY(plateforme.boites.isEmpty());

    const QString fichier = dossier.filePath(QStringLiteral("rade.gpx"));
    QVERIFY(OutilsGPX::Ecrire(
        fichier, "<gpx>\r\n<wpt lat=\"48.3833\" lon=\"-4.4950\">\r\n<time>t1</time>\r\n"
                 "<name>Quai &amp; &lt;Port&gt;</name>\r\n</wpt>\r\n"
                 "<wpt lat=\"48.35\" lon=\"-4.55\">\r\n<time>t2</time>\r\n<name>Anse</name>"
                 "\r\n</wpt>\r\n</gpx>\r\n"));
    plateforme.fichiers << fichier;
    f->Ouvrir_Fichier->trigger();
    QVERIFY(plateforme.boites.isEmpty());
    Marble::MarbleWidget* carte = CarteDuGlobe();
    QVERIFY(carte);
    QVERIFY(Contient(*carte->model()->treeModel(), QModelIndex(), QStringLiteral("Quai & <Port>")));
    QVERIFY(Contient(*carte->model()->treeModel(), QModelIndex(), QStringLiteral("Anse")));

    // Selecting a waypoint flies the view to it.
    f->ListePOI->setCurrentRow(1);
    QTRY_VERIFY_WITH_TIMEOUT(qAbs(carte->centerLatitude() - 48.35) < 0.01 &&
                                 qAbs(carte->centerLongitude() + 4.55) < 0.01,
                             20000);
    // The capture gives the centre of the view, which can be stored.
    f->Pickup_X_Y->click();
    const QStringList capture = f->Lat_Long->text().split(QLatin1Char(','));
    QCOMPARE(capture.size(), 2);
    QVERIFY(qAbs(capture[0].toDouble() - 48.35) < 0.01);
    QVERIFY(qAbs(capture[1].toDouble() + 4.55) < 0.01);
    f->Option1[0]->click();
    f->Validation->click();
    QVERIFY(plateforme.boites.isEmpty());
    QCOMPARE(Declarations::Table.LatPOI[2], capture[0]);
    QCOMPARE(Declarations::Table.LonPOI[2], capture[1]);
    Entree::Terminer();
}

int main(int argc, char* argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    TestGlobe test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_globe.moc"
