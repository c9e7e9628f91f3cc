// SPDX-License-Identifier: GPL-3.0-or-later
// The capture of the position at the centre of the map.
#include "earth/ApplicationGE.h"
#include "earth/Carte.h"
#include "shell/Declarations.h"
#include "shell/Plateforme.h"
#include "ui/Creer_POI.h"

#include <QLineEdit>

void Creer_POI::Pickup_X_Y_Click()
{
    using namespace Declarations;
    try {
        if (!AppliGE)
            throw EchecGE("no map");
        camera = AppliGE->GetCamera(1);
        Lat_Long->setText(
            Carte::TexteCapture(camera.FocusPointLatitude, camera.FocusPointLongitude));
        AppliGE->LoadKmlData(
            Carte::TextePlacemark(QString(), Carte::TexteCoordonnee(camera.FocusPointLongitude),
                                  Carte::TexteCoordonnee(camera.FocusPointLatitude), false));
    } catch (const EchecGE&) {
        Message(16);
    }
}
