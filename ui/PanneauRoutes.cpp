// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PanneauRoutes.h"

#include "earth/CarteRoutes.h"
#include "editing/Positions.h"
#include "gpx/Messages.h"
#include "shell/Declarations.h"
#include "shell/Plateforme.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

namespace {

using Declarations::LesRoutes;
using Declarations::Table;

QString Milles(double milles)
{
    return QString::fromStdString(Gpx::TexteMilles(milles));
}

// Hours and minutes, "2:05".
QString Duree(double heures)
{
    const long long minutes = std::llround(heures * 60);
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

const QString FormatDepart = QStringLiteral("yyyy-MM-dd HH:mm");

// A departure as the box takes it: "2026-06-01 08:00" or ISO 8601, in UTC.
bool LireDepart(const QString& texte, QDateTime& depart)
{
    const QString t = texte.trimmed();
    if (t.isEmpty()) {
        depart = QDateTime();
        return true;
    }
    depart = QDateTime::fromString(t, FormatDepart);
    if (!depart.isValid()) {
        const auto secondes = Gpx::LireDepart(t.toStdString());
        if (secondes)
            depart = QDateTime::fromSecsSinceEpoch(*secondes, Qt::UTC);
    } else {
        depart.setTimeSpec(Qt::UTC);
    }
    return depart.isValid();
}

QPushButton* Bouton(QWidget* parent, const char* nom, const QString& texte, const QString& bulle)
{
    auto* b = new QPushButton(texte, parent);
    b->setObjectName(QLatin1String(nom));
    b->setToolTip(bulle);
    return b;
}

QLineEdit* Saisie(QWidget* parent, const char* nom, const QString& invite, const QString& bulle)
{
    auto* s = new QLineEdit(parent);
    s->setObjectName(QLatin1String(nom));
    s->setPlaceholderText(invite);
    s->setToolTip(bulle);
    return s;
}

QLabel* Etiquette(QWidget* parent, const char* nom, const QString& texte)
{
    auto* l = new QLabel(texte, parent);
    l->setObjectName(QLatin1String(nom));
    return l;
}

} // namespace

PanneauRoutes::PanneauRoutes(QWidget* parent, Liens l)
    : QGroupBox(QStringLiteral("Routes"), parent), liens(std::move(l))
{
    setObjectName(QStringLiteral("ROUTES"));
    ListeRoutes = new QListWidget(this);
    ListeRoutes->setObjectName(QStringLiteral("ListeRoutes"));
    ListeRoutes->setToolTip(QStringLiteral("Les routes du fichier, leurs points et leur longueur"));
    Nom_Route = Saisie(this, "Nom_Route", QStringLiteral("Nom de la route"),
                       QStringLiteral("Entrée renomme la route choisie"));
    Nouvelle_Route = Bouton(this, "Nouvelle_Route", QStringLiteral("Nouvelle route"),
                            QStringLiteral("Crée une route vide, à nommer (Ctrl+Maj+N)"));
    Supprimer_Route = Bouton(this, "Supprimer_Route", QStringLiteral("Supprimer la route"),
                             QStringLiteral("Supprime la route choisie"));

    TableTroncons = new QTableWidget(0, 8, this);
    TableTroncons->setObjectName(QStringLiteral("TableTroncons"));
    TableTroncons->setHorizontalHeaderLabels(
        {QStringLiteral("#"), QStringLiteral("Point"), QStringLiteral("Position"),
         QStringLiteral("Milles"), QStringLiteral("Cap"), QStringLiteral("Cumul"),
         QStringLiteral("Durée"), QStringLiteral("ETA (UTC)")});
    TableTroncons->setToolTip(
        QStringLiteral("Les points de la route et le trajet de chacun depuis le précédent"));
    TableTroncons->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableTroncons->setSelectionBehavior(QAbstractItemView::SelectRows);
    TableTroncons->setSelectionMode(QAbstractItemView::SingleSelection);
    TableTroncons->verticalHeader()->hide();
    // Tab leaves the table for the next control, as everywhere else.
    TableTroncons->setTabKeyNavigation(false);
    TableTroncons->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    TableTroncons->horizontalHeader()->setStretchLastSection(true);

    Ajouter_Poi_Route =
        Bouton(this, "Ajouter_Poi_Route", QStringLiteral("Ajouter les Poi"),
               QStringLiteral("Ajoute à la fin les Poi choisis dans la liste (Ctrl+Maj+A)"));
    Inserer_Poi_Route =
        Bouton(this, "Inserer_Poi_Route", QStringLiteral("Insérer avant"),
               QStringLiteral("Insère les Poi choisis dans la liste avant le point choisi"));
    Retirer_Point = Bouton(this, "Retirer_Point", QStringLiteral("Retirer"),
                           QStringLiteral("Retire le point choisi de la route (Suppr)"));
    Monter_Point = Bouton(this, "Monter_Point", QStringLiteral("Monter"),
                          QStringLiteral("Avance le point choisi d'une place (Ctrl+Haut)"));
    Descendre_Point = Bouton(this, "Descendre_Point", QStringLiteral("Descendre"),
                             QStringLiteral("Recule le point choisi d'une place (Ctrl+Bas)"));
    Inverser_Route = Bouton(this, "Inverser_Route", QStringLiteral("Inverser"),
                            QStringLiteral("Parcourt la route dans l'autre sens"));
    Position_Point = Saisie(this, "Position_Point", QStringLiteral("Position du point libre"),
                            QStringLiteral("Latitude longitude d'un point qui n'est pas un Poi"));
    Placer_Point = Bouton(this, "Placer_Point", QStringLiteral("Placer"),
                          QStringLiteral("Donne cette position au point libre choisi"));
    Label_Vitesse = Etiquette(this, "Label_Vitesse", QStringLiteral("Vitesse (nœuds)"));
    Vitesse_Route = Saisie(this, "Vitesse_Route", QStringLiteral("5"),
                           QStringLiteral("Vitesse prévue, en nœuds ; Entrée la retient"));
    Label_Depart = Etiquette(this, "Label_Depart", QStringLiteral("Départ (UTC)"));
    Depart_Route = Saisie(this, "Depart_Route", QStringLiteral("AAAA-MM-JJ HH:MM"),
                          QStringLiteral("Départ prévu en UTC ; vide : aucun ; Entrée le retient"));
    Totaux_Route = Etiquette(this, "Totaux_Route", QString());
    Construire_Route =
        Bouton(this, "Construire_Route", QStringLiteral("Construire sur la carte"),
               QStringLiteral("Un clic sur un Poi de la carte l'ajoute à la route, un clic en mer "
                              "y ajoute un point libre ; Échap sur la carte termine (Ctrl+Maj+B)"));
    Construire_Route->setCheckable(true);

    auto* colonne = new QVBoxLayout(this);
    colonne->addWidget(ListeRoutes, 1);
    auto* routes = new QHBoxLayout;
    routes->addWidget(Nom_Route, 1);
    routes->addWidget(Nouvelle_Route);
    routes->addWidget(Supprimer_Route);
    colonne->addLayout(routes);
    colonne->addWidget(TableTroncons, 3);
    auto* points = new QGridLayout;
    const std::vector<QPushButton*> boutons{Ajouter_Poi_Route, Inserer_Poi_Route, Retirer_Point,
                                            Monter_Point,      Descendre_Point,   Inverser_Route};
    for (int i = 0; i < int(boutons.size()); ++i)
        points->addWidget(boutons[size_t(i)], i / 3, i % 3);
    colonne->addLayout(points);
    auto* libre = new QHBoxLayout;
    libre->addWidget(Position_Point, 1);
    libre->addWidget(Placer_Point);
    colonne->addLayout(libre);
    auto* plan = new QGridLayout;
    plan->addWidget(Label_Vitesse, 0, 0);
    plan->addWidget(Vitesse_Route, 0, 1);
    plan->addWidget(Label_Depart, 1, 0);
    plan->addWidget(Depart_Route, 1, 1);
    colonne->addLayout(plan);
    colonne->addWidget(Totaux_Route);
    colonne->addWidget(Construire_Route);

    connect(ListeRoutes, &QListWidget::currentRowChanged, this, [this] {
        if (!remplissage)
            RemplirTroncons(Routes::Indexer(Table));
    });
    connect(Nouvelle_Route, &QPushButton::clicked, this, &PanneauRoutes::Nouvelle_Route_Click);
    connect(Nom_Route, &QLineEdit::returnPressed, this, &PanneauRoutes::Nom_Route_Valider);
    connect(Supprimer_Route, &QPushButton::clicked, this, &PanneauRoutes::Supprimer_Route_Click);
    connect(Ajouter_Poi_Route, &QPushButton::clicked, this,
            &PanneauRoutes::Ajouter_Poi_Route_Click);
    connect(Inserer_Poi_Route, &QPushButton::clicked, this,
            &PanneauRoutes::Inserer_Poi_Route_Click);
    connect(Retirer_Point, &QPushButton::clicked, this, &PanneauRoutes::Retirer_Point_Click);
    connect(Monter_Point, &QPushButton::clicked, this, &PanneauRoutes::Monter_Point_Click);
    connect(Descendre_Point, &QPushButton::clicked, this, &PanneauRoutes::Descendre_Point_Click);
    connect(Inverser_Route, &QPushButton::clicked, this, &PanneauRoutes::Inverser_Route_Click);
    connect(Placer_Point, &QPushButton::clicked, this, &PanneauRoutes::Placer_Point_Click);
    connect(Position_Point, &QLineEdit::returnPressed, this, &PanneauRoutes::Placer_Point_Click);
    connect(Vitesse_Route, &QLineEdit::returnPressed, this, &PanneauRoutes::Vitesse_Route_Valider);
    connect(Depart_Route, &QLineEdit::returnPressed, this, &PanneauRoutes::Depart_Route_Valider);
    connect(Construire_Route, &QPushButton::clicked, this, &PanneauRoutes::Construire_Route_Click);
    // The leg table's own keys: Delete removes the point, Ctrl with the
    // arrows moves it.
    auto raccourci = [this](const QKeySequence& touches, void (PanneauRoutes::*commande)()) {
        auto* r = new QShortcut(touches, TableTroncons, nullptr, nullptr, Qt::WidgetShortcut);
        connect(r, &QShortcut::activated, this, commande);
    };
    raccourci(QKeySequence::Delete, &PanneauRoutes::Retirer_Point_Click);
    raccourci(QKeySequence(Qt::CTRL | Qt::Key_Up), &PanneauRoutes::Monter_Point_Click);
    raccourci(QKeySequence(Qt::CTRL | Qt::Key_Down), &PanneauRoutes::Descendre_Point_Click);
    raccourci(QKeySequence(Qt::Key_Insert), &PanneauRoutes::Inserer_Poi_Route_Click);
    // The panel's main commands from anywhere in the window while it shows.
    auto commande = [this](const QKeySequence& touches, QPushButton* bouton) {
        auto* r = new QShortcut(touches, this);
        connect(r, &QShortcut::activated, bouton, [bouton] {
            if (bouton->isEnabled())
                bouton->click();
        });
    };
    commande(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N), Nouvelle_Route);
    commande(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A), Ajouter_Poi_Route);
    commande(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B), Construire_Route);
}

