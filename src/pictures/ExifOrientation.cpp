#include "pictures/ExifOrientation.h"

#include <QTransform>
#include <QtEndian>

namespace exiforientation {

int Read(const QByteArray& exif) {
    const QByteArray tiff = exif.startsWith(QByteArray("Exif\0\0", 6)) ? exif.mid(6) : exif;
    if (tiff.size() < 8) return 1;
    const bool little = tiff.startsWith("II");
    if (!little && !tiff.startsWith("MM")) return 1;
    const auto u16 = [&](qsizetype at) -> quint32 {
        const char* p = tiff.constData() + at;
        return little ? qFromLittleEndian<quint16>(p) : qFromBigEndian<quint16>(p);
    };
    const auto u32 = [&](qsizetype at) -> quint32 {
        const char* p = tiff.constData() + at;
        return little ? qFromLittleEndian<quint32>(p) : qFromBigEndian<quint32>(p);
    };
    const qint64 ifd = u32(4);
    if (ifd < 8 || ifd + 2 > tiff.size()) return 1;
    const quint32 entries = u16(ifd);
    for (quint32 i = 0; i < entries; ++i) {
        const qint64 at = ifd + 2 + 12 * qint64(i);
        if (at + 12 > tiff.size()) return 1;
        if (u16(at) != 0x0112) continue;
        const quint32 type = u16(at + 2), count = u32(at + 4);
        if (type != 3 || count != 1) return 1;  // one SHORT, kept in the entry
        const quint32 o = u16(at + 8);
        return o >= 1 && o <= 8 ? int(o) : 1;
    }
    return 1;
}

int FromPng(const QByteArray& png) {
    qsizetype at = 8;
    while (at + 12 <= png.size()) {
        const qint64 len = qFromBigEndian<quint32>(png.constData() + at);
        const QByteArray type = png.mid(at + 4, 4);
        if (type == "IDAT" || type == "IEND" || len > png.size() - at - 12) return 1;
        if (type == "eXIf") return Read(png.mid(at + 8, len));
        at += 12 + len;
    }
    return 1;
}

bool Turns(int o) {
    return o >= 5 && o <= 8;
}

QImage Upright(const QImage& image, int o) {
    // Mirror or flip first, then a quarter turn clockwise where one is needed.
    const bool mirror = o == 2 || o == 3 || o == 7;
    const bool flip = o == 3 || o == 4 || o == 5;
    QImage out = mirror || flip ? image.mirrored(mirror, flip) : image;
    if (o >= 5 && o <= 7) out = out.transformed(QTransform().rotate(90));
    if (o == 8) out = out.transformed(QTransform().rotate(270));
    return out;
}

}  // namespace exiforientation
