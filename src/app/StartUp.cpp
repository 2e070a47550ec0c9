#include "app/StartUp.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

#include "app/GamePaths.h"
#include "app/Module1.h"
#include "app/SettingsFile.h"
#include "board/Form2.h"
#include "config/Form1.h"
#include "platform/FileSystem.h"
#include "platform/Numbers.h"
#include "platform/Platform.h"

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

    // A missing, short or unusable init.txt is replaced by the default line
    // and read again; a folder where it cannot be written ends start-up.
    const QString path = Paths().SettingsFile();
    if (!settings::Read(path, m)) {
        QString error;
        if (!settings::WriteDefault(path, &error) || !settings::Read(path, m)) {
            platform().dialogs->Info(
                "Tavimo",
                QString("The settings file %1 cannot be written (%2). Tavimo cannot start.")
                    .arg(QDir::toNativeSeparators(path), error.isEmpty() ? "unreadable" : error));
            return false;
        }
    }

    Form1& config = Forms::Get<Form1>();
    Form1::SetValue(config.View, static_cast<int>(num::RoundHalfEven(m.ViewOption.toDouble())));
    Form1::SetValue(config.All_Check, 1);
    m.PlayerName = "";
    Form1::SetValue(config.Check8, 1);
    Form1::SetValue(config.View, 1);
    config.Command1_Click();
    return true;
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
