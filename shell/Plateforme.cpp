// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Plateforme.h"

namespace {
Plateforme* installee = nullptr;
}

Plateforme& Plateforme::Courante()
{
    static PlateformeQt qt;
    return installee ? *installee : qt;
}

void Plateforme::Installer(Plateforme* p)
{
    installee = p;
}
