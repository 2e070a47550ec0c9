#include "start/StartUp.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "app/AssetPaths.h"
#include "app/GamePaths.h"
#include "app/Module1.h"
#include "app/SettingsFile.h"
#include "board/Form2.h"
#include "board/KeyFocus.h"
#include "board/SavedBoard.h"
#include "board/ScreenPlacement.h"
#include "config/Form1.h"
#include "pictures/ThumbnailCache.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/SessionEnd.h"
#include "platform/TextFile.h"

bool StartUp() {
    Module1Record& m = Module1;
    m.AspectRatio = static_cast<float>(9550.0f / 6750.0f);
    // An installed game's data folder may be unwritable: it then plays on
    // with its files kept for the session, and says so once.
    if (Paths().layout() == GamePaths::Layout::Installed) {
        QString message;
        PrepareDataFolder(Paths(), &message);
        if (!message.isEmpty()) platform().dialogs->Info("Tavimo", message);
    }
    QDir::setCurrent(Paths().DataFolder());
    m.MatchSound = "Match.wav";
    m.EndSound = "End.wav";
    m.HighSound = "High.wav";
    m.BestSound = "Best.wav";

    // Saves cut short by a killed process leave their temporary files behind.
    textfile::RemoveStaleTemporaries(
        Paths().DataFolder(),
        {assets::SettingsFile, assets::FolderListFile, assets::HighScoreFile, assets::BoardFile});
    ThumbnailCache().RemoveStaleTemporaries();

    // A missing, short or unusable init.txt is replaced by the default line
    // and read again; a folder where it cannot be written ends start-up.
    const QString path = Paths().SettingsFile();
    QString error, unsaved;
    if (!settings::ReadOrReset(path, m, &error, &unsaved)) {
        platform().dialogs->Info(
            "Tavimo",
            QCoreApplication::translate(
                "StartUp", "The settings file %1 cannot be written (%2). Tavimo cannot start.")
                .arg(QDir::toNativeSeparators(path),
                     error.isEmpty() ? QCoreApplication::translate("StartUp", "unreadable")
                                     : error));
        return false;
    }
    if (!unsaved.isEmpty())
        platform().dialogs->Info("Tavimo", settings::UnsavedMessage(path, unsaved));
    // The stored place and size may be damaged or from another screen: a
    // tiny board, a window larger than the screen or one out of reach.
    screenplacement::SanitizeRecord(m);

    Form1& config = Forms::Get<Form1>();
    // The preview field is one switch: any value but 0 (a hand-edited 2, say)
    // is on, and it goes back to the file as 0 or 1.
    m.ViewOption = m.ViewOption.trimmed().toDouble() != 0 ? "1" : "0";
    Form1::SetValue(config.View, m.ViewOption == "1" ? 1 : 0);
    Form1::SetValue(config.All_Check, 1);
    m.PlayerName = "";
    Form1::SetValue(config.Check8, 1);
    Form1::SetValue(config.View, 1);
    OfferKeptBoard();
    config.Command1_Click();
    return true;
}

void OfferKeptBoard() {
    const QString folder = Paths().DataFolder();
    const savedboard::Loaded kept = savedboard::Load(folder);
    switch (kept.found) {
        case savedboard::Found::None:
            return;
        case savedboard::Found::Damaged:
            platform().dialogs->Info("Tavimo", kept.message);
            return;
        case savedboard::Found::Whole:
            break;
    }
    if (platform().dialogs->AskYesNo(
            "Tavimo", QCoreApplication::translate("StartUp", "Resume the board you left?")))
        savedboard::OfferToDeal(kept.state);
    else
        savedboard::Remove(folder);
}

int RunSession() {
    // A signal during start-up asked before the loop ran: the loop still
    // runs once, so the way out is the same (aboutToQuit included).
    if (session::EndRequested()) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { QCoreApplication::exit(session::ExitCode()); },
            Qt::QueuedConnection);
    }
    return EndSession(QCoreApplication::exec());
}

int EndSession(int code) {
    Forms::DiscardAll();
    return code;
}

bool ExitAfterDealRequested() {
    return qEnvironmentVariableIsSet("TAVIMO_EXIT_AFTER_DEAL");
}

int ExitAfterDeal() {
    QElapsedTimer waited;
    waited.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const Form2* game = Forms::IfLoaded<Form2>();
        if (game && game->isVisible() && game->PairCount >= 4) {
            std::printf("dealt %d pairs\n", game->PairCount);
            QCoreApplication::exit(0);
        } else if (waited.elapsed() > 60000) {
            std::fprintf(stderr, "no board dealt\n");
            QCoreApplication::exit(3);
        }
    });
    poll.start(50);
    const int code = QCoreApplication::exec();
    Forms::DiscardAll();
    return code;
}

bool PrintBoardRequested() {
    return qEnvironmentVariableIsSet("TAVIMO_PRINT_BOARD");
}

QString BoardMap(const Form2& game) {
    if (!game.BoardDealt) return QString();
    const std::vector<int> order = board::ReadingOrder(game.Grid, game.CardCount);
    QString line = "board " + QString::number(game.PairCount) + ":";
    for (int k = 0; k < game.CardCount && k < static_cast<int>(game.CardSlot.size()); ++k) {
        const auto at = std::find(order.begin(), order.end(), game.CardSlot[k]);
        line += " " + QString::number(at - order.begin());
    }
    return line;
}

void PrintEveryBoard() {
    // Lives as long as the application; looks for a new deal every 50 ms.
    auto* poll = new QTimer(QCoreApplication::instance());
    QObject::connect(poll, &QTimer::timeout, [last = QString()]() mutable {
        const Form2* game = Forms::IfLoaded<Form2>();
        if (!game || !game->isVisible()) return;
        const QString line = BoardMap(*game);
        if (line.isEmpty() || line == last) return;
        last = line;
        std::printf("%s\n", qPrintable(line));
        std::fflush(stdout);
    });
    poll->start(50);
}
