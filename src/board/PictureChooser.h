#pragma once
// Choosing the pictures of a new board at random from the player's folders.
#include <QList>
#include <QString>
#include <QStringList>

class FileSystem;
class Random;

namespace board {

// The chooser asks for this many pictures beyond the board size, to stand in
// for files that fail to load.
inline constexpr int SparePictures = 8;

struct ChooserFolder {
    QString path;
    bool checked = false;
};

struct ChooserInput {
    QList<ChooserFolder> folders;    // the folder list, in list order
    QString pattern;                 // the current type pattern ("*.bmp;*.jpg")
    bool acquireAdditional = false;  // "Aquire Additional": fall back on more folders
    QString graphicsFolder;          // the Graphics folder beside the program, the last fall-back
    int wanted = 0;                  // N + 8
};

// The chooser's working lists, under the names the configuration window
// keeps them by.
struct ChooserLists {
    QStringList CandidateFolders;  // folders the next picture may come from
    QStringList ChosenPictures;    // full paths, in the order chosen
    QStringList FreshFiles;        // files of the folder just drawn not chosen yet
    int FallbackStage = 0;
};

// The name after the last separator ("/" or "\").
QString BareName(const QString& path);

// Picks `wanted` pictures: a random folder among the candidates, then a
// random file of it whose bare name is not taken yet (letter case counts).
// A folder without fresh files, or that cannot be listed, drops out of the
// candidates without counting as a pick. With `acquireAdditional`, running
// out of candidates brings in the unchecked folders, then the Graphics
// folder; after that, or without it, picking stops with what it has.
void ChoosePictures(const ChooserInput& in, ChooserLists& lists, FileSystem& fs, Random& random);

}  // namespace board