void PanneauRoutes::showEvent(QShowEvent* event)
{
    Actualiser();
    QGroupBox::showEvent(event);
}

void PanneauRoutes::hideEvent(QHideEvent* event)
{
    // No route is built on the map while the panel is away.
    if (Construire_Route->isChecked())
        ConstructionFinie();
    QGroupBox::hideEvent(event);
}

int PanneauRoutes::RouteChoisie() const
{
    const int r = ListeRoutes->currentRow();
    return r >= 0 && size_t(r) < LesRoutes.liste.size() ? r : -1;
}

int PanneauRoutes::PointChoisi() const
{
    const int r = RouteChoisie();
    const int k = TableTroncons->currentRow();
    return r >= 0 && k >= 0 && size_t(k) < LesRoutes.liste[size_t(r)].points.size() ? k : -1;
}

void PanneauRoutes::ChoisirRoute(int r)
{
    ListeRoutes->setCurrentRow(r);
}

void PanneauRoutes::ChoisirPoint(int k)
{
    TableTroncons->setCurrentCell(k, 0);
}

void PanneauRoutes::Actualiser()
{
    if (!isVisible())
        return;
    const int route = ListeRoutes->currentRow();
    remplissage = true;
    ListeRoutes->clear();
    const Routes::Index index = Routes::Indexer(Table);
    for (int r = 0; r < int(LesRoutes.liste.size()); ++r) {
        const Gpx::Route& route = LesRoutes.liste[size_t(r)];
        const Routes::Totaux total = LesRoutes.Total(Table, index, r);
        const QString nom = route.nom.empty() ? QStringLiteral("(%1)").arg(r + 1)
                                              : QString::fromStdString(route.nom);
        ListeRoutes->addItem(QStringLiteral("%1 — %2 pts — %3 NM")
                                 .arg(nom)
                                 .arg(route.points.size())
                                 .arg(Milles(total.milles)));
    }
    ListeRoutes->setCurrentRow(std::min(route, ListeRoutes->count() - 1));
    remplissage = false;
    RemplirTroncons(index);
}

