// SPDX-License-Identifier: GPL-3.0-or-later
#include "gpx/Proprietes.h"

#include "gpx/Codecs.h"
#include "gpx/Gpx.h"
#include "gpx/LecteurXml.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace Gpx {

namespace {

// Where each property lives: an element of the extensions (or of the GPX
// elements before the links), its text or one of its attributes.
struct Place {
    const char* element;
    const char* attribut;
    // The attribute's value when the element is made without it.
    const char* defaut;
    bool gpx;
};

const Place& PlaceDe(Propriete p)
{
    static const Place Places[NbProprietes] = {
        {"guid", nullptr, nullptr, false},
        {"viz", nullptr, nullptr, false},
        {"viz_name", nullptr, nullptr, false},
        {"arrival_radius", nullptr, nullptr, false},
        {"waypoint_range_rings", "visible", "false", false},
        {"waypoint_range_rings", "number", "0", false},
        {"waypoint_range_rings", "step", "1", false},
        {"waypoint_range_rings", "units", "0", false},
        {"waypoint_range_rings", "colour", "#FF0000", false},
        {"scale_min_max", "UseScale", "false", false},
        {"scale_min_max", "ScaleMin", "2147483646", false},
        {"scale_min_max", "ScaleMax", "0", false},
        {"tidestation", nullptr, nullptr, false},
        {"desc", nullptr, nullptr, true},
        {"cmt", nullptr, nullptr, true},
    };
    return Places[int(p)];
}

// The kept elements of one place, each a line ending in CR LF: the reader
// escapes every CR inside them, so CR LF ends an element and nothing else.
struct Piece {
    size_t debut = 0;
    size_t fin = 0;
    std::string_view texte;
};

bool Suivante(const std::string& s, size_t& pos, Piece& piece)
{
    if (pos >= s.size())
        return false;
    size_t fin = s.find("\r\n", pos);
    fin = fin == std::string::npos ? s.size() : fin + 2;
    piece = {pos, fin, std::string_view(s).substr(pos, fin - pos)};
    pos = fin;
    return true;
}

// The element's name as written, and where its start tag ends.
std::string_view NomElement(std::string_view piece, size_t& apresNom)
{
    const size_t lt = piece.find('<');
    if (lt == std::string_view::npos || lt + 1 >= piece.size() || piece[lt + 1] == '!' ||
        piece[lt + 1] == '?')
        return {};
    const size_t fin = piece.find_first_of(" \t\r\n/>", lt + 1);
    if (fin == std::string_view::npos)
        return {};
    apresNom = fin;
    return piece.substr(lt + 1, fin - lt - 1);
}

// True when an element of that name stands for the place.
bool EstElement(std::string_view nom, const Place& place, const std::string& prefixe)
{
    const std::string_view local = NomLocal(nom);
    // GPX's own elements: the local name tells.
    if (place.gpx || local != place.element)
        return local == place.element;
    // The writer binds "opencpn" on the root; a file may use another prefix.
    const std::string_view debut = nom.substr(0, nom.size() - local.size());
    return debut == "opencpn:" || debut == prefixe;
}

// XML text as the reader wrote it, in UTF-8.
std::string Decoder(std::string_view s)
{
    return EnUtf8(TexteXml(s));
}

// Where the start tag ends (its ">"), and whether it closes the element.
size_t FinBalise(std::string_view piece, size_t apresNom, bool& vide)
{
    // Attribute values hold no ">": the reader escapes it.
    const size_t gt = piece.find('>', apresNom);
    vide = gt != std::string_view::npos && gt > 0 && piece[gt - 1] == '/';
    return gt;
}

// An attribute's value as written (escaped), and where it stands.
bool TrouverAttribut(std::string_view piece, size_t apresNom, size_t finBalise,
                     std::string_view nom, size_t& debut, size_t& fin)
{
    size_t i = apresNom;
    while (i < finBalise) {
        const size_t egal = piece.find('=', i);
        if (egal == std::string_view::npos || egal >= finBalise)
            return false;
        std::string_view n = piece.substr(i, egal - i);
        const size_t d = n.find_first_not_of(" \t\r\n");
        n = d == std::string_view::npos ? std::string_view() : n.substr(d);
        n = n.substr(0, n.find_last_not_of(" \t\r\n") + 1);
        const size_t guillemet = piece.find_first_of("\"'", egal);
        if (guillemet == std::string_view::npos || guillemet >= finBalise)
            return false;
        const size_t ferme = piece.find(piece[guillemet], guillemet + 1);
        if (ferme == std::string_view::npos)
            return false;
        if (n == nom) {
            debut = guillemet + 1;
            fin = ferme;
            return true;
        }
        i = ferme + 1;
    }
    return false;
}

std::optional<std::string> Valeur(std::string_view piece, size_t apresNom, const Place& place)
{
    bool vide = false;
    const size_t gt = FinBalise(piece, apresNom, vide);
    if (gt == std::string_view::npos)
        return std::nullopt;
    if (place.attribut) {
        size_t debut = 0, fin = 0;
        if (!TrouverAttribut(piece, apresNom, gt, place.attribut, debut, fin))
            return std::nullopt;
        return Decoder(piece.substr(debut, fin - debut));
    }
    if (vide)
        return std::string();
    const size_t ferme = piece.rfind("</");
    if (ferme == std::string_view::npos || ferme < gt)
        return std::string();
    std::string texte = Decoder(piece.substr(gt + 1, ferme - gt - 1));
    if (place.gpx)
        return texte;
    // The chart plotter's values are read trimmed, as it reads them.
    const size_t d = texte.find_first_not_of(" \t\r\n");
    if (d == std::string::npos)
        return std::string();
    return texte.substr(d, texte.find_last_not_of(" \t\r\n") + 1 - d);
}

const std::string& Lieu(const GardePOI& g, const Place& place)
{
    return place.gpx ? g.avantLiens : g.extensions;
}

// The order of GPX's elements before the links.
int RangGpx(std::string_view piece)
{
    size_t apres = 0;
    const std::string_view nom = NomLocal(NomElement(piece, apres));
    return nom == "cmt" ? 0 : nom == "desc" ? 1 : 2;
}

void Poser(GardePOI& g, Propriete p, const std::string& valeur)
{
    const Place& place = PlaceDe(p);
    std::string& s = place.gpx ? g.avantLiens : g.extensions;
    const std::string nomNouveau =
        place.gpx ? std::string(place.element) : "opencpn:" + std::string(place.element);
    const char* retrait = place.gpx ? "\t\t" : "\t\t\t";
    size_t pos = 0;
    Piece piece;
    while (Suivante(s, pos, piece)) {
        size_t apresNom = 0;
        if (!EstElement(NomElement(piece.texte, apresNom), place, g.prefixeOpenCpn))
            continue;
        bool vide = false;
        const size_t gt = FinBalise(piece.texte, apresNom, vide);
        if (gt == std::string_view::npos)
            continue;
        if (place.attribut) {
            std::string v;
            EchapperXml(valeur, true, v);
            size_t debut = 0, fin = 0;
            if (TrouverAttribut(piece.texte, apresNom, gt, place.attribut, debut, fin)) {
                s.replace(piece.debut + debut, fin - debut, v);
            } else {
                // After the others, before the tag's end.
                size_t ou = gt - (vide ? 1 : 0);
                while (ou > apresNom && (piece.texte[ou - 1] == ' ' || piece.texte[ou - 1] == '\t'))
                    --ou;
                std::string a;
                AttributXml(place.attribut, valeur, a);
                s.insert(piece.debut + ou, a);
            }
            return;
        }
        // A text element: written anew with its name as the file wrote it,
        // or taken away when emptied (never the flags and the GUID).
        const std::string nom(NomElement(piece.texte, apresNom));
        std::string nouveau;
        if (!valeur.empty() || p == Propriete::Viz || p == Propriete::VizNom ||
            p == Propriete::Guid || p == Propriete::Rayon) {
            nouveau = std::string(piece.texte.substr(0, gt + 1 - (vide ? 2 : 0)));
            if (vide)
                nouveau += '>';
            EchapperXml(valeur, false, nouveau);
            nouveau += "</" + nom + ">\r\n";
        }
        s.replace(piece.debut, piece.fin - piece.debut, nouveau);
        return;
    }
    if (!place.attribut && valeur.empty() &&
        (p == Propriete::Maree || p == Propriete::Desc || p == Propriete::Cmt))
        return;
    std::string nouveau = retrait;
    nouveau += '<' + nomNouveau;
    if (place.attribut) {
        // The element made whole, in the chart plotter's order.
        for (int q = 0; q < NbProprietes; ++q) {
            const Place& autre = PlaceDe(Propriete(q));
            if (autre.attribut && std::string_view(autre.element) == place.element)
                AttributXml(autre.attribut, Propriete(q) == p ? valeur : autre.defaut, nouveau);
        }
        nouveau += " />\r\n";
    } else {
        nouveau += '>';
        EchapperXml(valeur, false, nouveau);
        nouveau += "</" + nomNouveau + ">\r\n";
    }
    size_t ou = s.size();
    if (place.gpx) {
        // cmt, desc and src in the schema's order.
        const int rang = RangGpx(nouveau);
        pos = 0;
        while (Suivante(s, pos, piece))
            if (RangGpx(piece.texte) > rang) {
                ou = piece.debut;
                break;
            }
    }
    s.insert(ou, nouveau);
    if (p == Propriete::Viz)
        g.viz = true;
    if (p == Propriete::VizNom)
        g.vizNom = true;
}

double Nombre(const std::optional<std::string>& t, double defaut)
{
    if (!t)
        return defaut;
    double v = 0;
    const char* debut = t->data();
    const auto r = std::from_chars(debut, debut + t->size(), v);
    return r.ec == std::errc() && std::isfinite(v) ? v : defaut;
}

} // namespace

