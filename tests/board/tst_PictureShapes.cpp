// How pictures meet the cards: stretched as designed or, with "Keep Picture
// Shapes" ticked, in their own proportions over a matte; and decoded for the
// screen's pixel density.
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include "TestSupport.h"
#include "WindowSupport.h"
#include "app/AssetPaths.h"
#include "app/Forms.h"
#include "app/Module1.h"
#include "app/Preferences.h"
#include "board/CardPicture.h"
#include "board/CardWidget.h"
#include "board/Form2.h"
#include "board/frmSplash.h"
#include "config/Form1.h"
#include "scores/Form4.h"

namespace {

const QColor Red(220, 30, 30), Blue(30, 60, 220);

// A solid picture of one colour, as a BMP in the program folder.
QString Solid(const ProgramFolder& folder, const QString& name, QSize size, QColor colour) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    const QString path = folder.File(name);
    img.save(path, "BMP");
    return path;
}

bool Near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) < 12 && std::abs(a.green() - b.green()) < 12 &&
           std::abs(a.blue() - b.blue()) < 12;
}

// Card k's face, turned up by a click on its back, as the player sees it.
QImage TurnUp(Form2& game, int k) {
    if (game.Image2[k]->isVisible()) QTest::mouseClick(game.Image2[k], Qt::LeftButton);
    return game.Image1[k]->grab().toImage();
}

int CardOf(const Form2& game, const QString& file) {
    for (int k = 0; k < game.PairCount; ++k)
        if (game.Image1[k]->File() == file) return k;
    return -1;
}

// The player's choice of shapes, as the game window's menu shows it.
bool Ticked(const Form2& game) {
    return game.mnuShapes && game.mnuShapes->isCheckable() && game.mnuShapes->isChecked();
}

}  // namespace

class PictureShapesTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QFile::remove(preferences::File()); }
    void cleanup() { QFile::remove(preferences::File()); }

    void pictureRectFitsAndCentres() {
        using cardpicture::PictureRect;
        // Stretched: the whole card, whatever the picture.
        QCOMPARE(PictureRect(QSize(300, 200), QSize(120, 130), false), QRect(0, 0, 120, 130));
        // 3:2 on a square: full width, matte above and below in equal parts.
        QCOMPARE(PictureRect(QSize(300, 200), QSize(120, 120), true), QRect(0, 20, 120, 80));
        // 1:4 on a square: full height, matte left and right.
        QCOMPARE(PictureRect(QSize(100, 400), QSize(120, 120), true), QRect(45, 0, 30, 120));
        // Small pictures grow to the card too; a sliver keeps at least a pixel.
        QCOMPARE(PictureRect(QSize(16, 16), QSize(90, 60), true), QRect(15, 0, 60, 60));
        QCOMPARE(PictureRect(QSize(4000, 1), QSize(100, 100), true), QRect(0, 49, 100, 1));
        // Nothing to fit: the whole area.
        QCOMPARE(PictureRect(QSize(), QSize(50, 40), true), QRect(0, 0, 50, 40));
    }

    void intermediateIsTheCapInDevicePixels() {
        QCOMPARE(cardpicture::IntermediateSize(1), QSize(384, 384));
        QCOMPARE(cardpicture::IntermediateSize(2), QSize(768, 768));
        QCOMPARE(cardpicture::IntermediateSize(1.5), QSize(576, 576));
        // Below one device pixel per pixel the cap stays.
        QCOMPARE(cardpicture::IntermediateSize(0), QSize(384, 384));
        QCOMPARE(cardpicture::ToDevice(QSize(101, 0), 1.5), QSize(152, 0));
    }

    void ticked3by2And1by4KeepTheirShapeOnBothCardsOfThePair() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        const QString wide = Solid(folder, "wide.bmp", QSize(300, 200), Red);
        const QString tall = Solid(folder, "tall.bmp", QSize(100, 400), Blue);
        Form2& game = DealByHand(QStringList{wide, tall} + GeneratedPictures(folder, 2), 4);
        QCOMPARE(game.PairCount, 4);
        QVERIFY(!Ticked(game));  // the designed stretch by default
        const int w = CardOf(game, wide), t = CardOf(game, tall), n = game.PairCount;
        QVERIFY(w >= 0 && t >= 0);

        // Stretched: the picture reaches every edge of the card. Each pair
        // is turned up by clicks, as a player finds it.
        for (int k : {w, w + n, t, t + n}) {
            const QImage shown = TurnUp(game, k);
            QVERIFY(game.Image1[k]->isVisible());
            const QRect in = game.Image1[k]->contentsRect();
            const QColor colour = k % n == w ? Red : Blue;
            for (QPoint p :
                 {in.topLeft() + QPoint(2, 2), in.center(), QPoint(in.center().x(), in.top() + 2),
                  QPoint(in.left() + 2, in.center().y())})
                QVERIFY2(Near(shown.pixelColor(p), colour), qPrintable(QString::number(k)));
        }
        const QImage stretched = game.Image1[w]->grab().toImage();

        // Ticked from the menu while the cards lie face up.
        game.mnuShapes->trigger();
        QVERIFY(Ticked(game));
        for (int k : {w, w + n, t, t + n}) {
            const QImage shown = game.Image1[k]->grab().toImage();
            const QRect in = game.Image1[k]->contentsRect();
            const QPoint c = in.center();
            const QPoint top(c.x(), in.top() + 2), left(in.left() + 2, c.y());
            const QString at = QString::number(k);
            if (k % n == w) {
                // 3:2 across a square card: matte above, picture in the middle and at the sides.
                QVERIFY2(Near(shown.pixelColor(top), cardpicture::Matte), qPrintable(at));
                QVERIFY2(Near(shown.pixelColor(c), Red), qPrintable(at));
                QVERIFY2(Near(shown.pixelColor(left), Red), qPrintable(at));
                const QRectF area = game.Image1[k]->PictureArea();
                QVERIFY(std::abs(area.width() / area.height() - 1.5) < 0.05);
                QVERIFY(std::abs(area.center().y() - QRectF(in).center().y()) <= 1);
            } else {
                // 1:4: matte at the sides, picture from top to bottom.
                QVERIFY2(Near(shown.pixelColor(left), cardpicture::Matte), qPrintable(at));
                QVERIFY2(Near(shown.pixelColor(c), Blue), qPrintable(at));
                QVERIFY2(Near(shown.pixelColor(top), Blue), qPrintable(at));
                const QRectF area = game.Image1[k]->PictureArea();
                QVERIFY(std::abs(area.width() / area.height() - 0.25) < 0.03);
                QVERIFY(std::abs(area.center().x() - QRectF(in).center().x()) <= 1);
            }
        }
        // Both cards of a pair alike.
        QCOMPARE(game.Image1[w]->grab().toImage(), game.Image1[w + n]->grab().toImage());
        QCOMPARE(game.Image1[t]->grab().toImage(), game.Image1[t + n]->grab().toImage());
        // Play is untouched: two pairs found, the other cards still down.
        QCOMPARE(game.PairsFound, 2);
        QCOMPARE(game.Image1[w]->geometry(), game.Image2[w]->geometry());

        // Unticked again: back to the stretch, pixel for pixel.
        game.mnuShapes->trigger();
        QVERIFY(!Ticked(game));
        QCOMPARE(game.Image1[w]->grab().toImage(), stretched);
    }

    void choiceIsKeptInTheConfigFolderNotInInitTxt() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        const QByteArray init = folder.Read("init.txt");
        Form2& game = DealByHand(GeneratedPictures(folder, 4), 4);
        game.mnuShapes->trigger();
        // In the desktop's config folder (the test runner's own), not beside the program.
        const QString file = preferences::File();
        QVERIFY(file.startsWith(qEnvironmentVariable("XDG_CONFIG_HOME") + "/tavimo/"));
        QVERIFY(QFileInfo::exists(file));
        QVERIFY(preferences::KeepPictureShapes());
        QCOMPARE(folder.Read("init.txt"), init);

        // The next board starts ticked, and its faces keep their shapes.
        Forms::Discard<Form2>();
        Form2& next = DealByHand(GeneratedPictures(folder, 4), 4);
        QVERIFY(Ticked(next));
        for (int k = 0; k < next.CardCount; ++k) QVERIFY(next.Image1[k]->KeepShape());
        for (int k = 0; k < next.CardCount; ++k) QVERIFY(!next.Image2[k]->KeepShape());
    }

    void unreadableConfigMeansTheDesignedStretch() {
        // A damaged file or a value the game never writes is no reason to
        // fail or to tick: the default holds.
        QFileInfo(preferences::File()).dir().mkpath(".");
        for (const QByteArray& text :
             {QByteArray("[Board]\nKeepPictureShapes=perhaps\n"),
              QByteArray("[Board]\nKeepPictureShapes=\n"), QByteArray("\x01\x02[Board\n=\n")}) {
            QFile f(preferences::File());
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(text);
            f.close();
            QVERIFY2(!preferences::KeepPictureShapes(), text.constData());
        }
        preferences::SetKeepPictureShapes(true);
        QVERIFY(preferences::KeepPictureShapes());
    }
};
TAVIMO_TEST(PictureShapesTest);

