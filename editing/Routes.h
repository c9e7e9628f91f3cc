// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gpx/PoiTable.h"
#include "gpx/Routes.h"

#include <QDateTime>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// The routes of the open document, planned from its marks. A point whose
// GUID is a mark's follows that mark: its name, symbol and position are the
// mark's as they are now. Every change marks its route as changed, so that
// it is written from its fields; the others are written back as read.
class Routes {
public:
    // Row of the mark of each GUID in the table (the first mark of a GUID).
    using Index = std::unordered_map<std::string, int>;
    static Index Indexer(const PoiTable& table);

    // A point as the panel and the map show it.
    struct Point {
        // The mark it stands for, 0 for a free point.
        int marque = 0;
        QString nom;
        QString sym;
        QString lat;
        QString lon;
        Gpx::Position position;
    };

    // A row of a route's leg table: point k, and the leg that reaches it
    // from the point before (none for the first point).
    struct Ligne {
        Point point;
        Gpx::Troncon troncon;
        bool premier = true;
        // Nautical miles and hours from the first point, over the valid legs.
        double cumul = 0;
        double heures = 0;
        // Arrival in UTC; invalid without a departure.
        QDateTime eta;
    };

    struct Totaux {
        double milles = 0;
        double heures = 0;
    };

    std::vector<Gpx::Route> liste;

    // The routes the table's file kept, in file order.
    void Lire(const PoiTable& table);
    void Vider() { liste.clear(); }

    // The table's kept content with the routes as they now stand: a route
    // whose marks moved or were renamed is written from its fields.
    std::shared_ptr<const Gpx::GardeFichier> Garde(const PoiTable& table) const;

    Point PointVu(const PoiTable& table, const Index& index, const Gpx::PointRoute& p) const;
    std::vector<Ligne> Lignes(const PoiTable& table, const Index& index, int route) const;
    Totaux Total(const PoiTable& table, const Index& index, int route) const;

    // The commands; a route number r is an index of liste, a point k an
    // index of its points.
    int Nouvelle(const QString& nom);
    // The marks (table rows) inserted before point avant (the end for -1).
    // Marks without a GUID are given one.
    void AjouterMarques(PoiTable& table, int r, int avant, const std::vector<int>& marques);
    // A free point named after the route's free points ("001", "002"...).
    void AjouterLibre(int r, int avant, double lat, double lon);
    void Retirer(int r, int k);
    void Deplacer(int r, int k, int vers);
    void Inverser(int r);
    void Renommer(int r, const QString& nom);
    void Supprimer(int r);
    void PlacerLibre(int r, int k, double lat, double lon);
    void Vitesse(int r, double noeuds);
    // An empty departure removes it.
    void Depart(int r, const QDateTime& depart);
    QDateTime Depart(int r) const;

    using Guids = std::unordered_set<std::string>;
    // The GUIDs of these marks (table rows) that routes use, and in routes
    // how many routes use one of them; in one pass over the routes and the
    // marks, whatever their number.
    Guids GuidsUtilises(const PoiTable& table, const std::vector<int>& marques, int& routes) const;
    // Takes the points of these GUIDs out of every route.
    void RetirerGuids(const Guids& guids);
    // Points of a GUID that is a key of guids now stand for its value's
    // mark; false when none did.
    bool RenommerGuids(const std::unordered_map<std::string, std::string>& guids);

    // The GUID of mark i, given a fresh one when it has none.
    static std::string DonnerGuid(PoiTable& table, int i);
    static std::string Guid(const PoiTable& table, int i);
};

// A coordinate as the route's points are written: "." and up to 9 decimals.
QString TexteCoordonneeRoute(double valeur);
