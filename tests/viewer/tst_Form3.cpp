#include <QApplication>
#include <QFile>
#include <QImage>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

#include "TestSupport.h"
#include "WindowSupport.h"
#include "app/Module1.h"
#include "app/SettingsFile.h"
#include "board/Form2.h"
#include "config/Form1.h"
#include "pictures/PictureLoader.h"
#include "platform/Twips.h"
#include "viewer/Form3.h"

namespace {
// Records what the viewer asks the decoder for.
class RecordingLoader : public PictureLoader {
public:
    QStringList files;
    QList<QSize> maxSizes;
    QList<int> limits;
    std::optional<Picture> Load(const QString& path, QSize maxSize, int limitMB) override {
        files << path;
        maxSizes << maxSize;
        limits << limitMB;
        return PictureLoader::Load(path, maxSize, limitMB);
    }
};

QString WritePicture(const ProgramFolder& folder, const QString& name, int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::darkCyan);
    const QString path = folder.File(name);
    img.save(path);
    return path;
}

// A loaded game window (placed by its own load step from the record) whose
// first two card faces hold a reduced copy of `file`.
Form2& GameWithCard(const QString& file, int copyWidth, int copyHeight) {
    Form2& game = Forms::Get<Form1>().Game();
    // The card is made by hand: no deal may come from the first clock tick,
    // however slowly the test runs.
    game.Timer1->stop();
    QImage copy(copyWidth, copyHeight, QImage::Format_RGB32);
    copy.fill(Qt::red);
    for (int k = 0; k < 2; ++k) game.Face(k)->SetPicture(copy, file);
    return game;
}

void DefaultGeometry() {
    Module1.WindowLeft = 1500;
    Module1.WindowTop = 1200;
    Module1.WindowWidth = 9550;
    Module1.WindowHeight = 6750;
}

// A wheel turn over `w` as the window system delivers it: spontaneous, so
// it travels up to the parents when `w` does not take it.
void Wheel(QWidget* w, QPoint angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QWheelEvent event(at, w->mapToGlobal(at), QPoint(), angle, Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::instance()->notify(w, &event);
}

// The viewer as the game window opens it on a card, its decoding done.
void OpenFromGame(int card, const QString& caption) {
    Forms::IfLoaded<Form2>()->ViewCard(card, caption);
    QTRY_VERIFY(!Forms::IfLoaded<Form3>()->Decoding());
}

// The viewer as the configuration window opens it on its preview.
Form3& OpenFromPreview(Form1& config, const QString& name) {
    config.SelectedFile = name;
    config.Image1_Click();
    return *Forms::IfLoaded<Form3>();
}
}  // namespace

class Form3Test : public QObject {
    Q_OBJECT
private slots:
    void opensTheCardsFileAtNaturalSize() {
        ProgramFolder folder;
        DefaultGeometry();
        auto* loader = new RecordingLoader;
        platform().pictures.reset(loader);
        const QString file = WritePicture(folder, "big.bmp", 800, 600);
        GameWithCard(file, 80, 60);
        // Only the viewer's own decoding counts (the game window and the
        // splash load their card back and pictures when they are built).
        loader->files.clear();
        loader->maxSizes.clear();
        loader->limits.clear();
        OpenFromGame(0, file);
        Form3& v = *Forms::IfLoaded<Form3>();

        QCOMPARE(v.windowTitle(), file);
        QVERIFY(v.FromFile);
        QCOMPARE(v.Picture1->pixmap().size(), QSize(800, 600));
        QCOMPARE(v.Picture1->size(), QSize(800, 600));
        // Decoded whole, with the viewer's higher cap.
        QCOMPARE(loader->files, QStringList{file});
        QVERIFY(!loader->maxSizes[0].isValid());
        QCOMPARE(loader->limits[0], Form3::DecodeLimitMB);
        QVERIFY(Form3::DecodeLimitMB > PictureLoader::DefaultAllocationLimitMB);
        // Over the game window's rectangle.
        QCOMPARE(v.pos(), QPoint(100, 80));
        QCOMPARE(v.width(), twips::ToPixels(9550));
        // 12000 x 9000 twips: both bars, the picture 25 in and 30 down.
        QCOMPARE(v.Layout.fit, viewer::Fit::TallerAndWider);
        QVERIFY(v.VScroll1->isVisibleTo(&v) && v.HScroll1->isVisibleTo(&v));
        QCOMPARE(v.VScroll1->maximum(), 3250);
        QCOMPARE(v.HScroll1->maximum(), 3020);
        QCOMPARE(v.VScroll1->pageStep(), 450);
        QCOMPARE(v.HScroll1->singleStep(), 24);
        QCOMPARE(v.Picture1->pos(), QPoint(twips::ToPixels(25), twips::ToPixels(30)));
        QVERIFY(v.Picture2->isVisibleTo(&v));
        QVERIFY(!v.Image1->isVisibleTo(&v));
        QCOMPARE(v.Command2->text(), QString("Fit to screen"));
    }

