// SPDX-License-Identifier: GPL-3.0-or-later
#include "gpx/LecteurXml.h"

#include "gpx/Codecs.h"
#include "gpx/Gpx.h"

#include <algorithm>
#include <cstring>
#include <expat.h>
#include <iconv.h>
#include <map>
#include <vector>

namespace Gpx {

void EchapperXml(std::string_view s, bool attribut, std::string& sortie)
{
    // Runs without a character to escape go in one step.
    const char* const speciaux = attribut ? "&<>\"\r\n\t" : "&<>\r";
    for (size_t i = 0; i < s.size(); ++i) {
        const size_t j = std::min(s.find_first_of(speciaux, i), s.size());
        sortie.append(s.data() + i, j - i);
        if (j == s.size())
            break;
        i = j;
        const char c = s[i];
        switch (c) {
        case '&':
            sortie += "&amp;";
            break;
        case '<':
            sortie += "&lt;";
            break;
        case '>':
            sortie += "&gt;";
            break;
        case '"':
            sortie += attribut ? "&quot;" : "\"";
            break;
        case '\r':
            sortie += "&#13;";
            break;
        case '\n':
            sortie += attribut ? "&#10;" : "\n";
            break;
        case '\t':
            sortie += attribut ? "&#9;" : "\t";
            break;
        default:
            sortie += c;
        }
    }
}

void AttributXml(std::string_view nom, std::string_view valeur, std::string& sortie)
{
    sortie += ' ';
    sortie += nom;
    sortie += "=\"";
    EchapperXml(valeur, true, sortie);
    sortie += '"';
}

std::string_view NomLocal(std::string_view nom)
{
    const size_t deux = nom.find(':');
    return deux == std::string_view::npos ? nom : nom.substr(deux + 1);
}

namespace {

constexpr std::string_view Gpx11 = "http://www.topografix.com/GPX/1/1";
constexpr std::string_view Gpx10 = "http://www.topografix.com/GPX/1/0";

// The fields of a GPX 1.0 point that a 1.1 point has no place for.
bool SansPlace11(std::string_view local)
{
    return local == "course" || local == "speed";
}
constexpr std::string_view Xsi = "http://www.w3.org/2001/XMLSchema-instance";
constexpr std::string_view OpenCpn = "http://www.opencpn.org";

// The namespaces the writer declares on its root, by prefix.
const struct {
    std::string_view prefixe;
    std::string_view uri;
} Declares[] = {{"xsi", Xsi},
                {"gpxx", "http://www.garmin.com/xmlschemas/GpxExtensions/v3"},
                {"opencpn", OpenCpn}};

bool EspaceGpx(std::string_view uri)
{
    // Many programs write GPX without a namespace.
    return uri.empty() || uri == Gpx11 || uri == Gpx10;
}

// Every attribute of a tag, each " name=\"value\"".
void Attributs(const char** atts, std::string& sortie)
{
    for (int a = 0; atts[a]; a += 2)
        AttributXml(atts[a], atts[a + 1], sortie);
}

std::string_view SansBlancs(std::string_view s)
{
    const size_t debut = s.find_first_not_of(" \t\r\n");
    if (debut == std::string_view::npos)
        return {};
    return s.substr(debut, s.find_last_not_of(" \t\r\n") + 1 - debut);
}

// Where a kept child of a waypoint goes among the edited ones.
std::string GardePOI::*Place(std::string_view local)
{
    static const struct {
        const char* nom;
        std::string GardePOI::*place;
    } Places[] = {{"ele", &GardePOI::avantTemps},
                  {"magvar", &GardePOI::avantNom},
                  {"geoidheight", &GardePOI::avantNom},
                  {"cmt", &GardePOI::avantLiens},
                  {"desc", &GardePOI::avantLiens},
                  {"src", &GardePOI::avantLiens},
                  {"type", &GardePOI::type}};
    for (const auto& p : Places)
        if (local == p.nom)
            return p.place;
    return &GardePOI::apresType;
}

// A single-byte encoding the parser does not know, through iconv: each
// byte's character, or -1 for a byte that does not stand alone.
int EncodageInconnu(void*, const XML_Char* nom, XML_Encoding* info)
{
    iconv_t cd = iconv_open("UTF-32LE", nom);
    if (cd == iconv_t(-1))
        return XML_STATUS_ERROR;
    for (int b = 0; b < 256; ++b) {
        char octet = char(b);
        unsigned char code[8];
        char* entree = &octet;
        size_t reste = 1;
        char* sortie = reinterpret_cast<char*>(code);
        size_t place = sizeof code;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        // Some converters (Vietnamese CP1258, TCVN) hold a letter back in
        // case a combining mark follows it: flushed, it comes out.
        const bool ok = iconv(cd, &entree, &reste, &sortie, &place) != size_t(-1) &&
                        iconv(cd, nullptr, nullptr, &sortie, &place) != size_t(-1) &&
                        sizeof code - place == 4;
        info->map[b] =
            ok ? int(code[0] | code[1] << 8 | code[2] << 16 | uint32_t(code[3]) << 24) : -1;
    }
    iconv_close(cd);
    info->data = nullptr;
    info->convert = nullptr;
    info->release = nullptr;
    return XML_STATUS_OK;
}

// Writes a subtree back as XML from the parser's events: names and
// prefixes as the file wrote them, texts escaped, CDATA sections, comments
// and empty elements kept. In a GPX 1.0 file it also makes the subtree GPX
// 1.1: url and urlname become a link, and what a 1.1 point has no place
// for (course, speed, foreign elements) goes into its extensions.
class Copie {
public:
    bool Active() const { return sortie != nullptr; }

