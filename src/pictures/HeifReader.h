#pragma once
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <optional>

class FileParts;

// HEIC/HEIF and AVIF stills through libheif: the primary image, turned and
// mirrored as the file says (once, by libheif). A card takes the smallest of
// the file's own thumbnails that is at least its size instead of decoding the
// whole photo.
namespace heifreader {

// True when `head` (a file's first 16 bytes) opens with a file-type box of a
// HEIF brand (HEVC or AV1 coded).
bool LooksLikeHeif(const QByteArray& head);

// The primary image's upright size from the headers, read without the coded
// pixels; invalid when the file cannot be read.
QSize NaturalSize(FileParts& file);

// Decodes `bytes` to fit inside `maxSize` (whole when invalid), aspect kept,
// never enlarged. The chosen image's size comes from the headers and must
// cost no more than `maxBytes` decoded; anything damaged, cut short or over
// the limit gives nothing. `natural` gets the upright size.
std::optional<QImage> Read(const QByteArray& bytes, QSize maxSize, qint64 maxBytes, QSize* natural);

}  // namespace heifreader
