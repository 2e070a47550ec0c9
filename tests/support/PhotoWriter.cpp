#include "PhotoWriter.h"

#include <jxl/encode.h>
#include <libheif/heif.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace photowriter {

namespace {

void Check(heif_error e, const char* what) {
    if (e.code != heif_error_Ok) qFatal("%s: %s", what, e.message);
}

heif_image* ToHeifImage(const QImage& source, int bits = 8) {
    const QImage rgb = source.convertToFormat(QImage::Format_RGB888);
    heif_image* image = nullptr;
    if (heif_image_create(
            rgb.width(), rgb.height(), heif_colorspace_RGB,
            bits > 8 ? heif_chroma_interleaved_RRGGBB_LE : heif_chroma_interleaved_RGB, &image)
            .code != heif_error_Ok)
        qFatal("heif_image_create failed");
    Check(heif_image_add_plane(image, heif_channel_interleaved, rgb.width(), rgb.height(), bits),
          "plane");
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < rgb.height(); ++y) {
        uint8_t* out = plane + qsizetype(y) * stride;
        const uchar* in = rgb.constScanLine(y);
        if (bits == 8) {
            std::memcpy(out, in, size_t(rgb.width()) * 3);
            continue;
        }
        // Each 8-bit sample widened to the full range of `bits`, little-endian.
        for (int i = 0; i < rgb.width() * 3; ++i)
            qToLittleEndian<quint16>(quint16(in[i] * ((1 << bits) - 1) / 255), out + 2 * i);
    }
    return image;
}

heif_error Append(heif_context*, const void* data, size_t size, void* out) {
    static_cast<QByteArray*>(out)->append(static_cast<const char*>(data), qsizetype(size));
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, "ok"};
}

quint32 Crc32(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void AppendLe32(QByteArray& b, quint32 v) {
    char raw[4];
    qToLittleEndian(v, raw);
    b.append(raw, 4);
}

}  // namespace

QByteArray Heif(const QImage& image, bool av1, int orientation, const QImage& thumbnail,
                int quality, int bits) {
    heif_context* ctx = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    Check(heif_context_get_encoder_for_format(
              ctx, av1 ? heif_compression_AV1 : heif_compression_HEVC, &encoder),
          "encoder");
    heif_encoder_set_lossy_quality(encoder, quality);
    // The quickest settings: the benchmarks write photo-sized files.
    if (!av1) heif_encoder_set_parameter_string(encoder, "preset", "ultrafast");
    if (av1) heif_encoder_set_parameter_integer(encoder, "speed", 9);
    // Debian 12's libheif and libaom abort on a 10-bit AV1 picture.
    if (av1 && bits > 8) qFatal("no 10-bit AVIF writer");
    heif_encoding_options* options = heif_encoding_options_alloc();
    options->image_orientation = heif_orientation(orientation);
    heif_image* main = ToHeifImage(image, bits);
    heif_image_handle* handle = nullptr;
    Check(heif_context_encode_image(ctx, main, encoder, options, &handle), "encode");
    if (!thumbnail.isNull()) {
        // libheif stores a thumbnail only when it scales the picture down.
        heif_image* large = ToHeifImage(thumbnail.scaled(thumbnail.size() * 2));
        heif_image_handle* thumb = nullptr;
        Check(
            heif_context_encode_thumbnail(ctx, large, handle, encoder, options,
                                          std::max(thumbnail.width(), thumbnail.height()), &thumb),
            "thumbnail");
        if (!thumb) qFatal("no thumbnail stored");
        heif_image_handle_release(thumb);
        heif_image_release(large);
    }
    QByteArray out;
    heif_writer writer{1, Append};
    Check(heif_context_write(ctx, &writer, &out), "write");
    heif_image_handle_release(handle);
    heif_image_release(main);
    heif_encoding_options_free(options);
    heif_encoder_release(encoder);
    heif_context_free(ctx);
    return out;
}

QByteArray AnimatedWebp(const QList<QImage>& frames) {
    if (frames.isEmpty()) qFatal("an animation needs a frame");
    const QSize size = frames.first().size();
    WebPAnimEncoderOptions options;
    WebPConfig config;
    if (!WebPAnimEncoderOptionsInit(&options) || !WebPConfigInit(&config))
        qFatal("libwebp version mismatch");
    config.lossless = 1;
    WebPAnimEncoder* encoder = WebPAnimEncoderNew(size.width(), size.height(), &options);
    int timestamp = 0;
    for (const QImage& frame : frames) {
        const QImage rgba = frame.convertToFormat(QImage::Format_RGBA8888);
        WebPPicture picture;
        WebPPictureInit(&picture);
        picture.use_argb = 1;
        picture.width = rgba.width();
        picture.height = rgba.height();
        if (!WebPPictureImportRGBA(&picture, rgba.constBits(), int(rgba.bytesPerLine())) ||
            !WebPAnimEncoderAdd(encoder, &picture, timestamp, &config))
            qFatal("cannot add a frame");
        WebPPictureFree(&picture);
        timestamp += 100;
    }
    WebPData data;
    WebPDataInit(&data);
    if (!WebPAnimEncoderAdd(encoder, nullptr, timestamp, nullptr) ||
        !WebPAnimEncoderAssemble(encoder, &data))
        qFatal("cannot assemble the animation");
    const QByteArray out(reinterpret_cast<const char*>(data.bytes), qsizetype(data.size));
    WebPDataClear(&data);
    WebPAnimEncoderDelete(encoder);
    return out;
}

