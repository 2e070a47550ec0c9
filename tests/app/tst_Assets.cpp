// The default assets that the build draws beside the program: every picture
// loads, the folders hold what the game needs, the pictures are told apart,
// the sounds are valid PCM and the generator draws the same bytes each run.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <map>

#include "TestSupport.h"
#include "app/AssetPaths.h"
#include "board/BoardLayout.h"
#include "pictures/PictureLoader.h"

namespace {

// Runs the generator into `folder`; empty on success, else what went wrong.
QString RunAssetgen(const QString& folder) {
    QProcess proc;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    proc.setProcessEnvironment(env);
    proc.start(TAVIMO_ASSETGEN, {folder});
    if (!proc.waitForFinished(60000)) return "assetgen did not finish";
    if (proc.exitStatus() != QProcess::NormalExit || proc.exitCode() != 0)
        return "assetgen failed: " + QString::fromLocal8Bit(proc.readAllStandardError());
    return {};
}

// Every file below `root`, as paths relative to it, sorted.
QStringList FilesBelow(const QString& root) {
    QStringList files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

QStringList Pictures(const QString& folder) {
    return QDir(folder).entryList(QDir::Files);
}

quint32 U32(const QByteArray& b, int at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
quint16 U16(const QByteArray& b, int at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}

}  // namespace

class AssetsTest : public QObject {
    Q_OBJECT
    QTemporaryDir first_;
    QString graphics_;

private slots:
    void initTestCase() {
        InstallDoubles();
        QVERIFY(first_.isValid());
        const QString error = RunAssetgen(first_.path());
        QVERIFY2(error.isEmpty(), qPrintable(error));
        graphics_ = first_.path() + "/" + assets::GraphicsFolder;
    }

    void graphicsFolderHoldsEnoughOfEveryType() {
        const QStringList files = QDir(graphics_).entryList(QDir::Files);
        QVERIFY2(files.size() >= 60, qPrintable(QString::number(files.size())));
        std::map<QString, int> perType;
        QSet<QString> lowerNames;
        for (const QString& f : files) {
            ++perType[f.section('.', -1).toLower()];
            lowerNames.insert(f.toLower());
            QVERIFY2(!f.contains(','), qPrintable(f));  // names go into comma-separated files
        }
        QCOMPARE(lowerNames.size(), files.size());  // distinct whatever the letter case
        for (const char* type : {"bmp", "gif", "ico", "wmf"}) QVERIFY2(perType[type] >= 5, type);
        QVERIFY(perType["jpg"] > files.size() / 2);
        int known = 0;
        for (const char* type : {"bmp", "gif", "ico", "wmf", "jpg"}) known += perType[type];
        QCOMPARE(known, files.size());
    }

    // The content is what the name says, so a scan by extension finds true
    // files of each type, not JPEGs in disguise.
    void contentMatchesExtension() {
        for (const QString& f : QDir(graphics_).entryList(QDir::Files)) {
            const QString path = graphics_ + "/" + f;
            const QString ext = f.section('.', -1).toLower();
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray head = file.read(4);
            if (ext == "wmf") {
                // Placeable metafile key, or a plain metafile header.
                QVERIFY2(U32(head, 0) == 0x9AC6CDD7u || U16(head, 0) == 1 || U16(head, 0) == 2,
                         qPrintable(f));
            } else {
                const QByteArray format = QImageReader::imageFormat(path);
                const QByteArray expected = ext == "jpg" ? "jpeg" : ext.toLatin1();
                QVERIFY2(format == expected, qPrintable(f + " is " + format));
            }
        }
    }

    void everyPictureLoadsThroughThePictureLoader() {
        for (const QString& f : Pictures(graphics_)) {
            const QString path = graphics_ + "/" + f;
            const auto full = platform().pictures->Load(path);
            QVERIFY2(full.has_value(), qPrintable(f));
            QVERIFY2(full->image.width() >= 100 && full->image.height() >= 100, qPrintable(f));
            QVERIFY2(full->image.width() <= 800 && full->image.height() <= 800, qPrintable(f));
            const auto card = platform().pictures->Load(path, QSize(45, 45));
            QVERIFY2(card.has_value(), qPrintable(f));
            QVERIFY2(card->image.width() <= 45 && card->image.height() <= 45, qPrintable(f));
        }
    }

    // At a thumbnail of 12 x 12 no two pictures may be near-identical: each
    // must differ from every other by a clear mean colour distance.
    void picturesArePairwiseDistinct() {
        QStringList names;
        std::vector<QImage> thumbs;
        for (const QString& f : Pictures(graphics_)) {
            const auto pic = platform().pictures->Load(graphics_ + "/" + f);
            QVERIFY2(pic.has_value(), qPrintable(f));
            QImage onGrey(pic->image.size(), QImage::Format_RGB32);
            onGrey.fill(QColor(128, 128, 128));  // icons have transparent corners
            QPainter(&onGrey).drawImage(0, 0, pic->image);
            thumbs.push_back(
                onGrey.scaled(12, 12, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
            names << f;
        }
        double closest = 1e9;
        QString pair;
        for (size_t i = 0; i < thumbs.size(); ++i)
            for (size_t j = i + 1; j < thumbs.size(); ++j) {
                double sum = 0;
                for (int y = 0; y < 12; ++y)
                    for (int x = 0; x < 12; ++x) {
                        const QRgb a = thumbs[i].pixel(x, y), b = thumbs[j].pixel(x, y);
                        sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                               std::abs(qBlue(a) - qBlue(b));
                    }
                const double mean = sum / (12 * 12 * 3);
                if (mean < closest) {
                    closest = mean;
                    pair = names[int(i)] + " and " + names[int(j)];
                }
            }
        QVERIFY2(closest >= 25, qPrintable(QString("%1 differ by only %2").arg(pair).arg(closest)));
    }

    void cardBacksIncludeTheDefaultSky() {
        const QString backs = first_.path() + "/" + assets::BacksFolder;
        const QStringList files = QDir(backs).entryList({"*.jpg"}, QDir::Files);
        QVERIFY(files.contains(assets::DefaultBack));
        QVERIFY(files.size() >= 4);
        // Shaped like the card of the default window, so stretching the
        // back onto it squashes nothing.
        board::BoardGrid grid;
        board::ChooseCardSize(grid, 12);
        board::ComputeGrid(grid, 24, board::ReferenceWidth, board::ReferenceHeight);
        const board::TwipRect card = board::CardImageRect(grid, 0, 0);
        const double cardAspect = card.width / card.height;
        for (const QString& f : files) {
            const auto pic = platform().pictures->Load(backs + "/" + f);
            QVERIFY2(pic.has_value(), qPrintable(f));
            const double aspect = double(pic->image.width()) / pic->image.height();
            QVERIFY2(std::abs(aspect / cardAspect - 1) < 0.02, qPrintable(f));
            // Enough pixels for the largest card on a screen of twice the density.
            QVERIFY2(pic->image.width() >= 2 * 265, qPrintable(f));
        }
    }

    void splashTrophyAndIconLoad() {
        for (const char* name : {assets::SplashLogo, assets::SplashPicture, assets::Trophy,
                                 assets::Icon, assets::IconSmall})
            QVERIFY2(platform().pictures->Load(first_.path() + "/" + name).has_value(), name);
        const auto trophy = platform().pictures->Load(first_.path() + "/" + assets::Trophy);
        QCOMPARE(trophy->image.size(), QSize(630, 460));
        QVERIFY(trophy->image.allGray());
        // The copies for high-density screens: the same pictures at twice the size.
        for (const char* name : {assets::SplashLogo, assets::SplashPicture, assets::Trophy}) {
            const auto once = platform().pictures->Load(first_.path() + "/" + name);
            const auto twice = platform().pictures->Load(
                first_.path() + "/" + assets::AtScale(QString::fromLatin1(name), 2));
            QVERIFY2(once && twice, name);
            QCOMPARE(twice->image.size(), once->image.size() * 2);
            // Drawn alike: the larger one shrunk matches the smaller closely.
            const QImage a = once->image.convertToFormat(QImage::Format_RGB32);
            const QImage b =
                twice->image
                    .scaled(once->image.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                    .convertToFormat(QImage::Format_RGB32);
            long long diff = 0;
            for (int y = 0; y < a.height(); ++y)
                for (int x = 0; x < a.width(); ++x)
                    diff += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
            QVERIFY2(diff / (a.width() * a.height()) < 12, name);
        }
        QCOMPARE(assets::CompiledFor(assets::Trophy, 2), QString(":/Splash/trophy@2x.jpg"));
        QCOMPARE(assets::CompiledFor(assets::Trophy, 1), QString(":/Splash/trophy.jpg"));
        QCOMPARE(platform().pictures->Load(first_.path() + "/" + assets::Icon)->image.size(),
                 QSize(256, 256));
    }

    void soundsAreValidPcm_data() {
        QTest::addColumn<QString>("name");
        for (const char* n : {"Match.wav", "End.wav", "High.wav", "Best.wav"})
            QTest::newRow(n) << n;
    }
    void soundsAreValidPcm() {
        QFETCH(QString, name);
        QFile f(first_.path() + "/" + assets::SoundFolder + "/" + name);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray b = f.readAll();
        QVERIFY(b.size() > 44);
        QCOMPARE(b.left(4), QByteArray("RIFF"));
        QCOMPARE(U32(b, 4), quint32(b.size() - 8));
        QCOMPARE(b.mid(8, 8), QByteArray("WAVEfmt "));
        QCOMPARE(U32(b, 16), 16u);         // plain PCM format chunk
        QCOMPARE(U16(b, 20), quint16(1));  // PCM
        QCOMPARE(U16(b, 22), quint16(1));  // mono
        const quint32 rate = U32(b, 24);
        QCOMPARE(rate, 22050u);
        QCOMPARE(U32(b, 28), rate * 2);
        QCOMPARE(U16(b, 32), quint16(2));
        QCOMPARE(U16(b, 34), quint16(16));
        QCOMPARE(b.mid(36, 4), QByteArray("data"));
        const quint32 data = U32(b, 40);
        QCOMPARE(data, quint32(b.size() - 44));
        const double seconds = data / 2.0 / rate;
        QVERIFY2(seconds > 0.2 && seconds < 4.0, qPrintable(QString::number(seconds)));
        int peak = 0;
        for (quint32 i = 0; i < data / 2; ++i)
            peak = std::max(peak,
                            std::abs(int(qFromLittleEndian<qint16>(b.constData() + 44 + 2 * i))));
        QVERIFY2(peak > 16000 && peak < 32767,
                 qPrintable(QString::number(peak)));  // audible, not clipped
    }

    void soundLengthsSuitTheirMoments() {
        auto seconds = [&](const char* n) {
            return QFileInfo(first_.path() + "/Sound/" + n).size() / 2.0 / 22050;
        };
        QVERIFY(seconds("Match.wav") < 0.6);  // a pair found must not drag on
        QVERIFY(seconds("Match.wav") < seconds("End.wav"));
        QVERIFY(seconds("End.wav") < seconds("Best.wav"));
        QVERIFY(seconds("High.wav") < seconds("Best.wav"));
    }

    void helpTextHasCrLfLinesAndTheRules() {
        QFile f(first_.path() + "/" + assets::HelpFile);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        QVERIFY(text.endsWith("\r\n"));
        QCOMPARE(text.count('\n'), text.count("\r\n"));
        QCOMPARE(text.count('\r'), text.count("\r\n"));
        for (char c : text) QVERIFY(uchar(c) < 128);
        for (const char* needle :
             {"+100", "-25", "100 points", "4 seconds per pair", "P or F1", "F5", "F6", "F7",
              "Ctrl+X", "init.txt", "dirs.txt", "best.txt", "Aquire Additional"})
            QVERIFY2(text.contains(needle), needle);
    }

    // Two runs draw the same bytes, so a rebuild never changes the assets.
    void generatorIsDeterministic() {
        QTemporaryDir second;
        const QString error = RunAssetgen(second.path());
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QStringList a = FilesBelow(first_.path()), b = FilesBelow(second.path());
        QCOMPARE(a, b);
        for (const QString& rel : a) {
            QFile fa(first_.path() + "/" + rel), fb(second.path() + "/" + rel);
            QVERIFY(fa.open(QIODevice::ReadOnly) && fb.open(QIODevice::ReadOnly));
            QVERIFY2(fa.readAll() == fb.readAll(), qPrintable(rel));
        }
    }

    // Running again over an existing folder replaces the files in place and
    // clears the numbered swatches an earlier generator left behind.
    void rerunOverwritesAndClearsOldSwatches() {
        QTemporaryDir dir;
        QDir().mkpath(dir.path() + "/Graphics");
        QFile old(dir.path() + "/Graphics/picture07.jpg");
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        QFile mine(dir.path() + "/Graphics/holiday.jpg");
        QVERIFY(mine.open(QIODevice::WriteOnly));
        mine.close();
        QVERIFY(RunAssetgen(dir.path()).isEmpty());
        QVERIFY(!QFile::exists(dir.path() + "/Graphics/picture07.jpg"));
        QVERIFY(QFile::exists(dir.path() + "/Graphics/holiday.jpg"));  // the player's own stays
        QVERIFY(RunAssetgen(dir.path()).isEmpty());
        QCOMPARE(QDir(dir.path() + "/Graphics").count(), QDir(graphics_).count() + 1);
    }
};
TAVIMO_TEST(AssetsTest);

#include "tst_Assets.moc"
