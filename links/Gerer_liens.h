// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>

// The rules every link command shares: how a link is listed, how a typed
// address and a local path become stored targets, which texts a link field
// accepts, and what is handed to the desktop to open a link.
namespace Gerer_liens {

// "File" when the target holds "file" anywhere (case-sensitive), else "Web".
QString GenreLien(const QString& cible);

// The list entry of link number k: "2  Capitainerie    (Web)".
QString EntreeListe(int k, const QString& texte, const QString& cible);

// Collapses every ";amp;" to ";" until none is left.
QString ReduireAmp(QString s);

// A typed web address as stored: every "&" escaped, never twice.
QString EchapperAmp(const QString& s);

// A stored target as handed to the open action: "&amp;" back to "&".
QString CibleLien(const QString& cible);

// A local path as a file address: "C:\a\b.pdf" gives "file:///C:/a/b.pdf",
// "/a/b.pdf" gives "file:///a/b.pdf".
QString CheminVersUrl(const QString& chemin);

// What the desktop opens for a stored target (after CibleLien): a "file://"
// target is exactly the local file it names ("#", "?" and "%" are parts of
// the name); a target with a scheme of its own ("https:", "mailto:") is
// that address; anything else is a web address ("www.shom.fr").
QUrl AdresseAOuvrir(const QString& cible);

// True when every character lies between 32 and 127.
bool TexteValide(const QString& texte);

} // namespace Gerer_liens
