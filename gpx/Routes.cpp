// SPDX-License-Identifier: GPL-3.0-or-later
#include "gpx/Routes.h"

#include "gpx/LecteurXml.h"
#include "gpx/Proprietes.h"

#include <GeographicLib/Rhumb.hpp>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>
#include <expat.h>
#include <functional>
#include <mutex>
#include <random>

namespace Gpx {

namespace {

bool Parmi(std::string_view local, std::initializer_list<std::string_view> noms)
{
    for (std::string_view n : noms)
        if (local == n)
            return true;
    return false;
}

void Element(const char* retrait, const char* nom, std::string_view valeur, std::string& sortie)
{
    sortie += retrait;
    sortie += '<';
    sortie += nom;
    sortie += '>';
    EchapperXml(valeur, false, sortie);
    sortie += "</";
    sortie += nom;
    sortie += ">\r\n";
}

std::string Fixe(double valeur, int decimales)
{
    char tampon[64];
    const auto r =
        std::to_chars(tampon, tampon + sizeof tampon, valeur, std::chars_format::fixed, decimales);
    return std::string(tampon, r.ptr);
}

// Reads routes with expat, names as written (prefixes are the file's; only
// local names are compared): the text of one route (base 0), or a whole
// document whose routes are children of its root (base 1).
class LecteurRoute {
public:
    LecteurRoute(std::string_view t, int b, const std::function<void(Route&)>* c = nullptr)
        : texte(t), base(b), chaque(c)
    {
    }

    bool Lire(std::vector<Route>& r)
    {
        routes = &r;
        // The document says its encoding; a route's text is UTF-8.
        XML_Parser p = XML_ParserCreate(base == 0 ? "UTF-8" : nullptr);
        if (!p)
            return false;
        parseur = p;
        XML_SetUserData(p, this);
        XML_SetElementHandler(
            p,
            [](void* moi, const XML_Char* nom, const XML_Char** atts) {
                static_cast<LecteurRoute*>(moi)->Debut(nom, atts);
            },
            [](void* moi, const XML_Char*) { static_cast<LecteurRoute*>(moi)->Fin(); });
        XML_SetCharacterDataHandler(p, [](void* moi, const XML_Char* s, int n) {
            auto* l = static_cast<LecteurRoute*>(moi);
            if (l->capture)
                l->capture->append(s, size_t(n));
        });
        // In pieces: one call on tens of megabytes has expat copy them all.
        constexpr size_t Piece = 256 << 10;
        bool ok = true;
        for (size_t debut = 0; ok;) {
            const size_t n = std::min(Piece, texte.size() - debut);
            const bool dernier = debut + n == texte.size();
            ok = XML_Parse(p, texte.data() + debut, int(n), dernier) == XML_STATUS_OK;
            debut += n;
            if (dernier)
                break;
        }
        XML_ParserFree(p);
        return ok;
    }

private:
    void Debut(const XML_Char* nom, const XML_Char** atts)
    {
        ++profondeur;
        capture = nullptr;
        if (gardeDepuis >= 0)
            return;
        const std::string_view local = NomLocal(nom);
        if (profondeur - base == 1) {
            route = nullptr;
            if (local != "rte")
                return;
            route = &routes->emplace_back();
            point = nullptr;
            for (int a = 0; atts[a]; a += 2)
                AttributXml(atts[a], atts[a + 1], route->attributs);
            return;
        }
        if (!route)
            return;
        if (profondeur - base == 2) {
            if (local == "name") {
                capture = &route->nom;
            } else if (local == "extensions") {
                dansExtensions = true;
            } else if (local == "rtept") {
                route->points.emplace_back();
                point = &route->points.back();
                for (int a = 0; atts[a]; a += 2) {
                    const std::string_view n = atts[a];
                    if (n == "lat")
                        point->lat = atts[a + 1];
                    else if (n == "lon")
                        point->lon = atts[a + 1];
                    else
                        AttributXml(n, atts[a + 1], point->attributs);
                }
            } else {
                Garder(&route->avantExtensions, "\t\t");
            }
            return;
        }
        if (profondeur - base == 3 && dansExtensions) {
            if (Parmi(local, {"guid", "viz", "planned_speed", "planned_departure"})) {
                champ.clear();
                capture = &champ;
                champRoute = std::string(local);
            } else {
                Garder(&route->extensions, "\t\t\t");
            }
            return;
        }
        if (profondeur - base == 3 && point) {
            if (local == "name")
                capture = &point->nom;
            else if (local == "sym")
                capture = &point->sym;
            else if (local == "extensions")
                dansExtensionsPoint = true;
            else if (Parmi(local, {"ele", "time", "magvar", "geoidheight"}))
                Garder(&point->avantNom, "\t\t\t");
            else if (Parmi(local, {"cmt", "desc", "src", "link"}))
                Garder(&point->avantSym, "\t\t\t");
            else
                Garder(&point->apresSym, "\t\t\t");
            return;
        }
        if (profondeur - base == 4 && dansExtensionsPoint) {
            if (local == "guid")
                capture = &point->guid;
            else
                Garder(&point->extensions, "\t\t\t\t");
        }
    }

