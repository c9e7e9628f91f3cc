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

bool TexteValide(const QString& texte)
{
    for (const QChar c : texte)
        if (c.unicode() < 32 || c.unicode() > 127)
            return false;
    return true;
}

} // namespace Gerer_liens
