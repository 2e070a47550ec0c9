#include "app/StartUp.h"

#include <QDir>

#include "app/Module1.h"
#include "app/SettingsFile.h"
#include "board/ScreenPlacement.h"
#include "config/Form1.h"
#include "platform/FileSystem.h"
#include "platform/Numbers.h"
#include "platform/Platform.h"

bool StartUp() {
    Module1Record& m = Module1;
    m.AspectRatio = static_cast<float>(9550.0f / 6750.0f);
    QDir::setCurrent(m.ProgramFolder);
    m.MatchSound = "Match.wav";
    m.EndSound = "End.wav";
    m.HighSound = "High.wav";
    m.BestSound = "Best.wav";

    // A missing, short or unusable init.txt is replaced by the default line
    // and read again; a folder where it cannot be written ends start-up.
    const QString path = FileSystem::Join(m.ProgramFolder, settings::FileName);
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
    // The stored place and size may be damaged or from another screen: a
    // tiny board, a window larger than the screen or one out of reach.
    screenplacement::SanitizeRecord(m);

    Form1& config = Forms::Get<Form1>();
    Form1::SetValue(config.View, static_cast<int>(num::RoundHalfEven(m.ViewOption.toDouble())));
    Form1::SetValue(config.All_Check, 1);
    m.PlayerName = "";
    Form1::SetValue(config.Check8, 1);
    Form1::SetValue(config.View, 1);
    config.Command1_Click();
    return true;
}
