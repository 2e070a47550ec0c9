#include "pictures/JxlReader.h"

#include <jxl/decode.h>

#include <memory>

#include "pictures/PictureLoader.h"
#include "platform/FileParts.h"

namespace jxlreader {

namespace {

// What a decode allocates per pixel: our RGBA copy, which libjxl writes
// into, and its own working planes (measured: about 3 bytes a pixel for a
// 12-megapixel photo, lossy or lossless).
constexpr qint64 BytesPerPixel = 8;
// No side of a still may exceed this, whatever the budget says.
constexpr int MaxSide = 32768;
// A codestream's header is a few dozen bytes; a container may put its
// metadata boxes (Exif, XMP) before it.
constexpr qint64 HeaderBytes = 4096 * 64;

struct Deleter {
    void operator()(JxlDecoder* d) const { JxlDecoderDestroy(d); }
};
using Decoder = std::unique_ptr<JxlDecoder, Deleter>;

// The upright size from `bytes` (the whole file or its start); invalid
// when the header cannot be read from them.
QSize SizeFrom(JxlDecoder* decoder, const QByteArray& bytes, JxlBasicInfo* info) {
    if (JxlDecoderSubscribeEvents(decoder, JXL_DEC_BASIC_INFO) != JXL_DEC_SUCCESS ||
        JxlDecoderSetInput(decoder, reinterpret_cast<const uint8_t*>(bytes.constData()),
                           size_t(bytes.size())) != JXL_DEC_SUCCESS)
        return {};
    JxlDecoderCloseInput(decoder);
    if (JxlDecoderProcessInput(decoder) != JXL_DEC_BASIC_INFO ||
        JxlDecoderGetBasicInfo(decoder, info) != JXL_DEC_SUCCESS)
        return {};
    // libjxl turns the picture upright and gives the upright size.
    if (info->xsize == 0 || info->ysize == 0 || info->xsize > MaxSide || info->ysize > MaxSide)
        return {};
    return QSize(int(info->xsize), int(info->ysize));
}

}  // namespace

bool LooksLikeJxl(const QByteArray& head) {
    const JxlSignature s =
        JxlSignatureCheck(reinterpret_cast<const uint8_t*>(head.constData()), size_t(head.size()));
    return s == JXL_SIG_CODESTREAM || s == JXL_SIG_CONTAINER;
}

QSize NaturalSize(FileParts& file) {
    // Most files say it in their first bytes; a container with large
    // metadata first takes more.
    for (qint64 part = 4096; part <= HeaderBytes; part *= 8) {
        const Decoder decoder(JxlDecoderCreate(nullptr));
        JxlBasicInfo info;
        if (!decoder) return {};
        const QByteArray head = file.Read(0, part);
        if (const QSize size = SizeFrom(decoder.get(), head, &info); size.isValid()) return size;
        if (head.size() < part) return {};  // the whole file, and no size
    }
    return {};
}

std::optional<QImage> Read(const QByteArray& bytes, QSize maxSize, qint64 maxBytes,
                           QSize* natural) {
    const Decoder decoder(JxlDecoderCreate(nullptr));
    if (!decoder) return std::nullopt;
    JxlBasicInfo info;
    const QSize upright = SizeFrom(decoder.get(), bytes, &info);
    if (upright.isEmpty()) return std::nullopt;
    const QSize target = PictureLoader::FitWithin(upright, maxSize);
    const qint64 area = qint64(upright.width()) * upright.height();
    if (area >
        (maxBytes - bytes.size() - 4 * qint64(target.width()) * target.height()) / BytesPerPixel)
        return std::nullopt;
    // The header is known: start again for the first frame's pixels.
    JxlDecoderReset(decoder.get());
    if (JxlDecoderSubscribeEvents(decoder.get(), JXL_DEC_FULL_IMAGE) != JXL_DEC_SUCCESS ||
        JxlDecoderSetInput(decoder.get(), reinterpret_cast<const uint8_t*>(bytes.constData()),
                           size_t(bytes.size())) != JXL_DEC_SUCCESS)
        return std::nullopt;
    JxlDecoderCloseInput(decoder.get());
    QImage image(upright, QImage::Format_RGBA8888);
    if (image.isNull()) return std::nullopt;
    const JxlPixelFormat format{4, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    for (;;) {
        const JxlDecoderStatus status = JxlDecoderProcessInput(decoder.get());
        if (status == JXL_DEC_NEED_IMAGE_OUT_BUFFER) {
            size_t size = 0;
            if (JxlDecoderImageOutBufferSize(decoder.get(), &format, &size) != JXL_DEC_SUCCESS ||
                size != size_t(image.sizeInBytes()) ||
                JxlDecoderSetImageOutBuffer(decoder.get(), &format, image.bits(), size) !=
                    JXL_DEC_SUCCESS)
                return std::nullopt;
        } else if (status == JXL_DEC_FULL_IMAGE) {
            break;  // the first frame, composed: an animation stops here
        } else {
            return std::nullopt;  // damaged, cut short, or no frame
        }
    }
    if (target != upright)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (natural) *natural = upright;
    return image;
}

}  // namespace jxlreader
