#include "pictures/HeifReader.h"

#include <libheif/heif.h>

#include <cstring>
#include <memory>
#include <vector>

#include "pictures/PictureLoader.h"
#include "platform/FileParts.h"

namespace heifreader {

namespace {

// Bytes a decode takes per pixel of the image: the decoded 4:2:0 planes
// (1.5, twice that above 8 bits), the interleaved copy libheif converts them
// into (3, or 4 with alpha, which adds its own plane) and, for a picture
// kept whole, ours (the same). A card is scaled straight from libheif's copy.
qint64 BytesPerPixel(const heif_image_handle* h, bool whole) {
    const int bits = heif_image_handle_get_luma_bits_per_pixel(h);
    const qint64 planes = bits > 8 ? 3 : 2;  // rounded up
    const qint64 interleaved = heif_image_handle_has_alpha_channel(h) ? 4 : 3;
    return planes + (interleaved == 4 ? 1 : 0) + interleaved * (whole ? 2 : 1);
}
// No side of a still may exceed this, whatever the budget says.
constexpr int MaxSide = 32768;

struct Deleter {
    void operator()(heif_context* c) const { heif_context_free(c); }
    void operator()(const heif_image_handle* h) const { heif_image_handle_release(h); }
    void operator()(const heif_image* i) const { heif_image_release(i); }
    void operator()(heif_decoding_options* o) const { heif_decoding_options_free(o); }
};
using Context = std::unique_ptr<heif_context, Deleter>;
using Handle = std::unique_ptr<const heif_image_handle, Deleter>;
using Image = std::unique_ptr<const heif_image, Deleter>;

Context Fresh() {
    Context ctx(heif_context_alloc());
    if (!ctx) return {};
    heif_context_set_maximum_image_size_limit(ctx.get(), MaxSide);
    // One decoding thread: a deal already decodes several pictures at once.
    heif_context_set_max_decoding_threads(ctx.get(), 1);
    return ctx;
}

Context Open(const QByteArray& bytes) {
    Context ctx = Fresh();
    if (!ctx || heif_context_read_from_memory_without_copy(ctx.get(), bytes.constData(),
                                                           size_t(bytes.size()), nullptr)
                        .code != heif_error_Ok)
        return {};
    return ctx;
}

// libheif reads a file through this as it walks the boxes, skipping what it
// does not need (the coded pixels). A box that claims more than a photo's
// headers ever hold stops it.
constexpr qint64 HeaderBytes = 4 * 1024 * 1024;
struct Walk {
    FileParts* file;
    int64_t position = 0;
    qint64 read = 0;
};
int64_t WalkPosition(void* walk) {
    return static_cast<Walk*>(walk)->position;
}
int WalkRead(void* data, size_t size, void* userdata) {
    if (size == 0) return 0;  // libheif asks for nothing, with no buffer
    auto* walk = static_cast<Walk*>(userdata);
    walk->read += qint64(size);
    if (walk->read > HeaderBytes) return -1;
    const QByteArray part = walk->file->Read(walk->position, qint64(size));
    if (part.size() != qsizetype(size)) return -1;
    std::memcpy(data, part.constData(), size);
    walk->position += int64_t(size);
    return 0;
}
int WalkSeek(int64_t position, void* walk) {
    static_cast<Walk*>(walk)->position = position;
    return 0;
}
heif_reader_grow_status WalkReach(int64_t target, void* walk) {
    return target <= static_cast<Walk*>(walk)->file->Size()
               ? heif_reader_grow_status_size_reached
               : heif_reader_grow_status_size_beyond_eof;
}
const heif_reader WalkReader{1, WalkPosition, WalkRead, WalkSeek, WalkReach};

Handle Primary(heif_context* ctx) {
    heif_image_handle* handle = nullptr;
    if (heif_context_get_primary_image_handle(ctx, &handle).code != heif_error_Ok) return {};
    return Handle(handle);
}

// The handle's size as decoded: libheif gives it with rotation applied.
QSize SizeOf(const heif_image_handle* h) {
    return QSize(heif_image_handle_get_width(h), heif_image_handle_get_height(h));
}

bool Affordable(QSize size, qint64 perPixel, qint64 maxBytes) {
    if (size.isEmpty() || size.width() > MaxSide || size.height() > MaxSide) return false;
    return qint64(size.width()) * size.height() <= maxBytes / perPixel;
}

// The smallest thumbnail covering `target` on both sides, if any.
Handle ThumbnailFor(const heif_image_handle* primary, QSize target) {
    const int count = heif_image_handle_get_number_of_thumbnails(primary);
    if (count <= 0 || count > 64) return {};
    std::vector<heif_item_id> ids(static_cast<size_t>(count));
    const int listed = heif_image_handle_get_list_of_thumbnail_IDs(primary, ids.data(), count);
    Handle best;
    qint64 bestArea = 0;
    for (int i = 0; i < listed; ++i) {
        heif_image_handle* thumb = nullptr;
        if (heif_image_handle_get_thumbnail(primary, ids[size_t(i)], &thumb).code != heif_error_Ok)
            continue;
        Handle held(thumb);
        const QSize s = SizeOf(thumb);
        // A thumbnail of another shape (or turned otherwise) is not the picture.
        const QSize full = SizeOf(primary);
        const bool sameShape =
            qAbs(qint64(s.width()) * full.height() - qint64(s.height()) * full.width()) <=
            qint64(full.width()) * 2 + qint64(full.height()) * 2;
        if (!sameShape || s.width() < target.width() || s.height() < target.height()) continue;
        const qint64 area = qint64(s.width()) * s.height();
        if (!best || area < bestArea) {
            best = std::move(held);
            bestArea = area;
        }
    }
    return best;
}

// `handle`'s image fitted inside `maxSize` (whole when invalid).
std::optional<QImage> Decode(const heif_image_handle* handle, QSize maxSize, qint64 maxBytes) {
    const QSize size = SizeOf(handle);
    const QSize fit = PictureLoader::FitWithin(size, maxSize);
    const qint64 perPixel = BytesPerPixel(handle, fit == size);
    if (fit != size) maxBytes -= 4 * qint64(fit.width()) * fit.height();
    if (!Affordable(size, perPixel, maxBytes)) return std::nullopt;
    const bool alpha = heif_image_handle_has_alpha_channel(handle);
    std::unique_ptr<heif_decoding_options, Deleter> options(heif_decoding_options_alloc());
    if (!options) return std::nullopt;
    options->convert_hdr_to_8bit = 1;
    options->strict_decoding = 1;  // damaged data fails rather than half a picture
    heif_image* raw = nullptr;
    const heif_error err = heif_decode_image(
        handle, &raw, heif_colorspace_RGB,
        alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get());
    Image decoded(raw);
    if (err.code != heif_error_Ok || !decoded) return std::nullopt;
    const int w = heif_image_get_width(raw, heif_channel_interleaved);
    const int h = heif_image_get_height(raw, heif_channel_interleaved);
    int stride = 0;
    const uint8_t* pixels = heif_image_get_plane_readonly(raw, heif_channel_interleaved, &stride);
    if (!pixels || w <= 0 || h <= 0 || !Affordable(QSize(w, h), perPixel, maxBytes))
        return std::nullopt;
    if (heif_image_get_bits_per_pixel(raw, heif_channel_interleaved) != (alpha ? 32 : 24))
        return std::nullopt;
    const size_t row = size_t(w) * (alpha ? 4 : 3);
    if (stride < 0 || size_t(stride) < row) return std::nullopt;
    // libheif's pixels, not copied: scaled from, or copied when kept whole.
    const QImage view(pixels, w, h, stride,
                      alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    const QSize scaled = PictureLoader::FitWithin(view.size(), maxSize);
    QImage image = scaled == view.size()
                       ? view.copy()
                       : view.scaled(scaled, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (image.isNull()) return std::nullopt;
    return image;
}

}  // namespace

bool LooksLikeHeif(const QByteArray& head) {
    if (head.size() < 12 || head.mid(4, 4) != "ftyp") return false;
    static const char* const brands[] = {"heic", "heix", "heim", "heis", "hevc",
                                         "hevx", "mif1", "msf1", "avif", "avis"};
    const QByteArray brand = head.mid(8, 4);
    for (const char* b : brands)
        if (brand == b) return true;
    return false;
}

QSize NaturalSize(FileParts& file) {
    if (file.Size() <= 0) return {};
    Walk walk{&file};
    const Context ctx = Fresh();
    if (!ctx ||
        heif_context_read_from_reader(ctx.get(), &WalkReader, &walk, nullptr).code != heif_error_Ok)
        return {};
    const Handle primary = Primary(ctx.get());
    const QSize size = primary ? SizeOf(primary.get()) : QSize();
    return size.isEmpty() ? QSize() : size;
}

std::optional<QImage> Read(const QByteArray& bytes, QSize maxSize, qint64 maxBytes,
                           QSize* natural) {
    const Context ctx = Open(bytes);
    if (!ctx) return std::nullopt;
    const Handle primary = Primary(ctx.get());
    if (!primary) return std::nullopt;
    const QSize upright = SizeOf(primary.get());
    if (upright.isEmpty()) return std::nullopt;
    const QSize target = PictureLoader::FitWithin(upright, maxSize);
    std::optional<QImage> image;
    if (target != upright)
        if (const Handle thumb = ThumbnailFor(primary.get(), target))
            image = Decode(thumb.get(), maxSize, maxBytes);
    if (!image) image = Decode(primary.get(), maxSize, maxBytes);
    if (!image) return std::nullopt;
    if (const QSize fit = PictureLoader::FitWithin(image->size(), maxSize); fit != image->size())
        *image = image->scaled(fit, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (natural) *natural = upright;
    return image;
}

}  // namespace heifreader
