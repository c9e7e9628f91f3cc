#pragma once

#include <QString>
#include <array>
#include <cstdint>

// The waypoint table of the open document: parallel columns indexed by
// waypoint number 1 to NbPOI; slot 0 exists but is never used.
constexpr int16_t MaxPOI = 100;
constexpr int16_t MaxLiens = 50;

struct PoiTable {
    template <typename T> using Colonne = std::array<T, MaxPOI + 1>;
    using Liens = std::array<QString, MaxLiens + 1>;

    int16_t NbPOI = 0;
    Colonne<QString> NomPOI;
    Colonne<QString> LatPOI;
    Colonne<QString> LonPOI;
    Colonne<QString> TempsPOI;
    Colonne<QString> SymPOI;
    Colonne<int16_t> NbLiens{};
    Colonne<Liens> LienHref;
    Colonne<Liens> LienTexte;

    // Empties every slot of every column, symbols and links included.
    void Vider();
    // Empties one row, its 50 link slots included.
    void ViderLigne(int i);
    // Copies row source over row cible, all 50 link slots included.
    void CopierLigne(int source, int cible);
};