void PanneauRoutes::RemplirTroncons(const Routes::Index& index)
{
    const int r = RouteChoisie();
    const int point = TableTroncons->currentRow();
    TableTroncons->setRowCount(0);
    for (QWidget* w : std::initializer_list<QWidget*>{
             Supprimer_Route, Ajouter_Poi_Route, Inserer_Poi_Route, Retirer_Point, Monter_Point,
             Descendre_Point, Inverser_Route, Placer_Point, Vitesse_Route, Depart_Route, Nom_Route,
             Construire_Route})
        w->setEnabled(r >= 0);
    if (liens.routesChangees)
        liens.routesChangees();
    if (r < 0) {
        for (QLineEdit* boite : {Nom_Route, Vitesse_Route, Depart_Route})
            boite->clear();
        Totaux_Route->clear();
        if (Construire_Route->isChecked())
            ConstructionFinie();
        return;
    }
    if (Construire_Route->isChecked())
        CarteRoutes::Construire(Table, LesRoutes, r);
    const Gpx::Route& route = LesRoutes.liste[size_t(r)];
    Nom_Route->setText(QString::fromStdString(route.nom));
    Vitesse_Route->setText(QString::number(route.vitesse, 'g', 6));
    const QDateTime depart = LesRoutes.Depart(r);
    Depart_Route->setText(depart.isValid() ? depart.toString(FormatDepart) : QString());
    const std::vector<Routes::Ligne> lignes = LesRoutes.Lignes(Table, index, r);
    TableTroncons->setRowCount(int(lignes.size()));
    for (int k = 0; k < int(lignes.size()); ++k) {
        const Routes::Ligne& l = lignes[size_t(k)];
        const bool sansPosition = !l.point.position.valide;
        const bool inconnu = !l.premier && !l.troncon.valide;
        const QString cellules[8] = {
            QString::number(k + 1),
            l.point.marque > 0 ? l.point.nom : l.point.nom + QStringLiteral(" *"),
            sansPosition ? QStringLiteral("?") : l.point.lat + QLatin1Char(',') + l.point.lon,
            l.premier ? QString()
            : inconnu ? QStringLiteral("?")
                      : Milles(l.troncon.distance),
            l.premier ? QString()
            : inconnu ? QStringLiteral("?")
                      : QString::fromStdString(Gpx::TexteCap(l.troncon.cap)) + QChar(0x00B0),
            Milles(l.cumul),
            Duree(l.heures),
            l.eta.isValid() ? l.eta.toString(FormatDepart) : QString()};
        for (int c = 0; c < 8; ++c)
            TableTroncons->setItem(k, c, new QTableWidgetItem(cellules[c]));
    }
    if (point >= 0 && point < TableTroncons->rowCount())
        TableTroncons->setCurrentCell(point, 0);
    const double milles = lignes.empty() ? 0 : lignes.back().cumul;
    const double heures = lignes.empty() ? 0 : lignes.back().heures;
    Totaux_Route->setText(QStringLiteral("Total : %1 NM, %2").arg(Milles(milles), Duree(heures)));
}