    void scrollingByAThousandAndBack() {
        ProgramFolder folder;
        DefaultGeometry();
        GameWithCard(WritePicture(folder, "big.bmp", 800, 600), 80, 60);
        OpenFromGame(1, "big.bmp");
        Form3& v = *Forms::IfLoaded<Form3>();
        const QPoint start = v.Picture1->pos();
        v.VScroll1->setValue(1000);
        QCOMPARE(v.PictureTop, 30.0 - 1000);
        QCOMPARE(v.Picture1->y(), twips::ToPixels(30 - 1000));
        v.HScroll1->setValue(1000);
        QCOMPARE(v.PictureLeft, 25.0 - 1000);
        QCOMPARE(v.LastHValue, 1000);
        v.VScroll1->setValue(0);
        v.HScroll1->setValue(0);
        QCOMPARE(v.PictureTop, 30.0);
        QCOMPARE(v.PictureLeft, 25.0);
        QCOMPARE(v.Picture1->pos(), start);
    }

    // Arrows by the small step, pages by the large one, Home and End to the
    // ends, even with a button holding the focus; nothing in the fitted view.
    void keysScrollThePicture() {
        ProgramFolder folder;
        DefaultGeometry();
        GameWithCard(WritePicture(folder, "big.bmp", 800, 600), 80, 60);
        OpenFromGame(0, "big.bmp");
        Form3& v = *Forms::IfLoaded<Form3>();
        v.Command1->setFocus();
        const int vSmall = v.VScroll1->singleStep(), hSmall = v.HScroll1->singleStep();
        QTest::keyClick(v.Command1, Qt::Key_Down);
        QTest::keyClick(v.Command1, Qt::Key_Down);
        QTest::keyClick(v.Command1, Qt::Key_Up);
        QCOMPARE(v.VScroll1->value(), vSmall);
        QCOMPARE(v.PictureTop, 30.0 - vSmall);
        QCOMPARE(v.Picture1->y(), twips::ToPixels(30 - vSmall));
        QCOMPARE(v.focusWidget(), static_cast<QWidget*>(v.Command1));  // the focus stayed
        QTest::keyClick(v.Command1, Qt::Key_Left);
        QCOMPARE(v.HScroll1->value(), 0);
        QTest::keyClick(v.Command1, Qt::Key_Right);
        QCOMPARE(v.HScroll1->value(), hSmall);
        QCOMPARE(v.PictureLeft, 25.0 - hSmall);
        QTest::keyClick(&v, Qt::Key_PageDown);
        QCOMPARE(v.VScroll1->value(), vSmall + v.VScroll1->pageStep());
        QTest::keyClick(&v, Qt::Key_End);
        QCOMPARE(v.VScroll1->value(), v.VScroll1->maximum());
        QCOMPARE(v.PictureTop, 30.0 - v.VScroll1->maximum());
        QTest::keyClick(&v, Qt::Key_PageUp);
        QCOMPARE(v.VScroll1->value(), v.VScroll1->maximum() - v.VScroll1->pageStep());
        QTest::keyClick(&v, Qt::Key_Home);
        QCOMPARE(v.VScroll1->value(), 0);
        QCOMPARE(v.PictureTop, 30.0);

        v.Command2->click();  // "Fit to screen"
        QTest::keyClick(v.Command2, Qt::Key_Down);
        QTest::keyClick(v.Command2, Qt::Key_End);
        QCOMPARE(v.VScroll1->value(), 0);
        QVERIFY(Forms::IfLoaded<Form3>());
    }

