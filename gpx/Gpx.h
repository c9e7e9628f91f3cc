// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gpx/Codecs.h"
#include "gpx/LecteurXml.h"
#include "gpx/TableGPX.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// GPX files, read line by line with fixed cuts as the chart plotter writes
// them, and written in the one-element-per-line layout it reads. Plain C++:
// the editor and the companion tool share it, and the tool starts without
// loading Qt.
namespace Gpx {

// The lines of a Windows-1252 text, as views into its bytes: a large file
// costs one copy of its bytes, not one string per line. Copies share the
// bytes. Windows-1252 has one byte per character, so positions in a line
// are positions in its text.
class Lignes {
public:
    Lignes() = default;
    // CR LF, a lone CR and a lone LF each end a line; a last line without an
    // end is still a line.
    explicit Lignes(std::string octets);
    // The same over bytes that proprietaire keeps alive (a mapped file).
    Lignes(std::string_view octets, std::shared_ptr<const void> proprietaire);

    int size() const
    {
        const std::vector<size_t>& d = Debuts();
        return d.empty() ? 0 : int(d.size()) - 1;
    }
    // The whole text.
    std::string_view Octets() const { return texte; }
    std::string_view operator[](int i) const;

    class const_iterator {
    public:
        const_iterator(const Lignes* l, int i) : lignes(l), n(i) {}
        std::string_view operator*() const { return (*lignes)[n]; }
        const_iterator& operator++()
        {
            ++n;
            return *this;
        }
        bool operator!=(const const_iterator& autre) const { return n != autre.n; }

    private:
        const Lignes* lignes;
        int n;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

private:
    // Cut at the first use: a file the XML parser reads is never cut.
    const std::vector<size_t>& Debuts() const
    {
        if (!debuts)
            Decouper();
        return *debuts;
    }
    void Decouper() const;

