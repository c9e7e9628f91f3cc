// SPDX-License-Identifier: GPL-3.0-or-later
#include "Outils.h"

#include "app/Entree.h"
#include "gpx/Fichiers.h"
#include "shell/Declarations.h"
#include "shell/Donnees.h"
#include "shell/Reglages.h"
#include "ui/Creer_POI.h"
#include "ui/ListeMarques.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <algorithm>
#include <cstdlib>

int32_t ApplicationGEFactice::IsInitialized()
{
    ++sondages;
    appels << QStringLiteral("IsInitialized");
    if (sondageEchoue)
        throw EchecGE("query failed");
    return sondages >= pretApres ? 1 : 0;
}

void ApplicationGEFactice::SetCameraParams(double latitude, double longitude, double altitude,
                                           int32_t altitudeMode, double range, double tilt,
                                           double azimuth, double speed)
{
    QStringList v{QStringLiteral("SetCameraParams")};
    for (double x :
         {latitude, longitude, altitude, double(altitudeMode), range, tilt, azimuth, speed})
        v << QLocale::c().toString(x, 'g', 9);
    appels << v.join(QLatin1Char(' '));
}

CameraGE ApplicationGEFactice::GetCamera(int32_t considerTerrain)
{
    appels << QStringLiteral("GetCamera %1").arg(considerTerrain);
    if (cameraEchoue)
        throw EchecGE("no camera");
    return camera;
}

void ApplicationGEFactice::PoserMarques(const std::vector<MarqueGE>& liste)
{
    QStringList v{QStringLiteral("PoserMarques")};
    for (const MarqueGE& m : liste)
        v << QStringLiteral("%1|%2|%3|%4")
                     .arg(m.nom)
                     .arg(m.latitude)
                     .arg(m.longitude)
                     .arg(m.symbole) +
                 (m.visible ? QString() : QStringLiteral("|masquee")) +
                 (m.nomVisible ? QString() : QStringLiteral("|sans nom")) +
                 (m.cercles.empty() ? QString()
                                    : QStringLiteral("|cercles %1").arg(m.cercles.size()));
    appels << v.join(QLatin1Char(' '));
}

PlateformeTest::PlateformeTest()
{
    Plateforme::Installer(this);
    // No language file applies unless a test points to one.
    Donnees::DefinirDossiers({QStringLiteral("/nonexistent/quaylight")});
}

PlateformeTest::~PlateformeTest()
{
    Plateforme::Installer(nullptr);
    Donnees::DefinirDossiers({});
}

void PlateformeTest::CarteFactice(int pretApres, bool marques)
{
    fabrique = [this, pretApres, marques] {
        auto objet = std::make_unique<ApplicationGEFactice>();
        objet->pretApres = pretApres;
        objet->marques = marques;
        carte = objet.get();
        return std::unique_ptr<ApplicationGE>(std::move(objet));
    };
}

Plateforme::Reponse PlateformeTest::Message(QWidget*, const QString& texte, Boutons boutons)
{
    boites << Boite{texte, boutons};
    if (!reponses.isEmpty())
        return reponses.takeFirst();
    return boutons == Boutons::OK ? Reponse::OK : Reponse::Non;
}

QString PlateformeTest::DialogueFichier(QWidget*, Dialogue genre, const QString& filtre)
{
    dialogues << genre;
    filtres << filtre;
    const QString choix = fichiers.isEmpty() ? QString() : fichiers.takeFirst();
    if (apresDialogue)
        apresDialogue();
    return choix;
}

std::unique_ptr<ApplicationGE> PlateformeTest::CreerObjet(const QString& identifiant,
                                                          QString* erreur)
{
    creations << identifiant;
    if (!fabrique) {
        if (erreur)
            *erreur = QStringLiteral("no map in this test");
        return nullptr;
    }
    return fabrique();
}

QStringList PlateformeTest::Textes() const
{
    QStringList textes;
    for (const Boite& b : boites)
        textes << b.texte;
    return textes;
}

