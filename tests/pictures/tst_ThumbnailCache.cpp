#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <atomic>
#include <csignal>
#include <functional>

#include "PhotoWriter.h"
#include "TestSupport.h"
#include "board/CardPicture.h"
#include "pictures/PictureLoader.h"
#include "pictures/ThumbnailCache.h"

namespace {

// Counts the decodes of originals: a picture from the cache never gets here.
class CountingLoader : public PictureLoader {
public:
    std::atomic<int> decodes{0};
    std::optional<Picture> Load(const QString& path, QSize maxSize, int limit) override {
        ++decodes;
        return PictureLoader::Load(path, maxSize, limit);
    }
};

// Top half red, bottom half blue, stored as a JPEG.
QByteArray JpegHalves(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::blue);
    QPainter(&img).fillRect(0, 0, w, h / 2, Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "jpeg").write(img);
    return bytes;
}

// The same with an EXIF orientation of 6 (turn a quarter clockwise to view).
QByteArray TurnedJpegHalves(int w, int h) {
    const QByteArray jpeg = JpegHalves(w, h);
    QByteArray exif("Exif\0\0", 6);
    exif += QByteArray("II*\0\x08\0\0\0", 8);           // little-endian, first directory at 8
    exif += QByteArray("\x01\0", 2);                    // one entry
    exif += QByteArray("\x12\x01\x03\0\x01\0\0\0", 8);  // orientation, one short
    exif += QByteArray("\x06\0\0\0\0\0\0\0", 8);        // 6, padding, no next directory
    QByteArray segment("\xFF\xE1", 2);
    segment += char(0);
    segment += char(exif.size() + 2);
    return jpeg.left(2) + segment + exif + jpeg.mid(2);
}

bool IsRed(QColor c) {
    return c.red() > 180 && c.green() < 80 && c.blue() < 80;
}
bool IsBlue(QColor c) {
    return c.blue() > 180 && c.red() < 80 && c.green() < 80;
}
bool IsGreen(QColor c) {
    return c.green() > 180 && c.red() < 80 && c.blue() < 80;
}

int Mode(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return -1;
    return int(st.st_mode & 07777);
}

QImage ReadPng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoTransform(false);
    return reader.read();
}

}  // namespace

class ThumbnailCacheTest : public QObject {
    Q_OBJECT

    QTemporaryDir* home_ = nullptr;
    QTemporaryDir* photos_ = nullptr;

