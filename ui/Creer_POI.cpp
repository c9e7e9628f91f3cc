// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Creer_POI.h"

#include "earth/Carte.h"
#include "shell/Declarations.h"
#include "shell/EcransPresents.h"
#include "shell/Plateforme.h"
#include "shell/Twips.h"
#include "ui/BoiteDoublons.h"
#include "ui/BoiteFusion.h"
#include "ui/BoiteProprietes.h"
#include "ui/BoiteSymbole.h"
#include "ui/ExportCalque.h"
#include "ui/FiltreNoms.h"
#include "ui/Images.h"
#include "ui/ListeMarques.h"
#include "ui/PanneauRoutes.h"
#include "ui/TexteLien1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStyle>
#include <QTableWidget>
#include <algorithm>

namespace {

const QColor GrisClair(224, 224, 224);
const QColor BleuClair(192, 192, 255);
// The desktop's active-border grey behind the start-up question.
const QColor GrisBordure(180, 180, 180);
// The client area the window had when its size was fixed, in twips: now
// its least size.
constexpr int LargeurZone = 3900;
constexpr int HauteurZone = 7185;
// What the routes panel needs beside the marks, in pixels: its leg table's
// eight columns.
constexpr int LargeurRoutes = 680;

void Colorer(QWidget* w, const QColor& fond, const QColor& texte = QColor())
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, fond);
    p.setColor(QPalette::Button, fond);
    if (texte.isValid())
        p.setColor(QPalette::WindowText, texte);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

template <typename W>
W* Placer(W* w, const char* nom, int gauche, int haut, int largeur, int hauteur, int tabIndex)
{
    Twips::Placer(w, nom, gauche, haut, largeur, hauteur, tabIndex);
    return w;
}

QLabel* Etiquette(QWidget* panneau, const char* nom, const QString& texte, int g, int h, int l,
                  int ht, int tab)
{
    auto* w = Placer(new QLabel(texte, panneau), nom, g, h, l, ht, tab);
    Colorer(w, GrisClair);
    return w;
}

QLineEdit* Saisie(QWidget* panneau, const char* nom, int g, int h, int l, int ht, int tab,
                  const QString& bulle = QString())
{
    auto* w = Placer(new QLineEdit(panneau), nom, g, h, l, ht, tab);
    w->setToolTip(bulle);
    return w;
}

QPushButton* Bouton(QWidget* panneau, const char* nom, const QString& texte, int g, int h, int l,
                    int ht, int tab, const QString& bulle = QString())
{
    auto* w = Placer(new QPushButton(texte, panneau), nom, g, h, l, ht, tab);
    w->setToolTip(bulle);
    return w;
}

QPushButton* BoutonImage(QWidget* panneau, const char* nom, const QPixmap& image, int g, int h,
                         int l, int ht, int tab)
{
    auto* w = Placer(new QPushButton(panneau), nom, g, h, l, ht, tab);
    w->setIcon(QIcon(image));
    w->setIconSize(image.size());
    return w;
}

QRadioButton* Option(QWidget* panneau, const char* nom, const QString& texte, int g, int h, int l,
                     int ht, int tab, const QString& bulle = QString())
{
    auto* w = Placer(new QRadioButton(texte, panneau), nom, g, h, l, ht, tab);
    w->setToolTip(bulle);
    return w;
}

QGroupBox* Panneau(QWidget* zone, const char* nom, const QString& titre, int g, int h, int l,
                   int ht, int tab)
{
    auto* w = Placer(new QGroupBox(titre, zone), nom, g, h, l, ht, tab);
    QFont police(QStringLiteral("MS Sans Serif"));
    police.setPointSizeF(8.25);
    police.setBold(true);
    w->setFont(police);
    return w;
}

