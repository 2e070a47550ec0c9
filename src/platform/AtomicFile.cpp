#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace atomicfile {

namespace {

// The platform's file system, or the real one where none is installed (the
// build-time tools).
FileSystem& Fs(const Options& options) {
    static RealFileSystem real;
    if (options.fs) return *options.fs;
    FileSystem* fs = platform().fs.get();
    return fs ? *fs : real;
}

QString TemporaryName(const QString& name) {
    static const char chars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString suffix;
    for (int i = 0; i < 6; ++i)
        suffix += QChar(chars[QRandomGenerator::global()->bounded(int(sizeof chars) - 1)]);
    return name + ".tmp-" + suffix;
}

// Makes the rename itself last through a power cut; a file system that
// cannot sync a folder still has the file whole, so failures are ignored.
void SyncFolder(const QString& folder) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

// Where the bytes really go: the path itself, or the file a link names when
// that is an ordinary file of this user. Empty with *why when refused.
QString Target(const QString& path, QString* why) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char resolved[PATH_MAX];
    if (!::realpath(name.constData(), resolved)) {
        *why =
            QCoreApplication::translate("AtomicFile", "it is a link to a file that does not exist");
        return {};
    }
    struct stat target {};
    if (::lstat(resolved, &target) != 0 || !S_ISREG(target.st_mode)) {
        *why = QCoreApplication::translate("AtomicFile",
                                           "it is a link to something that is not a file");
        return {};
    }
    if (target.st_uid != ::geteuid()) {
        *why = QCoreApplication::translate("AtomicFile", "it is a link to a file of another user");
        return {};
    }
    return QFile::decodeName(resolved);
}

// Gives the new file the old one's owner, group and mode, or the mode asked
// for a new file. A file whose owner cannot be kept is not replaced.
int TakeOver(int fd, const struct stat* old, const Options& options, QString* why) {
    if (!old) {
        if (options.newFileMode && ::fchmod(fd, *options.newFileMode) != 0) return errno;
        return 0;
    }
    struct stat now {};
    if (::fstat(fd, &now) != 0) return errno;
    if ((now.st_uid != old->st_uid || now.st_gid != old->st_gid) &&
        ::fchown(fd, old->st_uid, old->st_gid) != 0) {
        *why = QCoreApplication::translate("AtomicFile", "it belongs to another user or group");
        return EPERM;
    }
    return ::fchmod(fd, old->st_mode & 07777 & ~mode_t(S_ISUID | S_ISGID)) == 0 ? 0 : errno;
}

}  // namespace

QString Reason(int err) {
    switch (err) {
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return QCoreApplication::translate("AtomicFile", "disk full");
        case EROFS:
            return QCoreApplication::translate("AtomicFile", "the disk is read-only");
        case EACCES:
        case EPERM:
            return QCoreApplication::translate("AtomicFile", "permission denied");
        case EISDIR:
            return QCoreApplication::translate("AtomicFile", "a folder has that name");
        case ENOENT:
        case ENOTDIR:
            return QCoreApplication::translate("AtomicFile", "the folder is missing");
        case EIO:
            return QCoreApplication::translate("AtomicFile", "the disk reported an error");
        default:
            return QString::fromLocal8Bit(std::strerror(err));
    }
}

bool IsReadOnly(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode) &&
           (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool Write(const QString& path, const QByteArray& bytes, QString* error, const Options& options) {
    FileSystem& fs = Fs(options);
    QString why;
    const auto fail = [&](int err) {
        if (error) *error = why.isEmpty() ? Reason(err) : why;
        return false;
    };

    const QString target = Target(path, &why);
    if (target.isEmpty()) return fail(EPERM);
    const QString folder = QFileInfo(target).absolutePath();
    struct stat old {};
    const bool exists = ::lstat(QFile::encodeName(target).constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) return fail(EISDIR);
    if (exists && !S_ISREG(old.st_mode)) {
        why = QCoreApplication::translate("AtomicFile", "it is not an ordinary file");
        return fail(EPERM);
    }

    // A file that already holds these bytes needs no write: start-up saves
    // the folder list unchanged, which on a full disk would fail every time.
    if (exists && old.st_size == bytes.size()) {
        QFile current(target);
        if (current.open(QIODevice::ReadOnly) && current.readAll() == bytes) return true;
    }
    // Nobody may write it: the player protects it, and root respects that too.
    if (exists && (old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        why = QCoreApplication::translate("AtomicFile", "the file is read-only");
        return fail(EACCES);
    }

    int fd = -1;
    QString temporary;
    int err = EEXIST;
    for (int attempt = 0; attempt < 100 && err == EEXIST; ++attempt) {
        temporary = FileSystem::Join(folder, TemporaryName(QFileInfo(target).fileName()));
        err = fs.CreateNew(temporary, &fd);
    }
    if (err != 0) return fail(err);

    // Every step is checked here: a buffered writer may report success for
    // bytes a full disk never took.
    err = TakeOver(fd, exists ? &old : nullptr, options, &why);
    qint64 done = 0;
    while (err == 0 && done < bytes.size()) {
        qint64 n = 0;
        err = fs.WriteSome(fd, bytes.constData() + done, bytes.size() - done, &n);
        if (err == 0 && n <= 0) err = ENOSPC;
        done += n;
    }
    if (err == 0) err = fs.Sync(fd);
    if (err == 0) {
        qint64 size = -1;
        err = fs.SizeOf(fd, &size);
        if (err == 0 && size != bytes.size()) {
            err = ENOSPC;
            why = QCoreApplication::translate("AtomicFile",
                                              "disk full (only %1 of %2 bytes were stored)")
                      .arg(size)
                      .arg(bytes.size());
        }
    }
    const int closed = fs.Close(fd);
    if (err == 0) err = closed;
    if (err == 0) err = fs.Rename(temporary, target);
    if (err != 0) {
        fs.Remove(temporary);
        return fail(err);
    }
    SyncFolder(folder);
    return true;
}

int RemoveStaleTemporaries(const QString& folder, const QString& namePattern) {
    const QRegularExpression ours(QStringLiteral("^(%1)\\.tmp-[A-Za-z0-9]{6}$").arg(namePattern),
                                  QRegularExpression::CaseInsensitiveOption);
    int removed = 0;
    const QDir dir(folder);
    const QDateTime settled = QDateTime::currentDateTimeUtc().addSecs(-60);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!ours.match(name).hasMatch()) continue;
        const QFileInfo info(dir.filePath(name));
        // Only the writer's own ordinary files: never a link's target.
        if (info.isSymLink() || info.lastModified().toUTC() > settled) continue;
        if (QFile::remove(info.filePath())) ++removed;
    }
    return removed;
}

}  // namespace atomicfile
