// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/Historique.h"
#include "editing/Routes.h"
#include "gpx/Messages.h"
#include "gpx/PoiTable.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>

class ApplicationGE;

// The program's shared state, alive for the whole run.
namespace Declarations {

extern PoiTable Table;
// The routes of the open document, planned from the table's marks.
extern Routes LesRoutes;
// The changes made to the open document since it was opened.
extern Historique Annulations;
extern int16_t NumPOI;
extern QString FichierGPX;
extern QString NomFichierGPX;
extern QString DossierGPX;
extern QString Langue;
extern QString AdresseAide;
extern int32_t Connecte;
// The map object; empty unless the map was wanted and could be created.
extern std::unique_ptr<ApplicationGE> AppliGE;

// Back to the state before start-up (used at start-up and between tests).
void Reinitialiser();

} // namespace Declarations
