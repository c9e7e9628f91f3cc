#include "gpx/Fichiers.h"

#include "gpx/UTF8.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>
#include <cctype>
#include <vector>

namespace Fichiers {

namespace {

const QString Crlf = QStringLiteral("\r\n");

// Positions of marks in a line are 16-bit: beyond this index a mark is not
// taken and its value stays empty.
constexpr int PositionMax = 32766;

// The value that runs from `debut` characters after a tag at p up to a
// closing part of `fin` characters ending the line; empty when too short.
QString Couper(const QString& ligne, int p, int debut, int fin)
{
    if (p < 0 || p > PositionMax)
        return QString();
    const int de = p + debut;
    const int n = ligne.size() - fin - de;
    return n > 0 ? ligne.mid(de, n) : QString();
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
    for (int i = 0; i < s.size();) {
        if (s[i] != QLatin1Char('&')) {
            r += s[i++];
            continue;
        }
        QString texte;
        int longueur = 0;
        if (ReferenceNumerique(s, i, texte, longueur)) {
            r += texte;
            i += longueur;
            continue;
        }
        bool trouve = false;
        for (const auto& e : Entites) {
            if (QStringView(s).mid(i).startsWith(e.entite)) {
                const bool garder = garderAmp && e.caractere == QLatin1Char('&');
                r += garder ? QString(e.entite) : QString(e.caractere);
                i += e.entite.size();
                trouve = true;
                break;
            }
        }
        if (!trouve)
            r += s[i++];
    }
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

// One line of a Windows-1252 value in a file declared UTF-8. Its bytes are
// kept when they already read as UTF-8 (text another program wrote, read
// back byte for byte); otherwise each character past ASCII becomes a
// character reference, so the file stays well-formed.
bool OctetsLigne(const QString& ligne, QByteArray& octets, QChar* manquant)
{
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

QString EchapperTexte(QString s)
{
    s.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    s.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    s.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    return s;
}

QString EchapperAttribut(const QString& s)
{
    return EchapperTexte(s).replace(QLatin1Char('"'), QLatin1String("&quot;"));
}

// A link target keeps the entities it holds ("&amp;" above all); only a
// bare "&" is escaped.
QString EchapperCible(const QString& s)
{
    static const QRegularExpression ampNu(
        QStringLiteral("&(?!(?:[A-Za-z][A-Za-z0-9]*|#[0-9]+|#x[0-9A-Fa-f]+);)"));
    QString r = s;
    r.replace(ampNu, QStringLiteral("&amp;"));
    r.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    r.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    r.replace(QLatin1Char('"'), QLatin1String("&quot;"));
    return r;
}

// Removes leading and trailing spaces, tabs kept.
QString SansEspaces(const QString& s)
{
    int debut = 0;
    int fin = s.size();
    while (debut < fin && s[debut] == QLatin1Char(' '))
        ++debut;
    while (fin > debut && s[fin - 1] == QLatin1Char(' '))
        --fin;
    return s.mid(debut, fin - debut);
}

// The first four double quotes of a waypoint line give its position: the
// first quoted value is the latitude, the second the longitude.
void LirePosition(const QString& ligne, QString& lat, QString& lon)
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
    lat = DecoderEntites(ligne.mid(q[0] + 1, q[1] - q[0] - 1));
    lon = DecoderEntites(ligne.mid(q[2] + 1, q[3] - q[2] - 1));
}

// Links of every waypoint with a time: those of the block that follows the
// first line of the file holding its time text, up to the line that closes
// a waypoint. tempsBruts holds the time texts as they stand in the file.
void LireLiens(const QStringList& lignes, const std::vector<QString>& tempsBruts, PoiTable& table)
{
    for (int i = 0; i <= MaxPOI; ++i) {
        table.NbLiens[i] = 0;
        for (int k = 0; k <= MaxLiens; ++k) {
            table.LienHref[i][k].clear();
            table.LienTexte[i][k].clear();
        }
    }
    // One search in the whole text finds the first line holding a time:
    // a time text never spans a line end.
    QString tout;
    std::vector<int> debuts;
    debuts.reserve(lignes.size());
    for (const QString& l : lignes) {
        debuts.push_back(tout.size());
        tout += l;
        tout += QLatin1Char('\n');
    }
    QHash<QString, int> premiereLigne;

    for (int i = 1; i <= table.NbPOI; ++i) {
        const QString& temps = tempsBruts[i];
        if (temps.isEmpty())
            continue;
        auto trouve = premiereLigne.constFind(temps);
        if (trouve == premiereLigne.constEnd()) {
            const int position = tout.indexOf(temps);
            const int ligne = position < 0
                                  ? -1
                                  : int(std::upper_bound(debuts.begin(), debuts.end(), position) -
                                        debuts.begin()) -
                                        1;
            trouve = premiereLigne.insert(temps, ligne);
        }
        if (*trouve < 0)
            continue;
        bool lienIgnore = false;
        for (int n = *trouve + 1; n < lignes.size(); ++n) {
            const QString ligne = SansEspaces(lignes[n]);
            const int pLien = ligne.indexOf(QLatin1String("<link"));
            if (pLien >= 0) {
                lienIgnore = table.NbLiens[i] >= MaxLiens;
                if (!lienIgnore) {
                    ++table.NbLiens[i];
                    table.LienHref[i][table.NbLiens[i]] =
                        DecoderEntites(Couper(ligne, pLien, 12, 2), true);
                }
            }
            const int pTexte = ligne.indexOf(QLatin1String("<text>"));
            // The text of a link beyond the 50th is skipped with its link.
            if (pTexte >= 0 && table.NbLiens[i] > 0 && !lienIgnore)
                table.LienTexte[i][table.NbLiens[i]] = DecoderEntites(Couper(ligne, pTexte, 6, 7));
            if (ligne.contains(QLatin1String("</wpt>")))
                break;
        }
    }
}

} // namespace

QStringList DecouperLignes(const QString& texte)
{
    QStringList lignes;
    int debut = 0;
    const int n = texte.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = texte[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lignes << texte.mid(debut, i - debut);
        if (c == QLatin1Char('\r') && i + 1 < n && texte[i + 1] == QLatin1Char('\n'))
            ++i;
        debut = i + 1;
    }
    if (debut < n)
        lignes << texte.mid(debut);
    return lignes;
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

QStringList LignesWindows1252(const QByteArray& octets)
{
    return DecouperLignes(UTF8::DepuisWindows1252(octets));
}

bool ChercherRoutesTraces(const QStringList& lignes)
{
    for (const QString& l : lignes)
        if (l.contains(QLatin1String("<rte>")) || l.contains(QLatin1String("<trk>")) ||
            l.contains(QLatin1String("<trkpt>")) || l.contains(QLatin1String("<rtept>")))
            return true;
    return false;
}

void LirePOI(const QStringList& lignes, PoiTable& table)
{
    table.NbPOI = 0;
    for (int i = 0; i <= MaxPOI; ++i) {
        table.TempsPOI[i].clear();
        table.NomPOI[i].clear();
        table.LatPOI[i].clear();
        table.LonPOI[i].clear();
        table.SymPOI[i].clear();
    }
    std::vector<QString> tempsBruts(MaxPOI + 1);
    std::vector<bool> nomDecode(MaxPOI + 1, false);
    bool enCours = false;
    for (const QString& ligne : lignes) {
        const int16_t n = table.NbPOI;
        if (ligne.contains(QLatin1String("<wpt")) && n < MaxPOI) {
            table.NbPOI = n + 1;
            enCours = true;
            LirePosition(ligne, table.LatPOI[n + 1], table.LonPOI[n + 1]);
        }
        const int16_t i = table.NbPOI;
        bool fermee = false;
        if (enCours && ligne.contains(QLatin1String("</wpt>"))) {
            enCours = false;
            fermee = true;
        }
        if (enCours) {
            const int pTemps = ligne.indexOf(QLatin1String("<time>"));
            if (pTemps >= 0) {
                tempsBruts[i] = Couper(ligne, pTemps, 6, 7);
                table.TempsPOI[i] = DecoderEntites(tempsBruts[i]);
            }
            const int pNom = ligne.indexOf(QLatin1String("<name>"));
            if (pNom >= 0)
                table.NomPOI[i] = Couper(ligne, pNom, 6, 7);
            const int pSym = ligne.indexOf(QLatin1String("<sym>"));
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

bool TexteGPX(PoiTable& table, QByteArray& octets, QString& erreur)
{
    octets.clear();
    QChar manquant;
    bool ok = true;
    auto ligne = [&](int tabulations, const QString& contenu) {
        octets += QByteArray(tabulations, '\t');
        if (ok && !OctetsLigne(contenu, octets, &manquant))
            ok = false;
        octets += "\r\n";
    };
    auto refus = [&](int i) {
        erreur = QStringLiteral("the character %1 of waypoint %2 cannot be written in "
                                "Windows-1252")
                     .arg(UTF8::DecrireCaractere(manquant))
                     .arg(i);
        return false;
    };

    ligne(0, QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\" ?>"));
    ligne(0, QStringLiteral("<gpx version=\"1.1\" creator=\"OpenCPN\" "
                            "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                            "xmlns=\"http://www.topografix.com/GPX/1/1\" "
                            "xmlns:gpxx=\"http://www.garmin.com/xmlschemas/GpxExtensions/v3\" "
                            "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
                            "http://www.topografix.com/GPX/1/1/gpx.xsd\" "
                            "xmlns:opencpn=\"http://www.opencpn.org\">"));
    for (int i = 1; i <= table.NbPOI; ++i) {
        ligne(1, QStringLiteral("<wpt lat=\"") + EchapperAttribut(table.LatPOI[i]) +
                     QStringLiteral("\" lon=\"") + EchapperAttribut(table.LonPOI[i]) +
                     QStringLiteral("\">"));
        ligne(2, QStringLiteral("<time>") + EchapperTexte(table.TempsPOI[i]) +
                     QStringLiteral("</time>"));
        const QString nom =
            QStringLiteral("<name>") + EchapperTexte(table.NomPOI[i]) + QStringLiteral("</name>");
        // The name of a waypoint with a time is UTF-8 and takes any character.
        if (table.TempsPOI[i].isEmpty())
            ligne(2, nom);
        else
            octets += "\t\t" + nom.toUtf8() + "\r\n";
        for (int k = 1; k <= table.NbLiens[i]; ++k) {
            ligne(2, QStringLiteral("<link href=\"") + EchapperCible(table.LienHref[i][k]) +
                         QStringLiteral("\">"));
            ligne(3, QStringLiteral("<text>") + EchapperTexte(table.LienTexte[i][k]) +
                         QStringLiteral("</text>"));
            ligne(2, QStringLiteral("</link>"));
        }
        if (table.SymPOI[i].isEmpty())
            table.SymPOI[i] = QStringLiteral("anchorage");
        ligne(2,
              QStringLiteral("<sym>") + EchapperTexte(table.SymPOI[i]) + QStringLiteral("</sym>"));
        ligne(2, QStringLiteral("<type>WPT</type>"));
        ligne(2, QStringLiteral("<extensions>"));
        ligne(3, QStringLiteral("<opencpn:viz>1</opencpn:viz>"));
        ligne(3, QStringLiteral("<opencpn:viz_name>1</opencpn:viz_name>"));
        ligne(2, QStringLiteral("</extensions>"));
        ligne(1, QStringLiteral("</wpt>"));
        if (!ok)
            return refus(i);
    }
    ligne(0, QStringLiteral("</gpx>"));
    return true;
}

bool EcrireOctets(const QString& chemin, const QByteArray& octets, QString& erreur)
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
    if (f.write(octets) != octets.size()) {
        erreur = f.errorString();
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        erreur = f.errorString();
        return false;
    }
    return true;
}

bool EcrireGPX(const QString& chemin, PoiTable& table, QString& erreur)
{
    QByteArray octets;
    return TexteGPX(table, octets, erreur) && EcrireOctets(chemin, octets, erreur);
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

QStringList RelocaliserLignes(const QStringList& lignes, const QString& dossier)
{
    static const QLatin1String marque("file://");
    const QString dossierEchappe = EchapperAttribut(dossier);
    QStringList resultat = lignes;
    for (QString& ligne : resultat) {
        const int f = ligne.indexOf(marque);
        if (f < 0)
            continue;
        // Only a link line, whose target runs to the end of the line, is
        // rewritten: other lines holding "file://" keep their closing tags.
        const QStringView cible = QStringView(ligne).mid(f);
        QStringView fin = cible;
        while (fin.endsWith(QLatin1Char(' ')) || fin.endsWith(QLatin1Char('\t')))
            fin.chop(1);
        if (!fin.endsWith(QLatin1String("\">")))
            continue;
        const QStringView valeur = fin.chopped(2);
        if (valeur.contains(QLatin1Char('"')) || valeur.contains(QLatin1Char('<')) ||
            valeur.contains(QLatin1Char('>')))
            continue;
        const int separateur =
            std::max(cible.lastIndexOf(QLatin1Char('\\')), cible.lastIndexOf(QLatin1Char('/')));
        ligne =
            ligne.left(f + marque.size()) + dossierEchappe + cible.mid(separateur + 1).toString();
    }
    return resultat;
}

bool RelocaliserLiensFichier(const QString& fichier, const QString& dossier,
                             const QByteArray& octets, QStringList& lignes, QString& erreur)
{
    const QStringList avant = LignesWindows1252(octets);
    lignes = avant;
    const QStringList apres = RelocaliserLignes(avant, dossier);
    QByteArray nouveaux;
    QChar manquant;
    if (!UTF8::VersWindows1252(apres.join(Crlf) + Crlf, nouveaux, &manquant)) {
        erreur = QStringLiteral("the folder name holds the character %1, which cannot be "
                                "written in Windows-1252")
                     .arg(UTF8::DecrireCaractere(manquant));
        return false;
    }
    if (apres.isEmpty())
        nouveaux.clear();
    if (!EcrireOctets(dossier + QStringLiteral("Temp.gpx"), nouveaux, erreur))
        return false;
    if (nouveaux != octets && !EcrireOctets(fichier, nouveaux, erreur))
        return false;
    lignes = apres;
    return true;
}

} // namespace Fichiers
