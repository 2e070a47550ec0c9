#include "platform/PictureLoader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <numeric>
#include <thread>
#include <vector>

#include "platform/Numbers.h"
#include "platform/WmfReader.h"

namespace {

quint16 U16At(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}
quint32 U32At(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
quint8 ByteAt(const QByteArray& b, qsizetype at) {
    return static_cast<quint8>(b[at]);
}

// Qt's readers give back whatever they managed to decode from a cut-off
// file; these checks make sure the data the header promises is there.

// Pixel data of an uncompressed bitmap must be complete.
bool BmpComplete(const QByteArray& b) {
    if (b.size() < 26) return false;
    const qint64 offset = U32At(b, 10);
    const quint32 header = U32At(b, 14);
    qint64 width, height;
    int bits;
    quint32 compression = 0, imageSize = 0;
    if (header == 12) {
        width = U16At(b, 18);
        height = U16At(b, 20);
        bits = U16At(b, 24);
    } else if (header >= 40 && b.size() >= 14 + 40) {
        width = qint32(U32At(b, 18));
        height = qint32(U32At(b, 22));
        bits = U16At(b, 28);
        compression = U32At(b, 30);
        imageSize = U32At(b, 34);
    } else {
        return false;
    }
    width = std::abs(width);
    height = std::abs(height);
    if (offset >= b.size() || width == 0 || height == 0 || bits == 0 || bits > 32) return false;
    if (compression == 1 || compression == 2)  // run-length: the size field is all we have
        return imageSize == 0 || offset + qint64(imageSize) <= b.size();
    const qint64 stride = (width * bits + 31) / 32 * 4;
    // Divided, not multiplied: both come from the header and their product may overflow.
    return stride <= (b.size() - offset) / height;
}

// The first image's data blocks must be complete.
bool GifComplete(const QByteArray& b) {
    const qsizetype n = b.size();
    if (n < 13) return false;
    qsizetype at = 13;
    const quint8 flags = ByteAt(b, 10);
    if (flags & 0x80) at += 3 * (qsizetype(1) << ((flags & 7) + 1));
    const auto skipBlocks = [&]() {
        while (at < n) {
            const quint8 len = ByteAt(b, at);
            ++at;
            if (len == 0) return true;
            at += len;
        }
        return false;
    };
    while (at < n) {
        const quint8 kind = ByteAt(b, at);
        if (kind == 0x21) {  // extension
            at += 2;
            if (!skipBlocks()) return false;
        } else if (kind == 0x2C) {  // image
            if (at + 10 > n) return false;
            const quint8 local = ByteAt(b, at + 9);
            at += 10;
            if (local & 0x80) at += 3 * (qsizetype(1) << ((local & 7) + 1));
            at += 1;  // code size
            return at < n && skipBlocks();
        } else {
            return false;
        }
    }
    return false;
}

// The segments must chain up to the end-of-image marker (anything after it,
// as some cameras append, is left alone).
bool JpegComplete(const QByteArray& b) {
    const qsizetype n = b.size();
    qsizetype at = 2;
    while (at + 1 < n) {
        if (ByteAt(b, at) != 0xFF) return false;
        const quint8 marker = ByteAt(b, at + 1);
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        if (marker == 0xD9) return true;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        if (at + 4 > n) return false;
        const qsizetype len = qFromBigEndian<quint16>(b.constData() + at + 2);
        if (len < 2 || at + 2 + len > n) return false;
        at += 2 + len;
        if (marker == 0xDA) {  // entropy-coded data up to the next real marker
            while (at + 1 < n) {
                if (ByteAt(b, at) == 0xFF) {
                    const quint8 next = ByteAt(b, at + 1);
                    if (next != 0x00 && !(next >= 0xD0 && next <= 0xD7)) break;
                }
                ++at;
            }
        }
    }
    return false;
}

// Chunks must chain up to the end chunk.
bool PngComplete(const QByteArray& b) {
    qsizetype at = 8;
    while (at + 12 <= b.size()) {
        const qint64 len = qFromBigEndian<quint32>(b.constData() + at);
        if (b.mid(at + 4, 4) == "IEND") return true;
        at += 12 + len;
    }
    return false;
}

void EnsureQtLimit() {
    static std::once_flag once;
    std::call_once(once,
                   [] { QImageReader::setAllocationLimit(PictureLoader::QtAllocationLimitMB); });
}

std::optional<Picture> LoadRaster(QByteArray& bytes, const QByteArray& format, const QString& path,
                                  QSize maxSize, qint64 maxBytes) {
    if (format == "bmp" && !BmpComplete(bytes)) return std::nullopt;
    if (format == "gif" && !GifComplete(bytes)) return std::nullopt;
    if (format == "jpeg" && !JpegComplete(bytes)) return std::nullopt;
    if (format == "png" && !PngComplete(bytes)) return std::nullopt;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return std::nullopt;
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(true);
    if (format == "ico") {  // the largest of the icon's images
        int best = 0;
        qint64 bestArea = -1;
        for (int i = 0; i < reader.imageCount() && i < 256; ++i) {
            if (!reader.jumpToImage(i)) break;
            const QSize s = reader.size();
            if (qint64(s.width()) * s.height() > bestArea) {
                bestArea = qint64(s.width()) * s.height();
                best = i;
            }
        }
        if (!reader.jumpToImage(best)) return std::nullopt;
    }
    // The announced size, checked before anything is decoded.
    const QSize stored = reader.size();
    if (!stored.isValid() || stored.isEmpty()) return std::nullopt;
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    const QSize upright = turned ? stored.transposed() : stored;
    const QSize target = PictureLoader::FitWithin(upright, maxSize);
    const QSize storedTarget = turned ? target.transposed() : target;
    // JPEG decodes at 1/2, 1/4 or 1/8 directly; the others decode whole, then scale.
    qint64 decodeW = stored.width(), decodeH = stored.height();
    if (format == "jpeg" && target != upright) {
        for (int d : {8, 4, 2}) {
            const qint64 w = (stored.width() + d - 1) / d, h = (stored.height() + d - 1) / d;
            if (w >= storedTarget.width() && h >= storedTarget.height()) {
                decodeW = w;
                decodeH = h;
                break;
            }
        }
    }
    if (decodeW * decodeH > maxBytes / 4) return std::nullopt;
    if (target != upright) reader.setScaledSize(storedTarget);
    QImage image = reader.read();
    if (image.isNull()) return std::nullopt;
    return Picture{std::move(image), path, upright};
}

std::optional<Picture> LoadFile(const QString& path, QSize maxSize, int allocationLimitMB) {
    EnsureQtLimit();
    const qint64 maxBytes =
        qint64(std::clamp(allocationLimitMB, 1, PictureLoader::QtAllocationLimitMB)) * 1024 * 1024;
    // Only ordinary files: a pipe or a device could block the read for ever.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() <= 0 || info.size() > maxBytes) return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    // A buffer as large as the file, not the limit: the read allocates all it is asked for.
    QByteArray bytes = file.read(info.size() + 1);
    if (bytes.isEmpty() || bytes.size() > maxBytes) return std::nullopt;
    file.close();

    const QByteArray format = PictureLoader::DetectFormat(bytes.left(16));
    if (format.isEmpty()) return std::nullopt;
    if (format == "wmf") {
        const auto layout = wmfreader::Check(bytes);
        if (!layout) return std::nullopt;
        QSize natural;
        auto image = wmfreader::Render(bytes, *layout, maxSize, maxBytes, &natural);
        if (!image) return std::nullopt;
        return Picture{std::move(*image), path, natural};
    }
    return LoadRaster(bytes, format, path, maxSize, maxBytes);
}

}  // namespace

QByteArray PictureLoader::DetectFormat(const QByteArray& head) {
    if (head.startsWith("BM")) return "bmp";
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a")) return "gif";
    if (head.startsWith("\xFF\xD8\xFF")) return "jpeg";
    if (head.startsWith("\x89PNG\r\n\x1A\n")) return "png";
    if (head.size() >= 6 && U16At(head, 0) == 0 && U16At(head, 2) == 1 && U16At(head, 4) > 0)
        return "ico";
    if (wmfreader::LooksLikeWmf(head)) return "wmf";
    return {};
}

QSize PictureLoader::FitWithin(QSize size, QSize bound) {
    if (!bound.isValid() || bound.isEmpty() || size.isEmpty()) return size;
    if (size.width() <= bound.width() && size.height() <= bound.height()) return size;
    const auto scaled = [](qint64 side, qint64 num, qint64 den) {
        return static_cast<int>(
            std::max<long long>(1, num::RoundHalfEven(double(side) * num / den)));
    };
    // Width-bound when the picture is relatively wider than the box.
    if (qint64(size.width()) * bound.height() >= qint64(size.height()) * bound.width())
        return QSize(bound.width(), scaled(size.height(), bound.width(), size.width()));
    return QSize(scaled(size.width(), bound.height(), size.height()), bound.height());
}

std::optional<Picture> PictureLoader::Load(const QString& path, QSize maxSize,
                                           int allocationLimitMB) {
    try {
        return LoadFile(path, maxSize, allocationLimitMB);
    } catch (...) {
        return std::nullopt;
    }
}

bool PictureLoader::IsProgressiveJpeg(const QByteArray& head) {
    if (!head.startsWith("\xFF\xD8")) return false;
    qsizetype at = 2;
    while (at + 1 < head.size()) {
        if (ByteAt(head, at) != 0xFF) return false;  // lost in the stream: say plain
        const quint8 marker = ByteAt(head, at + 1);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        // Frame headers: C0..CF except DHT (C4), JPG (C8) and DAC (CC).
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
        if (marker == 0xDA || marker == 0xD9) return false;          // scan or end before a frame
        if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {  // no length field
            at += 2;
            continue;
        }
        if (at + 3 >= head.size()) return false;
        const int length = (ByteAt(head, at + 2) << 8) | ByteAt(head, at + 3);
        if (length < 2) return false;
        at += 2 + length;
    }
    return false;
}

namespace {
// Reads no more of the file than a JPEG's headers can take.
bool IsProgressiveJpegFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    QByteArray head = file.read(2);
    if (head != QByteArray("\xFF\xD8", 2)) return false;
    head += file.read(64 * 1024);
    return PictureLoader::IsProgressiveJpeg(head);
}
}  // namespace

