// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Declarations.h"

#include "shell/ApplicationGE.h"

namespace Declarations {

PoiTable Table;
Routes LesRoutes;
Historique Annulations;
int16_t NumPOI = 0;
QString FichierGPX;
QString NomFichierGPX;
QString DossierGPX;
QString Langue;
QString AdresseAide;
int32_t Connecte = 0;
std::unique_ptr<ApplicationGE> AppliGE;

void Reinitialiser()
{
    Table.Vider();
    LesRoutes.Vider();
    Annulations.Vider();
    NumPOI = 0;
    FichierGPX.clear();
    NomFichierGPX.clear();
    DossierGPX.clear();
    for (QString& m : MsgBoite)
        m.clear();
    Langue.clear();
    AdresseAide.clear();
    Connecte = 0;
    AppliGE.reset();
}

} // namespace Declarations
