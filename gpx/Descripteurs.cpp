// SPDX-License-Identifier: GPL-3.0-or-later
#include "gpx/Descripteurs.h"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
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

bool EcrireEtFermer(int fd, std::string_view octets)
{
    bool ok = ToutEcrire(fd, octets);
    const int erreur = errno;
    if (close(fd) != 0)
        ok = false;
    else if (!ok)
        errno = erreur;
    return ok;
}

Fin Executer(std::vector<std::string> arguments, bool muet)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (muet)
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (std::string& a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    int statut = 0;
    const bool lance = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    if (!lance)
        return Fin::PasLancee;
    return waitpid(pid, &statut, 0) == pid && WIFEXITED(statut) && WEXITSTATUS(statut) == 0
               ? Fin::Reussie
               : Fin::Echouee;
}

} // namespace Gpx
