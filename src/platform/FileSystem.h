#pragma once
#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// Errors a window can act on.
enum class FsError {
    None,
    NotFound,           // the folder or file is not there
    DeviceUnavailable,  // the volume is not ready (no medium, gone, I/O error)
    Other
};

// A ";"-separated list of wildcards ("*.bmp;*.jpg"), compiled once and
// matched against whole names without regard to letter case.
class PatternMatcher {
public:
    explicit PatternMatcher(const QString& pattern);
    bool Matches(const QString& name) const;

private:
    QList<QRegularExpression> parts_;
};

// The file system as the game sees it: folders of ordinary files, listed by
// a ";"-separated wildcard pattern matched without regard to letter case.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Names (not paths) of the ordinary, non-hidden files of `folder` that
    // match `pattern`, sorted by name. On failure: empty list and *error set.
    virtual QStringList ListFiles(const QString& folder, const QString& pattern,
                                  FsError* error = nullptr) = 0;
    // Names of the non-hidden subfolders of `folder`, sorted by name.
    virtual QStringList ListFolders(const QString& folder, FsError* error = nullptr) = 0;
    virtual bool IsFile(const QString& path) = 0;
    virtual bool IsFolder(const QString& path) = 0;
    // The mounted volumes, by their root paths.
    virtual QStringList Drives() = 0;
    // The root of the volume that holds `path`.
    virtual QString DriveOf(const QString& path) = 0;
    // Where the system's table of file systems mounts volumes, mounted now or not.
    virtual QStringList ConfiguredMountPoints() { return {}; }

    // The steps of an atomic file replacement (textfile::WriteAtomic). Each
    // returns 0 or the errno value of its failure, so a double can make any
    // one of them fail the way a full or broken disk does. The real ones are
    // the system calls, used by every implementation unless it overrides them.
    virtual int CreateNew(const QString& path, int* fd);  // exclusive, for writing
    virtual int WriteSome(int fd, const char* data, qint64 size, qint64* written);
    virtual int Sync(int fd);
    virtual int SizeOf(int fd, qint64* size);
    virtual int Close(int fd);
    virtual int Rename(const QString& from, const QString& to);
    virtual int Remove(const QString& path);

    static bool MatchesPattern(const QString& name, const QString& pattern);
    // Joins a folder and a name with one separator.
    static QString Join(const QString& folder, const QString& name);
    static void SortNames(QStringList& names);
};

class RealFileSystem final : public FileSystem {
public:
    QStringList ListFiles(const QString& folder, const QString& pattern,
                          FsError* error = nullptr) override;
    QStringList ListFolders(const QString& folder, FsError* error = nullptr) override;
    bool IsFile(const QString& path) override;
    bool IsFolder(const QString& path) override;
    QStringList Drives() override;
    QString DriveOf(const QString& path) override;
    QStringList ConfiguredMountPoints() override;
};