    QString Cache() const { return home_->path() + "/thumbnails"; }
    QString Photo(const QString& name, const QByteArray& bytes) const {
        const QString path = photos_->filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) qFatal("cannot write");
        return path;
    }
    QString ThumbnailOf(const QString& photo, const char* folder = "x-large") const {
        return Cache() + "/" + folder + "/" + ThumbnailCache::FileName(photo);
    }
    // A green copy as another program would write it, with the stamp
    // `stamp` gives (the file's own, unless changed).
    void Plant(const QString& photo, const std::function<void(QImage&)>& stamp = {}) const {
        QDir().mkpath(Cache() + "/x-large");
        QFile::setPermissions(Cache(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(Cache() + "/x-large",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QImage copy(512, 384, QImage::Format_RGB32);
        copy.fill(Qt::green);
        const auto own = ThumbnailCache::StampOf(photo);
        copy.setText("Thumb::URI", QUrl::fromLocalFile(photo).toEncoded());
        copy.setText("Thumb::MTime", QString::number(own->mtime));
        copy.setText("Thumb::Image::Width", "1200");
        copy.setText("Thumb::Image::Height", "900");
        if (stamp) stamp(copy);
        QVERIFY(copy.save(ThumbnailOf(photo), "png"));
    }
    // One picture through LoadMany at the card's size.
    static std::optional<Picture> LoadOne(PictureLoader& loader, const QString& path) {
        std::optional<Picture> got;
        loader.LoadMany({path}, QSize(384, 384), [&](int, std::optional<Picture> p) {
            got = std::move(p);
            return true;
        });
        return got;
    }

private slots:
    void init() {
        home_ = new QTemporaryDir;
        photos_ = new QTemporaryDir;
        QVERIFY(home_->isValid() && photos_->isValid());
        qputenv("XDG_CACHE_HOME", QFile::encodeName(home_->path()));
    }
    void cleanup() {
        delete home_;
        delete photos_;
    }

    void sizeFolderIsTheSmallestThatHoldsTheCard() {
        QCOMPARE(ThumbnailCache::BucketFor(QSize(100, 128))->folder, QString("normal"));
        QCOMPARE(ThumbnailCache::BucketFor(QSize(129, 50))->folder, QString("large"));
        QCOMPARE(ThumbnailCache::BucketFor(QSize(384, 384))->folder, QString("x-large"));
        QCOMPARE(ThumbnailCache::BucketFor(QSize(384, 384))->edge, 512);
        QCOMPARE(ThumbnailCache::BucketFor(QSize(1024, 600))->folder, QString("xx-large"));
        // A card's picture on a screen of twice the density.
        QCOMPARE(ThumbnailCache::BucketFor(cardpicture::IntermediateSize(2))->folder,
                 QString("xx-large"));
        QVERIFY(!ThumbnailCache::BucketFor(QSize(1025, 10)));
        QVERIFY(!ThumbnailCache::BucketFor(QSize()));
        // The name is the MD5 of the file's URI, spaces escaped.
        const QString path = "/home/someone/My Photos/a.jpg";
        const QByteArray md5 = QCryptographicHash::hash("file:///home/someone/My%20Photos/a.jpg",
                                                        QCryptographicHash::Md5);
        QCOMPARE(ThumbnailCache::FileName(path), QString::fromLatin1(md5.toHex() + ".png"));
        // The location follows the environment at each call.
        QCOMPARE(ThumbnailCache().Root(), Cache());
        QVERIFY(!ThumbnailCache::StampOf(":/Splash/logo.jpg"));
    }

    void anotherProgramsCopyIsUsedAndTheOriginalNotDecoded() {
        const QString photo = Photo("a.jpg", JpegHalves(1200, 900));
        Plant(photo);
        CountingLoader loader;
        const auto picture = LoadOne(loader, photo);
        QVERIFY(picture);
        QCOMPARE(loader.decodes.load(), 0);
        QCOMPARE(picture->image.size(), QSize(384, 288));
        QVERIFY(IsGreen(picture->image.pixelColor(192, 144)));
        QCOMPARE(picture->naturalSize, QSize(1200, 900));
        QCOMPARE(picture->file, photo);
        // With its optional size stamp right it is used as well.
        Plant(photo, [&](QImage& c) {
            c.setText("Thumb::Size", QString::number(QFileInfo(photo).size()));
        });
        QVERIFY(LoadOne(loader, photo));
        QCOMPARE(loader.decodes.load(), 0);
    }

    void doubtfulCopiesAreIgnored_data() {
        QTest::addColumn<QString>("spoil");
        for (const char* c :
             {"stale", "wrong uri", "wrong size", "no mtime", "corrupt", "cut off",
              "symlinked folder", "group-writable folder", "others-writable root", "too large"})
            QTest::newRow(c) << QString(c);
    }
    void doubtfulCopiesAreIgnored() {
        QFETCH(QString, spoil);
        const QString photo = Photo("a.jpg", JpegHalves(1200, 900));
        Plant(photo, [&](QImage& c) {
            if (spoil == "stale") c.setText("Thumb::MTime", QString::number(1000));
            if (spoil == "wrong uri")
                c.setText("Thumb::URI", QUrl::fromLocalFile(photo + "x").toEncoded());
            if (spoil == "wrong size") c.setText("Thumb::Size", "17");
            if (spoil == "no mtime") c.setText("Thumb::MTime", "");
            if (spoil == "too large") c = c.scaled(1024, 768).copy();
            if (spoil == "too large")
                c.setText("Thumb::URI", QUrl::fromLocalFile(photo).toEncoded());
            if (spoil == "too large")
                c.setText("Thumb::MTime", QString::number(ThumbnailCache::StampOf(photo)->mtime));
        });
        const QString copy = ThumbnailOf(photo);
        if (spoil == "corrupt") {
            QFile f(copy);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("\x89PNG\r\n\x1A\nthis is no picture");
        }
        if (spoil == "cut off") QVERIFY(QFile::resize(copy, QFileInfo(copy).size() - 40));
        if (spoil == "symlinked folder") {
            const QString elsewhere = home_->path() + "/elsewhere";
            QVERIFY(QDir(Cache()).rename("x-large", elsewhere));
            QVERIFY(QFile::link(elsewhere, Cache() + "/x-large"));
        }
        if (spoil == "group-writable folder")
            QVERIFY(::chmod(QFile::encodeName(Cache() + "/x-large"), 0770) == 0);
        if (spoil == "others-writable root")
            QVERIFY(::chmod(QFile::encodeName(Cache()), 0702) == 0);
        const QByteArray before = [&] {
            QFile f(copy);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();

        CountingLoader loader;
        const auto picture = LoadOne(loader, photo);
        // The original, decoded as ever: red on top, never the green copy.
        QVERIFY(picture);
        QCOMPARE(loader.decodes.load(), 1);
        QCOMPARE(picture->image.size(), QSize(384, 288));
        QVERIFY(IsRed(picture->image.pixelColor(192, 10)));
        QVERIFY(IsBlue(picture->image.pixelColor(192, 280)));
        loader.WaitForThumbnails();
        QFile after(copy);
        const bool trusted = !spoil.contains("folder") && !spoil.contains("root");
        if (trusted) {
            // Replaced by a good copy of the file as it is now.
            const QImage written = ReadPng(copy);
            QCOMPARE(written.size(), QSize(512, 384));
            QVERIFY(IsRed(written.pixelColor(256, 10)));
            QCOMPARE(written.text("Thumb::MTime"),
                     QString::number(ThumbnailCache::StampOf(photo)->mtime));
        } else {
            // A folder not to be trusted is not written either.
            QVERIFY(after.open(QIODevice::ReadOnly));
            QCOMPARE(after.readAll(), before);
        }
    }

    void writtenCopiesAreStampedPrivateAndUpright() {
        // Stored lying on its side, red at the stored top: upright, red is
        // on the right.
        const QString photo = Photo("turned.jpg", TurnedJpegHalves(1200, 900));
        const QString small = Photo("small.jpg", JpegHalves(300, 200));
        CountingLoader loader;
        std::optional<Picture> first;
        loader.LoadMany({photo, small}, QSize(384, 384), [&](int i, std::optional<Picture> p) {
            if (i == 0) first = std::move(p);
            return true;
        });
        QVERIFY(first);
        QCOMPARE(first->image.size(), QSize(288, 384));
        loader.WaitForThumbnails();

        const QString copy = ThumbnailOf(photo);
        QCOMPARE(Mode(Cache()), 0700);
        QCOMPARE(Mode(Cache() + "/x-large"), 0700);
        QCOMPARE(Mode(copy), 0600);
        // Only the finished copy: no temporary file left, nothing for a
        // picture smaller than the folder's size.
        QCOMPARE(QDir(Cache() + "/x-large").entryList(QDir::Files | QDir::Hidden),
                 QStringList(ThumbnailCache::FileName(photo)));
        const QImage written = ReadPng(copy);
        QCOMPARE(written.size(), QSize(384, 512));
        QVERIFY(IsRed(written.pixelColor(370, 256)));
        QVERIFY(IsBlue(written.pixelColor(10, 256)));
        QCOMPARE(written.text("Thumb::URI").toUtf8(), QUrl::fromLocalFile(photo).toEncoded());
        QCOMPARE(written.text("Thumb::MTime"),
                 QString::number(QFileInfo(photo).lastModified().toSecsSinceEpoch()));
        QCOMPARE(written.text("Thumb::Size"), QString::number(QFileInfo(photo).size()));
        QCOMPARE(written.text("Thumb::Image::Width"), QString("900"));
        QCOMPARE(written.text("Thumb::Image::Height"), QString("1200"));

        // The next deal takes it without turning it again.
        const int decodes = loader.decodes.load();
        const auto again = LoadOne(loader, photo);
        QCOMPARE(loader.decodes.load(), decodes);
        QVERIFY(again);
        QCOMPARE(again->image.size(), QSize(288, 384));
        QVERIFY(IsRed(again->image.pixelColor(280, 192)));
        QVERIFY(IsBlue(again->image.pixelColor(8, 192)));
        QCOMPARE(again->naturalSize, QSize(900, 1200));
    }

    // The copy is the deal's own decode: the writer does not read the file
    // again (spoiled here behind the loader's back, its stamp kept). For
    // the x-large folder the card alone would decode at a quarter, 500 x 375,
    // short of the copy's size, so the one decode is made at the copy's
    // size; for the large one an eighth, 250 x 188, is near enough and
    // enlarged to the folder's size.
    void copiesComeFromTheDealsOwnDecode_data() {
        QTest::addColumn<QSize>("card");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QSize>("copy");
        QTest::newRow("x-large") << QSize(384, 288) << "x-large" << QSize(512, 384);
        QTest::newRow("large, from an eighth") << QSize(200, 150) << "large" << QSize(256, 192);
    }
    void copiesComeFromTheDealsOwnDecode() {
        QFETCH(QSize, card);
        QFETCH(QString, folder);
        QFETCH(QSize, copy);
        const QString photo = Photo("a.jpg", JpegHalves(2000, 1500));
        struct Spoiling : PictureLoader {
            std::optional<Picture> Load(const QString& path, QSize maxSize, int limit) override {
                auto picture = PictureLoader::Load(path, maxSize, limit);
                QFile f(path);
                const QDateTime when = QFileInfo(path).lastModified();
                if (f.open(QIODevice::ReadWrite)) {
                    f.write(QByteArray(int(f.size()), '\0'));
                    f.setFileTime(when, QFileDevice::FileModificationTime);
                }
                return picture;
            }
        } loader;
        std::optional<Picture> got;
        loader.LoadMany({photo}, QSize(card.width(), card.width()),
                        [&](int, std::optional<Picture> p) {
                            got = std::move(p);
                            return true;
                        });
        QVERIFY(got);
        QCOMPARE(got->image.size(), card);
        QCOMPARE(got->naturalSize, QSize(2000, 1500));
        QVERIFY(IsRed(got->image.pixelColor(card.width() / 2, 5)));
        QVERIFY(IsBlue(got->image.pixelColor(card.width() / 2, card.height() - 5)));
        loader.WaitForThumbnails();
        const QImage written = ReadPng(ThumbnailOf(photo, qPrintable(folder)));
        QCOMPARE(written.size(), copy);
        QVERIFY(IsRed(written.pixelColor(copy.width() / 2, 5)));
        QVERIFY(IsBlue(written.pixelColor(copy.width() / 2, copy.height() - 5)));
        QCOMPARE(written.text("Thumb::Image::Width"), QString("2000"));
        QCOMPARE(written.text("Thumb::Image::Height"), QString("1500"));
        QCOMPARE(written.text("Thumb::Size"), QString::number(QFileInfo(photo).size()));
    }

    // A phone's HEIC, turned by its own rotation: its copy is written
    // upright and the next deal takes it without decoding the file.
    void heicCopiesAreWrittenAndReadBack() {
        QImage halves(1200, 900, QImage::Format_RGB32);
        halves.fill(Qt::blue);
        QPainter(&halves).fillRect(0, 0, 1200, 450, Qt::red);
        const QString photo = Photo("turned.HEIC", photowriter::Heif(halves, false, 6));
        CountingLoader loader;
        const auto first = LoadOne(loader, photo);
        QVERIFY(first);
        QCOMPARE(first->image.size(), QSize(288, 384));
        loader.WaitForThumbnails();
        const QImage written = ReadPng(ThumbnailOf(photo));
        QCOMPARE(written.size(), QSize(384, 512));
        QVERIFY(IsRed(written.pixelColor(370, 256)));
        QVERIFY(IsBlue(written.pixelColor(10, 256)));
        const int decodes = loader.decodes.load();
        const auto again = LoadOne(loader, photo);
        QCOMPARE(loader.decodes.load(), decodes);
        QVERIFY(again);
        QCOMPARE(again->image.size(), QSize(288, 384));
        QVERIFY(IsRed(again->image.pixelColor(280, 192)));
        QCOMPARE(again->naturalSize, QSize(900, 1200));
    }

    void undecodableFilesAreRecordedUntilTheyChange() {
        const QString bad = Photo("bad.jpg", "\xFF\xD8\xFF not really a picture");
        CountingLoader loader;
        QVERIFY(!LoadOne(loader, bad));
        QCOMPARE(loader.decodes.load(), 1);
        loader.WaitForThumbnails();
        const QString mark =
            Cache() + "/" + ThumbnailCache::FailFolder + "/" + ThumbnailCache::FileName(bad);
        QCOMPARE(Mode(mark), 0600);
        QCOMPARE(Mode(Cache() + "/fail"), 0700);
        QCOMPARE(ReadPng(mark).text("Thumb::URI").toUtf8(), QUrl::fromLocalFile(bad).toEncoded());

        // Not tried again...
        QVERIFY(!LoadOne(loader, bad));
        QCOMPARE(loader.decodes.load(), 1);
        // ...until it changes.
        Photo("bad.jpg", JpegHalves(1200, 900));
        QFile f(bad);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(5),
                              QFileDevice::FileModificationTime));
        f.close();
        QVERIFY(LoadOne(loader, bad));
        QCOMPARE(loader.decodes.load(), 2);
    }

    // What a killed run left in the cache's folders goes at the next start,
    // and only that: not another program's file, not a write in progress.
    void staleTemporariesOfOursGoAtStart() {
        Plant(Photo("a.jpg", JpegHalves(1200, 900)));
        QDir().mkpath(Cache() + "/fail/tavimo-1.4.0");
        const QString md5 = QString(32, 'a');
        const auto put = [&](const QString& where, const QByteArray& bytes, bool old) {
            QFile f(Cache() + "/" + where);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.write(bytes) == bytes.size() && f.flush());
            if (old)
                QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-600),
                                      QFileDevice::FileModificationTime));
        };
        const QByteArray ours = QByteArray("\x89PNG\r\n\x1a\n....tEXtSoftware") + '\0' + "Tavimo";
        put("x-large/" + md5 + ".png.tmp-Ab12Cd", "half", true);
        put("fail/tavimo-1.4.0/" + md5 + ".png.tmp-Zz99zz", "", true);
        put("x-large/" + md5 + ".png.Xy34Zq", ours, true);  // an older version's name
        put("x-large/" + md5 + ".png.Kp56Rs", "", true);
        const QStringList kept = {md5 + ".png.tmp-Now123", md5 + ".png.Gn78Mb",
                                  "notes.txt.tmp-Ab12Cd"};
        put("x-large/" + kept[0], "half", false);  // another copy writing now
        put("x-large/" + kept[1], "\x89PNG another program", true);
        put("x-large/" + kept[2], "x", true);

        QCOMPARE(ThumbnailCache().RemoveStaleTemporaries(), 4);
        QStringList left = QDir(Cache() + "/x-large").entryList(QDir::Files | QDir::Hidden);
        left.removeAll(ThumbnailCache::FileName(photos_->filePath("a.jpg")));
        left.sort();
        QStringList expected = kept;
        expected.sort();
        QCOMPARE(left, expected);
        QVERIFY(QDir(Cache() + "/fail/tavimo-1.4.0").isEmpty());
    }

    void aCacheThatCannotBeWrittenChangesNothingForThePlayer() {
        const QString photo = Photo("a.jpg", JpegHalves(1200, 900));
        CountingLoader loader;
        // The disk full: every write fails (the file size limit acts the same).
        {
            rlimit old{};
            getrlimit(RLIMIT_FSIZE, &old);
            const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
            rlimit none = old;
            none.rlim_cur = 0;
            QVERIFY(setrlimit(RLIMIT_FSIZE, &none) == 0);
            const auto picture = LoadOne(loader, photo);
            loader.WaitForThumbnails();
            setrlimit(RLIMIT_FSIZE, &old);
            std::signal(SIGXFSZ, oldHandler);
            QVERIFY(picture);
            QVERIFY(IsRed(picture->image.pixelColor(192, 10)));
            QVERIFY(QDir(Cache() + "/x-large").entryList(QDir::Files | QDir::Hidden).isEmpty());
        }
        // No cache folder can be made at all.
        const QString file = Photo("not-a-folder", "x");
        qputenv("XDG_CACHE_HOME", QFile::encodeName(file + "/cache"));
        const auto picture = LoadOne(loader, photo);
        loader.WaitForThumbnails();
        QVERIFY(picture);
        QCOMPARE(picture->image.size(), QSize(384, 288));
        QCOMPARE(loader.decodes.load(), 2);
        // A missing cache is simply no cache.
        QVERIFY(LoadOne(loader, photo));
        QCOMPARE(loader.decodes.load(), 3);
    }
};
TAVIMO_TEST(ThumbnailCacheTest);
#include "tst_ThumbnailCache.moc"
