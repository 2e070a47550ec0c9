#include <fcntl.h>
#include <gif_lib.h>
#include <libheif/heif.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QTest>
#include <QThread>
#include <QtEndian>
#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "BombFiles.h"
#include "PhotoWriter.h"
#include "TestSupport.h"
#include "WmfWriter.h"
#include "pictures/HeifReader.h"
#include "pictures/JxlReader.h"
#include "pictures/PictureLoader.h"
#include "pictures/WebpReader.h"
#include "platform/FileParts.h"

namespace {

// Left half red, right half blue: shows which way a picture came out.
QImage Halves(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::blue);
    QPainter(&img).fillRect(0, 0, w / 2, h, Qt::red);
    return img;
}

QByteArray Encode(const QImage& img, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (QByteArray(format) == "jpeg") writer.setQuality(95);
    if (!writer.write(img)) qFatal("cannot write %s", format);
    return bytes;
}

int WriteToArray(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

// Qt reads GIF but does not write it: giflib does, left half red, right half blue.
QByteArray GifHalves(int w, int h) {
    QByteArray bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, WriteToArray, &error);
    GifColorType colours[2] = {{255, 0, 0}, {0, 0, 255}};
    ColorMapObject* map = GifMakeMapObject(2, colours);
    EGifPutScreenDesc(gif, w, h, 1, 0, map);
    EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr);
    std::vector<GifPixelType> row(w);
    for (int x = 0; x < w; ++x) row[x] = x < w / 2 ? 0 : 1;
    for (int y = 0; y < h; ++y) EGifPutLine(gif, row.data(), w);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return bytes;
}

// A minimal EXIF block with one orientation entry, placed right after the
// start-of-image marker.
QByteArray WithOrientation(const QByteArray& jpeg, quint16 orientation) {
    const QByteArray exif = QByteArray("Exif\0\0", 6) + photowriter::ExifBlock(orientation);
    QByteArray segment("\xFF\xE1", 2);
    const quint16 len = quint16(exif.size() + 2);
    segment += char(len >> 8);
    segment += char(len & 0xFF);
    segment += exif;
    return jpeg.left(2) + segment + jpeg.mid(2);
}

// Metafile of 1500 × 900 units (100 × 60 pixels): a red ellipse filling the
// left half with a black outline, a blue rectangle top right, a green
// triangle bottom right.
QByteArray Shapes(bool placeable) {
    WmfWriter w(1500, 900, placeable);
    w.SetPen(Qt::black, 45);
    w.SetBrush(Qt::red);
    w.Ellipse(0, 0, 750, 900);
    w.SetNullPen();
    w.SetBrush(Qt::blue);
    w.Rectangle(750, 0, 1500, 450);
    w.SetBrush(Qt::green);
    w.Polygon(QPolygon({QPoint(750, 900), QPoint(1500, 900), QPoint(1500, 450)}));
    w.SetPen(Qt::yellow, 30);
    w.Polyline(QPolygon({QPoint(0, 0), QPoint(1500, 900)}));
    return w.Finish();
}

// 1500 × 1500 units (100 × 100 pixels): a pie, a rounded rectangle, a
// polygon with a hole, a bitmap and text.
QByteArray Mixed() {
    WmfWriter w(1500, 1500);  // 100 × 100 pixels
    w.SetNullPen();
    w.SetBrush(Qt::red);
    w.Pie(0, 0, 1500, 1500, QPoint(1500, 750), QPoint(750, 0));  // top-right quarter
    w.SetBrush(Qt::blue);
    w.RoundRect(0, 900, 600, 1500, 150, 150);
    w.SetBrush(Qt::green);
    w.PolyPolygon(
        {QPolygon({QPoint(900, 900), QPoint(1500, 900), QPoint(1500, 1500), QPoint(900, 1500)}),
         QPolygon({QPoint(1100, 1100), QPoint(1300, 1100), QPoint(1300, 1300),
                   QPoint(1100, 1300)})});  // a square frame with a hole
    w.StretchDib(0, 0, 600, 300, Halves(4, 2));
    w.SetTextColor(Qt::magenta);
    w.SetBackgroundTransparent(true);
    w.SetFont(300, 700);
    w.TextOut(0, 450, "WWW");
    return w.Finish();
}

// Three shapes placed by their share of the window, so every framing below
// must show the same picture: a red rectangle on the left, a blue ellipse
// top right, a green triangle bottom right. `at` turns a share of the window
// (0 to 1 from the top left as shown) into logical units.
QByteArray FramedShapes(const WmfWriter::Window& window, const QRect& bounds, bool placeable,
                        bool realizePalette = false) {
    WmfWriter w(window, bounds, placeable);
    const auto at = [&](double fx, double fy) {
        const QPoint o = window.origin;
        const QSize e = window.setExtent ? window.extent : bounds.size();
        return QPoint(o.x() + int(std::lround(fx * e.width())),
                      o.y() + int(std::lround(fy * e.height())));
    };
    if (realizePalette) w.RealizePalette();
    w.SetNullPen();
    w.SetBrush(Qt::red);
    const QPoint r1 = at(0.1, 0.2), r2 = at(0.4, 0.8);
    w.Rectangle(r1.x(), r1.y(), r2.x(), r2.y());
    w.SetBrush(Qt::blue);
    const QPoint e1 = at(0.6, 0.1), e2 = at(0.9, 0.5);
    w.Ellipse(e1.x(), e1.y(), e2.x(), e2.y());
    w.SetBrush(Qt::green);
    w.Polygon(QPolygon({at(0.6, 0.9), at(0.9, 0.9), at(0.9, 0.6)}));
    return w.Finish();
}

// The box of the pixels that are not transparent.
QRect DrawnBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 128) box |= QRect(x, y, 1, 1);
    return box;
}

bool Near(QRgb pixel, QColor want, int tolerance = 40) {
    const QColor c = QColor::fromRgba(pixel);
    return c.alpha() > 200 && std::abs(c.red() - want.red()) <= tolerance &&
           std::abs(c.green() - want.green()) <= tolerance &&
           std::abs(c.blue() - want.blue()) <= tolerance;
}

quint32 U32(const QByteArray& b, int at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
void Put32(QByteArray& b, int at, quint32 v) {
    qToLittleEndian(v, b.data() + at);
}
void Put16(QByteArray& b, int at, quint16 v) {
    qToLittleEndian(v, b.data() + at);
}

// A bitmap file written byte by byte: `info` is the info header without its
// size field (the size counts `info` unless `infoSize` says otherwise, as when
// bit-field masks follow the header), then `palette` and the rows as stored.
QByteArray Bitmap(QByteArray info, const QByteArray& palette, const QByteArray& rows,
                  quint32 infoSize = 0) {
    const quint32 declared = infoSize ? infoSize : quint32(info.size() + 4);
    QByteArray out("BM", 2);
    const quint32 offset = 14 + 4 + quint32(info.size()) + quint32(palette.size());
    QByteArray head(12, '\0');
    qToLittleEndian<quint32>(offset + quint32(rows.size()), head.data());
    qToLittleEndian<quint32>(offset, head.data() + 8);
    out += head;
    QByteArray size(4, '\0');
    qToLittleEndian<quint32>(declared, size.data());
    return out + size + info + palette + rows;
}
// The fields of a 40-byte header after its size, with optional bit-field masks after it.
QByteArray InfoHeader(qint32 width, qint32 height, quint16 bits, quint32 compression,
                      quint32 colours = 0) {
    QByteArray h(36, '\0');
    qToLittleEndian<qint32>(width, h.data());
    qToLittleEndian<qint32>(height, h.data() + 4);
    qToLittleEndian<quint16>(1, h.data() + 8);
    qToLittleEndian<quint16>(bits, h.data() + 10);
    qToLittleEndian<quint32>(compression, h.data() + 12);
    qToLittleEndian<quint32>(colours, h.data() + 28);
    return h;
}
QByteArray Words(std::initializer_list<quint32> values, int bytes = 4) {
    QByteArray out;
    for (quint32 v : values) {
        char b[4];
        qToLittleEndian<quint32>(v, b);
        out.append(b, bytes);
    }
    return out;
}
// Rows of `width` pixels, each pixel `bytes` bytes from `pixel(x, storedRow)`,
// padded to four bytes.
QByteArray Rows(int width, int height, int bytes, const std::function<quint32(int, int)>& pixel) {
    QByteArray out;
    for (int y = 0; y < height; ++y) {
        QByteArray row = Words({}, bytes);
        for (int x = 0; x < width; ++x) row += Words({pixel(x, y)}, bytes);
        while (row.size() % 4) row += '\0';
        out += row;
    }
    return out;
}

// A file held in memory that counts the bytes a reader takes from it.
class CountedParts final : public FileParts {
public:
    explicit CountedParts(QByteArray bytes) : bytes_(std::move(bytes)) {}
    qint64 Size() const override { return bytes_.size(); }
    QByteArray Read(qint64 offset, qint64 length) override {
        const QByteArray part =
            offset < 0 || length < 0 ? QByteArray() : bytes_.mid(offset, length);
        read += part.size();
        return part;
    }
    qint64 read = 0;

private:
    QByteArray bytes_;
};

// The depth libheif reads from the file's own headers.
int LumaBits(const QByteArray& heif) {
    heif_context* ctx = heif_context_alloc();
    int bits = 0;
    heif_image_handle* handle = nullptr;
    if (heif_context_read_from_memory_without_copy(ctx, heif.constData(), size_t(heif.size()),
                                                   nullptr)
                .code == heif_error_Ok &&
        heif_context_get_primary_image_handle(ctx, &handle).code == heif_error_Ok) {
        bits = heif_image_handle_get_luma_bits_per_pixel(handle);
        heif_image_handle_release(handle);
    }
    heif_context_free(ctx);
    return bits;
}

}  // namespace

