// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/Routes.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {

std::string Utf8(const QString& s)
{
    return s.toStdString();
}

QString Qt8(const std::string& s)
{
    return QString::fromStdString(s);
}

void Changee(Gpx::Route& route)
{
    route.lue.clear();
}

} // namespace

QString TexteCoordonneeRoute(double valeur)
{
    QString t = QString::number(valeur, 'f', 9);
    // Trailing zeros go, one decimal stays.
    while (t.endsWith(QLatin1Char('0')) && !t.endsWith(QLatin1String(".0")))
        t.chop(1);
    return t;
}

Routes::Index Routes::Indexer(const PoiTable& table)
{
    Index index;
    for (int i = 1; i <= table.NbPOI; ++i) {
        std::string g = Guid(table, i);
        if (!g.empty())
            index.emplace(std::move(g), i);
    }
    return index;
}

std::string Routes::Guid(const PoiTable& table, int i)
{
    return Gpx::GuidDeGarde(table.GardesPOI[size_t(i)].get());
}

std::string Routes::DonnerGuid(PoiTable& table, int i)
{
    std::string g = Guid(table, i);
    if (g.empty()) {
        g = Gpx::NouveauGuid();
        table.GardesPOI[size_t(i)] = std::make_shared<const Gpx::GardePOI>(
            Gpx::AvecGuid(table.GardesPOI[size_t(i)].get(), g));
    }
    return g;
}

void Routes::Lire(const PoiTable& table)
{
    liste.clear();
    if (!table.Fichier)
        return;
    liste.reserve(table.Fichier->routes.size());
    for (const std::string& texte : table.Fichier->routes)
        liste.push_back(Gpx::LireRoute(texte));
}

Routes::Point Routes::PointVu(const PoiTable& table, const Index& index,
                              const Gpx::PointRoute& p) const
{
    Point vu;
    const auto m = p.guid.empty() ? index.end() : index.find(p.guid);
    if (m != index.end() && table.Ligne(m->second) && m->second <= table.NbPOI) {
        const int i = m->second;
        vu.marque = i;
        vu.nom = table.NomPOI[i];
        vu.sym = table.SymPOI[i];
        vu.lat = table.LatPOI[i];
        vu.lon = table.LonPOI[i];
    } else {
        vu.nom = Qt8(p.nom);
        vu.sym = Qt8(p.sym);
        vu.lat = Qt8(p.lat);
        vu.lon = Qt8(p.lon);
    }
    vu.position = Gpx::LirePosition(Utf8(vu.lat), Utf8(vu.lon));
    return vu;
}

std::vector<Routes::Ligne> Routes::Lignes(const PoiTable& table, const Index& index,
                                          int route) const
{
    std::vector<Ligne> lignes;
    if (route < 0 || size_t(route) >= liste.size())
        return lignes;
    const Gpx::Route& r = liste[size_t(route)];
    const QDateTime depart = Depart(route);
    lignes.reserve(r.points.size());
    for (const Gpx::PointRoute& p : r.points) {
        Ligne l;
        l.point = PointVu(table, index, p);
        if (!lignes.empty()) {
            const Ligne& avant = lignes.back();
            l.premier = false;
            l.troncon = Gpx::Rhumb(avant.point.position, l.point.position);
            l.cumul = avant.cumul + (l.troncon.valide ? l.troncon.distance : 0);
        }
        l.heures = l.cumul / r.vitesse;
        if (depart.isValid())
            l.eta = depart.addSecs(qint64(std::llround(l.heures * 3600)));
        lignes.push_back(std::move(l));
    }
    return lignes;
}

Routes::Totaux Routes::Total(const PoiTable& table, const Index& index, int route) const
{
    const std::vector<Ligne> lignes = Lignes(table, index, route);
    if (lignes.empty())
        return {};
    return {lignes.back().cumul, lignes.back().heures};
}

std::shared_ptr<const Gpx::GardeFichier> Routes::Garde(const PoiTable& table) const
{
    if (liste.empty() && (!table.Fichier || table.Fichier->routes.empty()))
        return table.Fichier;
    auto garde = table.Fichier ? std::make_shared<Gpx::GardeFichier>(*table.Fichier)
                               : std::make_shared<Gpx::GardeFichier>();
    garde->routes.clear();
    garde->routes.reserve(liste.size());
    const Index index = Indexer(table);
    for (const Gpx::Route& r : liste) {
        Gpx::Route ecrite = r;
        // The points of marks as the marks now are.
        for (Gpx::PointRoute& p : ecrite.points) {
            const auto m = p.guid.empty() ? index.end() : index.find(p.guid);
            if (m == index.end())
                continue;
            const int i = m->second;
            const std::string nom = Utf8(table.NomPOI[i]);
            const std::string sym = Utf8(table.SymPOI[i]);
            const Gpx::Position ici = Gpx::LirePosition(p.lat, p.lon);
            const Gpx::Position marque =
                Gpx::LirePosition(Utf8(table.LatPOI[i]), Utf8(table.LonPOI[i]));
            const bool deplace =
                marque.valide && (!ici.valide || ici.lat != marque.lat || ici.lon != marque.lon);
            if (p.nom != nom || p.sym != sym || deplace) {
                p.nom = nom;
                p.sym = sym;
                if (deplace) {
                    p.lat = Utf8(table.LatPOI[i].trimmed());
                    p.lon = Utf8(table.LonPOI[i].trimmed());
                }
                Changee(ecrite);
            }
        }
        garde->routes.push_back(Gpx::TexteRoute(ecrite));
    }
    return garde;
}

int Routes::Nouvelle(const QString& nom)
{
    Gpx::Route r;
    r.nom = Utf8(nom);
    r.guid = Gpx::NouveauGuid();
    liste.push_back(std::move(r));
    return int(liste.size()) - 1;
}

