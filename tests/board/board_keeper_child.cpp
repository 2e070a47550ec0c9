// The game as players run it, for tst_KeptBoard: real platform, the program
// folder named on the command line. Once the first board shows, it finds
// two pairs with mouse clicks, waits a moment with the clock running, says
// "played", the board's map and the caption, and runs the session until
// something ends it.
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "app/Forms.h"
#include "app/GamePaths.h"
#include "board/Form2.h"
#include "platform/SessionEnd.h"
#include "start/RealPlatform.h"
#include "start/StartUp.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc < 2) return 2;
    InstallRealPlatform();
    Paths() = GamePaths::Portable(QString::fromLocal8Bit(argv[1]));
    session::InstallEndSignals(app);
    if (!StartUp()) return EndSession(1);
    QTimer poll;
    QElapsedTimer sincePlayed;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        Form2* game = Forms::IfLoaded<Form2>();
        if (!game || !game->isVisible() || !game->BoardDealt) return;
        if (!sincePlayed.isValid()) {
            const int n = game->PairCount;
            for (const int k : {0, 1}) {
                QTest::mouseClick(game->Image2[k], Qt::LeftButton);
                QTest::mouseClick(game->Image2[k + n], Qt::LeftButton);
            }
            sincePlayed.start();
            return;
        }
        // The clock runs on past what the turns saved.
        if (sincePlayed.elapsed() < 2100) return;
        poll.stop();
        std::printf("played\n%s\n%s\n", qPrintable(BoardMap(*game)),
                    qPrintable(game->windowTitle()));
        std::fflush(stdout);
    });
    poll.start(50);
    return RunSession();
}
