#include "gpx/PoiTable.h"

void PoiTable::Vider()
{
    NbPOI = 0;
    for (int i = 0; i <= MaxPOI; ++i)
        ViderLigne(i);
}

void PoiTable::ViderLigne(int i)
{
    NomPOI[i].clear();
    LatPOI[i].clear();
    LonPOI[i].clear();
    TempsPOI[i].clear();
    SymPOI[i].clear();
    NbLiens[i] = 0;
    for (int k = 0; k <= MaxLiens; ++k) {
        LienHref[i][k].clear();
        LienTexte[i][k].clear();
    }
}

void PoiTable::CopierLigne(int source, int cible)
{
    NomPOI[cible] = NomPOI[source];
    TempsPOI[cible] = TempsPOI[source];
    LatPOI[cible] = LatPOI[source];
    LonPOI[cible] = LonPOI[source];
    SymPOI[cible] = SymPOI[source];
    NbLiens[cible] = NbLiens[source];
    for (int k = 1; k <= MaxLiens; ++k) {
        LienHref[cible][k] = LienHref[source][k];
        LienTexte[cible][k] = LienTexte[source][k];
    }
}
