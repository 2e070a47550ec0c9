#include "pictures/PictureLoader.h"

#include <fcntl.h>
#include <malloc.h>
#include <pthread.h>
#include <sched.h>
#include <sys/syscall.h>
// clang-format off
#include <cstdio>  // before the JPEG headers, which use FILE and size_t
#include <jpeglib.h>
#include <jerror.h>
// clang-format on
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>
#include <algorithm>
#include <bit>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <csetjmp>
#include <cstring>
#include <deque>
#include <mutex>
#include <numeric>
#include <set>
#include <thread>
#include <vector>

#include "pictures/DecodeCost.h"
#include "pictures/DecodeLimits.h"
#include "pictures/ExifOrientation.h"
#include "pictures/HeifReader.h"
#include "pictures/JxlReader.h"
#include "pictures/ThumbnailCache.h"
#include "pictures/WebpReader.h"
#include "pictures/WmfReader.h"
#include "platform/FileNames.h"
#include "platform/FileParts.h"
#include "platform/Numbers.h"

// The header's figures are the limits' own.
static_assert(PictureLoader::DefaultAllocationLimitMB == decodelimits::PictureMB);
static_assert(PictureLoader::QtAllocationLimitMB == decodelimits::QtBackstopMB);

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

// What a bitmap's headers say, as far as deciding whether to show it.
struct BmpHeader {
    qint64 offset = 0;  // of the pixel data
    quint32 size = 0;   // of the info header
    qint64 width = 0, height = 0;
    bool topDown = false;
    int bits = 0;
    quint32 compression = 0, imageSize = 0, colorsUsed = 0;
    quint32 masks[3] = {0, 0, 0};  // red, green, blue, for bit fields
};

std::optional<BmpHeader> ReadBmpHeader(const QByteArray& b) {
    if (b.size() < 26) return std::nullopt;
    BmpHeader h;
    h.offset = U32At(b, 10);
    h.size = U32At(b, 14);
    if (h.size == 12) {
        h.width = U16At(b, 18);
        h.height = U16At(b, 20);
        h.bits = U16At(b, 24);
        return h;
    }
    if (h.size < 40 || b.size() < 14 + 40) return std::nullopt;
    h.width = qint32(U32At(b, 18));
    const qint64 height = qint32(U32At(b, 22));
    h.topDown = height < 0;
    h.height = std::abs(height);
    h.bits = U16At(b, 28);
    h.compression = U32At(b, 30);
    h.imageSize = U32At(b, 34);
    h.colorsUsed = U32At(b, 46);
    // Bit-field masks follow a short header, or sit inside a longer one.
    if (b.size() >= 14 + 40 + 12)
        for (int i = 0; i < 3; ++i) h.masks[i] = U32At(b, 54 + 4 * i);
    return h;
}

// Pixel data of an uncompressed bitmap must be complete.
bool BmpComplete(const QByteArray& b, const BmpHeader& h) {
    if (h.offset >= b.size() || h.width <= 0 || h.height == 0 || h.bits == 0 || h.bits > 32)
        return false;
    if (h.compression == 1 || h.compression == 2)  // run-length: the size field is all we have
        return h.imageSize == 0 || h.offset + qint64(h.imageSize) <= b.size();
    const qint64 stride = (h.width * h.bits + 31) / 32 * 4;
    // Divided, not multiplied: both come from the header and their product may overflow.
    return stride <= (b.size() - h.offset) / h.height;
}

// True for the kinds of bitmap Qt's reader draws as the file means them.
// Others come out wrong rather than failing (channels wider than 8 bits turn
// black, a palette shorter than the reader assumes shifts the pixels, header
// sizes it does not know are misread), so they are refused.
bool QtReadsBmpRight(const BmpHeader& h) {
    const quint32 size = h.size;
    if (size != 12 && size != 40 && size != 64 && size != 108 && size != 124) return false;
    if (size == 12 && (h.width > 0x7FFF || h.height > 0x7FFF)) return false;  // read as signed
    // Behind a 64-byte header, compressions 3 and 4 are other codings, not bit fields.
    if (size == 64 && h.compression > 2) return false;
    if (h.topDown && h.compression != 0 && h.compression != 3) return false;
    if (h.bits <= 8) {
        const qint64 colours = h.colorsUsed ? h.colorsUsed : (qint64(1) << h.bits);
        const qint64 entry = size == 12 ? 3 : 4;
        if (h.offset < 14 + qint64(size) + entry * colours) return false;
    }
    if (h.compression == 3) {
        quint32 all = 0;
        for (const quint32 mask : h.masks) {
            if (mask == 0) return false;
            const quint32 shifted = mask >> std::countr_zero(mask);
            if ((shifted & (shifted + 1)) != 0) return false;  // not one run of bits
            if (std::popcount(shifted) > 8) return false;
            if (all & mask) return false;
            all |= mask;
        }
        if (h.bits == 16 && (all >> 16) != 0) return false;
    }
    return true;
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
            // A camera photo is megabytes of it: found a byte at a time by memchr.
            const char* data = b.constData();
            while (at + 1 < n) {
                const void* ff = std::memchr(data + at, 0xFF, size_t(n - 1 - at));
                if (!ff) {
                    at = n - 1;
                    break;
                }
                at = static_cast<const char*>(ff) - data;
                const quint8 next = ByteAt(b, at + 1);
                if (next != 0x00 && !(next >= 0xD0 && next <= 0xD7)) break;
                ++at;
            }
        }
    }
    return false;
}

