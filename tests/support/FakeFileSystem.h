#pragma once
#include <QHash>
#include <QStringList>

#include "platform/FileSystem.h"

// Test double: folders and their files are declared by the test, and any
// folder can be made to fail with a chosen error. Files are written to the
// real disk, and any step of a write can be made to fail.
class FakeFileSystem final : public FileSystem {
public:
    enum class Step { None, CreateNew, Write, Sync, SizeOf, Close, Rename };
    // The write step that fails and its errno value. A failing Write first
    // takes `acceptBytes`; with `silent` it claims the whole size instead of
    // failing, as a buffered write on a full disk does.
    struct WriteFault {
        Step step = Step::None;
        int error = 0;
        qint64 acceptBytes = 0;
        bool silent = false;
    };
    WriteFault writeFault;
    QStringList created;  // every file CreateNew made, in order

    int CreateNew(const QString& path, int* fd) override;
    int WriteSome(int fd, const char* data, qint64 size, qint64* written) override;
    int Sync(int fd) override;
    int SizeOf(int fd, qint64* size) override;
    int Close(int fd) override;
    int Rename(const QString& from, const QString& to) override;

    void AddFile(const QString& folder, const QString& name);
    void AddFolder(const QString& folder);
    void RemoveFolder(const QString& folder);
    void SetError(const QString& folder, FsError error) { errors_[Key(folder)] = error; }
    void ClearError(const QString& folder) { errors_.remove(Key(folder)); }
    QStringList drives = {"/"};
    QStringList mountPoints;
    int listCalls = 0;

    QStringList ListFiles(const QString& folder, const QString& pattern,
                          FsError* error = nullptr) override;
    QStringList ListFolders(const QString& folder, FsError* error = nullptr) override;
    bool IsFile(const QString& path) override;
    bool IsFolder(const QString& path) override;
    QStringList Drives() override { return drives; }
    QStringList ConfiguredMountPoints() override { return mountPoints; }
    QString DriveOf(const QString& path) override;

private:
    static QString Key(const QString& folder);
    QHash<QString, QStringList> files_;  // folder -> names
    QHash<QString, FsError> errors_;
};
