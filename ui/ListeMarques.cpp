// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ListeMarques.h"

#include "gpx/PoiTable.h"

#include <QSignalBlocker>
#include <algorithm>

ListeMarques::ListeMarques(QWidget* parent) : ListeChoix(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
}

int ListeMarques::PoiChoisi() const
{
    const QModelIndexList choisies = selectionModel()->selectedRows();
    return choisies.size() == 1 ? filtre.Poi(choisies.front().row()) : 0;
}

std::vector<int> ListeMarques::PoisChoisis() const
{
    std::vector<int> pois;
    for (const QModelIndex& i : selectionModel()->selectedRows())
        pois.push_back(filtre.Poi(i.row()));
    std::sort(pois.begin(), pois.end());
    return pois;
}

void ListeMarques::setCurrentRow(int row)
{
    selectionModel()->setCurrentIndex(model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
}

void ListeMarques::Choisir(const std::vector<int>& pois)
{
    if (pois.size() == 1) {
        Choisir(pois.front());
        return;
    }
    // Runs of neighbouring entries as one range each: the selection model
    // merges ranges pair by pair, and 20,000 of one entry took 4 s.
    std::vector<int> places;
    places.reserve(pois.size());
    for (const int poi : pois)
        if (const int k = filtre.Position(poi); k >= 0)
            places.push_back(k);
    std::sort(places.begin(), places.end());
    QItemSelection choix;
    for (size_t debut = 0, fin = 0; debut < places.size(); debut = fin) {
        fin = debut + 1;
        while (fin < places.size() && places[fin] <= places[fin - 1] + 1)
            ++fin;
        choix.select(model()->index(places[debut], 0), model()->index(places[fin - 1], 0));
    }
    selectionModel()->select(choix, QItemSelectionModel::ClearAndSelect);
}

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
    const std::vector<int> choisis = PoisChoisis();
    {
        const QSignalBlocker silence(this);
        filtre.Appliquer(table, texte);
        Montrer(table);
        Choisir(choisis);
    }
    // Of several marks chosen, fewer shown: what the window shows of the
    // choice follows.
    if (choisis.size() > 1 && PoisChoisis().size() != choisis.size())
        emit itemSelectionChanged();
}
