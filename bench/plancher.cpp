// SPDX-License-Identifier: GPL-3.0-or-later
// The least a rewrite through the XML parser can take, for comparison with
// quaylight-gpx rewrite: the file mapped, parsed whole with no handler, and
// its own bytes saved as the tool saves (a temporary file renamed over the
// output). Usage: plancher IN OUT
#include "gpx/Descripteurs.h"

#include <cstdio>
#include <expat.h>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    const int fd = open(argv[1], O_RDONLY | O_CLOEXEC);
    struct stat etat {};
    if (fd < 0 || fstat(fd, &etat) != 0 || etat.st_size == 0)
        return 1;
    const auto taille = size_t(etat.st_size);
    void* carte = mmap(nullptr, taille, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    close(fd);
    if (carte == MAP_FAILED)
        return 1;
    const auto* octets = static_cast<const char*>(carte);
    XML_Parser parseur = XML_ParserCreate(nullptr);
    const bool bienForme = XML_Parse(parseur, octets, int(taille), XML_TRUE) == XML_STATUS_OK;
    XML_ParserFree(parseur);
    std::string temporaire = std::string(argv[2]) + ".XXXXXX";
    const int sortie = mkostemp(temporaire.data(), O_CLOEXEC);
    const bool ecrit = sortie >= 0 && fchmod(sortie, 0644) == 0 &&
                       Gpx::ToutEcrire(sortie, std::string_view(octets, taille)) &&
                       close(sortie) == 0 && rename(temporaire.c_str(), argv[2]) == 0;
    munmap(carte, taille);
    return bienForme && ecrit ? 0 : 1;
}
