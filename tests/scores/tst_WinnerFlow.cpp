// A whole board played to the end in the real windows, from an empty table
// to the winner's name in place 1.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QWindow>

#include "TestSupport.h"
#include "WindowSupport.h"
#include "app/Module1.h"
#include "board/Form2.h"
#include "play/Form6.h"
#include "scores/Form4.h"
#include "scores/Form7.h"

namespace {
// A board of four pairs played in the real game window, every pair at the
// first try, one card a second, up to the moment its end is due.
Form2& PlayToTheEnd(Doubles& d, ProgramFolder& folder) {
    DefaultSettings();
    Module1.HighSound = "High.wav";
    Module1.BestSound = "Best.wav";
    Module1.SoundOn = 1;
    Module1.FlipDelay = 1;
    const QStringList chosen = GeneratedPictures(folder, 4);
    d.clock->AdvanceTo(1000);
    Form2& game = DealByHand(chosen, 4);
    for (int k = 0; k < 4; ++k) {
        d.clock->Advance(1);
        game.Image2_Click(k);
        d.clock->Advance(1);
        game.Image2_Click(k + 4);
        game.Timer1_Timer();
    }
    d.clock->Advance(1.05);
    return game;
}

// Another copy of the game saving its table: ten totals of 2000 and more,
// or one only.
QByteArray OtherCopysTable(int entries) {
    QStringList f;
    for (int i = 0; i < 10; ++i) {
        if (i < entries)
            f << QString("Other%1").arg(i) << "40"
              << "0:00:30" << QString::number(3000 - i * 100);
        else
            f << ""
              << ""
              << ""
              << "0";
    }
    return (f.join(',') + "\r\n").toUtf8();
}
}  // namespace

class WinnerFlowTest : public QObject {
    Q_OBJECT
private slots:
    void aBoardPlayedToTheEndPutsTheWinnerInPlaceOne() {
        Doubles d = InstallDoubles();
        ProgramFolder folder(ProgramFolder::All);
        Form2& game = PlayToTheEnd(d, folder);
        QCOMPARE(game.PairCount, 4);
        QCOMPARE(Module1.HighScoreRank, 1);
        QVERIFY(!game.isEnabled());
        game.Timer2_Timer();
        Form7* winner = Forms::IfLoaded<Form7>();
        QVERIFY(winner && winner->isVisible());
        winner->Timer1_Timer();
        QVERIFY(d.sounds->contains("Play " + folder.File("Sound/Best.wav")));

        QTest::keyClicks(winner->Text1, "Winner");
        QTest::keyClick(winner->Text1, Qt::Key_Return);
        QVERIFY(!Forms::IfLoaded<Form7>());

        const QString line =
            QString("Winner,4,%1,%2").arg(Module1.BoardTime).arg(Module1.TotalScore) +
            QString(",,,,0").repeated(9) + "\r\n";
        QCOMPARE(QString::fromUtf8(folder.Read("best.txt")), line);
        Form4* scores = Forms::IfLoaded<Form4>();
        QVERIFY(scores && scores->isVisible());
        QVERIFY(scores->Label4->text().startsWith("Winner\n"));
        QVERIFY(!game.isEnabled());

        scores->OK_Click();
        QVERIFY(game.isEnabled());
        QVERIFY(game.isVisible());
    }

