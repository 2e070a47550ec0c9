#include <QApplication>

#include "app/Module1.h"
#include "app/StartUp.h"
#include "platform/RealPlatform.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tavimo");
    QApplication::setApplicationVersion("1.4.0");
    // Every window is hidden at some point (the game window while the
    // configuration is open); only the exit question ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallRealPlatform();
    Module1.ProgramFolder = QCoreApplication::applicationDirPath();
    if (!StartUp()) return 1;
    return QApplication::exec();
}