// Panel captions are bold; what the panels hold keeps the default font.
void PoliceParDefautPourContenu(QGroupBox* panneau)
{
    // Every attribute set explicitly, or the panel's bold would be inherited.
    QFont police = Images::PoliceFenetres();
    police.setFamily(police.family());
    police.setPointSizeF(police.pointSizeF());
    police.setBold(false);
    for (QWidget* enfant : panneau->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        enfant->setFont(police);
}

} // namespace

Creer_POI::Creer_POI(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Creer_POI"));
    setWindowTitle(QStringLiteral("Quaylight (V1.2i)"));
    setWindowIcon(Images::IconeFenetre());
    setFont(Images::PoliceFenetres());

    ConstruireMenus();

    auto* zone = new QWidget(this);
    zone->setObjectName(QStringLiteral("ZoneClient"));
    zone->setMinimumSize(Twips::VersPixels(LargeurZone), Twips::VersPixels(HauteurZone));
    Colorer(zone, GrisClair);
    setCentralWidget(zone);

    ConstruireGoogle(zone);
    ConstruirePOIS(zone);
    ConstruireLIENS(zone);
    ROUTES = new PanneauRoutes(
        zone, {[this] { return ListePOI->PoisChoisis(); },
               [this](Historique::Etape etape) { NoterChangement(std::move(etape)); },
               [this] { MontrerRoutesSurCarte(); }});
    ROUTES->hide();
    PROPRIETES = new BoiteProprietes(
        this, {[this] { return ListePOI->PoisChoisis(); },
               [this](Historique::Etape etape) { NoterChangement(std::move(etape)); },
               [this] {
                   if (Option2[0]->isChecked())
                       Carte::ActualiserMarques();
               }});
    FUSION = new BoiteFusion(
        this, {[this](Historique::Etape etape) { NoterChangement(std::move(etape)); },
               [this] { MontrerDocument(); }});
    DOUBLONS = new BoiteDoublons(
        this, {[this](Historique::Etape etape) { NoterChangement(std::move(etape)); },
               [this] { MontrerDocument(); }});
    poisDeBase = POIS->geometry();
    listeDeBase = ListePOI->geometry();
    for (QWidget* w : POIS->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (w->y() >= listeDeBase.bottom())
            sousLaListe.emplace_back(w, w->pos());
    zone->installEventFilter(this);

    // Tab order by the layout's tab indexes, over the controls that take focus.
    QList<QWidget*> ordre;
    for (QWidget* w : zone->findChildren<QWidget*>())
        if (w->property("tabIndex").isValid() && w->focusPolicy() != Qt::NoFocus)
            ordre << w;
    std::stable_sort(ordre.begin(), ordre.end(), [](QWidget* a, QWidget* b) {
        return a->property("tabIndex").toInt() < b->property("tabIndex").toInt();
    });
    for (int i = 1; i < ordre.size(); ++i)
        QWidget::setTabOrder(ordre[i - 1], ordre[i]);

    AjusterBarreMenus();
    resize(minimumSizeHint());
    ConnecterEvenements();
}

void Creer_POI::AjusterBarreMenus()
{
    // Every entry of the bar must show in the narrow window, never behind an
    // overflow button: the bar's text shrinks until its entries fit.
    QMenuBar* barre = menuBar();
    const int largeur = centralWidget()->width();
    QFont police = Images::PoliceFenetres();
    auto largeurEntrees = [barre](const QFont& f) {
        const QFontMetrics mesure(f);
        int total = 2 * barre->style()->pixelMetric(QStyle::PM_MenuBarHMargin, nullptr, barre) +
                    2 * barre->style()->pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, barre);
        for (QAction* a : barre->actions())
            total += mesure.horizontalAdvance(QString(a->text()).remove(QLatin1Char('&'))) + 8;
        return total;
    };
    while (largeurEntrees(police) > largeur && police.pointSizeF() > 6)
        police.setPointSizeF(police.pointSizeF() - 0.25);
    barre->setFont(police);
}