    std::shared_ptr<const void> proprietaire;
    std::string_view texte;
    // Where each line starts, then where a line after the last would: a
    // line ends where the next starts, less its CR LF, CR or LF.
    mutable std::shared_ptr<std::vector<size_t>> debuts;
};

// The text without its leading and trailing spaces; tabs stay.
std::string_view SansEspaces(std::string_view s);

// True when a line holds a route or a track.
bool ChercherRoutesTraces(const Lignes& lignes);

// The name of a waypoint with a time as the chart plotter's files need it:
// "(Sans nom)" when empty, each "%20" a space. Bytes in, bytes out: both
// readers complete it before decoding.
std::string NomAvecTemps(std::string_view octets);

// Kept XML text (UTF-8, as the reader writes it back) as its characters:
// entities and character references decoded as the reader decodes them,
// CDATA sections taken as they stand.
std::u16string TexteXml(std::string_view utf8);

// Reads the file's waypoints line by line, as the chart plotter writes
// them: the reader of files that are not well-formed XML (older files of
// this program hold a bare "&" or Windows-1252 bytes in a file declared
// UTF-8). The first 50 links of each waypoint with a time.
void LirePOILignes(const Lignes& lignes, Receveur& receveur);

// Reads the file: with the XML parser when it is well-formed GPX, otherwise
// (or always, with parLignes) line by line.
Lecture LirePOI(const Lignes& lignes, Receveur& receveur, const std::function<void()>& vider,
                bool parLignes = false);

// Replaces the table with the file's waypoints and links, and what else it
// holds for the save.
template <typename Texte>
Lecture LirePOI(const Lignes& lignes, TableGPX<Texte>& table, bool parLignes = false)
{
    class Remplir : public Receveur {
    public:
        explicit Remplir(TableGPX<Texte>& t) : table(t) {}
        void Poser(Champ champ, int i, int k, std::u16string_view valeur) override
        {
            Textes<Texte>::Affecter(table.Case(champ, i, k), valeur);
        }
        void PoserUtf8(Champ champ, int i, int k, std::string_view valeur) override
        {
            Textes<Texte>::AffecterUtf8(table.Case(champ, i, k), valeur);
        }
        void Garder(int i, std::shared_ptr<const GardePOI> garde) override
        {
            table.Case(Champ::Nom, i, 0);
            table.GardesPOI[size_t(i)] = std::move(garde);
        }
        void GarderFichier(std::shared_ptr<const GardeFichier> garde) override
        {
            table.Fichier = std::move(garde);
        }
        void Compter(int16_t nbPOI) override
        {
            table.Case(Champ::Nom, nbPOI, 0);
            table.NbPOI = nbPOI;
        }

    private:
        TableGPX<Texte>& table;
    };
    // Nothing of the previous document survives a read.
    Remplir remplir(table);
    return LirePOI(
        lignes, remplir, [&table] { table.Vider(); }, parLignes);
}

// Why a table could not be written: the first character a value cannot
// carry, and its waypoint.
struct Refus {
    char16_t caractere = 0;
    int poi = 0;
};

// The message for a refusal, the character as caractereDecrit names it.
std::string TexteRefus(std::string_view caractereDecrit, int poi);

// Pieces of the writer.
namespace Ecriture {

enum class Contexte { Texte, Attribut, Cible };

// The value escaped for its place (a view of s when nothing changes, or of
// tampon).
std::u16string_view Echapper(std::u16string_view s, Contexte contexte, std::u16string& tampon);

// A value that lands in a file declared UTF-8, appended; false naming the
// character it cannot carry.
bool Valeur(std::u16string_view valeur, std::string& octets, char16_t& manquant);

// Most values: printable ASCII with nothing to escape (in a link target,
// an "&" that starts an entity stays as it is), appended as they stand in
// one pass; false, and nothing appended, for any other. The second form
// reads texts kept one byte per character.
bool Simple(std::u16string_view valeur, bool cible, std::string& octets);
bool Simple(std::string_view valeur, bool cible, std::string& octets);

// A text in ASCII: each character past it as a character reference.
void References(std::u16string_view valeur, std::string& octets);

// The name of a waypoint with a time: UTF-8, any character but controls.
bool ValeurUtf8(std::u16string_view valeur, std::string& octets, char16_t& manquant);

extern const char* const Entete;
extern const char* const FinPOI;
extern const char* const Fin;

// The root's opening as the writer writes it, with what the file's kept
// content needs beyond it (namespace declarations, schema locations).
void EcrireEntete(const GardeFichier* fichier, std::string& octets);

// The type the file gave a link of this target and text, if any.
void TypeLien(const GardePOI& garde, std::u16string_view href, std::u16string_view texte,
              std::string& octets);

// The end of a waypoint from its symbol's closing tag on, with what it kept.
void FinPOIGarde(const GardePOI& garde, std::string& octets);

} // namespace Ecriture

// Receives the document piece by piece; false stops the writing.
using Verser = std::function<bool(std::string_view)>;

// The GPX document of the table, an empty symbol written as "anchorage",
// with everything the file held beyond the table's fields where GPX 1.1
// wants it, handed to verser in pieces of about 64 KB so that a large
// document is never held whole. False when verser stops, or, with refus
// naming the character, when a value holds a character the file cannot
// carry.
template <typename Texte>
bool TexteGPX(const TableGPX<Texte>& table, const Verser& verser, Refus& refus)
{
    using Ecriture::Contexte;
    // Texts kept one byte per character are widened into this.
    std::u16string large;
    auto vue = [](const Texte& t, std::u16string& large) { return Textes<Texte>::Vue(t, large); };
    constexpr size_t Piece = 64 << 10;
    std::string octets;
    octets.reserve(Piece + 4096);
    std::u16string tampon;
    char16_t manquant = 0;
    bool ok = true;
    auto valeur = [&](std::u16string_view v, Contexte contexte) {
        ok = ok && (Ecriture::Simple(v, contexte == Contexte::Cible, octets) ||
                    Ecriture::Valeur(Ecriture::Echapper(v, contexte, tampon), octets, manquant));
    };
    // A field of the table, without widening a text kept one byte per
    // character when it needs nothing done.
    auto champ = [&](const Texte& t, Contexte contexte) {
        std::string_view etroit;
        if (!(Textes<Texte>::Etroit(t, etroit) &&
              Ecriture::Simple(etroit, contexte == Contexte::Cible, octets)))
            valeur(vue(t, large), contexte);
    };
    auto verse = [&] {
        const bool verse = verser(octets);
        octets.clear();
        return verse;
    };
    // Kept content: a large piece goes as it stands, not through a copy.
    auto garde = [&](const std::string& piece) {
        if (piece.size() < Piece) {
            octets += piece;
            return true;
        }
        return verse() && verser(piece);
    };
    const GardeFichier* fichier = table.Fichier.get();

    Ecriture::EcrireEntete(fichier, octets);
    if (fichier && !garde(fichier->metadata))
        return false;
    for (int i = 1; i <= table.NbPOI; ++i) {
        const GardePOI* g = table.GardesPOI[size_t(i)].get();
        octets += "\t<wpt lat=\"";
        champ(table.LatPOI[i], Contexte::Attribut);
        octets += "\" lon=\"";
        champ(table.LonPOI[i], Contexte::Attribut);
        octets += '"';
        if (g)
            octets += g->attributs;
        octets += ">\r\n";
        if (g)
            octets += g->avantTemps;
        const std::u16string_view temps = vue(table.TempsPOI[i], large);
        const bool sansTemps = temps.empty();
        // GPX has no empty time: a waypoint without one is written without.
        if (!sansTemps) {
            octets += "\t\t<time>";
            valeur(temps, Contexte::Texte);
            octets += "</time>\r\n";
        }
        if (g)
            octets += g->avantNom;
        octets += "\t\t<name>";
        const std::u16string_view nom = vue(table.NomPOI[i], large);
        if (sansTemps)
            valeur(nom, Contexte::Texte);
        else
            ok = ok && Ecriture::ValeurUtf8(Ecriture::Echapper(nom, Contexte::Texte, tampon),
                                            octets, manquant);
        octets += "</name>\r\n";
        if (g)
            octets += g->avantLiens;
        for (int k = 1; k <= table.NbLiens(i); ++k) {
            octets += "\t\t<link href=\"";
            champ(table.LienHref[i][k], Contexte::Cible);
            octets += "\">\r\n\t\t\t<text>";
            champ(table.LienTexte[i][k], Contexte::Texte);
            octets += "</text>\r\n";
            if (g && !g->typesLiens.empty())
                Ecriture::TypeLien(*g, vue(table.LienHref[i][k], large),
                                   vue(table.LienTexte[i][k], tampon), octets);
            octets += "\t\t</link>\r\n";
            if (octets.size() >= Piece && ok && !verse())
                return false;
        }
        octets += "\t\t<sym>";
        const std::u16string_view sym = vue(table.SymPOI[i], large);
        if (sym.empty())
            octets += "anchorage";
        else
            valeur(sym, Contexte::Texte);
        if (g)
            Ecriture::FinPOIGarde(*g, octets);
        else
            octets += Ecriture::FinPOI;
        if (!ok) {
            refus = {manquant, i};
            return false;
        }
        if (octets.size() >= Piece && !verse())
            return false;
    }
    if (fichier) {
        for (const auto* pieces :
             {&fichier->surplus, &fichier->routes, &fichier->traces, &fichier->autres})
            for (const std::string& piece : *pieces)
                if (!garde(piece))
                    return false;
        if (fichier->aExtensions || !fichier->extensions.empty()) {
            octets += "\t<extensions" + fichier->attributsExtensions + ">\r\n";
            if (!garde(fichier->extensions))
                return false;
            octets += "\t</extensions>\r\n";
        }
    }
    octets += Ecriture::Fin;
    return verse();
}

// The whole document in octets, as above.
template <typename Texte>
bool TexteGPX(const TableGPX<Texte>& table, std::string& octets, Refus& refus)
{
    octets.clear();
    return TexteGPX<Texte>(
        table,
        [&octets](std::string_view piece) {
            octets += piece;
            return true;
        },
        refus);
}

// The lines with every link to a local file pointed into dossier (already
// escaped for an attribute, in Windows-1252): what follows the target's last
// separator is kept, the path before it replaced. change tells whether a
// line was rewritten.
Lignes RelocaliserLignes(const Lignes& lignes, std::string_view dossier, bool& change);

} // namespace Gpx
