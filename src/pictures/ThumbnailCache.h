#pragma once
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

#include "TavimoVersion.h"

// The desktop's shared cache of small copies of pictures, which file
// managers and image viewers fill too: one PNG per file and size, named
// after the file's URI, stamped with the file's modification time. A copy is
// used only when its stamp still matches the file; anything doubtful counts
// as no copy at all. Folders that another user could have planted or may
// write into are neither read nor written. Safe to use from several threads.
class ThumbnailCache {
public:
    // The program's own folder for pictures it could not decode.
    static constexpr const char* FailFolder = "fail/tavimo-" TAVIMO_VERSION;

    // An empty root means $XDG_CACHE_HOME/thumbnails (or ~/.cache/thumbnails),
    // looked up again at every call.
    explicit ThumbnailCache(QString root = {});

    // What a copy must agree with: the file's modification time in whole
    // seconds and its size.
    struct Stamp {
        qint64 mtime = 0;
        qint64 size = 0;
        bool operator==(const Stamp&) const = default;
    };
    // Nothing for what is not an ordinary local file (resources, pipes, gone).
    static std::optional<Stamp> StampOf(const QString& path);

    static QByteArray Uri(const QString& path);
    // The copy's file name: the URI's MD5 in hex, ".png".
    static QString FileName(const QString& path);

    // The smallest size folder whose copies are at least `want` on both sides.
    struct Bucket {
        QString folder;
        int edge = 0;
    };
    static std::optional<Bucket> BucketFor(QSize want);

    QString Root() const;

    // A copy at least `want`, scaled down to fit it. naturalSize is the
    // original's size when the copy records it, else invalid.
    struct Hit {
        QImage image;
        QSize naturalSize;
    };
    std::optional<Hit> Read(const QString& path, QSize want, const Stamp& stamp) const;
    // True when the file is recorded as one the program could not decode.
    bool HasFailure(const QString& path, const Stamp& stamp) const;

    // Stores `image` (upright, from an original of `natural` size) in the
    // folder for `want`, scaled down to the folder's size. False when it was
    // skipped: no safe folder, disk full, read-only cache.
    bool Write(const QString& path, QSize want, const QImage& image, QSize natural,
               const Stamp& stamp) const;
    bool WriteFailure(const QString& path, const Stamp& stamp) const;

    // Removes the program's own temporary copies that a killed run left in
    // the cache's folders (older than a minute: another copy may be writing
    // one now). Returns how many went.
    int RemoveStaleTemporaries() const;

private:
    QString root_;
};