void Tableau(const std::vector<const char*>& colonnes, const QList<QStringList>& lignes)
{
    for (const char* c : colonnes)
        QTest::addColumn<QString>(c);
    for (const QStringList& l : lignes) {
        QTestData& rangee = QTest::newRow(l[0].toUtf8().constData());
        for (int i = 1; i <= int(colonnes.size()); ++i)
            rangee << l.value(i);
    }
}

QString V(const char* colonne)
{
    return *static_cast<QString*>(QTest::qData(colonne, qMetaTypeId<QString>()));
}

namespace OutilsGPX {

QByteArray Wpt(const QByteArray& lat, const QByteArray& lon, const QByteArray& temps,
               const QByteArray& nom, const QByteArray& liens, const QByteArray& sym)
{
    return "\t<wpt lat=\"" + lat + "\" lon=\"" + lon + "\">\r\n\t\t<time>" + temps +
           "</time>\r\n\t\t<name>" + nom + "</name>\r\n" + liens + "\t\t<sym>" + sym +
           "</sym>\r\n\t\t<type>WPT</type>\r\n\t\t<extensions>\r\n"
           "\t\t\t<opencpn:viz>1</opencpn:viz>\r\n\t\t\t<opencpn:viz_name>1</opencpn:viz_name>\r\n"
           "\t\t</extensions>\r\n\t</wpt>\r\n";
}

QByteArray Lien(const QByteArray& cible, const QByteArray& texte)
{
    return "\t\t<link href=\"" + cible + "\">\r\n\t\t\t<text>" + texte +
           "</text>\r\n\t\t</link>\r\n";
}

QByteArray Liens(int n)
{
    QByteArray l;
    for (int k = 1; k <= n; ++k)
        l += Lien("http://l/" + QByteArray::number(k), "L" + QByteArray::number(k));
    return l;
}

std::unique_ptr<PoiTable> LireTexte(const QByteArray& octets)
{
    auto t = std::make_unique<PoiTable>();
    Fichiers::LirePOI(Fichiers::LignesWindows1252(octets), *t);
    return t;
}

QString Resume(const PoiTable& t)
{
    auto texte = [](QString s) {
        return s.replace('\t', "\\t").replace('\r', "\\r").replace('\n', "\\n");
    };
    QString r;
    for (int i = 1; i <= t.NbPOI; ++i)
        r += QStringList{QString::number(i),           texte(t.LatPOI[i]), texte(t.LonPOI[i]),
                         texte(t.TempsPOI[i]),         texte(t.NomPOI[i]), texte(t.SymPOI[i]),
                         QString::number(t.NbLiens(i))}
                 .join('\t') +
             '\n';
    for (int i = 1; i <= t.NbPOI; ++i)
        for (int k = 1; k <= t.NbLiens(i); ++k)
            r += QStringLiteral("  link\t%1\t%2\t%3\t%4\n")
                     .arg(i)
                     .arg(k)
                     .arg(texte(t.LienHref[i][k]), texte(t.LienTexte[i][k]));
    return r;
}

bool Ecrire(const QString& chemin, const QByteArray& octets)
{
    QFile f(chemin);
    return f.open(QIODevice::WriteOnly) && f.write(octets) == octets.size();
}

QByteArray Lire(const QString& chemin)
{
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString VerifierInterop(const QString& chemin, const PoiTable& table)
{
    QProcess p;
    p.start(QStringLiteral("xmllint"), {"--noout", chemin});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QStringLiteral("xmllint: ") + QString::fromUtf8(p.readAllStandardError());
    // gpsbabel's own format: one waypoint a line, fields between tabs.
    p.start(QStringLiteral("gpsbabel"), {"-i", "gpx", "-f", chemin, "-x", "nuketypes,tracks,routes",
                                         "-o", "tabsep", "-F", "-"});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QStringLiteral("gpsbabel: ") + QString::fromUtf8(p.readAllStandardError());
    const QStringList lignes = QString::fromUtf8(p.readAllStandardOutput()).split('\n');
    auto poi = [](const QString& nom, const QString& lat, const QString& lon) {
        return QStringLiteral("%1 %2 %3\n").arg(nom).arg(lat.toDouble()).arg(lon.toDouble());
    };
    QString lu, attendu;
    for (int i = 1; i <= table.NbPOI; ++i) {
        const QStringList c = lignes.value(i - 1).split(QLatin1Char('\t'));
        lu += poi(c.value(1), c.value(7), c.value(8));
        // gpsbabel names an unnamed waypoint itself; its format has no
        // place for a tab, and it drops a byte order mark at the start.
        QString nom = QString(table.NomPOI[i]).remove('\t');
        if (nom.startsWith(QChar(0xFEFF)))
            nom.remove(0, 1);
        // It folds a position off the Earth back onto it.
        const bool dehors = qAbs(table.LatPOI[i].toDouble()) > 90;
        attendu += poi(nom.isEmpty() ? c.value(1) : nom, dehors ? c.value(7) : table.LatPOI[i],
                       dehors ? c.value(8) : table.LonPOI[i]);
    }
    if (lignes.size() != table.NbPOI + 1)
        lu += QStringLiteral("%1 waypoints").arg(lignes.size() - 1);
    return lu == attendu ? QString() : lu + "expected\n" + attendu;
}

} // namespace OutilsGPX

void Session::Preparer()
{
    static QTemporaryDir reglages;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, reglages.path());
}