namespace {

std::vector<Gpx::PointRoute>::iterator Place(Gpx::Route& r, int avant)
{
    return avant < 0 || size_t(avant) >= r.points.size() ? r.points.end()
                                                         : r.points.begin() + avant;
}

} // namespace

void Routes::AjouterMarques(PoiTable& table, int r, int avant, const std::vector<int>& marques)
{
    Gpx::Route& route = liste[size_t(r)];
    std::vector<Gpx::PointRoute> nouveaux;
    nouveaux.reserve(marques.size());
    for (const int i : marques) {
        Gpx::PointRoute p;
        p.guid = DonnerGuid(table, i);
        p.nom = Utf8(table.NomPOI[i]);
        p.sym = Utf8(table.SymPOI[i]);
        p.lat = Utf8(table.LatPOI[i].trimmed());
        p.lon = Utf8(table.LonPOI[i].trimmed());
        nouveaux.push_back(std::move(p));
    }
    route.points.insert(Place(route, avant), nouveaux.begin(), nouveaux.end());
    Changee(route);
}

void Routes::AjouterLibre(int r, int avant, double lat, double lon)
{
    Gpx::Route& route = liste[size_t(r)];
    // After the highest number a free point of the route has.
    static const QRegularExpression numero(QStringLiteral("^\\d{3,}$"));
    int dernier = 0;
    for (const Gpx::PointRoute& p : route.points)
        if (numero.match(Qt8(p.nom)).hasMatch())
            dernier = std::max(dernier, Qt8(p.nom).toInt());
    Gpx::PointRoute p;
    p.nom = Utf8(QStringLiteral("%1").arg(dernier + 1, 3, 10, QLatin1Char('0')));
    p.sym = "diamond";
    p.lat = Utf8(TexteCoordonneeRoute(lat));
    p.lon = Utf8(TexteCoordonneeRoute(lon));
    p.guid = Gpx::NouveauGuid();
    route.points.insert(Place(route, avant), std::move(p));
    Changee(route);
}

void Routes::Retirer(int r, int k)
{
    Gpx::Route& route = liste[size_t(r)];
    route.points.erase(route.points.begin() + k);
    Changee(route);
}

void Routes::Deplacer(int r, int k, int vers)
{
    Gpx::Route& route = liste[size_t(r)];
    Gpx::PointRoute p = std::move(route.points[size_t(k)]);
    route.points.erase(route.points.begin() + k);
    route.points.insert(route.points.begin() + vers, std::move(p));
    Changee(route);
}

void Routes::Inverser(int r)
{
    Gpx::Route& route = liste[size_t(r)];
    std::reverse(route.points.begin(), route.points.end());
    Changee(route);
}

void Routes::Renommer(int r, const QString& nom)
{
    liste[size_t(r)].nom = Utf8(nom);
    Changee(liste[size_t(r)]);
}

void Routes::Supprimer(int r)
{
    liste.erase(liste.begin() + r);
}

void Routes::PlacerLibre(int r, int k, double lat, double lon)
{
    Gpx::PointRoute& p = liste[size_t(r)].points[size_t(k)];
    p.lat = Utf8(TexteCoordonneeRoute(lat));
    p.lon = Utf8(TexteCoordonneeRoute(lon));
    Changee(liste[size_t(r)]);
}

void Routes::Vitesse(int r, double noeuds)
{
    liste[size_t(r)].vitesse = noeuds;
    Changee(liste[size_t(r)]);
}

void Routes::Depart(int r, const QDateTime& depart)
{
    liste[size_t(r)].depart =
        depart.isValid() ? Utf8(depart.toUTC().toString(Qt::ISODate)) : std::string();
    Changee(liste[size_t(r)]);
}

QDateTime Routes::Depart(int r) const
{
    const auto secondes = Gpx::LireDepart(liste[size_t(r)].depart);
    return secondes ? QDateTime::fromSecsSinceEpoch(*secondes, Qt::UTC) : QDateTime();
}

Routes::Guids Routes::GuidsUtilises(const PoiTable& table, const std::vector<int>& marques,
                                    int& routes) const
{
    Guids enRoute;
    for (const Gpx::Route& r : liste)
        for (const Gpx::PointRoute& p : r.points)
            if (!p.guid.empty())
                enRoute.insert(p.guid);
    Guids guids;
    for (const int i : marques) {
        std::string g = Guid(table, i);
        if (enRoute.count(g) > 0)
            guids.insert(std::move(g));
    }
    routes = int(std::count_if(liste.begin(), liste.end(), [&guids](const Gpx::Route& r) {
        return std::any_of(r.points.begin(), r.points.end(),
                           [&guids](const Gpx::PointRoute& p) { return guids.count(p.guid) > 0; });
    }));
    return guids;
}

bool Routes::RenommerGuids(const std::unordered_map<std::string, std::string>& guids)
{
    bool renomme = false;
    if (guids.empty())
        return renomme;
    for (Gpx::Route& r : liste) {
        bool change = false;
        for (Gpx::PointRoute& p : r.points)
            if (const auto g = guids.find(p.guid); !p.guid.empty() && g != guids.end()) {
                p.guid = g->second;
                change = true;
            }
        if (change) {
            Changee(r);
            renomme = true;
        }
    }
    return renomme;
}

void Routes::RetirerGuids(const Guids& guids)
{
    for (Gpx::Route& r : liste) {
        const auto fin =
            std::remove_if(r.points.begin(), r.points.end(), [&guids](const Gpx::PointRoute& p) {
                return !p.guid.empty() && guids.count(p.guid) > 0;
            });
        if (fin != r.points.end()) {
            r.points.erase(fin, r.points.end());
            Changee(r);
        }
    }
}
