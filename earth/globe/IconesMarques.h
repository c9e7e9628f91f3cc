// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/Symboles.h"

#include <QImage>

// The icons the globe draws for the families of mark symbols, drawn here
// with the painter: the current mark's larger, with a ring around it.
namespace IconesMarques {
QImage Icone(Symboles::Famille famille, bool courante);
}