void PanneauRoutes::Message(const QString& texte)
{
    Plateforme::Courante().Message(this, texte, Plateforme::Boutons::OK);
}

void PanneauRoutes::Changer(const std::function<void()>& changement)
{
    auto etape = Historique::Etape::Itineraires(LesRoutes, Declarations::NumPOI);
    changement();
    liens.noter(std::move(etape));
    Actualiser();
}

void PanneauRoutes::Nouvelle_Route_Click()
{
    int r = -1;
    Changer([&r] {
        r = LesRoutes.Nouvelle(QStringLiteral("Route %1").arg(LesRoutes.liste.size() + 1));
    });
    ChoisirRoute(r);
    // Named at once: the name box takes the keys.
    Nom_Route->setFocus(Qt::OtherFocusReason);
    Nom_Route->selectAll();
}

void PanneauRoutes::Nom_Route_Valider()
{
    const int r = RouteChoisie();
    const QString nom = Nom_Route->text().trimmed();
    if (r < 0 || nom.isEmpty() || nom.toStdString() == LesRoutes.liste[size_t(r)].nom)
        return;
    Changer([r, &nom] { LesRoutes.Renommer(r, nom); });
}

void PanneauRoutes::Supprimer_Route_Click()
{
    const int r = RouteChoisie();
    if (r < 0)
        return;
    const QString nom = QString::fromStdString(LesRoutes.liste[size_t(r)].nom);
    if (Plateforme::Courante().Message(this, Messages::Texte(Messages::SupprimerRoute).arg(nom),
                                       Plateforme::Boutons::NonOui) != Plateforme::Reponse::Oui)
        return;
    Changer([r] { LesRoutes.Supprimer(r); });
}