// A page of an uncompressed TIFF, one strip, its tags as given: `samples`
// 8-bit channels of `photometric` (2 RGB, 5 CMYK), the strip filled from
// `pixel` (one byte per channel) for as many rows as `storedRows` says, and
// an orientation tag when `orientation` is not 0.
struct TiffPage {
    quint32 width, height;
    int photometric, samples;
    std::function<QByteArray(int, int)> pixel;
    quint32 storedRows;
    int orientation = 0;
};

QByteArray TiffByHand(const QList<TiffPage>& pages) {
    QByteArray b("II*\0", 4);
    b += Words({8});
    for (qsizetype i = 0; i < pages.size(); ++i) {
        const TiffPage& p = pages[i];
        QByteArray strip;
        for (quint32 y = 0; y < p.storedRows; ++y)
            for (quint32 x = 0; x < p.width; ++x) strip += p.pixel(int(x), int(y));
        const int entries = p.orientation ? 11 : 10;
        const quint32 ifd = quint32(b.size()), bits = ifd + 2 + 12 * entries + 4,
                      data = bits + 2 * p.samples;
        const quint32 next = i + 1 < pages.size() ? data + quint32(strip.size()) : 0;
        b += Words({quint32(entries)}, 2);
        const auto tag = [&](quint16 id, quint16 type, quint32 count, quint32 value) {
            b += Words({id, type}, 2);
            b += Words({count, value});
        };
        tag(256, 4, 1, p.width);
        tag(257, 4, 1, p.height);
        tag(258, 3, quint32(p.samples), bits);
        tag(259, 3, 1, 1);  // no compression
        tag(262, 3, 1, quint32(p.photometric));
        tag(273, 4, 1, data);
        if (p.orientation) tag(274, 3, 1, quint32(p.orientation));
        tag(277, 3, 1, quint32(p.samples));
        tag(278, 4, 1, p.height);
        tag(279, 4, 1, quint32(qint64(p.width) * p.height * p.samples));
        tag(284, 3, 1, 1);  // channels interleaved
        b += Words({next});
        for (int k = 0; k < p.samples; ++k) b += Words({8}, 2);
        b += strip;
    }
    return b;
}
QByteArray TiffByHand(quint32 width, quint32 height, int photometric, int samples,
                      const std::function<QByteArray(int, int)>& pixel, quint32 storedRows) {
    return TiffByHand({TiffPage{width, height, photometric, samples, pixel, storedRows}});
}

// An RGB page of `image`, whole.
TiffPage RgbPage(const QImage& image, int orientation = 0) {
    const auto pixel = [image](int x, int y) {
        const QRgb c = image.pixel(x, y);
        const char rgb[] = {char(qRed(c)), char(qGreen(c)), char(qBlue(c))};
        return QByteArray(rgb, 3);
    };
    return TiffPage{quint32(image.width()),
                    quint32(image.height()),
                    2,
                    3,
                    pixel,
                    quint32(image.height()),
                    orientation};
}

class PictureLoaderTest : public QObject {
    Q_OBJECT
    PictureLoader loader;

private slots:
    void everyFormatLoadsWithItsColours() {
        ProgramFolder folder;
        folder.Write("a.bmp", Encode(Halves(80, 40), "bmp"));
        folder.Write("a.jpg", Encode(Halves(80, 40), "jpeg"));
        folder.Write("a.ico", Encode(Halves(32, 32), "ico"));
        folder.Write("a.gif", GifHalves(80, 40));
        for (const QString name : {"a.bmp", "a.jpg", "a.ico", "a.gif"}) {
            const auto p = loader.Load(folder.File(name));
            QVERIFY2(p, qPrintable(name));
            QCOMPARE(p->file, folder.File(name));
            QCOMPARE(p->naturalSize, p->image.size());
            const QImage& img = p->image;
            QVERIFY2(Near(img.pixel(2, img.height() / 2), Qt::red), qPrintable(name));
            QVERIFY2(Near(img.pixel(img.width() - 3, img.height() / 2), Qt::blue),
                     qPrintable(name));
        }
        QCOMPARE(loader.Load(folder.File("a.gif"))->naturalSize, QSize(80, 40));
    }

    void metafilesAreDrawnFilled_data() {
        QTest::addColumn<bool>("placeable");
        QTest::newRow("placeable") << true;
        QTest::newRow("plain") << false;
    }
    void metafilesAreDrawnFilled() {
        QFETCH(bool, placeable);
        ProgramFolder folder;
        folder.Write("s.wmf", Shapes(placeable));
        const auto p = loader.Load(folder.File("s.wmf"));
        QVERIFY(p);
        QCOMPARE(p->naturalSize, QSize(100, 60));
        const QImage& img = p->image;
        QCOMPARE(img.size(), QSize(100, 60));
        QVERIFY(Near(img.pixel(25, 40), Qt::red));       // inside the ellipse: filled
        QVERIFY(Near(img.pixel(25, 0), Qt::black, 90));  // its outline at the top
        QVERIFY(Near(img.pixel(85, 10), Qt::blue));
        QVERIFY(Near(img.pixel(95, 55), Qt::green));
        QVERIFY(Near(img.pixel(50, 30), Qt::yellow, 90));  // the line across
        QCOMPARE(qAlpha(img.pixel(1, 58)), 0);             // outside every shape: background
        // Scaled: the drawing is redone at the smaller size, not shrunk.
        const auto small = loader.Load(folder.File("s.wmf"), QSize(50, 50));
        QVERIFY(small);
        QCOMPARE(small->image.size(), QSize(50, 30));
        QCOMPARE(small->naturalSize, QSize(100, 60));
        QVERIFY(Near(small->image.pixel(12, 20), Qt::red));
    }

    void metafileTextArcsAndBitmaps() {
        ProgramFolder folder;
        folder.Write("t.wmf", Mixed());
        const auto p = loader.Load(folder.File("t.wmf"));
        QVERIFY(p);
        const QImage& img = p->image;
        QVERIFY(Near(img.pixel(75, 25), Qt::red));  // inside the pie's quarter
        QCOMPARE(qAlpha(img.pixel(25, 25)), 0);     // the pie leaves the other quarters
        QCOMPARE(qAlpha(img.pixel(45, 75)), 0);
        QVERIFY(Near(img.pixel(20, 80), Qt::blue));
        QVERIFY(Near(img.pixel(62, 75), Qt::green));
        QCOMPARE(qAlpha(img.pixel(80, 80)), 0);      // the hole
        QVERIFY(Near(img.pixel(5, 10), Qt::red));    // bitmap, left half red
        QVERIFY(Near(img.pixel(35, 10), Qt::blue));  // right half blue
        int magenta = 0;
        for (int y = 28; y < 55; ++y)
            for (int x = 0; x < 60; ++x) magenta += Near(img.pixel(x, y), Qt::magenta, 60);
        QVERIFY2(magenta > 30, qPrintable(QString::number(magenta)));
    }