// The structure check above refuses files the decoder reads whole with a
// warning: bytes between segments, no end marker after the last scan,
// restart markers out of step. This decodes the file (at an eighth of its
// size, which still reads every coefficient) and says whether the data ran
// out inside a scan, the one thing that leaves part of the picture missing.
struct JpegCheck {
    jpeg_error_mgr err;
    std::jmp_buf jump;
    bool ranOut = false;       // the file ended before its end marker
    bool scanStarved = false;  // a scan then needed more data than there was
};

void JpegFail(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegCheck*>(cinfo->err)->jump, 1);
}

void JpegNote(j_common_ptr cinfo, int level) {
    if (level >= 0) return;  // trace messages
    auto* check = reinterpret_cast<JpegCheck*>(cinfo->err);
    if (cinfo->err->msg_code == JWRN_JPEG_EOF) check->ranOut = true;
    // A scan also runs dry at a restart marker out of step; only running dry
    // after the end of the file means data is missing.
    if (cinfo->err->msg_code == JWRN_HIT_MARKER && check->ranOut) check->scanStarved = true;
}

void JpegQuiet(j_common_ptr) {}

// Reads the whole file; a failure leaves through JpegFail.
bool JpegReadAll(jpeg_decompress_struct* cinfo, const QByteArray& b, qint64 maxBytes) {
    cinfo->mem->max_memory_to_use = long(std::min<qint64>(maxBytes, LONG_MAX));
    jpeg_mem_src(cinfo, reinterpret_cast<const unsigned char*>(b.constData()),
                 static_cast<unsigned long>(b.size()));
    if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) return false;
    cinfo->scale_num = 1;
    cinfo->scale_denom = 8;
    cinfo->dct_method = JDCT_IFAST;
    cinfo->do_fancy_upsampling = FALSE;
    jpeg_start_decompress(cinfo);
    JSAMPARRAY row = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                                 cinfo->output_width * cinfo->output_components, 1);
    while (cinfo->output_scanline < cinfo->output_height)
        if (jpeg_read_scanlines(cinfo, row, 1) != 1) return false;
    jpeg_finish_decompress(cinfo);
    return true;
}