std::optional<std::string> LirePropriete(const GardePOI* garde, Propriete p)
{
    if (!garde)
        return std::nullopt;
    const Place& place = PlaceDe(p);
    const std::string& s = Lieu(*garde, place);
    size_t pos = 0;
    Piece piece;
    while (Suivante(s, pos, piece)) {
        size_t apresNom = 0;
        if (EstElement(NomElement(piece.texte, apresNom), place, garde->prefixeOpenCpn))
            return Valeur(piece.texte, apresNom, place);
    }
    return std::nullopt;
}

Proprietes LireProprietes(const GardePOI* garde)
{
    Proprietes p;
    if (!garde)
        return p;
    // One pass over each place: thousands of marks are read at once.
    for (const bool gpx : {false, true}) {
        const std::string& s = gpx ? garde->avantLiens : garde->extensions;
        size_t pos = 0;
        Piece piece;
        while (Suivante(s, pos, piece)) {
            size_t apresNom = 0;
            const std::string_view nom = NomElement(piece.texte, apresNom);
            for (int q = 0; q < NbProprietes; ++q) {
                const Place& place = PlaceDe(Propriete(q));
                if (place.gpx == gpx && !p.valeurs[size_t(q)] &&
                    EstElement(nom, place, garde->prefixeOpenCpn))
                    p.valeurs[size_t(q)] = Valeur(piece.texte, apresNom, place);
            }
        }
    }
    return p;
}

