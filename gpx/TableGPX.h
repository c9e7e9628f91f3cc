// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gpx/Codecs.h"
#include "gpx/Garde.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Gpx {

// The waypoint table of a document: parallel columns indexed by waypoint
// number 1 to NbPOI; slot 0 exists but is never used. Texte is the editor's
// string type, or a plain one where Qt is not loaded. The columns grow with
// the file up to MaxPOI waypoints; a waypoint keeps every link its file
// gives it, and the link command refuses to add one past MaxLiens.
constexpr int16_t MaxPOI = 20000;
constexpr int16_t MaxLiens = 50;

// The text columns, to name a field.
enum class Champ { Nom, Lat, Lon, Temps, Sym, Href, TexteLien };

template <typename Texte> struct TableGPX {
    int16_t NbPOI = 0;
    std::vector<Texte> NomPOI{1};
    std::vector<Texte> LatPOI{1};
    std::vector<Texte> LonPOI{1};
    std::vector<Texte> TempsPOI{1};
    std::vector<Texte> SymPOI{1};
    // Link k of waypoint i at [i][k]; an empty row and a row of one slot
    // both mean no link.
    std::vector<std::vector<Texte>> LienHref{1};
    std::vector<std::vector<Texte>> LienTexte{1};
    // What each waypoint held beyond the fields above, and what the file
    // held beyond its waypoints: written back as they were.
    std::vector<std::shared_ptr<const GardePOI>> GardesPOI{1};
    std::shared_ptr<const GardeFichier> Fichier;

    int NbLiens(int i) const { return std::max(0, int(LienHref[size_t(i)].size()) - 1); }

    // True when row i exists: slot 0, a waypoint, or a row a new
    // waypoint is being stored in.
    bool Ligne(int i) const { return i >= 0 && size_t(i) < NomPOI.size(); }

    // The slot of a field of waypoint i (of its link k for a link's
    // fields), made when the row or the link does not exist yet.
    Texte& Case(Champ champ, int i, int k)
    {
        if (size_t(i) >= NomPOI.size())
            Redimensionner(size_t(i) + 1);
        switch (champ) {
        case Champ::Nom:
            return NomPOI[size_t(i)];
        case Champ::Lat:
            return LatPOI[size_t(i)];
        case Champ::Lon:
            return LonPOI[size_t(i)];
        case Champ::Temps:
            return TempsPOI[size_t(i)];
        case Champ::Sym:
            return SymPOI[size_t(i)];
        case Champ::Href:
        case Champ::TexteLien:
            break;
        }
        auto& liens = champ == Champ::Href ? LienHref[size_t(i)] : LienTexte[size_t(i)];
        if (size_t(k) >= liens.size()) {
            LienHref[size_t(i)].resize(size_t(k) + 1);
            LienTexte[size_t(i)].resize(size_t(k) + 1);
        }
        return liens[size_t(k)];
    }

    // Empties every column, symbols, links and what the file held beyond
    // them included.
    void Vider()
    {
        NbPOI = 0;
        Redimensionner(0);
        Redimensionner(1);
        Fichier.reset();
    }

    // A new empty waypoint after the last one; its number.
    int AjouterLigne()
    {
        ++NbPOI;
        Redimensionner(size_t(NbPOI) + 1);
        ViderLigne(NbPOI);
        return NbPOI;
    }

    // Removes waypoint i with all it held; the later ones move down.
    void SupprimerLigne(int i) { SupprimerLignes({i}); }

    // Removes the waypoints numbered in lignes (ascending) in one pass; the
    // others move down in their order.
    void SupprimerLignes(const std::vector<int>& lignes)
    {
        if (lignes.empty())
            return;
        size_t ecrite = size_t(lignes.front());
        size_t suivante = 0;
        for (size_t lue = ecrite; lue < NomPOI.size(); ++lue) {
            if (suivante < lignes.size() && size_t(lignes[suivante]) == lue) {
                ++suivante;
                continue;
            }
            Deplacer(lue, ecrite++);
        }
        Redimensionner(ecrite);
        NbPOI = int16_t(NbPOI - int(lignes.size()));
    }

    // All a waypoint's row holds, to be put back as it was.
    struct Rangee {
        Texte nom, lat, lon, temps, sym;
        std::vector<Texte> href, texte;
        std::shared_ptr<const GardePOI> garde;
    };

    Rangee Prendre(int i) const
    {
        const size_t r = size_t(i);
        return {NomPOI[r], LatPOI[r],   LonPOI[r],    TempsPOI[r],
                SymPOI[r], LienHref[r], LienTexte[r], GardesPOI[r]};
    }

    void Poser(int i, Rangee rangee)
    {
        const size_t r = size_t(i);
        NomPOI[r] = std::move(rangee.nom);
        LatPOI[r] = std::move(rangee.lat);
        LonPOI[r] = std::move(rangee.lon);
        TempsPOI[r] = std::move(rangee.temps);
        SymPOI[r] = std::move(rangee.sym);
        LienHref[r] = std::move(rangee.href);
        LienTexte[r] = std::move(rangee.texte);
        GardesPOI[r] = std::move(rangee.garde);
    }

    // Puts rows in at the numbers lignes gives them (ascending) in one pass;
    // the other waypoints move up in their order.
    void InsererLignes(const std::vector<int>& lignes, std::vector<Rangee> rangees)
    {
        if (lignes.empty())
            return;
        const size_t avant = NomPOI.size();
        Redimensionner(avant + lignes.size());
        size_t lue = avant;
        size_t ecrite = NomPOI.size();
        for (size_t k = lignes.size(); k-- > 0;) {
            // The waypoints after this row move up past the rows still to come.
            while (ecrite - 1 > size_t(lignes[k]))
                Deplacer(--lue, --ecrite);
            Poser(int(--ecrite), std::move(rangees[k]));
        }
        NbPOI = int16_t(NbPOI + int(lignes.size()));
    }

    // Empties one row, its links and what it kept included.
    void ViderLigne(int i) { Poser(i, Rangee()); }

    // Inserts a link at number k (1 to NbLiens + 1) of waypoint i.
    void InsererLien(int i, int k, const Texte& href, const Texte& texte)
    {
        auto& h = LienHref[size_t(i)];
        auto& t = LienTexte[size_t(i)];
        if (h.empty()) {
            h.resize(1);
            t.resize(1);
        }
        h.insert(h.begin() + k, href);
        t.insert(t.begin() + k, texte);
    }

    // Removes link k of waypoint i; the later ones move down.
    void SupprimerLien(int i, int k)
    {
        LienHref[size_t(i)].erase(LienHref[size_t(i)].begin() + k);
        LienTexte[size_t(i)].erase(LienTexte[size_t(i)].begin() + k);
    }

private:
    void Deplacer(size_t de, size_t a)
    {
        if (de == a)
            return;
        for (auto* colonne : {&NomPOI, &LatPOI, &LonPOI, &TempsPOI, &SymPOI})
            (*colonne)[a] = std::move((*colonne)[de]);
        LienHref[a] = std::move(LienHref[de]);
        LienTexte[a] = std::move(LienTexte[de]);
        GardesPOI[a] = std::move(GardesPOI[de]);
    }

    void Redimensionner(size_t n)
    {
        for (auto* colonne : {&NomPOI, &LatPOI, &LonPOI, &TempsPOI, &SymPOI})
            colonne->resize(n);
        LienHref.resize(n);
        LienTexte.resize(n);
        GardesPOI.resize(n);
    }
};

// How the reader and writer reach the characters of a table's texts:
// specialised for each string type a table holds. Vue may build the
// characters in tampon, which must then outlive the view.
template <typename Texte> struct Textes;

template <> struct Textes<std::u16string> {
    static bool Etroit(const std::u16string&, std::string_view&) { return false; }
    static std::u16string_view Vue(const std::u16string& s, std::u16string&) { return s; }
    static void Affecter(std::u16string& cible, std::u16string_view valeur) { cible = valeur; }
    static void AffecterUtf8(std::u16string& cible, std::string_view utf8)
    {
        cible = Utf8VersTexte(utf8);
    }
};

} // namespace Gpx
