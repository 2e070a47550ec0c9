#include <QApplication>
#include <QIcon>
#include <QStandardPaths>

#include "TavimoVersion.h"
#include "app/AssetPaths.h"
#include "app/GamePaths.h"
#include "app/Language.h"
#include "pictures/PictureLoader.h"
#include "platform/Platform.h"
#include "platform/SessionEnd.h"
#include "start/RealPlatform.h"
#include "start/StartUp.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Lower case: the per-user data folder is named after it.
    QApplication::setApplicationName("tavimo");
    QApplication::setApplicationVersion(version::Text);
    // Groups the windows under the menu entry of the same id.
    QApplication::setDesktopFileName(assets::DesktopId);
    // Every window is hidden at some point (the game window while the
    // configuration is open); only the exit question ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallRealPlatform();
    // The sound output's thread holds Qt's audio device: it has to stop
    // while Qt is still there, before `app` goes. (The picture loader's
    // thumbnail writer stops itself with the application.)
    struct StopWorkersFirst {
        ~StopWorkersFirst() { platform().makeSoundDevice = nullptr; }
    } stopWorkersFirst;
    Paths() = GamePaths::Detect(QCoreApplication::applicationDirPath(),
                                QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    // The desktop's language, before the first window or message.
    language::InstallSystem(language::Folder(Paths().ContentFolder()));
    QIcon icon;
    icon.addFile(assets::Compiled(assets::Icon));
    icon.addFile(assets::Compiled(assets::IconSmall));
    QApplication::setWindowIcon(QIcon::fromTheme(assets::DesktopId, icon));
    // Signals and the session's end take the normal way out from here on.
    session::InstallEndSignals(app);
    if (!StartUp()) return EndSession(1);
    if (ExitAfterDealRequested()) return ExitAfterDeal();
    if (PrintBoardRequested()) PrintEveryBoard();
    return RunSession();
}
