#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <mntent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>
#include <algorithm>
#include <cerrno>

PatternMatcher::PatternMatcher(const QString& pattern) {
    for (const QString& part : pattern.split(';', Qt::SkipEmptyParts)) {
        const QString wild = part.trimmed();
        if (wild.isEmpty()) continue;
        parts_.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(wild),
                                         QRegularExpression::CaseInsensitiveOption));
    }
}

bool PatternMatcher::Matches(const QString& name) const {
    for (const QRegularExpression& re : parts_)
        if (re.match(name).hasMatch()) return true;
    return false;
}

bool FileSystem::MatchesPattern(const QString& name, const QString& pattern) {
    return PatternMatcher(pattern).Matches(name);
}

QString FileSystem::Join(const QString& folder, const QString& name) {
    if (folder.isEmpty()) return name;
    if (folder.endsWith('/')) return folder + name;
    return folder + '/' + name;
}

void FileSystem::SortNames(QStringList& names) {
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
}

// ---- The steps of an atomic write ----

int FileSystem::CreateNew(const QString& path, int* fd) {
    *fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    return *fd < 0 ? errno : 0;
}

int FileSystem::WriteSome(int fd, const char* data, qint64 size, qint64* written) {
    *written = 0;
    for (;;) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n >= 0) {
            *written = n;
            return 0;
        }
        if (errno != EINTR) return errno;
    }
}

int FileSystem::Sync(int fd) {
    return ::fsync(fd) == 0 ? 0 : errno;
}

int FileSystem::SizeOf(int fd, qint64* size) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return errno;
    *size = st.st_size;
    return 0;
}

// Not retried on EINTR: on Linux the descriptor is gone either way.
int FileSystem::Close(int fd) {
    return ::close(fd) == 0 ? 0 : errno;
}

int FileSystem::Rename(const QString& from, const QString& to) {
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0
               ? 0
               : errno;
}

int FileSystem::Remove(const QString& path) {
    return ::unlink(QFile::encodeName(path).constData()) == 0 ? 0 : errno;
}

namespace {
FsError FromErrno(int e) {
    switch (e) {
        case ENOENT:
        case ENOTDIR:
            return FsError::NotFound;
        case ENOMEDIUM:
        case ENODEV:
        case ENXIO:
        case EIO:
        case ESTALE:
        case EHOSTDOWN:
        case ENOTCONN:
            return FsError::DeviceUnavailable;
        default:
            return FsError::Other;
    }
}
void Set(FsError* out, FsError e) {
    if (out) *out = e;
}

// Reads a folder's entries with one pass of readdir; `wantFolders` picks
// subfolders instead of ordinary files. Dot entries count as hidden.
QStringList ReadFolder(const QString& folder, bool wantFolders, FsError* error,
                       const QString& pattern = QString()) {
    Set(error, FsError::None);
    const QByteArray path = QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
    DIR* dir = ::opendir(path.constData());
    if (!dir) {
        Set(error, FromErrno(errno));
        return {};
    }
    const PatternMatcher matcher(pattern);
    QStringList names;
    errno = 0;
    while (dirent* ent = ::readdir(dir)) {
        if (ent->d_name[0] == '.') continue;
        const QString name = QFile::decodeName(ent->d_name);
        bool isDir = false, isFile = false;
        if (ent->d_type == DT_DIR) {
            isDir = true;
        } else if (ent->d_type == DT_REG) {
            isFile = true;
        } else {
            // Links and unknown types: ask for what they lead to.
            struct stat st {};
            const QByteArray full = path + '/' + QByteArray(ent->d_name);
            if (::stat(full.constData(), &st) == 0) {
                isDir = S_ISDIR(st.st_mode);
                isFile = S_ISREG(st.st_mode);
            }
        }
        if (wantFolders ? isDir : (isFile && matcher.Matches(name))) names.append(name);
        errno = 0;
    }
    const int readErr = errno;
    ::closedir(dir);
    if (readErr != 0) {
        Set(error, FromErrno(readErr));
        return {};
    }
    FileSystem::SortNames(names);
    return names;
}
}  // namespace

QStringList RealFileSystem::ListFiles(const QString& folder, const QString& pattern,
                                      FsError* error) {
    return ReadFolder(folder, false, error, pattern);
}

QStringList RealFileSystem::ListFolders(const QString& folder, FsError* error) {
    return ReadFolder(folder, true, error);
}

bool RealFileSystem::IsFile(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool RealFileSystem::IsFolder(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

QStringList RealFileSystem::Drives() {
    QStringList roots;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        if (!v.isValid()) continue;
        const QByteArray type = v.fileSystemType();
        // Kernel bookkeeping file systems are no place for pictures.
        static const QList<QByteArray> skip = {
            "proc",     "sysfs",   "devpts",      "cgroup",  "cgroup2", "securityfs",
            "pstore",   "bpf",     "tracefs",     "debugfs", "mqueue",  "hugetlbfs",
            "configfs", "fusectl", "binfmt_misc", "autofs",  "nsfs"};
        if (skip.contains(type)) continue;
        if (!roots.contains(v.rootPath())) roots.append(v.rootPath());
    }
    if (!roots.contains("/")) roots.prepend("/");
    std::sort(roots.begin(), roots.end());
    return roots;
}

QString RealFileSystem::DriveOf(const QString& path) {
    const QStorageInfo info(path);
    return info.isValid() ? info.rootPath() : QStringLiteral("/");
}

QStringList RealFileSystem::ConfiguredMountPoints() {
    // The C library reads the table and undoes its escapes (\040 for a blank).
    FILE* table = setmntent("/etc/fstab", "r");
    if (!table) return {};
    QStringList out;
    mntent entry{};
    char line[4096];
    while (getmntent_r(table, &entry, line, sizeof line)) {
        if (entry.mnt_dir[0] != '/') continue;
        const QString point = QFile::decodeName(entry.mnt_dir);
        if (point != "/" && !out.contains(point)) out.append(point);
    }
    endmntent(table);
    return out;
}
