#pragma once
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRect>
#include <QSize>
#include <utility>

// Small files whose headers promise a great deal: a decoder that believed
// them would take gigabytes or minutes. Each is otherwise well formed, so
// nothing but the promise stops it.
namespace bombs {

// `image` through libjpeg itself, with what Qt's writer cannot set: grey
// when the image is Format_Grayscale8 (RGB otherwise), progressive, a
// restart marker every `restartRows` rows of blocks.
struct JpegOptions {
    bool progressive = false;
    int restartRows = 0;
    int quality = 75;
};
QByteArray LibJpeg(const QImage& image, const JpegOptions& options = {});

// Raster pictures.
// A grey progressive JPEG of real × real declaring side × side.
QByteArray ProgressiveJpeg(int side, int real = 8);
QByteArray GifScreen(int side);  // a side × side logical screen around a 1 × 1 frame
// An icon whose one entry is a grey PNG of `side` × `side` (the directory
// says 256), or the given picture when side is 0.
QByteArray IcoWithPng(int side, const QImage& picture = {});
// A PNG of `size` with `count` compressed text chunks of `inflated` bytes
// each, and the given keys as text chunks (compressed or not) before them.
QByteArray PngWithTexts(QSize size, int count, int inflated,
                        const QList<std::pair<QByteArray, QByteArray>>& keys = {},
                        bool compressedKeys = false);

// Metafiles, placeable, 1440 units per inch over a 1 × 1 inch box.
QByteArray WidePenZigZag(int lines, int penWidth);  // one polyline, a pen wider than the picture
QByteArray SaveDcs(int count);                      // SaveDC after SaveDC
QByteArray ObjectChurn(int tableSize, int rounds);  // fills the table, empties it, again
QByteArray HatchedRectangles(int count);            // large rectangles with a hatched brush
QByteArray NegativeBox();
QByteArray ManySmallRectangles(int count);  // within every budget, slow only by its number  // a
                                            // placeable box from -8,-8: drawn like any other

}  // namespace bombs
