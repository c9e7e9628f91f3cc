// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/BoiteProprietes.h"

#include "gpx/Messages.h"
#include "gpx/Routes.h"
#include "shell/Declarations.h"
#include "shell/Plateforme.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using Gpx::Propriete;

namespace {

template <typename W> W* Nomme(W* w, const char* nom)
{
    w->setObjectName(QLatin1String(nom));
    return w;
}

// The message of a refused value, the field named by its caption.
int MessageRefus(Gpx::RefusPropriete refus)
{
    switch (refus) {
    case Gpx::RefusPropriete::Anneaux:
        return Messages::ProprieteAnneaux;
    case Gpx::RefusPropriete::Couleur:
        return Messages::ProprieteCouleur;
    case Gpx::RefusPropriete::Nombre:
    case Gpx::RefusPropriete::Aucun:
        break;
    }
    return Messages::ProprieteNombre;
}

} // namespace

BoiteProprietes::BoiteProprietes(QWidget* parent, Liens l) : QDialog(parent), liens(std::move(l))
{
    setObjectName(QStringLiteral("Proprietes"));
    setWindowTitle(QStringLiteral("Propriétés du Poi"));
    setModal(true);
    auto* forme = new QFormLayout;
    auto ligne = [&](QLabel* etiquette, std::initializer_list<QWidget*> champs) {
        auto* l = new QHBoxLayout;
        for (QWidget* w : champs)
            l->addWidget(w);
        forme->addRow(etiquette, l);
    };
    Viz_Poi = Nomme(new QCheckBox(QStringLiteral("Visible sur la carte"), this), "Viz_Poi");
    Nom_Visible = Nomme(new QCheckBox(QStringLiteral("Nom visible"), this), "Nom_Visible");
    forme->addRow(Viz_Poi, Nom_Visible);
    Label_Rayon =
        Nomme(new QLabel(QStringLiteral("Rayon d'arrivée (milles)"), this), "Label_Rayon");
    Rayon_Arrivee = Nomme(new QLineEdit(this), "Rayon_Arrivee");
    ligne(Label_Rayon, {Rayon_Arrivee});
    Anneaux_Visibles =
        Nomme(new QCheckBox(QStringLiteral("Cercles de distance"), this), "Anneaux_Visibles");
    Label_Anneaux = Nomme(new QLabel(QStringLiteral("Nombre (0 à 10), pas, unité, couleur"), this),
                          "Label_Anneaux");
    Anneaux_Nombre = Nomme(new QLineEdit(this), "Anneaux_Nombre");
    Anneaux_Pas = Nomme(new QLineEdit(this), "Anneaux_Pas");
    Anneaux_Unites = Nomme(new QComboBox(this), "Anneaux_Unites");
    Anneaux_Couleur = Nomme(new QLineEdit(this), "Anneaux_Couleur");
    forme->addRow(Anneaux_Visibles);
    ligne(Label_Anneaux, {Anneaux_Nombre, Anneaux_Pas, Anneaux_Unites, Anneaux_Couleur});
    Echelle_Utilisee =
        Nomme(new QCheckBox(QStringLiteral("Limites d'échelle"), this), "Echelle_Utilisee");
    Label_Echelle =
        Nomme(new QLabel(QStringLiteral("Échelle minimale, maximale"), this), "Label_Echelle");
    Echelle_Min = Nomme(new QLineEdit(this), "Echelle_Min");
    Echelle_Max = Nomme(new QLineEdit(this), "Echelle_Max");
    forme->addRow(Echelle_Utilisee);
    ligne(Label_Echelle, {Echelle_Min, Echelle_Max});
    Label_Maree = Nomme(new QLabel(QStringLiteral("Station de marée"), this), "Label_Maree");
    Station_Maree = Nomme(new QLineEdit(this), "Station_Maree");
    ligne(Label_Maree, {Station_Maree});
    Label_Guid = Nomme(new QLabel(QStringLiteral("GUID"), this), "Label_Guid");
    Guid_Poi = Nomme(new QLineEdit(this), "Guid_Poi");
    Guid_Poi->setReadOnly(true);
    Guid_Poi->setMinimumWidth(Guid_Poi->fontMetrics().horizontalAdvance(
                                  QStringLiteral("00000000-0000-0000-0000-000000000000")) +
                              12);
    Nouveau_Guid = Nomme(new QPushButton(QStringLiteral("Nouveau GUID"), this), "Nouveau_Guid");
    ligne(Label_Guid, {Guid_Poi, Nouveau_Guid});
    Label_Cmt = Nomme(new QLabel(QStringLiteral("Commentaire"), this), "Label_Cmt");
    Cmt_Poi = Nomme(new QLineEdit(this), "Cmt_Poi");
    ligne(Label_Cmt, {Cmt_Poi});
    Label_Desc = Nomme(new QLabel(QStringLiteral("Description"), this), "Label_Desc");
    Desc_Poi = Nomme(new QPlainTextEdit(this), "Desc_Poi");
    Desc_Poi->setTabChangesFocus(true);
    Desc_Poi->setFixedHeight(Desc_Poi->fontMetrics().lineSpacing() * 5 + 12);
    forme->addRow(Label_Desc, Desc_Poi);

    auto* boutons = new QDialogButtonBox(this);
    Valider_Proprietes =
        Nomme(boutons->addButton(QStringLiteral("Valider"), QDialogButtonBox::AcceptRole),
              "Valider_Proprietes");
    Annuler_Proprietes =
        Nomme(boutons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole),
              "Annuler_Proprietes");
    Valider_Proprietes->setDefault(true);
    auto* tout = new QVBoxLayout(this);
    tout->addLayout(forme);
    tout->addWidget(boutons);

    connect(Valider_Proprietes, &QPushButton::clicked, this, [this] {
        if (Valider_Proprietes_Click())
            accept();
    });
    connect(Annuler_Proprietes, &QPushButton::clicked, this, &QDialog::reject);
    connect(Nouveau_Guid, &QPushButton::clicked, this, &BoiteProprietes::Nouveau_Guid_Click);
}

