#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace Gpx {

// The waypoint table of a document: parallel columns indexed by waypoint
// number 1 to NbPOI; slot 0 exists but is never used. Texte is the editor's
// string type, or std::u16string where Qt is not loaded.
constexpr int16_t MaxPOI = 100;
constexpr int16_t MaxLiens = 50;

// The text columns, to name a field.
enum class Champ { Nom, Lat, Lon, Temps, Sym, Href, TexteLien };

template <typename Texte> struct TableGPX {
    template <typename T> using Colonne = std::array<T, MaxPOI + 1>;
    using Liens = std::array<Texte, MaxLiens + 1>;

    int16_t NbPOI = 0;
    Colonne<Texte> NomPOI;
    Colonne<Texte> LatPOI;
    Colonne<Texte> LonPOI;
    Colonne<Texte> TempsPOI;
    Colonne<Texte> SymPOI;
    Colonne<int16_t> NbLiens{};
    Colonne<Liens> LienHref;
    Colonne<Liens> LienTexte;

    // The slot of a field of waypoint i (of its link k for a link's fields).
    Texte& Case(Champ champ, int i, int k)
    {
        switch (champ) {
        case Champ::Nom:
            return NomPOI[i];
        case Champ::Lat:
            return LatPOI[i];
        case Champ::Lon:
            return LonPOI[i];
        case Champ::Temps:
            return TempsPOI[i];
        case Champ::Sym:
            return SymPOI[i];
        case Champ::Href:
            return LienHref[i][k];
        case Champ::TexteLien:
            break;
        }
        return LienTexte[i][k];
    }

    // Empties every slot of every column, symbols and links included.
    void Vider()
    {
        NbPOI = 0;
        for (int i = 0; i <= MaxPOI; ++i)
            ViderLigne(i);
    }

    // Empties one row, its 50 link slots included.
    void ViderLigne(int i)
    {
        NomPOI[i].clear();
        LatPOI[i].clear();
        LonPOI[i].clear();
        TempsPOI[i].clear();
        SymPOI[i].clear();
        NbLiens[i] = 0;
        for (int k = 0; k <= MaxLiens; ++k) {
            LienHref[i][k].clear();
            LienTexte[i][k].clear();
        }
    }

    // Copies row source over row cible, all 50 link slots included.
    void CopierLigne(int source, int cible)
    {
        NomPOI[cible] = NomPOI[source];
        TempsPOI[cible] = TempsPOI[source];
        LatPOI[cible] = LatPOI[source];
        LonPOI[cible] = LonPOI[source];
        SymPOI[cible] = SymPOI[source];
        NbLiens[cible] = NbLiens[source];
        for (int k = 1; k <= MaxLiens; ++k) {
            LienHref[cible][k] = LienHref[source][k];
            LienTexte[cible][k] = LienTexte[source][k];
        }
    }
};

// How the reader and writer reach the characters of a table's texts:
// specialised for each string type a table holds. Vue may build the
// characters in tampon, which must then outlive the view.
template <typename Texte> struct Textes;

template <> struct Textes<std::u16string> {
    static std::u16string_view Vue(const std::u16string& s, std::u16string&) { return s; }
    static void Affecter(std::u16string& cible, std::u16string_view valeur) { cible = valeur; }
};

} // namespace Gpx