    // With enGpx10, the element copied is a 1.0 point's course or speed,
    // kept among the point's extensions in the 1.0 namespace.
    void Commencer(std::string* s, const char* retrait, bool gpx10, bool enGpx10)
    {
        sortie = s;
        *sortie += retrait;
        v10 = gpx10;
        renomme = enGpx10;
        cadres.clear();
    }

    void Debut(const char* nom, const char** atts, bool gpx, std::string_view local)
    {
        Contenu();
        const bool point = !cadres.empty() && cadres.back().point;
        if (v10 && !cadres.empty() && (point || cadres.back().conteneur) &&
            (!gpx || (point && SansPlace11(local)))) {
            // Into the extensions: a point's at its end, a route's or a
            // track's before its points.
            cadres.back().renvoyes.emplace_back();
            autreSortie.push_back(sortie);
            sortie = &cadres.back().renvoyes.back();
            cadres.push_back({});
            cadres.back().renvoi = true;
            Ouvrir(nom, atts, gpx, local);
            return;
        }
        if (v10 && gpx && (local == "url" || local == "urlname")) {
            cadres.push_back({});
            cadres.back().capture = local == "url" ? 1 : 2;
            capture.clear();
            return;
        }
        LienEnAttente();
        if (v10 && gpx && !cadres.empty() && cadres.back().conteneur &&
            (local == "rtept" || local == "trkseg"))
            Extensions(cadres.back());
        const bool racine = cadres.empty();
        cadres.push_back({});
        // 1.1 allows a track segment nothing but its points and extensions.
        cadres.back().point =
            v10 && gpx &&
            (local == "wpt" || local == "rtept" || local == "trkpt" || local == "trkseg");
        cadres.back().conteneur = v10 && gpx && racine && (local == "rte" || local == "trk");
        Ouvrir(nom, atts, gpx, local);
    }

    void Texte(std::string_view s)
    {
        if (!cadres.empty() && cadres.back().capture) {
            capture += s;
            return;
        }
        Contenu();
        if (cdata)
            *sortie += s;
        else
            EchapperXml(s, false, *sortie);
    }

    void Cdata(bool debut)
    {
        if (!cadres.empty() && cadres.back().capture)
            return;
        Contenu();
        cdata = debut;
        *sortie += debut ? "<![CDATA[" : "]]>";
    }

    void Commentaire(std::string_view s)
    {
        Contenu();
        *sortie += "<!--";
        *sortie += s;
        *sortie += "-->";
    }

    void Fin()
    {
        Cadre cadre = std::move(cadres.back());
        cadres.pop_back();
        if (cadre.capture == 1) {
            lienHref = capture;
            lienEnAttente = true;
            return;
        }
        if (cadre.capture == 2) {
            lienTexte = capture;
            lienEnAttente = true;
            LienEnAttente();
            return;
        }
        LienEnAttente();
        Extensions(cadre);
        if (ouvert) {
            *sortie += "/>";
            ouvert = false;
        } else {
            *sortie += "</";
            *sortie += cadre.nom;
            *sortie += '>';
        }
        if (cadre.renvoi) {
            sortie = autreSortie.back();
            autreSortie.pop_back();
        }
        if (!cadres.empty())
            return;
        *sortie += "\r\n";
        // Thousands of kept elements would otherwise each hold the room
        // their growth left.
        sortie->shrink_to_fit();
        sortie = nullptr;
    }

private:
    struct Cadre {
        std::string nom;
        // A 1.0 point or track segment, whose foreign elements go into its
        // extensions at its end.
        bool point = false;
        // A 1.0 route or track, whose foreign elements go before its points.
        bool conteneur = false;
        bool renvoi = false;
        int capture = 0;
        std::vector<std::string> renvoyes;
    };

