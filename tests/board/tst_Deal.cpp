// The OK action end to end: saving, scanning, the messages, the picks and
// the one game window dealt again where it stands; and the menu items and
// windows that lead there and back.
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTest>
#include <QWindow>

#include "PhotoWriter.h"
#include "TestSupport.h"
#include "app/Module1.h"
#include "board/CardWidget.h"
#include "board/Form2.h"
#include "board/frmSplash.h"
#include "config/Form1.h"
#include "platform/FileSystem.h"
#include "scores/Form4.h"

namespace {
// Counts one type of event reaching a widget.
class EventCounter : public QObject {
public:
    EventCounter(QObject* watched, QEvent::Type type, int* count) : type_(type), count_(count) {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == type_) ++*count_;
        return false;
    }

private:
    QEvent::Type type_;
    int* count_;
};

// The configuration with "Aquire Additional" on and this board size.
Form1& WithFallBack(int size) {
    Form1& config = Forms::Get<Form1>();
    Form1::SetValue(config.Check8, 1);
    config.Combo1->setEditText(QString::number(size));
    return config;
}

void FirstTick(Form2& game) {
    game.Timer1->stop();
    game.Timer2->stop();
    game.Play.TakeDeal();
    game.DealBoard();
}
}  // namespace

class DealTest : public QObject {
    Q_OBJECT
private slots:
    void okDealsAFreshHiddenGameWindow() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Doubles d = InstallDoubles();
        QFile::remove(folder.File("dirs.txt"));
        Form1& config = Forms::Get<Form1>();
        Form1::SetValue(config.Check8, 1);
        config.Combo1->setEditText("12");
        config.Command1_Click();
        QVERIFY(QFile::exists(folder.File("dirs.txt")));  // the folder list was saved
        QCOMPARE(d.random->reseeds >= 1, true);
        QCOMPARE(config.ChosenPictures.size(), 20);  // N + 8
        for (const QString& f : config.ChosenPictures)
            QVERIFY(f.startsWith(FileSystem::Join(folder.Path(), "Graphics")));
        Form2* game = Forms::IfLoaded<Form2>();
        QVERIFY(game);
        QVERIFY(game->isHidden());
        QVERIFY(config.isHidden());
        QCOMPARE(game->PairCount, 12);
        frmSplash* splash = Forms::IfLoaded<frmSplash>();
        QVERIFY(splash && splash->isVisible());
        QCOMPARE(splash->Label2->text(), QString("Loading Pictures:  0"));
        FirstTick(*game);
        QVERIFY(game->isVisible());
        QVERIFY(!Forms::IfLoaded<frmSplash>());
        QCOMPARE(game->mnuCurrent->text(), QString("12x2"));
        QVERIFY(d.dialogs->shown.empty());

