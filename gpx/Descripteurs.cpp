// SPDX-License-Identifier: GPL-3.0-or-later
#include "gpx/Descripteurs.h"

#include <cerrno>
#include <unistd.h>

namespace Gpx {

bool ToutEcrire(int fd, std::string_view octets)
{
    while (!octets.empty()) {
        const ssize_t n = write(fd, octets.data(), octets.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        octets.remove_prefix(size_t(n));
    }
    return true;
}

} // namespace Gpx