    // The element's start tag; a 1.0 course or speed in the 1.0 namespace.
    void Ouvrir(const char* nom, const char** atts, bool gpx, std::string_view local)
    {
        if (v10 && gpx && (cadres.back().renvoi || renomme) && SansPlace11(local)) {
            *sortie += "<gpx10:";
            *sortie += local;
            AttributXml("xmlns:gpx10", Gpx10, *sortie);
            cadres.back().nom = "gpx10:" + std::string(local);
        } else {
            *sortie += '<';
            *sortie += nom;
            cadres.back().nom = nom;
        }
        Attributs(atts, *sortie);
        ouvert = true;
    }

    // The foreign elements set aside for the frame, once.
    void Extensions(Cadre& cadre)
    {
        if (cadre.renvoyes.empty())
            return;
        Contenu();
        *sortie += "<extensions>";
        for (const std::string& r : cadre.renvoyes)
            *sortie += r;
        *sortie += "</extensions>";
        cadre.renvoyes.clear();
    }

    void Contenu()
    {
        if (ouvert) {
            *sortie += '>';
            ouvert = false;
        }
    }

    // A 1.0 url (and its urlname) as a 1.1 link, once both are known.
    void LienEnAttente()
    {
        if (!lienEnAttente)
            return;
        lienEnAttente = false;
        Contenu();
        *sortie += "<link";
        AttributXml("href", lienHref, *sortie);
        // Without a text, empty as the copy of a 1.1 file writes it.
        if (lienTexte.empty()) {
            *sortie += "/>";
        } else {
            *sortie += "><text>";
            EchapperXml(lienTexte, false, *sortie);
            *sortie += "</text></link>";
        }
        lienHref.clear();
        lienTexte.clear();
    }

    std::string* sortie = nullptr;
    std::vector<std::string*> autreSortie;
    std::vector<Cadre> cadres;
    bool v10 = false;
    bool renomme = false;
    bool ouvert = false;
    bool cdata = false;
    std::string capture;
    bool lienEnAttente = false;
    std::string lienHref;
    std::string lienTexte;
};

class Lecteur {
public:
    Lecteur(Receveur& r, Lecture& l) : receveur(r), lecture(l) {}

    bool Lire(std::string_view octets)
    {
        // Freed however the reading ends.
        const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> possede(
            XML_ParserCreate(nullptr), XML_ParserFree);
        XML_Parser p = possede.get();
        parseur = p;
        XML_SetUserData(p, this);
        XML_SetElementHandler(
            p,
            [](void* d, const XML_Char* nom, const XML_Char** atts) {
                static_cast<Lecteur*>(d)->Debut(nom, atts);
            },
            [](void* d, const XML_Char*) { static_cast<Lecteur*>(d)->Fin(); });
        XML_SetCharacterDataHandler(p, [](void* d, const XML_Char* s, int n) {
            static_cast<Lecteur*>(d)->Texte(std::string_view(s, size_t(n)));
        });
        XML_SetCdataSectionHandler(
            p, [](void* d) { static_cast<Lecteur*>(d)->Cdata(true); },
            [](void* d) { static_cast<Lecteur*>(d)->Cdata(false); });
        XML_SetCommentHandler(p, [](void* d, const XML_Char* s) {
            auto* l = static_cast<Lecteur*>(d);
            if (l->copie.Active())
                l->copie.Commentaire(s);
        });
        XML_SetUnknownEncodingHandler(p, EncodageInconnu, nullptr);

        bool ok = true;
        // The parser copies what it is given into its buffer. A file of a
        // few megabytes goes in one piece, which the parser reads a tenth
        // faster; a larger one in small pieces, which keep that buffer
        // small and its pages reused.
        constexpr size_t Entier = size_t(4) << 20;
        const size_t Tranche = octets.size() <= Entier ? octets.size() : size_t(64) << 10;
        do {
            const size_t n = std::min(Tranche, octets.size());
            const bool dernier = n == octets.size();
            if (XML_Parse(p, octets.data(), int(n), dernier) != XML_STATUS_OK) {
                ok = false;
                break;
            }
            octets.remove_prefix(n);
        } while (!octets.empty());
        if (!ok) {
            lecture.xml = false;
            if (lecture.raison.empty())
                lecture.raison = XML_ErrorString(XML_GetErrorCode(p));
            lecture.ligne = long(XML_GetCurrentLineNumber(p));
            lecture.colonne = long(XML_GetCurrentColumnNumber(p)) + 1;
        }
        if (!ok)
            return false;
        Metadata10();
        receveur.Compter(int16_t(nbPOI));
        receveur.GarderFichier(std::make_shared<const GardeFichier>(std::move(fichier)));
        return true;
    }

private:
    enum class Capture { Rien, Temps, Nom, Sym, Href, TexteLien, TypeLien, Entete };

