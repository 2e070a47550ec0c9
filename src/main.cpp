#include <QApplication>
#include <QIcon>

#include "app/AssetPaths.h"
#include "platform/FileSystem.h"
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
    QIcon icon;
    icon.addFile(FileSystem::Join(Module1.ProgramFolder, assets::Icon));
    icon.addFile(FileSystem::Join(Module1.ProgramFolder, assets::IconSmall));
    QApplication::setWindowIcon(icon);
    if (!StartUp()) return 1;
    return QApplication::exec();
}