bool JpegDecodesWhole(const QByteArray& b, qint64 maxBytes) {
    JpegCheck check;
    jpeg_decompress_struct cinfo;
    cinfo.err = jpeg_std_error(&check.err);
    check.err.error_exit = JpegFail;
    check.err.emit_message = JpegNote;
    check.err.output_message = JpegQuiet;
    if (setjmp(check.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    const bool read = JpegReadAll(&cinfo, b, maxBytes);
    jpeg_destroy_decompress(&cinfo);
    return read && !(check.ranOut && check.scanStarved);
}

// Freed decode buffers (a file's bytes, pixels, a JPEG's coefficients) go
// back to the system at once. Left to itself glibc raises its threshold to
// the largest block freed so far, so after the first photo every buffer up
// to 32 MB comes from the arena of the thread that asked for it and stays
// resident there when freed, one such arena per worker.
void ReturnLargeBlocks() {
    static std::once_flag once;
    std::call_once(once, [] { mallopt(M_MMAP_THRESHOLD, decodelimits::OwnMappingKB * 1024); });
}

void EnsureQtLimit() {
    static std::once_flag once;
    std::call_once(once,
                   [] { QImageReader::setAllocationLimit(PictureLoader::QtAllocationLimitMB); });
}

// What the checks before a raster decode found, for the decode itself.
struct RasterPlan {
    std::optional<BmpHeader> bmp;
    std::optional<decodecost::Gif> gif;
    std::optional<decodecost::IcoEntry> icon;
    int pngOrientation = 1;  // Qt turns the others by their EXIF orientation
    qint64 cost = 0;         // the bytes the file itself takes count too
};

// The checks of each type's own structure before its decoder sees it. A
// PNG's orientation is read before the chunks that carry it are dropped.
std::optional<RasterPlan> CheckRaster(QByteArray& bytes, const QByteArray& format,
                                      qint64 maxBytes) {
    RasterPlan plan;
    if (format == "bmp") {
        plan.bmp = ReadBmpHeader(bytes);
        if (!plan.bmp || !BmpComplete(bytes, *plan.bmp) || !QtReadsBmpRight(*plan.bmp))
            return std::nullopt;
    }
    if (format == "gif") {
        plan.gif = decodecost::GifCost(bytes);
        if (!plan.gif || !plan.gif->firstFrameComplete) return std::nullopt;
    }
    plan.cost = bytes.size();
    if (format == "png") {
        plan.pngOrientation = exiforientation::FromPng(bytes);
        // Chunks must chain up to the end chunk; text and the like never reach the decoder.
        auto pixels = decodecost::PngPixelsOnly(bytes);
        if (!pixels) return std::nullopt;
        bytes = std::move(*pixels);
        if (bytes.contains("iCCP")) plan.cost += decodelimits::PngProfileBytes;
    }
    if (format == "ico") {  // the largest of the icon's images, by its own data's size
        plan.icon = decodecost::LargestIcoEntry(bytes);
        if (!plan.icon || plan.cost + plan.icon->Bytes() > maxBytes) return std::nullopt;
    }
    return plan;
}

// Puts the reader on the image to decode: an icon's largest, a TIFF's
// largest page.
bool ChooseImage(QImageReader& reader, const QByteArray& format, const RasterPlan& plan) {
    if (plan.icon && !reader.jumpToImage(plan.icon->index)) return false;
    if (format != "tiff") return true;
    int best = 0;
    qint64 bestArea = -1;
    for (int i = 0; i < reader.imageCount() && i < 64; ++i) {
        if (!reader.jumpToImage(i)) break;
        const QSize s = reader.size();
        if (qint64(s.width()) * s.height() > bestArea) {
            bestArea = qint64(s.width()) * s.height();
            best = i;
        }
    }
    return reader.jumpToImage(best);
}

// Everything the decoder will allocate for a picture stored at `stored`
// and decoded to fit `storedTarget`, known before it starts; -1 when the
// headers do not hold up.
qint64 RasterCost(const QByteArray& bytes, const QByteArray& format, const RasterPlan& plan,
                  QSize stored, QSize storedTarget) {
    qint64 cost = plan.cost;
    // JPEG decodes at 1/2, 1/4 or 1/8 directly; the others decode whole, then scale.
    qint64 decodeW = stored.width(), decodeH = stored.height();
    if (format == "jpeg" && storedTarget != stored) {
        for (int d : {8, 4, 2}) {
            const qint64 w = (stored.width() + d - 1) / d, h = (stored.height() + d - 1) / d;
            if (w >= storedTarget.width() && h >= storedTarget.height()) {
                decodeW = w;
                decodeH = h;
                break;
            }
        }
    }
    if (storedTarget != stored)  // the scaled copy
        cost += 4 * qint64(storedTarget.width()) * storedTarget.height();
    if (plan.gif) return cost + plan.gif->Bytes();
    if (format == "jpeg") {
        const auto jpeg = decodecost::JpegCost(bytes);
        if (!jpeg) return -1;
        // The markers the decoder keeps are copies of part of the file.
        return cost + 4 * decodeW * decodeH + jpeg->coefficientBytes + jpeg->rowBytes +
               bytes.size();
    }
    if (format == "png") {
        const auto png = decodecost::PngCost(bytes);
        if (!png) return -1;
        return cost + png->Bytes();
    }
    return cost + 4 * decodeW * decodeH;
}

// How short of the size asked for a JPEG's eighth may fall and still be
// taken, when the caller allows (it enlarges the picture itself): the next
// scale up, a quarter, costs the decoder 60 % more instructions, as it then
// needs more than each block's first coefficient.
constexpr int NearEnoughPercent = 95;

// The size a JPEG stored at `stored` decodes to for `storedTarget`: the
// target itself, or with `nearEnough` an eighth just short of it.
QSize JpegDecodeSize(QSize stored, QSize storedTarget, bool nearEnough) {
    const QSize eighth((stored.width() + 7) / 8, (stored.height() + 7) / 8);
    const bool fits =
        eighth.width() >= storedTarget.width() && eighth.height() >= storedTarget.height();
    const bool near = eighth.width() * 100 >= storedTarget.width() * NearEnoughPercent &&
                      eighth.height() * 100 >= storedTarget.height() * NearEnoughPercent;
    return nearEnough && !fits && near ? eighth : storedTarget;
}

std::optional<Picture> LoadRaster(QByteArray& bytes, const QByteArray& format, const QString& path,
                                  QSize maxSize, qint64 maxBytes, bool nearEnough = false) {
    auto plan = CheckRaster(bytes, format, maxBytes);
    if (!plan) return std::nullopt;
    if (plan->icon && plan->icon->png) {
        QByteArray png = bytes.mid(qsizetype(plan->icon->offset), qsizetype(plan->icon->length));
        return LoadRaster(png, "png", path, maxSize, maxBytes - plan->cost);
    }
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return std::nullopt;
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(true);
    if (!ChooseImage(reader, format, *plan)) return std::nullopt;
    // The announced size, checked before anything is decoded.
    // Qt gives a top-down bitmap's height as stored, negative.
    const QSize stored =
        plan->bmp ? QSize(int(plan->bmp->width), int(plan->bmp->height)) : reader.size();
    if (!stored.isValid() || stored.isEmpty()) return std::nullopt;
    const bool turned = (reader.transformation() & QImageIOHandler::TransformationRotate90) ||
                        exiforientation::Turns(plan->pngOrientation);
    const QSize upright = turned ? stored.transposed() : stored;
    const QSize target = PictureLoader::FitWithin(upright, maxSize);
    const QSize storedTarget = turned ? target.transposed() : target;
    const qint64 cost = RasterCost(bytes, format, *plan, stored, storedTarget);
    if (cost < 0 || cost > maxBytes) return std::nullopt;
    if (format == "jpeg" && !JpegComplete(bytes) && !JpegDecodesWhole(bytes, maxBytes))
        return std::nullopt;
    if (target != upright)
        reader.setScaledSize(format == "jpeg" ? JpegDecodeSize(stored, storedTarget, nearEnough)
                                              : storedTarget);
    QImage image = reader.read();
    if (image.isNull()) return std::nullopt;
    if (plan->pngOrientation != 1) image = exiforientation::Upright(image, plan->pngOrientation);
    // A file may announce one size and decode to another (a GIF whose
    // screen is smaller than its frame): the decoded size is the picture's
    // own, and a card still gets no more than it asked for.
    QSize natural = upright;
    if (target == upright) natural = image.size();
    if (const QSize fit = PictureLoader::FitWithin(image.size(), maxSize); fit != image.size())
        image = image.scaled(fit, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return Picture{std::move(image), path, natural};
}

std::optional<Picture> LoadFile(const QString& path, QSize maxSize, int allocationLimitMB,
                                bool nearEnough = false) {
    EnsureQtLimit();
    const qint64 maxBytes =
        qint64(std::clamp(allocationLimitMB, 1, PictureLoader::QtAllocationLimitMB)) * 1024 * 1024;
    qint64 size = 0;
    auto read = PictureLoader::ReadRegularFile(path, maxBytes + 1, &size);
    if (!read || size > maxBytes || read->isEmpty() || read->size() > maxBytes) return std::nullopt;
    QByteArray bytes = std::move(*read);

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
    if (format == "heif" || format == "webp" || format == "jxl") {
        QSize natural;
        auto image = format == "heif"  ? heifreader::Read(bytes, maxSize, maxBytes, &natural)
                     : format == "jxl" ? jxlreader::Read(bytes, maxSize, maxBytes, &natural)
                                       : webpreader::Read(bytes, maxSize, maxBytes, &natural);
        if (!image) return std::nullopt;
        return Picture{std::move(*image), path, natural};
    }
    return LoadRaster(bytes, format, path, maxSize, maxBytes, nearEnough);
}

// A deal's worker asks the decode it makes through Load (which a test may
// override) to keep the thumbnail cache's copy too: the copy fits `edge` on
// both sides. Only the outermost decode on the thread answers.
struct CopyRequest {
    int edge = 0;
    QImage copy;  // null when the original is no larger than the copy would be
};
thread_local CopyRequest* copyRequest = nullptr;

// `image` at `size`, three bytes a pixel unless it has an alpha channel.
QImage Resized(const QImage& image, QSize size, bool compact) {
    QImage out = size == image.size()
                     ? image
                     : image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return compact && !out.hasAlphaChannel() ? out.convertToFormat(QImage::Format_RGB888) : out;
}

// The card's picture and the cache's copy from one decode, made at the
// copy's size (the larger; a JPEG's eighth when near enough), each scaled
// from it once. The copy waits for the writer until after the deal: three
// bytes a pixel.
std::optional<Picture> LoadFileWithCopy(const QString& path, QSize maxSize, int allocationLimitMB,
                                        CopyRequest& request) {
    // A metafile is drawn at the card's size, as ever, not scaled from a
    // larger drawing; the writer draws its copy itself.
    const auto head = PictureLoader::ReadRegularFile(path, 16, nullptr);
    if (head && PictureLoader::DetectFormat(*head) == "wmf")
        return LoadFile(path, maxSize, allocationLimitMB);
    const QSize box(request.edge, request.edge);
    auto picture = LoadFile(path, box, allocationLimitMB, true);
    if (!picture) return picture;
    const QSize natural = picture->naturalSize, got = picture->image.size();
    // Sizes from the original's, as a decode straight to them gives, unless
    // the decode came out of another shape (a GIF's screen and frame).
    const qint64 skew =
        qint64(natural.width()) * got.height() - qint64(natural.height()) * got.width();
    const bool sameShape =
        natural.isValid() && std::abs(skew) <= std::max(natural.width(), natural.height());
    const QSize from = sameShape ? natural : got;
    if (std::max(natural.width(), natural.height()) > request.edge)
        request.copy = Resized(picture->image, PictureLoader::FitWithin(from, box), true);
    picture->image = Resized(picture->image, PictureLoader::FitWithin(from, maxSize), false);
    return picture;
}

}  // namespace

QByteArray PictureLoader::DetectFormat(const QByteArray& head) {
    if (head.startsWith("BM")) return "bmp";
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a")) return "gif";
    if (head.startsWith("\xFF\xD8\xFF")) return "jpeg";
    if (head.startsWith("\x89PNG\r\n\x1A\n")) return "png";
    if (head.startsWith(QByteArray("II*\0", 4)) || head.startsWith(QByteArray("MM\0*", 4)))
        return "tiff";
    if (webpreader::LooksLikeWebp(head)) return "webp";
    if (heifreader::LooksLikeHeif(head)) return "heif";
    if (jxlreader::LooksLikeJxl(head)) return "jxl";
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

std::optional<QByteArray> PictureLoader::ReadRegularFile(
    const QString& path, qint64 limit, qint64* size,
    int flags) {  // The program's own art is compiled in; a resource is never a pipe.
    if (path.startsWith(u':')) {
        QFile resource(path);
        if (!resource.open(QIODevice::ReadOnly)) return std::nullopt;
        if (size) *size = resource.size();
        return resource.read(limit);
    }
    const QByteArray name = filenames::Encode(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | flags);
    if (fd < 0) return std::nullopt;
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    if (size) *size = st.st_size;
    QByteArray bytes;
    const qint64 want = std::min<qint64>(limit, st.st_size);
    if (want <= 0) return bytes;
    bytes.resize(want);
    qint64 got = 0;
    while (got < want) {
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(want - got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        got += n;
    }
    bytes.truncate(got);
    return bytes;
}

std::optional<Picture> PictureLoader::Load(const QString& path, QSize maxSize,
                                           int allocationLimitMB) {
    try {
        CopyRequest* request = std::exchange(copyRequest, nullptr);
        if (request && maxSize.isValid() &&
            request->edge >= std::max(maxSize.width(), maxSize.height()))
            return LoadFileWithCopy(path, maxSize, allocationLimitMB, *request);
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
    const auto head = PictureLoader::ReadRegularFile(path, 64 * 1024, nullptr);
    return head && PictureLoader::IsProgressiveJpeg(*head);
}

// The upright size from a file's headers, for a picture taken from the
// cache without the size recorded.
QSize NaturalSizeFromHeaders(const QString& path) {
    auto head = PictureLoader::ReadRegularFile(path, 64 * 1024, nullptr);
    if (!head) return {};
    const QByteArray format = PictureLoader::DetectFormat(head->left(16));
    // A PNG's text chunks would be inflated on the way to its size: its header says it.
    if (format == "png") {
        const auto png = decodecost::PngCost(*head);
        if (!png) return {};
        const QSize size(int(png->width), int(png->height));
        return exiforientation::Turns(exiforientation::FromPng(*head)) ? size.transposed() : size;
    }
    // A HEIF file's boxes, and a WebP file's EXIF chunk, may sit anywhere in
    // it: the headers are walked, the pixels between them skipped. A JPEG XL
    // file's header is at its start.
    if (format == "heif" || format == "webp" || format == "jxl") {
        FilePartsOnDisk file(path);
        return format == "heif"  ? heifreader::NaturalSize(file)
               : format == "jxl" ? jxlreader::NaturalSize(file)
                                 : webpreader::NaturalSize(file);
    }
    QBuffer buffer(&*head);
    if (!buffer.open(QIODevice::ReadOnly)) return {};
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    return turned ? size.transposed() : size;
}

// What the cache says of a file: nothing, a copy, or that it cannot be decoded.
std::optional<std::optional<Picture>> AskCache(const ThumbnailCache& cache, const QString& path,
                                               QSize maxSize, const ThumbnailCache::Stamp& stamp) {
    if (auto hit = cache.Read(path, maxSize, stamp)) {
        const QSize natural =
            hit->naturalSize.isValid() ? hit->naturalSize : NaturalSizeFromHeaders(path);
        return std::optional<Picture>(Picture{std::move(hit->image), path, natural});
    }
    if (cache.HasFailure(path, stamp)) return std::optional<Picture>();
    return std::nullopt;
}

// Lowest CPU and disk priority for the calling thread: it runs only when
// nothing else wants the machine.
void BecomeIdle() {
    sched_param param{};
    pthread_setschedparam(pthread_self(), SCHED_IDLE, &param);
    constexpr int WhoProcess = 1, IdleClass = 3, ClassShift = 13;
    ::syscall(SYS_ioprio_set, WhoProcess, 0, IdleClass << ClassShift);
}
}  // namespace

// Writes the copies a load found missing, one at a time, at idle priority.
// The deal's decode left each copy at the cache's size, so the writer only
// encodes it; a copy a loader did not leave (one that decodes its own way)
// is decoded here, where the deal does not pay for it.
class PictureLoader::ThumbnailWriter {
public:
    struct Job {
        std::shared_ptr<const ThumbnailCache> cache;
        QString path;
        QSize want;
        ThumbnailCache::Stamp stamp;
        bool failed = false;
        QImage image;   // the copy, when the deal's decode left it
        QSize natural;  // the original's size, with the copy
    };

    ThumbnailWriter() {
        std::lock_guard lock(LiveMutex());
        Live().insert(this);
    }

    ~ThumbnailWriter() {
        {
            std::lock_guard lock(LiveMutex());
            Live().erase(this);
        }
        Stop();
    }

    void Add(std::vector<Job> jobs) {
        if (jobs.empty()) return;
        StopWithTheApplication();
        std::lock_guard lock(mutex_);
        if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
        for (Job& job : jobs) jobs_.push_back(std::move(job));
        wake_.notify_all();
    }

    void Wait() {
        std::unique_lock lock(mutex_);
        idle_.wait(lock, [&] { return jobs_.empty() && !busy_; });
    }

private:
    // Drops what is queued and waits for the file in progress.
    void Stop() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
            jobs_.clear();
        }
        wake_.notify_all();
        if (thread_.joinable()) thread_.join();
    }

    // A writer must stop while Qt's image plugins are still loaded: the
    // application object's end stops every live writer, whoever owns it and
    // however late it would be destroyed.
    // Never destroyed: a loader held in a static object outlives them.
    static std::mutex& LiveMutex() {
        static auto* m = new std::mutex;
        return *m;
    }
    static std::set<ThumbnailWriter*>& Live() {
        static auto* live = new std::set<ThumbnailWriter*>;
        return *live;
    }
    static void StopAll() {
        std::lock_guard lock(LiveMutex());
        for (ThumbnailWriter* w : Live()) w->Stop();
    }
    static void StopWithTheApplication() {
        static QCoreApplication* registered = nullptr;
        std::lock_guard lock(LiveMutex());
        QCoreApplication* app = QCoreApplication::instance();
        if (!app || app == registered) return;
        qAddPostRoutine(StopAll);
        registered = app;
    }

    void Run() {
        BecomeIdle();
        // Its metafile renders give way to a window's.
        const wmfreader::PlayScope scope(nullptr, true);
        for (;;) {
            Job job;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [&] { return stop_ || !jobs_.empty(); });
                if (stop_) return;
                job = std::move(jobs_.front());
                jobs_.pop_front();
                busy_ = true;
            }
            bool yielded = false;
            try {
                yielded = !Write(job);
            } catch (...) {
                // A copy not written is only a copy missing.
            }
            {
                std::lock_guard lock(mutex_);
                busy_ = false;
                // Stopped for a window's render: tried again after the others.
                if (yielded && !stop_) jobs_.push_back(std::move(job));
            }
            idle_.notify_all();
        }
    }

    // False when a metafile's render gave way to a window's: not done yet.
    static bool Write(const Job& job) {
        // A file changed since the deal gets its copy at the next one.
        if (ThumbnailCache::StampOf(job.path) != job.stamp) return true;
        if (job.failed) {
            job.cache->WriteFailure(job.path, job.stamp);
            return true;
        }
        QImage image = job.image;
        QSize natural = job.natural;
        if (image.isNull()) {
            const auto bucket = ThumbnailCache::BucketFor(job.want);
            if (!bucket) return true;
            auto picture = LoadFile(job.path, QSize(bucket->edge, bucket->edge),
                                    PictureLoader::DefaultAllocationLimitMB);
            if (!picture && wmfreader::PlayScope::Yielded()) return false;
            if (!picture || ThumbnailCache::StampOf(job.path) != job.stamp) return true;
            image = std::move(picture->image);
            natural = picture->naturalSize;
        }
        job.cache->Write(job.path, job.want, image, natural, job.stamp);
        return true;
    }

    std::mutex mutex_;
    std::condition_variable wake_, idle_;
    std::deque<Job> jobs_;
    bool busy_ = false;
    bool stop_ = false;
    std::thread thread_;
};