    std::string_view Uri(std::string_view nom) const
    {
        const size_t deux = nom.find(':');
        const std::string_view prefixe =
            deux == std::string_view::npos ? std::string_view() : nom.substr(0, deux);
        for (auto l = liaisons.rbegin(); l != liaisons.rend(); ++l)
            if (l->first == prefixe)
                return l->second;
        return {};
    }

    void Lier(const XML_Char** atts)
    {
        int n = 0;
        for (int a = 0; atts[a]; a += 2) {
            if (atts[a][0] != 'x')
                continue; // most attributes, at no cost
            const std::string_view nom = atts[a];
            if (nom == "xmlns" || nom.substr(0, 6) == "xmlns:") {
                liaisons.emplace_back(nom.size() > 5 ? nom.substr(6) : std::string_view(),
                                      atts[a + 1]);
                ++n;
            }
        }
        nbLiaisons.push_back(n);
    }

    void Debut(const XML_Char* nom, const XML_Char** atts)
    {
        Lier(atts);
        ++profondeur;
        const std::string_view local = NomLocal(nom);
        const bool gpx = EspaceGpx(Uri(nom));
        if (copie.Active()) {
            copie.Debut(nom, atts, gpx, local);
            return;
        }
        if (profondeur == 1) {
            Racine(nom, atts, gpx, local);
            return;
        }
        if (poi > 0) {
            EnfantPOI(nom, atts, gpx, local);
            return;
        }
        if (profondeur == 3 && dansExtensions) {
            Garder(&fichier.extensions, "\t\t", nom, atts, gpx, local);
            return;
        }
        if (profondeur == 3 && capture == Capture::Entete) {
            // An element inside a GPX 1.0 header field, which holds text
            // only: the field is not taken.
            capture = Capture::Rien;
        }
        if (profondeur != 2)
            return;
        if (gpx && local == "wpt") {
            if (nbPOI < MaxPOI) {
                DebutPOI(atts);
                return;
            }
            ++lecture.horsCapacite;
            Garder(&fichier.surplus, nom, atts, gpx, local);
            return;
        }
        if (gpx && (local == "rte" || local == "trk")) {
            lecture.routesTraces = true;
            Garder(local == "rte" ? &fichier.routes : &fichier.traces, nom, atts, gpx, local);
            return;
        }
        if (gpx && local == "metadata") {
            Garder(&fichier.metadata, "\t", nom, atts, gpx, local);
            return;
        }
        if (gpx && local == "extensions") {
            dansExtensions = true;
            fichier.aExtensions = true;
            Attributs(atts, fichier.attributsExtensions);
            return;
        }
        if (v10 && gpx && EnteteConnue(local)) {
            capture = Capture::Entete;
            champEntete = std::string(local);
            texte.clear();
            if (local == "bounds")
                Attributs(atts, entete10["bounds"]);
            return;
        }
        if (!gpx) {
            Garder(&fichier.extensions, "\t\t", nom, atts, gpx, local);
            return;
        }
        Garder(&fichier.autres, nom, atts, gpx, local);
    }

    // Keeps the element that starts, with all it holds, in sortie, on a line
    // of its own after retrait.
    void Garder(std::string* sortie, const char* retrait, const XML_Char* nom,
                const XML_Char** atts, bool gpx, std::string_view local, bool enGpx10 = false)
    {
        copie.Commencer(sortie, retrait, v10, enGpx10);
        copie.Debut(nom, atts, gpx, local);
    }

