#include "app/StartUp.h"

#include <QDir>

#include "app/Module1.h"
#include "app/SettingsFile.h"
#include "board/ScreenPlacement.h"
#include "config/DirectoryList.h"
#include "config/Form1.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"
#include "scores/HighScoreTable.h"

bool StartUp() {
    Module1Record& m = Module1;
    m.AspectRatio = static_cast<float>(9550.0f / 6750.0f);
    QDir::setCurrent(m.ProgramFolder);
    m.MatchSound = "Match.wav";
    m.EndSound = "End.wav";
    m.HighSound = "High.wav";
    m.BestSound = "Best.wav";

    // Saves cut short by a killed process leave their temporary files behind.
    textfile::RemoveStaleTemporaries(m.ProgramFolder,
                                     {settings::FileName, dirlist::FileName, highscores::FileName});

    // A missing, short or unusable init.txt is replaced by the default line
    // and read again; a folder where it cannot be written ends start-up.
    const QString path = FileSystem::Join(m.ProgramFolder, settings::FileName);
    QString error;
    if (!settings::ReadOrReset(path, m, &error)) {
        platform().dialogs->Info(
            "Tavimo",
            QString("The settings file %1 cannot be written (%2). Tavimo cannot start.")
                .arg(QDir::toNativeSeparators(path), error.isEmpty() ? "unreadable" : error));
        return false;
    }
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
    config.Command1_Click();
    return true;
}