    // A picture wider than the window only: Page and End go sideways.
    void keysOnAWidePictureGoSideways() {
        ProgramFolder folder;
        DefaultGeometry();
        GameWithCard(WritePicture(folder, "wide.bmp", 1600, 100), 80, 5);
        OpenFromGame(0, "wide.bmp");
        Form3& v = *Forms::IfLoaded<Form3>();
        QCOMPARE(v.Layout.fit, viewer::Fit::WiderOnly);
        QTest::keyClick(&v, Qt::Key_End);
        QCOMPARE(v.HScroll1->value(), v.HScroll1->maximum());
        QTest::keyClick(&v, Qt::Key_PageUp);
        QCOMPARE(v.HScroll1->value(), v.HScroll1->maximum() - v.HScroll1->pageStep());
        QCOMPARE(v.VScroll1->value(), 0);
    }

    void wheelOverThePictureScrolls() {
        ProgramFolder folder;
        DefaultGeometry();
        GameWithCard(WritePicture(folder, "big.bmp", 800, 600), 80, 60);
        OpenFromGame(0, "big.bmp");
        Form3& v = *Forms::IfLoaded<Form3>();
        const int lines = QApplication::wheelScrollLines();
        const int vNotch = std::min(lines * v.VScroll1->singleStep(), v.VScroll1->pageStep());
        const int hNotch = std::min(lines * v.HScroll1->singleStep(), v.HScroll1->pageStep());
        Wheel(v.Picture1, QPoint(0, -120));  // one notch towards the player: down
        QCOMPARE(v.VScroll1->value(), vNotch);
        QCOMPARE(v.PictureTop, 30.0 - vNotch);
        // Half notches (a touchpad) add up to one.
        Wheel(v.Picture1, QPoint(0, -60));
        QCOMPARE(v.VScroll1->value(), vNotch);
        Wheel(v.Picture1, QPoint(0, -60));
        QCOMPARE(v.VScroll1->value(), 2 * vNotch);
        Wheel(v.Picture2, QPoint(0, 240));
        QCOMPARE(v.VScroll1->value(), 0);
        // Shift turns it sideways; a tilting wheel goes sideways by itself.
        Wheel(v.Picture1, QPoint(0, -120), Qt::ShiftModifier);
        QCOMPARE(v.VScroll1->value(), 0);
        QCOMPARE(v.HScroll1->value(), hNotch);
        QCOMPARE(v.PictureLeft, 25.0 - hNotch);
        Wheel(v.Picture1, QPoint(-120, 0));
        QCOMPARE(v.HScroll1->value(), 2 * hNotch);
    }

    // A larger window: a larger viewport, the bars and the button bar at
    // its edges, the picture where it was scrolled to.
    void resizingEnlargesTheViewport() {
        ProgramFolder folder;
        DefaultGeometry();
        GameWithCard(WritePicture(folder, "big.bmp", 1200, 900), 80, 60);
        OpenFromGame(0, "big.bmp");
        Form3& v = *Forms::IfLoaded<Form3>();
        v.VScroll1->setValue(500);
        v.HScroll1->setValue(300);
        const QSize before = v.Picture2->size();
        v.resize(v.width() + 200, v.height() + 100);
        QCOMPARE(v.Picture2->width(), before.width() + 200);
        QCOMPARE(v.Picture2->height(), before.height() + 100);
        // The game window's 9550 x 6750 twips, grown by what the window grew.
        const double w = 9550 + twips::FromPixels(200), h = 6750 + twips::FromPixels(100);
        QCOMPARE(v.Picture3->geometry(), twips::ToPixelRect(-80, h - 600, w + 100, 255));
        QCOMPARE(v.HScroll1->geometry().bottom() + 1,
                 twips::ToPixels(h - 800 - 30) + twips::ToPixels(255));
        QCOMPARE(v.VScroll1->height(), twips::ToPixels(h - 800 + 200));
        QCOMPARE(v.VScroll1->value(), 500);
        QCOMPARE(v.HScroll1->value(), 300);
        QCOMPARE(v.PictureTop, 30.0 - 500);
        QCOMPARE(v.Picture1->pos(), QPoint(twips::ToPixels(25 - 300), twips::ToPixels(30 - 500)));
        // Scrolling on from there moves from there.
        QTest::keyClick(&v, Qt::Key_Home);
        QCOMPARE(v.PictureTop, 30.0);

        // The fitted view grows too and keeps its bars hidden.
        v.Command2->click();
        const QSize fitted = v.Image1->size();
        v.resize(v.width() + 200, v.height() + 200);
        QVERIFY(v.Image1->width() > fitted.width() || v.Image1->height() > fitted.height());
        QVERIFY(v.Image1->isVisibleTo(&v));
        QVERIFY(!v.VScroll1->isVisibleTo(&v));
        v.Command2->click();
        QVERIFY(v.VScroll1->isVisibleTo(&v) && v.HScroll1->isVisibleTo(&v));
    }

