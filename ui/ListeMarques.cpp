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
    // No entry chosen, none current, as a list filled anew; the entries
    // kept and their texts changed where they differ, which costs far less
    // than 20,000 entries thrown away and made again at each key.
    selectionModel()->clear();
    const int n = filtre.Nombre();
    if (count() > n)
        model()->removeRows(n, count() - n);
    const int gardees = count();
    for (int k = 0; k < gardees; ++k) {
        QListWidgetItem* entree = item(k);
        const QString& nom = table.NomPOI[filtre.Poi(k)];
        if (entree->text() != nom)
            entree->setText(nom);
    }
    QStringList noms;
    noms.reserve(n - gardees);
    for (int k = gardees; k < n; ++k)
        noms << table.NomPOI[filtre.Poi(k)];
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
