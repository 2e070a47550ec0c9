#pragma once
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <optional>

class FileParts;

// JPEG XL stills through libjxl: the first frame of an animation, turned as
// the file says (once, by libjxl), scaled to the card after decoding, as
// libjxl decodes no smaller.
namespace jxlreader {

// True when `head` (a file's first 16 bytes) opens a JPEG XL codestream or
// container.
bool LooksLikeJxl(const QByteArray& head);

// The upright size from the headers, read without the pixels; invalid when
// they cannot be read.
QSize NaturalSize(FileParts& file);

// Decodes `bytes` to fit inside `maxSize` (whole when invalid), aspect kept,
// never enlarged. The size comes from the headers and must cost no more than
// `maxBytes` decoded; anything damaged, cut short or over the limit gives
// nothing. `natural` gets the upright size.
std::optional<QImage> Read(const QByteArray& bytes, QSize maxSize, qint64 maxBytes, QSize* natural);

}  // namespace jxlreader