void Creer_POI::ConstruireMenus()
{
    QMenuBar* barre = menuBar();
    barre->setStyleSheet(QStringLiteral("QMenuBar { spacing: 0px; } "
                                        "QMenuBar::item { padding: 2px 3px; }"));
    Menu_Fichier = barre->addMenu(QStringLiteral("Fichier"));
    Menu_Fichier->setObjectName(QStringLiteral("Menu_Fichier"));
    Menu_Fichier->menuAction()->setObjectName(QStringLiteral("Menu_Fichier"));
    auto action = [this](QWidget* ou, const char* nom, const QString& texte) {
        auto* a = new QAction(texte, this);
        a->setObjectName(QLatin1String(nom));
        ou->addAction(a);
        return a;
    };
    Ouvrir_Fichier = action(Menu_Fichier, "Ouvrir_Fichier",
                            QStringLiteral("Ouvrir ou créer un fichier \"gpx\""));
    Sauver_Fichier = action(Menu_Fichier, "Sauver_Fichier", QStringLiteral("Enregistrer"));
    Sauver_sous = action(Menu_Fichier, "Sauver_sous", QStringLiteral("Enregistrer sous ..."));
    Importer_Poi = action(Menu_Fichier, "Importer_Poi", QStringLiteral("Importer des Poi…"));
    Fusionner_Fichier =
        action(Menu_Fichier, "Fusionner_Fichier", QStringLiteral("Fusionner un fichier…"));
    Menu_Edition = barre->addMenu(QStringLiteral("Édition"));
    Menu_Edition->setObjectName(QStringLiteral("Menu_Edition"));
    Menu_Edition->menuAction()->setObjectName(QStringLiteral("Menu_Edition"));
    Annuler = action(Menu_Edition, "Annuler", QStringLiteral("Annuler"));
    Annuler->setShortcut(QKeySequence::Undo);
    Retablir = action(Menu_Edition, "Retablir", QStringLiteral("Rétablir"));
    Retablir->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    MettreAJourEdition();
    // In a menu: the narrow window's bar has no room for another entry.
    Menu_Edition->addSeparator();
    Voir_Routes = action(Menu_Edition, "Voir_Routes", QStringLiteral("Voir les routes"));
    Voir_Routes->setCheckable(true);
    Voir_Routes->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    Proprietes_Poi = action(Menu_Edition, "Proprietes_Poi", QStringLiteral("Propriétés du Poi…"));
    Proprietes_Poi->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    Guids_Poi =
        action(Menu_Edition, "Guids_Poi", QStringLiteral("Donner un GUID aux Poi sans GUID"));
    Doublons_Poi = action(Menu_Edition, "Doublons_Poi", QStringLiteral("Doublons…"));
    Exporter_Calque =
        action(Menu_Fichier, "Exporter_Calque", QStringLiteral("Exporter comme calque OpenCPN…"));
    Montre_Fichier = action(barre, "Montre_Fichier", QStringLiteral("Voir GPX"));
    Gestion_Liens = action(barre, "Gestion_Liens", QStringLiteral("Liens du Poi"));
    Aide = action(barre, "Aide", QStringLiteral("Aide"));
    Quitter = action(barre, "Quitter", QStringLiteral("Quitter"));
}

void Creer_POI::ConstruireGoogle(QWidget* zone)
{
    Google = Panneau(zone, "Google", QStringLiteral("Utiliser Google Earth ?"), 720, 1800, 2295,
                     975, 33);
    Colorer(Google, GrisBordure, Qt::black);
    Option2[0] = Option(Google, "Option2(0)", QStringLiteral("Oui"), 120, 360, 855, 495, 34);
    Option2[1] = Option(Google, "Option2(1)", QStringLiteral("Non"), 1320, 360, 855, 495, 35);
    PoliceParDefautPourContenu(Google);
}

