#include "shell/Entree.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // The map library embeds a web engine, which needs shared GL contexts
    // requested before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quaylight"));
    QApplication::setOrganizationName(QStringLiteral("Quaylight"));
    // The program ends through its Quit command, not when a window closes.
    QApplication::setQuitOnLastWindowClosed(false);
    Entree::Demarrer();
    const int code = QApplication::exec();
    Entree::Terminer();
    return code;
}
