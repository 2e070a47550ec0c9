#pragma once
#include <QByteArray>
#include <QImage>
#include <QSize>

// The orientation an EXIF block records (the TIFF-structured data of a WebP
// "EXIF" chunk or a PNG "eXIf" chunk, with or without the "Exif\0\0" lead).
namespace exiforientation {

// 1 to 8 as EXIF numbers them; 1 (as stored) when absent or unreadable.
int Read(const QByteArray& exif);

// The orientation of a PNG file's "eXIf" chunk (Qt's reader leaves it alone);
// 1 when it has none.
int FromPng(const QByteArray& png);

// True when orientation `o` turns the picture a quarter: its upright size is
// the stored one transposed.
bool Turns(int o);

// `image` as the player should see it under orientation `o`.
QImage Upright(const QImage& image, int o);

}  // namespace exiforientation