    void hugePictureScrollsToItsEdge() {
        ProgramFolder folder;
        DefaultGeometry();
        // 3000 x 2400 pixels: 45000 x 36000 twips, past a 16-bit bar in twips.
        GameWithCard(WritePicture(folder, "huge.bmp", 3000, 2400), 30, 24);
        OpenFromGame(0, "huge.bmp");
        Form3& v = *Forms::IfLoaded<Form3>();
        QVERIFY(v.HScroll1->maximum() <= viewer::MaxValue);
        QVERIFY(v.VScroll1->maximum() <= viewer::MaxValue);
        QVERIFY(v.VScroll1->singleStep() >= 1);
        v.HScroll1->setValue(v.HScroll1->maximum());
        v.VScroll1->setValue(v.VScroll1->maximum());
        // The picture's right and bottom edges come into the viewport.
        const double rightEdge = v.PictureLeft + 45000;
        const double bottomEdge = v.PictureTop + 36000;
        QVERIFY(rightEdge <= v.Layout.viewport.width);
        QVERIFY(rightEdge > v.Layout.viewport.width - 400);
        QVERIFY(bottomEdge <= v.Layout.viewport.height);
        QVERIFY(bottomEdge > v.Layout.viewport.height - 400);
    }

    void fallsBackToTheCardsCopy() {
        ProgramFolder folder;
        DefaultGeometry();
        GameWithCard(folder.File("gone.jpg"), 100, 80);
        OpenFromGame(0, folder.File("gone.jpg"));
        Form3& v = *Forms::IfLoaded<Form3>();
        QVERIFY(!v.FromFile);
        QCOMPARE(v.Picture1->pixmap().size(), QSize(100, 80));
        QCOMPARE(v.Layout.fit, viewer::Fit::Neither);
        QVERIFY(!v.VScroll1->isVisibleTo(&v));
        QVERIFY(!v.HScroll1->isVisibleTo(&v));
    }

    void cardWithoutFileUsesTheCaptionsFile() {
        ProgramFolder folder;
        DefaultGeometry();
        const QString file = WritePicture(folder, "wide.bmp", 800, 200);
        GameWithCard(QString(), 40, 10);
        OpenFromGame(0, file);
        Form3& v = *Forms::IfLoaded<Form3>();
        QVERIFY(v.FromFile);
        QCOMPARE(v.Layout.fit, viewer::Fit::WiderOnly);
    }

