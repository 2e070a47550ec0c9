#include "pictures/DecodeCost.h"

// clang-format off
#include <cstdio>  // before the JPEG headers, which use FILE and size_t
#include <jpeglib.h>
// clang-format on
#include <zlib.h>

#include <QtEndian>
#include <algorithm>
#include <climits>
#include <csetjmp>

#include "pictures/DecodeLimits.h"

namespace decodecost {
namespace {

quint8 ByteAt(const QByteArray& b, qsizetype at) {
    return static_cast<quint8>(b[at]);
}
quint16 U16At(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}
quint32 U32At(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
quint32 BigU32At(const QByteArray& b, qsizetype at) {
    return qFromBigEndian<quint32>(b.constData() + at);
}

struct HeaderOnly {
    jpeg_error_mgr err;
    std::jmp_buf jump;
};
void HeaderFail(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<HeaderOnly*>(cinfo->err)->jump, 1);
}
void HeaderQuiet(j_common_ptr, int) {}
void HeaderSilent(j_common_ptr) {}

qint64 DivUp(qint64 a, qint64 b) {
    return (a + b - 1) / b;
}
qint64 RoundUp(qint64 a, qint64 b) {
    return DivUp(a, b) * b;
}

// The text of a PNG text chunk whose keyword is one of the cache's, within the cap.
void ReadThumbKey(const QByteArray& type, const QByteArray& data, QMap<QString, QString>& keys) {
    const qsizetype nul = data.indexOf('\0');
    if (nul <= 0 || nul > 79) return;
    const QByteArray keyword = data.left(nul);
    if (!keyword.startsWith("Thumb::") || keys.size() >= decodelimits::ThumbKeys) return;
    const auto inflated = [](const QByteArray& z) -> std::optional<QByteArray> {
        QByteArray out(decodelimits::ThumbKeyBytes + 1, '\0');
        z_stream s{};
        if (inflateInit(&s) != Z_OK) return std::nullopt;
        s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(z.constData()));
        s.avail_in = uInt(z.size());
        s.next_out = reinterpret_cast<Bytef*>(out.data());
        s.avail_out = uInt(out.size());
        const int r = inflate(&s, Z_FINISH);
        const qsizetype got = qsizetype(s.total_out);
        inflateEnd(&s);
        // More than the cap, or a stream that does not end: no text.
        if (r != Z_STREAM_END || got > decodelimits::ThumbKeyBytes) return std::nullopt;
        out.truncate(got);
        return out;
    };
    std::optional<QByteArray> text;
    bool utf8 = false;
    if (type == "tEXt") {
        text = data.mid(nul + 1);
    } else if (type == "zTXt") {
        if (data.size() < nul + 2 || data[nul + 1] != 0) return;
        text = inflated(data.mid(nul + 2));
    } else {  // iTXt: flag, method, language, translated keyword, text
        if (data.size() < nul + 3) return;
        const bool compressed = data[nul + 1] != 0;
        const qsizetype lang = data.indexOf('\0', nul + 3);
        const qsizetype translated = lang < 0 ? -1 : data.indexOf('\0', lang + 1);
        if (translated < 0) return;
        const QByteArray body = data.mid(translated + 1);
        text = compressed ? inflated(body) : std::optional<QByteArray>(body);
        utf8 = true;
    }
    if (!text || text->size() > decodelimits::ThumbKeyBytes) return;
    keys.insert(QString::fromLatin1(keyword),
                utf8 ? QString::fromUtf8(*text) : QString::fromLatin1(*text));
}

// The chunks a picture is made of, and those that say how its colours are meant.
bool KeptChunk(const QByteArray& type) {
    static const char* const kept[] = {"IHDR", "PLTE", "IDAT", "IEND", "tRNS", "gAMA",
                                       "cHRM", "sRGB", "iCCP", "sBIT", "bKGD", "pHYs"};
    return std::any_of(std::begin(kept), std::end(kept), [&](const char* k) { return type == k; });
}

}  // namespace

std::optional<Gif> GifCost(const QByteArray& b) {
    const qsizetype n = b.size();
    if (n < 13) return std::nullopt;
    Gif cost;
    cost.canvasWidth = U16At(b, 6);
    cost.canvasHeight = U16At(b, 8);
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
    bool frames = false;
    // Every frame the file holds counts, not only the first: a decoder may read on.
    while (at < n) {
        const quint8 kind = ByteAt(b, at);
        if (kind == 0x21) {
            at += 2;
            if (!skipBlocks()) break;
        } else if (kind == 0x2C) {
            if (at + 10 > n) break;
            const qint64 left = U16At(b, at + 1), top = U16At(b, at + 3);
            const qint64 w = U16At(b, at + 5), h = U16At(b, at + 7);
            cost.canvasWidth = std::max(cost.canvasWidth, left + w);
            cost.canvasHeight = std::max(cost.canvasHeight, top + h);
            cost.frameWidth = std::max(cost.frameWidth, w);
            cost.frameHeight = std::max(cost.frameHeight, h);
            const quint8 local = ByteAt(b, at + 9);
            at += 10;
            if (local & 0x80) at += 3 * (qsizetype(1) << ((local & 7) + 1));
            at += 1;
            const bool first = !frames;
            frames = true;
            const bool whole = skipBlocks();
            if (first) cost.firstFrameComplete = whole;
            if (!whole) break;
        } else {
            break;  // the trailer, or bytes the decoder stops at
        }
    }
    if (!frames) return std::nullopt;
    return cost;
}

