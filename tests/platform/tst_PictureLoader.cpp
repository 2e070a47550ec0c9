#include <gif_lib.h>

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QTest>
#include <QThread>
#include <QtEndian>
#include <atomic>
#include <thread>

#include "TestSupport.h"
#include "platform/PictureLoader.h"
#include "platform/WmfWriter.h"

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
    QByteArray exif("Exif\0\0", 6);
    exif += QByteArray("II*\0\x08\0\0\0", 8);           // little-endian TIFF, IFD at 8
    exif += QByteArray("\x01\0", 2);                    // one entry
    exif += QByteArray("\x12\x01\x03\0\x01\0\0\0", 8);  // 0x0112, SHORT, count 1
    exif += char(orientation & 0xFF);
    exif += char(orientation >> 8);
    exif += QByteArray("\0\0", 2);
    exif += QByteArray("\0\0\0\0", 4);  // no next IFD
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

}  // namespace

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

    void otherFormatsAreRefusedButPng() {
        // PNG loads (the program's own splash pictures are PNG); TIFF and the
        // like are refused even though Qt could decode them.
        ProgramFolder folder;
        const QByteArray png = Encode(Halves(20, 20), "png");
        folder.Write("a.png", png);
        folder.Write("b.bmp", png);
        folder.Write("cut.png", png.left(png.size() - 12));
        folder.Write("c.jpg", Encode(Halves(20, 20), "tiff"));
        QVERIFY(loader.Load(folder.File("a.png")));
        QVERIFY(loader.Load(folder.File("b.bmp")));
        QVERIFY(!loader.Load(folder.File("cut.png")));
        QVERIFY(!loader.Load(folder.File("c.jpg")));
        QCOMPARE(PictureLoader::DetectFormat(Encode(Halves(8, 8), "jpeg")), QByteArray("jpeg"));
        QCOMPARE(PictureLoader::DetectFormat(Shapes(true)), QByteArray("wmf"));
        QCOMPARE(PictureLoader::DetectFormat(Shapes(false)), QByteArray("wmf"));
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
        } loader;
        ProgramFolder folder;
        QStringList paths;
        for (int i = 0; i < 12; ++i) {
            const bool heavy = i % 3 != 0;  // progressive files dominate the list
            const QString name = QString(heavy ? "prog%1.jpg" : "plain%1.jpg").arg(i);
            folder.Write(name, heavy ? progressive : plain);
            paths << folder.File(name);
        }
        QList<int> seen;
        loader.LoadMany(paths, QSize(64, 64), [&](int index, std::optional<Picture> p) {
            seen << index;
            return p.has_value();
        });
        QCOMPARE(seen.size(), 12);
        for (int i = 0; i < 12; ++i) QCOMPARE(seen[i], i);
        QCOMPARE(loader.total.load(), 12);
        QCOMPARE(loader.most.load(), 1);
    }
};
TAVIMO_TEST(PictureLoaderTest);
#include "tst_PictureLoader.moc"
