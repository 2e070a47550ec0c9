#include "platform/TextFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringDecoder>
#include <cerrno>
#include <cstring>

#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace textfile {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; the five codes it
// leaves undefined keep their Latin-1 meaning.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString FromCp1252(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* d = out.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *d++ = QChar(b >= 0x80 && b < 0xA0 ? Cp1252High[b - 0x80] : char16_t(b));
    }
    return out;
}

// The file system the writes go through: the platform's, or the real one
// where no platform is installed (the build-time tools).
FileSystem& Fs() {
    static RealFileSystem real;
    FileSystem* fs = platform().fs.get();
    return fs ? *fs : real;
}

// A few words the player understands.
QString Reason(int err) {
    switch (err) {
        case ENOSPC:
        case EDQUOT:
            return QStringLiteral("disk full");
        case EROFS:
            return QStringLiteral("the disk is read-only");
        case EACCES:
        case EPERM:
            return QStringLiteral("permission denied");
        case EISDIR:
            return QStringLiteral("a folder has that name");
        case ENOENT:
        case ENOTDIR:
            return QStringLiteral("the folder is missing");
        case EIO:
            return QStringLiteral("the disk reported an error");
        default:
            return QString::fromLocal8Bit(std::strerror(err));
    }
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

}  // namespace

QString DecodeLine(QByteArrayView line) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(line);
    return utf8.hasError() ? FromCp1252(line) : text;
}

QString Decode(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end + 1;
        text += DecodeLine(bytes.sliced(start, end - start));
        start = end;
    }
    return text;
}

ReadResult ReadLimited(const QString& path, qint64 maxBytes, QString* text, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = f.errorString();
        return f.exists() ? ReadResult::Failed : ReadResult::Missing;
    }
    // The size is asked first, but a file may grow or lie about it: never
    // more than one byte past the cap is read.
    if (maxBytes >= 0 && f.size() > maxBytes) {
        if (error) *error = QStringLiteral("larger than %1 bytes").arg(maxBytes);
        return ReadResult::TooLarge;
    }
    const QByteArray bytes = maxBytes >= 0 ? f.read(maxBytes + 1) : f.readAll();
    if (f.error() != QFileDevice::NoError) {
        if (error) *error = f.errorString();
        return ReadResult::Failed;
    }
    if (maxBytes >= 0 && bytes.size() > maxBytes) {
        if (error) *error = QStringLiteral("larger than %1 bytes").arg(maxBytes);
        return ReadResult::TooLarge;
    }
    if (text) *text = Decode(bytes);
    return ReadResult::Ok;
}

bool Read(const QString& path, QString* text, QString* error) {
    return ReadLimited(path, -1, text, error) == ReadResult::Ok;
}

bool WriteAtomic(const QString& path, const QString& text, QString* error) {
    FileSystem& fs = Fs();
    const QByteArray bytes = text.toUtf8();

    // A link is followed, so the file it names is replaced and the link stays.
    QString target = path;
    const QFileInfo link(path);
    if (link.isSymLink() && !link.symLinkTarget().isEmpty()) target = link.symLinkTarget();
    const QFileInfo info(target);
    const QString folder = info.absolutePath();

    // A file that already holds these bytes needs no write: start-up saves
    // the folder list unchanged, which on a full disk would fail every time.
    if (info.isFile() && info.size() == bytes.size()) {
        QFile current(target);
        if (current.open(QIODevice::ReadOnly) && current.readAll() == bytes) return true;
    }

    int fd = -1;
    QString temporary;
    int err = EEXIST;
    for (int attempt = 0; attempt < 100 && err == EEXIST; ++attempt) {
        temporary = FileSystem::Join(folder, TemporaryName(info.fileName()));
        err = fs.CreateNew(temporary, &fd);
    }
    if (err != 0) {
        if (error) *error = Reason(err);
        return false;
    }

    // Every step is checked here: a buffered writer may report success for
    // bytes a full disk never took.
    QString why;
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
            why = QStringLiteral("disk full (only %1 of %2 bytes were stored)")
                      .arg(size)
                      .arg(bytes.size());
        }
    }
    const int closed = fs.Close(fd);
    if (err == 0) err = closed;
    if (err == 0) err = fs.Rename(temporary, target);
    if (err != 0) {
        fs.Remove(temporary);
        if (error) *error = why.isEmpty() ? Reason(err) : why;
        return false;
    }
    SyncFolder(folder);
    return true;
}

QString SaveFailedMessage(const QString& path, const QString& error) {
    return QStringLiteral("Tavimo could not save %1: %2.\nThe file was left as it was.")
        .arg(QDir::toNativeSeparators(path),
             error.isEmpty() ? QStringLiteral("unknown error") : error);
}

int RemoveStaleTemporaries(const QString& folder, const QStringList& names) {
    QStringList alternatives;
    for (const QString& n : names) alternatives << QRegularExpression::escape(n);
    const QRegularExpression ours(
        QStringLiteral("^(%1)\\.tmp-[A-Za-z0-9]{6}$").arg(alternatives.join('|')),
        QRegularExpression::CaseInsensitiveOption);
    int removed = 0;
    const QDir dir(folder);
    const QDateTime settled = QDateTime::currentDateTimeUtc().addSecs(-60);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!ours.match(name).hasMatch()) continue;
        const QFileInfo info(dir.filePath(name));
        if (info.lastModified().toUTC() > settled) continue;
        if (QFile::remove(info.filePath())) ++removed;
    }
    return removed;
}

bool KeepAside(const QString& path, const QString& damagedPath) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return true;
    // A folder or a device in the file's place is not ours to move.
    if (!info.isFile()) return false;
    if (info.size() == 0) return true;
    for (int i = 1; i <= 99; ++i) {
        const QString target = i == 1 ? damagedPath : damagedPath + "." + QString::number(i);
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) continue;
        return QFile::rename(path, target);
    }
    return false;
}

bool HasControlCharacters(QStringView text) {
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control) return true;
    return false;
}

QString FindCaseInsensitive(const QString& folder, const QString& name) {
    const QString exact = FileSystem::Join(folder, name);
    if (QFile::exists(exact)) return exact;
    const QStringList entries =
        QDir(folder.isEmpty() ? QStringLiteral(".") : folder)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0) return FileSystem::Join(folder, e);
    return exact;
}

}  // namespace textfile
