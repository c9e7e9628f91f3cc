#include "gpx/Fichiers.h"

#include "gpx/UTF8.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <array>
#include <cctype>
#include <functional>
#include <map>
#include <unordered_map>
#include <vector>

namespace Fichiers {

namespace {

const QString Crlf = QStringLiteral("\r\n");

// Positions of marks in a line are 16-bit: beyond this index a mark is not
// taken and its value stays empty.
constexpr int PositionMax = 32766;

// True when the ASCII motif stands at position i of the line.
bool MotifEn(QStringView ligne, int i, QLatin1String motif)
{
    if (i + motif.size() > ligne.size())
        return false;
    for (int k = 0; k < motif.size(); ++k)
        if (ligne[i + k].unicode() != static_cast<unsigned char>(motif[k].toLatin1()))
            return false;
    return true;
}

// First position of an ASCII tag in a line, -1 when absent. Lines are
// searched for a handful of tags each: a plain scan beats the general search.
int Position(QStringView ligne, QLatin1String motif)
{
    const char16_t premier = static_cast<unsigned char>(motif[0].toLatin1());
    for (int i = 0; i + motif.size() <= ligne.size(); ++i)
        if (ligne[i].unicode() == premier && MotifEn(ligne, i, motif))
            return i;
    return -1;
}

// First positions of several tags, each starting with "<", in one scan of
// the line; -1 for a tag that is absent.
template <size_t N>
std::array<int, N> Reperer(QStringView ligne, const std::array<QLatin1String, N>& motifs)
{
    std::array<int, N> positions;
    positions.fill(-1);
    size_t restants = N;
    for (int i = 0; i < ligne.size() && restants > 0; ++i) {
        if (ligne[i].unicode() != '<')
            continue;
        for (size_t m = 0; m < N; ++m)
            if (positions[m] < 0 && MotifEn(ligne, i, motifs[m])) {
                positions[m] = i;
                --restants;
            }
    }
    return positions;
}

// For each text, the first line that holds it (-1 when none does), in one
// pass over the lines per distinct length with a rolling hash.
std::vector<int> PremieresLignes(const Lignes& lignes, const std::vector<QString>& textes)
{
    std::vector<int> resultat(textes.size(), -1);
    constexpr quint64 Base = 1000003;
    std::map<int, std::vector<size_t>> parLongueur;
    for (size_t t = 0; t < textes.size(); ++t)
        if (!textes[t].isEmpty())
            parLongueur[textes[t].size()].push_back(t);

    for (const auto& [longueur, indices] : parLongueur) {
        auto hacher = [](QStringView v) {
            quint64 h = 0;
            for (QChar c : v)
                h = h * Base + c.unicode();
            return h;
        };
        std::unordered_map<quint64, std::vector<size_t>> cherches;
        std::vector<quint8> filtre(1 << 16, 0);
        for (size_t t : indices) {
            const quint64 h = hacher(textes[t]);
            cherches[h].push_back(t);
            filtre[h & 0xFFFF] = 1;
        }
        quint64 puissance = 1;
        for (int k = 1; k < longueur; ++k)
            puissance *= Base;
        size_t restants = indices.size();
        for (int n = 0; n < lignes.size() && restants > 0; ++n) {
            const QStringView ligne = lignes[n];
            if (ligne.size() < longueur)
                continue;
            const QChar* d = ligne.data();
            quint64 h = hacher(QStringView(d, longueur));
            for (int i = 0;; ++i) {
                if (filtre[h & 0xFFFF]) {
                    auto trouve = cherches.find(h);
                    if (trouve != cherches.end())
                        for (size_t t : trouve->second)
                            if (resultat[t] < 0 && QStringView(d + i, longueur) == textes[t]) {
                                resultat[t] = n;
                                --restants;
                            }
                }
                if (i + longueur >= ligne.size())
                    break;
                h = (h - d[i].unicode() * puissance) * Base + d[i + longueur].unicode();
            }
        }
    }
    return resultat;
}

// The value that runs from `debut` characters after a tag at p up to a
// closing part of `fin` characters ending the line; empty when too short.
QString Couper(QStringView ligne, int p, int debut, int fin)
{
    if (p < 0 || p > PositionMax)
        return QString();
    const int de = p + debut;
    const int n = int(ligne.size()) - fin - de;
    return n > 0 ? ligne.mid(de, n).toString() : QString();
}

// A character reference "&#233;" or "&#xE9;" at i: its text and length.
bool ReferenceNumerique(const QString& s, int i, QString& texte, int& longueur)
{
    if (!QStringView(s).mid(i).startsWith(QLatin1String("&#")))
        return false;
    int j = i + 2;
    const bool hexa = j < s.size() && (s[j] == QLatin1Char('x') || s[j] == QLatin1Char('X'));
    if (hexa)
        ++j;
    const int debut = j;
    while (j < s.size() && j - debut < 8 &&
           (hexa ? std::isxdigit(static_cast<unsigned char>(s[j].toLatin1())) : s[j].isDigit()))
        ++j;
    if (j == debut || j >= s.size() || s[j] != QLatin1Char(';'))
        return false;
    bool ok = false;
    const uint code = s.mid(debut, j - debut).toUInt(&ok, hexa ? 16 : 10);
    if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return false;
    const char32_t c = code;
    texte = QString::fromUcs4(&c, 1);
    longueur = j + 1 - i;
    return true;
}

// Decodes the standard XML entities and character references in one
// left-to-right pass; with garderAmp, "&amp;" stays as it stands (stored
// link targets keep it). A bare "&" stays "&".
QString DecoderEntites(const QString& s, bool garderAmp = false)
{
    if (!s.contains(QLatin1Char('&')))
        return s;
    static const struct {
        QLatin1String entite;
        QChar caractere;
    } Entites[] = {{QLatin1String("&amp;"), QLatin1Char('&')},
                   {QLatin1String("&lt;"), QLatin1Char('<')},
                   {QLatin1String("&gt;"), QLatin1Char('>')},
                   {QLatin1String("&quot;"), QLatin1Char('"')},
                   {QLatin1String("&apos;"), QLatin1Char('\'')}};
    QString r;
    r.reserve(s.size());
    int copie = 0; // characters before this index are in r
    for (int i = s.indexOf(QLatin1Char('&')); i >= 0 && i < s.size();
         i = s.indexOf(QLatin1Char('&'), i)) {
        QString texte;
        int longueur = 0;
        if (!ReferenceNumerique(s, i, texte, longueur)) {
            for (const auto& e : Entites) {
                if (QStringView(s).mid(i).startsWith(e.entite)) {
                    const bool garder = garderAmp && e.caractere == QLatin1Char('&');
                    texte = garder ? QString(e.entite) : QString(e.caractere);
                    longueur = e.entite.size();
                    break;
                }
            }
        }
        if (longueur == 0) {
            ++i;
            continue;
        }
        r += QStringView(s).mid(copie, i - copie);
        r += texte;
        i += longueur;
        copie = i;
    }
    r += QStringView(s).mid(copie);
    return r;
}

// True when the bytes are valid UTF-8.
bool Utf8Valide(const QByteArray& octets)
{
    const auto* p = reinterpret_cast<const unsigned char*>(octets.constData());
    const auto* fin = p + octets.size();
    while (p < fin) {
        const unsigned char c = *p++;
        if (c < 0x80)
            continue;
        int suite = 0;
        uint code = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            suite = 1;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            suite = 2;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            suite = 3;
            code = c & 0x07;
        } else {
            return false;
        }
        if (fin - p < suite)
            return false;
        for (int k = 0; k < suite; ++k) {
            if ((p[k] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[k] & 0x3F);
        }
        p += suite;
        if ((suite == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
            (suite == 3 && (code < 0x10000 || code > 0x10FFFF)))
            return false;
    }
    return true;
}

// XML has no place for control characters but the tab (line ends are
// escaped before): false, naming the first one.
bool SansControle(const QString& valeur, QChar* manquant)
{
    for (const QChar c : valeur)
        if (c.unicode() < 0x20 && c != QLatin1Char('\t')) {
            if (manquant)
                *manquant = c;
            return false;
        }
    return true;
}

// A Windows-1252 value in a file declared UTF-8. Its bytes are
// kept when they already read as UTF-8 (text another program wrote, read
// back byte for byte); otherwise each character past ASCII becomes a
// character reference, so the file stays well-formed.
bool OctetsLigne(const QString& ligne, QByteArray& octets, QChar* manquant)
{
    if (!SansControle(ligne, manquant))
        return false;
    const int debut = octets.size();
    octets.resize(debut + ligne.size());
    char* sortie = octets.data() + debut;
    int i = 0;
    for (const QChar* c = ligne.constData(); i < ligne.size() && c[i].unicode() < 0x80; ++i)
        sortie[i] = char(c[i].unicode());
    if (i == ligne.size())
        return true;
    octets.truncate(debut);
    QByteArray brut;
    if (!UTF8::VersWindows1252(ligne, brut, manquant))
        return false;
    if (Utf8Valide(brut)) {
        octets += brut;
        return true;
    }
    for (const QChar c : ligne) {
        if (c.unicode() < 0x80)
            octets += char(c.unicode());
        else
            octets += "&#" + QByteArray::number(c.unicode()) + ';';
    }
    return true;
}

// True when an entity or character reference ("&amp;", "&#233;") starts at i.
bool EntiteEn(const QString& s, int i)
{
    int j = i + 1;
    auto lettre = [&](int k) { return k < s.size() && s[k].unicode() < 128 && s[k].isLetter(); };
    auto chiffre = [&](int k, bool hexa) {
        return k < s.size() && s[k].unicode() < 128 &&
               (hexa ? std::isxdigit(s[k].toLatin1()) != 0 : s[k].isDigit());
    };
    if (j < s.size() && s[j] == QLatin1Char('#')) {
        const bool hexa = j + 1 < s.size() && s[j + 1] == QLatin1Char('x');
        j += hexa ? 2 : 1;
        const int debut = j;
        while (chiffre(j, hexa))
            ++j;
        return j > debut && j < s.size() && s[j] == QLatin1Char(';');
    }
    if (!lettre(j))
        return false;
    while (lettre(j) || chiffre(j, false))
        ++j;
    return j < s.size() && s[j] == QLatin1Char(';');
}

enum class Contexte { Texte, Attribut, Cible };

// Escapes what XML text must not hold; in an attribute the double quote
// too. A link target keeps the entities it holds ("&amp;" above all): only
// a bare "&" is escaped there.
QString Echapper(const QString& s, Contexte contexte)
{
    QString r;
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        const char* entite = nullptr;
        if (c == QLatin1Char('&'))
            entite = contexte == Contexte::Cible && EntiteEn(s, i) ? nullptr : "&amp;";
        else if (c == QLatin1Char('<'))
            entite = "&lt;";
        else if (c == QLatin1Char('>'))
            entite = "&gt;";
        else if (c == QLatin1Char('"') && contexte != Contexte::Texte)
            entite = "&quot;";
        // A line end inside a value would split its line.
        else if (c == QLatin1Char('\r'))
            entite = "&#13;";
        else if (c == QLatin1Char('\n'))
            entite = "&#10;";
        if (!entite) {
            if (!r.isNull())
                r += c;
            continue;
        }
        if (r.isNull()) {
            r.reserve(s.size() + 16);
            r = s.left(i);
        }
        r += QLatin1String(entite);
    }
    return r.isNull() ? s : r;
}

QString EchapperTexte(const QString& s)
{
    return Echapper(s, Contexte::Texte);
}

QString EchapperAttribut(const QString& s)
{
    return Echapper(s, Contexte::Attribut);
}

QString EchapperCible(const QString& s)
{
    return Echapper(s, Contexte::Cible);
}

// The first four double quotes of a waypoint line give its position: the
// first quoted value is the latitude, the second the longitude.
void LirePosition(QStringView ligne, QString& lat, QString& lon)
{
    int q[4];
    int depuis = 0;
    for (int& position : q) {
        position = ligne.indexOf(QLatin1Char('"'), depuis);
        if (position < 0 || position > PositionMax) {
            lat.clear();
            lon.clear();
            return;
        }
        depuis = position + 1;
    }
    lat = DecoderEntites(ligne.mid(q[0] + 1, q[1] - q[0] - 1).toString());
    lon = DecoderEntites(ligne.mid(q[2] + 1, q[3] - q[2] - 1).toString());
}

// Links of every waypoint with a time: those of the block that follows the
// first line of the file holding its time text, up to the line that closes
// a waypoint. tempsBruts holds the time texts as they stand in the file;
// the link columns are empty, as LirePOI emptied the table.
void LireLiens(const Lignes& lignes, const std::vector<QString>& tempsBruts, PoiTable& table)
{
    const std::vector<int> premieres = PremieresLignes(lignes, tempsBruts);
    static const std::array<QLatin1String, 3> Balises = {
        QLatin1String("<link"), QLatin1String("<text>"), QLatin1String("</wpt>")};

    for (int i = 1; i <= table.NbPOI; ++i) {
        if (premieres[i] < 0)
            continue;
        bool lienIgnore = false;
        for (int n = premieres[i] + 1; n < lignes.size(); ++n) {
            const QStringView ligne = SansEspaces(lignes[n]);
            const auto [pLien, pTexte, pFin] = Reperer(ligne, Balises);
            if (pLien >= 0) {
                lienIgnore = table.NbLiens[i] >= MaxLiens;
                if (!lienIgnore) {
                    ++table.NbLiens[i];
                    table.LienHref[i][table.NbLiens[i]] =
                        DecoderEntites(Couper(ligne, pLien, 12, 2), true);
                }
            }
            // The text of a link beyond the 50th is skipped with its link.
            if (pTexte >= 0 && table.NbLiens[i] > 0 && !lienIgnore)
                table.LienTexte[i][table.NbLiens[i]] = DecoderEntites(Couper(ligne, pTexte, 6, 7));
            if (pFin >= 0)
                break;
        }
    }
}

} // namespace

QStringView SansEspaces(QStringView s)
{
    while (!s.isEmpty() && s.front() == QLatin1Char(' '))
        s = s.mid(1);
    while (!s.isEmpty() && s.back() == QLatin1Char(' '))
        s.chop(1);
    return s;
}

Lignes::Lignes(QString t) : texte(std::move(t))
{
    const QChar* d = texte.constData();
    const int n = texte.size();
    int debut = 0;
    for (int i = 0; i < n; ++i) {
        const QChar c = d[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        vues.emplace_back(d + debut, i - debut);
        if (c == QLatin1Char('\r') && i + 1 < n && d[i + 1] == QLatin1Char('\n'))
            ++i;
        debut = i + 1;
    }
    if (debut < n)
        vues.emplace_back(d + debut, n - debut);
}

QStringList Lignes::Liste() const
{
    QStringList l;
    l.reserve(size());
    for (QStringView v : vues)
        l << v.toString();
    return l;
}

bool LireOctets(const QString& chemin, QByteArray& octets, QString& erreur)
{
    QFile f(chemin);
    if (QFileInfo(chemin).isDir()) {
        erreur = QStringLiteral("is a folder");
        return false;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        erreur = f.errorString();
        return false;
    }
    octets = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        erreur = f.errorString();
        return false;
    }
    return true;
}

Lignes LignesWindows1252(const QByteArray& octets)
{
    return Lignes(UTF8::DepuisWindows1252(octets));
}

bool ChercherRoutesTraces(const Lignes& lignes)
{
    static const std::array<QLatin1String, 4> Balises = {
        QLatin1String("<rte>"), QLatin1String("<trk>"), QLatin1String("<trkpt>"),
        QLatin1String("<rtept>")};
    for (QStringView l : lignes)
        for (int p : Reperer(l, Balises))
            if (p >= 0)
                return true;
    return false;
}

void LirePOI(const Lignes& lignes, PoiTable& table)
{
    // Nothing of the previous document survives a read.
    table.Vider();
    std::vector<QString> tempsBruts(MaxPOI + 1);
    std::vector<bool> nomDecode(MaxPOI + 1, false);
    bool enCours = false;
    static const std::array<QLatin1String, 5> Balises = {
        QLatin1String("<wpt"), QLatin1String("</wpt>"), QLatin1String("<time>"),
        QLatin1String("<name>"), QLatin1String("<sym>")};
    for (QStringView ligne : lignes) {
        const auto [pWpt, pFin, pTemps, pNom, pSym] = Reperer(ligne, Balises);
        const int16_t n = table.NbPOI;
        if (pWpt >= 0 && n < MaxPOI) {
            table.NbPOI = n + 1;
            enCours = true;
            LirePosition(ligne, table.LatPOI[n + 1], table.LonPOI[n + 1]);
        }
        const int16_t i = table.NbPOI;
        bool fermee = false;
        if (enCours && pFin >= 0) {
            enCours = false;
            fermee = true;
        }
        if (enCours) {
            if (pTemps >= 0) {
                tempsBruts[i] = Couper(ligne, pTemps, 6, 7);
                table.TempsPOI[i] = DecoderEntites(tempsBruts[i]);
            }
            if (pNom >= 0)
                table.NomPOI[i] = Couper(ligne, pNom, 6, 7);
            if (pSym >= 0)
                table.SymPOI[i] = DecoderEntites(Couper(ligne, pSym, 5, 6));
        }
        if (fermee) {
            // A name is decoded once complete: a name with a time is UTF-8,
            // and references are decoded after the bytes.
            QString& nom = table.NomPOI[i];
            if (!table.TempsPOI[i].isEmpty()) {
                if (nom.isEmpty())
                    nom = QStringLiteral("(Sans nom)");
                nom.replace(QLatin1String("%20"), QLatin1String(" "));
                nom = UTF8::Utf8VersTexte(nom);
            }
            nom = DecoderEntites(nom);
            nomDecode[i] = true;
        }
        if (table.NbPOI == MaxPOI && !enCours)
            break;
    }
    // A waypoint the file leaves open.
    for (int i = 1; i <= table.NbPOI; ++i)
        if (!nomDecode[i])
            table.NomPOI[i] = DecoderEntites(table.NomPOI[i]);
    LireLiens(lignes, tempsBruts, table);
}

bool TexteGPX(const PoiTable& table, QByteArray& octets, QString& erreur)
{
    // Sized once: growing a large buffer step by step costs copies and
    // fresh pages at every step.
    int taille = 1024;
    for (int i = 1; i <= table.NbPOI; ++i) {
        taille += 300 + table.NomPOI[i].size() * 3 + table.LatPOI[i].size() +
                  table.LonPOI[i].size() + table.TempsPOI[i].size() + table.SymPOI[i].size();
        for (int k = 1; k <= table.NbLiens[i]; ++k)
            taille += 50 + table.LienHref[i][k].size() + table.LienTexte[i][k].size();
    }
    octets.clear();
    octets.reserve(taille);
    QChar manquant;
    bool ok = true;
    // A value in Windows-1252; the markup around it is ASCII.
    auto valeur = [&](const QString& v) {
        if (ok && !OctetsLigne(v, octets, &manquant))
            ok = false;
    };

    octets += "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n"
              "<gpx version=\"1.1\" creator=\"OpenCPN\" "
              "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
              "xmlns=\"http://www.topografix.com/GPX/1/1\" "
              "xmlns:gpxx=\"http://www.garmin.com/xmlschemas/GpxExtensions/v3\" "
              "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
              "http://www.topografix.com/GPX/1/1/gpx.xsd\" "
              "xmlns:opencpn=\"http://www.opencpn.org\">\r\n";
    for (int i = 1; i <= table.NbPOI; ++i) {
        octets += "\t<wpt lat=\"";
        valeur(EchapperAttribut(table.LatPOI[i]));
        octets += "\" lon=\"";
        valeur(EchapperAttribut(table.LonPOI[i]));
        octets += "\">\r\n\t\t<time>";
        valeur(EchapperTexte(table.TempsPOI[i]));
        octets += "</time>\r\n\t\t<name>";
        // The name of a waypoint with a time is UTF-8 and takes any character.
        const QString nom = EchapperTexte(table.NomPOI[i]);
        if (table.TempsPOI[i].isEmpty())
            valeur(nom);
        else if (ok && !SansControle(nom, &manquant))
            ok = false;
        else
            octets += nom.toUtf8();
        octets += "</name>\r\n";
        for (int k = 1; k <= table.NbLiens[i]; ++k) {
            octets += "\t\t<link href=\"";
            valeur(EchapperCible(table.LienHref[i][k]));
            octets += "\">\r\n\t\t\t<text>";
            valeur(EchapperTexte(table.LienTexte[i][k]));
            octets += "</text>\r\n\t\t</link>\r\n";
        }
        octets += "\t\t<sym>";
        if (table.SymPOI[i].isEmpty())
            octets += "anchorage";
        else
            valeur(EchapperTexte(table.SymPOI[i]));
        octets += "</sym>\r\n"
                  "\t\t<type>WPT</type>\r\n"
                  "\t\t<extensions>\r\n"
                  "\t\t\t<opencpn:viz>1</opencpn:viz>\r\n"
                  "\t\t\t<opencpn:viz_name>1</opencpn:viz_name>\r\n"
                  "\t\t</extensions>\r\n"
                  "\t</wpt>\r\n";
        if (!ok) {
            erreur = QStringLiteral("the character %1 of waypoint %2 cannot be written in the "
                                    "file")
                         .arg(UTF8::DecrireCaractere(manquant))
                         .arg(i);
            return false;
        }
    }
    octets += "</gpx>\r\n";
    return true;
}

namespace {

// Replaces a file with what produire writes into it, through a temporary
// file renamed over it only once every byte is known to be written.
// produire returns the number of bytes it wrote, or -1 to give up (with
// erreur set).
bool EcrireFichier(const QString& chemin, const std::function<qint64(QSaveFile&)>& produire,
                   QString& erreur)
{
    const QFileInfo info(chemin);
    // Renaming over a read-only file would succeed, as would writing into it
    // as the superuser: a file without write permission is refused.
    const auto ecriture =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (info.exists() && (!info.isWritable() || !(info.permissions() & ecriture))) {
        erreur = QStringLiteral("the file is read-only");
        return false;
    }
    QSaveFile f(chemin);
    if (!f.open(QIODevice::WriteOnly)) {
        erreur = f.errorString();
        return false;
    }
    // A full disk shows at the flush; commit() alone may not report it.
    const qint64 taille = produire(f);
    if (taille < 0 || !f.flush() || f.error() != QFileDevice::NoError) {
        if (taille >= 0 || erreur.isEmpty())
            erreur = f.errorString();
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        erreur = f.errorString();
        return false;
    }
    if (QFileInfo(chemin).size() != taille) {
        erreur = QStringLiteral("the file was not written whole");
        return false;
    }
    return true;
}

} // namespace

bool EcrireOctets(const QString& chemin, const QByteArray& octets, QString& erreur)
{
    return EcrireFichier(
        chemin,
        [&octets](QSaveFile& f) { return f.write(octets) == octets.size() ? octets.size() : 0; },
        erreur);
}

bool EcrireGPX(const QString& chemin, PoiTable& table, QString& erreur)
{
    QByteArray octets;
    if (!TexteGPX(table, octets, erreur) || !EcrireOctets(chemin, octets, erreur))
        return false;
    // What was written, the table now holds; a failed save leaves it alone.
    for (int i = 1; i <= table.NbPOI; ++i)
        if (table.SymPOI[i].isEmpty())
            table.SymPOI[i] = QStringLiteral("anchorage");
    return true;
}

void DecomposerChemin(const QString& chemin, QString& dossier, QString& nom)
{
    const int separateur =
        std::max(chemin.lastIndexOf(QLatin1Char('/')), chemin.lastIndexOf(QLatin1Char('\\')));
    dossier = chemin.left(separateur + 1);
    nom = chemin.mid(separateur + 1);
}

QString AffichageNomFichier(const QString& chemin)
{
    return chemin.size() <= 30 ? chemin : QStringLiteral("....") + chemin.right(31);
}

void TournerSauvegardes(const QString& fichier, const QString& dossier, const QString& nom)
{
    const QString tmp = dossier + QStringLiteral("tmp/");
    QDir().mkpath(tmp);
    auto generation = [&](int n) { return tmp + nom + QLatin1Char('.') + QString::number(n); };
    auto copier = [](const QString& source, const QString& cible) {
        if (!QFileInfo::exists(source))
            return;
        QFile::remove(cible);
        QFile::copy(source, cible);
    };
    for (int n = 1; n <= 29; ++n)
        copier(generation(n + 1), generation(n));
    copier(fichier, generation(30));
}

namespace {

// The line with its local link pointed into the folder (already escaped for
// an attribute); false when the line is not a link line to rewrite.
bool RelocaliserLigne(QStringView ligne, const QString& dossierEchappe, QString& resultat)
{
    static const QLatin1String marque("file://");
    const int f = Position(ligne, marque);
    if (f < 0)
        return false;
    // Only a link line, whose target runs to the end of the line, is
    // rewritten: other lines holding "file://" keep their closing tags.
    const QStringView cible = ligne.mid(f);
    QStringView fin = cible;
    while (fin.endsWith(QLatin1Char(' ')) || fin.endsWith(QLatin1Char('\t')))
        fin.chop(1);
    if (!fin.endsWith(QLatin1String("\">")))
        return false;
    const QStringView valeur = fin.chopped(2);
    if (valeur.contains(QLatin1Char('"')) || valeur.contains(QLatin1Char('<')) ||
        valeur.contains(QLatin1Char('>')))
        return false;
    const int separateur =
        std::max(cible.lastIndexOf(QLatin1Char('\\')), cible.lastIndexOf(QLatin1Char('/')));
    resultat = ligne.left(f + marque.size()).toString() + dossierEchappe +
               cible.mid(separateur + 1).toString();
    return true;
}

} // namespace

Lignes RelocaliserLignes(const Lignes& lignes, const QString& dossier)
{
    const QString dossierEchappe = EchapperAttribut(dossier);
    QString texte;
    QString changee;
    bool change = false;
    for (QStringView ligne : lignes) {
        if (RelocaliserLigne(ligne, dossierEchappe, changee)) {
            texte += changee;
            change = true;
        } else {
            texte += ligne;
        }
        texte += QLatin1Char('\n');
    }
    return change ? Lignes(texte) : lignes;
}

bool RelocaliserLiensFichier(const QString& fichier, const QString& dossier,
                             const QByteArray& octets, Lignes& lignes, QString& erreur)
{
    lignes = LignesWindows1252(octets);
    const Lignes apres = RelocaliserLignes(lignes, dossier);

    // Every line back to its bytes, ended by CR LF, written in slices so a
    // large file is not held twice; identique tells whether the bytes are
    // those of the file as read.
    bool identique = true;
    auto produire = [&](QSaveFile& f) -> qint64 {
        QByteArray tranche;
        QByteArray ligne;
        QChar manquant;
        qint64 position = 0;
        identique = true;
        auto vider = [&] {
            if (identique)
                identique = octets.mid(int(position), tranche.size()) == tranche;
            position += tranche.size();
            const bool ok = f.write(tranche) == tranche.size();
            tranche.clear();
            return ok;
        };
        for (QStringView l : apres) {
            if (!UTF8::VersWindows1252(l, ligne, &manquant)) {
                erreur = QStringLiteral("the folder name holds the character %1, which cannot "
                                        "be written in Windows-1252")
                             .arg(UTF8::DecrireCaractere(manquant));
                return -1;
            }
            tranche += ligne;
            tranche += "\r\n";
            if (tranche.size() >= (1 << 20) && !vider())
                return position;
        }
        vider();
        identique = identique && position == octets.size();
        return position;
    };
    if (!EcrireFichier(dossier + QStringLiteral("Temp.gpx"), produire, erreur))
        return false;
    if (!identique && !EcrireFichier(fichier, produire, erreur))
        return false;
    lignes = apres;
    return true;
}

} // namespace Fichiers