    // An element of the root kept apart from the others of its kind; the
    // copy ends before the next one starts, so the string stays where it is.
    void Garder(std::vector<std::string>* pieces, const XML_Char* nom, const XML_Char** atts,
                bool gpx, std::string_view local)
    {
        pieces->emplace_back();
        Garder(&pieces->back(), "\t", nom, atts, gpx, local);
    }

    static bool EnteteConnue(std::string_view local)
    {
        for (const char* n :
             {"name", "desc", "author", "email", "url", "urlname", "time", "keywords", "bounds"})
            if (local == n)
                return true;
        return false;
    }

    void Racine(const XML_Char* nom, const XML_Char** atts, bool gpx, std::string_view local)
    {
        if (!gpx || local != "gpx") {
            lecture.raison = "the root element is " + std::string(nom) + ", not gpx";
            XML_StopParser(parseur, XML_FALSE);
            return;
        }
        const std::string_view uri = Uri(nom);
        v10 = uri == Gpx10;
        for (int a = 0; atts[a]; a += 2) {
            const std::string_view n = atts[a];
            const std::string_view v = atts[a + 1];
            // Without a namespace, the version attribute tells.
            if (n == "version" && uri.empty())
                v10 = v == "1.0";
            if (n == "version" || n == "creator" || n == "xmlns")
                continue;
            if (n.substr(0, 6) == "xmlns:") {
                DeclarationRacine(n.substr(6), v == Gpx10 ? std::string_view(Gpx11) : v);
                continue;
            }
            if (Uri(n) == Xsi && NomLocal(n) == "schemaLocation" && n.find(':') != n.npos) {
                Schemas(v);
                continue;
            }
            AttributXml(n, v, fichier.attributs);
        }
    }

    void DeclarationRacine(std::string_view prefixe, std::string_view uri)
    {
        for (const auto& d : Declares)
            if (prefixe == d.prefixe && (uri == d.uri || prefixe == "xsi"))
                return;
        AttributXml("xmlns:" + std::string(prefixe), uri, fichier.attributs);
    }

    // Schema locations of other namespaces than GPX's, kept.
    void Schemas(std::string_view v)
    {
        std::vector<std::string_view> mots;
        for (size_t i = 0; i < v.size();) {
            const size_t debut = v.find_first_not_of(" \t\r\n", i);
            if (debut == v.npos)
                break;
            const size_t fin = std::min(v.find_first_of(" \t\r\n", debut), v.size());
            mots.push_back(v.substr(debut, fin - debut));
            i = fin;
        }
        for (size_t m = 0; m + 1 < mots.size(); m += 2)
            if (!EspaceGpx(mots[m]) || mots[m].empty()) {
                fichier.schemas += ' ';
                fichier.schemas += mots[m];
                fichier.schemas += ' ';
                fichier.schemas += mots[m + 1];
            }
    }

    void DebutPOI(const XML_Char** atts)
    {
        poi = ++nbPOI;
        garde = GardePOI();
        nbLiens = 0;
        avecTemps = false;
        nomBrut.clear();
        for (int a = 0; atts[a]; a += 2) {
            const std::string_view n = atts[a];
            if (n == "lat" || n == "lon")
                Poser(n == "lat" ? Champ::Lat : Champ::Lon, 0, atts[a + 1]);
            else
                AttributXml(n, atts[a + 1], garde.attributs);
        }
    }