        // "&New Game": the same window is dealt again where it is.
        game->SetWindowPosition(450, 300);
        game->mnuNew_Click();
        FlushDeletes();
        QCOMPARE(Forms::IfLoaded<Form2>(), game);
        QVERIFY(d.dialogs->shown.empty());
        QCOMPARE(Module1.WindowLeft, 450.0);
        QCOMPARE(Module1.WindowTop, 300.0);
        QCOMPARE(game->WindowLeftTwips(), 450.0);
    }

    // F5, F7 + Escape, High Scores + Return and a new back: one game window
    // all along, never hidden, never moved or resized; the deal clears it
    // and the next tick deals into it, leaving no card of the board before
    // and no kept board.
    void oneGameWindowForTheSession() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Doubles d = InstallDoubles();
        Form1& config = WithFallBack(8);
        config.Command1_Click();
        Form2* game = Forms::IfLoaded<Form2>();
        QVERIFY(game);
        QTRY_VERIFY(game->BoardDealt && game->isEnabled());
        game->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(game));
        const QRect place = game->geometry();
        int hides = 0;
        EventCounter hidden(game, QEvent::Hide, &hides);
        const auto stays = [&] {
            QCOMPARE(Forms::IfLoaded<Form2>(), game);
            QVERIFY(game->isVisible());
            QCOMPARE(game->geometry(), place);
            QCOMPARE(hides, 0);
        };

        // The configuration stacks over the board, which takes no clicks
        // until Escape gives them back.
        QTest::keyClick(game, Qt::Key_F7);
        QVERIFY(config.isVisible());
        QVERIFY(!game->isEnabled());
        QCOMPARE(config.windowHandle()->transientParent(), game->windowHandle());
        stays();
        QTest::keyClick(&config, Qt::Key_Escape);
        QVERIFY(config.isHidden());
        QVERIFY(game->isEnabled());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(game));
        stays();

        // High Scores, then Return.
        game->mnuBest->trigger();
        Form4* best = Forms::IfLoaded<Form4>();
        QVERIFY(best && best->isVisible());
        QVERIFY(!game->isEnabled());
        QCOMPARE(best->windowHandle()->transientParent(), game->windowHandle());
        stays();
        QTest::keyClick(best, Qt::Key_Return);
        FlushDeletes();
        QVERIFY(!Forms::IfLoaded<Form4>());
        QVERIFY(game->isEnabled());
        stays();

        // A new back.
        game->mnuBack[1]->trigger();
        QVERIFY(game->mnuBack[1]->isChecked());
        stays();

        // A turn keeps the board; F5 deals a fresh one into the same window,
        // which drops it.
        const QString kept = folder.File("board.txt");
        QTest::mouseClick(game->Image2[0], Qt::LeftButton);
        QTest::mouseClick(game->Image2[game->PairCount], Qt::LeftButton);
        QCOMPARE(game->PairsFound, 1);
        QVERIFY(QFile::exists(kept));
        QTest::keyClick(game, Qt::Key_F5);
        QVERIFY(!game->isEnabled());
        QVERIFY(!game->BoardDealt);
        QCOMPARE(game->windowTitle(), QString("Tavimo"));
        stays();
        QTRY_VERIFY(game->BoardDealt && game->isEnabled());
        QVERIFY(!Forms::IfLoaded<frmSplash>());
        QVERIFY(!QFile::exists(kept));
        FlushDeletes();
        QCOMPARE(game->Picture1->findChildren<CardWidget*>().size(), 2 * game->CardCount);
        QCOMPARE(game->GameState, BoardPlay::NotStarted);
        QCOMPARE(game->Score, 100.0);
        stays();
        QVERIFY(d.dialogs->shown.empty());
    }

    // A folder of today's photo types, one colour each, named in any case:
    // all counted, and every card shows its own file's picture, twice.
    void photoTypesAreCountedAndDealtAsPairs() {
        ProgramFolder folder(ProgramFolder::All & ~ProgramFolder::Graphics);
        DefaultSettings();
        InstallDoubles();
        QDir().mkpath(folder.File("Graphics"));
        const auto encode = [](const QImage& img, const char* format) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QImageWriter(&buffer, format).write(img);
            return bytes;
        };
        const QList<std::pair<QString, QColor>> files = {{"a.png", Qt::red},
                                                         {"B.JPEG", Qt::green},
                                                         {"c.jpe", Qt::blue},
                                                         {"D.JFIF", Qt::yellow},
                                                         {"e.WebP", Qt::cyan},
                                                         {"F.TIFF", Qt::magenta},
                                                         {"g.heic", QColor(0, 0, 0)},
                                                         {"H.AVIF", QColor(255, 255, 255)},
                                                         {"i.JXL", QColor(255, 128, 0)}};
        QHash<QString, QColor> colourOf;
        for (const auto& [name, colour] : files) {
            QImage img(96, 64, QImage::Format_RGB32);
            img.fill(colour);
            const QString ext = name.section('.', -1).toLower();
            const QByteArray bytes = ext == "jxl"    ? photowriter::Jxl(img)
                                     : ext == "heic" ? photowriter::Heif(img, false)
                                     : ext == "avif" ? photowriter::Heif(img, true)
                                     : ext == "png"  ? encode(img, "png")
                                     : ext == "webp" ? encode(img, "webp")
                                     : ext == "tiff" ? encode(img, "tiff")
                                                     : encode(img, "jpeg");
            folder.Write("Graphics/" + name, bytes);
            colourOf[folder.File("Graphics/" + name)] = colour;
        }
        folder.Write("Graphics/notes.txt", "not a picture");
        Form1& config = Forms::Get<Form1>();
        // "All Graphics", then the six boxes: the same nine, not the text file.
        Form1::SetValue(config.All_Check, 1);
        QCOMPARE(config.FilesAvailable, 9);
        Form1::SetValue(config.All_Check, 0);
        QCOMPARE(config.FilesAvailable, 9);
        Form1::SetValue(config.Other_Check, 0);  // the three JPEGs stay
        QCOMPARE(config.FilesAvailable, 3);
        Form1::SetValue(config.All_Check, 1);
        QCOMPARE(config.FilesAvailable, 9);
        config.Combo1->setEditText("9");
        config.Command1_Click();
        Form2* game = Forms::IfLoaded<Form2>();
        QVERIFY(game);
        FirstTick(*game);
        QCOMPARE(game->PairCount, 9);
        QHash<QString, int> cards;
        for (int k = 0; k < game->CardCount; ++k) {
            const CardWidget* face = game->Image1[k];
            QVERIFY(face->HasPicture());
            ++cards[face->File()];
            const QImage& picture = face->Picture();
            const QColor want = colourOf.value(face->File());
            const QColor got = picture.pixelColor(picture.width() / 2, picture.height() / 2);
            QVERIFY2(qAbs(got.red() - want.red()) < 40 && qAbs(got.green() - want.green()) < 40 &&
                         qAbs(got.blue() - want.blue()) < 40,
                     qPrintable(face->File()));
        }
        QCOMPARE(cards.size(), 9);
        for (int n : cards) QCOMPARE(n, 2);
    }

    // Return deals from the board-size box; in the path box it browses the
    // typed folder and deals nothing.
    void returnPressesOk() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        InstallDoubles();
        Form1& config = Forms::Get<Form1>();
        Form1::SetValue(config.Check8, 1);
        config.show();
        config.Label6->setFocus();
        config.Label6->setText(folder.File("Graphics"));
        QTest::keyClick(config.Label6, Qt::Key_Return);
        QVERIFY(!Forms::IfLoaded<Form2>());
        QVERIFY(config.isVisible());
        config.Combo1->setEditText("12");
        config.Combo1->setFocus();
        QTest::keyClick(config.Combo1, Qt::Key_Return);
        Form2* game = Forms::IfLoaded<Form2>();
        QVERIFY(game);
        QCOMPARE(game->PairCount, 12);
        QVERIFY(config.isHidden());
    }

    void tooFewFilesWithoutAcquireAdditional() {
        ProgramFolder folder;  // no pictures anywhere
        DefaultSettings();
        Doubles d = InstallDoubles();
        QDir(folder.Path()).mkdir("Graphics");
        folder.Write("Graphics/a.jpg", "x");
        folder.Write("Graphics/b.jpg", "x");
        Form1& config = Forms::Get<Form1>();
        Form1::SetValue(config.Check8, 0);
        config.show();
        config.Command1_Click();
        QCOMPARE(int(d.dialogs->shown.size()), 1);
        QCOMPARE(d.dialogs->shown[0].text,
                 QString("Not enough files available.  Minimum of 4 pictures required.  Try "
                         "selecting more file types or selecting more directories."));
        QVERIFY(d.dialogs->shown[0].buttons == Dialogs::Buttons::Ok);
        QVERIFY(config.isVisible());
        QVERIFY(!Forms::IfLoaded<frmSplash>());
        QVERIFY(!Forms::IfLoaded<Form2>());
    }

    // After all fall-backs too few: the old game window stays, the splash too.
    void tooFewPicturesAfterEveryFallBack() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Doubles d = InstallDoubles();
        Form1& config = WithFallBack(8);
        config.Command1_Click();
        Form2* game = Forms::IfLoaded<Form2>();
        FirstTick(*game);
        // Every picture folder goes away before the next deal.
        QDir(folder.File("Graphics")).removeRecursively();
        config.Command1_Click();
        QCOMPARE(int(d.dialogs->shown.size()), 1);
        QCOMPARE(d.dialogs->shown[0].text,
                 QString("Not enough pictures found, minimum of 4 pictures required."));
        QCOMPARE(Forms::IfLoaded<Form2>(), game);
        QVERIFY(config.isVisible());
        QVERIFY(Forms::IfLoaded<frmSplash>());
    }

    void boardSizeMenuDealsANewSize() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Form1& config = Forms::Get<Form1>();
        config.Combo1->setEditText("8");
        config.Command1_Click();
        Form2* game = Forms::IfLoaded<Form2>();
        QCOMPARE(game->mnuCurrent->text(), QString(" 8x2"));
        QCOMPARE(game->mnuSize[1]->text(), QString(" 8x2"));
        FirstTick(*game);
        QCOMPARE(game->mnuCurrent->text(), QString("8x2"));
        // The single-digit item differs from the caption after the deal: a new deal.
        game->mnuSize_Click(1);
        FlushDeletes();
        Form2* same = Forms::IfLoaded<Form2>();
        QCOMPARE(same, game);
        QVERIFY(!same->BoardDealt);  // cleared for the next deal
        QCOMPARE(same->PairCount, 8);
        FirstTick(*same);
        same->mnuSize_Click(2);  // 12x2
        FlushDeletes();
        Form2* bigger = Forms::IfLoaded<Form2>();
        QCOMPARE(bigger, same);
        FirstTick(*bigger);
        QCOMPARE(bigger->PairCount, 12);
        QCOMPARE(config.Combo1->currentText(), QString("12"));
    }

    void configurationTakesTheFileTypeSnapshot() {
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        Form1& config = Forms::Get<Form1>();
        config.Command1_Click();
        Form2* game = Forms::IfLoaded<Form2>();
        FirstTick(*game);
        Form1::SetValue(config.All_Check, 0);
        Form1::SetValue(config.BMP_Check, 1);
        Form1::SetValue(config.GIF_Check, 0);
        Form1::SetValue(config.JPG_Check, 1);
        Form1::SetValue(config.ICN_Check, 0);
        Form1::SetValue(config.WMF_Check, 0);
        Form1::SetValue(config.Other_Check, 0);
        game->mnuSlct_Click();
        QCOMPARE(Module1.FileTypeSnapshot, QString("1010000"));
        QVERIFY(config.isVisible());
        QVERIFY(game->isVisible());
        QVERIFY(!game->isEnabled());
    }
};
TAVIMO_TEST(DealTest);

#include "tst_Deal.moc"
