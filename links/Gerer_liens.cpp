// SPDX-License-Identifier: GPL-3.0-or-later
#include "links/Gerer_liens.h"

namespace Gerer_liens {

QString GenreLien(const QString& cible)
{
    return cible.contains(QLatin1String("file")) ? QStringLiteral("File") : QStringLiteral("Web");
}

QString EntreeListe(int k, const QString& texte, const QString& cible)
{
    return QString::number(k) + QLatin1String("  ") + texte + QLatin1String("    (") +
           GenreLien(cible) + QLatin1Char(')');
}

QString ReduireAmp(QString s)
{
    while (s.contains(QLatin1String(";amp;")))
        s.replace(QLatin1String(";amp;"), QLatin1String(";"));
    return s;
}

QString EchapperAmp(const QString& s)
{
    return ReduireAmp(QString(s).replace(QLatin1Char('&'), QLatin1String("&amp;")));
}

QString CibleLien(const QString& cible)
{
    return ReduireAmp(cible).replace(QLatin1String("&amp;"), QLatin1String("&"));
}

QString CheminVersUrl(const QString& chemin)
{
    // An absolute Linux path already brings the slash that starts the path.
    if (chemin.startsWith(QLatin1Char('/')))
        return QStringLiteral("file://") + chemin;
    return QStringLiteral("file:///") +
           QString(chemin).replace(QLatin1Char('\\'), QLatin1Char('/'));
}

QUrl AdresseAOuvrir(const QString& cible)
{
    const QString fichier = QStringLiteral("file://");
    if (cible.startsWith(fichier, Qt::CaseInsensitive))
        return QUrl::fromLocalFile(cible.mid(fichier.size()));
    // A scheme is letters, digits, "+", "-" and ".", then ":"; one with a
    // dot is a host and port ("www.shom.fr:8080"), one letter a drive.
    const int deuxPoints = cible.indexOf(QLatin1Char(':'));
    const QString schema = cible.left(deuxPoints);
    bool avecSchema =
        deuxPoints > 1 && schema.at(0).isLetter() && !schema.contains(QLatin1Char('.'));
    for (const QChar c : schema)
        avecSchema = avecSchema && c.unicode() < 128 &&
                     (c.isLetterOrNumber() || c == QLatin1Char('+') || c == QLatin1Char('-'));
    return QUrl(avecSchema ? cible : QStringLiteral("http://") + cible, QUrl::TolerantMode);
}

bool TexteValide(const QString& texte)
{
    for (const QChar c : texte)
        if (c.unicode() < 32 || c.unicode() > 127)
            return false;
    return true;
}

} // namespace Gerer_liens