PictureLoader::PictureLoader()
    : thumbnails_(std::make_shared<ThumbnailCache>()),
      writer_(std::make_unique<ThumbnailWriter>()) {
    ReturnLargeBlocks();
}

PictureLoader::~PictureLoader() = default;

void PictureLoader::SetThumbnailCache(std::shared_ptr<const ThumbnailCache> cache) {
    thumbnails_ = std::move(cache);
}

void PictureLoader::WaitForThumbnails() {
    writer_->Wait();
}

// One LoadMany: which worker has which file, the results waiting to be
// handed over in order, and what the cache is to get afterwards.
// Largest files first, so the long decodes start early and overlap the rest.
// A progressive JPEG keeps every coefficient of the whole picture in memory
// while it decodes (tens of MB for a camera photo), so at most one of them
// decodes at a time; the other workers take plain files meanwhile. A worker
// finds out which kind a file is when it first takes it, and hands a
// progressive one back when another is decoding.
class PictureLoader::Batch {
public:
    Batch(PictureLoader& loader, const QStringList& paths, QSize maxSize)
        : loader_(loader),
          paths_(paths),
          maxSize_(maxSize),
          cache_(loader.thumbnails_),
          bucket_(cache_ ? ThumbnailCache::BucketFor(maxSize) : std::nullopt),
          files_(paths.size()),
          order_(paths.size()),
          remaining_(int(paths.size())) {
        for (qsizetype i = 0; i < paths.size(); ++i) files_[i].size = QFileInfo(paths[i]).size();
        std::iota(order_.begin(), order_.end(), 0);
        std::stable_sort(order_.begin(), order_.end(),
                         [&](int a, int b) { return files_[a].size > files_[b].size; });
    }