    // The player clicks the board while the entry is open, and the desktop
    // activates the game window for the click: the click turns nothing, the
    // entry stays in front with the keyboard, and the name typed is kept.
    void aClickOnTheBoardLeavesTheNameInTheEntry() {
        Doubles d = InstallDoubles();
        ProgramFolder folder(ProgramFolder::All);
        Form2& game = PlayToTheEnd(d, folder);
        game.show();
        QVERIFY(QTest::qWaitForWindowExposed(&game));
        game.Timer2_Timer();
        Form7* winner = Forms::IfLoaded<Form7>();
        QVERIFY(winner && winner->isVisible());
        QTRY_COMPARE(QGuiApplication::focusWindow(), winner->windowHandle());
        winner->Timer1_Timer();
        // Keys go where the window system sends them: the window with focus.
        const auto type = [](const char* text) {
            for (const char* c = text; *c; ++c) QTest::keyClick(QGuiApplication::focusWindow(), *c);
        };
        type("Ann");

        const QPoint card = game.Image1[0]->mapTo(&game, game.Image1[0]->rect().center());
        QTest::mouseClick(game.windowHandle(), Qt::LeftButton, {}, card);
        game.windowHandle()->requestActivate();
        QCoreApplication::processEvents();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(winner));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(winner->Text1));
        type("ie");
        QCOMPARE(winner->Text1->text(), QString("Annie"));
        QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_Return);
        QVERIFY(!Forms::IfLoaded<Form7>());
        QCOMPARE(Module1.PlayerName, QString("Annie"));
    }

    // Ten better totals saved by another copy before the entry is due: the
    // board's result is shown instead, and the game goes on.
    void noEntryForATotalThatNoLongerRanks() {
        Doubles d = InstallDoubles();
        ProgramFolder folder(ProgramFolder::All);
        Form2& game = PlayToTheEnd(d, folder);
        QCOMPARE(Module1.HighScoreRank, 1);
        folder.Write("best.txt", OtherCopysTable(10));
        game.Timer2_Timer();
        QVERIFY(!Forms::IfLoaded<Form7>());
        Form6* result = Forms::IfLoaded<Form6>();
        QVERIFY(result && result->isVisible());
        QVERIFY(game.isEnabled());
        QCOMPARE(folder.Read("best.txt"), OtherCopysTable(10));
    }

    // What happens to the name typed when the table changed meanwhile or
    // cannot be written: the player is told, the file stays as it was.
    void theWinnerIsToldWhatBecameOfTheScore_data() {
        QTest::addColumn<int>("others");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("told");
        QTest::newRow("one better total came in") << 1 << false << QString();
        QTest::newRow("ten better totals came in") << 10 << false << "no longer makes";
        QTest::newRow("the player protected the file") << 0 << true << "the file is read-only";
    }
    void theWinnerIsToldWhatBecameOfTheScore() {
        QFETCH(int, others);
        QFETCH(bool, readOnly);
        QFETCH(QString, told);
        Doubles d = InstallDoubles();
        ProgramFolder folder(ProgramFolder::All);
        folder.Write("best.txt", OtherCopysTable(0));
        Form2& game = PlayToTheEnd(d, folder);
        game.Timer2_Timer();
        Form7* winner = Forms::IfLoaded<Form7>();
        QVERIFY(winner && winner->isVisible());
        QCOMPARE(winner->Label2->text(), QString("1"));

        const QString best = folder.File("best.txt");
        if (others > 0) folder.Write("best.txt", OtherCopysTable(others));
        if (readOnly)
            QVERIFY(QFile::setPermissions(best,
                                          QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        const QByteArray before = folder.Read("best.txt");
        const size_t shownBefore = d.dialogs->shown.size();
        QTest::keyClicks(winner->Text1, "Me");
        QTest::keyClick(winner->Text1, Qt::Key_Return);
        QVERIFY(!Forms::IfLoaded<Form7>());

        const auto& shown = d.dialogs->shown;
        if (told.isEmpty()) {
            // Ranked anew: second, behind the total saved meanwhile.
            QCOMPARE(shown.size(), shownBefore);
            QCOMPARE(Module1.HighScoreRank, 2);
            QVERIFY(folder.Read("best.txt").startsWith("Other0,40,0:00:30,3000,Me,4,"));
        } else {
            QCOMPARE(shown.size(), shownBefore + 1);
            QVERIFY2(shown.back().text.contains(told), qPrintable(shown.back().text));
            QCOMPARE(folder.Read("best.txt"), before);
        }
        if (readOnly) {
            QVERIFY(shown.back().text.contains(best));
            // Still 0444: the user bits of the permissions are what root may do.
            const auto mode = QFileInfo(best).permissions();
            QCOMPARE(mode & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther),
                     QFileDevice::Permissions());
            QVERIFY(mode.testFlags(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        }
        Form4* scores = Forms::IfLoaded<Form4>();
        QVERIFY(scores && scores->isVisible());
    }
};
TAVIMO_TEST(WinnerFlowTest);

#include "tst_WinnerFlow.moc"
