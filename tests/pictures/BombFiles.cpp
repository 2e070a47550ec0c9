#include "BombFiles.h"

// clang-format off
#include <cstdio>  // before the JPEG headers, which use FILE and size_t
#include <jpeglib.h>
// clang-format on
#include <zlib.h>

#include <QBuffer>
#include <QImageWriter>
#include <QtEndian>
#include <initializer_list>
#include <vector>

namespace bombs {
namespace {

QByteArray Le16(quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    return QByteArray(b, 2);
}
QByteArray Le32(quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    return QByteArray(b, 4);
}
QByteArray Be32(quint32 v) {
    char b[4];
    qToBigEndian(v, b);
    return QByteArray(b, 4);
}

QByteArray Chunk(const QByteArray& type, const QByteArray& data) {
    const QByteArray body = type + data;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(body.size()));
    return Be32(quint32(data.size())) + body + Be32(quint32(crc));
}

QByteArray Deflate(const QByteArray& raw) {
    uLongf size = compressBound(uLong(raw.size()));
    QByteArray out(qsizetype(size), '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size,
              reinterpret_cast<const Bytef*>(raw.constData()), uLong(raw.size()), 9);
    out.truncate(qsizetype(size));
    return out;
}

QByteArray Png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    return bytes;
}

QByteArray IcoAround(const QByteArray& entry) {
    // One entry; its directory says 256 × 256, as for any large icon.
    return Le16(0) + Le16(1) + Le16(1) + QByteArray(2, '\0') + Le16(0) + Le16(1) + Le16(32) +
           Le32(quint32(entry.size())) + Le32(22) + entry;
}

// Metafile records, words after the size and function.
QByteArray Record(quint16 function, std::initializer_list<qint16> params) {
    QByteArray out = Le32(quint32(3 + params.size())) + Le16(function);
    for (const qint16 p : params) out += Le16(quint16(p));
    return out;
}

QByteArray Metafile(const QByteArray& records, quint16 objects, QRect box = {0, 0, 1440, 1440}) {
    QByteArray body = Record(0x020B, {qint16(box.top()), qint16(box.left())}) +
                      Record(0x020C, {qint16(box.height()), qint16(box.width())}) + records +
                      Record(0x0000, {});
    quint32 largest = 3;
    for (qsizetype at = 0; at + 6 <= body.size();) {
        const quint32 words = qFromLittleEndian<quint32>(body.constData() + at);
        largest = std::max(largest, words);
        at += qsizetype(words) * 2;
    }
    const QByteArray header = Le16(1) + Le16(9) + Le16(0x0300) +
                              Le32(quint32((18 + body.size()) / 2)) + Le16(objects) +
                              Le32(largest) + Le16(0);
    QByteArray placeable = Le32(0x9AC6CDD7u) + Le16(0) + Le16(quint16(box.left())) +
                           Le16(quint16(box.top())) + Le16(quint16(box.right() + 1)) +
                           Le16(quint16(box.bottom() + 1)) + Le16(1440) + Le32(0);
    quint16 sum = 0;
    for (int i = 0; i < 10; ++i) sum ^= qFromLittleEndian<quint16>(placeable.constData() + 2 * i);
    placeable += Le16(sum);
    return placeable + header + body;
}

QByteArray Pen(qint16 width, quint32 colour) {
    return Record(0x02FA, {0, width, 0, qint16(colour & 0xFFFF), qint16(colour >> 16)});
}

}  // namespace

QByteArray LibJpeg(const QImage& image, const JpegOptions& options) {
    const bool grey = image.format() == QImage::Format_Grayscale8;
    const QImage pixels = grey ? image : image.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = JDIMENSION(pixels.width());
    cinfo.image_height = JDIMENSION(pixels.height());
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, options.quality, TRUE);
    if (options.progressive) jpeg_simple_progression(&cinfo);
    cinfo.restart_in_rows = options.restartRows;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels.constScanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
    free(out);
    return bytes;
}

QByteArray ProgressiveJpeg(int side, int real) {
    QImage grey(real, real, QImage::Format_Grayscale8);
    grey.fill(128);
    QByteArray bytes = LibJpeg(grey, {.progressive = true});
    // The frame header claims the size; the scans stay those of the real
    // picture, so the file is complete as far as its markers go.
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC2", 2));
    qToBigEndian<quint16>(quint16(side), bytes.data() + sof + 5);
    qToBigEndian<quint16>(quint16(side), bytes.data() + sof + 7);
    return bytes;
}

QByteArray GifScreen(int side) {
    // 13 bytes of header and screen, two colours, one 1 × 1 frame, the trailer: 35 bytes.
    QByteArray b = "GIF89a" + Le16(quint16(side)) + Le16(quint16(side)) + QByteArray("\x80\0\0", 3);
    b += QByteArray("\xFF\0\0\0\0\xFF", 6);
    b += "," + Le16(0) + Le16(0) + Le16(1) + Le16(1) + QByteArray(1, '\0');
    b += QByteArray("\x02\x02\x44\x01\x00;", 6);  // clear, index 0, end
    return b;
}

