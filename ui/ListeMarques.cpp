// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ListeMarques.h"

#include "gpx/PoiTable.h"

#include <QSignalBlocker>

void ListeMarques::Remplir(const PoiTable& table)
{
    filtre.Reappliquer(table);
    Montrer(table);
}

void ListeMarques::Montrer(const PoiTable& table)
{
    QStringList noms;
    noms.reserve(filtre.Nombre());
    for (int k = 0; k < filtre.Nombre(); ++k)
        noms << table.NomPOI[filtre.Poi(k)];
    // One insertion for all: 20,000 entries added one by one take long.
    clear();
    addItems(noms);
}

void ListeMarques::Filtrer(const PoiTable& table, const QString& texte)
{
    const int choisi = PoiChoisi();
    const QSignalBlocker silence(this);
    filtre.Appliquer(table, texte);
    Montrer(table);
    if (choisi > 0)
        Choisir(choisi);
}
