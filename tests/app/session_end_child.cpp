// A program that ends the way the game does, for tst_SessionEnd: it loads
// the pictures named on its command line, which leaves the thumbnail writer
// with work, says "writing" and runs the session until something ends it.
#include <QApplication>
#include <QSize>
#include <cstdio>

#include "pictures/PictureLoader.h"
#include "platform/SessionEnd.h"
#include "start/StartUp.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    session::InstallEndSignals(app);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [] {
        std::puts("about to quit");
        std::fflush(stdout);
    });
    PictureLoader loader;
    QStringList pictures = QCoreApplication::arguments();
    pictures.removeFirst();
    loader.LoadMany(pictures, QSize(64, 64), [](int, std::optional<Picture>) { return true; });
    std::puts("writing");
    std::fflush(stdout);
    return RunSession();
}