// A grey PNG of side × side, every row zero, compressed run by run: a few
// hundred KB for 16000 × 16000.
QByteArray GreyPng(int side) {
    const QByteArray ihdr =
        Be32(quint32(side)) + Be32(quint32(side)) + QByteArray("\x08\0\0\0\0", 5);
    z_stream z{};
    deflateInit2(&z, 1, Z_DEFLATED, 15, 9, Z_RLE);
    const QByteArray row(side + 1, '\0');
    QByteArray idat;
    QByteArray buffer(1 << 16, '\0');
    for (int y = 0; y <= side; ++y) {
        const bool last = y == side;
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(row.constData()));
        z.avail_in = last ? 0 : uInt(row.size());
        do {
            z.next_out = reinterpret_cast<Bytef*>(buffer.data());
            z.avail_out = uInt(buffer.size());
            deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
            idat.append(buffer.constData(), buffer.size() - qsizetype(z.avail_out));
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + Chunk("IHDR", ihdr) + Chunk("IDAT", idat) +
           Chunk("IEND", {});
}

QByteArray IcoWithPng(int side, const QImage& picture) {
    return IcoAround(side ? GreyPng(side) : Png(picture));
}

QByteArray PngWithTexts(QSize size, int count, int inflated,
                        const QList<std::pair<QByteArray, QByteArray>>& keys, bool compressedKeys) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QByteArray png = Png(image);
    const qsizetype afterHeader = 8 + 12 + 13;
    QByteArray texts;
    for (const auto& [key, value] : keys)
        texts += compressedKeys ? Chunk("zTXt", key + QByteArray(2, '\0') + Deflate(value))
                                : Chunk("tEXt", key + QByteArray(1, '\0') + value);
    if (count > 0) {
        const QByteArray bulk =
            Chunk("zTXt", "Comment" + QByteArray(2, '\0') + Deflate(QByteArray(inflated, 'a')));
        for (int i = 0; i < count; ++i) texts += bulk;
    }
    return png.left(afterHeader) + texts + png.mid(afterHeader);
}

QByteArray WidePenZigZag(int lines, int penWidth) {
    QByteArray records = Pen(qint16(penWidth), 0x0000FF) + Record(0x012D, {0});
    QByteArray poly = Le32(quint32(3 + 1 + 2 * lines)) + Le16(0x0325) + Le16(quint16(lines));
    for (int i = 0; i < lines; ++i)
        poly += Le16(quint16(i % 2 ? 1440 : 0)) + Le16(quint16(1440 * i / lines));
    return Metafile(records + poly, 1);
}

QByteArray SaveDcs(int count) {
    QByteArray records;
    for (int i = 0; i < count; ++i) records += Record(0x001E, {});
    return Metafile(records + Record(0x041B, {1000, 1000, 400, 400}), 0);
}

QByteArray ObjectChurn(int tableSize, int rounds) {
    QByteArray records;
    for (int r = 0; r < rounds; ++r) {
        for (int i = 0; i < tableSize; ++i) records += Pen(1, quint32(i));
        for (int i = 0; i < tableSize; ++i) records += Record(0x01F0, {qint16(i)});
    }
    return Metafile(records + Record(0x041B, {1000, 1000, 400, 400}), quint16(tableSize));
}

QByteArray HatchedRectangles(int count) {
    QByteArray records = Record(0x02FC, {2, 0x00FF, 0, 5}) + Record(0x012D, {0}) +
                         Record(0x0102, {2});  // a diagonal cross hatch, opaque background
    for (int i = 0; i < count; ++i) records += Record(0x041B, {32000, 32000, -32000, -32000});
    return Metafile(records, 1, QRect(-16000, -16000, 32000, 32000));
}

QByteArray ManySmallRectangles(int count) {
    QByteArray records = Record(0x02FC, {0, 0x00FF, 0, 0}) + Record(0x012D, {0});
    for (int i = 0; i < count; ++i) {
        const qint16 x = qint16(i % 1400), y = qint16(i / 1400 % 1400);
        records += Record(0x041B, {qint16(y + 20), qint16(x + 20), y, x});
    }
    return Metafile(records, 1);
}

QByteArray NegativeBox() {
    // A box from -8,-8, as clip art made by other programs has it: red body,
    // blue wheel.
    const QRect box(-8, -8, 1448, 968);
    QByteArray records = Record(0x02FC, {0, 0x00FF, 0, 0}) + Record(0x012D, {0}) +
                         Record(0x041B, {600, 1400, 100, 100}) + Record(0x02FC, {0, 0, 0x00FF, 0}) +
                         Record(0x012D, {1}) + Record(0x0418, {900, 700, 600, 400});
    return Metafile(records, 2, box);
}

}  // namespace bombs