    void contentDecidesWhereTheExtensionLies() {
        ProgramFolder folder;
        folder.Write("photo.bmp", Encode(Halves(60, 30), "jpeg"));
        folder.Write("clip.jpg", Shapes(true));
        folder.Write("bitmap.gif", Encode(Halves(60, 30), "bmp"));
        folder.Write("anim.ico", GifHalves(60, 30));
        for (const QString name : {"photo.bmp", "bitmap.gif", "anim.ico"}) {
            const auto p = loader.Load(folder.File(name));
            QVERIFY2(p, qPrintable(name));
            QCOMPARE(p->image.size(), QSize(60, 30));
            QVERIFY(Near(p->image.pixel(3, 15), Qt::red));
        }
        const auto clip = loader.Load(folder.File("clip.jpg"));
        QVERIFY(clip);
        QVERIFY(Near(clip->image.pixel(25, 40), Qt::red));
    }

    void brokenFilesFailCleanly() {
        ProgramFolder folder;
        const QByteArray jpeg = Encode(Halves(120, 80), "jpeg");
        const QByteArray bmp = Encode(Halves(120, 80), "bmp");
        const QByteArray gif = GifHalves(120, 80);
        const QByteArray ico = Encode(Halves(32, 32), "ico");
        const QByteArray wmf = Shapes(true);
        folder.Write("empty.jpg", {});
        folder.Write("text.jpg", "not a picture at all\r\n");
        folder.Write("cut.jpg", jpeg.left(jpeg.size() / 2));
        folder.Write("cut.bmp", bmp.left(bmp.size() - 100));
        folder.Write("cut.gif", gif.left(gif.size() - 20));
        folder.Write("cut.ico", ico.left(ico.size() / 2));
        folder.Write("cut.wmf", wmf.left(wmf.size() - 6));
        folder.Write("head.jpg", jpeg.left(3));
        folder.Write("head.wmf", wmf.left(30));
        QByteArray garbage = jpeg.left(20);
        for (int i = 0; i < 4000; ++i) garbage += char((i * 7919) % 251);
        folder.Write("garbage.jpg", garbage);
        QDir(folder.Path()).mkdir("folder.jpg");
        for (const QString name :
             {"missing.jpg", "empty.jpg", "text.jpg", "cut.jpg", "cut.bmp", "cut.gif", "cut.ico",
              "cut.wmf", "head.jpg", "head.wmf", "garbage.jpg", "folder.jpg"})
            QVERIFY2(!loader.Load(folder.File(name)), qPrintable(name));
        // The same files whole load, so the failures above are the damage's doing.
        folder.Write("whole.jpg", jpeg);
        folder.Write("whole.wmf", wmf);
        QVERIFY(loader.Load(folder.File("whole.jpg")));
        QVERIFY(loader.Load(folder.File("whole.wmf")));

        folder.Write("locked.jpg", jpeg);
        QFile::setPermissions(folder.File("locked.jpg"), QFileDevice::Permissions());
        QFile probe(folder.File("locked.jpg"));
        if (!probe.open(QIODevice::ReadOnly))  // the superuser reads it anyway
            QVERIFY(!loader.Load(folder.File("locked.jpg")));
    }

