// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gpx/Routes.h"
#include "gpx/TableGPX.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Merging marks from another file and finding duplicate marks: which marks
// stand for the same place, on WGS84. Plain C++: the companion tool does
// the same as the editor.
namespace Gpx {

// A name's key, as the marks filter compares names: case and accents
// aside ("Bouée" and "BOUEE" have one key). Latin, Greek and Cyrillic
// letters lose their marks (Unicode's canonical decompositions, in tables
// for U+0080 to U+04FF and U+1E00 to U+1FFF); other characters stay as
// they are.
std::u16string CleNom(std::u16string_view nom);

// What merging and duplicate finding compare of a mark.
struct Reperee {
    std::string guid;
    std::u16string cle;
    Position position;
    // Its symbol and links, to tell a changed mark from the same.
    std::u16string contenu;
};

// The marks within metres of each other, found through GeographicLib's
// vantage-point tree over the marks' places on the ellipsoid (the straight
// distance through the Earth, never longer than the geodesic one), then
// measured along the geodesic: no comparison of every pair. Marks without
// a valid position are never near anything.
class Voisinage {
public:
    Voisinage(const std::vector<Reperee>& marques, double metres);
    ~Voisinage();
    Voisinage(const Voisinage&) = delete;
    Voisinage& operator=(const Voisinage&) = delete;
    // The marks within metres of p, each with its distance, in no
    // particular order; with garder, only the marks it keeps are measured.
    struct Voisine {
        int marque;
        double distance;
    };
    std::vector<Voisine> Autour(const Position& p,
                                const std::function<bool(int)>& garder = {}) const;

private:
    struct Arbre;
    const std::vector<Reperee>& marques;
    double metres;
    std::unique_ptr<Arbre> arbre;
};

// Distance on WGS84 in metres; both positions valid.
double Distance(const Position& a, const Position& b);

enum class Classe { Pareille, Changee, Proche, Nouvelle };

// How each incoming mark stands to the open document's:
// - same: the same GUID, or GUIDs that do not differ (one side or both
//   without), with the same name key, within metres, and (with a GUID) the
//   same symbol and links; it is not added;
// - changed: the same GUID, but another place, name, symbol or links;
// - near: no GUID match, within metres of a mark of another name;
// - new: everything else, marks without a valid position included.
struct Classement {
    std::vector<Classe> classes;
    // The open document's mark each incoming one matched (index), -1 for
    // none.
    std::vector<int> correspondances;
    int sansPosition = 0;
    int Nombre(Classe c) const;
};
Classement Classer(const std::vector<Reperee>& miennes, const std::vector<Reperee>& leurs,
                   double metres);

// Groups of marks (indexes ascending, groups in the order of their first
// mark) that share a GUID, or lie within metres of each other with the same
// name key (whatever their names with toutNom); groups chain: A near B and
// B near C make one group.
std::vector<std::vector<int>> Doublons(const std::vector<Reperee>& marques, double metres,
                                       bool toutNom);

// What a table's marks are to merging and duplicate finding.
template <typename Texte> std::vector<Reperee> Reperer(const TableGPX<Texte>& table)
{
    std::vector<Reperee> r(size_t(std::max<int>(table.NbPOI, 0)));
    std::u16string tampon;
    for (int i = 1; i <= table.NbPOI; ++i) {
        Reperee& m = r[size_t(i - 1)];
        m.guid = GuidDeGarde(table.GardesPOI[size_t(i)].get());
        m.cle = CleNom(Textes<Texte>::Vue(table.NomPOI[size_t(i)], tampon));
        m.position = LirePosition(EnUtf8(Textes<Texte>::Vue(table.LatPOI[size_t(i)], tampon)),
                                  EnUtf8(Textes<Texte>::Vue(table.LonPOI[size_t(i)], tampon)));
        m.contenu = Textes<Texte>::Vue(table.SymPOI[size_t(i)], tampon);
        for (int k = 1; k <= table.NbLiens(i); ++k) {
            m.contenu += u'\n';
            m.contenu += Textes<Texte>::Vue(table.LienHref[size_t(i)][size_t(k)], tampon);
            m.contenu += u'\t';
            m.contenu += Textes<Texte>::Vue(table.LienTexte[size_t(i)][size_t(k)], tampon);
        }
    }
    return r;
}

// What to do with an incoming mark classed changed.
enum class Choix { Mienne, Leur, LesDeux };

struct Bilan {
    // Marks added; marks of the open document that took the incoming one's
    // fields; incoming marks not added (same, changed kept as mine, near
    // skipped); marks past the capacity, left out.
    int ajoutees = 0;
    int misesAJour = 0;
    int ignorees = 0;
    int horsCapacite = 0;
};

// The file level of a merge: the incoming file's routes and tracks after
// the open document's, the namespaces and schema locations their kept
// content needs, each route point's GUID renamed as guids says.
std::shared_ptr<const GardeFichier>
FichierFusionne(const GardeFichier* mien, const GardeFichier* leur,
                const std::unordered_map<std::string, std::string>& guids);

// Merges leur into mienne as c classes its marks: a changed mark as choix
// says (by incoming mark), a near mark added where ajouterProches says, a
// new one added; added marks go at the end in file order, up to the
// capacity. A same mark is not added; when the open document's mark has no
// GUID it takes the incoming one's, so that the incoming routes find it.
// The incoming routes and tracks are added.
template <typename Texte>
Bilan Fusionner(TableGPX<Texte>& mienne, const TableGPX<Texte>& leur, const Classement& c,
                const std::vector<Choix>& choix, const std::vector<bool>& ajouterProches)
{
    Bilan bilan;
    std::unordered_map<std::string, std::string> guids;
    for (int t = 0; t < int(c.classes.size()); ++t) {
        const int m = c.correspondances[size_t(t)] + 1;
        const auto& gardeLeur = leur.GardesPOI[size_t(t + 1)];
        bool ajouter = false;
        bool nouveauGuid = false;
        switch (c.classes[size_t(t)]) {
        case Classe::Pareille:
            ++bilan.ignorees;
            if (GuidDeGarde(mienne.GardesPOI[size_t(m)].get()).empty()) {
                const std::string g = GuidDeGarde(gardeLeur.get());
                if (!g.empty())
                    mienne.GardesPOI[size_t(m)] = std::make_shared<const GardePOI>(
                        AvecGuid(mienne.GardesPOI[size_t(m)].get(), g));
            }
            break;
        case Classe::Changee:
            if (choix[size_t(t)] == Choix::Leur) {
                mienne.Poser(m, leur.Prendre(t + 1));
                ++bilan.misesAJour;
            } else if (choix[size_t(t)] == Choix::LesDeux) {
                ajouter = nouveauGuid = true;
            } else {
                ++bilan.ignorees;
            }
            break;
        case Classe::Proche:
            ajouter = ajouterProches[size_t(t)];
            bilan.ignorees += !ajouter;
            break;
        case Classe::Nouvelle:
            ajouter = true;
            break;
        }
        if (!ajouter)
            continue;
        if (mienne.NbPOI >= MaxPOI) {
            ++bilan.horsCapacite;
            continue;
        }
        const int i = mienne.AjouterLigne();
        mienne.Poser(i, leur.Prendre(t + 1));
        if (nouveauGuid) {
            const std::string g = NouveauGuid();
            guids[GuidDeGarde(gardeLeur.get())] = g;
            mienne.GardesPOI[size_t(i)] =
                std::make_shared<const GardePOI>(AvecGuid(gardeLeur.get(), g));
        }
        ++bilan.ajoutees;
    }
    if (leur.Fichier)
        mienne.Fichier = FichierFusionne(mienne.Fichier.get(), leur.Fichier.get(), guids);
    return bilan;
}

} // namespace Gpx
