#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

#include "config/DirectoryList.h"

// The picture types a player can choose: six boxes (BMP, GIF, JPEG, ICON,
// WMF, then "Photos" for PNG, WebP, TIFF, HEIC/HEIF, AVIF and JPEG XL,
// always in this order) and "All Graphics", which is every type the game
// reads.
namespace filetypes {

inline constexpr int Count = 6;
// The pattern while "All Graphics" is on.
inline constexpr const char* AllPattern =
    "*.bmp;*.gif;*.jpg;*.ico;*.wmf;*.jpeg;*.jpe;*.jfif;"
    "*.png;*.webp;*.tif;*.tiff;*.heic;*.heif;*.hif;*.avif;*.jxl";
// The browser's file list before the first pattern is applied.
inline constexpr const char* InitialBrowsePattern =
    "*.gif;*.bmp;*.jpg;*.wmf;*.ico;*.jpeg;*.jpe;*.jfif;"
    "*.png;*.webp;*.tif;*.tiff;*.heic;*.heif;*.hif;*.avif;*.jxl";
// Until the first pattern is applied the scan lists every ordinary file.
inline constexpr const char* InitialScanPattern = "*.*";

// The pattern of the checked boxes, e.g. "*.GIF;*.JPG"; empty when none is.
QString BuildPattern(const std::array<bool, Count>& checked);

// The box (0 to 5) whose extension `name` ends in; -1 otherwise. The five
// three-letter extensions of the first boxes count all upper or all lower
// case ("BMP"/"bmp", ..., "ICO"/"ico"); the others in any case.
int BoxOfExtension(const QString& name);

// Seven "1"/"0" characters: the six boxes, then "All Graphics".
QString Snapshot(const std::array<bool, Count + 1>& checked);
// The seven values a snapshot restores: "1" is on, anything else off.
std::array<bool, Count + 1> FromSnapshot(const QString& snapshot);

}  // namespace filetypes

// What the player's choice offers: the included folders that can be read and
// the distinct picture names in them.
struct ScanResult {
    QStringList readableFolders;  // included folders with at least one ordinary file, list order
    QStringList availableNames;   // distinct bare names, first folder wins, in the order found
    int FilesAvailable() const { return static_cast<int>(availableNames.size()); }
};

// Scans the included folders of `folders` from the top with `pattern`.
// A folder whose device is unavailable raises the question "Retry" titled
// "Device Unavalable <drive>": Yes starts the scan again, No removes the
// entry from `folders` (its position at that moment is appended to
// *removed) and goes on with the entry that takes its place. Every other
// failure skips the folder silently. Each folder is read once per scan. Names are distinct by exact
// comparison, letter case significant; the pattern matches without regard to case.
ScanResult ScanFolders(QList<FolderEntry>& folders, const QString& pattern,
                       QList<int>* removed = nullptr);
