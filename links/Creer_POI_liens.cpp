// The link panel of the main window.
#include "links/Gerer_liens.h"
#include "shell/Declarations.h"
#include "ui/Creer_POI.h"

#include <QListWidget>

void Creer_POI::RemplirListeLiens()
{
    using namespace Declarations;
    ListeLiens->clear();
    // NumPOI may designate a row past the count, never one past the table.
    if (NumPOI >= 0 && NumPOI <= MaxPOI) {
        const int16_t n = Table.NbLiens[NumPOI];
        for (int k = 1; k <= n; ++k)
            ListeLiens->addItem(
                Gerer_liens::EntreeListe(k, Table.LienTexte[NumPOI][k], Table.LienHref[NumPOI][k]));
    }
    ListeLiens->setCurrentRow(-1);
}
