#pragma once
#include <QByteArray>
#include <QMap>
#include <QString>
#include <optional>

// What decoding a file will cost, read from its headers alone before any
// decoder runs, and the files the decoders are handed instead of the
// player's bytes where those carry more than a picture. Nothing here
// allocates more than the file's size. Sizes are in bytes.
namespace decodecost {

// A GIF: its first picture is put on a canvas as large as the logical screen
// or as the largest frame reaches, whichever is more; `frame` is the largest
// frame of all (the decoder keeps one for disposal). Nothing for a file whose
// blocks do not chain.
struct Gif {
    qint64 canvasWidth = 0, canvasHeight = 0;
    qint64 frameWidth = 0, frameHeight = 0;
    // The first image's data blocks are all there (a cut file is refused).
    bool firstFrameComplete = false;
    qint64 Bytes() const { return 4 * (canvasWidth * canvasHeight + frameWidth * frameHeight); }
};
std::optional<Gif> GifCost(const QByteArray& file);

// A JPEG's frame as the header gives it. A progressive file, or one whose
// first scan does not hold every component, is decoded into a buffer of
// every coefficient of the whole picture first (at any scale).
struct Jpeg {
    qint64 width = 0, height = 0;
    bool multiScan = false;
    qint64 coefficientBytes = 0;  // the whole-picture buffer, when multiScan
    qint64 rowBytes = 0;          // the decoder's own row buffers
};
std::optional<Jpeg> JpegCost(const QByteArray& file);

// A PNG's header: size and the bytes a decoded pixel takes.
struct Png {
    qint64 width = 0, height = 0;
    int bytesPerPixel = 4;  // 8 for sixteen bits a channel
    qint64 Bytes() const { return width * height * bytesPerPixel; }
};
std::optional<Png> PngCost(const QByteArray& file);

// The PNG with only the chunks that make its pixels and colours: text and
// every other chunk the game has no use for are left out (their count is
// not bounded, and the decoder inflates each compressed one). `thumbKeys`,
// when given, gets the "Thumb::" texts, each and their number capped.
// Nothing for a file whose chunks do not chain up to the end chunk.
std::optional<QByteArray> PngPixelsOnly(const QByteArray& file,
                                        QMap<QString, QString>* thumbKeys = nullptr);

// The largest image of an icon, by the size its own data announces (the
// directory's sizes stop at 256 and need not agree). Nothing when an entry
// lies outside the file or announces no size.
struct IcoEntry {
    int index = 0;
    qint64 width = 0, height = 0;
    qint64 offset = 0, length = 0;  // of its data in the file
    bool png = false;               // a PNG file rather than a bitmap without its file header
    qint64 Bytes() const { return 4 * width * height; }
};
std::optional<IcoEntry> LargestIcoEntry(const QByteArray& file);

}  // namespace decodecost
