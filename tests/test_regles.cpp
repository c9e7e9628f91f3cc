#include "editing/Nombres.h"
#include "links/Gerer_liens.h"

#include <QtTest>

// The link text rules and the number readers, as tables.
class TestRegles : public QObject {
    Q_OBJECT
private slots:
    void entreeListe_data();
    void entreeListe();
    void reduireEtEchapper_data();
    void reduireEtEchapper();
    void cibleLien_data();
    void cibleLien();
    void cheminVersUrl_data();
    void cheminVersUrl();
    void texteValide_data();
    void texteValide();
    void nombreEnTete_data();
    void nombreEnTete();
    void coordonnee_data();
    void coordonnee();
    void coordonneeEnFrancais();
};

void TestRegles::entreeListe_data()
{
    QTest::addColumn<int>("k");
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("cible");
    QTest::addColumn<QString>("entree");
    QTest::newRow("web") << 2 << "Capitainerie"
                         << "http://port.fr"
                         << "2  Capitainerie    (Web)";
    QTest::newRow("description") << 1 << "Description"
                                 << "file://C:\\Nav\\Anse Nord.txt"
                                 << "1  Description    (File)";
    QTest::newRow("texte vide") << 1 << ""
                                << "http://x"
                                << "1      (Web)";
    QTest::newRow("dixieme") << 10 << "x"
                             << "http://x"
                             << "10  x    (Web)";
    QTest::newRow("file dans le chemin") << 3 << "p"
                                         << "http://a/profile.html"
                                         << "3  p    (File)";
    QTest::newRow("FILE en capitales") << 3 << "p"
                                       << "FILE:///x"
                                       << "3  p    (Web)";
}

void TestRegles::entreeListe()
{
    QFETCH(int, k);
    QFETCH(QString, texte);
    QFETCH(QString, cible);
    QFETCH(QString, entree);
    QCOMPARE(Gerer_liens::EntreeListe(k, texte, cible), entree);
}

void TestRegles::reduireEtEchapper_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("reduit");
    QTest::addColumn<QString>("echappe");
    QTest::newRow("sans esperluette") << "http://a/b?c=d"
                                      << "http://a/b?c=d"
                                      << "http://a/b?c=d";
    QTest::newRow("esperluettes nues") << "x&y&z"
                                       << "x&y&z"
                                       << "x&amp;y&amp;z";
    QTest::newRow("deja echappe") << "a&amp;b"
                                  << "a&amp;b"
                                  << "a&amp;b";
    QTest::newRow("trois fois") << "&amp;amp;amp;"
                                << "&amp;"
                                << "&amp;";
    QTest::newRow("autre ;amp;") << "a;amp;b"
                                 << "a;b"
                                 << "a;b";
    QTest::newRow("vide") << ""
                          << ""
                          << "";
}

void TestRegles::reduireEtEchapper()
{
    QFETCH(QString, texte);
    QFETCH(QString, reduit);
    QFETCH(QString, echappe);
    QCOMPARE(Gerer_liens::ReduireAmp(texte), reduit);
    QCOMPARE(Gerer_liens::EchapperAmp(texte), echappe);
}

void TestRegles::cibleLien_data()
{
    QTest::addColumn<QString>("cible");
    QTest::addColumn<QString>("ouverte");
    QTest::newRow("echappe") << "http://a?x=1&amp;y=2"
                             << "http://a?x=1&y=2";
    QTest::newRow("echappe deux fois") << "a&amp;amp;b"
                                       << "a&b";
    QTest::newRow("fichier avec & nu") << "file:///home/a&b.pdf"
                                       << "file:///home/a&b.pdf";
    QTest::newRow("autres entites") << "a&lt;b&quot;"
                                    << "a&lt;b&quot;";
}

void TestRegles::cibleLien()
{
    QFETCH(QString, cible);
    QFETCH(QString, ouverte);
    QCOMPARE(Gerer_liens::CibleLien(cible), ouverte);
}

