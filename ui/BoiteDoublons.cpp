// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/BoiteDoublons.h"

#include "editing/DoublonsPOI.h"
#include "gpx/Messages.h"
#include "shell/Declarations.h"
#include "shell/Plateforme.h"
#include "ui/ChampDistance.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

BoiteDoublons::BoiteDoublons(QWidget* parent, Liens l) : QDialog(parent), liens(std::move(l))
{
    setObjectName(QStringLiteral("Doublons"));
    setWindowTitle(QStringLiteral("Doublons"));
    resize(520, 400);
    Label_Doublons = ChampDistance::Etiquette(this, QStringLiteral("Label_Doublons"));
    Distance_Doublons = new ChampDistance(this, QStringLiteral("Distance_Doublons"));
    Tout_Nom = new QCheckBox(QStringLiteral("Quel que soit le nom"), this);
    Tout_Nom->setObjectName(QStringLiteral("Tout_Nom"));
    Liste_Doublons = new QListWidget(this);
    Liste_Doublons->setObjectName(QStringLiteral("Liste_Doublons"));
    Fusionner_Groupe = new QPushButton(QStringLiteral("Fusionner le groupe"), this);
    Fusionner_Groupe->setObjectName(QStringLiteral("Fusionner_Groupe"));
    Fusionner_Tout = new QPushButton(QStringLiteral("Fusionner tout"), this);
    Fusionner_Tout->setObjectName(QStringLiteral("Fusionner_Tout"));
    Fermer_Doublons = new QPushButton(QStringLiteral("Fermer"), this);
    Fermer_Doublons->setObjectName(QStringLiteral("Fermer_Doublons"));

    auto* haut = new QHBoxLayout;
    haut->addWidget(Label_Doublons);
    haut->addWidget(Distance_Doublons);
    haut->addWidget(Tout_Nom);
    haut->addStretch();
    auto* bas = new QHBoxLayout;
    bas->addWidget(Fusionner_Groupe);
    bas->addWidget(Fusionner_Tout);
    bas->addStretch();
    bas->addWidget(Fermer_Doublons);
    auto* tout = new QVBoxLayout(this);
    tout->addLayout(haut);
    tout->addWidget(Liste_Doublons, 1);
    tout->addLayout(bas);

    connect(Distance_Doublons, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            &BoiteDoublons::Chercher);
    connect(Tout_Nom, &QCheckBox::toggled, this, &BoiteDoublons::Chercher);
    connect(Fusionner_Groupe, &QPushButton::clicked, this, &BoiteDoublons::Fusionner_Groupe_Click);
    connect(Fusionner_Tout, &QPushButton::clicked, this, &BoiteDoublons::Fusionner_Tout_Click);
    connect(Liste_Doublons, &QListWidget::itemDoubleClicked, this,
            &BoiteDoublons::Fusionner_Groupe_Click);
    connect(Fermer_Doublons, &QPushButton::clicked, this, &QDialog::close);
}

void BoiteDoublons::Ouvrir()
{
    Chercher();
    show();
    raise();
    activateWindow();
}

void BoiteDoublons::Chercher()
{
    using Declarations::Table;
    groupes = DoublonsPOI::Chercher(Table, Distance_Doublons->value(), Tout_Nom->isChecked());
    Liste_Doublons->clear();
    QStringList lignes;
    for (const std::vector<int>& g : groupes) {
        QStringList noms;
        for (const int i : g)
            noms << QStringLiteral("%1 %2").arg(i).arg(Table.NomPOI[size_t(i)]);
        lignes << Messages::Texte(Messages::DoublonsGroupe)
                      .arg(g.size())
                      .arg(noms.join(QStringLiteral(", ")));
    }
    if (lignes.isEmpty())
        lignes << Messages::Texte(Messages::DoublonsAucun);
    Liste_Doublons->addItems(lignes);
    Fusionner_Groupe->setEnabled(!groupes.empty());
    Fusionner_Tout->setEnabled(!groupes.empty());
    if (!groupes.empty())
        Liste_Doublons->setCurrentRow(0);
}

void BoiteDoublons::Fusionner_Groupe_Click()
{
    const int k = Liste_Doublons->currentRow();
    if (k >= 0 && size_t(k) < groupes.size())
        Fusionner({groupes[size_t(k)]});
}

void BoiteDoublons::Fusionner_Tout_Click()
{
    Fusionner(groupes);
}

void BoiteDoublons::Fusionner(const std::vector<std::vector<int>>& choisis)
{
    using namespace Declarations;
    if (choisis.empty())
        return;
    auto etape = Historique::Etape::Document(Table, LesRoutes, NumPOI);
    const DoublonsPOI::Resultat r = DoublonsPOI::Fusionner(Table, LesRoutes, choisis);
    NumPOI = 0;
    liens.documentChange();
    liens.noter(std::move(etape));
    QString message =
        Messages::Texte(Messages::DoublonsBilan).arg(r.retirees).arg(int(choisis.size()));
    if (r.liensLaisses > 0)
        message += QLatin1Char('\n') + Messages::Texte(Messages::DoublonsLiens).arg(r.liensLaisses);
    Plateforme::Courante().Message(this, message, Plateforme::Boutons::OK);
    Chercher();
}