    void EnfantPOI(const XML_Char* nom, const XML_Char** atts, bool gpx, std::string_view local)
    {
        const int niveau = profondeur - ProfondeurPOI;
        if (niveau == 1) {
            capture = Capture::Rien;
            texte.clear();
            if (gpx && (local == "time" || local == "name" || local == "sym")) {
                capture = local == "time"   ? Capture::Temps
                          : local == "name" ? Capture::Nom
                                            : Capture::Sym;
                return;
            }
            if (gpx && (local == "link" || local == "url")) {
                ++nbLiens;
                std::string_view href;
                for (int a = 0; atts[a]; a += 2)
                    if (std::string_view(atts[a]) == "href")
                        href = atts[a + 1];
                Poser(Champ::Href, nbLiens, href);
                Poser(Champ::TexteLien, nbLiens, {});
                typeLien.clear();
                if (local == "url")
                    capture = Capture::Href;
                else
                    dansLien = true;
                return;
            }
            if (gpx && local == "urlname") {
                if (nbLiens == 0) {
                    ++nbLiens;
                    Poser(Champ::Href, nbLiens, {});
                }
                capture = Capture::TexteLien;
                return;
            }
            if (gpx && local == "extensions") {
                extensionsPOI = true;
                Attributs(atts, garde.attributsExtensions);
                return;
            }
            // A foreign element has its place among the extensions, and so
            // has a 1.0 course or speed, which a 1.1 waypoint has not.
            const bool gpx10 = v10 && gpx && SansPlace11(local);
            if (!gpx || gpx10)
                Garder(&garde.extensions, "\t\t\t", nom, atts, gpx, local, gpx10);
            else
                Garder(&(garde.*Place(local)), "\t\t", nom, atts, gpx, local);
            return;
        }
        if (niveau == 2 && extensionsPOI) {
            if (Uri(nom) == OpenCpn) {
                garde.viz = garde.viz || local == "viz";
                garde.vizNom = garde.vizNom || local == "viz_name";
                const std::string_view prefixe(nom, std::strlen(nom) - local.size());
                if (prefixe != "opencpn:")
                    garde.prefixeOpenCpn = prefixe;
            }
            Garder(&garde.extensions, "\t\t\t", nom, atts, gpx, local);
            return;
        }
        // The text and type of a link.
        if (niveau == 2 && dansLien && gpx && (local == "text" || local == "type")) {
            capture = local == "text" ? Capture::TexteLien : Capture::TypeLien;
            texte.clear();
        }
    }

    // A waypoint's element is a child of the root: depth 2.
    static constexpr int ProfondeurPOI = 2;

    void Texte(std::string_view s)
    {
        if (copie.Active())
            copie.Texte(s);
        else if (capture != Capture::Rien)
            texte += s;
    }

    void Cdata(bool debut)
    {
        if (copie.Active())
            copie.Cdata(debut);
    }

    void Fin()
    {
        if (copie.Active()) {
            copie.Fin();
        } else if (poi > 0) {
            FinPOI();
        } else if (profondeur == 2 && capture == Capture::Entete) {
            if (champEntete != "bounds")
                entete10[champEntete] = texte;
            capture = Capture::Rien;
        } else if (profondeur == 2) {
            dansExtensions = false;
        }
        liaisons.resize(liaisons.size() - size_t(nbLiaisons.back()));
        nbLiaisons.pop_back();
        --profondeur;
    }

    void FinPOI()
    {
        const int niveau = profondeur - ProfondeurPOI;
        if (niveau == 0) {
            TerminerPOI();
            return;
        }
        if (niveau == 1 && (extensionsPOI || dansLien)) {
            if (dansLien && !typeLien.empty()) {
                std::string type;
                EchapperXml(typeLien, false, type);
                garde.typesLiens.emplace_back(lienHref + '\n' + lienTexte, type);
            }
            extensionsPOI = false;
            dansLien = false;
            return;
        }
        switch (capture) {
        case Capture::Temps: {
            const std::string_view t = SansBlancs(texte);
            avecTemps = !t.empty();
            Poser(Champ::Temps, 0, t);
            break;
        }
        case Capture::Nom:
            nomBrut = texte;
            break;
        case Capture::Sym:
            Poser(Champ::Sym, 0, texte);
            break;
        case Capture::Href:
            Poser(Champ::Href, nbLiens, SansBlancs(texte));
            break;
        case Capture::TexteLien:
            Poser(Champ::TexteLien, nbLiens, texte);
            break;
        case Capture::TypeLien:
            typeLien = texte;
            break;
        case Capture::Rien:
        case Capture::Entete:
            break;
        }
        capture = Capture::Rien;
        texte.clear();
    }

    void TerminerPOI()
    {
        // A name with a time reads as the chart plotter's files need it.
        const std::string nom = avecTemps ? NomAvecTemps(nomBrut) : nomBrut;
        Poser(Champ::Nom, 0, nom);
        const bool vide = garde.attributs.empty() && garde.avantTemps.empty() &&
                          garde.avantNom.empty() && garde.avantLiens.empty() &&
                          garde.type.empty() && garde.apresType.empty() &&
                          garde.attributsExtensions.empty() && garde.extensions.empty() &&
                          garde.typesLiens.empty();
        if (!vide)
            receveur.Garder(poi, std::make_shared<const GardePOI>(std::move(garde)));
        poi = 0;
    }