void TestRegles::cheminVersUrl_data()
{
    QTest::addColumn<QString>("chemin");
    QTest::addColumn<QString>("url");
    QTest::newRow("windows") << "C:\\Cartes\\Port.pdf"
                             << "file:///C:/Cartes/Port.pdf";
    QTest::newRow("linux") << "/home/marin/Port 2.pdf"
                           << "file:///home/marin/Port 2.pdf";
    QTest::newRow("sans separateur") << "Port.pdf"
                                     << "file:///Port.pdf";
    QTest::newRow("esperluette") << "/a/b&c.pdf"
                                 << "file:///a/b&c.pdf";
}

void TestRegles::cheminVersUrl()
{
    QFETCH(QString, chemin);
    QFETCH(QString, url);
    QCOMPARE(Gerer_liens::CheminVersUrl(chemin), url);
}

void TestRegles::texteValide_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<bool>("valide");
    QTest::newRow("vide") << "" << true;
    QTest::newRow("chemin") << "C:\\Cartes\\Port 2.pdf" << true;
    QTest::newRow("DEL") << QString(QChar(127)) << true;
    QTest::newRow("accent") << "Église" << false;
    QTest::newRow("tabulation") << "a\tb" << false;
    QTest::newRow("fin de ligne") << "a\nb" << false;
    QTest::newRow("128") << QString(QChar(128)) << false;
}

void TestRegles::texteValide()
{
    QFETCH(QString, texte);
    QFETCH(bool, valide);
    QCOMPARE(Gerer_liens::TexteValide(texte), valide);
}

void TestRegles::nombreEnTete_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<double>("valeur");
    QTest::newRow("decimal") << "48.3905" << 48.3905;
    QTest::newRow("negatif") << "-4.4860" << -4.486;
    QTest::newRow("demi negatif") << "-0.5" << -0.5;
    QTest::newRow("zero") << "0" << 0.0;
    QTest::newRow("zero decimal") << "0.0" << 0.0;
    QTest::newRow("vide") << "" << 0.0;
    QTest::newRow("mot") << "abc" << 0.0;
    QTest::newRow("blancs partout") << " 4 8.\t5\n" << 48.5;
    QTest::newRow("suite ignoree") << "48.5abc" << 48.5;
    QTest::newRow("virgule decimale") << "48,5" << 48.0;
    QTest::newRow("exposant") << "4.85e1" << 48.5;
    QTest::newRow("exposant incomplet") << "12e" << 12.0;
    QTest::newRow("point seul") << "." << 0.0;
    QTest::newRow("sans zero") << "-.5" << -0.5;
    QTest::newRow("signe plus") << "+7" << 7.0;
}

void TestRegles::nombreEnTete()
{
    QFETCH(QString, texte);
    QFETCH(double, valeur);
    QCOMPARE(Nombres::NombreEnTete(texte), valeur);
}

void TestRegles::coordonnee_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("valeur");
    QTest::newRow("decimal") << "48.5" << true << 48.5;
    QTest::newRow("blancs et signe") << "  -4.3 " << true << -4.3;
    QTest::newRow("entier") << "48" << true << 48.0;
    QTest::newRow("mot") << "abc" << false << 0.0;
    QTest::newRow("vide") << "" << false << 0.0;
    QTest::newRow("nombre puis mot") << "48.5x" << false << 0.0;
    QTest::newRow("nan") << "nAn" << false << 0.0;
    QTest::newRow("infini") << "-inf" << false << 0.0;
}

void TestRegles::coordonnee()
{
    QFETCH(QString, texte);
    QFETCH(bool, ok);
    QFETCH(double, valeur);
    double v = 0;
    QCOMPARE(Nombres::LireCoordonnee(texte, v), ok);
    if (ok)
        QCOMPARE(v, valeur);
}

void TestRegles::coordonneeEnFrancais()
{
    // The user's locale writes decimals with a comma; positions still use ".".
    const QLocale avant;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    double v = 0;
    QVERIFY(Nombres::LireCoordonnee(QStringLiteral("48.5"), v));
    QCOMPARE(v, 48.5);
    QCOMPARE(Nombres::NombreEnTete(QStringLiteral("-4.3")), -4.3);
    QLocale::setDefault(avant);
}

QTEST_GUILESS_MAIN(TestRegles)
#include "test_regles.moc"
