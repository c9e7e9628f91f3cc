// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace Gpx {

// Writes all of octets to the file descriptor fd, again after an interrupted
// or a short write. False with errno set when it cannot (ENOSPC for a disk
// that takes no more bytes without saying why).
bool ToutEcrire(int fd, std::string_view octets);

} // namespace Gpx