    void Fin()
    {
        capture = nullptr;
        if (gardeDepuis >= 0 && profondeur == gardeProfondeur) {
            // An empty element ends where its tag does.
            const long fin =
                XML_GetCurrentByteCount(parseur) > 0
                    ? long(XML_GetCurrentByteIndex(parseur)) + XML_GetCurrentByteCount(parseur)
                    : gardeFinDebut;
            *gardeVers += gardeRetrait;
            gardeVers->append(texte.substr(size_t(gardeDepuis), size_t(fin - gardeDepuis)));
            *gardeVers += "\r\n";
            gardeDepuis = -1;
        } else if (gardeDepuis < 0 && route) {
            const int d = profondeur - base;
            if (d == 1) {
                route = nullptr;
                // Handed on as soon as read: a large file's routes are never
                // all held at once.
                if (chaque) {
                    (*chaque)(routes->back());
                    routes->pop_back();
                }
            } else if (d == 2) {
                point = nullptr;
                dansExtensions = false;
            } else if (d == 3 && dansExtensions) {
                RouteChamp();
            } else if (d == 3 && point) {
                dansExtensionsPoint = false;
            }
        }
        --profondeur;
    }

    void RouteChamp()
    {
        if (champRoute == "guid") {
            route->guid = champ;
        } else if (champRoute == "viz") {
            route->viz = champ;
        } else if (champRoute == "planned_departure") {
            route->depart = champ;
        } else if (champRoute == "planned_speed") {
            double v = 0;
            const auto r = std::from_chars(champ.data(), champ.data() + champ.size(), v);
            if (r.ec == std::errc() && std::isfinite(v) && v > 0)
                route->vitesse = v;
        }
    }

    // Keeps the element that starts with all it holds, on a line of its own.
    void Garder(std::string* vers, const char* retrait)
    {
        gardeDepuis = long(XML_GetCurrentByteIndex(parseur));
        gardeFinDebut = gardeDepuis + XML_GetCurrentByteCount(parseur);
        gardeProfondeur = profondeur;
        gardeVers = vers;
        gardeRetrait = retrait;
    }