    void fitToScreenAndBackRestoresTheBars() {
        ProgramFolder folder;
        DefaultGeometry();
        // 12000 x 3000 twips: only the horizontal bar.
        GameWithCard(WritePicture(folder, "wide.bmp", 800, 200), 80, 20);
        OpenFromGame(0, "wide.bmp");
        Form3& v = *Forms::IfLoaded<Form3>();
        QVERIFY(!v.VScroll1->isVisibleTo(&v));
        QVERIFY(v.HScroll1->isVisibleTo(&v));
        v.HScroll1->setValue(500);
        const QPoint scrolled = v.Picture1->pos();

        v.Command2->click();
        QCOMPARE(v.Command2->text(), QString("Normal size"));
        QVERIFY(v.Image1->isVisibleTo(&v));
        QVERIFY(!v.Picture2->isVisibleTo(&v));
        QVERIFY(!v.HScroll1->isVisibleTo(&v));
        QVERIFY(!v.VScroll1->isVisibleTo(&v));
        // Landscape: as wide as the viewport + 150, undistorted.
        QCOMPARE(v.Image1->width(), twips::ToPixels(9180 + 150));
        QCOMPARE(v.Image1->pixmap().size(), v.Image1->size());

        v.Command2->click();
        QCOMPARE(v.Command2->text(), QString("Fit to screen"));
        QVERIFY(!v.Image1->isVisibleTo(&v));
        QVERIFY(v.Picture2->isVisibleTo(&v));
        QVERIFY(v.HScroll1->isVisibleTo(&v));
        QVERIFY(!v.VScroll1->isVisibleTo(&v));
        QCOMPARE(v.Picture1->pos(), scrolled);
        QCOMPARE(v.HScroll1->value(), 500);
    }

    void portraitFitsTheHeight() {
        ProgramFolder folder;
        DefaultGeometry();
        GameWithCard(WritePicture(folder, "tall.bmp", 100, 200), 10, 20);
        OpenFromGame(0, "tall.bmp");
        Form3& v = *Forms::IfLoaded<Form3>();
        v.Command2_Click();
        QCOMPARE(v.Image1->height(), twips::ToPixels(5950 + 150));
        QVERIFY(v.Image1->width() < v.Picture2->width());
        QCOMPARE(v.Image1->width(), twips::ToPixels(3050));
    }

    void closingReturnsToTheGameOnly() {
        ProgramFolder folder;
        DefaultGeometry();
        Form1& config = Forms::Get<Form1>();
        config.hide();
        Form2& game = GameWithCard(WritePicture(folder, "a.bmp", 64, 64), 64, 64);
        // The game window stays shown under the viewer, taking no clicks.
        game.show();
        game.setEnabled(false);
        OpenFromGame(0, "a.bmp");
        Forms::IfLoaded<Form3>()->Command1->click();
        FlushDeletes();
        QVERIFY(!Forms::IfLoaded<Form3>());
        QVERIFY(game.isVisible());
        QVERIFY(game.isEnabled());
        QVERIFY(!config.isVisible());
    }