GardePOI AvecProprietes(const GardePOI* garde, const Changement& changement)
{
    GardePOI g = garde ? *garde : GardePOI();
    for (const auto& [p, valeur] : changement)
        Poser(g, p, valeur);
    return g;
}

GardePOI AvecExtensionsManquantes(const GardePOI& premier, const GardePOI* autre)
{
    GardePOI g = premier;
    if (!autre)
        return g;
    size_t pos = 0;
    Piece piece;
    while (Suivante(autre->extensions, pos, piece)) {
        size_t apres = 0;
        const std::string_view nom = NomElement(piece.texte, apres);
        if (nom.empty() || NomLocal(nom) == "viz" || NomLocal(nom) == "viz_name")
            continue;
        bool present = false;
        size_t p2 = 0;
        Piece mienne;
        while (!present && Suivante(premier.extensions, p2, mienne)) {
            size_t a2 = 0;
            present = NomElement(mienne.texte, a2) == nom;
        }
        if (present)
            continue;
        g.extensions.append(piece.texte);
        if (piece.texte.size() < 2 || piece.texte.substr(piece.texte.size() - 2) != "\r\n")
            g.extensions += "\r\n";
    }
    return g;
}

std::optional<bool> Booleen(std::string_view texte)
{
    std::string t;
    for (const char c : texte)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            t += char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (t == "true" || t == "1")
        return true;
    if (t == "false" || t == "0")
        return false;
    return std::nullopt;
}

