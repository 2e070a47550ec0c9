#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QScreen>
#include <QTest>
#include <chrono>
#include <future>
#include <set>

#include "TestSupport.h"
#include "app/Module1.h"
#include "app/SettingsFile.h"
#include "board/CardWidget.h"
#include "board/Form2.h"
#include "board/frmSplash.h"
#include "config/Form1.h"
#include "pictures/PictureLoader.h"
#include "platform/FileSystem.h"
#include "platform/Twips.h"
#include "play/PauseLabel.h"

namespace {
// The configuration as the OK action leaves it: a board size and the chosen files.
Form1& Configure(int boardSize, const QStringList& chosen) {
    Form1& config = Forms::Get<Form1>();
    config.Combo1->setEditText(QString::number(boardSize));
    config.ChosenPictures = chosen;
    return config;
}

// Records, after every picture handed over, the splash's message and bar.
class RecordingLoader : public PictureLoader {
public:
    QStringList messages;
    QList<int> values;
    QList<QSize> sizes;
    QList<int> batches;
    void LoadMany(const QStringList& paths, QSize maxSize,
                  const std::function<bool(int, std::optional<Picture>)>& consume,
                  const std::function<void(int)>& progress) override {
        sizes << maxSize;
        batches << int(paths.size());
        PictureLoader::LoadMany(
            paths, maxSize,
            [&](int i, std::optional<Picture> p) {
                const bool more = consume(i, std::move(p));
                if (frmSplash* s = Forms::IfLoaded<frmSplash>()) {
                    messages << s->Label2->text();
                    values << s->ProgressBar1->value();
                }
                return more;
            },
            progress);
    }
};

// Holds one file's decode back until released, as a large file keeps its
// worker busy while the others finish.
class HoldingLoader : public PictureLoader {
public:
    QString held;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::optional<Picture> Load(const QString& path, QSize maxSize, int limit) override {
        // Given up on after a while, so a splash that never moves fails
        // the test instead of hanging it.
        if (path == held) released.wait_for(std::chrono::seconds(10));
        return PictureLoader::Load(path, maxSize, limit);
    }
};

// The first clock tick's deal (the latch set first, as the tick does).
void Deal(Form2& game) {
    game.Play.TakeDeal();
    game.DealBoard();
}

// Sends one key event to the widget with the keyboard focus, the way X11
// delivers it: with the server's timestamp and Qt's auto-repeat mark.
void X11Key(QWidget* target, QEvent::Type type, Qt::Key key, bool autoRepeat, ulong time) {
    const QString text = key == Qt::Key_Minus ? "-" : key == Qt::Key_Equal ? "=" : QString();
    QKeyEvent e(type, key, Qt::NoModifier, 0, 0, 0, text, autoRepeat);
    e.setTimestamp(time);
    QApplication::sendEvent(target, &e);
}

// A key held down for `repeats` repeats: the press, then release/press
// pairs with one timestamp each, every press a moment after its release
// (the next read from the server), then the real release. `marked` is
// whether Qt saw the pair together and marked it auto-repeat. Returns the
// window heights seen while the key was down.
QList<int> HoldKey(Form2& game, Qt::Key key, int repeats, bool marked) {
    QWidget* target = game.Picture1;
    QList<int> heights;
    ulong t = 5000;
    X11Key(target, QEvent::KeyPress, key, false, t);
    for (int i = 0; i < repeats; ++i) {
        t += 40;
        X11Key(target, QEvent::KeyRelease, key, marked, t);
        // The loop runs between the two, as it does between two reads from
        // the server; a timed wait here could outlast the release grace on a
        // loaded machine and let the release through as a real one.
        QCoreApplication::processEvents();
        X11Key(target, QEvent::KeyPress, key, marked, t);
        heights << game.geometry().height();
    }
    X11Key(target, QEvent::KeyRelease, key, false, t + 300);
    return heights;
}
// Lets the pending key-up through: its timer, however late a slow
// (sanitized, loaded) run lets it fire.
void LetGo(Form2& game) {
    QTest::qWait(KeyRepeatFilter::ReleaseGraceMs + 30);
    for (int i = 0; i < 500 && game.KeyFilter.Pending(); ++i) QTest::qWait(10);
}

// Cards whose face shows (face up).
std::set<int> FaceUp(const Form2& game) {
    std::set<int> up;
    for (int k = 0; k < game.CardCount; ++k)
        if (!game.Image1[k]->isHidden()) up.insert(k);
    return up;
}
}  // namespace

