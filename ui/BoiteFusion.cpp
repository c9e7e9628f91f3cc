// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/BoiteFusion.h"

#include "editing/Nombres.h"
#include "gpx/Messages.h"
#include "shell/Declarations.h"
#include "shell/Plateforme.h"
#include "ui/ChampDistance.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

using Gpx::Classe;

namespace {

constexpr int RoleChoix = Qt::UserRole;

QStringList Choix()
{
    return Messages::Texte(Messages::FusionChoix).split(QLatin1Char('|'));
}

// The choice of a changed mark, picked in a list in its row; the other
// cells are not edited.
class DelegueChoix : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override
    {
        if (!index.data(RoleChoix).isValid())
            return nullptr;
        auto* liste = new QComboBox(parent);
        liste->addItems(Choix());
        return liste;
    }
    void setEditorData(QWidget* editeur, const QModelIndex& index) const override
    {
        static_cast<QComboBox*>(editeur)->setCurrentIndex(index.data(RoleChoix).toInt());
    }
    void setModelData(QWidget* editeur, QAbstractItemModel* modele,
                      const QModelIndex& index) const override
    {
        const int k = static_cast<QComboBox*>(editeur)->currentIndex();
        modele->setData(index, k, RoleChoix);
        modele->setData(index, Choix().value(k), Qt::DisplayRole);
    }
};

} // namespace

BoiteFusion::BoiteFusion(QWidget* parent, Liens l) : QDialog(parent), liens(std::move(l))
{
    setObjectName(QStringLiteral("Fusion"));
    setWindowTitle(QStringLiteral("Fusionner un fichier"));
    setModal(true);
    resize(620, 460);
    Label_Distance = ChampDistance::Etiquette(this, QStringLiteral("Label_Distance"));
    Distance_Fusion = new ChampDistance(this, QStringLiteral("Distance_Fusion"));
    Choix_Tous = new QComboBox(this);
    Choix_Tous->setObjectName(QStringLiteral("Choix_Tous"));
    Choix_Tous->addItems(Choix());
    Groupes_Fusion = new QTreeWidget(this);
    Groupes_Fusion->setObjectName(QStringLiteral("Groupes_Fusion"));
    Groupes_Fusion->setColumnCount(3);
    Groupes_Fusion->setHeaderLabels(
        {QStringLiteral("Poi du fichier"), QStringLiteral("Poi ouvert"), QStringLiteral("Choix")});
    Groupes_Fusion->setItemDelegate(new DelegueChoix(Groupes_Fusion));
    Groupes_Fusion->setEditTriggers(QAbstractItemView::AllEditTriggers);
    Groupes_Fusion->header()->setSectionResizeMode(QHeaderView::Stretch);
    auto* boutons = new QDialogButtonBox(this);
    Fusionner = boutons->addButton(QStringLiteral("Fusionner"), QDialogButtonBox::AcceptRole);
    Fusionner->setObjectName(QStringLiteral("Fusionner"));
    Annuler_Fusion = boutons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
    Annuler_Fusion->setObjectName(QStringLiteral("Annuler_Fusion"));
    Fusionner->setDefault(true);

    auto* haut = new QHBoxLayout;
    haut->addWidget(Label_Distance);
    haut->addWidget(Distance_Fusion);
    haut->addStretch();
    haut->addWidget(Choix_Tous);
    auto* tout = new QVBoxLayout(this);
    tout->addLayout(haut);
    tout->addWidget(Groupes_Fusion, 1);
    tout->addWidget(boutons);

    // Classed again when the distance changes, not when Return is pressed
    // in its box: the spin box says its value then too, and the choices
    // made would be lost just before Return merges.
    connect(Distance_Fusion, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            [this](double d) {
                if (d != classeeA)
                    Classer();
            });
    // The choice for all: every changed mark takes it.
    connect(Choix_Tous, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int k) {
        const QString texte = Choix().value(k);
        for (QTreeWidgetItem* e : entrees)
            if (e && e->data(2, RoleChoix).isValid()) {
                e->setData(2, RoleChoix, k);
                e->setText(2, texte);
            }
    });
    connect(Fusionner, &QPushButton::clicked, this, [this] {
        Fusionner_Click();
        accept();
    });
    connect(Annuler_Fusion, &QPushButton::clicked, this, &QDialog::reject);
}

