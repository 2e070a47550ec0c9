#include <QFile>
#include <QFontDatabase>
#include <QImageWriter>
#include <QPainter>
#include <QRadialGradient>
#include <cstdio>
#include <vector>

#include "Assets.h"

extern "C" {
#include <gif_lib.h>
}

namespace gen {

QString Join(const QString& folder, const QString& name) {
    return folder + "/" + name;
}

bool Fail(const QString& what) {
    std::fprintf(stderr, "assetgen: %s\n", qPrintable(what));
    return false;
}

namespace {
bool Save(const QImage& img, const QString& path, const char* format, int quality = -1) {
    QImageWriter w(path, format);
    if (quality >= 0) w.setQuality(quality);
    if (!w.write(img)) return Fail(path + ": " + w.errorString());
    return true;
}
}  // namespace

bool SaveJpeg(const QImage& img, const QString& path, int quality) {
    if (img.format() == QImage::Format_Grayscale8) return Save(img, path, "jpeg", quality);
    return Save(img.convertToFormat(QImage::Format_RGB32), path, "jpeg", quality);
}
bool SaveBmp(const QImage& img, const QString& path) {
    return Save(img.convertToFormat(QImage::Format_RGB32), path, "bmp");
}
bool SaveIco(const QImage& img, const QString& path) {
    return Save(img.convertToFormat(QImage::Format_ARGB32), path, "ico");
}

bool SaveBytes(const QByteArray& bytes, const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        return Fail(path + ": " + f.errorString());
    return true;
}

// Qt reads GIFs but cannot write them; giflib quantizes to one 256-colour
// palette (median cut) and writes a plain GIF89a.
bool SaveGif(const QImage& source, const QString& path) {
    const QImage img = source.convertToFormat(QImage::Format_RGB32);
    const int w = img.width(), h = img.height();
    std::vector<GifByteType> r(size_t(w) * h), g(r.size()), b(r.size()), index(r.size());
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y) * w + x;
            r[i] = GifByteType(qRed(line[x]));
            g[i] = GifByteType(qGreen(line[x]));
            b[i] = GifByteType(qBlue(line[x]));
        }
    }
    int colours = 256;
    GifColorType palette[256] = {};
    if (GifQuantizeBuffer(unsigned(w), unsigned(h), &colours, r.data(), g.data(), b.data(),
                          index.data(), palette) == GIF_ERROR)
        return Fail(path + ": cannot build a palette");
    ColorMapObject* map = GifMakeMapObject(256, palette);
    if (!map) return Fail(path + ": out of memory");
    // Written into memory first, then to the file like every other asset.
    QByteArray bytes;
    auto append = [](GifFileType* file, const GifByteType* data, int length) {
        static_cast<QByteArray*>(file->UserData)
            ->append(reinterpret_cast<const char*>(data), length);
        return length;
    };
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, append, &error);
    if (!gif) {
        GifFreeMapObject(map);
        return Fail(path + ": " + GifErrorString(error));
    }
    EGifSetGifVersion(gif, true);
    bool ok = EGifPutScreenDesc(gif, w, h, 8, 0, map) != GIF_ERROR &&
              EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) != GIF_ERROR;
    for (int y = 0; ok && y < h; ++y)
        ok = EGifPutLine(gif, index.data() + size_t(y) * w, w) != GIF_ERROR;
    const int writeError = gif->Error;
    const bool closed = EGifCloseFile(gif, &error) != GIF_ERROR;
    GifFreeMapObject(map);
    if (!ok) return Fail(path + ": " + GifErrorString(writeError));
    if (!closed) return Fail(path + ": " + GifErrorString(error));
    return SaveBytes(bytes, path);
}

QImage Canvas(int w, int h, QColor fill) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(fill);
    return img;
}

void SoftBackground(QPainter& p, int w, int h, QColor centre, QColor edge) {
    QRadialGradient grad(w * 0.45, h * 0.4, std::max(w, h) * 0.75);
    grad.setColorAt(0, centre);
    grad.setColorAt(1, edge);
    p.fillRect(0, 0, w, h, grad);
}

QImage Shadow(const QImage& src, int radius, QColor colour) {
    // Shrinking and growing again with smooth scaling is a cheap blur.
    const int sw = std::max(1, src.width() / radius), sh = std::max(1, src.height() / radius);
    QImage mask = src.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    {
        QPainter p(&mask);
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(mask.rect(), colour);
    }
    return mask.scaled(sw, sh, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .scaled(src.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

namespace {
QString emojiFamily;
constexpr const char* EmojiFontFile = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf";
constexpr int EmojiStrike = 109;  // the font's bitmap strike, drawn unscaled
}  // namespace

bool LoadEmojiFont() {
    if (!emojiFamily.isEmpty()) return true;
    const int id = QFontDatabase::addApplicationFont(EmojiFontFile);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (id < 0 || families.isEmpty())
        return Fail(QString("cannot load %1 (Debian package fonts-noto-color-emoji; "
                            "scripts/install-deps installs it)")
                        .arg(EmojiFontFile));
    emojiFamily = families.first();
    return true;
}

QImage EmojiGlyph(const QString& emoji, int size) {
    QImage glyph = Canvas(EmojiStrike * 2, EmojiStrike * 2);
    {
        QPainter p(&glyph);
        QFont font(emojiFamily);
        font.setPixelSize(EmojiStrike);
        font.setStyleStrategy(QFont::NoFontMerging);
        p.setFont(font);
        p.drawText(glyph.rect(), Qt::AlignCenter, emoji);
    }
    // Crop to the drawn pixels, so every motif fills its square alike.
    int left = glyph.width(), top = glyph.height(), right = -1, bottom = -1;
    for (int y = 0; y < glyph.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(glyph.constScanLine(y));
        for (int x = 0; x < glyph.width(); ++x)
            if (qAlpha(line[x]) > 8) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    }
    if (right < 0) return QImage();
    const QImage cropped = glyph.copy(left, top, right - left + 1, bottom - top + 1);
    const QImage scaled = cropped.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QImage square = Canvas(size, size);
    QPainter p(&square);
    p.drawImage((size - scaled.width()) / 2, (size - scaled.height()) / 2, scaled);
    return square;
}

}  // namespace gen
