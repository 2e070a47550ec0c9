#include "FakeFileSystem.h"

#include <algorithm>

namespace {
void Set(FsError* out, FsError e) {
    if (out) *out = e;
}
}  // namespace

int FakeFileSystem::CreateNew(const QString& path, int* fd) {
    if (writeFault.step == Step::CreateNew) {
        *fd = -1;
        return writeFault.error;
    }
    const int err = FileSystem::CreateNew(path, fd);
    if (err == 0) created.append(path);
    return err;
}

int FakeFileSystem::WriteSome(int fd, const char* data, qint64 size, qint64* written) {
    if (writeFault.step != Step::Write) return FileSystem::WriteSome(fd, data, size, written);
    // The disk takes what it still has room for; the rest is refused or,
    // silently, lost.
    const qint64 room = std::min(size, writeFault.acceptBytes);
    qint64 took = 0;
    if (room > 0) {
        if (const int err = FileSystem::WriteSome(fd, data, room, &took)) return err;
        writeFault.acceptBytes -= took;
    }
    if (writeFault.silent) {
        *written = size;
        return 0;
    }
    *written = took;
    return took > 0 ? 0 : writeFault.error;
}

int FakeFileSystem::Sync(int fd) {
    return writeFault.step == Step::Sync ? writeFault.error : FileSystem::Sync(fd);
}

int FakeFileSystem::SizeOf(int fd, qint64* size) {
    return writeFault.step == Step::SizeOf ? writeFault.error : FileSystem::SizeOf(fd, size);
}

int FakeFileSystem::Close(int fd) {
    // The descriptor is closed even when the close reports a failure.
    const int err = FileSystem::Close(fd);
    return writeFault.step == Step::Close ? writeFault.error : err;
}

int FakeFileSystem::Rename(const QString& from, const QString& to) {
    return writeFault.step == Step::Rename ? writeFault.error : FileSystem::Rename(from, to);
}

QString FakeFileSystem::Key(const QString& folder) {
    QString k = folder;
    while (k.size() > 1 && k.endsWith('/')) k.chop(1);
    return k;
}

void FakeFileSystem::AddFolder(const QString& folder) {
    const QString k = Key(folder);
    if (!files_.contains(k)) files_.insert(k, {});
}

void FakeFileSystem::AddFile(const QString& folder, const QString& name) {
    files_[Key(folder)].append(name);
}

void FakeFileSystem::RemoveFolder(const QString& folder) {
    files_.remove(Key(folder));
}

QStringList FakeFileSystem::ListFiles(const QString& folder, const QString& pattern,
                                      FsError* error) {
    ++listCalls;
    const QString k = Key(folder);
    if (errors_.contains(k)) {
        Set(error, errors_.value(k));
        return {};
    }
    if (!files_.contains(k)) {
        Set(error, FsError::NotFound);
        return {};
    }
    Set(error, FsError::None);
    const PatternMatcher matcher(pattern);
    QStringList out;
    for (const QString& n : files_.value(k))
        if (!n.startsWith('.') && matcher.Matches(n)) out.append(n);
    SortNames(out);
    return out;
}

QStringList FakeFileSystem::ListFolders(const QString& folder, FsError* error) {
    const QString k = Key(folder);
    if (errors_.contains(k)) {
        Set(error, errors_.value(k));
        return {};
    }
    Set(error, FsError::None);
    QStringList out;
    const QString prefix = k.endsWith('/') ? k : k + '/';
    for (auto it = files_.cbegin(); it != files_.cend(); ++it) {
        if (!it.key().startsWith(prefix)) continue;
        const QString rest = it.key().mid(prefix.size());
        const QString first = rest.section('/', 0, 0);
        if (!first.isEmpty() && !first.startsWith('.') && !out.contains(first)) out.append(first);
    }
    SortNames(out);
    return out;
}

bool FakeFileSystem::IsFile(const QString& path) {
    const int slash = path.lastIndexOf('/');
    const QString folder = slash <= 0 ? QStringLiteral("/") : path.left(slash);
    const QString k = Key(folder);
    return !errors_.contains(k) && files_.value(k).contains(path.mid(slash + 1));
}

bool FakeFileSystem::IsFolder(const QString& path) {
    const QString k = Key(path);
    return files_.contains(k) && !errors_.contains(k);
}

QString FakeFileSystem::DriveOf(const QString& path) {
    QString best = "/";
    for (const QString& d : drives)
        if (path.startsWith(d) && d.size() > best.size()) best = d;
    return best;
}