    void picturesSwappedForPipesFailWithoutWaiting() {
        // A file the deal picked that became a pipe before it was loaded:
        // no writer ever comes, so any open or read without care blocks.
        ProgramFolder folder;
        folder.Write("a.jpg", Encode(Halves(40, 40), "jpeg"));
        folder.Write("c.jpg", Encode(Halves(60, 60), "jpeg"));
        const QString pipe = folder.File("b.jpg");
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const QStringList paths{folder.File("a.jpg"), pipe, folder.File("c.jpg")};
        auto done = std::async(std::launch::async, [&] {
            QList<bool> loaded;
            loader.LoadMany(paths, QSize(32, 32), [&](int, std::optional<Picture> p) {
                loaded << p.has_value();
                return true;
            });
            loaded << loader.Load(pipe).has_value();
            return loaded;
        });
        if (done.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
            // Free the blocked reader so the test can end, then fail.
            for (int i = 0; i < 4; ++i) {
                const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) ::close(fd);
            }
            done.wait();
            QFAIL("loading a pipe blocked");
        }
        QCOMPARE(done.get(), QList<bool>({true, false, true, false}));
    }

    void jpegsTheDecoderReadsWholeLoad() {
        // Flaws the decoder reads past with a warning; the picture is whole.
        ProgramFolder folder;
        const QImage halves = Halves(96, 64);
        const QByteArray jpeg = Encode(halves, "jpeg");
        QVERIFY(jpeg.endsWith("\xFF\xD9"));
        folder.Write("noend.jpg", jpeg.chopped(2));
        folder.Write("tail.jpg", jpeg + QByteArray("\xFF\x00\xFF\xE0junk after the end", 21));
        QByteArray junk = jpeg;
        const int scan = int(junk.indexOf(QByteArray("\xFF\xDA", 2)));
        QVERIFY(scan > 0);
        junk.insert(scan, QByteArray("\x00\x11\x22\x33", 4));  // stray bytes before a marker
        folder.Write("stray.jpg", junk);
        QByteArray slipped = bombs::LibJpeg(halves, {.restartRows = 1, .quality = 95});
        const int second = int(slipped.indexOf(QByteArray("\xFF\xD1", 2)));
        QVERIFY(second > 0);
        slipped[second + 1] = char(0xD2);  // restart number one ahead
        folder.Write("slip.jpg", slipped);
        folder.Write("slipnoend.jpg", slipped.chopped(2));
        QByteArray progressive;
        {
            QBuffer buffer(&progressive);
            buffer.open(QIODevice::WriteOnly);
            QImageWriter writer(&buffer, "jpeg");
            writer.setProgressiveScanWrite(true);
            QVERIFY(writer.write(halves));
        }
        folder.Write("prognoend.jpg", progressive.chopped(2));
        for (const QString name :
             {"noend.jpg", "tail.jpg", "stray.jpg", "slip.jpg", "slipnoend.jpg", "prognoend.jpg"}) {
            const auto p = loader.Load(folder.File(name));
            QVERIFY2(p, qPrintable(name));
            QCOMPARE(p->image.size(), QSize(96, 64));
            QVERIFY2(Near(p->image.pixel(4, 4), Qt::red), qPrintable(name));
            QVERIFY2(Near(p->image.pixel(91, 59), Qt::blue), qPrintable(name));
        }
        // Data really missing: cut inside a scan.
        folder.Write("cut.jpg", jpeg.left(jpeg.size() * 9 / 10));
        folder.Write("cutslip.jpg", slipped.left(slipped.size() * 3 / 4));
        folder.Write("cutprog.jpg", progressive.left(progressive.size() * 3 / 4));
        for (const QString name : {"cut.jpg", "cutslip.jpg", "cutprog.jpg"})
            QVERIFY2(!loader.Load(folder.File(name)), qPrintable(name));
    }

    void topDownBitmapsLoadUpright() {
        // Stored top row first (a negative height): red on top, blue below.
        ProgramFolder folder;
        const auto redTop = [](int, int y) { return y < 4 ? 0xFF0000u : 0x0000FFu; };
        folder.Write("24.bmp", Bitmap(InfoHeader(12, -8, 24, 0), {}, Rows(12, 8, 3, redTop)));
        folder.Write("32.bmp", Bitmap(InfoHeader(12, -8, 32, 0), {}, Rows(12, 8, 4, redTop)));
        const QByteArray palette = Words({0xFF0000, 0x0000FF});
        folder.Write("8.bmp", Bitmap(InfoHeader(12, -8, 8, 0, 2), palette,
                                     Rows(12, 8, 1, [](int, int y) { return y < 4 ? 0u : 1u; })));
        for (const QString name : {"24.bmp", "32.bmp", "8.bmp"}) {
            const auto p = loader.Load(folder.File(name));
            QVERIFY2(p, qPrintable(name));
            QCOMPARE(p->naturalSize, QSize(12, 8));
            QVERIFY2(Near(p->image.pixel(6, 1), Qt::red), qPrintable(name));
            QVERIFY2(Near(p->image.pixel(6, 6), Qt::blue), qPrintable(name));
            const auto small = loader.Load(folder.File(name), QSize(6, 6));
            QVERIFY(small);
            QCOMPARE(small->image.size(), QSize(6, 4));
            QVERIFY(Near(small->image.pixel(3, 0), Qt::red));
        }
    }

    void bitmapsQtWouldDrawWrongAreRefused() {
        // Each picture is red on the left, blue on the right; whatever loads
        // must show that, and the kinds Qt's reader gets wrong must not load.
        ProgramFolder folder;
        const auto redLeft = [](quint32 red, quint32 blue) {
            return [=](int x, int) { return x < 8 ? red : blue; };
        };
        const auto rgbRows = Rows(16, 4, 3, redLeft(0xFF0000, 0x0000FF));
        // Shown right: plain 5-6-5 bit fields, the short header of the other
        // system with a whole palette, its long header.
        folder.Write("565.bmp", Bitmap(InfoHeader(16, 4, 16, 3) + Words({0xF800, 0x07E0, 0x001F}),
                                       {}, Rows(16, 4, 2, redLeft(0xF800, 0x001F)), 40));
        QByteArray old = Words({16, 4}, 2) + Words({1, 24}, 2);
        folder.Write("old24.bmp", Bitmap(old, {}, rgbRows));
        QByteArray fullPalette = Words({0xFF0000, 0x0000FF}, 3) + QByteArray(3 * 254, '\0');
        folder.Write("old8.bmp", Bitmap(Words({16, 4}, 2) + Words({1, 8}, 2), fullPalette,
                                        Rows(16, 4, 1, redLeft(0, 1))));
        folder.Write("long24.bmp",
                     Bitmap(InfoHeader(16, 4, 24, 0) + QByteArray(24, '\0'), {}, rgbRows));
        for (const QString name : {"565.bmp", "old24.bmp", "old8.bmp", "long24.bmp"}) {
            const auto p = loader.Load(folder.File(name));
            QVERIFY2(p, qPrintable(name));
            QCOMPARE(p->image.size(), QSize(16, 4));
            for (int x : {0, 7}) QVERIFY2(Near(p->image.pixel(x, 2), Qt::red), qPrintable(name));
            for (int x : {8, 15}) QVERIFY2(Near(p->image.pixel(x, 2), Qt::blue), qPrintable(name));
        }
        // Drawn wrong by Qt: 11-11-10 bit fields (black), a palette shorter
        // than the bit depth in the short header (pixels shifted), header
        // sizes Qt reads as the short one.
        folder.Write("111110.bmp",
                     Bitmap(InfoHeader(16, 4, 32, 3) + Words({0xFFE00000, 0x001FFC00, 0x000003FF}),
                            {}, Rows(16, 4, 4, redLeft(0xFFE00000, 0x000003FF)), 40));
        folder.Write("shortpalette.bmp",
                     Bitmap(Words({64, 16}, 2) + Words({1, 8}, 2), Words({0xFF0000, 0x0000FF}, 3),
                            Rows(64, 16, 1, [](int x, int) { return x < 32 ? 0u : 1u; })));
        folder.Write("v3alpha.bmp", Bitmap(InfoHeader(16, 4, 32, 3) +
                                               Words({0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000}),
                                           {}, Rows(16, 4, 4, redLeft(0xFFFF0000, 0xFF0000FF))));
        folder.Write("short2.bmp", Bitmap(Words({16, 4}) + Words({1, 24}, 2), {}, rgbRows));
        for (const QString name : {"111110.bmp", "shortpalette.bmp", "v3alpha.bmp", "short2.bmp"})
            QVERIFY2(!loader.Load(folder.File(name)), qPrintable(name));
    }

    void metafilesFramedEveryWayShowTheSamePicture_data() {
        QTest::addColumn<QByteArray>("file");
        using Window = WmfWriter::Window;
        const QRect box(0, 0, 1500, 900);
        // 1500 × 900 units at 1440 per inch: 100 × 60 pixels.
        const Window moved{.origin = QPoint(3000, -2000), .extent = QSize(1500, 900)};
        QTest::newRow("origin elsewhere, placeable")
            << FramedShapes(moved, box.translated(3000, -2000), true);
        QTest::newRow("origin elsewhere, plain") << FramedShapes(moved, box, false);
        const Window upward{.origin = QPoint(0, 900),
                            .extent = QSize(1500, -900)};  // y grows upwards
        QTest::newRow("flipped, placeable") << FramedShapes(upward, box, true);
        QTest::newRow("flipped, plain") << FramedShapes(upward, box, false);
        const Window mirrored{.origin = QPoint(1500, 900), .extent = QSize(-1500, -900)};
        QTest::newRow("flipped both ways") << FramedShapes(mirrored, box, true);
        const Window scaled{
            .origin = QPoint(3000, -2000), .extent = QSize(1500, 900), .viewport = QSize(200, 120)};
        QTest::newRow("viewport, origin elsewhere")
            << FramedShapes(scaled, box.translated(3000, -2000), true);
        QTest::newRow("viewport, plain") << FramedShapes(scaled, box, false);
        Window noExtent{.origin = QPoint(700, 400), .setExtent = false};
        QTest::newRow("no extent, placeable")
            << FramedShapes(noExtent, box.translated(700, 400), true);
        noExtent.setOrigin = false;
        noExtent.origin = QPoint(0, 0);
        QTest::newRow("no window at all, placeable") << FramedShapes(noExtent, box, true);
        QTest::newRow("palette realized")
            << FramedShapes(Window{.extent = QSize(1500, 900)}, box, true, true);
        QByteArray counted = FramedShapes(Window{.extent = QSize(1500, 900)}, box, true);
        Put32(counted, 22 + 6, U32(counted, 22 + 6) + 11);  // the size counts the placeable header
        QTest::newRow("size counts the placeable header") << counted;
        // Clip art from other programs puts its box from -8,-8.
        const Window nearZero{.origin = QPoint(-8, -8), .extent = QSize(1500, 900)};
        QTest::newRow("box from -8,-8") << FramedShapes(nearZero, box.translated(-8, -8), true);
    }
    void metafilesFramedEveryWayShowTheSamePicture() {
        QFETCH(QByteArray, file);
        ProgramFolder folder;
        folder.Write("f.wmf", file);
        const auto p = loader.Load(folder.File("f.wmf"));
        QVERIFY(p);
        QCOMPARE(p->naturalSize, QSize(100, 60));
        const QImage& img = p->image;
        QCOMPARE(img.size(), QSize(100, 60));
        QVERIFY(Near(img.pixel(25, 30), Qt::red));
        QVERIFY(Near(img.pixel(75, 18), Qt::blue));
        QVERIFY(Near(img.pixel(85, 50), Qt::green));
        QCOMPARE(qAlpha(img.pixel(50, 3)), 0);
        QCOMPARE(qAlpha(img.pixel(70, 40)), 0);
        const QRect drawn = DrawnBox(img);
        const QRect want(10, 6, 80, 48);
        QVERIFY2(std::abs(drawn.left() - want.left()) <= 1 &&
                     std::abs(drawn.top() - want.top()) <= 1 &&
                     std::abs(drawn.right() - want.right()) <= 1 &&
                     std::abs(drawn.bottom() - want.bottom()) <= 1,
                 qPrintable(QString("drawn %1,%2 %3x%4")
                                .arg(drawn.x())
                                .arg(drawn.y())
                                .arg(drawn.width())
                                .arg(drawn.height())));
        // Scaled, the same picture at the smaller size.
        const auto small = loader.Load(folder.File("f.wmf"), QSize(50, 50));
        QVERIFY(small);
        QCOMPARE(small->image.size(), QSize(50, 30));
        QVERIFY(Near(small->image.pixel(12, 15), Qt::red));
        QVERIFY(Near(small->image.pixel(37, 9), Qt::blue));
    }

    void plainMetafileWithoutWindowIsFramedByItsDrawing() {
        // No window and no placeable box: the picture is what is drawn, its
        // shapes touching the edges (1200 × 720 units: 80 × 48 pixels).
        ProgramFolder folder;
        const WmfWriter::Window none{.setOrigin = false, .setExtent = false};
        folder.Write("bare.wmf", FramedShapes(none, QRect(0, 0, 1500, 900), false));
        const auto p = loader.Load(folder.File("bare.wmf"));
        QVERIFY(p);
        QCOMPARE(p->image.size(), QSize(80, 48));
        QCOMPARE(p->naturalSize, QSize(80, 48));
        QVERIFY(Near(p->image.pixel(15, 24), Qt::red));    // the rectangle's middle
        QVERIFY(Near(p->image.pixel(60, 12), Qt::blue));   // the ellipse's middle
        QVERIFY(Near(p->image.pixel(75, 43), Qt::green));  // near the triangle's corner
        const QRect drawn = DrawnBox(p->image);
        QVERIFY(drawn.left() <= 1 && drawn.top() <= 1 && drawn.right() >= 78 &&
                drawn.bottom() >= 46);
    }

    void metafileHeaderMustNotPromiseMore() {
        ProgramFolder folder;
        const QByteArray good = Shapes(false);
        const auto refused = [&](const QByteArray& bytes) {
            folder.Write("bad.wmf", bytes);
            return !loader.Load(folder.File("bad.wmf"));
        };
        QVERIFY(!refused(good));
        QByteArray b = good;
        Put32(b, 6, U32(good, 6) + 100);  // file size beyond the file
        QVERIFY(refused(b));
        b = good;
        Put32(b, 12, quint32(good.size()));  // largest record as big as twice the file
        QVERIFY(refused(b));
        b = good;
        Put32(b, 18, 40000);  // the first record runs past the end
        QVERIFY(refused(b));
        b = good;
        Put32(b, 18, 2);  // a record shorter than its own header
        QVERIFY(refused(b));
        // A polygon claiming more points than its record holds.
        WmfWriter w(300, 300, false);
        w.Polygon(QPolygon({QPoint(0, 0), QPoint(300, 0), QPoint(0, 300)}));
        b = w.Finish();
        const int polygon = int(b.indexOf(QByteArray("\x24\x03", 2))) - 4;
        QVERIFY(polygon > 0);
        Put16(b, polygon + 6, 5000);
        QVERIFY(refused(b));
        // Without the end record.
        b = good.left(good.size() - 6);
        Put32(b, 6, U32(b, 6) - 3);
        QVERIFY(refused(b));
    }

    void otherFormatsAreRefused() {
        // Portable pixmaps and the like are refused even though Qt could decode them.
        ProgramFolder folder;
        const QByteArray png = Encode(Halves(20, 20), "png");
        folder.Write("a.png", png);
        folder.Write("b.bmp", png);
        folder.Write("cut.png", png.left(png.size() - 12));
        folder.Write("c.jpg", Encode(Halves(20, 20), "ppm"));
        QVERIFY(loader.Load(folder.File("a.png")));
        QVERIFY(loader.Load(folder.File("b.bmp")));
        QVERIFY(!loader.Load(folder.File("cut.png")));
        QVERIFY(!loader.Load(folder.File("c.jpg")));
        QCOMPARE(PictureLoader::DetectFormat(Encode(Halves(8, 8), "jpeg")), QByteArray("jpeg"));
        QCOMPARE(PictureLoader::DetectFormat(Shapes(true)), QByteArray("wmf"));
        QCOMPARE(PictureLoader::DetectFormat(Shapes(false)), QByteArray("wmf"));
    }

    // A phone's, a camera's and a browser's pictures: each loads with its
    // colours, whole and scaled to a card.
    void photoTypesLoadWithTheirColours() {
        ProgramFolder folder;
        const QImage halves = Halves(200, 100);
        folder.Write("a.png", Encode(halves, "png"));
        folder.Write("a.webp", Encode(halves, "webp"));
        folder.Write("a.tif", Encode(halves, "tiff"));
        folder.Write("deep.tiff", Encode(halves.convertToFormat(QImage::Format_RGBA64), "tiff"));
        // CMYK: red is magenta and yellow, blue cyan and magenta.
        folder.Write("cmyk.tif", TiffByHand(
                                     200, 100, 5, 4,
                                     [](int x, int) {
                                         return x < 100 ? QByteArray("\0\xFF\xFF\0", 4)
                                                        : QByteArray("\xFF\xFF\0\0", 4);
                                     },
                                     100));
        folder.Write("a.heic", photowriter::Heif(halves, false));
        folder.Write("a.avif", photowriter::Heif(halves, true));
        folder.Write("a.jxl", photowriter::Jxl(halves));
        folder.Write("lossless.jxl", photowriter::Jxl(halves, 1, true));
        for (const QString name : {"a.png", "a.webp", "a.tif", "deep.tiff", "cmyk.tif", "a.heic",
                                   "a.avif", "a.jxl", "lossless.jxl"}) {
            auto p = loader.Load(folder.File(name));
            QVERIFY2(p, qPrintable(name));
            QCOMPARE(p->naturalSize, QSize(200, 100));
            QCOMPARE(p->image.size(), QSize(200, 100));
            QVERIFY2(Near(p->image.pixel(5, 50), Qt::red), qPrintable(name));
            QVERIFY2(Near(p->image.pixel(194, 50), Qt::blue), qPrintable(name));
            p = loader.Load(folder.File(name), QSize(50, 50));
            QVERIFY2(p, qPrintable(name));
            QCOMPARE(p->image.size(), QSize(50, 25));
            QCOMPARE(p->naturalSize, QSize(200, 100));
            QVERIFY2(Near(p->image.pixel(3, 12), Qt::red), qPrintable(name));
            QVERIFY2(Near(p->image.pixel(46, 12), Qt::blue), qPrintable(name));
        }
        QCOMPARE(PictureLoader::DetectFormat(Encode(halves, "tiff")), QByteArray("tiff"));
        QCOMPARE(PictureLoader::DetectFormat(Encode(halves, "webp")), QByteArray("webp"));
        QCOMPARE(PictureLoader::DetectFormat(photowriter::Heif(halves, true)), QByteArray("heif"));
        QCOMPARE(PictureLoader::DetectFormat(photowriter::Jxl(halves)), QByteArray("jxl"));
    }

    // Orientation recorded in the file is applied once: EXIF in PNG and
    // WebP, the file's own rotation and mirror in HEIC and AVIF.
    void photoTypesComeOutUpright() {
        ProgramFolder folder;
        const QImage halves = Halves(200, 100);
        folder.Write("r90.png", photowriter::PngWithOrientation(Encode(halves, "png"), 6));
        folder.Write("r90.webp", photowriter::WebpWithOrientation(Encode(halves, "webp"), 6));
        folder.Write("r90.heic", photowriter::Heif(halves, false, 6));
        folder.Write("r90.avif", photowriter::Heif(halves, true, 6));
        folder.Write("r90.jxl", photowriter::Jxl(halves, 6));
        for (const QString name : {"r90.png", "r90.webp", "r90.heic", "r90.avif", "r90.jxl"}) {
            auto p = loader.Load(folder.File(name));
            QVERIFY2(p, qPrintable(name));
            QVERIFY2(p->naturalSize == QSize(100, 200), qPrintable(name));
            QCOMPARE(p->image.size(), QSize(100, 200));
            QVERIFY2(Near(p->image.pixel(50, 5), Qt::red),
                     qPrintable(name));  // the stored left is the top
            QVERIFY2(Near(p->image.pixel(50, 194), Qt::blue), qPrintable(name));
            p = loader.Load(folder.File(name), QSize(50, 50));
            QVERIFY2(p, qPrintable(name));
            QCOMPARE(p->image.size(), QSize(25, 50));
            QVERIFY2(Near(p->image.pixel(12, 3), Qt::red), qPrintable(name));
            QVERIFY2(Near(p->image.pixel(12, 46), Qt::blue), qPrintable(name));
        }
        // Mirrored left to right, then turned the other way.
        folder.Write("m.webp", photowriter::WebpWithOrientation(Encode(halves, "webp"), 2));
        folder.Write("m.heic", photowriter::Heif(halves, false, 2));
        folder.Write("m.jxl", photowriter::Jxl(halves, 2));
        folder.Write("r270.heic", photowriter::Heif(halves, false, 8));
        for (const QString name : {"m.webp", "m.heic", "m.jxl"}) {
            const auto p = loader.Load(folder.File(name));
            QVERIFY2(p && Near(p->image.pixel(194, 50), Qt::red), qPrintable(name));
        }
        const auto p = loader.Load(folder.File("r270.heic"));
        QVERIFY(p && Near(p->image.pixel(50, 194), Qt::red));
    }

    // An animation shows its first frame (red and blue halves, then green,
    // then blue), whole and on a card.
    void animatedWebpShowsItsFirstFrame() {
        ProgramFolder folder;
        QImage green(120, 60, QImage::Format_RGB32), blue(120, 60, QImage::Format_RGB32);
        green.fill(Qt::green);
        blue.fill(Qt::blue);
        const QByteArray webp = photowriter::AnimatedWebp({Halves(120, 60), green, blue});
        QCOMPARE(PictureLoader::DetectFormat(webp), QByteArray("webp"));
        folder.Write("anim.webp", webp);
        auto p = loader.Load(folder.File("anim.webp"));
        QVERIFY(p);
        QCOMPARE(p->naturalSize, QSize(120, 60));
        QCOMPARE(p->image.size(), QSize(120, 60));
        QVERIFY(Near(p->image.pixel(5, 30), Qt::red));
        QVERIFY(Near(p->image.pixel(114, 30), Qt::blue));
        p = loader.Load(folder.File("anim.webp"), QSize(40, 40));
        QVERIFY(p);
        QCOMPARE(p->image.size(), QSize(40, 20));
        QVERIFY(Near(p->image.pixel(3, 10), Qt::red));
        QVERIFY(Near(p->image.pixel(36, 10), Qt::blue));
    }

    // A scanner's TIFF shows its largest page, not the first, turned by that
    // page's own orientation tag, once: turned twice, a half turn would look
    // untouched and a quarter turn would lie on its side.
    void tiffShowsItsLargestPageTurnedOnce() {
        ProgramFolder folder;
        QImage green(40, 20, QImage::Format_RGB32), yellow(60, 30, QImage::Format_RGB32);
        green.fill(Qt::green);
        yellow.fill(Qt::yellow);
        const QImage halves = Halves(200, 100);
        folder.Write("pages.tif", TiffByHand({RgbPage(green), RgbPage(halves), RgbPage(yellow)}));
        folder.Write("r90.tif", TiffByHand({RgbPage(halves, 6)}));
        folder.Write("r180.tif", TiffByHand({RgbPage(halves, 3)}));
        folder.Write("mirrored.tif", TiffByHand({RgbPage(halves, 2)}));
        // The small first page says a quarter turn the other way: not the picture's.
        folder.Write("r270.tif", TiffByHand({RgbPage(green, 6), RgbPage(halves, 8)}));
        struct Case {
            const char* name;
            QSize natural;
            QPoint red, blue;  // in the whole picture
        };
        for (const Case& c : {Case{"pages.tif", {200, 100}, {5, 50}, {194, 50}},
                              Case{"r90.tif", {100, 200}, {50, 5}, {50, 194}},
                              Case{"r180.tif", {200, 100}, {194, 50}, {5, 50}},
                              Case{"mirrored.tif", {200, 100}, {194, 50}, {5, 50}},
                              Case{"r270.tif", {100, 200}, {50, 194}, {50, 5}}}) {
            auto p = loader.Load(folder.File(c.name));
            QVERIFY2(p, c.name);
            QCOMPARE(p->naturalSize, c.natural);
            QCOMPARE(p->image.size(), c.natural);
            QVERIFY2(Near(p->image.pixel(c.red), Qt::red), c.name);
            QVERIFY2(Near(p->image.pixel(c.blue), Qt::blue), c.name);
            // On a card: a quarter of the size, decoded from the same page.
            p = loader.Load(folder.File(c.name), QSize(50, 50));
            QVERIFY2(p, c.name);
            QCOMPARE(p->image.size(), c.natural / 4);
            QCOMPARE(p->naturalSize, c.natural);
            QVERIFY2(Near(p->image.pixel(c.red / 4), Qt::red), c.name);
            QVERIFY2(Near(p->image.pixel(c.blue / 4), Qt::blue), c.name);
        }
    }

    // Phones record HDR photos at 10 bits: they come out upright with their
    // colours, mid-tones included (a sample cut to its low or high byte
    // would not be grey). libaom aborts writing a 10-bit AVIF here, so only
    // HEIC is tried.
    void tenBitPhotosKeepTheirColours() {
        ProgramFolder folder;
        QImage thirds(300, 100, QImage::Format_RGB32);
        thirds.fill(QColor(128, 128, 128));
        QPainter painter(&thirds);
        painter.fillRect(0, 0, 100, 100, Qt::red);
        painter.fillRect(200, 0, 100, 100, Qt::blue);
        painter.end();
        const QColor grey(128, 128, 128);
        const QByteArray heic = photowriter::Heif(thirds, false, 6, QImage(), 80, 10);
        QCOMPARE(LumaBits(heic), 10);
        folder.Write("deep.heic", heic);
        auto p = loader.Load(folder.File("deep.heic"));
        QVERIFY(p);
        QCOMPARE(p->naturalSize, QSize(100, 300));
        QCOMPARE(p->image.size(), QSize(100, 300));
        QVERIFY(Near(p->image.pixel(50, 20), Qt::red, 24));
        QVERIFY(Near(p->image.pixel(50, 150), grey, 12));
        QVERIFY(Near(p->image.pixel(50, 280), Qt::blue, 24));
        p = loader.Load(folder.File("deep.heic"), QSize(60, 60));
        QVERIFY(p);
        QCOMPARE(p->image.size(), QSize(20, 60));
        QVERIFY(Near(p->image.pixel(10, 4), Qt::red, 24));
        QVERIFY(Near(p->image.pixel(10, 30), grey, 12));
        QVERIFY(Near(p->image.pixel(10, 56), Qt::blue, 24));
    }

    // A copy from the thumbnail cache without its size recorded: the size
    // comes from the headers, the pixels between them skipped, here 8 MB of
    // padding between a WebP's pixels and its EXIF chunk, after a HEIC's
    // coded pixels and after a JPEG XL codestream.
    void photoSizesAreReadFromTheHeadersAlone() {
        const QImage halves = Halves(200, 100);
        const QByteArray pad(8 * 1024 * 1024, '\x5A');
        QByteArray webp = photowriter::WebpWithOrientation(Encode(halves, "webp"), 6);
        const qsizetype exif = webp.indexOf("EXIF");
        QVERIFY(exif > 0);
        webp.insert(exif, "PADD" + Words({quint32(pad.size())}) + pad);
        Put32(webp, 4, quint32(webp.size() - 8));
        QByteArray heic = photowriter::Heif(halves, false, 6);
        const qsizetype mdat = heic.lastIndexOf("mdat") - 4;
        QCOMPARE(qFromBigEndian<quint32>(heic.constData() + mdat), quint32(heic.size() - mdat));
        heic += pad;
        qToBigEndian<quint32>(quint32(heic.size() - mdat), heic.data() + mdat);
        struct Case {
            QByteArray bytes;
            QSize (*size)(FileParts&);
            QSize want;
        };
        const Case cases[] = {
            {Encode(halves, "webp"), webpreader::NaturalSize, {200, 100}},
            {photowriter::AnimatedWebp({halves}), webpreader::NaturalSize, {200, 100}},
            {webp, webpreader::NaturalSize, {100, 200}},
            {heic, heifreader::NaturalSize, {100, 200}},
            {photowriter::Jxl(halves, 6) + pad, jxlreader::NaturalSize, {100, 200}}};
        for (const Case& c : cases) {
            CountedParts file(c.bytes);
            QCOMPARE(c.size(file), c.want);
            QVERIFY2(file.read < 64 * 1024, qPrintable(QString::number(file.read)));
        }
        // The padded files still show their pictures.
        ProgramFolder folder;
        folder.Write("padded.webp", webp);
        folder.Write("padded.heic", heic);
        for (const QString name : {"padded.webp", "padded.heic"}) {
            const auto p = loader.Load(folder.File(name), QSize(50, 50));
            QVERIFY2(p && p->naturalSize == QSize(100, 200), qPrintable(name));
            QVERIFY2(Near(p->image.pixel(12, 3), Qt::red), qPrintable(name));
        }
    }

    // A card smaller than the file's own thumbnail shows the thumbnail
    // (here green all over, to tell them apart); a larger one the photo.
    void heifCardsTakeTheFilesOwnThumbnail() {
        ProgramFolder folder;
        QImage green(160, 80, QImage::Format_RGB32);
        green.fill(Qt::green);
        folder.Write("t.heic", photowriter::Heif(Halves(640, 320), false, 1, green));
        folder.Write("turned.avif", photowriter::Heif(Halves(640, 320), true, 6, green));
        auto p = loader.Load(folder.File("t.heic"), QSize(100, 100));
        QVERIFY(p);
        QCOMPARE(p->image.size(), QSize(100, 50));
        QCOMPARE(p->naturalSize, QSize(640, 320));
        QVERIFY(Near(p->image.pixel(5, 25), Qt::green));
        p = loader.Load(folder.File("t.heic"), QSize(300, 300));
        QVERIFY(p);
        QCOMPARE(p->image.size(), QSize(300, 150));
        QVERIFY(Near(p->image.pixel(5, 75), Qt::red));
        p = loader.Load(folder.File("turned.avif"), QSize(80, 80));
        QVERIFY(p);
        QCOMPARE(p->image.size(), QSize(40, 80));
        QCOMPARE(p->naturalSize, QSize(320, 640));
        QVERIFY(Near(p->image.pixel(20, 40), Qt::green));
    }

    // A phone photo without a thumbnail large enough for the card is
    // scaled from libheif's own pixels: at a limit that would refuse it
    // whole (in the viewer), the card still gets it.
    void largeHeifPhotosStillMakeCards() {
        ProgramFolder folder;
        folder.Write("big.heic", photowriter::Heif(Halves(1200, 1200), false));
        const auto card = loader.Load(folder.File("big.heic"), QSize(100, 100), 10);
        QVERIFY(card);
        QCOMPARE(card->image.size(), QSize(100, 100));
        QCOMPARE(card->naturalSize, QSize(1200, 1200));
        QVERIFY(Near(card->image.pixel(5, 50), Qt::red));
        QVERIFY(Near(card->image.pixel(94, 50), Qt::blue));
        QVERIFY(!loader.Load(folder.File("big.heic"), QSize(), 10));
        const auto whole = loader.Load(folder.File("big.heic"), QSize(), 16);
        QVERIFY(whole && whole->image.size() == QSize(1200, 1200));
        QVERIFY(Near(whole->image.pixel(1194, 600), Qt::blue));
    }

    // Cut, lying or enormous: refused from the headers, before any pixel
    // of the announced size is allocated.
    void damagedPhotoFilesAreRefused() {
        ProgramFolder folder;
        const QByteArray heic = photowriter::Heif(Halves(256, 128), false);
        for (const qsizetype cut : {qsizetype(40), heic.size() / 2, heic.size() - 10}) {
            folder.Write("cut.heic", heic.left(cut));
            QVERIFY2(!loader.Load(folder.File("cut.heic")), qPrintable(QString::number(cut)));
            QVERIFY(!loader.Load(folder.File("cut.heic"), QSize(50, 50)));
        }
        const QByteArray jxl = photowriter::Jxl(Halves(256, 128));
        for (const qsizetype cut : {qsizetype(5), qsizetype(40), jxl.size() / 2, jxl.size() - 4}) {
            folder.Write("cut.jxl", jxl.left(cut));
            QVERIFY2(!loader.Load(folder.File("cut.jxl")), qPrintable(QString::number(cut)));
            QVERIFY(!loader.Load(folder.File("cut.jxl"), QSize(50, 50)));
        }
        // A WebP whose extended header announces 60000 × 60000 over a
        // 16 × 16 picture; one announcing 16 × 15; one whose RIFF length
        // runs past its end.
        const QByteArray webp = photowriter::WebpWithOrientation(Encode(Halves(16, 16), "webp"), 1);
        folder.Write("ok.webp", webp);
        QVERIFY(loader.Load(folder.File("ok.webp")));
        QByteArray lying = webp;
        Put16(lying, 24, 59999 & 0xFFFF);
        lying[26] = char(59999 >> 16);
        Put16(lying, 27, 59999 & 0xFFFF);
        lying[29] = char(59999 >> 16);
        folder.Write("huge.webp", lying);
        QVERIFY(!loader.Load(folder.File("huge.webp")));
        QVERIFY(!loader.Load(folder.File("huge.webp"), QSize(50, 50)));
        lying = webp;
        lying[27] = char(14);
        folder.Write("short.webp", lying);
        QVERIFY(!loader.Load(folder.File("short.webp")));
        lying = webp;
        Put32(lying, 4, U32(webp, 4) + 4096);
        folder.Write("cut.webp", lying);
        QVERIFY(!loader.Load(folder.File("cut.webp")));
        // TIFF pages 100 000 pixels wide over a few bytes of data.
        const auto grey = [](int, int) { return QByteArray(3, '\x80'); };
        folder.Write("huge.tif", TiffByHand(100000, 100000, 2, 3, grey, 0));
        QVERIFY(!loader.Load(folder.File("huge.tif")));
        QVERIFY(!loader.Load(folder.File("huge.tif"), QSize(100, 100)));
        folder.Write("line.tif", TiffByHand(100000, 2, 2, 3, grey, 1));
        QVERIFY(!loader.Load(folder.File("line.tif"), QSize(100, 100)));
        folder.Write("whole.tif", TiffByHand(100000, 2, 2, 3, grey, 2));
        QVERIFY(loader.Load(folder.File("whole.tif"), QSize(100, 100)));
    }

    void scaledDecodingFitsAndNeverEnlarges() {
        ProgramFolder folder;
        folder.Write("wide.jpg", Encode(Halves(800, 600), "jpeg"));
        folder.Write("tall.bmp", Encode(Halves(300, 900), "bmp"));
        folder.Write("small.gif", GifHalves(50, 40));
        auto p = loader.Load(folder.File("wide.jpg"), QSize(100, 100));
        QVERIFY(p);
        QCOMPARE(p->image.size(), QSize(100, 75));
        QCOMPARE(p->naturalSize, QSize(800, 600));
        QVERIFY(Near(p->image.pixel(5, 37), Qt::red));
        p = loader.Load(folder.File("tall.bmp"), QSize(120, 120));
        QVERIFY(p);
        QCOMPARE(p->image.size(), QSize(40, 120));
        p = loader.Load(folder.File("small.gif"), QSize(400, 400));
        QVERIFY(p);
        QCOMPARE(p->image.size(), QSize(50, 40));
        QCOMPARE(PictureLoader::FitWithin(QSize(5, 3), QSize(2, 2)), QSize(2, 1));  // 1.2 → 1
        QCOMPARE(PictureLoader::FitWithin(QSize(4, 5), QSize(2, 2)), QSize(2, 2));  // 1.6 → 2
        QCOMPARE(PictureLoader::FitWithin(QSize(1000, 1), QSize(10, 10)), QSize(10, 1));
        QCOMPARE(PictureLoader::FitWithin(QSize(8, 5), QSize(4, 100)), QSize(4, 2));  // 2.5 → 2
    }

    void photosComeOutUpright() {
        ProgramFolder folder;
        const QByteArray jpeg = Encode(Halves(200, 100), "jpeg");
        folder.Write("r90.jpg", WithOrientation(jpeg, 6));   // turn 90° clockwise to show
        folder.Write("r270.jpg", WithOrientation(jpeg, 8));  // turn 90° anticlockwise
        folder.Write("r180.jpg", WithOrientation(jpeg, 3));
        auto p = loader.Load(folder.File("r90.jpg"));
        QVERIFY(p);
        QCOMPARE(p->naturalSize, QSize(100, 200));
        QCOMPARE(p->image.size(), QSize(100, 200));
        QVERIFY(Near(p->image.pixel(50, 5), Qt::red));  // the stored left is the top
        QVERIFY(Near(p->image.pixel(50, 195), Qt::blue));
        p = loader.Load(folder.File("r90.jpg"), QSize(50, 50));
        QVERIFY(p);
        QCOMPARE(p->image.size(), QSize(25, 50));
        QCOMPARE(p->naturalSize, QSize(100, 200));
        QVERIFY(Near(p->image.pixel(12, 3), Qt::red));
        p = loader.Load(folder.File("r270.jpg"), QSize(60, 60));
        QVERIFY(p);
        QCOMPARE(p->image.size(), QSize(30, 60));
        QVERIFY(Near(p->image.pixel(15, 56), Qt::red));  // the stored left is the bottom
        p = loader.Load(folder.File("r180.jpg"));
        QVERIFY(p);
        QCOMPARE(p->naturalSize, QSize(200, 100));
        QVERIFY(Near(p->image.pixel(195, 50), Qt::red));
    }

    void enormousAnnouncedSizesAreRefused() {
        ProgramFolder folder;
        // A bitmap header claiming 60000 × 60000 pixels over a few bytes of data.
        QByteArray bmp = Encode(Halves(4, 4), "bmp");
        Put32(bmp, 18, 60000);
        Put32(bmp, 22, 60000);
        folder.Write("huge.bmp", bmp);
        QVERIFY(!loader.Load(folder.File("huge.bmp")));
        // A complete JPEG whose frame header claims 65000 × 65000.
        QByteArray jpeg = Encode(Halves(16, 16), "jpeg");
        const int sof = int(jpeg.indexOf(QByteArray("\xFF\xC0", 2)));
        QVERIFY(sof > 0);
        qToBigEndian<quint16>(65000, jpeg.data() + sof + 5);
        qToBigEndian<quint16>(65000, jpeg.data() + sof + 7);
        folder.Write("huge.jpg", jpeg);
        QVERIFY(!loader.Load(folder.File("huge.jpg")));
        QVERIFY(!loader.Load(folder.File("huge.jpg"), QSize(100, 100)));
        // The limit is per call: 1000 × 1000 needs about 4 MB.
        folder.Write("big.bmp", Encode(Halves(1000, 1000), "bmp"));
        QVERIFY(!loader.Load(folder.File("big.bmp"), QSize(), 1));
        QVERIFY(loader.Load(folder.File("big.bmp"), QSize(), 8));
    }

    void perCallLimitsHoldAcrossThreads() {
        ProgramFolder folder;
        folder.Write("big.bmp", Encode(Halves(1000, 1000), "bmp"));
        const QString path = folder.File("big.bmp");
        std::atomic<int> wrong{0};
        std::thread tight([&] {
            for (int i = 0; i < 6; ++i) wrong += loader.Load(path, QSize(), 1).has_value();
        });
        std::thread roomy([&] {
            for (int i = 0; i < 6; ++i) wrong += !loader.Load(path, QSize(), 64).has_value();
        });
        tight.join();
        roomy.join();
        QCOMPARE(wrong.load(), 0);
    }

    void damagedMetafilesNeverCrash() {
        // Bytes changed all over files that use every kind of record we draw:
        // each load ends, with or without a picture (the sanitizer build
        // watches the callbacks' memory).
        ProgramFolder folder;
        const QList<QByteArray> originals{Mixed(), Shapes(true), Shapes(false)};
        quint32 seed = 12345;
        const auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
        int loaded = 0;
        for (int round = 0; round < 300; ++round) {
            QByteArray b = originals[round % originals.size()];
            const int changes = 1 + int(next() % 4);
            for (int c = 0; c < changes; ++c) {
                const int at = int(next() % quint32(b.size()));
                b[at] = char(next() >> 16);
            }
            if (round % 7 == 0) b.truncate(int(next() % quint32(b.size())));
            folder.Write("fuzz.wmf", b);
            loaded += loader.Load(folder.File("fuzz.wmf"), QSize(64, 64)).has_value();
        }
        QVERIFY(loaded > 0);  // small changes mostly leave a drawable file
    }

    void loadManyHandsOverInOrderAndStops() {
        ProgramFolder folder;
        QStringList paths;
        QList<bool> loads;
        for (int i = 0; i < 9; ++i) {
            const QString name = QString("p%1.jpg").arg(i);
            if (i == 2) {
                folder.Write(name, "broken");
                loads << false;
            } else if (i == 5) {
                loads << false;  // never written: missing
            } else {
                // Sizes rise and fall, so the largest-first order differs from this one.
                const int side = 40 + ((i * 37) % 9) * 40;
                folder.Write(name, i == 7 ? Shapes(true) : Encode(Halves(side, side), "jpeg"));
                loads << true;
            }
            paths << folder.File(name);
        }
        QList<int> seen;
        bool allOnCaller = true;
        loader.LoadMany(paths, QSize(64, 64), [&](int index, std::optional<Picture> p) {
            seen << index;
            allOnCaller = allOnCaller && QThread::currentThread() == thread();
            if (p.has_value() != loads[index]) return false;
            if (p && (p->file != paths[index] || p->image.width() > 64 || p->image.height() > 64))
                return false;
            return true;
        });
        QCOMPARE(seen, QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8}));
        QVERIFY(allOnCaller);

        seen.clear();
        loader.LoadMany(paths, QSize(64, 64), [&](int index, std::optional<Picture>) {
            seen << index;
            return index < 3;
        });
        QCOMPARE(seen, QList<int>({0, 1, 2, 3}));

        int calls = 0;
        loader.LoadMany({}, QSize(64, 64),
                        [&](int, std::optional<Picture>) { return ++calls > 0; });
        QCOMPARE(calls, 0);
    }

    void progressiveJpegsDecodeOneAtATime() {
        QImage photo = Halves(120, 90);
        const QByteArray plain = Encode(photo, "jpeg");
        QByteArray progressive;
        {
            QBuffer buffer(&progressive);
            buffer.open(QIODevice::WriteOnly);
            QImageWriter writer(&buffer, "jpeg");
            writer.setProgressiveScanWrite(true);
            QVERIFY(writer.write(photo));
        }
        QVERIFY(!PictureLoader::IsProgressiveJpeg(plain));
        QVERIFY(PictureLoader::IsProgressiveJpeg(progressive));
        QVERIFY(!PictureLoader::IsProgressiveJpeg(progressive.left(3)));
        QVERIFY(!PictureLoader::IsProgressiveJpeg(Encode(photo, "bmp")));
        QVERIFY(!PictureLoader::IsProgressiveJpeg(QByteArray("\xFF\xD8\xFF\xE0\x00", 5)));

        // Counts how many progressive files decode at once; each decode takes
        // long enough for the other workers to try to start one beside it.
        struct Counting : PictureLoader {
            std::atomic<int> now{0}, most{0}, total{0};
            std::optional<Picture> Load(const QString& path, QSize maxSize, int limit) override {
                const bool heavy = path.contains("prog");
                if (heavy) {
                    const int n = ++now;
                    int seen = most.load();
                    while (n > seen && !most.compare_exchange_weak(seen, n)) {
                    }
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(15));
                auto result = PictureLoader::Load(path, maxSize, limit);
                if (heavy) --now;
                ++total;
                return result;
            }
        } counting;
        ProgramFolder folder;
        QStringList paths;
        for (int i = 0; i < 12; ++i) {
            const bool heavy = i % 3 != 0;  // progressive files dominate the list
            const QString name = QString(heavy ? "prog%1.jpg" : "plain%1.jpg").arg(i);
            folder.Write(name, heavy ? progressive : plain);
            paths << folder.File(name);
        }
        QList<int> seen;
        counting.LoadMany(paths, QSize(64, 64), [&](int index, std::optional<Picture> p) {
            seen << index;
            return p.has_value();
        });
        QCOMPARE(seen.size(), 12);
        for (int i = 0; i < 12; ++i) QCOMPARE(seen[i], i);
        QCOMPARE(counting.total.load(), 12);
        QCOMPARE(counting.most.load(), 1);
    }
};
TAVIMO_TEST(PictureLoaderTest);
#include "tst_PictureLoader.moc"
