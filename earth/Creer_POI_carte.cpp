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
    // Numbers with "." whatever the locale, so that the capture can be
    // stored: at most 15 significant digits, shortest form.
    auto texte = [](double v) { return QString::number(v, 'g', 15); };
    try {
        if (!AppliGE)
            throw EchecGE("no map");
        camera = AppliGE->GetCamera(1);
        Lat_Long->setText(texte(camera.FocusPointLatitude) + QLatin1Char(',') +
                          texte(camera.FocusPointLongitude));
        AppliGE->LoadKmlData(Carte::TextePlacemark(QString(), texte(camera.FocusPointLongitude),
                                                   texte(camera.FocusPointLatitude), false));
    } catch (const EchecGE&) {
        Message(16);
    }
}
