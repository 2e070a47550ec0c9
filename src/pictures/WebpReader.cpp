#include "pictures/WebpReader.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <memory>

#include "pictures/ExifOrientation.h"
#include "pictures/PictureLoader.h"
#include "platform/FileParts.h"

namespace webpreader {

namespace {

// What a decode allocates. A lossy still streams a few rows at a time into
// the (scaled) output, plus its alpha plane whole; a lossless one holds all
// its own pixels besides the output; an animation keeps two canvases and the
// frame being decoded.
constexpr qint64 RowsInFlight = 64;
constexpr qint64 AnimationBytesPerPixel = 12;

// Walking to the EXIF chunk: an animation has a chunk per frame before it;
// an EXIF block holding more than its orientation is a camera's, and small.
constexpr int MaxChunks = 4096;
constexpr qint64 ExifBytes = 64 * 1024;

qint64 StillCost(const WebPBitstreamFeatures& f, QSize output) {
    const qint64 area = qint64(f.width) * f.height;
    const qint64 inside =
        f.format == 2 ? area * 4 : qint64(f.width) * RowsInFlight * 4 + (f.has_alpha ? area : 0);
    return inside + qint64(output.width()) * output.height() * 4;
}

struct DemuxDeleter {
    void operator()(WebPDemuxer* d) const { WebPDemuxDelete(d); }
    void operator()(WebPAnimDecoder* d) const { WebPAnimDecoderDelete(d); }
};

WebPData DataOf(const QByteArray& bytes) {
    return WebPData{reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())};
}

// The RIFF header's own length must be there: a cut file is refused before
// anything is allocated for its pixels.
bool Whole(const QByteArray& bytes) {
    if (bytes.size() < 12) return false;
    const qint64 riff = qFromLittleEndian<quint32>(bytes.constData() + 4);
    return riff + 8 <= bytes.size();
}

int Orientation(const QByteArray& bytes) {
    const WebPData data = DataOf(bytes);
    std::unique_ptr<WebPDemuxer, DemuxDeleter> demux(WebPDemux(&data));
    if (!demux || !(WebPDemuxGetI(demux.get(), WEBP_FF_FORMAT_FLAGS) & EXIF_FLAG)) return 1;
    WebPChunkIterator chunk;
    if (!WebPDemuxGetChunk(demux.get(), "EXIF", 1, &chunk)) return 1;
    const int o = exiforientation::Read(QByteArray::fromRawData(
        reinterpret_cast<const char*>(chunk.chunk.bytes), qsizetype(chunk.chunk.size)));
    WebPDemuxReleaseChunkIterator(&chunk);
    return o;
}

std::optional<QImage> FirstFrame(const QByteArray& bytes) {
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options)) return std::nullopt;
    options.color_mode = MODE_RGBA;
    options.use_threads = 0;
    const WebPData data = DataOf(bytes);
    std::unique_ptr<WebPAnimDecoder, DemuxDeleter> decoder(WebPAnimDecoderNew(&data, &options));
    WebPAnimInfo info;
    if (!decoder || !WebPAnimDecoderGetInfo(decoder.get(), &info)) return std::nullopt;
    // The canvas was checked already: the decoder allocates it when created.
    uint8_t* canvas = nullptr;
    int timestamp = 0;
    if (!WebPAnimDecoderGetNext(decoder.get(), &canvas, &timestamp) || !canvas) return std::nullopt;
    QImage image(int(info.canvas_width), int(info.canvas_height), QImage::Format_RGBA8888);
    if (image.isNull()) return std::nullopt;
    const size_t row = size_t(info.canvas_width) * 4;
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(image.scanLine(y), canvas + row * size_t(y), row);
    return image;
}

}  // namespace

bool LooksLikeWebp(const QByteArray& head) {
    return head.size() >= 12 && head.startsWith("RIFF") && head.mid(8, 4) == "WEBP";
}