    // One worker: takes files until none is left or the load stops.
    void Work() {
        for (;;) {
            int index = -1;
            Cached cached;
            {
                std::unique_lock lock(mutex_);
                if (!Take(lock, &index, &cached)) return;
            }
            QImage copy;
            std::optional<Picture> picture = cached ? std::move(*cached) : Decode(index, &copy);
            Finish(index, std::move(picture), cached.has_value(), std::move(copy));
        }
    }

    // On the calling thread: each result in the order of the paths, as soon
    // as it is ready; every decode that finished is told before each wait.
    void HandOver(const std::function<bool(int, std::optional<Picture>)>& consume,
                  const std::function<void(int)>& progress) {
        int reported = 0;
        for (int i = 0; i < int(files_.size()); ++i) {
            std::optional<Picture> picture;
            {
                std::unique_lock lock(mutex_);
                while (!files_[i].done || (progress && decoded_ != reported)) {
                    if (progress && decoded_ != reported) {
                        reported = decoded_;
                        lock.unlock();
                        progress(reported);
                        lock.lock();
                        continue;
                    }
                    ready_.wait(lock);
                }
                picture = std::move(files_[i].result);
                files_[i].result.reset();
            }
            if (!consume(i, std::move(picture))) return;
        }
    }

    // Workers take no more files; those decoding finish theirs.
    void Stop() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        slot_.notify_all();
    }

    // What the cache lacks, once every worker has ended.
    std::vector<ThumbnailWriter::Job> CacheJobs() {
        std::vector<ThumbnailWriter::Job> jobs;
        for (size_t i = 0; i < files_.size(); ++i) {
            File& file = files_[i];
            if (file.forCache == ForCache::Nothing) continue;
            jobs.push_back({cache_, paths_[int(i)], maxSize_, *file.stamp,
                            file.forCache == ForCache::Failure, std::move(file.copy),
                            file.natural});
        }
        return jobs;
    }