void Creer_POI::ConstruirePOIS(QWidget* zone)
{
    POIS = Panneau(zone, "POIS", QStringLiteral("Gestion des Poi"), 240, 120, 3375, 6855, 0);
    Colorer(POIS, GrisClair);
    QWidget* p = POIS;
    LangFR = BoutonImage(p, "LangFR", Images::DrapeauFrancais(), 2040, 0, 375, 255, 30);
    LangEN = BoutonImage(p, "LangEN", Images::DrapeauBritannique(), 2400, 0, 375, 255, 31);
    LangSelf = BoutonImage(p, "LangSelf", Images::MotSelf(), 2760, 0, 495, 255, 32);
    Label2 = Etiquette(p, "Label2", QStringLiteral("Fichier des Poi"), 120, 360, 3135, 255, 3);
    LeNomFichier = Saisie(p, "LeNomFichier", 120, 600, 3135, 375, 1);
    LeNomFichier->setReadOnly(true);
    Label1 = Etiquette(p, "Label1", QStringLiteral("Liste des Poi du fichier choisi"), 120, 1080,
                       3135, 255, 4);
    Filtre = Placer(new FiltreNoms(p), "Filtre", 120, 1320, 3135, 345, 2);
    Filtre->setPlaceholderText(QStringLiteral("Chercher un Poi (Ctrl+F)"));
    Filtre->setToolTip(QStringLiteral("Montre les Poi dont le nom contient ce texte, sans tenir "
                                      "compte des majuscules ni des accents ; Échap les montre "
                                      "tous"));
    Filtre->setClearButtonEnabled(true);
    ListePOI = Placer(new ListeMarques(p), "ListePOI", 120, 1710, 3135, 3375, 2);
    Filtre->DefinirListe(ListePOI);
    ListePOI->setToolTip(QStringLiteral("Liste des Poi du fichier \"gpx\" choisi"));
    Lat_Long = Saisie(p, "Lat_Long", 120, 5160, 2655, 375, 5, QStringLiteral("Latitude longitude"));
    Pickup_X_Y = Bouton(p, "Pickup_X_Y", QStringLiteral("<<<"), 2760, 5160, 495, 375, 26,
                        QStringLiteral("Capturer longitude latitude Google Earth"));
    Nom_WP = Saisie(p, "Nom_WP", 120, 5640, 1935, 375, 6, QStringLiteral("Nom du Poi"));
    Symbole = Placer(new BoiteSymbole(p), "Symbole", 2100, 5640, 1155, 375, 6);
    Symbole->setToolTip(QStringLiteral("Symbole du Poi sur la carte d'OpenCPN (vide : anchorage)"));
    Option1[0] =
        Option(p, "Option1(0)", QStringLiteral("Modifier le Poi"), 120, 6000, 1575, 375, 7,
               QStringLiteral("Permet de modifier Longitude-Latitude et nom du  Poi sélectionné"));
    Option1[1] =
        Option(p, "Option1(1)", QStringLiteral("Nouveau Poi"), 1800, 6000, 1455, 375, 8,
               QStringLiteral("Permet de créer un nouveau Poi dans le fichier \"gpx\" choisi"));
    Option1[2] = Option(p, "Option1(2)", QStringLiteral("Supprimer le Poi"), 120, 6360, 1575, 375,
                        9, QStringLiteral("Supprime de Poi sélectionné"));
    for (QRadioButton* o : Option1)
        Colorer(o, GrisClair);
    Validation =
        Bouton(p, "Validation", QStringLiteral("Valider"), 1800, 6360, 1455, 375, 10,
               QStringLiteral("Valide l'ensemble des modifications de la boite de saisie"));
    Colorer(Validation, BleuClair);
    PoliceParDefautPourContenu(POIS);
}

