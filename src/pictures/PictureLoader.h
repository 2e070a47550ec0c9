#pragma once
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class ThumbnailCache;

// A decoded picture that remembers its file, so a window that needs the
// natural size (the viewer) can decode it again.
struct Picture {
    QImage image;       // as decoded; scaled down when a maximum size was asked for
    QString file;       // the file it came from
    QSize naturalSize;  // the file's own size, upright
};

// The one way in for every picture file: BMP, GIF, JPEG, ICO, PNG and TIFF
// through Qt's readers, WebP through libwebp, HEIC/HEIF and AVIF through
// libheif, JPEG XL through libjxl, WMF (placeable and plain) through
// libwmflite drawn with QPainter.
// The decoder is chosen by content where the extension lies. Anything else
// (cursors, ...) is refused even where Qt could read it. Every failure
// (missing, unreadable, empty, truncated, corrupt, unsupported, too large)
// returns nothing; nothing throws. Metafiles come out on a transparent background.
class PictureLoader {
public:
    static constexpr int DefaultAllocationLimitMB = 128;
    // Qt's own, process-wide limit: set once, a backstop above every per-call
    // limit (larger per-call limits are cut to it).
    static constexpr int QtAllocationLimitMB = 1024;

    PictureLoader();
    virtual ~PictureLoader();
    PictureLoader(const PictureLoader&) = delete;
    PictureLoader& operator=(const PictureLoader&) = delete;

    // Decodes `path`. With a valid `maxSize` the picture is decoded scaled to
    // fit inside it (aspect kept, never enlarged), using the decoder's own
    // scaled decoding. EXIF orientation is applied. A picture whose announced
    // size needs more than `allocationLimitMB` is refused before decoding.
    // Safe to call from several threads at once.
    virtual std::optional<Picture> Load(const QString& path, QSize maxSize = QSize(),
                                        int allocationLimitMB = DefaultAllocationLimitMB);

    // Decodes many files on a small worker pool, largest files first, and
    // hands the results to `consume` strictly in the order of `paths`, on the
    // calling thread, as soon as each next one is ready. `consume` returning
    // false stops the work (files not yet handed over are dropped). Workers
    // call Load, so an override of Load must be thread-safe. Returns when every
    // worker has ended.
    // A picture with a matching copy in the thumbnail cache is taken from
    // there without calling Load; one recorded there as undecodable fails
    // without it. The base Load decodes each other file once, at the size
    // the cache's copy needs, and keeps that copy; afterwards the copies
    // missing from the cache are written on a worker of the lowest priority.
    // `progress`, when given, hears on the calling thread how many pictures
    // have decoded so far, in whatever order they finish.
    virtual void LoadMany(const QStringList& paths, QSize maxSize,
                          const std::function<bool(int index, std::optional<Picture>)>& consume,
                          const std::function<void(int decoded)>& progress = {});

    // The cache LoadMany reads and fills; null turns it off. By default the
    // user's cache, wherever the environment says at the time.
    void SetThumbnailCache(std::shared_ptr<const ThumbnailCache> cache);
    // Waits until the copies queued by earlier loads are written.
    void WaitForThumbnails();

    // Reads up to `limit` bytes of a file through one descriptor. The file
    // may have been swapped for a pipe or a device since it was listed:
    // opening does not wait for a writer, and nothing is read unless the
    // descriptor is an ordinary file. `size` gets the file's size; `flags`
    // are added to the open flags.
    static std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 limit,
                                                     qint64* size, int flags = 0);

    // True when `head` (a file's first bytes, up to its first scan) is a
    // progressive JPEG: those decode into a whole-picture buffer first.
    static bool IsProgressiveJpeg(const QByteArray& head);

    // "bmp", "gif", "jpeg", "ico", "png", "tiff", "webp", "heif" or "wmf" from a
    // file's first bytes, or empty.
    static QByteArray DetectFormat(const QByteArray& head);

    // Fits `size` inside `bound`, aspect kept (halves round to even, at least
    // one pixel), never enlarged. An invalid bound leaves `size` as it is.
    static QSize FitWithin(QSize size, QSize bound);

private:
    class ThumbnailWriter;
    class Batch;
    std::shared_ptr<const ThumbnailCache> thumbnails_;
    std::unique_ptr<ThumbnailWriter> writer_;
};
