#pragma once
#include <QIODevice>
#include <QList>
#include <QString>

#include "app/AssetPaths.h"
#include "platform/FileSystem.h"

// One picture folder of the player's list: its path as the folder browser
// spells it and whether it is included (checked) in scans and deals.
struct FolderEntry {
    QString path;
    bool included = true;
    // False while the folder's volume (a stick, a share) is not there: the
    // entry stays in the list, out of use, and keeps its flag for later.
    bool available = true;
    bool operator==(const FolderEntry&) const = default;
};

// A failure the player is told about: a number and the platform's words for it,
// in the numbering the game has always used (53 file not found, 68 device
// unavailable, 75 access error, 76 path not found, 481 not a picture).
struct ErrorInfo {
    int number = 0;
    QString description;
};
ErrorInfo FolderError(FsError e);  // pointing at or listing a folder failed
ErrorInfo FileError(FsError e);    // opening a file failed
ErrorInfo InvalidPicture();        // a file that is there but does not decode

// dirs.txt: the ordered folder list beside the program. One line per folder,
// the path immediately followed by the flag "1" (included) or "0" and a comma,
// then a line "0". Written as UTF-8 with CR LF, replaced atomically.
//
// Reading treats the file as fields that end at a comma or a line end; empty
// fields are skipped, a field "0" ends the list, a file without it simply ends.
// The last character of a field is the flag, the rest the path (so a line
// without a flag loses the path's last character and names no folder).
namespace dirlist {

inline constexpr const char* FileName = assets::FolderListFile;
// Where a damaged file is kept before the default replaces it.
inline constexpr const char* DamagedName = "dirs.txt.damaged";
// What the file may hold: a longer line or more folders make it damaged.
inline constexpr int MaxEntries = 1000;
inline constexpr int MaxLineBytes = 4096;

// The given Graphics folder, checked, then "0".
QString DefaultText(const QString& graphicsFolder);
QString GraphicsFolder(const QString& programFolder);

// The file's contents for a list.
QString Format(const QList<FolderEntry>& entries);

// A field of the file parsed into a candidate entry; false for fields that
// carry no entry (empty, "0", or a lone flag).
bool ParseField(const QString& field, FolderEntry* entry);

enum class ReadStatus {
    Ok,
    Damaged,  // beyond the bounds, or bytes that are no text
    Failed,   // the device could not be read
};
// Reads the candidate entries of a dirs.txt from `in`, up to its "0" field,
// line by line so that a huge file is refused without being read whole. A
// folder listed more than once is taken once, at its first place and with its
// first flag. Damaged: a line longer than MaxLineBytes, more than MaxEntries
// folders, or a control character; *why then says which.
ReadStatus ReadEntries(QIODevice& in, QList<FolderEntry>* entries, QString* why = nullptr);

// Loads the list in `folder` the way the configuration window does when it
// is created: writes the default file, naming `graphicsFolder` (the Graphics
// folder in `folder` when empty), when there is none; keeps the entries whose folder
// holds at least one ordinary file (a missing folder, one without files or a
// path that is no absolute path is dropped silently); keeps, marked not
// available, the entries on a volume that is absent or not ready and the
// folders that cannot be read now (access denied); on any
// other failure (the file cannot be written or read)
// writes the default file, tells the player "<number><description>" in a box
// titled "Tavimo", and loads again. A damaged file is kept as DamagedName
// before the default replaces it, and the player is told so. Should that
// second load fail too, the default entry is used from memory, kept only if
// its folder holds files.
QList<FolderEntry> Load(const QString& folder, const QString& graphicsFolder = QString());

// Whether `path` lies on a volume that is not mounted now: under /media,
// /mnt or /run/media, or under a mount point of the system's table, with
// no volume mounted there. A folder gone from a volume that is mounted is
// simply gone.
bool OnAbsentVolume(const QString& path, FileSystem& fs);

// Writes the list; false with *error set when the file cannot be replaced.
bool Save(const QString& programFolder, const QList<FolderEntry>& entries,
          QString* error = nullptr);

// Whether a folder can be stored at all: a comma would split it on reading,
// a tab, CR or line feed would split its line or make the file damaged.
bool Storable(const QString& path);
// Why it cannot ("a comma", "a tab or a line break"); empty when it can.
QString UnstorableReason(const QString& path);
// The path for a message: characters that are no text shown as "?".
QString Printable(const QString& path);

}  // namespace dirlist
