// SPDX-License-Identifier: GPL-3.0-or-later
#include "gpx/Gpx.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <map>
#include <unordered_map>

namespace Gpx {

namespace {

// Positions of marks in a line are 16-bit: beyond this index a mark is not
// taken and its value stays empty.
constexpr int PositionMax = 32766;

// True when the motif stands at the start of s, whose first byte the caller
// has already matched. Tags are a few bytes: a plain loop beats memcmp.
bool Commence(std::string_view s, std::string_view motif)
{
    if (s.size() < motif.size())
        return false;
    for (size_t k = 1; k < motif.size(); ++k)
        if (s[k] != motif[k])
            return false;
    return true;
}

// First positions of several tags, each starting with "<", in one scan of
// the line; -1 for a tag that is absent.
template <size_t N>
std::array<int, N> Reperer(std::string_view ligne, const std::array<std::string_view, N>& motifs)
{
    std::array<int, N> positions;
    positions.fill(-1);
    size_t restants = N;
    for (size_t i = ligne.find('<'); i != std::string_view::npos && restants > 0;
         i = ligne.find('<', i + 1)) {
        const std::string_view reste = ligne.substr(i);
        for (size_t m = 0; m < N; ++m)
            if (positions[m] < 0 && Commence(reste, motifs[m])) {
                positions[m] = int(i);
                --restants;
            }
    }
    return positions;
}

// For each text, the first line that holds it (-1 when none does), in one
// pass over the lines per distinct length with a rolling hash.
std::vector<int> PremieresLignes(const Lignes& lignes, const std::vector<std::string_view>& textes)
{
    std::vector<int> resultat(textes.size(), -1);
    constexpr uint64_t Base = 1000003;
    std::map<size_t, std::vector<size_t>> parLongueur;
    for (size_t t = 0; t < textes.size(); ++t)
        if (!textes[t].empty())
            parLongueur[textes[t].size()].push_back(t);

    auto hacher = [](std::string_view v) {
        uint64_t h = 0;
        for (const char c : v)
            h = h * Base + static_cast<unsigned char>(c);
        return h;
    };
    for (const auto& [longueur, indices] : parLongueur) {
        std::unordered_map<uint64_t, std::vector<size_t>> cherches;
        std::vector<uint8_t> filtre(1 << 16, 0);
        for (size_t t : indices) {
            const uint64_t h = hacher(textes[t]);
            cherches[h].push_back(t);
            filtre[h & 0xFFFF] = 1;
        }
        uint64_t puissance = 1;
        for (size_t k = 1; k < longueur; ++k)
            puissance *= Base;
        size_t restants = indices.size();
        for (int n = 0; n < lignes.size() && restants > 0; ++n) {
            const std::string_view ligne = lignes[n];
            if (ligne.size() < longueur)
                continue;
            const auto* d = reinterpret_cast<const unsigned char*>(ligne.data());
            uint64_t h = hacher(ligne.substr(0, longueur));
            for (size_t i = 0;; ++i) {
                if (filtre[h & 0xFFFF]) {
                    auto trouve = cherches.find(h);
                    if (trouve != cherches.end())
                        for (size_t t : trouve->second)
                            if (resultat[t] < 0 && ligne.substr(i, longueur) == textes[t]) {
                                resultat[t] = n;
                                --restants;
                            }
                }
                if (i + longueur >= ligne.size())
                    break;
                h = (h - d[i] * puissance) * Base + d[i + longueur];
            }
        }
    }
    return resultat;
}

// The bytes that run from `debut` characters after a tag at p up to a
// closing part of `fin` characters ending the line; empty when too short.
std::string_view Couper(std::string_view ligne, int p, int debut, int fin)
{
    if (p < 0 || p > PositionMax)
        return {};
    const int de = p + debut;
    const int n = int(ligne.size()) - fin - de;
    return n > 0 ? ligne.substr(size_t(de), size_t(n)) : std::string_view();
}

bool Chiffre(char16_t c, bool hexa)
{
    return (c >= '0' && c <= '9') || (hexa && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
}

// A character reference "&#233;" or "&#xE9;" at i: its code and length.
template <typename Car>
bool ReferenceNumerique(std::basic_string_view<Car> s, size_t i, char32_t& code, size_t& longueur)
{
    if (i + 1 >= s.size() || s[i + 1] != '#')
        return false;
    size_t j = i + 2;
    const bool hexa = j < s.size() && (s[j] == 'x' || s[j] == 'X');
    if (hexa)
        ++j;
    const size_t debut = j;
    uint32_t valeur = 0;
    while (j < s.size() && j - debut < 8 && Chiffre(char16_t(s[j]), hexa)) {
        const char16_t c = char16_t(s[j]);
        const uint32_t v = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
        valeur = valeur * (hexa ? 16 : 10) + v;
        ++j;
    }
    if (j == debut || j >= s.size() || s[j] != ';')
        return false;
    // Only characters XML allows: a reference to any other stays as text,
    // which the writer then escapes, so the file stays well-formed.
    const bool permis = valeur == '\t' || valeur == '\n' || valeur == '\r' ||
                        (valeur >= 0x20 && valeur <= 0x10FFFF && valeur != 0xFFFE &&
                         valeur != 0xFFFF && (valeur < 0xD800 || valeur > 0xDFFF));
    if (!permis)
        return false;
    code = valeur;
    longueur = j + 1 - i;
    return true;
}

// True when the ASCII word stands at i.
template <typename Car> bool AsciiEn(std::basic_string_view<Car> s, size_t i, const char* mot)
{
    for (size_t k = 0; mot[k]; ++k, ++i)
        if (i >= s.size() || s[i] != Car(mot[k]))
            return false;
    return true;
}

const struct {
    const char* entite;
    char16_t caractere;
} Entites[] = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};

// True when one of the standard entities or a reference to a character XML
// allows starts at i: a link target keeps those as they stand.
template <typename Car> bool EntiteEn(std::basic_string_view<Car> s, size_t i)
{
    char32_t code = 0;
    size_t longueur = 0;
    if (ReferenceNumerique(s, i, code, longueur))
        return true;
    for (const auto& e : Entites)
        if (AsciiEn(s, i, e.entite))
            return true;
    return false;
}

// s with the standard XML entities and character references decoded, in one
// left-to-right pass, into sortie; every other character goes through
// caractere. With garderAmp, "&amp;" stays as it stands (stored link
// targets keep it). A bare "&" stays "&". Entities are ASCII, so the bytes
// of a Windows-1252 text are decoded as its characters would be.
template <typename Car, typename Caractere>
void DecoderEntites(std::basic_string_view<Car> s, bool garderAmp, Caractere caractere,
                    std::u16string& sortie)
{
    sortie.clear();
    for (size_t i = 0; i < s.size();) {
        if (s[i] != '&') {
            // The run up to the next entity, in one step.
            const size_t fin = std::min(s.find(Car('&'), i), s.size());
            const size_t debut = sortie.size();
            sortie.resize(debut + fin - i);
            char16_t* d = sortie.data() + debut;
            for (; i < fin; ++i)
                *d++ = caractere(s[i]);
            continue;
        }
        size_t longueur = 0;
        char32_t code = 0;
        if (ReferenceNumerique(s, i, code, longueur)) {
            AjouterCaractere(code, sortie);
        } else {
            for (const auto& e : Entites) {
                if (AsciiEn(s, i, e.entite)) {
                    longueur = std::char_traits<char>::length(e.entite);
                    if (garderAmp && e.caractere == '&')
                        sortie += u"&amp;";
                    else
                        sortie += e.caractere;
                    break;
                }
            }
        }
        if (longueur == 0) {
            sortie += u'&';
            longueur = 1;
        }
        i += longueur;
    }
}

// A value as the file holds it: Windows-1252 bytes with entities.
std::u16string_view Valeur(std::string_view octets, std::u16string& sortie, bool garderAmp = false)
{
    DecoderEntites(
        octets, garderAmp, [](char c) { return CaractereWindows1252(c); }, sortie);
    return sortie;
}

// The name of a waypoint, decoded once complete: a name with a time is
// UTF-8, and references are decoded after the bytes.
std::u16string_view Nom(std::string_view octets, bool avecTemps, std::u16string& sortie)
{
    if (!avecTemps)
        return Valeur(octets, sortie);
    const std::u16string texte = Utf8VersTexte(NomAvecTemps(octets));
    DecoderEntites(
        std::u16string_view(texte), false, [](char16_t c) { return c; }, sortie);
    return sortie;
}

} // namespace

std::u16string TexteXml(std::string_view utf8)
{
    std::u16string texte;
    std::u16string morceau;
    while (!utf8.empty()) {
        const size_t cdata = std::min(utf8.find("<![CDATA["), utf8.size());
        const std::u16string large = Utf8VersTexte(utf8.substr(0, cdata));
        DecoderEntites(
            std::u16string_view(large), false, [](char16_t c) { return c; }, morceau);
        texte += morceau;
        utf8.remove_prefix(cdata);
        if (utf8.empty())
            break;
        const size_t fin = std::min(utf8.find("]]>"), utf8.size());
        texte += Utf8VersTexte(utf8.substr(9, fin - std::min<size_t>(9, fin)));
        utf8.remove_prefix(std::min(fin + 3, utf8.size()));
    }
    return texte;
}

namespace {

// The first four double quotes of a waypoint line give its position: the
// first quoted value is the latitude, the second the longitude.
void LirePosition(std::string_view ligne, int i, Receveur& receveur)
{
    size_t q[4];
    size_t depuis = 0;
    for (size_t& position : q) {
        position = ligne.find('"', depuis);
        if (position == std::string_view::npos || position > size_t(PositionMax))
            return;
        depuis = position + 1;
    }
    std::u16string tampon;
    receveur.Poser(Champ::Lat, i, 0, Valeur(ligne.substr(q[0] + 1, q[1] - q[0] - 1), tampon));
    receveur.Poser(Champ::Lon, i, 0, Valeur(ligne.substr(q[2] + 1, q[3] - q[2] - 1), tampon));
}

// Links of every waypoint with a time: those of the block that follows the
// first line of the file holding its time text, up to the line that closes
// a waypoint. tempsBruts holds the time texts as they stand in the file.
void LireLiens(const Lignes& lignes, const std::vector<std::string_view>& tempsBruts, int nbPOI,
               Receveur& receveur)
{
    const std::vector<int> premieres = PremieresLignes(lignes, tempsBruts);
    static const std::array<std::string_view, 3> Balises = {"<link", "<text>", "</wpt>"};
    std::u16string tampon;

    for (int i = 1; i <= nbPOI; ++i) {
        if (premieres[size_t(i)] < 0)
            continue;
        bool lienIgnore = false;
        int16_t nb = 0;
        for (int n = premieres[size_t(i)] + 1; n < lignes.size(); ++n) {
            const std::string_view ligne = SansEspaces(lignes[n]);
            const auto [pLien, pTexte, pFin] = Reperer(ligne, Balises);
            if (pLien >= 0) {
                lienIgnore = nb >= MaxLiens;
                if (!lienIgnore) {
                    ++nb;
                    receveur.Poser(Champ::Href, i, nb,
                                   Valeur(Couper(ligne, pLien, 12, 2), tampon, true));
                }
            }
            // The text of a link beyond the 50th is skipped with its link.
            if (pTexte >= 0 && nb > 0 && !lienIgnore)
                receveur.Poser(Champ::TexteLien, i, nb,
                               Valeur(Couper(ligne, pTexte, 6, 7), tampon));
            if (pFin >= 0)
                break;
        }
    }
}

} // namespace

Lignes::Lignes(std::string octets)
{
    auto bloc = std::make_shared<const std::string>(std::move(octets));
    texte = *bloc;
    proprietaire = std::move(bloc);
}

Lignes::Lignes(std::string_view octets, std::shared_ptr<const void> p)
    : proprietaire(std::move(p)), texte(octets)
{
}

namespace {

// The first CR or LF from p on, or fin; eight bytes at a time, as large
// files are mostly line contents.
const char* ProchaineFin(const char* p, const char* fin)
{
    for (; fin - p >= 8; p += 8) {
        const uint64_t mot = Huit::Lire(p);
        if (Huit::Egal(mot, '\n') | Huit::Egal(mot, '\r'))
            break;
    }
    while (p < fin && *p != '\n' && *p != '\r')
        ++p;
    return p;
}

} // namespace

void Lignes::Decouper() const
{
    const std::string_view t = texte;
    debuts = std::make_shared<std::vector<size_t>>();
    std::vector<size_t>& debuts = *this->debuts;
    const char* const d = t.data();
    const char* const fin = d + t.size();
    // Counted first, so the starts are stored once at their final place:
    // growing the vector would copy them and touch twice the pages.
    size_t fins = 0;
    for (const char* p = ProchaineFin(d, fin); p < fin; p = ProchaineFin(p + 1, fin))
        ++fins;
    debuts.reserve(fins + 2);
    debuts.push_back(0);
    for (const char* p = ProchaineFin(d, fin); p < fin; p = ProchaineFin(p + 1, fin)) {
        if (*p == '\r' && p + 1 < fin && p[1] == '\n')
            ++p;
        debuts.push_back(size_t(p + 1 - d));
    }
    // A last line without an end.
    if (debuts.back() < t.size())
        debuts.push_back(t.size() + 1);
}

std::string_view Lignes::operator[](int i) const
{
    const std::vector<size_t>& debuts = Debuts();
    const size_t debut = debuts[size_t(i)];
    size_t suivant = debuts[size_t(i) + 1];
    // The next line starts past this one's end: one byte, or two for CR LF.
    size_t fin = suivant - 1;
    if (suivant <= texte.size() && texte[suivant - 1] == '\n' && suivant >= debut + 2 &&
        texte[suivant - 2] == '\r')
        --fin;
    return texte.substr(debut, fin - debut);
}

std::string_view SansEspaces(std::string_view s)
{
    const size_t debut = s.find_first_not_of(' ');
    if (debut == std::string_view::npos)
        return {};
    return s.substr(debut, s.find_last_not_of(' ') + 1 - debut);
}

std::string NomAvecTemps(std::string_view octets)
{
    if (octets.empty())
        octets = "(Sans nom)";
    std::string nom;
    for (size_t p = 0;;) {
        const size_t q = octets.find("%20", p);
        nom.append(octets, p, q == std::string_view::npos ? std::string_view::npos : q - p);
        if (q == std::string_view::npos)
            return nom;
        nom += ' ';
        p = q + 3;
    }
}

bool ChercherRoutesTraces(const Lignes& lignes)
{
    static const std::array<std::string_view, 4> Balises = {"<rte>", "<trk>", "<trkpt>", "<rtept>"};
    for (std::string_view l : lignes)
        for (int p : Reperer(l, Balises))
            if (p >= 0)
                return true;
    return false;
}

void LirePOILignes(const Lignes& lignes, Receveur& receveur)
{
    int16_t nbPOI = 0;
    std::vector<std::string_view> tempsBruts(1);
    std::vector<std::string_view> nomsBruts(1);
    std::vector<bool> nomDecode(1, false);
    bool enCours = false;
    std::u16string tampon;
    static const std::array<std::string_view, 5> Balises = {"<wpt", "</wpt>", "<time>", "<name>",
                                                            "<sym>"};
    for (std::string_view ligne : lignes) {
        const auto [pWpt, pFin, pTemps, pNom, pSym] = Reperer(ligne, Balises);
        if (pWpt >= 0 && nbPOI < MaxPOI) {
            ++nbPOI;
            tempsBruts.emplace_back();
            nomsBruts.emplace_back();
            nomDecode.push_back(false);
            enCours = true;
            LirePosition(ligne, nbPOI, receveur);
        }
        const auto i = size_t(nbPOI);
        bool fermee = false;
        if (enCours && pFin >= 0) {
            enCours = false;
            fermee = true;
        }
        if (enCours) {
            if (pTemps >= 0) {
                tempsBruts[i] = Couper(ligne, pTemps, 6, 7);
                receveur.Poser(Champ::Temps, nbPOI, 0, Valeur(tempsBruts[i], tampon));
            }
            if (pNom >= 0)
                nomsBruts[i] = Couper(ligne, pNom, 6, 7);
            if (pSym >= 0)
                receveur.Poser(Champ::Sym, nbPOI, 0, Valeur(Couper(ligne, pSym, 5, 6), tampon));
        }
        if (fermee) {
            receveur.Poser(Champ::Nom, nbPOI, 0, Nom(nomsBruts[i], !tempsBruts[i].empty(), tampon));
            nomDecode[i] = true;
        }
        if (nbPOI == MaxPOI && !enCours)
            break;
    }
    // A waypoint the file leaves open.
    for (int i = 1; i <= nbPOI; ++i)
        if (!nomDecode[size_t(i)])
            receveur.Poser(Champ::Nom, i, 0, Valeur(nomsBruts[size_t(i)], tampon));
    LireLiens(lignes, tempsBruts, nbPOI, receveur);
    receveur.Compter(nbPOI);
}

Lecture LirePOI(const Lignes& lignes, Receveur& receveur, const std::function<void()>& vider,
                bool parLignes)
{
    Lecture lecture;
    vider();
    const std::string_view octets = lignes.Octets();
    // An empty file is an empty document, not a fault to report.
    if (octets.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        receveur.Compter(0);
        return lecture;
    }
    if (!parLignes && LireXml(octets, receveur, lecture))
        return lecture;
    vider();
    LirePOILignes(lignes, receveur);
    lecture.routesTraces = ChercherRoutesTraces(lignes);
    lecture.horsCapacite = 0;
    return lecture;
}

std::string TexteRefus(std::string_view caractereDecrit, int poi)
{
    return "the character " + std::string(caractereDecrit) + " of waypoint " + std::to_string(poi) +
           " cannot be written in the file";
}

namespace Ecriture {

namespace {

// XML has no place for control characters but the tab (line ends are
// escaped before): false, naming the first one.
bool SansControle(std::u16string_view valeur, char16_t& manquant)
{
    for (const char16_t c : valeur)
        if (c < 0x20 && c != '\t') {
            manquant = c;
            return false;
        }
    return true;
}

} // namespace

const char* const Entete = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n"
                           "<gpx version=\"1.1\" creator=\"OpenCPN\" "
                           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                           "xmlns=\"http://www.topografix.com/GPX/1/1\" "
                           "xmlns:gpxx=\"http://www.garmin.com/xmlschemas/GpxExtensions/v3\" "
                           "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
                           "http://www.topografix.com/GPX/1/1/gpx.xsd\" "
                           "xmlns:opencpn=\"http://www.opencpn.org\">\r\n";

const char* const FinPOI = "</sym>\r\n"
                           "\t\t<type>WPT</type>\r\n"
                           "\t\t<extensions>\r\n"
                           "\t\t\t<opencpn:viz>1</opencpn:viz>\r\n"
                           "\t\t\t<opencpn:viz_name>1</opencpn:viz_name>\r\n"
                           "\t\t</extensions>\r\n"
                           "\t</wpt>\r\n";

const char* const Fin = "</gpx>\r\n";

void EcrireEntete(const GardeFichier* fichier, std::string& octets)
{
    if (!fichier || (fichier->attributs.empty() && fichier->schemas.empty())) {
        octets += Entete;
        return;
    }
    // A prefix the file binds otherwise keeps the file's binding: its kept
    // content uses it.
    auto declaration = [&](const char* prefixe, const char* uri) {
        if (fichier->attributs.find(std::string(" xmlns:") + prefixe + "=") == std::string::npos)
            octets += std::string(" xmlns:") + prefixe + "=\"" + uri + '"';
    };
    octets += "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n"
              "<gpx version=\"1.1\" creator=\"OpenCPN\" "
              "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
              "xmlns=\"http://www.topografix.com/GPX/1/1\"";
    declaration("gpxx", "http://www.garmin.com/xmlschemas/GpxExtensions/v3");
    octets += " xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
              "http://www.topografix.com/GPX/1/1/gpx.xsd";
    octets += fichier->schemas;
    octets += '"';
    declaration("opencpn", "http://www.opencpn.org");
    octets += fichier->attributs;
    octets += ">\r\n";
}

void TypeLien(const GardePOI& garde, std::u16string_view href, std::u16string_view texte,
              std::string& octets)
{
    std::string cle;
    AjouterUtf8(href, cle);
    cle += '\n';
    AjouterUtf8(texte, cle);
    for (const auto& [lien, type] : garde.typesLiens)
        if (lien == cle) {
            octets += "\t\t\t<type>" + type + "</type>\r\n";
            return;
        }
}

void FinPOIGarde(const GardePOI& garde, std::string& octets)
{
    octets += "</sym>\r\n";
    octets += garde.type.empty() ? std::string("\t\t<type>WPT</type>\r\n") : garde.type;
    octets += garde.apresType;
    octets += "\t\t<extensions" + garde.attributsExtensions + ">\r\n";
    if (!garde.viz)
        octets += "\t\t\t<opencpn:viz>1</opencpn:viz>\r\n";
    if (!garde.vizNom)
        octets += "\t\t\t<opencpn:viz_name>1</opencpn:viz_name>\r\n";
    octets += garde.extensions;
    octets += "\t\t</extensions>\r\n\t</wpt>\r\n";
}

// Escapes what XML text must not hold; in an attribute the double quote
// and the tab too, which a reader would take for a space. A link target
// keeps the entities it holds ("&amp;" above all): only a bare "&" is
// escaped there.
std::u16string_view Echapper(std::u16string_view s, Contexte contexte, std::u16string& tampon)
{
    bool change = false;
    // Most values hold nothing to escape: found in one quick pass.
    size_t premier = 0;
    while (premier < s.size() &&
           (s[premier] > '>' || (s[premier] != '&' && s[premier] != '<' && s[premier] != '>' &&
                                 s[premier] != '"' && s[premier] != '\r' && s[premier] != '\n' &&
                                 (s[premier] != '\t' || contexte == Contexte::Texte))))
        ++premier;
    if (premier == s.size())
        return s;
    for (size_t i = premier; i < s.size(); ++i) {
        const char16_t c = s[i];
        const char16_t* entite = nullptr;
        if (c == '&')
            entite = contexte == Contexte::Cible && EntiteEn(s, i) ? nullptr : u"&amp;";
        else if (c == '<')
            entite = u"&lt;";
        else if (c == '>')
            entite = u"&gt;";
        else if (c == '"' && contexte != Contexte::Texte)
            entite = u"&quot;";
        // A line end inside a value would split its line.
        else if (c == '\r')
            entite = u"&#13;";
        else if (c == '\n')
            entite = u"&#10;";
        else if (c == '\t' && contexte != Contexte::Texte)
            entite = u"&#9;";
        if (!entite) {
            if (change)
                tampon += c;
            continue;
        }
        if (!change) {
            change = true;
            tampon.assign(s.substr(0, i));
        }
        tampon += entite;
    }
    return change ? std::u16string_view(tampon) : s;
}

namespace {

// The ASCII characters a value cannot carry as they stand: controls, the
// markup characters; "&" (1) only when it starts no entity of a link target.
constexpr std::array<uint8_t, 128> Speciaux = [] {
    std::array<uint8_t, 128> t{};
    for (int c = 0; c < 0x20; ++c)
        t[size_t(c)] = 2;
    t[0x7F] = 2;
    t['<'] = t['>'] = t['"'] = 2;
    t['&'] = 1;
    return t;
}();

// True when the character at k can be written as it stands.
template <typename Car> bool Ordinaire(std::basic_string_view<Car> valeur, size_t k, bool cible)
{
    const auto c = static_cast<std::make_unsigned_t<Car>>(valeur[k]);
    return c < 0x80 && (!Speciaux[c] || (Speciaux[c] == 1 && cible && EntiteEn(valeur, k)));
}

// True when none of eight bytes is special: past ASCII, a control below
// 0x20, DEL, or one of the markup characters.
bool HuitOrdinaires(uint64_t mot)
{
    using namespace Huit;
    const uint64_t sous20 = (mot - Un * 0x20) & ~mot & Haut; // exact while none is past ASCII
    return (HorsAscii(mot) | sous20 | Egal(mot, '<') | Egal(mot, '>') | Egal(mot, '"') |
            Egal(mot, '&') | Egal(mot, 0x7F)) == 0;
}

} // namespace

bool Simple(std::u16string_view valeur, bool cible, std::string& octets)
{
    const size_t debut = octets.size();
    octets.resize(debut + valeur.size());
    char* d = &octets[debut];
    for (size_t i = 0; i < valeur.size(); ++i) {
        if (!Ordinaire(valeur, i, cible)) {
            octets.resize(debut);
            return false;
        }
        *d++ = char(valeur[i]);
    }
    return true;
}

bool Simple(std::string_view valeur, bool cible, std::string& octets)
{
    const auto ordinaires = [&](size_t debut, size_t fin) {
        for (size_t k = debut; k < fin; ++k)
            if (!Ordinaire(valeur, k, cible))
                return false;
        return true;
    };
    // Eight bytes at a time, the last eight overlapping those before; one
    // at a time in eight that hold a special one, and in a shorter value.
    const size_t n = valeur.size();
    if (n < 8 && !ordinaires(0, n))
        return false;
    for (size_t i = 0; i + 8 <= n;) {
        if (!HuitOrdinaires(Huit::Lire(valeur.data() + i)) && !ordinaires(i, i + 8))
            return false;
        i += 8;
        if (i < n && i + 8 > n)
            i = n - 8;
    }
    octets += valeur;
    return true;
}

void References(std::u16string_view valeur, std::string& octets)
{
    for (size_t k = 0; k < valeur.size(); ++k) {
        // A run of ASCII in one step.
        size_t fin = k;
        while (fin < valeur.size() && valeur[fin] < 0x80)
            ++fin;
        if (fin > k) {
            const size_t debut = octets.size();
            octets.resize(debut + fin - k);
            char* d = &octets[debut];
            for (; k < fin; ++k)
                *d++ = char(valeur[k]);
            if (k == valeur.size())
                break;
        }
        char32_t c = LireCaractere(valeur, k);
        if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD; // a lone surrogate names no character
        octets += "&#" + std::to_string(unsigned(c)) + ';';
    }
}

// A value in a file declared UTF-8: ASCII as it stands, each character past
// it as a character reference, so that the line reader and an XML parser
// read the same text back.
bool Valeur(std::u16string_view valeur, std::string& octets, char16_t& manquant)
{
    if (!SansControle(valeur, manquant))
        return false;
    References(valeur, octets);
    return true;
}

bool ValeurUtf8(std::u16string_view valeur, std::string& octets, char16_t& manquant)
{
    if (!SansControle(valeur, manquant))
        return false;
    AjouterUtf8(valeur, octets);
    return true;
}

} // namespace Ecriture

namespace {

// The line with its local link pointed into the folder; false when the
// line is not a link line to rewrite.
bool RelocaliserLigne(std::string_view ligne, std::string_view dossier, std::string& resultat)
{
    static const std::string_view marque("file://");
    const size_t f = ligne.find(marque);
    if (f == std::string_view::npos)
        return false;
    // Only a link line, whose target runs to the end of the line, is
    // rewritten: other lines holding "file://" keep their closing tags.
    const std::string_view cible = ligne.substr(f);
    std::string_view fin = cible;
    while (!fin.empty() && (fin.back() == ' ' || fin.back() == '\t'))
        fin.remove_suffix(1);
    if (fin.size() < 2 || fin.substr(fin.size() - 2) != "\">")
        return false;
    const std::string_view valeur = fin.substr(0, fin.size() - 2);
    if (valeur.find_first_of("\"<>") != std::string_view::npos)
        return false;
    const size_t separateur = cible.find_last_of("\\/");
    resultat.assign(ligne.substr(0, f + marque.size()));
    resultat += dossier;
    // A bare "&" of an older file is escaped on the way: the line is
    // rewritten anyway, and must be well-formed.
    const std::string_view nom =
        cible.substr(separateur == std::string_view::npos ? 0 : separateur + 1);
    for (size_t i = 0; i < nom.size(); ++i) {
        if (nom[i] == '&' && !EntiteEn(nom, i))
            resultat += "&amp;";
        else
            resultat += nom[i];
    }
    return true;
}

} // namespace

Lignes RelocaliserLignes(const Lignes& lignes, std::string_view dossier, bool& change)
{
    std::string texte;
    std::string changee;
    change = false;
    for (std::string_view ligne : lignes) {
        if (RelocaliserLigne(ligne, dossier, changee)) {
            texte += changee;
            change = true;
        } else {
            texte += ligne;
        }
        texte += '\n';
    }
    return change ? Lignes(std::move(texte)) : lignes;
}

} // namespace Gpx
