// SPDX-License-Identifier: GPL-3.0-or-later
#include "GlobeMarble.h"

#include <QObject>

class FabriqueMarble : public QObject, public FabriqueGlobe {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID FabriqueGlobe_iid)
    Q_INTERFACES(FabriqueGlobe)
public:
    std::unique_ptr<ApplicationGE> Creer() override { return std::make_unique<ApplicationGlobe>(); }
};

#include "FabriqueMarble.moc"