QWidget* BoiteProprietes::Champ(Propriete q) const
{
    switch (q) {
    case Propriete::Guid:
        return Guid_Poi;
    case Propriete::Viz:
        return Viz_Poi;
    case Propriete::VizNom:
        return Nom_Visible;
    case Propriete::Rayon:
        return Rayon_Arrivee;
    case Propriete::AnneauxVisibles:
        return Anneaux_Visibles;
    case Propriete::AnneauxNombre:
        return Anneaux_Nombre;
    case Propriete::AnneauxPas:
        return Anneaux_Pas;
    case Propriete::AnneauxUnites:
        return Anneaux_Unites;
    case Propriete::AnneauxCouleur:
        return Anneaux_Couleur;
    case Propriete::EchelleUtilisee:
        return Echelle_Utilisee;
    case Propriete::EchelleMin:
        return Echelle_Min;
    case Propriete::EchelleMax:
        return Echelle_Max;
    case Propriete::Maree:
        return Station_Maree;
    case Propriete::Desc:
        return Desc_Poi;
    case Propriete::Cmt:
        return Cmt_Poi;
    }
    return nullptr;
}

void BoiteProprietes::Montrer(Propriete q, const std::optional<QString>& valeur)
{
    QWidget* w = Champ(q);
    const QString melange = Messages::Texte(Messages::ValeursMelangees);
    if (auto* c = qobject_cast<QCheckBox*>(w)) {
        c->setTristate(!valeur);
        c->setCheckState(!valeur                         ? Qt::PartiallyChecked
                         : *valeur == QLatin1String("1") ? Qt::Checked
                                                         : Qt::Unchecked);
    } else if (auto* l = qobject_cast<QLineEdit*>(w)) {
        l->setText(valeur.value_or(QString()));
        l->setPlaceholderText(valeur ? QString() : melange);
    } else if (auto* t = qobject_cast<QPlainTextEdit*>(w)) {
        t->setPlainText(valeur.value_or(QString()));
        t->setPlaceholderText(valeur ? QString() : melange);
    } else if (auto* u = qobject_cast<QComboBox*>(w)) {
        // NM and km, and a value the file gave that is neither, as read.
        u->clear();
        if (!valeur)
            u->addItem(melange);
        u->addItem(QStringLiteral("NM"), QStringLiteral("0"));
        u->addItem(QStringLiteral("km"), QStringLiteral("1"));
        const QString v = valeur.value_or(QString());
        if (valeur && !v.isEmpty() && u->findData(v) < 0)
            u->addItem(v, v);
        u->setCurrentIndex(valeur ? std::max(0, u->findData(v.isEmpty() ? QStringLiteral("0") : v))
                                  : 0);
    }
}