// Real windows on a screen of this process's density; at one device pixel
// per pixel the same checks run once more in a child at QT_SCALE_FACTOR=2,
// which must be set before the application starts.
class DensityTest : public QObject {
    Q_OBJECT
private slots:
    void cardsBacksSplashAndTrophyFollowTheDensity() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        const QString big = Solid(folder, "big.bmp", QSize(1600, 1200), Red);
        Form2& game = DealByHand(QStringList{big} + GeneratedPictures(folder, 3), 4);
        const double dpr = game.devicePixelRatioF();
        const int scale = dpr > 1 ? 2 : 1;
        if (qEnvironmentVariableIsSet("TAVIMO_DENSE_CHILD")) QCOMPARE(dpr, 2.0);

        // The face's intermediate is the cap in device pixels (768 at 2x) ...
        const int k = CardOf(game, big);
        QVERIFY(k >= 0);
        QCOMPARE(game.Image1[k]->Picture().size(), QSize(384, 288) * scale);
        // ... and the card on screen is drawn at the screen's density.
        TurnUp(game, k);
        const QPixmap shown = game.Image1[k]->grab();
        QCOMPARE(shown.devicePixelRatio(), dpr);
        QCOMPARE(shown.size(), game.Image1[k]->size() * scale);
        // The generated back is decoded as large as the density asks: 384
        // of its 600 pixels at 1x, all of them at 2x.
        QCOMPARE(game.Image2[0]->Picture().width(), scale == 1 ? 384 : 600);
        Forms::Discard<Form2>();

        // The program's own art in the copy drawn for the density.
        frmSplash& splash = Forms::Get<frmSplash>();
        QCOMPARE(splash.imgLogo->pixmap().size(), QSize(160, 240) * scale);
        QCOMPARE(splash.Image1->pixmap().size(), QSize(160, 240) * scale);
        Form4& scores = Forms::Get<Form4>();
        const QPixmap trophy = scores.Image1->pixmap();
        QCOMPARE(trophy.size(), QSize(630, 460) * scale);
        QCOMPARE(trophy.devicePixelRatio(), static_cast<double>(scale));
        QCOMPARE(trophy.deviceIndependentSize(), QSizeF(630, 460));

        // The configuration window's preview is decoded for the density too.
        Form1& config = Forms::Get<Form1>();
        QVERIFY(config.PointDir1(QFileInfo(big).absolutePath()));
        Form1::SetValue(config.All_Check, 1);
        Form1::SetValue(config.View, 1);
        const QList<QListWidgetItem*> items = config.File1->findItems("big.bmp", Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        config.File1->setCurrentItem(items[0]);
        items[0]->setSelected(true);
        config.File1_Click();
        QTRY_VERIFY(config.Image1Picture);
        const QSize fit =
            QSize(1600, 1200).scaled(config.Image1->size() * scale, Qt::KeepAspectRatio);
        QVERIFY2(qAbs(config.Image1Picture->image.width() - fit.width()) <= 1 &&
                     qAbs(config.Image1Picture->image.height() - fit.height()) <= 1,
                 qPrintable(QString("%1x%2, fit %3x%4")
                                .arg(config.Image1Picture->image.width())
                                .arg(config.Image1Picture->image.height())
                                .arg(fit.width())
                                .arg(fit.height())));
        QCOMPARE(config.Image1->pixmap().devicePixelRatio(), dpr);

        if (dpr != 1 || qEnvironmentVariableIsSet("TAVIMO_DENSE_CHILD")) return;
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_SCALE_FACTOR", "2");
        env.insert("TAVIMO_DENSE_CHILD", "1");
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {"cardsBacksSplashAndTrophyFollowTheDensity"});
        QVERIFY(child.waitForFinished(120000));
        // Only this class's part of the child's report (the other classes
        // do not know the function).
        QString out = QString::fromLocal8Bit(child.readAll());
        out = out.mid(out.indexOf("Start testing of DensityTest"));
        out = out.left(out.indexOf("Finished testing of DensityTest"));
        QVERIFY2(out.contains("PASS   : DensityTest::cardsBacksSplashAndTrophyFollowTheDensity()"),
                 qPrintable(out));
        QVERIFY2(!out.contains("FAIL!  : DensityTest::"), qPrintable(out));
    }
};
TAVIMO_TEST(DensityTest);
#include "tst_PictureShapes.moc"
