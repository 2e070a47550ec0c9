#pragma once
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Whole-file text reads and atomic writes. Files are written as UTF-8 with
// the caller's own line ends; readers accept CR LF and LF and take each line
// as UTF-8 when it is valid UTF-8, otherwise as Windows-1252 (what files from
// older copies of the game hold). A write replaces the file in one step and
// checks every step itself, so a crash or a full disk leaves the old file whole.
namespace textfile {

// What init.txt and best.txt may hold at most.
inline constexpr qint64 MaxDataFileBytes = 1024 * 1024;

enum class ReadResult {
    Ok,
    Missing,   // there is no such file
    Failed,    // it cannot be opened or read
    TooLarge,  // it holds more than the cap allows
};

// Reads and decodes the file, refusing one larger than `maxBytes` (negative:
// no cap) without reading it whole. *error gets the reason on failure.
ReadResult ReadLimited(const QString& path, qint64 maxBytes, QString* text,
                       QString* error = nullptr);

// False when the file cannot be opened or read; *error gets the reason.
bool Read(const QString& path, QString* text, QString* error = nullptr);

// Decodes a file's bytes line by line (see above).
QString Decode(QByteArrayView bytes);
// Decodes one line, with or without its line end.
QString DecodeLine(QByteArrayView line);

// Writes `text` as UTF-8, as it stands (callers put in their own CR LF),
// through the one atomic writer (platform/AtomicFile.h): on any failure the
// target is untouched, false is returned and *error says why in a few words
// ("disk full"). A file that already holds exactly these bytes is left as
// it is.
bool WriteAtomic(const QString& path, const QString& text, QString* error = nullptr);
// The same while holding the data folder's lock, for a file another running
// copy may write too (init.txt, dirs.txt): the last writer wins, and no
// file is ever half one copy's and half the other's.
bool WriteAtomicLocked(const QString& path, const QString& text, QString* error = nullptr);

// What the player is told when a file could not be saved.
QString SaveFailedMessage(const QString& path, const QString& error);

// Removes what saves of `names` in `folder` left behind when the program was
// killed in the middle of one. A temporary file younger than a minute may be
// a save of another copy of the game still running, and stays. Returns how
// many files went.
int RemoveStaleTemporaries(const QString& folder, const QStringList& names);

// Moves a damaged file out of the way as `damagedPath`, or the first of
// `damagedPath`.2, .3 ... that is free. An empty or missing file holds nothing
// worth keeping and stays where it is. False when it could not be moved or
// is no ordinary file.
bool KeepAside(const QString& path, const QString& damagedPath);

// True when the text holds a control character: what a damaged or binary
// file shows once decoded.
bool HasControlCharacters(QStringView text);

// Finds `name` inside `folder` whatever its letter case; the exact name wins.
// Returns the full path of the match, or folder/name when nothing matches.
QString FindCaseInsensitive(const QString& folder, const QString& name);

}  // namespace textfile
