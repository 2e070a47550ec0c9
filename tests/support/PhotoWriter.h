#pragma once
#include <QByteArray>
#include <QImage>
#include <QList>

// Files of the photo types written with the libraries themselves, for the
// tests, the fuzz seeds and the benchmarks.
namespace photowriter {

// A HEIC (HEVC) or, with `av1`, an AVIF file of `image`. `orientation` (as
// EXIF numbers it) is stored as the file's own rotation and mirror; a
// non-null `thumbnail` is stored as the primary image's thumbnail. `bits`
// above 8 stores the picture at that depth, as cameras record HDR photos.
QByteArray Heif(const QImage& image, bool av1, int orientation = 1,
                const QImage& thumbnail = QImage(), int quality = 60, int bits = 8);

// An animated WebP (lossless), one frame per image, each shown a tenth of a second.
QByteArray AnimatedWebp(const QList<QImage>& frames);

// A JPEG XL file of `image` (lossy, or `lossless`), turned for showing by
// `orientation` as EXIF numbers it.
QByteArray Jxl(const QImage& image, int orientation = 1, bool lossless = false);

// An EXIF block recording `orientation` and nothing else.
QByteArray ExifBlock(int orientation);

// `png` with an "eXIf" chunk recording `orientation` after its header.
QByteArray PngWithOrientation(const QByteArray& png, int orientation);

// `webp` (a simple file as Qt writes it) in the extended form, with an
// "EXIF" chunk recording `orientation`.
QByteArray WebpWithOrientation(const QByteArray& webp, int orientation);

}  // namespace photowriter
