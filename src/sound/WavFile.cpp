#include "sound/WavFile.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cstring>

namespace wav {
namespace {

constexpr quint16 FormatPcm = 1;
constexpr quint16 FormatExtensible = 0xFFFE;
// The tail of the extensible header's sub-format GUID shared by every
// plain format; its first two bytes are the format code.
constexpr unsigned char GuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

quint16 U16(const char* p) {
    return qFromLittleEndian<quint16>(p);
}
quint32 U32(const char* p) {
    return qFromLittleEndian<quint32>(p);
}

struct Format {
    int channels = 0;
    int rate = 0;
    int bits = 0;
    int blockAlign = 0;
};

std::optional<Format> ReadFormat(const char* p, quint32 size) {
    if (size < 16) return std::nullopt;
    quint16 code = U16(p);
    if (code == FormatExtensible) {
        if (size < 40 || std::memcmp(p + 26, GuidTail, sizeof GuidTail) != 0) return std::nullopt;
        code = U16(p + 24);
    }
    if (code != FormatPcm) return std::nullopt;
    Format f;
    f.channels = U16(p + 2);
    f.rate = static_cast<int>(U32(p + 4));
    f.blockAlign = U16(p + 12);
    f.bits = U16(p + 14);
    if (f.channels < 1 || f.channels > 2) return std::nullopt;
    if (f.bits != 8 && f.bits != 16) return std::nullopt;
    if (f.blockAlign != f.channels * f.bits / 8) return std::nullopt;
    // Below and above any rate an audio file really uses.
    if (f.rate < 1000 || f.rate > 384000) return std::nullopt;
    return f;
}

}  // namespace

std::optional<Pcm> Decode(const QByteArray& bytes) {
    const char* data = bytes.constData();
    const qint64 size = bytes.size();
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
        return std::nullopt;
    std::optional<Format> format;
    qint64 at = 12;
    while (at + 8 <= size) {
        const char* chunk = data + at;
        const quint32 chunkSize = U32(chunk + 4);
        const qint64 body = at + 8;
        const qint64 available = std::min<qint64>(chunkSize, size - body);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (available < chunkSize) return std::nullopt;
            format = ReadFormat(data + body, chunkSize);
            if (!format) return std::nullopt;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            // The format comes first in every file that plays.
            if (!format) return std::nullopt;
            Pcm pcm;
            pcm.rate = format->rate;
            pcm.channels = format->channels;
            const qint64 frames = available / format->blockAlign;
            const qint64 count = frames * format->channels;
            pcm.samples.resize(static_cast<size_t>(count));
            const char* in = data + body;
            if (format->bits == 8) {
                for (qint64 i = 0; i < count; ++i)
                    pcm.samples[static_cast<size_t>(i)] = static_cast<int16_t>(
                        (static_cast<int>(static_cast<unsigned char>(in[i])) - 128) * 256);
            } else {
                for (qint64 i = 0; i < count; ++i)
                    pcm.samples[static_cast<size_t>(i)] = qFromLittleEndian<qint16>(in + 2 * i);
            }
            return pcm;
        }
        // Chunks are padded to an even length.
        at = body + static_cast<qint64>(chunkSize) + (chunkSize & 1);
    }
    return std::nullopt;
}

std::optional<Pcm> Load(const QString& file) {
    // Only ordinary files: opening a pipe for reading would wait for a writer.
    if (!QFileInfo(file).isFile()) return std::nullopt;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly) || f.size() > MaxFileBytes) return std::nullopt;
    return Decode(f.readAll());
}

}  // namespace wav
