// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Entree.h"

#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>

namespace {

const char* const Usage = "Usage: quaylight [FILE.gpx]\n"
                          "Edits the waypoints of a GPX file for the OpenCPN chart plotter.\n"
                          "FILE.gpx is opened once the start-up question is answered, as the Open\n"
                          "command opens it; a name that does not exist starts a new document.\n"
                          "  --help     this text\n"
                          "  --version  the program's version\n";

} // namespace

int main(int argc, char* argv[])
{
    // Read before the application object, which needs a display.
    const char* fichier = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(Usage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("quaylight " QUAYLIGHT_VERSION);
            return 0;
        }
        if ((argv[i][0] == '-' && std::strcmp(argv[i], "--") != 0) || fichier) {
            std::fprintf(stderr, "quaylight: unexpected argument %s\n%s", argv[i], Usage);
            return 2;
        }
        if (std::strcmp(argv[i], "--") != 0)
            fichier = argv[i];
    }
    // Descriptors as desktop programs have them: the soft limit raised to
    // the hard one, so that sockets and pipes do not run out first.
    rlimit limite{};
    if (getrlimit(RLIMIT_NOFILE, &limite) == 0 && limite.rlim_cur < limite.rlim_max) {
        limite.rlim_cur = limite.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limite);
    }
    // The map library links a web engine, which wants shared GL contexts
    // requested before the application object exists, even unused.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quaylight"));
    QApplication::setOrganizationName(QStringLiteral("Quaylight"));
    // The program ends through its Quit command, not when a window closes.
    QApplication::setQuitOnLastWindowClosed(false);
    Entree::Demarrer(fichier ? QFileInfo(QFile::decodeName(fichier)).absoluteFilePath()
                             : QString());
    const int code = QApplication::exec();
    Entree::Terminer();
    return code;
}