std::optional<Jpeg> JpegCost(const QByteArray& b) {
    HeaderOnly handler;
    jpeg_decompress_struct cinfo;
    cinfo.err = jpeg_std_error(&handler.err);
    handler.err.error_exit = HeaderFail;
    handler.err.emit_message = HeaderQuiet;
    handler.err.output_message = HeaderSilent;
    if (setjmp(handler.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return std::nullopt;
    }
    jpeg_create_decompress(&cinfo);
    // Reading the headers takes tables and the component list, a few KB.
    cinfo.mem->max_memory_to_use = 4 * 1024 * 1024;
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(b.constData()),
                 static_cast<unsigned long>(b.size()));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&cinfo);
        return std::nullopt;
    }
    Jpeg cost;
    cost.width = cinfo.image_width;
    cost.height = cinfo.image_height;
    cost.multiScan = cinfo.progressive_mode || cinfo.comps_in_scan < cinfo.num_components;
    int maxH = 1, maxV = 1;
    for (int c = 0; c < cinfo.num_components; ++c) {
        maxH = std::max(maxH, cinfo.comp_info[c].h_samp_factor);
        maxV = std::max(maxV, cinfo.comp_info[c].v_samp_factor);
    }
    for (int c = 0; c < cinfo.num_components; ++c) {
        const jpeg_component_info& comp = cinfo.comp_info[c];
        const qint64 blocksW = DivUp(cost.width * comp.h_samp_factor, qint64(maxH) * DCTSIZE);
        const qint64 blocksH = DivUp(cost.height * comp.v_samp_factor, qint64(maxV) * DCTSIZE);
        if (cost.multiScan)
            cost.coefficientBytes += RoundUp(blocksW, comp.h_samp_factor) *
                                     RoundUp(blocksH, comp.v_samp_factor) * DCTSIZE2 *
                                     qint64(sizeof(JCOEF));
        // A few rows of blocks of samples, for the context the upsampler needs.
        cost.rowBytes +=
            RoundUp(blocksW, comp.h_samp_factor) * DCTSIZE * comp.v_samp_factor * DCTSIZE * 4;
    }
    jpeg_destroy_decompress(&cinfo);
    return cost;
}

std::optional<Png> PngCost(const QByteArray& b) {
    if (b.size() < 8 + 8 + 13 || b.mid(12, 4) != "IHDR") return std::nullopt;
    Png cost;
    cost.width = BigU32At(b, 16);
    cost.height = BigU32At(b, 20);
    cost.bytesPerPixel = ByteAt(b, 24) == 16 ? 8 : 4;
    if (cost.width <= 0 || cost.height <= 0 || cost.width > INT_MAX || cost.height > INT_MAX)
        return std::nullopt;
    return cost;
}

std::optional<QByteArray> PngPixelsOnly(const QByteArray& b, QMap<QString, QString>* thumbKeys) {
    if (b.size() < 8) return std::nullopt;
    QByteArray out = b.left(8);
    bool profile = false;
    qsizetype at = 8;
    while (at + 12 <= b.size()) {
        const qint64 len = BigU32At(b, at);
        if (len > b.size() - at - 12) return std::nullopt;
        const QByteArray type = b.mid(at + 4, 4);
        const qsizetype whole = qsizetype(12 + len);
        if (type == "tEXt" || type == "zTXt" || type == "iTXt") {
            if (thumbKeys) ReadThumbKey(type, b.mid(at + 8, qsizetype(len)), *thumbKeys);
        } else if (type == "iCCP") {
            // One profile: a second is an error the decoder would still inflate.
            if (!profile) out += b.mid(at, whole);
            profile = true;
        } else if (KeptChunk(type) || (type[0] >= 'A' && type[0] <= 'Z')) {
            // Critical chunks the decoder does not know stay: it refuses them.
            out += b.mid(at, whole);
        }
        at += whole;
        if (type == "IEND") return out;
    }
    return std::nullopt;
}

std::optional<IcoEntry> LargestIcoEntry(const QByteArray& b) {
    if (b.size() < 6) return std::nullopt;
    const int count = std::min<int>(U16At(b, 4), 256);
    if (count == 0 || b.size() < 6 + 16 * qsizetype(count)) return std::nullopt;
    std::optional<IcoEntry> best;
    for (int i = 0; i < count; ++i) {
        const qsizetype dir = 6 + 16 * qsizetype(i);
        IcoEntry e;
        e.index = i;
        e.length = U32At(b, dir + 8);
        e.offset = U32At(b, dir + 12);
        if (e.offset < 6 || e.length < 16 || e.offset > b.size() || e.length > b.size() - e.offset)
            return std::nullopt;
        const QByteArray head = b.mid(e.offset, std::min<qint64>(e.length, 32));
        if (head.startsWith("\x89PNG\r\n\x1A\n")) {
            const auto png = PngCost(head);
            if (!png) return std::nullopt;
            e.png = true;
            e.width = png->width;
            e.height = png->height;
        } else {
            const quint32 header = U32At(head, 0);
            if (header == 12) {
                e.width = U16At(head, 4);
                e.height = U16At(head, 6) / 2;
            } else if (header >= 40 && head.size() >= 16) {
                e.width = std::abs(qint64(qint32(U32At(head, 4))));
                e.height = std::abs(qint64(qint32(U32At(head, 8)))) / 2;
            } else {
                return std::nullopt;
            }
        }
        if (e.width <= 0 || e.height <= 0) return std::nullopt;
        if (!best || e.width * e.height > best->width * best->height) best = e;
    }
    return best;
}

}  // namespace decodecost
