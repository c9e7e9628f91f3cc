// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QString>

// One line of a language file, cut into its fields:
// code "[" name "]" ... "/" first text "/" second text.
struct EntreeLangue {
    QChar code;
    QString nom;
    QString texte1;
    QString texte2;
};

// True when the line is a well-formed entry: its first "[" is its second
// character, a "]" follows it, and it holds at least two "/". The name runs
// to the last "]", the first text from the first to the last "/", the second
// text after the last "/"; each is trimmed of spaces (tabs stay).
bool CouperLigneLangue(const QString& ligne, EntreeLangue& entree);