Session::Session() : plateforme(std::make_unique<PlateformeTest>())
{
    Reglages::Ouvrir()->clear();
}

Session::~Session()
{
    Entree::Terminer();
}

void Session::Demarrer(int option)
{
    Entree::Demarrer();
    f = Entree::FenetrePrincipale();
    d = Entree::FenetreDescription();
    f->Option2[option]->click();
    // Messages without a built-in text get one, to tell them apart.
    for (int i : {2, 7, 10, 11, 12, 13, 14, 15, 16, 17, 18})
        Declarations::MsgBoite[size_t(i)] = QStringLiteral("M%1").arg(i);
    plateforme->boites.clear();
}

void Session::Ouvrir(const QByteArray& contenu, const QString& nom)
{
    QVERIFY(OutilsGPX::Ecrire(Chemin(nom), contenu));
    OuvrirChemin(Chemin(nom));
}

void Session::OuvrirChemin(const QString& chemin)
{
    plateforme->fichiers << chemin;
    f->Ouvrir_Fichier->trigger();
}

void Session::Cliquer(QWidget* liste, int ligne, Qt::KeyboardModifiers touches)
{
    auto* l = qobject_cast<QListWidget*>(liste);
    QVERIFY(l && l->item(ligne));
    QTest::mouseClick(l->viewport(), Qt::LeftButton, touches,
                      l->visualItemRect(l->item(ligne)).center());
}

void Session::Nouveau(const QString& position, const QString& nom)
{
    f->Option1[1]->click();
    f->Lat_Long->setText(position);
    f->Nom_WP->setText(nom);
    f->Validation->click();
}

QStringList Session::Liens() const
{
    QStringList l;
    for (int i = 0; i < f->ListeLiens->count(); ++i)
        l << f->ListeLiens->item(i)->text();
    return l;
}

bool Proches(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))}) <= 24;
}

QString CommeReference(const QImage& image, const QString& nom)
{
    const QString chemin = QStringLiteral(QUAYLIGHT_SOURCE "/tests/data/images/") + nom + ".png";
    const QImage dessinee = image.convertToFormat(QImage::Format_ARGB32);
    if (qEnvironmentVariableIsSet("QUAYLIGHT_IMAGES_ECRIRE"))
        return dessinee.save(chemin) ? QString() : "cannot write " + chemin;
    const QImage reference = QImage(chemin).convertToFormat(QImage::Format_ARGB32);
    if (reference.size() != dessinee.size())
        return QStringLiteral("%1: %2x%3, the reference %4x%5")
            .arg(nom)
            .arg(dessinee.width())
            .arg(dessinee.height())
            .arg(reference.width())
            .arg(reference.height());
    int ecarts = 0;
    for (int y = 0; y < dessinee.height(); ++y)
        for (int x = 0; x < dessinee.width(); ++x) {
            ecarts += !Proches(dessinee.pixel(x, y), reference.pixel(x, y));
        }
    return ecarts ? QStringLiteral("%1: %2 pixels differ").arg(nom).arg(ecarts) : QString();
}