void PictureLoader::LoadMany(const QStringList& paths, QSize maxSize,
                             const std::function<bool(int, std::optional<Picture>)>& consume) {
    const int count = static_cast<int>(paths.size());
    if (count == 0) return;
    // Largest files first, so the long decodes start early and overlap the rest.
    // A progressive JPEG keeps every coefficient of the whole picture in memory
    // while it decodes (tens of MB for a camera photo), so at most one of them
    // decodes at a time; the other workers take plain files meanwhile. A worker
    // finds out which kind a file is when it first takes it, and hands a
    // progressive one back when another is decoding.
    std::vector<qint64> sizes(count);
    for (int i = 0; i < count; ++i) sizes[i] = QFileInfo(paths[i]).size();
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return sizes[a] > sizes[b]; });

    struct Shared {
        std::mutex mutex;
        std::condition_variable ready;  // a result arrived
        std::condition_variable slot;   // the heavy slot came free
        std::vector<std::optional<Picture>> results;
        std::vector<char> done;
        std::vector<char> taken;
        std::vector<signed char> heavy;  // -1 not known yet, 0 plain, 1 progressive
        int remaining = 0;
        bool heavyBusy = false;
        bool stop = false;
    } shared;
    shared.results.resize(count);
    shared.done.assign(count, 0);
    shared.taken.assign(count, 0);
    shared.heavy.assign(count, -1);
    shared.remaining = count;

    // The first file in `order` not yet taken that may start now; -1 when the
    // only ones left are heavy and the heavy slot is busy.
    const auto pick = [&]() -> int {
        for (int index : order) {
            if (shared.taken[index]) continue;
            if (shared.heavy[index] == 1 && shared.heavyBusy) continue;
            return index;
        }
        return -1;
    };

    const auto work = [&] {
        for (;;) {
            int index;
            {
                std::unique_lock lock(shared.mutex);
                shared.slot.wait(
                    lock, [&] { return shared.stop || shared.remaining == 0 || pick() >= 0; });
                if (shared.stop || shared.remaining == 0) return;
                index = pick();
                shared.taken[index] = 1;
                --shared.remaining;
                if (shared.heavy[index] < 0) {
                    lock.unlock();
                    const bool progressive = IsProgressiveJpegFile(paths[index]);
                    lock.lock();
                    shared.heavy[index] = progressive;
                    if (progressive && shared.heavyBusy) {  // back for later
                        shared.taken[index] = 0;
                        ++shared.remaining;
                        continue;
                    }
                }
                if (shared.heavy[index] == 1) shared.heavyBusy = true;
            }
            std::optional<Picture> picture;
            try {
                picture = Load(paths[index], maxSize);
            } catch (...) {
                picture.reset();
            }
            {
                std::lock_guard lock(shared.mutex);
                shared.results[index] = std::move(picture);
                shared.done[index] = 1;
                if (shared.heavy[index] == 1) shared.heavyBusy = false;
            }
            shared.ready.notify_all();
            shared.slot.notify_all();
        }
    };

    const int threads =
        std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, std::min(count, 16));
    std::vector<std::thread> workers;
    // Stops and joins the workers on every way out, a throwing `consume` included.
    struct Joiner {
        Shared& shared;
        std::vector<std::thread>& workers;
        ~Joiner() {
            {
                std::lock_guard lock(shared.mutex);
                shared.stop = true;
            }
            shared.slot.notify_all();
            for (auto& t : workers)
                if (t.joinable()) t.join();
        }
    } joiner{shared, workers};
    try {
        for (int i = 0; i < threads; ++i) workers.emplace_back(work);
    } catch (...) {
        // No thread to be had: the calling thread decodes them all itself.
        if (workers.empty()) work();
    }

    for (int i = 0; i < count; ++i) {
        std::optional<Picture> picture;
        {
            std::unique_lock lock(shared.mutex);
            shared.ready.wait(lock, [&] { return shared.done[i] != 0; });
            picture = std::move(shared.results[i]);
            shared.results[i].reset();
        }
        if (!consume(i, std::move(picture))) return;
    }
}