private:
    // What a decode leaves for the cache once the load is over.
    enum class ForCache : char { Nothing, Copy, Failure };
    struct File {
        qint64 size = 0;
        bool taken = false;
        bool done = false;
        signed char heavy = -1;  // -1 not known yet, 0 plain, 1 progressive
        std::optional<ThumbnailCache::Stamp> stamp;
        std::optional<Picture> result;
        ForCache forCache = ForCache::Nothing;
        QImage copy;  // the cache's copy from the card's decode
        QSize natural;
    };
    // Nothing, a picture from the cache, or the cache's word that it fails.
    using Cached = std::optional<std::optional<Picture>>;

    // The first file in order not yet taken that may start now; -1 when the
    // only ones left are progressive and one of those is decoding.
    int Pick() const {
        for (int index : order_) {
            const File& file = files_[index];
            if (file.taken || (file.heavy == 1 && heavyBusy_)) continue;
            return index;
        }
        return -1;
    }

    // The next file for the calling worker; false when none is left or the
    // load stopped. A file taken the first time is looked up in the cache
    // (a copy there spares reading the file at all), then checked for being
    // progressive, without the lock.
    bool Take(std::unique_lock<std::mutex>& lock, int* index, Cached* cached) {
        for (;;) {
            slot_.wait(lock, [&] { return stop_ || remaining_ == 0 || Pick() >= 0; });
            if (stop_ || remaining_ == 0) return false;
            const int i = Pick();
            File& file = files_[i];
            file.taken = true;
            --remaining_;
            if (file.heavy < 0) {
                lock.unlock();
                const auto stamp = bucket_ ? ThumbnailCache::StampOf(paths_[i]) : std::nullopt;
                if (stamp) *cached = LookUp(paths_[i], *stamp);
                const bool progressive = !*cached && IsProgressiveJpegFile(paths_[i]);
                lock.lock();
                file.stamp = stamp;
                file.heavy = progressive;
                if (progressive && heavyBusy_) {  // back for later
                    file.taken = false;
                    ++remaining_;
                    continue;
                }
            }
            if (!*cached && file.heavy == 1) heavyBusy_ = true;
            *index = i;
            return true;
        }
    }

    Cached LookUp(const QString& path, const ThumbnailCache::Stamp& stamp) const {
        try {
            return AskCache(*cache_, path, maxSize_, stamp);
        } catch (...) {
            return std::nullopt;
        }
    }

    // Decodes through Load, asking it for the cache's copy when the cache
    // is to get one.
    std::optional<Picture> Decode(int index, QImage* copy) {
        CopyRequest request;
        if (bucket_ && files_[index].stamp) request.edge = bucket_->edge;
        struct Scope {
            explicit Scope(CopyRequest* r) { copyRequest = r; }
            ~Scope() { copyRequest = nullptr; }
        } scope(request.edge ? &request : nullptr);
        std::optional<Picture> picture;
        try {
            picture = loader_.Load(paths_[index], maxSize_);
        } catch (...) {
            picture.reset();
        }
        *copy = std::move(request.copy);
        return picture;
    }

    void Finish(int index, std::optional<Picture> picture, bool cached, QImage copy) {
        {
            std::lock_guard lock(mutex_);
            File& file = files_[index];
            const bool ok = picture && !picture->image.isNull();
            if (ok) ++decoded_;
            if (!cached && bucket_ && file.stamp) {
                const QSize natural = ok ? picture->naturalSize : QSize();
                if (!ok) {
                    file.forCache = ForCache::Failure;
                } else if (std::max(natural.width(), natural.height()) > bucket_->edge) {
                    file.forCache = ForCache::Copy;
                    file.copy = std::move(copy);
                    file.natural = natural;
                }
            }
            file.result = std::move(picture);
            file.done = true;
            if (!cached && file.heavy == 1) heavyBusy_ = false;
        }
        ready_.notify_all();
        slot_.notify_all();
    }

    PictureLoader& loader_;
    const QStringList& paths_;
    const QSize maxSize_;
    const std::shared_ptr<const ThumbnailCache> cache_;
    const std::optional<ThumbnailCache::Bucket> bucket_;
    std::vector<File> files_;
    std::vector<int> order_;
    std::mutex mutex_;
    std::condition_variable ready_;  // a result arrived
    std::condition_variable slot_;   // a file or the progressive slot came free
    int remaining_ = 0;              // files not taken
    int decoded_ = 0;
    bool heavyBusy_ = false;
    bool stop_ = false;
};