void PanneauRoutes::AjouterMarques(int avant)
{
    const int r = RouteChoisie();
    const std::vector<int> marques = liens.marquesChoisies();
    if (r < 0 || marques.empty()) {
        Message(Declarations::MsgBoite[1]);
        return;
    }
    Changer([r, avant, &marques] { LesRoutes.AjouterMarques(Table, r, avant, marques); });
    ChoisirPoint(avant < 0 ? TableTroncons->rowCount() - 1 : avant);
}

void PanneauRoutes::Ajouter_Poi_Route_Click()
{
    AjouterMarques(-1);
}

void PanneauRoutes::Inserer_Poi_Route_Click()
{
    // Before the chosen point; at the end when none is chosen.
    AjouterMarques(PointChoisi());
}

void PanneauRoutes::Retirer_Point_Click()
{
    const int r = RouteChoisie();
    const int k = PointChoisi();
    if (k < 0)
        return;
    Changer([r, k] { LesRoutes.Retirer(r, k); });
    ChoisirPoint(std::min(k, TableTroncons->rowCount() - 1));
}

void PanneauRoutes::Monter_Point_Click()
{
    const int r = RouteChoisie();
    const int k = PointChoisi();
    if (k < 1)
        return;
    Changer([r, k] { LesRoutes.Deplacer(r, k, k - 1); });
    ChoisirPoint(k - 1);
}

void PanneauRoutes::Descendre_Point_Click()
{
    const int r = RouteChoisie();
    const int k = PointChoisi();
    if (k < 0 || k + 1 >= TableTroncons->rowCount())
        return;
    Changer([r, k] { LesRoutes.Deplacer(r, k, k + 1); });
    ChoisirPoint(k + 1);
}