    void Poser(Champ champ, int k, std::string_view valeur)
    {
        if (champ == Champ::TexteLien)
            lienTexte = valeur;
        if (champ != Champ::Href) {
            PoserTexte(champ, k, valeur);
            return;
        }
        // A link target keeps its ampersands escaped, as the link rules
        // and the line reader hold it.
        lienHref.clear();
        for (size_t et; (et = valeur.find('&')) != std::string_view::npos;) {
            lienHref.append(valeur.substr(0, et)).append("&amp;");
            valeur.remove_prefix(et + 1);
        }
        lienHref += valeur;
        PoserTexte(champ, k, lienHref);
    }

    void PoserTexte(Champ champ, int k, std::string_view utf8)
    {
        if (utf8.substr(0, 3) == "\xEF\xBB\xBF")
            receveur.Poser(champ, poi, k, Texte16(utf8));
        else
            receveur.PoserUtf8(champ, poi, k, utf8);
    }

    // The parser's UTF-8 as text, a leading U+FEFF kept as a character.
    static std::u16string Texte16(std::string_view utf8)
    {
        if (utf8.substr(0, 3) != "\xEF\xBB\xBF")
            return Utf8VersTexte(utf8);
        return u'\xFEFF' + Utf8VersTexte(utf8.substr(3));
    }

    // A GPX 1.0 header as GPX 1.1 metadata, on one line as kept elements are.
    void Metadata10()
    {
        if (entete10.empty())
            return;
        std::string m = "\t<metadata>";
        auto element = [&](const char* nom, const std::string& attributs,
                           const std::string* texte) {
            m += std::string("<") + nom + attributs;
            if (!texte) {
                m += "/>";
                return;
            }
            m += '>';
            EchapperXml(*texte, false, m);
            m += std::string("</") + nom + '>';
        };
        auto champ = [&](const char* nom) {
            const auto e = entete10.find(nom);
            return e == entete10.end() ? nullptr : &e->second;
        };
        for (const char* nom : {"name", "desc"})
            if (const std::string* t = champ(nom))
                element(nom, {}, t);
        const std::string* auteur = champ("author");
        const std::string* courriel = champ("email");
        if (auteur || courriel) {
            m += "<author>";
            if (auteur)
                element("name", {}, auteur);
            if (courriel) {
                const size_t a = courriel->find('@');
                std::string attributs;
                AttributXml("id", courriel->substr(0, a), attributs);
                AttributXml("domain",
                            a == std::string::npos ? std::string() : courriel->substr(a + 1),
                            attributs);
                element("email", attributs, nullptr);
            }
            m += "</author>";
        }
        const std::string* url = champ("url");
        const std::string* urlname = champ("urlname");
        if (url || urlname) {
            // Without a name, an empty element, as kept content is written
            // back: a second save gives the same bytes.
            std::string attributs;
            AttributXml("href", url ? *url : std::string(), attributs);
            if (!urlname) {
                element("link", attributs, nullptr);
            } else {
                m += "<link" + attributs + '>';
                element("text", {}, urlname);
                m += "</link>";
            }
        }
        for (const char* nom : {"time", "keywords"})
            if (const std::string* t = champ(nom))
                element(nom, {}, t);
        const auto bornes = entete10.find("bounds");
        if (bornes != entete10.end())
            element("bounds", bornes->second, nullptr);
        fichier.metadata = m + "</metadata>\r\n" + fichier.metadata;
    }

    Receveur& receveur;
    Lecture& lecture;
    XML_Parser parseur = nullptr;
    std::vector<std::pair<std::string, std::string>> liaisons;
    std::vector<int> nbLiaisons;
    int profondeur = 0;
    bool v10 = false;
    bool dansExtensions = false;
    Copie copie;
    GardeFichier fichier;
    std::map<std::string, std::string> entete10;
    std::string champEntete;

    int nbPOI = 0;
    int poi = 0;
    GardePOI garde;
    int nbLiens = 0;
    bool dansLien = false;
    std::string lienHref;
    std::string lienTexte;
    std::string typeLien;
    bool extensionsPOI = false;
    bool avecTemps = false;
    std::string nomBrut;
    Capture capture = Capture::Rien;
    std::string texte;
};

} // namespace

bool LireXml(std::string_view octets, Receveur& receveur, Lecture& lecture)
{
    Lecteur lecteur(receveur, lecture);
    return lecteur.Lire(octets);
}

} // namespace Gpx