QByteArray Jxl(const QImage& image, int orientation, bool lossless) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    JxlEncoder* encoder = JxlEncoderCreate(nullptr);
    JxlBasicInfo info;
    JxlEncoderInitBasicInfo(&info);
    info.xsize = uint32_t(rgb.width());
    info.ysize = uint32_t(rgb.height());
    info.bits_per_sample = 8;
    info.num_color_channels = 3;
    info.uses_original_profile = lossless ? JXL_TRUE : JXL_FALSE;
    info.orientation = JxlOrientation(orientation);
    JxlColorEncoding srgb;
    JxlColorEncodingSetToSRGB(&srgb, JXL_FALSE);
    if (JxlEncoderSetBasicInfo(encoder, &info) != JXL_ENC_SUCCESS ||
        JxlEncoderSetColorEncoding(encoder, &srgb) != JXL_ENC_SUCCESS)
        qFatal("JPEG XL header refused");
    JxlEncoderFrameSettings* frame = JxlEncoderFrameSettingsCreate(encoder, nullptr);
    JxlEncoderFrameSettingsSetOption(frame, JXL_ENC_FRAME_SETTING_EFFORT, 3);
    if (lossless)
        JxlEncoderSetFrameLossless(frame, JXL_TRUE);
    else
        JxlEncoderSetFrameDistance(frame, 1.0f);
    QByteArray pixels;
    for (int y = 0; y < rgb.height(); ++y)
        pixels.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 3);
    const JxlPixelFormat format{3, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    if (JxlEncoderAddImageFrame(frame, &format, pixels.constData(), size_t(pixels.size())) !=
        JXL_ENC_SUCCESS)
        qFatal("JPEG XL frame refused");
    JxlEncoderCloseInput(encoder);
    QByteArray out(4096, '\0');
    qsizetype written = 0;
    for (;;) {
        auto* next = reinterpret_cast<uint8_t*>(out.data() + written);
        size_t room = size_t(out.size() - written);
        const JxlEncoderStatus status = JxlEncoderProcessOutput(encoder, &next, &room);
        written = reinterpret_cast<char*>(next) - out.data();
        if (status == JXL_ENC_SUCCESS) break;
        if (status != JXL_ENC_NEED_MORE_OUTPUT) qFatal("JPEG XL encoding failed");
        out.resize(out.size() * 2);
    }
    JxlEncoderDestroy(encoder);
    out.truncate(written);
    return out;
}

QByteArray ExifBlock(int orientation) {
    QByteArray b("II*\0", 4);
    AppendLe32(b, 8);
    b.append(char(1)).append(char(0));  // one entry
    b.append(QByteArray("\x12\x01\x03\x00", 4));
    AppendLe32(b, 1);
    b.append(char(orientation)).append(3, '\0');
    AppendLe32(b, 0);
    return b;
}

QByteArray PngWithOrientation(const QByteArray& png, int orientation) {
    const QByteArray data = ExifBlock(orientation);
    QByteArray chunk(4, '\0');
    qToBigEndian<quint32>(quint32(data.size()), chunk.data());
    const QByteArray typed = "eXIf" + data;
    chunk += typed;
    char crc[4];
    qToBigEndian(Crc32(typed), crc);
    chunk.append(crc, 4);
    const qsizetype afterHeader = 8 + 12 + 13;
    return png.left(afterHeader) + chunk + png.mid(afterHeader);
}

QByteArray WebpWithOrientation(const QByteArray& webp, int orientation) {
    const QImage size = QImage::fromData(webp, "webp");
    QByteArray body("WEBP");
    body += "VP8X";
    AppendLe32(body, 10);
    body.append(char(0x08)).append(3, '\0');  // an EXIF chunk follows
    const auto put24 = [&](int v) {
        for (int k = 0; k < 3; ++k) body.append(char((v >> (8 * k)) & 0xFF));
    };
    put24(size.width() - 1);
    put24(size.height() - 1);
    body += webp.mid(12);
    const QByteArray exif = ExifBlock(orientation);
    body += "EXIF";
    AppendLe32(body, quint32(exif.size()));
    body += exif;
    if (exif.size() % 2) body.append('\0');
    QByteArray out("RIFF");
    AppendLe32(out, quint32(body.size()));
    return out + body;
}

}  // namespace photowriter
