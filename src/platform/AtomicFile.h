#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

class FileSystem;

// The one way the game replaces a file, whatever it holds (settings, folder
// list, scores, thumbnails). The bytes go to a temporary file beside the
// target ("<name>.tmp-XXXXXX"); every step is checked (each write takes all
// its bytes, the sync succeeds, the size on disk is the size written, the
// close reports no error) before the temporary is renamed over the target.
// On any failure the old file is whole, the temporary is gone, and the
// reason is given in a few words ("disk full").
//
// The replaced file keeps its mode, owner and group; a file nobody may write
// (mode 0444: the player protects it) is left alone, even for root. A link is
// followed only to an ordinary file of this user that exists: a dangling link
// or one to another user's file or to a device is refused, never replaced.
namespace atomicfile {

struct Options {
    // The mode of a file that does not exist yet; unset: 0666 less the umask.
    std::optional<unsigned> newFileMode;
    // The file system whose steps are used: the platform's when null. Code
    // on another thread passes its own.
    FileSystem* fs = nullptr;
};

bool Write(const QString& path, const QByteArray& bytes, QString* error = nullptr,
           const Options& options = {});

// Removes the temporary files of this writer in `folder` whose target name
// matches `namePattern` (a regular expression for the whole name, matched
// without regard to case), left behind when the program was killed during
// a write. One younger than a minute may be a write of another copy of the
// game still running, and stays. Returns how many went.
int RemoveStaleTemporaries(const QString& folder, const QString& namePattern);

// True when the file (or the file a link names) exists and its mode lets
// nobody write it: the player protects it, and Write leaves it alone.
bool IsReadOnly(const QString& path);

// A few words the player understands for an errno value.
QString Reason(int err);

}  // namespace atomicfile
