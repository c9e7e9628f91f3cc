#include "gpx/PoiTable.h"

void PoiTable::Vider()
{
    NbPOI = 0;
    for (int i = 0; i <= MaxPOI; ++i) {
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
}
