#pragma once
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

// The process-wide record every window reads and writes by name: the
// settings of init.txt, their copies as read at start-up, the sound file
// names, the hand-over values between windows and the high-score table.
struct Module1Record {
    // Settings (field number of init.txt in brackets).
    int SaveOnExit = 0;       // [1]
    int SoundOn = 0;          // [2]
    QString BackFile;         // [3]
    double SpeedSetting = 0;  // [4] 1 slow, 2 normal, anything else fast
    QString ViewOption;       // [5] as read; a number
    double WindowTop = 0;     // [6]
    double WindowLeft = 0;    // [7]
    double WindowWidth = 0;   // [8]
    double WindowHeight = 0;  // [9]
    double BoardWidth = 0;    // [10]
    double BoardHeight = 0;   // [11]

    // Fields 2-4 and 6-11 exactly as read, for an exit without saving.
    QString StartSoundOn, StartBackFile, StartSpeedSetting;
    QString StartTop, StartLeft, StartWidth, StartHeight, StartBoardWidth, StartBoardHeight;

    double AspectRatio = 0;  // 9550 / 6750, for resizing by keys

    QString MatchSound, EndSound, HighSound, BestSound;

    // Hand-over values between windows. The viewer is given its picture
    // when it is opened, and the game window is never unloaded for a deal.
    double FlipDelay = 0;
    QString FileTypeSnapshot;  // seven "1"/"0": BMP, GIF, JPEG, ICON, WMF, Photos, All Graphics
    QString PlayerName;

    // Result of a finished board.
    double Bonus = 0;
    double TotalScore = 0;
    int HighScoreRank = 0;
    int BoardPairs = 0;
    QString BoardTime;

    // The high-score table, best first.
    std::array<QString, 10> BestNames;
    std::array<QString, 10> BestBoards;
    std::array<QString, 10> BestTimes;
    std::array<int16_t, 10> BestScores{};
};

extern Module1Record Module1;
