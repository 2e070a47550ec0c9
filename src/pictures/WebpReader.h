#pragma once
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <optional>

class FileParts;

// WebP stills through libwebp, scaled while decoding; an animation shows its
// first frame. EXIF orientation is applied once.
namespace webpreader {

// True when `head` (a file's first 16 bytes) is a RIFF file of WebP form.
bool LooksLikeWebp(const QByteArray& head);

// The upright size from the headers, read without the pixels between them;
// invalid when they cannot be read.
QSize NaturalSize(FileParts& file);

// Decodes `bytes` to fit inside `maxSize` (whole when invalid), aspect kept,
// never enlarged. The size comes from the headers and must cost no more than
// `maxBytes` decoded; a file shorter than its RIFF header says, damaged or
// over the limit gives nothing. `natural` gets the upright size.
std::optional<QImage> Read(const QByteArray& bytes, QSize maxSize, qint64 maxBytes, QSize* natural);

}  // namespace webpreader