void Creer_POI::ConstruireLIENS(QWidget* zone)
{
    LIENS = Panneau(zone, "LIENS", QStringLiteral("Gestion des liens"), 4200, 120, 3375, 6855, 11);
    Colorer(LIENS, GrisClair);
    LIENS->hide();
    QWidget* p = LIENS;
    Label9 = Etiquette(p, "Label9", QStringLiteral("Nom du POI concerné"), 240, 360, 2895, 255, 24);
    Text7 = Saisie(p, "Text7", 120, 600, 3135, 375, 25);
    Text7->setReadOnly(true);
    Descriptif =
        Bouton(p, "Descriptif", QStringLiteral("Créer-éditer descriptif détaillé"), 120, 1080, 3135,
               375, 18,
               QStringLiteral("Permet d'éditer ou de modifier un fichier de texte décrivant "
                              "les caractéristiques essentielles du Poi sélectionné"));
    Label4 = Etiquette(p, "Label4", QStringLiteral("Nom du lien internet à ajouter"), 240, 1680,
                       2895, 255, 12);
    Text3 = Saisie(
        p, "Text3", 120, 1920, 3135, 285, 13,
        QStringLiteral("Définir le nom qu'on donne à un lien internet associé au Poi sélectionné"));
    Label5 = Etiquette(p, "Label5", QStringLiteral("URL du lien internet à ajouter"), 240, 2280,
                       2895, 255, 15);
    Label5->setToolTip(
        QStringLiteral("URL du lien internet (copié-collé à partir du navigateur internet)"));
    Text4 = Saisie(p, "Text4", 120, 2490, 3135, 285, 14);
    Label6 = Etiquette(p, "Label6", QStringLiteral("Nom du lien fichier à ajouter au POI"), 240,
                       3000, 2895, 255, 16);
    Text1 = Saisie(p, "Text1", 120, 3210, 3135, 285, 17,
                   QStringLiteral("Définir le nom qu'on donne à un lien \"fichier\" associé au Poi "
                                  "sélectionné"));
    Label7 =
        Etiquette(p, "Label7", QStringLiteral("Fichier à lier au POI"), 240, 3600, 2895, 255, 29);
    Text2 = Saisie(p, "Text2", 120, 3780, 2655, 315, 28);
    Fichier_lien =
        Bouton(p, "Fichier_lien", QStringLiteral("<<<"), 2760, 3780, 495, 315, 27,
               QStringLiteral(
                   "Permet de chercher dans le PC le fichier qu'on va lier au Poi sélectionné"));
    Valider_lien =
        Bouton(p, "Valider_lien", QStringLiteral("Valider"), 120, 4200, 3135, 375, 19,
               QStringLiteral("Valide l'ensemble des modifications de la boite de saisie"));
    Colorer(Valider_lien, BleuClair);
    Label8 =
        Etiquette(p, "Label8", QStringLiteral("Liste des liens du Poi"), 240, 4680, 2895, 255, 21);
    ListeLiens = Placer(new ListeChoix(p), "ListeLiens", 120, 4920, 3135, 1230, 20);
    ListeLiens->setToolTip(QStringLiteral(
        "Liste des liens du Poi sélectionné. Limité à  6 pour rester compatible avec OpenCPN"));
    Tester_Lien =
        Bouton(p, "Tester_Lien", QStringLiteral("Consulter le lien"), 120, 6360, 1575, 375, 22,
               QStringLiteral("Permet de consulter le lien sélectionné dans la liste des "
                              "liens"));
    Supprimer_Lien =
        Bouton(p, "Supprimer_Lien", QStringLiteral("Supprimer le lien"), 1800, 6360, 1455, 375, 23,
               QStringLiteral("Supprime le lien sélectionné dans la liste des liens"));
    PoliceParDefautPourContenu(LIENS);
}

