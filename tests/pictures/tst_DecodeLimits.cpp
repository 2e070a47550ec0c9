// Files whose headers promise far more than they hold: each is refused (or,
// for text the game does not need, read without it) through the loader's
// real ways in, and the process's peak stays far below what decoding the
// promise would take.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <future>
#include <thread>

#include "BombFiles.h"
#include "TestSupport.h"
#include "pictures/BackgroundPicture.h"
#include "pictures/PictureLoader.h"
#include "pictures/ThumbnailCache.h"
#include "pictures/WmfReader.h"

namespace {

qint64 StatusKB(const char* field) {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ')[0].toLongLong();
    return -1;
}

// The resident peak from here on, as the kernel counts it.
struct PeakWatch {
    qint64 before = 0;
    PeakWatch() {
        QFile clear("/proc/self/clear_refs");
        if (clear.open(QIODevice::WriteOnly)) clear.write("5");  // resets the peak
        before = StatusKB("VmRSS:");
    }
    qint64 GrowthMB() const { return (StatusKB("VmHWM:") - before) / 1024; }
};

constexpr qint64 PeakBoundMB = 300;

}  // namespace

class DecodeLimitsTest : public QObject {
    Q_OBJECT

private slots:
    void bombsAreRefusedBeforeTheyCost_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("progressive JPEG declaring 32000 x 32000") << bombs::ProgressiveJpeg(32000);
        QTest::newRow("GIF with a 16000 x 16000 screen, 1 x 1 frame") << bombs::GifScreen(16000);
        QTest::newRow("icon holding a 16000 x 16000 PNG") << bombs::IcoWithPng(16000);
    }
    void bombsAreRefusedBeforeTheyCost() {
        QFETCH(QByteArray, file);
        ProgramFolder folder;
        folder.Write("bomb.jpg", file);
        const QString path = folder.File("bomb.jpg");
        PictureLoader loader;
        loader.SetThumbnailCache(nullptr);
        PeakWatch peak;
        QVERIFY(!loader.Load(path, QSize(120, 90)));
        QVERIFY(!loader.Load(path));  // the viewer's natural size
        // A deal of eight such cards: every one fails, the deal goes on.
        const QStringList eight(8, path);
        int handed = 0, loaded = 0;
        loader.LoadMany(eight, QSize(120, 90), [&](int, std::optional<Picture> p) {
            ++handed;
            loaded += p.has_value();
            return true;
        });
        QCOMPARE(handed, 8);
        QCOMPARE(loaded, 0);
        QVERIFY2(peak.GrowthMB() < PeakBoundMB, qPrintable(QString::number(peak.GrowthMB())));
    }

    void theSameSizesWithinTheLimitStillLoad() {
        // The checks weigh the promise, not the format: the same files at a
        // size that fits decode as before.
        ProgramFolder folder;
        folder.Write("gif.gif", bombs::GifScreen(64));
        folder.Write("jpeg.jpg", bombs::ProgressiveJpeg(64, 64));
        PictureLoader loader;
        for (const QString name : {"gif.gif", "jpeg.jpg"}) {
            const auto p = loader.Load(folder.File(name));
            QVERIFY2(p, qPrintable(name));
            QCOMPARE(p->naturalSize, QSize(64, 64));
        }
        // An icon's largest image is chosen by its own data, here a PNG.
        folder.Write("icon.ico", bombs::IcoWithPng(0, QImage(48, 40, QImage::Format_ARGB32)));
        const auto icon = PictureLoader().Load(folder.File("icon.ico"));
        QVERIFY(icon);
        QCOMPARE(icon->naturalSize, QSize(48, 40));
    }

    void textChunksNeverReachTheDecoder() {
        // 60 chunks of 7 MB of text each, compressed to a few KB: the picture
        // itself loads, for a card, for the viewer and in a deal of eight, and
        // the thumbnail written after the deal obeys the same limits.
        ProgramFolder folder;
        folder.Write("texts.png", bombs::PngWithTexts(QSize(300, 200), 60, 7 * 1024 * 1024));
        const QString path = folder.File("texts.png");
        QTemporaryDir cacheRoot;
        auto cache = std::make_shared<ThumbnailCache>(cacheRoot.path());
        PictureLoader loader;
        loader.SetThumbnailCache(cache);
        PeakWatch peak;
        const auto card = loader.Load(path, QSize(120, 90));
        QVERIFY(card);
        QCOMPARE(card->naturalSize, QSize(300, 200));
        QVERIFY(loader.Load(path));
        int loaded = 0;
        loader.LoadMany(QStringList(8, path), QSize(120, 90), [&](int, std::optional<Picture> p) {
            loaded += p.has_value();
            return true;
        });
        QCOMPARE(loaded, 8);
        loader.WaitForThumbnails();
        const auto stamp = ThumbnailCache::StampOf(path);
        QVERIFY(stamp);
        QVERIFY(cache->Read(path, QSize(120, 90), *stamp));
        QVERIFY2(peak.GrowthMB() < PeakBoundMB, qPrintable(QString::number(peak.GrowthMB())));
    }

    void cachedCopiesKeepOnlyTheirOwnKeys() {
        // A copy in the desktop's cache is read like any PNG: its own keys
        // (written compressed or not by whoever made it) count, and the bulk
        // of text beside them is never inflated.
        const QString file = QStringLiteral("/tmp/picture.png");
        const ThumbnailCache::Stamp stamp{1700000000, 4242};
        QTemporaryDir root;
        QVERIFY(QDir().mkpath(root.path() + "/normal"));
        QFile::setPermissions(root.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(root.path() + "/normal",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const ThumbnailCache cache(root.path());
        const auto store = [&](const QByteArray& png) {
            QFile out(root.path() + "/normal/" + ThumbnailCache::FileName(file));
            QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(png);
        };
        const QList<std::pair<QByteArray, QByteArray>> keys = {
            {"Thumb::URI", ThumbnailCache::Uri(file)},
            {"Thumb::MTime", QByteArray::number(stamp.mtime)},
            {"Thumb::Size", QByteArray::number(stamp.size)}};
        PeakWatch peak;
        for (const bool compressed : {false, true}) {
            store(bombs::PngWithTexts(QSize(128, 96), 60, 7 * 1024 * 1024, keys, compressed));
            QVERIFY2(cache.Read(file, QSize(100, 75), stamp), compressed ? "zTXt" : "tEXt");
        }
        QVERIFY2(peak.GrowthMB() < PeakBoundMB, qPrintable(QString::number(peak.GrowthMB())));
    }

    void metafilesOverTheirWorkBudgetAreRefused_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("refusedForCard");
        QTest::newRow("wide-pen zig-zag") << bombs::WidePenZigZag(64000, 3000) << true;
        QTest::newRow("60000 SaveDC") << bombs::SaveDcs(60000) << true;
        QTest::newRow("a 65535-object table filled and emptied")
            << bombs::ObjectChurn(65535, 1) << true;
        // Small on a card; at its natural size each fill covers millions of pixels.
        QTest::newRow("200 large hatched rectangles") << bombs::HatchedRectangles(200) << false;
    }
    void metafilesOverTheirWorkBudgetAreRefused() {
        QFETCH(QByteArray, file);
        QFETCH(bool, refusedForCard);
        ProgramFolder folder;
        folder.Write("bomb.wmf", file);
        PictureLoader loader;
        loader.SetThumbnailCache(nullptr);
        QVERIFY(!loader.Load(folder.File("bomb.wmf")));
        QCOMPARE(!loader.Load(folder.File("bomb.wmf"), QSize(120, 90)), refusedForCard);
    }

    void aNewerRequestCancelsTheOlderRender() {
        // The older request's metafile starts playing only once the newer
        // request is in: it stops at its first record rather than painting,
        // and only the newer picture is handed back.
        ProgramFolder folder;
        folder.Write("older.wmf", bombs::NegativeBox());
        folder.Write("newer.wmf", bombs::HatchedRectangles(1));
        PictureLoader loader;
        loader.SetThumbnailCache(nullptr);
        QVERIFY(loader.Load(folder.File("older.wmf")));  // it would load, left alone
        std::promise<void> go;
        std::shared_future<void> started = go.get_future().share();
        std::atomic<bool> olderStarted{false};
        std::atomic<int> olderPlayed{-1};
        int olderDone = 0;
        std::optional<Picture> newer;
        BackgroundPicture request;
        request.Start(
            [&, started] {
                olderStarted = true;
                started.wait();
                const bool played = loader.Load(folder.File("older.wmf")).has_value();
                olderPlayed = played;
                return std::optional<Picture>();
            },
            [&](std::optional<Picture>) { ++olderDone; });
        QVERIFY(request.Busy());
        QTRY_VERIFY(olderStarted.load());
        request.Start([&] { return loader.Load(folder.File("newer.wmf"), QSize(120, 90)); },
                      [&](std::optional<Picture> p) { newer = std::move(p); });
        go.set_value();
        QTRY_VERIFY(!request.Busy());
        QVERIFY(newer);
        QCOMPARE(newer->file, folder.File("newer.wmf"));
        QTRY_VERIFY(olderPlayed.load() >= 0);
        QCOMPARE(olderPlayed.load(), 0);
        QCoreApplication::processEvents();
        QCOMPARE(olderDone, 0);
    }

    void theWritersRenderGivesWayToAWindows() {
        // A background render (the thumbnail writer's) runs again and again;
        // renders for a window meanwhile all succeed, and the background one
        // is seen stopping for them rather than making them wait it out.
        ProgramFolder folder;
        folder.Write("long.wmf", bombs::ManySmallRectangles(19000));
        folder.Write("short.wmf", bombs::NegativeBox());
        PictureLoader loader;
        loader.SetThumbnailCache(nullptr);
        std::atomic<bool> stop{false}, running{false};
        std::atomic<int> yielded{0};
        std::thread writer([&] {
            const wmfreader::PlayScope scope(nullptr, true);
            while (!stop) {
                running = true;
                if (!loader.Load(folder.File("long.wmf"), QSize(128, 128)) &&
                    wmfreader::PlayScope::Yielded())
                    ++yielded;
            }
        });
        QTRY_VERIFY(running.load());
        // On a loaded machine the writer may be between renders for a while:
        // window renders go on until one has caught it rendering (bounded).
        int shown = 0, asked = 0;
        while (asked < 20 || (yielded.load() == 0 && asked < 5000)) {
            ++asked;
            shown += loader.Load(folder.File("short.wmf")).has_value();
        }
        stop = true;
        writer.join();
        QCOMPARE(shown, asked);
        QVERIFY(yielded.load() > 0);
        // Left alone, it renders.
        QVERIFY(loader.Load(folder.File("long.wmf"), QSize(128, 128)));
    }
};
TAVIMO_TEST(DecodeLimitsTest);
#include "tst_DecodeLimits.moc"