Apparence ApparenceDe(const Proprietes& p)
{
    Apparence a;
    auto booleen = [&p](Propriete q, bool defaut) {
        const auto& t = p[q];
        return t ? Booleen(*t).value_or(defaut) : defaut;
    };
    a.visible = booleen(Propriete::Viz, true);
    a.nomVisible = booleen(Propriete::VizNom, true);
    a.rayon = std::max(0.0, Nombre(p[Propriete::Rayon], 0));
    if (booleen(Propriete::AnneauxVisibles, false)) {
        const double n = Nombre(p[Propriete::AnneauxNombre], 0);
        a.anneaux = n >= 1 && n <= 10 ? int(n) : 0;
        const double km = Nombre(p[Propriete::AnneauxUnites], 0) == 1 ? 1 / 1.852 : 1;
        a.pas = std::max(0.0, Nombre(p[Propriete::AnneauxPas], 0) * km);
    }
    const auto& c = p[Propriete::AnneauxCouleur];
    RefusPropriete refus = RefusPropriete::Aucun;
    if (c && Normaliser(Propriete::AnneauxCouleur, *c, refus))
        a.couleur = unsigned(std::strtoul(c->c_str() + 1, nullptr, 16));
    return a;
}

std::optional<std::string> Normaliser(Propriete p, std::string_view valeur, RefusPropriete& refus)
{
    refus = RefusPropriete::Aucun;
    std::string t(valeur);
    const size_t d = t.find_first_not_of(" \t");
    t = d == std::string::npos ? std::string() : t.substr(d, t.find_last_not_of(" \t") + 1 - d);
    auto nombre = [&](double& v) {
        std::string s = t;
        for (char& c : s)
            if (c == ',')
                c = '.';
        const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
        if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v) ||
            v < 0) {
            refus = RefusPropriete::Nombre;
            return false;
        }
        return true;
    };
    double v = 0;
    switch (p) {
    case Propriete::Viz:
    case Propriete::VizNom:
        if (const auto b = Booleen(t))
            return std::string(*b ? "1" : "0");
        refus = RefusPropriete::Nombre;
        return std::nullopt;
    case Propriete::AnneauxVisibles:
    case Propriete::EchelleUtilisee:
        if (const auto b = Booleen(t))
            return std::string(*b ? "true" : "false");
        refus = RefusPropriete::Nombre;
        return std::nullopt;
    case Propriete::Rayon:
        if (!nombre(v))
            return std::nullopt;
        return TexteRayon(v);
    case Propriete::AnneauxPas:
        if (!nombre(v))
            return std::nullopt;
        return TexteNombre(v);
    case Propriete::AnneauxNombre:
    case Propriete::AnneauxUnites:
    case Propriete::EchelleMin:
    case Propriete::EchelleMax:
        if (!nombre(v))
            return std::nullopt;
        if (v != std::floor(v) || v > 2147483647.0) {
            refus = RefusPropriete::Nombre;
            return std::nullopt;
        }
        if ((p == Propriete::AnneauxNombre && v > 10) || (p == Propriete::AnneauxUnites && v > 1)) {
            refus = RefusPropriete::Anneaux;
            return std::nullopt;
        }
        return std::to_string(static_cast<long long>(v));
    case Propriete::AnneauxCouleur: {
        bool ok = t.size() == 7 && t[0] == '#';
        for (size_t i = 1; ok && i < t.size(); ++i)
            ok = std::isxdigit(static_cast<unsigned char>(t[i])) != 0;
        if (!ok) {
            refus = RefusPropriete::Couleur;
            return std::nullopt;
        }
        for (char& c : t)
            c = char(std::toupper(static_cast<unsigned char>(c)));
        return t;
    }
    case Propriete::Guid:
    case Propriete::Maree:
    case Propriete::Desc:
    case Propriete::Cmt:
        break;
    }
    return std::string(valeur);
}

std::string TexteRayon(double milles)
{
    // Not printf: a French locale would write "0,250".
    char t[64];
    const auto r = std::to_chars(t, t + sizeof t, milles, std::chars_format::fixed, 3);
    return std::string(t, r.ptr);
}

std::string TexteNombre(double valeur)
{
    char t[64];
    const auto r = std::to_chars(t, t + sizeof t, valeur);
    return std::string(t, r.ptr);
}

} // namespace Gpx
