// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gpx/Garde.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The chart plotter's properties of a mark, and the GPX comment and
// description, as the mark's kept content holds them. Values are the
// file's texts, decoded: "True" stays "True", an out-of-range number stays
// as read. Plain C++: the companion tool prints them.
namespace Gpx {

enum class Propriete {
    Guid,
    Viz,
    VizNom,
    Rayon,
    AnneauxVisibles,
    AnneauxNombre,
    AnneauxPas,
    AnneauxUnites,
    AnneauxCouleur,
    EchelleUtilisee,
    EchelleMin,
    EchelleMax,
    Maree,
    Desc,
    Cmt,
};
constexpr int NbProprietes = int(Propriete::Cmt) + 1;

struct Proprietes {
    // None where the mark does not carry the property.
    std::array<std::optional<std::string>, NbProprietes> valeurs;
    const std::optional<std::string>& operator[](Propriete p) const { return valeurs[size_t(p)]; }
    std::optional<std::string>& operator[](Propriete p) { return valeurs[size_t(p)]; }
};

Proprietes LireProprietes(const GardePOI* garde);
// One property alone, without reading the others.
std::optional<std::string> LirePropriete(const GardePOI* garde, Propriete p);

// Properties given a value; an empty text takes the comment, the
// description or the tide station away.
using Changement = std::vector<std::pair<Propriete, std::string>>;

// The mark's kept content with the change made: an element the mark has is
// changed in place, its other attributes and everything else kept as they
// are; a missing one is added (range rings and scale limits with the chart
// plotter's defaults for the attributes not given).
GardePOI AvecProprietes(const GardePOI* garde, const Changement& changement);

// The first mark's kept content with the elements of the other's
// extensions it has none of (by element name) added after its own; the
// chart plotter's visibility flags stay the first's.
GardePOI AvecExtensionsManquantes(const GardePOI& premier, const GardePOI* autre);

// A boolean as the chart plotter's files write them: "true" or "1" in any
// case; none for anything else but "false" and "0".
std::optional<bool> Booleen(std::string_view texte);

// What the map needs of a mark, with the chart plotter's defaults for what
// it does not carry or carries unreadable.
struct Apparence {
    bool visible = true;
    bool nomVisible = true;
    // Nautical miles; 0 for none.
    double rayon = 0;
    int anneaux = 0;
    // In nautical miles, whatever the unit the file gives.
    double pas = 0;
    // 0xRRGGBB.
    unsigned couleur = 0xFF0000;
};
Apparence ApparenceDe(const Proprietes& p);

// Why a value typed for a property is refused.
enum class RefusPropriete { Aucun, Nombre, Anneaux, Couleur };

// The value typed for a property as the file will hold it: a radius with
// three decimals as the chart plotter writes it, other numbers in their
// shortest form ("," read as "."), booleans "true"/"false" ("1"/"0" for the
// visibility flags). None, with why in refus, for a negative or
// non-numeric number, more than 10 rings, a colour that is not #RRGGBB.
std::optional<std::string> Normaliser(Propriete p, std::string_view valeur, RefusPropriete& refus);

// A radius as the chart plotter writes it ("%.3f"); other numbers in their
// shortest form.
std::string TexteRayon(double milles);
std::string TexteNombre(double valeur);

} // namespace Gpx