    void returnAndEscapeCloseBackToTheGame() {
        ProgramFolder folder;
        DefaultGeometry();
        Form2& game = GameWithCard(WritePicture(folder, "a.bmp", 64, 64), 64, 64);
        // Return where the viewer puts the focus: it closes.
        game.show();
        game.setEnabled(false);
        OpenFromGame(0, "a.bmp");
        QWidget* focus = Forms::IfLoaded<Form3>()->focusWidget();
        QVERIFY(focus);
        QTest::keyClick(focus, Qt::Key_Return);
        FlushDeletes();
        QVERIFY(!Forms::IfLoaded<Form3>());
        QVERIFY(game.isEnabled());
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            game.setEnabled(false);
            OpenFromGame(0, "a.bmp");
            Form3& v = *Forms::IfLoaded<Form3>();
            // "Fit to screen" has the focus: Return presses it, Escape closes.
            v.Command2->setFocus();
            QTest::keyClick(v.Command2, key);
            if (key == Qt::Key_Return) {
                QCOMPARE(v.Command2->text(), QString("Normal size"));
                v.Command1->setFocus();
                QTest::keyClick(v.Command1, key);
            }
            FlushDeletes();
            QVERIFY(!Forms::IfLoaded<Form3>());
            QVERIFY(game.isVisible());
            QVERIFY(game.isEnabled());
        }
    }

    void closingReturnsToTheConfigurationOnly() {
        ProgramFolder folder;
        DefaultGeometry();
        Form1& config = Forms::Get<Form1>();
        config.hide();
        Form2& game = GameWithCard(WritePicture(folder, "a.bmp", 64, 64), 64, 64);
        game.hide();
        config.Image1Picture = Picture{QImage(), folder.File("a.bmp"), QSize(64, 64)};
        Form3& v = OpenFromPreview(config, "a.bmp");
        QVERIFY(v.isVisible());
        QCOMPARE(v.windowTitle(), QString("a.bmp"));
        v.close();  // the close box unloads as well
        FlushDeletes();
        QVERIFY(!Forms::IfLoaded<Form3>());
        QVERIFY(config.isVisible());
        QVERIFY(!game.isVisible());
    }

    void previewOpensAtNaturalSize() {
        ProgramFolder folder;
        DefaultGeometry();
        const QString file = WritePicture(folder, "photo.bmp", 900, 300);
        Form1& config = Forms::Get<Form1>();
        QImage copy(100, 33, QImage::Format_RGB32);
        copy.fill(Qt::green);
        config.Image1Picture = Picture{copy, file, QSize(900, 300)};
        Form3& v = OpenFromPreview(config, "photo.bmp");
        // The preview's own copy at once, the file at natural size when decoded.
        QCOMPARE(v.Picture1->size(), QSize(100, 33));
        QVERIFY(v.Decoding());
        QTRY_VERIFY(v.FromFile);
        QCOMPARE(v.Picture1->size(), QSize(900, 300));
        QCOMPARE(v.Layout.fit, viewer::Fit::WiderOnly);
        Forms::Unload(&v);
        FlushDeletes();
        // The file gone: the preview's own copy.
        QFile::remove(file);
        Form3& again = OpenFromPreview(config, "photo.bmp");
        QTRY_VERIFY(!again.Decoding());
        QVERIFY(!again.FromFile);
        QCOMPARE(again.Picture1->size(), QSize(100, 33));
    }

    void finishedBoardShowsEachCardsOwnPicture() {
        ProgramFolder folder(ProgramFolder::Sound);
        settings::WriteDefault(folder.File(settings::FileName));
        settings::Read(folder.File(settings::FileName), Module1);
        Module1.AspectRatio = 9550.0 / 6750.0;
        QStringList chosen;
        for (int i = 0; i < 4; ++i)
            chosen << WritePicture(folder, QString("p%1.bmp").arg(i), 1000 + 10 * i, 700);
        Form2& game = DealByHand(chosen, 4);
        QCOMPARE(game.PairCount, 4);
        for (int k = 0; k < game.PairCount; ++k) {
            game.Image2_Click(k);
            game.Image2_Click(k + game.PairCount);
        }
        for (int k : {1, game.PairCount + 2}) {
            game.Image1[k]->show();
            game.Image1_Click(k);
            Form3* v = Forms::IfLoaded<Form3>();
            QVERIFY(v);
            const int entry = k % game.PairCount;
            QCOMPARE(v->windowTitle(), chosen[entry]);
            QTRY_VERIFY(v->FromFile);
            QCOMPARE(v->Picture1->size(), QSize(1000 + 10 * entry, 700));
            // Over the board, which stays and takes no clicks meanwhile.
            QVERIFY(game.isVisible());
            QVERIFY(!game.isEnabled());
            QCOMPARE(v->windowHandle()->transientParent(), game.windowHandle());
            v->Command1_Click();
            FlushDeletes();
            QVERIFY(game.isVisible());
            QVERIFY(game.isEnabled());
        }
    }

    void everyOpeningStartsAfresh() {
        ProgramFolder folder;
        DefaultGeometry();
        GameWithCard(WritePicture(folder, "big.bmp", 800, 600), 80, 60);
        OpenFromGame(0, "big.bmp");
        Form3* first = Forms::IfLoaded<Form3>();
        first->VScroll1->setValue(700);
        first->Command2_Click();
        first->Command1_Click();
        FlushDeletes();
        OpenFromGame(0, "big.bmp");
        Form3& v = *Forms::IfLoaded<Form3>();
        QCOMPARE(v.VScroll1->value(), 0);
        QCOMPARE(v.LastVValue, 0);
        QCOMPARE(v.PictureTop, 30.0);
        QCOMPARE(v.Command2->text(), QString("Fit to screen"));
    }
};
TAVIMO_TEST(Form3Test);

#include "tst_Form3.moc"