std::optional<QString> BoiteProprietes::Lu(Propriete q) const
{
    QWidget* w = Champ(q);
    const std::optional<QString>& initiale = avant[size_t(q)];
    if (auto* c = qobject_cast<QCheckBox*>(w)) {
        if (c->checkState() == Qt::PartiallyChecked)
            return std::nullopt;
        return c->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    }
    if (auto* u = qobject_cast<QComboBox*>(w)) {
        const QVariant d = u->currentData();
        if (!d.isValid())
            return std::nullopt;
        // An absent unit shows as NM; left so, it stays absent.
        if (initiale && initiale->isEmpty() && d.toString() == QLatin1String("0"))
            return initiale;
        return d.toString();
    }
    QString texte;
    if (auto* l = qobject_cast<QLineEdit*>(w))
        texte = l->text();
    else if (auto* t = qobject_cast<QPlainTextEdit*>(w))
        texte = t->toPlainText();
    if (!initiale && texte.isEmpty())
        return std::nullopt;
    return texte;
}

void BoiteProprietes::Ouvrir()
{
    marques = liens.marquesChoisies();
    if (marques.empty()) {
        Plateforme::Courante().Message(parentWidget(), Declarations::MsgBoite[1],
                                       Plateforme::Boutons::OK);
        return;
    }
    avant = ProprietesPOI::Communes(Declarations::Table, marques);
    for (int q = 0; q < Gpx::NbProprietes; ++q)
        Montrer(Propriete(q), avant[size_t(q)]);
    // One GUID is one mark's: a fresh one only for a mark alone.
    Nouveau_Guid->setEnabled(marques.size() == 1);
    show();
    raise();
    activateWindow();
    Viz_Poi->setFocus();
}

void BoiteProprietes::Nouveau_Guid_Click()
{
    if (marques.size() == 1)
        Guid_Poi->setText(QString::fromStdString(Gpx::NouveauGuid()));
}

bool BoiteProprietes::Valider_Proprietes_Click()
{
    using namespace Declarations;
    Gpx::Changement changement;
    for (int q = 0; q < Gpx::NbProprietes; ++q) {
        const Propriete p = Propriete(q);
        const std::optional<QString> maintenant = Lu(p);
        if (!maintenant || maintenant == avant[size_t(q)])
            continue;
        Gpx::RefusPropriete refus = Gpx::RefusPropriete::Aucun;
        const std::optional<std::string> valeur =
            Gpx::Normaliser(p, maintenant->toStdString(), refus);
        if (!valeur) {
            // The row's caption names the field in the message.
            const QLabel* etiquette = p == Propriete::Rayon ? Label_Rayon
                                      : p == Propriete::EchelleMin || p == Propriete::EchelleMax
                                          ? Label_Echelle
                                          : Label_Anneaux;
            const QString nom = etiquette->text();
            Plateforme::Courante().Message(this, Messages::Texte(MessageRefus(refus)).arg(nom),
                                           Plateforme::Boutons::OK);
            Montrer(p, avant[size_t(q)]);
            Champ(p)->setFocus();
            return false;
        }
        changement.emplace_back(p, *valeur);
    }
    if (changement.empty())
        return true;
    auto etape = Historique::Etape::Modification(Table, marques, NumPOI);
    ProprietesPOI::Appliquer(Table, marques, changement);
    liens.tableChangee();
    liens.noter(std::move(etape));
    return true;
}

void BoiteProprietes::Guids_Poi_Click()
{
    using namespace Declarations;
    const std::vector<int> sans = ProprietesPOI::SansGuid(Table);
    if (!sans.empty()) {
        auto etape = Historique::Etape::Modification(Table, sans, NumPOI);
        ProprietesPOI::DonnerGuids(Table, sans);
        liens.noter(std::move(etape));
    }
    Plateforme::Courante().Message(parentWidget(),
                                   Messages::Texte(Messages::GuidsDonnes).arg(sans.size()),
                                   Plateforme::Boutons::OK);
}
