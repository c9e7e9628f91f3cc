// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/Routes.h"
#include "gpx/PoiTable.h"

#include <memory>
#include <vector>

// The changes made to the open document, to undo and redo them. Each step
// keeps only the rows it touched, as they were before and after it (their
// texts shared with the table until one of them changes), and the routes
// when it changed them.
class Historique {
public:
    using Rangee = PoiTable::Rangee;

    // A change of the table: waypoints modified in place, removed or added,
    // with the waypoint current before it.
    class Etape {
    public:
        // Before rows (ascending numbers) are changed in place.
        static Etape Modification(const PoiTable& table, std::vector<int> lignes, int numAvant);
        // Before rows are removed.
        static Etape Retrait(const PoiTable& table, std::vector<int> lignes, int numAvant);
        // After rows were added at these numbers.
        static Etape Ajout(std::vector<int> lignes, int numAvant);
        // Before the routes change, with no row of the table.
        static Etape Itineraires(const Routes& routes, int numAvant);
        // Before a change of the whole document (a merge): the table, its
        // file level and the routes kept whole, before and after.
        static Etape Document(const PoiTable& table, const Routes& routes, int numAvant);
        // The routes change in the same step: as they are before it.
        Etape& AvecRoutes(const Routes& routes);

    private:
        friend class Historique;
        enum class Genre { Modification, Retrait, Ajout, Document };
        Genre genre = Genre::Modification;
        std::vector<int> lignes;
        std::vector<Rangee> avant;
        std::vector<Rangee> apres;
        std::shared_ptr<const std::vector<Gpx::Route>> routesAvant;
        std::shared_ptr<const std::vector<Gpx::Route>> routesApres;
        std::shared_ptr<const PoiTable> tableAvant;
        std::shared_ptr<const PoiTable> tableApres;
        int numAvant = 0;
        int numApres = 0;
    };

    // What undoing or redoing a step leaves: the waypoint current then, and
    // the rows to show chosen (numbers in the table as it is now).
    struct Retour {
        int num = 0;
        std::vector<int> lignes;
        // The routes came back as well.
        bool routes = false;
    };

    // The change made: the step ends with the rows and the routes as they
    // are now and the waypoint now current. What was undone can no longer
    // be redone.
    void Noter(Etape etape, const PoiTable& table, const Routes& routes, int numApres);

    bool PeutAnnuler() const { return !faites.empty(); }
    bool PeutRetablir() const { return !defaites.empty(); }
    Retour Annuler(PoiTable& table, Routes& routes);
    Retour Retablir(PoiTable& table, Routes& routes);
    // Another document: nothing to undo or redo.
    void Vider();

private:
    // The last step of de, undone (arriere) or made again, moved to vers.
    static Retour Rejouer(PoiTable& table, Routes& routes, std::vector<Etape>& de,
                          std::vector<Etape>& vers, bool arriere);

    std::vector<Etape> faites;
    std::vector<Etape> defaites;
};
