#include "pictures/ThumbnailCache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QRegularExpression>
#include <QUrl>
#include <array>
#include <cerrno>
#include <cstdlib>

#include "pictures/DecodeCost.h"
#include "pictures/PictureLoader.h"
#include "platform/AtomicFile.h"
#include "platform/FileNames.h"
#include "platform/FileSystem.h"

namespace {

constexpr qint64 MaxThumbnailBytes = 16 * 1024 * 1024;
constexpr int FastPngQuality = 80;

// A folder is trusted only when it is a real folder of this user that
// nobody else may write into: otherwise someone could plant pictures in it
// or point it elsewhere.
bool SafeFolder(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// The folder `sub` below the root, every step of it checked; empty when any
// step is missing or not to be trusted. With `create`, missing steps are made.
QString Folder(const QString& root, const QString& sub, bool create) {
    if (create && !QFileInfo::exists(root)) {
        const QString base = QFileInfo(root).absolutePath();
        if (!QFileInfo::exists(base) && QDir().mkpath(base))
            QFile::setPermissions(base, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString path = root;
    const auto step = [&](const QString& p) {
        if (create && ::mkdir(QFile::encodeName(p).constData(), 0700) != 0 && errno != EEXIST)
            return false;
        return SafeFolder(p);
    };
    if (!step(path)) return {};
    for (const QString& part : sub.split(u'/', Qt::SkipEmptyParts)) {
        path += u'/' + part;
        if (!step(path)) return {};
    }
    return path;
}

// A stored copy, decoded, when its stamp matches; anything else is no copy.
std::optional<QImage> ReadStamped(const QString& file, const QByteArray& uri,
                                  const ThumbnailCache::Stamp& stamp, int maxEdge) {
    auto bytes = PictureLoader::ReadRegularFile(file, MaxThumbnailBytes, nullptr, O_NOFOLLOW);
    if (!bytes || PictureLoader::DetectFormat(bytes->left(16)) != "png") return std::nullopt;
    // A cut-off file decodes to a partly grey picture rather than failing.
    if (bytes->size() < 12 || bytes->right(12).mid(4, 4) != "IEND") return std::nullopt;
    // Only the cache's own keys are read, each and their number capped; no
    // other text chunk reaches the decoder.
    QMap<QString, QString> keys;
    auto pixels = decodecost::PngPixelsOnly(*bytes, &keys);
    if (!pixels) return std::nullopt;
    bytes = std::move(pixels);
    QBuffer buffer(&*bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return std::nullopt;
    QImageReader reader(&buffer, "png");
    reader.setDecideFormatFromContent(false);
    // The orientation was applied when the copy was made.
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() || size.width() > maxEdge || size.height() > maxEdge)
        return std::nullopt;
    QImage image = reader.read();
    if (image.isNull()) return std::nullopt;
    for (auto key = keys.cbegin(); key != keys.cend(); ++key) image.setText(key.key(), key.value());
    if (image.text("Thumb::URI").toUtf8() != uri) return std::nullopt;
    bool ok = false;
    const qint64 mtime = image.text("Thumb::MTime").toLongLong(&ok);
    if (!ok || mtime != stamp.mtime) return std::nullopt;
    const QString size_ = image.text("Thumb::Size");
    if (!size_.isEmpty() && (size_.toLongLong(&ok) != stamp.size || !ok)) return std::nullopt;
    return image;
}

void SetStamp(QImage& image, const QString& path, const ThumbnailCache::Stamp& stamp) {
    image.setText("Thumb::URI", QString::fromLatin1(ThumbnailCache::Uri(path)));
    image.setText("Thumb::MTime", QString::number(stamp.mtime));
    image.setText("Thumb::Size", QString::number(stamp.size));
    image.setText("Software", "Tavimo " TAVIMO_VERSION);
}

// Encoded in memory, then stored through the one atomic writer: no reader
// ever sees half a file, and the copy is private to the user like the
// folders. The real disk always: the writer runs on its own thread.
bool WriteAtomically(const QString& folder, const QString& name, const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    QImageWriter writer(&buffer, "png");
    // Deflate's fastest level (Qt maps this quality to level 1): a copy is
    // written after every new deal and only has to be read back quickly.
    writer.setQuality(FastPngQuality);
    if (!buffer.open(QIODevice::WriteOnly) || !writer.write(image)) return false;
    static RealFileSystem disk;
    atomicfile::Options options;
    options.newFileMode = 0600;
    options.fs = &disk;
    return atomicfile::Write(folder + u'/' + name, png, nullptr, options);
}

// What an older version's writer left when killed: "<md5>.png.XXXXXX",
// empty or stamped by this program (another program's temporary of the same
// shape is not ours to remove).
bool OldTemporaryOfOurs(const QFileInfo& info) {
    static const QRegularExpression name(QStringLiteral("^[0-9a-f]{32}\\.png\\.[A-Za-z0-9]{6}$"));
    if (!name.match(info.fileName()).hasMatch() || info.isSymLink() || !info.isFile()) return false;
    if (info.lastModified().toUTC() > QDateTime::currentDateTimeUtc().addSecs(-60)) return false;
    QFile f(info.filePath());
    return f.open(QIODevice::ReadOnly) && (f.size() == 0 || f.read(4096).contains("Tavimo"));
}

}  // namespace

ThumbnailCache::ThumbnailCache(QString root) : root_(std::move(root)) {}

QString ThumbnailCache::Root() const {
    if (!root_.isEmpty()) return root_;
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    // A relative setting is to be ignored.
    if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + "/.cache";
    return base + "/thumbnails";
}

std::optional<ThumbnailCache::Stamp> ThumbnailCache::StampOf(const QString& path) {
    if (path.isEmpty() || path.startsWith(u':')) return std::nullopt;
    struct stat st {};
    if (::stat(filenames::Encode(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return Stamp{qint64(st.st_mtim.tv_sec), qint64(st.st_size)};
}

QByteArray ThumbnailCache::Uri(const QString& path) {
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded();
}

QString ThumbnailCache::FileName(const QString& path) {
    return QString::fromLatin1(
               QCryptographicHash::hash(Uri(path), QCryptographicHash::Md5).toHex()) +
           ".png";
}

std::optional<ThumbnailCache::Bucket> ThumbnailCache::BucketFor(QSize want) {
    static const std::array<std::pair<const char*, int>, 4> buckets = {
        {{"normal", 128}, {"large", 256}, {"x-large", 512}, {"xx-large", 1024}}};
    const int side = std::max(want.width(), want.height());
    if (side <= 0) return std::nullopt;
    for (const auto& [folder, edge] : buckets)
        if (edge >= side) return Bucket{QString::fromLatin1(folder), edge};
    return std::nullopt;
}

std::optional<ThumbnailCache::Hit> ThumbnailCache::Read(const QString& path, QSize want,
                                                        const Stamp& stamp) const {
    const auto bucket = BucketFor(want);
    if (!bucket) return std::nullopt;
    const QString folder = Folder(Root(), bucket->folder, false);
    if (folder.isEmpty()) return std::nullopt;
    auto image = ReadStamped(folder + u'/' + FileName(path), Uri(path), stamp, bucket->edge);
    if (!image) return std::nullopt;
    Hit hit;
    bool ok = false, ok2 = false;
    const int w = image->text("Thumb::Image::Width").toInt(&ok);
    const int h = image->text("Thumb::Image::Height").toInt(&ok2);
    if (ok && ok2 && w > 0 && h > 0) hit.naturalSize = QSize(w, h);
    const QSize fit = PictureLoader::FitWithin(image->size(), want);
    hit.image = fit == image->size()
                    ? std::move(*image)
                    : image->scaled(fit, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return hit;
}

bool ThumbnailCache::HasFailure(const QString& path, const Stamp& stamp) const {
    const QString folder = Folder(Root(), FailFolder, false);
    return !folder.isEmpty() &&
           ReadStamped(folder + u'/' + FileName(path), Uri(path), stamp, 1024).has_value();
}

bool ThumbnailCache::Write(const QString& path, QSize want, const QImage& image, QSize natural,
                           const Stamp& stamp) const {
    const auto bucket = BucketFor(want);
    if (!bucket || image.isNull()) return false;
    const QString folder = Folder(Root(), bucket->folder, true);
    if (folder.isEmpty()) return false;
    const QSize fit = PictureLoader::FitWithin(image.size(), QSize(bucket->edge, bucket->edge));
    QImage out = fit == image.size()
                     ? image
                     : image.scaled(fit, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    SetStamp(out, path, stamp);
    if (natural.isValid()) {
        out.setText("Thumb::Image::Width", QString::number(natural.width()));
        out.setText("Thumb::Image::Height", QString::number(natural.height()));
    }
    return WriteAtomically(folder, FileName(path), out);
}

bool ThumbnailCache::WriteFailure(const QString& path, const Stamp& stamp) const {
    const QString folder = Folder(Root(), FailFolder, true);
    if (folder.isEmpty()) return false;
    QImage mark(1, 1, QImage::Format_ARGB32);
    mark.fill(Qt::transparent);
    SetStamp(mark, path, stamp);
    return WriteAtomically(folder, FileName(path), mark);
}

int ThumbnailCache::RemoveStaleTemporaries() const {
    int removed = 0;
    for (const QString sub : {"normal", "large", "x-large", "xx-large", FailFolder}) {
        const QString folder = Folder(Root(), sub, false);
        if (folder.isEmpty()) continue;
        removed += atomicfile::RemoveStaleTemporaries(folder, QStringLiteral("[0-9a-f]{32}\\.png"));
        for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden))
            if (OldTemporaryOfOurs(info) && QFile::remove(info.filePath())) ++removed;
    }
    return removed;
}