void PanneauRoutes::Inverser_Route_Click()
{
    const int r = RouteChoisie();
    if (r < 0)
        return;
    Changer([r] { LesRoutes.Inverser(r); });
}

void PanneauRoutes::Placer_Point_Click()
{
    const int r = RouteChoisie();
    const int k = PointChoisi();
    if (k < 0) {
        Message(Declarations::MsgBoite[1]);
        return;
    }
    const Routes::Point vu = LesRoutes.PointVu(Table, Routes::Indexer(Table),
                                               LesRoutes.liste[size_t(r)].points[size_t(k)]);
    if (vu.marque > 0) {
        // A mark's point moves with the mark, in the marks panel.
        Message(Messages::Texte(Messages::PointDeMarque));
        return;
    }
    double lat = 0;
    double lon = 0;
    if (Positions::Lire(Position_Point->text(), lat, lon) != Positions::Lecture::Lue) {
        Message(Declarations::MsgBoite[13]);
        return;
    }
    Changer([r, k, lat, lon] { LesRoutes.PlacerLibre(r, k, lat, lon); });
    ChoisirPoint(k);
}

void PanneauRoutes::Vitesse_Route_Valider()
{
    const int r = RouteChoisie();
    if (r < 0)
        return;
    bool ok = false;
    const double v =
        Vitesse_Route->text().trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok || !std::isfinite(v) || v <= 0) {
        Message(Messages::Texte(Messages::VitesseRefusee));
        RemplirTroncons(Routes::Indexer(Table));
        return;
    }
    if (v != LesRoutes.liste[size_t(r)].vitesse)
        Changer([r, v] { LesRoutes.Vitesse(r, v); });
}

void PanneauRoutes::Depart_Route_Valider()
{
    const int r = RouteChoisie();
    if (r < 0)
        return;
    QDateTime depart;
    if (!LireDepart(Depart_Route->text(), depart)) {
        Message(Messages::Texte(Messages::DepartRefuse));
        RemplirTroncons(Routes::Indexer(Table));
        return;
    }
    if (depart != LesRoutes.Depart(r))
        Changer([r, &depart] { LesRoutes.Depart(r, depart); });
}

void PanneauRoutes::Construire_Route_Click()
{
    const int r = RouteChoisie();
    if (r < 0 || !Construire_Route->isChecked()) {
        ConstructionFinie();
        return;
    }
    CarteRoutes::Construire(Table, LesRoutes, r);
}

void PanneauRoutes::MarqueAjoutee(int numero)
{
    const int r = RouteChoisie();
    if (r < 0 || numero < 1 || numero > Table.NbPOI)
        return;
    Changer([r, numero] { LesRoutes.AjouterMarques(Table, r, -1, {numero}); });
    ChoisirPoint(TableTroncons->rowCount() - 1);
}

void PanneauRoutes::PointAjoute(double longitude, double latitude)
{
    const int r = RouteChoisie();
    if (r < 0)
        return;
    Changer([r, longitude, latitude] { LesRoutes.AjouterLibre(r, -1, latitude, longitude); });
    ChoisirPoint(TableTroncons->rowCount() - 1);
}

void PanneauRoutes::PointDeplace(int k, double longitude, double latitude)
{
    const int r = RouteChoisie();
    if (r < 0)
        return;
    // The map counts the points it draws, those with a position.
    const Routes::Index index = Routes::Indexer(Table);
    const auto& points = LesRoutes.liste[size_t(r)].points;
    int dessine = -1;
    for (int i = 0; i < int(points.size()); ++i) {
        const Routes::Point vu = LesRoutes.PointVu(Table, index, points[size_t(i)]);
        if (vu.position.valide && ++dessine == k) {
            if (vu.marque == 0)
                Changer([r, i, longitude, latitude] {
                    LesRoutes.PlacerLibre(r, i, latitude, longitude);
                });
            ChoisirPoint(i);
            return;
        }
    }
}

void PanneauRoutes::ConstructionFinie()
{
    Construire_Route->setChecked(false);
    CarteRoutes::Construire(Table, LesRoutes, -1);
}
