#include "earth/ApplicationGE.h"

#include <QApplication>
#include <QComboBox>
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

private:
    QTemporaryDir dossier;
};

namespace {

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

int main(int argc, char* argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    TestGlobe test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_globe.moc"