    std::string_view texte;
    int base = 0;
    const std::function<void(Route&)>* chaque = nullptr;
    XML_Parser parseur = nullptr;
    std::vector<Route>* routes = nullptr;
    Route* route = nullptr;
    PointRoute* point = nullptr;
    int profondeur = 0;
    bool dansExtensions = false;
    bool dansExtensionsPoint = false;
    std::string* capture = nullptr;
    std::string champ;
    std::string champRoute;
    long gardeDepuis = -1;
    long gardeFinDebut = 0;
    int gardeProfondeur = 0;
    std::string* gardeVers = nullptr;
    const char* gardeRetrait = "";
};

} // namespace

Route LireRoute(const std::string& texte)
{
    std::vector<Route> routes;
    Route route;
    if (LecteurRoute(texte, 0).Lire(routes) && routes.size() == 1)
        route = std::move(routes.front());
    route.lue = texte;
    return route;
}

bool LireRoutes(std::string_view document, const std::function<void(Route&)>& chaque)
{
    std::vector<Route> route;
    return LecteurRoute(document, 1, &chaque).Lire(route);
}

std::string TexteRoute(const Route& route)
{
    if (!route.lue.empty())
        return route.lue;
    std::string t = "\t<rte" + route.attributs + ">\r\n";
    if (!route.nom.empty())
        Element("\t\t", "name", route.nom, t);
    t += route.avantExtensions;
    t += "\t\t<extensions>\r\n";
    if (!route.guid.empty())
        Element("\t\t\t", "opencpn:guid", route.guid, t);
    Element("\t\t\t", "opencpn:viz", route.viz.empty() ? std::string("1") : route.viz, t);
    if (std::abs(route.vitesse - VitesseParDefaut) >= 0.005)
        Element("\t\t\t", "opencpn:planned_speed", Fixe(route.vitesse, 2), t);
    if (!route.depart.empty())
        Element("\t\t\t", "opencpn:planned_departure", route.depart, t);
    t += route.extensions;
    t += "\t\t</extensions>\r\n";
    for (const PointRoute& p : route.points) {
        t += "\t\t<rtept";
        AttributXml("lat", p.lat, t);
        AttributXml("lon", p.lon, t);
        t += p.attributs;
        t += ">\r\n";
        t += p.avantNom;
        if (!p.nom.empty())
            Element("\t\t\t", "name", p.nom, t);
        t += p.avantSym;
        if (!p.sym.empty())
            Element("\t\t\t", "sym", p.sym, t);
        t += p.apresSym;
        if (!p.guid.empty() || !p.extensions.empty()) {
            t += "\t\t\t<extensions>\r\n";
            if (!p.guid.empty())
                Element("\t\t\t\t", "opencpn:guid", p.guid, t);
            t += p.extensions;
            t += "\t\t\t</extensions>\r\n";
        }
        t += "\t\t</rtept>\r\n";
    }
    t += "\t</rte>\r\n";
    return t;
}

Position LirePosition(std::string_view lat, std::string_view lon)
{
    auto nombre = [](std::string_view s, double& v) {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
            s.remove_prefix(1);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
            s.remove_suffix(1);
        if (!s.empty() && s.front() == '+')
            s.remove_prefix(1);
        const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
        return !s.empty() && r.ec == std::errc() && r.ptr == s.data() + s.size() &&
               std::isfinite(v);
    };
    Position p;
    p.valide =
        nombre(lat, p.lat) && nombre(lon, p.lon) && std::abs(p.lat) <= 90 && std::abs(p.lon) <= 180;
    return p;
}

Troncon Rhumb(const Position& de, const Position& a)
{
    Troncon t;
    if (!de.valide || !a.valide)
        return t;
    double metres = 0;
    double azimut = 0;
    GeographicLib::Rhumb::WGS84().Inverse(de.lat, de.lon, a.lat, a.lon, metres, azimut);
    t.valide = std::isfinite(metres) && std::isfinite(azimut);
    t.distance = metres / 1852.0;
    t.cap = azimut < 0 ? azimut + 360 : azimut;
    if (t.cap >= 360)
        t.cap -= 360;
    return t;
}

std::vector<std::vector<Position>> LireTrace(const std::string& texte)
{
    std::vector<std::vector<Position>> segments;
    XML_Parser p = XML_ParserCreate("UTF-8");
    if (!p)
        return segments;
    XML_SetUserData(p, &segments);
    XML_SetStartElementHandler(p, [](void* s, const XML_Char* nom, const XML_Char** atts) {
        auto& segments = *static_cast<std::vector<std::vector<Position>>*>(s);
        const std::string_view local = NomLocal(nom);
        if (local == "trkseg") {
            segments.emplace_back();
        } else if (local == "trkpt" && !segments.empty()) {
            std::string_view lat, lon;
            for (int a = 0; atts[a]; a += 2) {
                if (std::string_view(atts[a]) == "lat")
                    lat = atts[a + 1];
                else if (std::string_view(atts[a]) == "lon")
                    lon = atts[a + 1];
            }
            const Position position = LirePosition(lat, lon);
            if (position.valide)
                segments.back().push_back(position);
        }
    });
    XML_Parse(p, texte.data(), int(texte.size()), XML_TRUE);
    XML_ParserFree(p);
    return segments;
}

std::string NouveauGuid()
{
    static std::mutex verrou;
    static std::mt19937_64 alea{std::random_device{}()};
    uint64_t haut = 0;
    uint64_t bas = 0;
    {
        const std::lock_guard<std::mutex> garde(verrou);
        haut = alea();
        bas = alea();
    }
    // Version 4, variant 10xx.
    haut = (haut & ~0xF000ull) | 0x4000ull;
    bas = (bas & ~(0xC000ull << 48)) | (0x8000ull << 48);
    char t[37];
    std::snprintf(t, sizeof t, "%08x-%04x-%04x-%04x-%012llx", unsigned(haut >> 32),
                  unsigned((haut >> 16) & 0xFFFF), unsigned(haut & 0xFFFF), unsigned(bas >> 48),
                  static_cast<unsigned long long>(bas & 0xFFFFFFFFFFFFull));
    return t;
}

std::string GuidDeGarde(const GardePOI* garde)
{
    return LirePropriete(garde, Propriete::Guid).value_or(std::string());
}

GardePOI AvecGuid(const GardePOI* garde, const std::string& guid)
{
    return AvecProprietes(garde, {{Propriete::Guid, guid}});
}

std::string TexteMilles(double milles)
{
    return Fixe(milles, 3);
}

std::string TexteCap(double cap)
{
    const double arrondi = std::round(cap * 10) / 10;
    return Fixe(arrondi >= 360 ? arrondi - 360 : arrondi, 1);
}

namespace {

// Whether texte is laid out as forme: a digit where forme has a 0, the same
// character elsewhere.
bool SelonForme(std::string_view texte, std::string_view forme)
{
    if (texte.size() != forme.size())
        return false;
    for (size_t i = 0; i < forme.size(); ++i)
        if (forme[i] == '0' ? texte[i] < '0' || texte[i] > '9' : texte[i] != forme[i])
            return false;
    return true;
}

// The number the n digits from debut write.
int Chiffres(std::string_view texte, size_t debut, size_t n)
{
    int v = 0;
    for (size_t i = debut; i < debut + n; ++i)
        v = v * 10 + (texte[i] - '0');
    return v;
}

} // namespace

std::optional<long long> LireDepart(std::string_view iso)
{
    // Digits where the form has them: a sign or a letter is no digit.
    constexpr std::string_view Forme = "0000-00-00T00:00:00";
    if (!SelonForme(iso.substr(0, Forme.size()), Forme))
        return std::nullopt;
    const int an = Chiffres(iso, 0, 4), mois = Chiffres(iso, 5, 2), jour = Chiffres(iso, 8, 2),
              heure = Chiffres(iso, 11, 2), minute = Chiffres(iso, 14, 2),
              seconde = Chiffres(iso, 17, 2);
    std::string_view reste = iso.substr(Forme.size());
    if (!reste.empty() && reste.front() == '.') {
        reste.remove_prefix(1);
        while (!reste.empty() && reste.front() >= '0' && reste.front() <= '9')
            reste.remove_prefix(1);
    }
    long decalage = 0;
    if (reste == "Z" || reste.empty()) {
    } else if ((reste[0] == '+' || reste[0] == '-') && SelonForme(reste.substr(1), "00:00")) {
        decalage = (reste[0] == '-' ? -1 : 1) *
                   (Chiffres(reste, 1, 2) * 3600L + Chiffres(reste, 4, 2) * 60L);
    } else {
        return std::nullopt;
    }
    if (mois < 1 || mois > 12 || jour < 1 || jour > 31 || heure > 23 || minute > 59 || seconde > 60)
        return std::nullopt;
    std::tm t{};
    t.tm_year = an - 1900;
    t.tm_mon = mois - 1;
    t.tm_mday = jour;
    t.tm_hour = heure;
    t.tm_min = minute;
    t.tm_sec = seconde;
    return static_cast<long long>(timegm(&t)) - decalage;
}

} // namespace Gpx
