// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

class QWidget;

// "Exporter comme calque OpenCPN…": the document, or the chosen marks,
// written as a layer into the chart plotter's layers folder.
namespace ExportCalque {

// The chosen marks (table rows), or every mark when none is chosen. The
// folder is asked when both installations exist, the name always; an
// existing layer is replaced only after a question, a missing folder made.
void Exporter_Calque_Click(QWidget& fenetre, const std::vector<int>& choisis);

} // namespace ExportCalque