class Form2Test : public QObject {
    Q_OBJECT
private slots:
    void loadStepTakesPairsFromTheChoiceAndTheBoardSize() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Configure(8, GeneratedPictures(folder, 30));
        Form2& game = Forms::Get<Form1>().Game();
        QCOMPARE(game.PairCount, 8);
        QCOMPARE(game.CardCount, 16);
        QCOMPARE(Forms::Get<frmSplash>().ProgressBar1->maximum(), 8);
        QCOMPARE(Forms::Get<frmSplash>().Label2->text(), QString("Loading Pictures:  0"));
        QCOMPARE(game.DealDone, 0);
        QCOMPARE(game.Score, 100.0);
        QVERIFY(game.isHidden());
        Forms::DiscardAll();

        Configure(40, GeneratedPictures(folder, 25));
        QCOMPARE(Forms::Get<Form1>().Game().PairCount, 25);
    }

    void menusFollowTheSettings() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Form1& config = Configure(8, GeneratedPictures(folder, 16));
        config.Combo1->clear();
        config.Combo1->addItems({"4", "8", "12", "16", "20", "30", "40"});
        config.Combo1->setEditText("8");
        Module1.SpeedSetting = 2;
        Module1.SoundOn = 0;
        Module1.SaveOnExit = 1;
        Form2& game = Forms::Get<Form1>().Game();
        QVERIFY(game.mnuMdm->isChecked());
        QVERIFY(!game.mnuSlow->isChecked() && !game.mnuFast->isChecked());
        QCOMPARE(Module1.FlipDelay, 1.0);
        QVERIFY(!game.mnuSnd->isChecked());
        QVERIFY(game.mnusave->isChecked());
        QCOMPARE(game.mnuCurrent->text(), QString(" 8x2"));
        QStringList captions;
        for (QAction* a : game.mnuSize) captions << a->text();
        QCOMPARE(captions, QStringList({" 4x2", " 8x2", "12x2", "16x2", "20x2", "30x2", "40x2"}));
        QCOMPARE(game.mnuNew->shortcut(), QKeySequence(Qt::Key_F5));
        QCOMPARE(game.mnuExit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));
        QCOMPARE(game.mnuInst->shortcut(), QKeySequence(Qt::Key_F1));
        QCOMPARE(game.mnuScreen.size(), 6);
        QCOMPARE(game.mnuScreen[5]->text(), QString("1280 by 1024"));
        QCOMPARE(game.mnuMan->text(), QString("Manual: - + "));
        // Sound device opened on the match sound.
        QCOMPARE(game.MMControl1->FileName, folder.Path() + "/Sound/Match.wav");
        QCOMPARE(game.MMControl1->DeviceType, QString("WaveAudio"));
        Forms::DiscardAll();

        Module1.SpeedSetting = 3;
        Forms::Get<Form1>().ChosenPictures = GeneratedPictures(folder, 16);
        QVERIFY(Forms::Get<Form1>().Game().mnuFast->isChecked());
        QCOMPARE(Module1.FlipDelay, 0.5);
    }

    void dealKeepsItsInvariants() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Configure(12, GeneratedPictures(folder, 20));
        Form2& game = Forms::Get<Form1>().Game();
        Deal(game);
        QCOMPARE(game.PairCount, 12);
        QCOMPARE(game.CardCount, 24);
        QCOMPARE(game.ParTime, 48);
        QVERIFY(game.isVisible());
        QVERIFY(!Forms::IfLoaded<frmSplash>());
        QCOMPARE(game.mnuCurrent->text(), QString("12x2"));
        QCOMPARE(Forms::Get<Form1>().Combo1->currentText(), QString("12"));
        // Cards k and k + N share one decoded picture; backs share back 0's.
        for (int k = 0; k < 12; ++k) {
            QVERIFY(game.Image1[k]->HasPicture());
            QCOMPARE(game.Image1[k]->Picture().cacheKey(),
                     game.Image1[k + 12]->Picture().cacheKey());
            QVERIFY(game.Image1[k]->File() != game.Image1[(k + 1) % 12]->File());
        }
        for (int k = 0; k < 24; ++k) {
            QCOMPARE(game.Image2[k]->Picture().cacheKey(), game.Image2[0]->Picture().cacheKey());
            QVERIFY(game.Image1[k]->isHidden());
            QVERIFY(game.Image2[k]->isVisible());
        }
        QVERIFY(game.Image2[0]->HasPicture());  // Sky.jpg
        // Every slot holds one card; SlotX positive again.
        QCOMPARE(std::set<int>(game.CardSlot.begin(), game.CardSlot.end()).size(), size_t(24));
        for (int s = 0; s < 24; ++s) QVERIFY(game.Grid.SlotX[s] > 0);
        // The decoding is asked for the intermediate size, not the natural one.
        for (const CardWidget* face : game.Image1)
            QVERIFY(face->Picture().width() <= board::IntermediateSize);
    }

    void disabledBoardKeepsItsCardsAsTheyAre() {
        QWidget board;
        board.resize(200, 200);
        auto* card = new CardWidget(&board);
        card->setGeometry(10, 10, 80, 100);
        QImage red(40, 50, QImage::Format_RGB32);
        red.fill(QColor(200, 30, 30));
        card->SetPicture(red);
        board.show();
        const QImage enabled = card->grab().toImage();
        board.setEnabled(false);
        const QImage disabled = card->grab().toImage();
        QCOMPARE(disabled, enabled);
        QCOMPARE(enabled.pixelColor(40, 50), QColor(200, 30, 30));
    }

    void splashCountsPicturesAsTheyDecodeWhileTheFirstIsStillLoading() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        auto* loader = new HoldingLoader;
        platform().pictures.reset(loader);
        const QStringList chosen = GeneratedPictures(folder, 4);
        loader->held = chosen[0];
        Configure(4, chosen);
        frmSplash& splash = Forms::Get<frmSplash>();
        QList<int> whileHeld;
        bool holding = true;
        QObject guard;
        connect(splash.ProgressBar1, &QProgressBar::valueChanged, &guard, [&](int value) {
            if (!holding) return;
            whileHeld << value;
            if (value == 3) {
                holding = false;
                loader->release.set_value();
            }
        });
        Form2& game = Forms::Get<Form1>().Game();
        Deal(game);
        // The other three were counted before the first one arrived.
        QVERIFY(!whileHeld.isEmpty());
        QCOMPARE(whileHeld.last(), 3);
        QCOMPARE(game.PairCount, 4);
        // The cards still hold the pictures in list order.
        for (int i = 0; i < 4; ++i) QCOMPARE(game.Image1[i]->File(), chosen[i]);
    }

    void failedFilesDropOutWithoutAdvancingTheCount() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        auto* loader = new RecordingLoader;
        platform().pictures.reset(loader);
        QStringList chosen = GeneratedPictures(folder, 6);
        folder.Write("empty.jpg", QByteArray());           // decodes to nothing
        folder.Write("text.jpg", "not a picture at all");  // unreadable
        chosen.insert(1, folder.File("empty.jpg"));
        chosen.insert(3, folder.File("missing.jpg"));
        chosen.insert(4, folder.File("text.jpg"));
        Form1& config = Configure(4, chosen);
        Form2& game = Forms::Get<Form1>().Game();
        Deal(game);
        // Decoded at the intermediate size, and only as many files at a
        // time as pairs were missing: 4, then 2 after two failures, then 1.
        QCOMPARE(loader->sizes, QList<QSize>(3, QSize(384, 384)));
        QCOMPARE(loader->batches, QList<int>({4, 2, 1}));
        // Four pictures loaded; the failures did not move the count. The
        // count follows the decodes, so within a batch it may run ahead of
        // the file handed over, but at the end of each batch it is the
        // number of pictures loaded: 2 of the first 4 files, 1 of the next
        // 2, then the last.
        QCOMPARE(loader->values.size(), 7);
        for (int i = 0; i < loader->values.size(); ++i) {
            QCOMPARE(loader->messages[i],
                     "Loading Pictures:  " + QString::number(loader->values[i]));
            if (i > 0) QVERIFY(loader->values[i] >= loader->values[i - 1]);
        }
        QCOMPARE(loader->values[3], 2);
        QCOMPARE(loader->values[5], 3);
        QCOMPARE(loader->values[6], 4);
        QCOMPARE(game.PairCount, 4);
        // The failed files are gone from the chosen list; the spares remain.
        QCOMPARE(config.ChosenPictures.size(), 6);
        for (const QString& f : config.ChosenPictures) QVERIFY(!f.endsWith("empty.jpg"));
        QCOMPARE(game.Image1[1]->File(), chosen[2]);
    }

    // More failures than spares: fewer than 4 pairs, the message, the
    // configuration shown, and no card element created twice.
    void tooFewPicturesLoaded() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Doubles d = InstallDoubles();
        QStringList chosen = GeneratedPictures(folder, 3);
        chosen << folder.File("gone1.jpg") << folder.File("gone2.jpg");
        Form1& config = Configure(4, chosen);
        Form2& game = Forms::Get<Form1>().Game();
        Deal(game);
        QCOMPARE(game.PairCount, 3);
        QCOMPARE(game.CardCount, 6);
        QCOMPARE(int(d.dialogs->shown.size()), 1);
        QCOMPARE(d.dialogs->shown[0].text, QString("Not enough pictures"));
        QCOMPARE(d.dialogs->shown[0].title, QString("Tavimo"));
        QVERIFY(config.isVisible());
        QVERIFY(game.isVisible());
        QCOMPARE(game.Image1.size(), 6);
        QCOMPARE(game.Image2.size(), 6);
        // No grid, no shuffle: every card hidden.
        for (int k = 0; k < 6; ++k) QVERIFY(game.Image2[k]->isHidden());
    }

    // A game window that comes up without enough pictures (the configuration
    // closed before any board was dealt) leaves the player's board size in the
    // box: a box set to 0 would make every later OK fail.
    void undealtWindowKeepsTheBoardSize() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        InstallDoubles();
        Form1& config = Configure(12, GeneratedPictures(folder, 2));
        config.hide();
        Form2& game = Forms::Get<Form1>().Game();
        Deal(game);
        QVERIFY(game.PairCount < 4);
        QCOMPARE(config.Combo1->currentText(), QString("12"));
    }

    void splashCoversTheGameWindow() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Module1.WindowLeft = 500;
        Module1.WindowTop = 400;
        Module1.WindowWidth = 12000;
        Module1.WindowHeight = 9000;
        frmSplash& splash = Forms::Get<frmSplash>();
        QCOMPARE(splash.geometry(), twips::ToPixelRect(500, 400, 12000, 9000));
        QCOMPARE(splash.lblVersion->text(), QString("Version 1.4.0"));
        QCOMPARE(splash.Label2->text(), QString("Creating Picture List"));
        QCOMPARE(splash.lblPlatform->text(), QString("Windows 95"));
        // The layout rules.
        const auto frame = splash.Placed(splash.Frame1);
        QCOMPARE(frame.width, 11900.0);
        QCOMPARE(frame.height, 8900.0);
        for (QWidget* w :
             {static_cast<QWidget*>(splash.lblProductName), static_cast<QWidget*>(splash.Label2),
              static_cast<QWidget*>(splash.ProgressBar1), static_cast<QWidget*>(splash.Frame2)}) {
            const auto b = splash.Placed(w);
            QCOMPARE(b.left, (frame.width - b.width) / 2);
        }
        const auto text = splash.Placed(splash.Label1);
        QCOMPARE(text.top, frame.height - text.height - 315);
        const auto logo = splash.Placed(splash.imgLogo);
        QCOMPARE(logo.height, text.top - 180 - logo.top);
        const auto second = splash.Placed(splash.Image1);
        QCOMPARE(second.height, logo.height);
        QCOMPARE(second.left, frame.width - 630 - second.width);
        const auto platformBox = splash.Placed(splash.lblPlatform);
        QCOMPARE(platformBox.left, (frame.width - platformBox.width) / 2 - 1095);
        QCOMPARE(splash.Placed(splash.lblVersion).left, platformBox.left);
        QCOMPARE(splash.Placed(splash.Label5).left, platformBox.left + platformBox.width + 1000);
    }

    void screenSizeLaysTheBoardOutOnceWithoutMovingCards() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Configure(20, GeneratedPictures(folder, 28));
        Form2& game = Forms::Get<Form1>().Game();
        Deal(game);
        for (int k : {0, 20, 7}) {
            game.Image1[k]->show();
            game.Image2[k]->hide();
        }
        const std::vector<int> cardSlots = game.CardSlot;
        const std::set<int> up = FaceUp(game);
        game.mnuScreen_Click(3);  // "1024 by 768"
        QCOMPARE(game.WindowWidthTwips(), 15277.0);
        QCOMPARE(game.WindowHeightTwips(), 10800.0);
        QCOMPARE(game.PictureWidth(), 15177.0);
        QCOMPARE(game.PictureHeight(), 10050.0);
        QCOMPARE(game.Grid.CardWidth, 1140 * 15177 / 9550.0);
        QCOMPARE(game.Grid.CardHeight, 1140 * 10050 / 6130.0);
        QCOMPARE(game.CardSlot, cardSlots);
        QCOMPARE(FaceUp(game), up);
        QCOMPARE(Module1.WindowWidth, 15277.0);
        QCOMPARE(Module1.BoardHeight, 10800.0 - 750);
        // Every card inside the board area.
        for (int k = 0; k < game.CardCount; ++k) {
            const QRect r = game.Image2[k]->geometry();
            QVERIFY(r.left() > 0 && r.top() > 0);
            QVERIFY(r.right() < game.Picture1->width() && r.bottom() < game.Picture1->height());
            QCOMPARE(game.Image1[k]->geometry(), r);
        }
        QVERIFY(!game.RelayoutOn);
        // The pause message laid out for the new width (above 12000: 26 pt).
        QCOMPARE(game.Label3->font().pointSize(), 26);
        QCOMPARE(game.Label3->x(), twips::ToPixels((15277 - 10000) / 2.0 + 150));
    }

    void sameHeightChangesOnlyTheWidth() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Configure(8, GeneratedPictures(folder, 16));
        Form2& game = Forms::Get<Form1>().Game();
        Deal(game);
        game.SetWindowWidth(12000);  // no relayout: RelayoutOn is off
        const double cardWidth = game.Grid.CardWidth;
        game.mnuScreen_Click(0);  // "480 by 600", height 6750 as now
        QCOMPARE(game.WindowWidthTwips(), 9550.0);
        QCOMPARE(game.PictureWidth(), 9450.0);
        QCOMPARE(game.Grid.CardWidth, cardWidth);  // not laid out again
    }

    void minusAndPlusKeys() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Configure(8, GeneratedPictures(folder, 16));
        Form2& game = Forms::Get<Form1>().Game();
        Deal(game);
        const std::vector<int> cardSlots = game.CardSlot;
        game.SetWindowHeight(6500);
        for (int i = 0; i < 20; ++i) game.ResizeKeyDown(189);
        QCOMPARE(game.ResizeStep, 200.0);
        QVERIFY(game.RelayoutOn);
        game.ResizeKeyUp(189);
        QCOMPARE(game.WindowHeightTwips(), 6400.0);
        QCOMPARE(game.WindowWidthTwips(), 9550 - 100 * Module1.AspectRatio);
        QCOMPARE(game.PictureHeight(), 6400.0 - 750);
        QCOMPARE(game.ResizeStep, 0.0);
        QVERIFY(!game.RelayoutOn);
        QCOMPARE(game.Grid.CardHeight, 1472 * (6400.0 - 750) / 6130);
        QCOMPARE(game.CardSlot, cardSlots);
        // At the floor the minus key does nothing, and its step is spent:
        // the next plus grows by its own presses only.
        for (int i = 0; i < 3; ++i) game.ResizeKeyDown(189);
        game.ResizeKeyUp(189);
        QCOMPARE(game.WindowHeightTwips(), 6400.0);
        QCOMPARE(game.ResizeStep, 0.0);
        QVERIFY(!game.RelayoutOn);
        for (int i = 0; i < 2; ++i) game.ResizeKeyDown(187);
        game.ResizeKeyUp(187);
        QCOMPARE(game.WindowHeightTwips(), 6420.0);
        QCOMPARE(game.ResizeStep, 0.0);
    }

    // One size change per physical press, however the X server reports the
    // repeats of a held key, and the floor exactly.
    void heldMinusAndPlusChangeTheSizeOnceOnRelease() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Configure(8, GeneratedPictures(folder, 16));
        Form2& game = Forms::Get<Form1>().Game();
        Deal(game);
        game.SetWindowHeight(7600);
        const int before = game.geometry().height();
        for (bool marked : {true, false}) {
            const double H = game.WindowHeightTwips();
            const QList<int> during = HoldKey(game, Qt::Key_Minus, 9, marked);
            QCOMPARE(during, QList<int>(9, game.geometry().height()));
            QCOMPARE(game.WindowHeightTwips(), H);
            LetGo(game);
            QCOMPARE(game.WindowHeightTwips(), H - 100);  // ten key-downs of 10
        }
        QVERIFY(game.geometry().height() < before);
        // Held far past the floor: exactly the floor.
        HoldKey(game, Qt::Key_Minus, 120, false);
        LetGo(game);
        QCOMPARE(game.WindowHeightTwips(), 6400.0);
        QCOMPARE(game.geometry().height(), twips::ToPixels(6400));
        // Minus at the floor does nothing, and a plus tap after it grows by
        // its own ten twips only.
        HoldKey(game, Qt::Key_Minus, 5, true);
        LetGo(game);
        QCOMPARE(game.WindowHeightTwips(), 6400.0);
        HoldKey(game, Qt::Key_Equal, 0, false);
        LetGo(game);
        QCOMPARE(game.WindowHeightTwips(), 6410.0);
        QCOMPARE(game.ResizeStep, 0.0);
    }

    // Maximize, restore and a frame drag are sizes of the window like any
    // other: the board is laid out for them and the size commands start
    // from them.
    void theWindowManagersSizeIsTheWindowsSize() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Configure(8, GeneratedPictures(folder, 16));
        Form2& game = Forms::Get<Form1>().Game();
        Deal(game);
        const std::vector<int> dealtSlots = game.CardSlot;
        const QSize normal = game.geometry().size();
        // The record keeps the size the player chose, never the desktop's
        // maximized one.
        const double chosen = Module1.WindowWidth;
        auto laidOutForTheRealSize = [&game, chosen] {
            const double W = twips::FromPixels(game.geometry().width());
            const double H = twips::FromPixels(game.geometry().height());
            QCOMPARE(game.WindowWidthTwips(), W);
            QCOMPARE(game.WindowHeightTwips(), H);
            QCOMPARE(game.PictureWidth(), W - 100);
            QCOMPARE(game.PictureHeight(), H - 750);
            QCOMPARE(game.Grid.CardWidth, 1472 * (W - 100) / 9550);
            QCOMPARE(Module1.WindowWidth, game.isMaximized() ? chosen : W);
            for (int k = 0; k < game.CardCount; ++k)
                QVERIFY(game.Picture1->rect().contains(game.Image2[k]->geometry()));
        };

        game.showMaximized();
        QTRY_VERIFY(game.isMaximized());
        QTRY_VERIFY(game.geometry().width() > twips::ToPixels(9550));
        laidOutForTheRealSize();
        QCOMPARE(game.CardSlot, dealtSlots);
        // The pause message centred for the real width.
        QTest::keyClick(game.Picture1, Qt::Key_P);
        const double W = game.WindowWidthTwips();
        QCOMPARE(game.Label3->x(), twips::ToPixels(pauselabel::ForWindowWidth(W).Left));
        QTest::keyClick(game.Picture1, Qt::Key_Space);

        game.showNormal();
        QTRY_VERIFY(!game.isMaximized());
        QTRY_COMPARE(game.geometry().size(), normal);
        laidOutForTheRealSize();

        // A frame drag.
        game.resize(700, 520);
        laidOutForTheRealSize();
        QCOMPARE(game.CardSlot, dealtSlots);

        // "480 by 600" after maximizing gives that size, not nothing.
        game.showMaximized();
        QTRY_VERIFY(game.isMaximized());
        game.mnuScreen_Click(0);
        QTRY_VERIFY(!game.isMaximized());
        QCOMPARE(game.WindowWidthTwips(), 9550.0);
        QCOMPARE(game.geometry().width(), twips::ToPixels(9550));
        QCOMPARE(game.geometry().height(), twips::ToPixels(6750));

        // One plus from a maximized window grows from its real size.
        game.showMaximized();
        QTRY_VERIFY(game.isMaximized());
        const int maxHeight = game.geometry().height();
        HoldKey(game, Qt::Key_Equal, 0, false);
        LetGo(game);
        QVERIFY(!game.isMaximized());
        QVERIFY(game.geometry().height() >= maxHeight);
    }

    // Restart needs a board: after "Not enough pictures", F6 must not lay
    // out blank cards or a playable board of too few pairs.
    void restartWithoutADealtBoardDoesNothing() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Doubles d = InstallDoubles();
        // Three pictures of five loaded; two chosen, so none loaded at all.
        for (int loaded : {3, 2}) {
            QStringList chosen = GeneratedPictures(folder, loaded);
            if (loaded == 3) chosen << folder.File("gone1.jpg") << folder.File("gone2.jpg");
            Configure(4, chosen);
            Form2& game = Forms::Get<Form1>().Game();
            Deal(game);
            QVERIFY(game.PairCount < 4);
            game.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&game));
            QTest::keyClick(&game, Qt::Key_F6);
            for (int k = 0; k < game.Image2.size(); ++k) QVERIFY(game.Image2[k]->isHidden());
            QCOMPARE(game.windowTitle(), QString("Tavimo"));
            QCOMPARE(game.GameState, 0);
            Forms::DiscardAll();
        }
    }

    // After "Not enough pictures" the player chooses again: the
    // configuration window is in front and active, the focus in the size box.
    void tooFewPicturesLeaveTheConfigurationInFront() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Doubles d = InstallDoubles();
        QStringList chosen = GeneratedPictures(folder, 3);
        chosen << folder.File("gone1.jpg") << folder.File("gone2.jpg");
        Form1& config = Configure(4, chosen);
        Form2& game = Forms::Get<Form1>().Game();
        Deal(game);
        QVERIFY(game.isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&config));
        QVERIFY(config.Combo1->hasFocus());
    }

    // "&Configuration" (F7) after the game window was moved opens the
    // configuration window, and the next deal's splash, where it is now;
    // never with its title bar above the screen.
    void configurationOpensWhereTheGameWindowIsNow() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        InstallDoubles();
        Form1& config = Configure(8, GeneratedPictures(folder, 16));
        Form2& game = Forms::Get<Form1>().Game();
        Deal(game);
        game.move(120, 90);
        game.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&game));
        QTest::keyClick(&game, Qt::Key_F7);
        QVERIFY(config.isVisible());
        QVERIFY(game.isVisible());
        QCOMPARE(config.pos(), QPoint(120, 90));
        config.Command1_Click();
        frmSplash* splash = Forms::IfLoaded<frmSplash>();
        QVERIFY(splash);
        QCOMPARE(splash->pos(), QPoint(120, 90));
        FlushDeletes();

        // A frame left just above the screen, as a maximized and restored
        // window may.
        Form2& next = Forms::Get<Form1>().Game();
        Deal(next);
        next.move(40, -1);
        next.mnuSlct_Click();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY2(config.frameGeometry().top() >= screen.top(),
                 qPrintable(QString::number(config.frameGeometry().top())));
        QCOMPARE(config.x(), 40);
    }

    void exitQuestionNoResumes() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Doubles d = InstallDoubles();
        QFile::remove(folder.File("init.txt"));
        Configure(8, GeneratedPictures(folder, 16));
        Form2& game = Forms::Get<Form1>().Game();
        game.SetWindowPosition(300, 450);
        d.dialogs->answers = {Dialogs::Answer::No};
        QVERIFY(!Forms::Unload(&game));
        QCOMPARE(int(d.dialogs->shown.size()), 1);
        QCOMPARE(d.dialogs->shown[0].text, QString("Are you sure you want to exit the program?"));
        QCOMPARE(d.dialogs->shown[0].title, QString("Tavimo"));
        QVERIFY(d.dialogs->shown[0].buttons == Dialogs::Buttons::YesNo);
        QCOMPARE(game.Paused, 0);
        QCOMPARE(Forms::IfLoaded<Form2>(), &game);
        QVERIFY(!QFile::exists(folder.File("init.txt")));
        QCOMPARE(d.desktop->endCalls, 0);
        // Every unload keeps the place, so the next game window opens there.
        QCOMPARE(Module1.WindowLeft, 300.0);
        QCOMPARE(Module1.WindowTop, 450.0);
        QCOMPARE(Module1.BoardWidth, 9435.0);
    }

    void exitQuestionYesWritesTheSettings() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Doubles d = InstallDoubles();
        Form1& config = Configure(8, GeneratedPictures(folder, 16));
        Form1::SetValue(config.View, 1);
        Form2& game = Forms::Get<Form1>().Game();
        game.SetWindowPosition(-120, 300);
        game.mnuSnd->setChecked(false);
        Module1.SpeedSetting = 3;
        d.dialogs->answers = {Dialogs::Answer::Yes};
        Forms::Unload(&game);
        QCOMPARE(d.desktop->endCalls, 1);
        QCOMPARE(folder.Read("init.txt"),
                 QByteArray("1,0,Sky.jpg,3,1,300,-120,9550,6750,9435,6000\r\n"));
    }

    void exitWithoutSavingKeepsTheFileAsRead() {
        ProgramFolder folder(ProgramFolder::All);
        folder.Write("init.txt", "1,0,Forest.jpg,3,1,300,200,12000,9000,1,1\r\n");
        settings::Read(folder.File("init.txt"), Module1);
        Doubles d = InstallDoubles();
        Configure(8, GeneratedPictures(folder, 16));
        Form2& game = Forms::Get<Form1>().Game();
        game.mnusave->setChecked(false);
        game.mnuSnd->setChecked(true);
        game.SetWindowPosition(0, 0);
        d.dialogs->answers = {Dialogs::Answer::Yes};
        Forms::Unload(&game);
        QCOMPARE(folder.Read("init.txt"),
                 QByteArray("0,0,Forest.jpg,3,1,300,200,12000,9000,1,1\r\n"));
        QCOMPARE(d.desktop->endCalls, 1);
    }

    // A full disk: the old init.txt stays and the player hears why, once.
    void exitOnAFullDiskKeepsTheFileAndSaysSo() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Doubles d = InstallDoubles();
        Configure(8, GeneratedPictures(folder, 16));
        Form2& game = Forms::Get<Form1>().Game();
        game.mnuSnd->setChecked(false);
        FakeFileSystem* fs = InstallFakeFileSystem();
        fs->writeFault = {FakeFileSystem::Step::Write, 0, 4, true};
        d.dialogs->answers = {Dialogs::Answer::Yes};
        Forms::Unload(&game);
        QCOMPARE(d.desktop->endCalls, 1);
        QCOMPARE(folder.Read("init.txt"),
                 QByteArray("1,1,Sky.jpg,1,1,0,10,9550,6750,9435,6000\r\n"));
        QCOMPARE(QDir(folder.Path()).entryList({"init.txt*"}, QDir::Files),
                 QStringList{"init.txt"});
        QCOMPARE(int(d.dialogs->shown.size()), 2);  // the question, then the failure
        QVERIFY(d.dialogs->shown[1].text.contains("init.txt"));
        QVERIFY(d.dialogs->shown[1].text.contains("disk full"));
    }

    // A folder where init.txt cannot be written: the program ends all the same.
    void exitWhenTheFileCannotBeWritten() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Doubles d = InstallDoubles();
        QFile::remove(folder.File("init.txt"));
        QDir(folder.Path()).mkdir("init.txt");  // a folder in the file's place
        Configure(8, GeneratedPictures(folder, 16));
        d.dialogs->answers = {Dialogs::Answer::Yes};
        Forms::Unload(&Forms::Get<Form1>().Game());
        QCOMPARE(d.desktop->endCalls, 1);
        QVERIFY(QFileInfo(folder.File("init.txt")).isDir());
    }

    void restartKeepsThePicturesAndTurnsEveryCardDown() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Doubles d = InstallDoubles();
        Configure(8, GeneratedPictures(folder, 16));
        Form2& game = Forms::Get<Form1>().Game();
        Deal(game);
        QStringList files;
        for (int k = 0; k < 16; ++k) files << game.Image1[k]->File();
        game.Image1[3]->show();
        game.Image2[3]->hide();
        game.Play.SetScore(475);
        game.Image2_Click(3);
        d.sounds->clear();
        game.mnuRstrt_Click();
        QCOMPARE(game.Score, 100.0);
        QCOMPARE(game.GameState, 0);
        QCOMPARE(game.DealDone, 1);
        QCOMPARE(game.windowTitle(), QString("Tavimo   Score:  100       Time 0:0:0"));
        QVERIFY(FaceUp(game).empty());
        for (int k = 0; k < 16; ++k) QCOMPARE(game.Image1[k]->File(), files[k]);
        QCOMPARE(std::set<int>(game.CardSlot.begin(), game.CardSlot.end()).size(), size_t(16));
        QCOMPARE(d.sounds->size(), 1);
        QVERIFY(d.sounds->first().startsWith("Open "));
    }

    void boardSizeMenuOfTheCurrentSizeDoesNothing() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Form1& config = Configure(12, GeneratedPictures(folder, 20));
        config.Combo1->clear();
        config.Combo1->addItems({"4", "8", "12"});
        config.Combo1->setEditText("12");
        Form2& game = Forms::Get<Form1>().Game();
        Deal(game);
        game.SetWindowPosition(750, 900);
        game.mnuSize_Click(2);  // "12x2", as mnuCurrent
        QCOMPARE(Forms::IfLoaded<Form2>(), &game);
        QCOMPARE(game.mnuCurrent->text(), QString("12x2"));
        QCOMPARE(Module1.WindowLeft, 750.0);
        QCOMPARE(Module1.WindowTop, 900.0);
    }
};
TAVIMO_TEST(Form2Test);

#include "tst_Form2.moc"
