#pragma once
#include <QList>
#include <QString>

#include "platform/FileSystem.h"

// One picture folder of the player's list: its path as the folder browser
// spells it and whether it is included (checked) in scans and deals.
struct FolderEntry {
    QString path;
    bool included = true;
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

inline constexpr const char* FileName = "dirs.txt";

// The given Graphics folder, checked, then "0".
QString DefaultText(const QString& graphicsFolder);
QString GraphicsFolder(const QString& programFolder);

// The file's contents for a list.
QString Format(const QList<FolderEntry>& entries);

// A field of the file parsed into a candidate entry; false for fields that
// carry no entry (empty, "0", or a lone flag).
bool ParseField(const QString& field, FolderEntry* entry);

// The fields of the file's text, up to and without the ending "0" field.
QStringList Fields(const QString& text);

// Loads the list in `folder` the way the configuration window does when it
// is created: writes the default file, naming `graphicsFolder` (the Graphics
// folder in `folder` when empty), when there is none; keeps the entries whose folder
// holds at least one ordinary file (a missing folder, one without files or a
// path that is no absolute path is dropped silently); on any other failure
// (the file cannot be written or read, a stored folder's device is not ready)
// writes the default file, tells the player "<number><description>" in a box
// titled "Tavimo", and loads again. Should that second load fail too, the
// default entry is used from memory, kept only if its folder holds files.
QList<FolderEntry> Load(const QString& folder, const QString& graphicsFolder = QString());

// Writes the list; false with *error set when the file cannot be replaced.
bool Save(const QString& programFolder, const QList<FolderEntry>& entries,
          QString* error = nullptr);

// Whether a folder can be stored at all: a comma would split it on reading.
bool Storable(const QString& path);

}  // namespace dirlist