QSize NaturalSize(FileParts& file) {
    const QByteArray head = file.Read(0, 64);
    if (!LooksLikeWebp(head) || head.size() < 30) return {};
    // A simple file's frame header says its size, and it has no room for EXIF.
    if (head.mid(12, 4) != "VP8X") {
        WebPBitstreamFeatures f;
        if (WebPGetFeatures(reinterpret_cast<const uint8_t*>(head.constData()), size_t(head.size()),
                            &f) != VP8_STATUS_OK)
            return {};
        return QSize(f.width, f.height);
    }
    const auto u24 = [&](int at) {
        return 1 + (quint8(head[at]) | quint8(head[at + 1]) << 8 | quint8(head[at + 2]) << 16);
    };
    const QSize stored(u24(24), u24(27));
    if (!(quint8(head[20]) & EXIF_FLAG)) return stored;
    // The EXIF chunk comes after the pixels: its way is found by the chunk
    // headers alone.
    const qint64 end =
        std::min(file.Size(), qint64(qFromLittleEndian<quint32>(head.constData() + 4)) + 8);
    qint64 at = 12;
    for (int chunk = 0; chunk < MaxChunks && at + 8 <= end; ++chunk) {
        const QByteArray header = file.Read(at, 8);
        if (header.size() < 8) return {};
        const qint64 size = qFromLittleEndian<quint32>(header.constData() + 4);
        if (header.startsWith("EXIF")) {
            const int o = exiforientation::Read(file.Read(at + 8, std::min(size, ExifBytes)));
            return exiforientation::Turns(o) ? stored.transposed() : stored;
        }
        at += 8 + size + (size & 1);
    }
    return stored;
}

std::optional<QImage> Read(const QByteArray& bytes, QSize maxSize, qint64 maxBytes,
                           QSize* natural) {
    if (!Whole(bytes)) return std::nullopt;
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) return std::nullopt;
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
    const size_t size = size_t(bytes.size());
    if (WebPGetFeatures(data, size, &config.input) != VP8_STATUS_OK) return std::nullopt;
    const int orientation = Orientation(bytes);
    const QSize stored(config.input.width, config.input.height);
    const bool turned = exiforientation::Turns(orientation);
    const QSize upright = turned ? stored.transposed() : stored;
    const QSize target = PictureLoader::FitWithin(upright, maxSize);
    const QSize storedTarget = turned ? target.transposed() : target;

    QImage image;
    if (config.input.has_animation) {
        if (stored.isEmpty() ||
            qint64(stored.width()) * stored.height() > maxBytes / AnimationBytesPerPixel)
            return std::nullopt;
        auto frame = FirstFrame(bytes);
        if (!frame) return std::nullopt;
        image = std::move(*frame);
        if (image.size() != storedTarget)
            image = image.scaled(storedTarget, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    } else {
        if (stored.isEmpty() || StillCost(config.input, storedTarget) > maxBytes)
            return std::nullopt;
        // Written straight into the picture, scaled on the way out of the decoder.
        image = QImage(storedTarget,
                       config.input.has_alpha ? QImage::Format_RGBA8888 : QImage::Format_RGBX8888);
        if (image.isNull()) return std::nullopt;
        // Scaled below three quarters, libwebp itself skips the loop filter
        // and the fancy upsampling (measured: setting them changes nothing).
        // What remains is decoding every macroblock at full size: VP8 has no
        // reduced decode, its blocks predict from their decoded neighbours.
        if (storedTarget != stored) {
            config.options.use_scaling = 1;
            config.options.scaled_width = storedTarget.width();
            config.options.scaled_height = storedTarget.height();
        }
        config.options.use_threads = 0;
        config.output.colorspace = MODE_RGBA;
        config.output.is_external_memory = 1;
        config.output.u.RGBA.rgba = image.bits();
        config.output.u.RGBA.stride = int(image.bytesPerLine());
        config.output.u.RGBA.size = size_t(image.sizeInBytes());
        const VP8StatusCode status = WebPDecode(data, size, &config);
        WebPFreeDecBuffer(&config.output);
        if (status != VP8_STATUS_OK) return std::nullopt;
    }
    if (orientation != 1) image = exiforientation::Upright(image, orientation);
    if (natural) *natural = upright;
    return image;
}

}  // namespace webpreader
