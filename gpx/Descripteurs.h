// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Gpx {

// Writes all of octets to the file descriptor fd, again after an interrupted
// or a short write. False with errno set when it cannot (ENOSPC for a disk
// that takes no more bytes without saying why).
bool ToutEcrire(int fd, std::string_view octets);

// The same, then fd closed whatever happened; false with errno of the first
// failure, the write's or the close's.
bool EcrireEtFermer(int fd, std::string_view octets);

// How a program run to its end went.
enum class Fin { Reussie, Echouee, PasLancee };

// Runs arguments[0], looked up in PATH, with this process's environment and,
// when muet, its standard output sent to /dev/null; waits for its end.
// Reussie when it ends with 0, PasLancee when it could not be started.
Fin Executer(std::vector<std::string> arguments, bool muet = false);

} // namespace Gpx
