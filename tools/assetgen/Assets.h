#pragma once
// Shared pieces of the asset generator. Every writer returns false (after
// saying why on stderr) when a file cannot be written, and draws the same
// bytes on every run: no clock, no unseeded randomness.
#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

class QPainter;

namespace gen {

// Output folder with the trailing subfolder, e.g. "<out>/Graphics".
QString Join(const QString& folder, const QString& name);

bool Fail(const QString& what);

// Image files. JPEGs at a fixed quality; GIFs through giflib with a palette
// built from the picture; ICOs through Qt's icon writer.
bool SaveJpeg(const QImage& img, const QString& path, int quality = 88);
bool SaveBmp(const QImage& img, const QString& path);
bool SaveIco(const QImage& img, const QString& path);
bool SaveGif(const QImage& img, const QString& path);
bool SaveBytes(const QByteArray& bytes, const QString& path);

// A small deterministic generator for scattering stars, clouds and dots.
class Lcg {
public:
    explicit Lcg(uint32_t seed) : state_(seed) {}
    uint32_t Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    // Uniform in [lo, hi).
    double Range(double lo, double hi) { return lo + (hi - lo) * (Next() % 1000000u) / 1000000.0; }

private:
    uint32_t state_;
};

// A new ARGB canvas, antialiased painting is up to the caller.
QImage Canvas(int w, int h, QColor fill = Qt::transparent);

// Radial gradient background: light in the middle, deeper at the edges.
void SoftBackground(QPainter& p, int w, int h, QColor centre, QColor edge);

// Blurs the alpha of `src` into a soft shadow of the given colour.
QImage Shadow(const QImage& src, int radius, QColor colour);

// Colour emoji glyphs from the Noto Color Emoji font of the Debian package
// fonts-noto-color-emoji, loaded from its file so no other font can stand in.
bool LoadEmojiFont();
// The glyph of `emoji` drawn into a transparent square of `size` pixels.
QImage EmojiGlyph(const QString& emoji, int size);

// A shape motif drawn on a 100 x 100 grid, scaled to a square of `size`.
QImage DrawShape(void (*draw)(QPainter&), int size);

// The writers of each part of the program folder.
bool WriteGraphics(const QString& out);
bool WriteShapeGraphics(const QString& graphics);
bool WriteWmfGraphics(const QString& graphics);
bool WriteBacks(const QString& out);
bool WriteSounds(const QString& out);
bool WriteHelp(const QString& out);
bool WriteSplash(const QString& out);
// The icon as PNGs for the desktop's icon theme, one per size.
bool WriteThemeIcons(const QString& out);

}  // namespace gen