void PictureLoader::LoadMany(const QStringList& paths, QSize maxSize,
                             const std::function<bool(int, std::optional<Picture>)>& consume,
                             const std::function<void(int)>& progress) {
    if (paths.isEmpty()) return;
    Batch batch(*this, paths, maxSize);
    // Once every worker has ended, however the load ends, the copies the
    // cache lacks go to the writer.
    struct QueueCopies {
        Batch& batch;
        ThumbnailWriter& writer;
        ~QueueCopies() {
            try {
                writer.Add(batch.CacheJobs());
            } catch (...) {
                // No writer to be had: the cache stays as it was.
            }
        }
    } queueCopies{batch, *writer_};
    // Stops and joins the workers on every way out, a throwing `consume` included.
    std::vector<std::thread> workers;
    struct Joiner {
        Batch& batch;
        std::vector<std::thread>& workers;
        ~Joiner() {
            batch.Stop();
            for (auto& t : workers)
                if (t.joinable()) t.join();
        }
    } joiner{batch, workers};
    // Never more workers than the budget for all card decodes at once allows.
    const int threads = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1,
                                   std::min(int(paths.size()), decodelimits::DealWorkers));
    try {
        for (int i = 0; i < threads; ++i) workers.emplace_back([&] { batch.Work(); });
    } catch (...) {
        // No thread to be had: the calling thread decodes them all itself.
        if (workers.empty()) batch.Work();
    }
    batch.HandOver(consume, progress);
}