void BoiteFusion::Ouvrir(std::unique_ptr<PoiTable> l)
{
    leur = std::move(l);
    Classer();
    show();
    raise();
    activateWindow();
}

void BoiteFusion::Classer()
{
    if (!leur)
        return;
    using Declarations::Table;
    classeeA = Distance_Fusion->value();
    classement = Gpx::Classer(Gpx::Reperer(Table), Gpx::Reperer(*leur), classeeA);
    Groupes_Fusion->clear();
    entrees.assign(classement.classes.size(), nullptr);
    const QStringList titres = Messages::Texte(Messages::FusionGroupes).split(QLatin1Char('|'));
    QTreeWidgetItem* groupes[4];
    for (int g = 0; g < 4; ++g) {
        QString titre = titres.value(g).arg(classement.Nombre(Classe(g)));
        if (Classe(g) == Classe::Nouvelle && classement.sansPosition > 0)
            titre += Messages::Texte(Messages::FusionSansPosition).arg(classement.sansPosition);
        groupes[g] = new QTreeWidgetItem(Groupes_Fusion, {titre});
        groupes[g]->setFirstColumnSpanned(true);
    }
    // One list of children per group, given at once: 20,000 rows one by
    // one would redraw the tree each time.
    QList<QTreeWidgetItem*> enfants[4];
    const int choixTous = Choix_Tous->currentIndex();
    const QString texteChoix = Choix().value(choixTous);
    for (size_t t = 0; t < classement.classes.size(); ++t) {
        const Classe c = classement.classes[t];
        const int m = classement.correspondances[t];
        auto* e = new QTreeWidgetItem(
            {leur->NomPOI[t + 1], m >= 0 ? Table.NomPOI[size_t(m + 1)] : QString()});
        if (c == Classe::Changee) {
            // Editable, or the view opens no list in the choice's cell.
            e->setFlags(e->flags() | Qt::ItemIsEditable);
            e->setData(2, RoleChoix, choixTous);
            e->setText(2, texteChoix);
        } else if (c == Classe::Proche) {
            e->setCheckState(0, Qt::Checked);
        }
        entrees[t] = e;
        enfants[int(c)] << e;
    }
    for (int g = 0; g < 4; ++g)
        groupes[g]->addChildren(enfants[g]);
    groupes[int(Classe::Changee)]->setExpanded(true);
    groupes[int(Classe::Proche)]->setExpanded(true);
}

Gpx::Choix BoiteFusion::ChoixDe(int t) const
{
    const QTreeWidgetItem* e = entrees[size_t(t)];
    return Gpx::Choix(e && e->data(2, RoleChoix).isValid() ? e->data(2, RoleChoix).toInt() : 0);
}

void BoiteFusion::Fusionner_Click()
{
    using namespace Declarations;
    if (!leur)
        return;
    std::vector<Gpx::Choix> choix(classement.classes.size(), Gpx::Choix::Mienne);
    std::vector<bool> ajouter(classement.classes.size(), true);
    for (size_t t = 0; t < choix.size(); ++t) {
        choix[t] = ChoixDe(int(t));
        ajouter[t] = entrees[t]->checkState(0) != Qt::Unchecked;
    }
    auto etape = Historique::Etape::Document(Table, LesRoutes, NumPOI);
    // The routes as they stand go into the file level, with the file's
    // after them, and are read again from there.
    Table.Fichier = LesRoutes.Garde(Table);
    const Gpx::Bilan bilan = Gpx::Fusionner(Table, *leur, classement, choix, ajouter);
    LesRoutes.Lire(Table);
    leur.reset();
    liens.documentChange();
    liens.noter(std::move(etape));
    QString message = Messages::Texte(Messages::FusionBilan)
                          .arg(bilan.ajoutees)
                          .arg(bilan.misesAJour)
                          .arg(bilan.ignorees);
    if (bilan.horsCapacite > 0)
        message += QLatin1Char('\n') +
                   Messages::Texte(Messages::FusionCapacite).arg(bilan.horsCapacite).arg(MaxPOI);
    Plateforme::Courante().Message(parentWidget(), message, Plateforme::Boutons::OK);
}
