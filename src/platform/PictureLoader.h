#pragma once
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// A decoded picture that remembers its file, so a window that needs the
// natural size (the viewer) can decode it again.
struct Picture {
    QImage image;       // as decoded; scaled down when a maximum size was asked for
    QString file;       // the file it came from
    QSize naturalSize;  // the file's own size, upright
};

// The one way in for every picture file: BMP, GIF, JPEG, ICO through Qt's
// readers, WMF (placeable and plain) through libwmflite drawn with QPainter.
// The decoder is chosen by content where the extension lies. Every failure
// (missing, unreadable, truncated, corrupt, unsupported, too large) returns
// nothing; nothing throws.
class PictureLoader {
public:
    static constexpr int DefaultAllocationLimitMB = 128;

    virtual ~PictureLoader() = default;

    // Decodes `path`. With a valid `maxSize` the picture is decoded scaled to
    // fit inside it (aspect kept, never enlarged), using the decoder's own
    // scaled decoding. EXIF orientation is applied.
    virtual std::optional<Picture> Load(const QString& path, QSize maxSize = QSize(),
                                        int allocationLimitMB = DefaultAllocationLimitMB);

    // Decodes many files on a small worker pool, largest files first, and
    // hands the results to `consume` strictly in the order of `paths`, on the
    // calling thread, as soon as each next one is ready. `consume` returning
    // false stops the work (files not yet handed over are dropped).
    virtual void LoadMany(const QStringList& paths, QSize maxSize,
                          const std::function<bool(int index, std::optional<Picture>)>& consume);
};