void Creer_POI::ConnecterEvenements()
{
    connect(Ouvrir_Fichier, &QAction::triggered, this, &Creer_POI::Ouvrir_Fichier_Click);
    connect(Sauver_Fichier, &QAction::triggered, this, &Creer_POI::Sauver_Fichier_Click);
    connect(Sauver_sous, &QAction::triggered, this, &Creer_POI::Sauver_sous_Click);
    connect(Importer_Poi, &QAction::triggered, this, &Creer_POI::Importer_Poi_Click);
    connect(Annuler, &QAction::triggered, this, &Creer_POI::Annuler_Click);
    connect(Retablir, &QAction::triggered, this, &Creer_POI::Retablir_Click);
    connect(Montre_Fichier, &QAction::triggered, this, &Creer_POI::Montre_Fichier_Click);
    connect(Gestion_Liens, &QAction::triggered, this, &Creer_POI::Gestion_Liens_Click);
    connect(Voir_Routes, &QAction::triggered, this, &Creer_POI::Voir_Routes_Click);
    connect(Proprietes_Poi, &QAction::triggered, PROPRIETES, &BoiteProprietes::Ouvrir);
    connect(ListePOI, &QListWidget::itemDoubleClicked, PROPRIETES, &BoiteProprietes::Ouvrir);
    connect(Guids_Poi, &QAction::triggered, PROPRIETES, &BoiteProprietes::Guids_Poi_Click);
    connect(Fusionner_Fichier, &QAction::triggered, this, &Creer_POI::Fusionner_Fichier_Click);
    connect(Doublons_Poi, &QAction::triggered, DOUBLONS, &BoiteDoublons::Ouvrir);
    connect(Exporter_Calque, &QAction::triggered, this,
            [this] { ExportCalque::Exporter_Calque_Click(*this, ListePOI->PoisChoisis()); });
    connect(Aide, &QAction::triggered, this, &Creer_POI::Aide_Click);
    connect(Quitter, &QAction::triggered, this, &Creer_POI::Quitter_Click);
    connect(LangFR, &QPushButton::clicked, this, &Creer_POI::LangFR_Click);
    connect(LangEN, &QPushButton::clicked, this, &Creer_POI::LangEN_Click);
    connect(LangSelf, &QPushButton::clicked, this, &Creer_POI::LangSelf_Click);
    // A selection set in code reaches the handler exactly as a click does;
    // the current row that keyboard focus moves does not.
    connect(ListePOI, &QListWidget::itemSelectionChanged, this, &Creer_POI::ListePOI_Click);
    connect(Filtre, &QLineEdit::textChanged, this,
            [this](const QString& texte) { ListePOI->Filtrer(Declarations::Table, texte); });
    auto* chercher = new QShortcut(QKeySequence::Find, this);
    connect(chercher, &QShortcut::activated, this, [this] {
        Montre_Fichier_Click();
        Filtre->setFocus(Qt::ShortcutFocusReason);
        Filtre->selectAll();
    });
    // Entering or leaving "Modifier le Poi" lets a drag on the map move the
    // current mark, or puts it back.
    connect(Option1[0], &QRadioButton::toggled, this, [this] { MarquerCouranteSurCarte(); });
    Lat_Long->installEventFilter(this);
    Nom_WP->installEventFilter(this);
    for (int i = 0; i < int(Option1.size()); ++i)
        connect(Option1[i], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    connect(Validation, &QPushButton::clicked, this, &Creer_POI::Validation_Click);
    connect(Pickup_X_Y, &QPushButton::clicked, this, &Creer_POI::Pickup_X_Y_Click);
    connect(Fichier_lien, &QPushButton::clicked, this, &Creer_POI::Fichier_lien_Click);
    connect(Valider_lien, &QPushButton::clicked, this, &Creer_POI::Valider_lien_Click);
    connect(Tester_Lien, &QPushButton::clicked, this, &Creer_POI::Tester_Lien_Click);
    connect(Supprimer_Lien, &QPushButton::clicked, this, &Creer_POI::Supprimer_Lien_Click);
    connect(Descriptif, &QPushButton::clicked, this, &Creer_POI::Descriptif_Click);
}

bool Creer_POI::eventFilter(QObject* objet, QEvent* event)
{
    // Text boxes have no click signal: a click is a left button released
    // inside the box.
    if (objet == centralWidget() && event->type() == QEvent::Resize)
        Disposer();
    if (event->type() == QEvent::MouseButtonRelease) {
        if (objet == Lat_Long)
            Lat_Long_Click();
        else if (objet == Nom_WP)
            Nom_WP_Click();
    }
    return QMainWindow::eventFilter(objet, event);
}

void Creer_POI::closeEvent(QCloseEvent* event)
{
    bool cancel = false;
    Form_QueryUnload(cancel, fermetureParProgramme ? 1 : 0);
    if (cancel)
        event->ignore();
    else
        event->accept();
}

QObject* Creer_POI::Controle(const QString& nom) const
{
    if (nom.isEmpty())
        return nullptr;
    if (auto* w = centralWidget()->findChild<QWidget*>(nom))
        return w;
    for (QDialog* boite : std::initializer_list<QDialog*>{PROPRIETES, FUSION, DOUBLONS}) {
        if (nom == boite->objectName())
            return boite;
        if (auto* w = boite->findChild<QWidget*>(nom))
            return w;
    }
    if (nom == Menu_Fichier->objectName())
        return Menu_Fichier;
    if (nom == Menu_Edition->objectName())
        return Menu_Edition;
    return findChild<QAction*>(nom);
}

void Creer_POI::DecocherOption(QRadioButton* option)
{
    const bool exclusif = option->autoExclusive();
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(exclusif);
}

void Creer_POI::DecocherModes()
{
    for (QRadioButton* o : Option1)
        DecocherOption(o);
}

void Creer_POI::RemplirListePOI()
{
    ListePOI->Remplir(Declarations::Table);
    Symbole->Proposer(Declarations::Table);
    // The routes' points follow their marks.
    ROUTES->Actualiser();
    // A panel shown has drawn them already.
    if (!ROUTES->isVisible())
        MontrerRoutesSurCarte();
}

void Creer_POI::Disposer()
{
    QWidget* zone = centralWidget();
    const int plus = std::max(0, zone->height() - Twips::VersPixels(HauteurZone));
    const int marge = poisDeBase.left();
    // With the routes shown the window grew to the left: the marks (and the
    // links, in their place) stay at its right, the routes before them.
    const int x = poisDeBase.left() +
                  (ROUTES->isHidden() ? 0 : zone->width() - Twips::VersPixels(LargeurZone));
    LIENS->move(LIENS->x() + x - POIS->x(), LIENS->y());
    POIS->setGeometry(x, poisDeBase.top(), poisDeBase.width(), poisDeBase.height() + plus);
    ListePOI->setGeometry(listeDeBase.adjusted(0, 0, 0, plus));
    for (const auto& [w, place] : sousLaListe)
        w->move(place.x(), place.y() + plus);
    ROUTES->setGeometry(marge, poisDeBase.top(), std::max(0, x - 2 * marge),
                        poisDeBase.height() + plus);
}

void Creer_POI::Voir_Routes_Click()
{
    const bool montrer = ROUTES->isHidden();
    QWidget* zone = centralWidget();
    const int largeur = Twips::VersPixels(LargeurZone) + (montrer ? LargeurRoutes : 0);
    // The window grows or shrinks on its left: the marks stay where the
    // user sees them, and a map beside them is not covered. Measured before
    // the least size changes, which widens the window on its right.
    const int ecart =
        montrer ? std::max(0, largeur - zone->width()) : -std::max(0, zone->width() - largeur);
    QRect cadre = frameGeometry();
    zone->setMinimumWidth(largeur);
    ROUTES->setVisible(montrer);
    Voir_Routes->setChecked(montrer);
    cadre.setLeft(cadre.left() - ecart);
    // It stays on the screens: one move, to where it ends.
    resize(width() + ecart, height());
    move(Ecrans::RentrerSurLesEcrans(cadre));
    Disposer();
    // Shown, the panel takes the keys.
    if (montrer)
        ROUTES->ListeRoutes->setFocus(Qt::ShortcutFocusReason);
}

void Creer_POI::Montre_Fichier_Click()
{
    POIS->show();
    LIENS->hide();
}
