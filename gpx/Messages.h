// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>

// The message table: the texts every message box shows, filled at start-up
// with the built-in texts, then from the language file.
namespace Declarations {
// Slots 0 to 80; slot 0 is never set or shown.
extern std::array<QString, 81> MsgBoite;
} // namespace Declarations

namespace Messages {

// Failures the program reports beyond the first eighteen messages: a headline,
// what the user can do, and the reasons the program finds itself.
enum : int {
    EnregistrementEchoue = 19,
    PrecedentIntact,
    LectureEchouee,
    ListeVide,
    RelocalisationEchouee,
    LuTelQuel,
    DescriptionEchouee,
    TexteGarde,
    TravailEchoue,
    LectureSeule,
    EstUnDossier,
    EcritEnPartie,
    CaractereWindows1252,
    CaracterePoi,
    PasBienForme,
    HorsCapacite,
    ImportSansGpsbabel,
    ImportFormat,
    ImportEchoue,
    ImportQuoiFaire,
    ImportEnCours,
    SupprimerPlusieurs,
    SupprimerRoute,
    VitesseRefusee,
    DepartRefuse,
    PoiDansRoutes,
    PoisDansRoutes,
    PointDeMarque,
    ProprieteNombre,
    ProprieteAnneaux,
    ProprieteCouleur,
    GuidsEnDouble,
    ValeursMelangees,
    GuidsDonnes,
    CalqueExiste,
    CalqueEchoue,
    CalqueQuoiFaire,
    CalqueOuFlatpak,
    CalqueEcrit,
    NomCalque,
    FusionRien,
    FusionGroupes,
    FusionChoix,
    FusionSansPosition,
    FusionBilan,
    FusionCapacite,
    DoublonsGroupe,
    DoublonsAucun,
    DoublonsBilan,
    DoublonsLiens,
    Dernier = DoublonsLiens
};

// The built-in text of slot n; "" for a slot that has none.
QString ParDefaut(int n);

// Slot n of the table, its built-in text while the table has none.
QString Texte(int n);

// A failure the user must know of: message quoi, the file (its native
// path), why, and message suite (what now).
QString TexteEchec(int quoi, const QString& chemin, const QString& raison, int suite);

} // namespace Messages
