// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ChampDistance.h"

#include <QLabel>

ChampDistance::ChampDistance(QWidget* parent, const QString& nom) : QDoubleSpinBox(parent)
{
    setObjectName(nom);
    setRange(1, 1852);
    setDecimals(0);
    setValue(20);
}

QLabel* ChampDistance::Etiquette(QWidget* parent, const QString& nom)
{
    auto* l = new QLabel(QStringLiteral("Même place à moins de (mètres)"), parent);
    l->setObjectName(nom);
    return l;
}
