// The game window driven through its handlers with the fake clock.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <functional>

#include "TestSupport.h"
#include "app/GamePaths.h"
#include "app/Module1.h"
#include "board/BoardAccess.h"
#include "board/Form2.h"
#include "board/KeyFocus.h"
#include "board/frmSplash.h"
#include "config/Form1.h"
#include "platform/Numbers.h"
#include "platform/RealDialogs.h"
#include "platform/Twips.h"
#include "play/Form6.h"
#include "play/Form8.h"
#include "play/HelpWindow.h"
#include "scores/Form4.h"
#include "scores/Form7.h"
#include "scores/HighScoreTable.h"
#include "scores/ScoreTableMirror.h"
#include "sound/SoundEffects.h"
#include "ui/AccessibleControls.h"
#include "viewer/Form3.h"

namespace {

// A game window with a board of `pairs` pairs, every card face down, the
// clock not started, sound on, at Slow.
struct Board {
    Doubles d = InstallDoubles();
    ProgramFolder folder{ProgramFolder::Sound | ProgramFolder::Help | ProgramFolder::Backs};
    Form2* form = nullptr;

    explicit Board(int pairs = 8, float now = 1000) {
        d.clock->AdvanceTo(now);
        Module1.MatchSound = "Match.wav";
        Module1.EndSound = "End.wav";
        Module1.FlipDelay = 2;
        Module1.SpeedSetting = 1;
        Module1.SoundOn = 1;
        form = &Forms::Get<Form1>().Game();
        Form2& f = *form;
        f.Timer1->stop();
        f.Timer2->stop();
        f.Play.Deal(PicturePaths(pairs), "Sky.jpg", *d.random);
        for (int i = 0; i < f.CardCount; ++i) {
            f.Face(i);
            f.Back(i);
        }
        for (int i = 0; i < f.CardCount; ++i) {
            f.Image1[i]->setVisible(false);
            f.Image2[i]->setVisible(true);
        }
        if (!f.MMControl1) {
            f.MMControl1 = platform().makeSoundDevice();
            sounds::Open(*f.MMControl1, Paths().SoundFile(Module1.MatchSound));
        }
        f.mnuSnd->setChecked(true);
        d.sounds->clear();
        f.show();
    }
    Form2& operator*() { return *form; }
    Form2* operator->() { return form; }

    // Forward to this time of day (past midnight when it is not later).
    void At(float t) { d.clock->AdvanceTo(t); }
    void Later(float s) { d.clock->Advance(s); }
    float Now() { return d.clock->SecondsSinceMidnight(); }
    // Clock ticks every 100 ms up to `until`, with the flip-back timer.
    void RunUntil(float until) {
        while (Now() + 0.05f < until) {
            Later(0.1f);
            form->Timer1_Timer();
            form->Timer2_Timer();
        }
    }
    bool Up(int i) { return form->Image1[i]->isVisible() && !form->Image2[i]->isVisible(); }
    bool Down(int i) { return !form->Image1[i]->isVisible() && form->Image2[i]->isVisible(); }
    // Finds every pair, one pair per `step` seconds.
    void PlayAllPairs(float step = 1) {
        const int n = form->PairCount;
        for (int k = 0; k < n; ++k) {
            form->Image2_Click(k);
            form->Image2_Click(k + n);
            if (k + 1 < n) Later(step);
        }
    }
    // Finds every pair, the last one at time of day `lastAt`.
    void FinishAt(float lastAt) {
        const int n = form->PairCount;
        for (int k = 0; k + 1 < n; ++k) {
            form->Image2_Click(k);
            form->Image2_Click(k + n);
        }
        At(lastAt);
        form->Image2_Click(n - 1);
        form->Image2_Click(2 * n - 1);
    }
    QString Caption() { return form->windowTitle(); }
};

// Writes best.txt with these ten totals, best first.
void WriteBest(const ProgramFolder& folder, std::array<int16_t, 10> totals) {
    highscores::Table t;
    for (int i = 0; i < 10; ++i) {
        if (totals[i] == 0) continue;  // a free row
        t.Names[i] = QString("Player %1").arg(i + 1);
        t.Boards[i] = "8";
        t.Times[i] = "0:01:00";
        t.Scores[i] = totals[i];
    }
    folder.Write("best.txt", highscores::Line(t).toUtf8());
}
std::array<int16_t, 10> All(int16_t v) {
    std::array<int16_t, 10> a;
    a.fill(v);
    return a;
}

QString ClockOf(const QString& caption) {
    return caption.section("Time ", 1).section(' ', 0, 0);
}

}  // namespace

class CardPlayTest : public QObject {
    Q_OBJECT
private slots:
    void firstClickStartsTheClock() {
        Board b;
        QCOMPARE(b->GameState, 0);
        b->Image2_Click(3);
        QCOMPARE(b->GameState, 1);
        QVERIFY(b.Up(3));
        QCOMPARE(b.Caption(), QString("Tavimo    Score: 100       Time 0:0:0"));
        QCOMPARE(b->BoardClock.StartTime, 1000.0f);
        QCOMPARE(b->CardsUp, 1);
    }

    void missesCostAndMatchesScore() {
        Board b;
        for (int turn = 0; turn < 5; ++turn) {
            b->Image2_Click(0);
            b->Image2_Click(1);
            QVERIFY(b.Up(0) && b.Up(1));
            b.Later(2.2f);
            b->Timer2_Timer();
            QVERIFY(b.Down(0) && b.Down(1));
        }
        QCOMPARE(b->Score, -25.0);
        b->Image2_Click(2);
        b->Image2_Click(2 + 8);
        QCOMPARE(b->Score, 75.0);
        QCOMPARE(b->PairsFound, 1);
        QCOMPARE(b->CardsUp, 0);
        // A pair found stays up.
        b.Later(5);
        b->Timer2_Timer();
        QVERIFY(b.Up(2) && b.Up(10));
        // The caption follows on the next tick, not at the click.
        QVERIFY(b.Caption().contains("Score: 100 "));
        b->Timer1_Timer();
        QVERIFY(b.Caption().startsWith("Tavimo    Score: 75       Time "));
    }

    void flipBackWaitsStrictlyLongerThanTheDelay() {
        Board b;
        // Slow: 2 s.
        b->mnuSlow_Click();
        b->Image2_Click(0);
        b->Image2_Click(1);
        b.Later(2.0f);
        b->Timer2_Timer();
        QVERIFY(b.Up(0) && b.Up(1));
        b.Later(0.1f);
        b->Timer2_Timer();
        QVERIFY(b.Down(0) && b.Down(1));
        QCOMPARE(b->CardsUp, 0);
        // Fast: 0.5 s, from the next miss on.
        b->mnuFast_Click();
        b->Image2_Click(2);
        b->Image2_Click(3);
        b.Later(0.5f);
        b->Timer2_Timer();
        QVERIFY(b.Up(2) && b.Up(3));
        b.Later(0.1f);
        b->Timer2_Timer();
        QVERIFY(b.Down(2) && b.Down(3));
    }

    void cardClickEndsAPause() {
        Board b;
        b->Image2_Click(0);
        b->Form_KeyDown(vk::P, 0);
        QCOMPARE(b->Paused, 1);
        QVERIFY(b->Label3->isVisible());
        b->Image2_Click(1);
        QCOMPARE(b->Paused, 0);
        QVERIFY(!b->Label3->isVisible());
    }

    void faceClickOpensTheViewerOnlyOnAFinishedBoard() {
        Board b(4);
        b->Play.Deal({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg", "/p/d.jpg"}, "Sky.jpg", *b.d.random);
        WriteBest(b.folder, All(30000));
        b->Image2_Click(0);
        b->Image2_Click(4);
        b->Form_KeyDown(vk::P, 0);
        b->Image1_Click(0);
        QCOMPARE(b->Paused, 0);
        QVERIFY(!Forms::IfLoaded<Form3>());
        QVERIFY(b->isVisible());
        for (int k = 1; k < 4; ++k) {
            b->Image2_Click(k);
            b->Image2_Click(k + 4);
        }
        b->Image1_Click(6);
        Form3* viewer = Forms::IfLoaded<Form3>();
        QVERIFY(viewer && viewer->isVisible());
        // Card 6 carries the picture of entry 6 - 4, not a spare's: the
        // viewer is named by its full path.
        QCOMPARE(viewer->windowTitle(), QString("/p/c.jpg"));
        QVERIFY(b->isVisible());
        QVERIFY(!b->isEnabled());
    }

    void realClicksReachTheCards() {
        Board b;
        b->Image2[4]->setGeometry(10, 10, 40, 40);
        b->Image1[4]->setGeometry(10, 10, 40, 40);
        QTest::mouseClick(b->Image2[4], Qt::LeftButton);
        QVERIFY(b.Up(4));
        QCOMPARE(b->GameState, 1);
    }
};
TAVIMO_TEST(CardPlayTest);

class ClockTest : public QObject {
    Q_OBJECT
private:
    static QString ShownAfter(float seconds) {
        Board b;
        b->Image2_Click(0);
        b.At(1000 + seconds);
        b->Timer1_Timer();
        return ClockOf(b.Caption());
    }
private slots:
    void shownRoundedToWholeSeconds() {
        QCOMPARE(ShownAfter(59.6f), QString("0:01:00"));
        QCOMPARE(ShownAfter(3599.6f), QString("1:00:00"));
        QCOMPARE(ShownAfter(4.5f), QString("0:00:04"));
        QCOMPARE(ShownAfter(5.5f), QString("0:00:06"));
        QCOMPARE(ShownAfter(61), QString("0:01:01"));
    }

    void aPauseLeavesTheClockWhereItWas() {
        Board b;
        b->Image2_Click(0);
        b.RunUntil(1012);
        const QString before = ClockOf(b.Caption());
        QCOMPARE(before, QString("0:00:12"));
        b->Form_KeyDown(vk::P, 0);
        b->Form_KeyUp(vk::P, 0);
        b.RunUntil(1042);
        // Paused ticks leave the caption alone.
        QCOMPARE(ClockOf(b.Caption()), before);
        b->Form_KeyDown(vk::Space, 0);
        b->Form_KeyUp(vk::Space, 0);
        QCOMPARE(b->Paused, 0);
        b.RunUntil(1042.2f);
        QCOMPARE(ClockOf(b.Caption()), before);
        b.RunUntil(1045);
        QCOMPARE(ClockOf(b.Caption()), QString("0:00:15"));
    }

    void pauseMessageLaidOutForTheWidth() {
        Board b;
        b->SetWindowWidth(12600);
        b->Form_KeyDown(vk::P, 0);
        QVERIFY(b->Label3->isVisible());
        const QRect wide = twips::ToPixelRect((12600 - 10000) / 2 + 150, 2520, 10000, 600);
        QCOMPARE(b->Label3->geometry().topLeft(), wide.topLeft());
        QCOMPARE(b->Label3->width(), wide.width());
        // Tall enough for the whole message.
        QVERIFY(b->Label3->height() >= wide.height());
        QVERIFY(b->Label3->height() >= b->Label3->heightForWidth(wide.width()));
        QCOMPARE(b->Label3->font().pointSize(), 26);
        QCOMPARE(b->Label3->font().family(), QString("Times New Roman"));
        QVERIFY(b->Label3->font().bold());
        b->Form_KeyUp(vk::P, 0);
        b->SetWindowWidth(9550);
        b->Form_KeyDown(vk::Space, 0);  // resumes, and lays the hidden label out again
        QVERIFY(!b->Label3->isVisible());
        b->Form_KeyUp(vk::Space, 0);
        b->Form_KeyDown(vk::P, 0);
        const QRect narrow = twips::ToPixelRect((9550 - 6255) / 2.0 + 150, 2520, 6255, 600);
        QCOMPARE(b->Label3->geometry().topLeft(), narrow.topLeft());
        QCOMPARE(b->Label3->width(), narrow.width());
        QVERIFY(b->Label3->height() >= b->Label3->heightForWidth(narrow.width()));
        QCOMPARE(b->Label3->font().pointSize(), 23);
    }

    void exitQuestionTimeDoesNotCount() {
        Board b;
        b->Image2_Click(0);
        b.RunUntil(1010);
        b.At(1040);  // the question stays open for 30 s; the answer is No
        QVERIFY(!Forms::Unload(b.form));
        QCOMPARE(b.d.dialogs->shown.back().text,
                 QString("Are you sure you want to exit the program?"));
        QCOMPARE(b->Paused, 0);
        b.RunUntil(1040.2f);
        QCOMPARE(ClockOf(b.Caption()), QString("0:00:10"));
    }

    void minimizingPausesAndRestoringDoesNot() {
        Board b;
        b->Image2_Click(0);
        b.RunUntil(1005);
        b->showMinimized();
        QCoreApplication::processEvents();
        QCOMPARE(b->Paused, 1);
        QVERIFY(!b->Label3->isVisible());
        b->showNormal();
        QCoreApplication::processEvents();
        QCOMPARE(b->Paused, 1);
        b->Image2_Click(1);
        QCOMPARE(b->Paused, 0);
    }

    void keysFromQtPauseAndResume() {
        Board b;
        b->Image2_Click(0);
        QTest::keyPress(b.form, Qt::Key_P);
        QCOMPARE(b->Paused, 1);
        // Held: Qt repeats the press and release pair.
        QTest::keyRelease(b.form, Qt::Key_P, Qt::NoModifier, -1);
        QTest::keyPress(b.form, Qt::Key_P);
        QCOMPARE(b->Paused, 1);
        QTest::keyRelease(b.form, Qt::Key_P);
        QCoreApplication::processEvents();
        QTest::keyClick(b.form, Qt::Key_A);
        QCOMPARE(b->Paused, 0);
    }

    // P within the 100 ms between the first click of a fresh window and its
    // first tick: the paused tick has nothing before it to cut out.
    void aPauseBeforeTheFirstTickMovesNothing() {
        Board b;
        b->Image2[4]->setGeometry(10, 10, 40, 40);
        QTest::mouseClick(b->Image2[4], Qt::LeftButton);
        b.Later(0.05f);
        QTest::keyClick(b->Picture1, Qt::Key_P);
        QCOMPARE(b->Paused, 1);
        b.Later(0.05f);
        b->Timer1_Timer();
        QVERIFY(b->BoardClock.StartTime <= b.Now());
        QTest::keyClick(b->Picture1, Qt::Key_Space);
        QCOMPARE(b->Paused, 0);
        b.RunUntil(1005.1f);
        QCOMPARE(ClockOf(b.Caption()), QString("0:00:05"));
    }

    // The same after a restart: the last tick of the board before must not
    // count as paused time of the restarted one.
    void aRestartedBoardCountsFromItsOwnFirstClick() {
        Board b;
        b->Image2_Click(0);
        b.RunUntil(1010);
        b->mnuRstrt_Click();
        b.At(1500);
        b->Image2_Click(3);
        b.Later(0.05f);
        QTest::keyClick(b->Picture1, Qt::Key_P);
        b.Later(0.05f);
        b->Timer1_Timer();
        QTest::keyClick(b->Picture1, Qt::Key_A);
        b.RunUntil(1503.1f);
        QCOMPARE(ClockOf(b.Caption()), QString("0:00:03"));
    }

    // Keys without a code of their own in the game's table used to be
    // dropped before the pause saw them.
    void everyKeyButMinusAndPlusEndsAPause() {
        Board b;
        b->Image2_Click(0);
        const QList<Qt::Key> keys = {Qt::Key_Period,    Qt::Key_Comma,   Qt::Key_Slash,
                                     Qt::Key_Semicolon, Qt::Key_Home,    Qt::Key_Insert,
                                     Qt::Key_PageDown,  Qt::Key_Alt,     Qt::Key_Exclam,
                                     Qt::Key_F13,       Qt::Key_Launch0, Qt::Key_unknown};
        // As the window system delivers them, keys QTest has no text for included.
        auto click = [&b](Qt::Key key) {
            const Qt::KeyboardModifiers mods =
                key == Qt::Key_Alt ? Qt::AltModifier : Qt::NoModifier;
            QKeyEvent press(QEvent::KeyPress, key, mods);
            QApplication::sendEvent(b->Picture1, &press);
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
            QApplication::sendEvent(b->Picture1, &release);
        };
        for (Qt::Key key : keys) {
            QTest::keyClick(b->Picture1, Qt::Key_P);
            QCOMPARE(b->Paused, 1);
            click(key);
            QVERIFY2(b->Paused == 0, qPrintable(QKeySequence(key).toString()));
            QVERIFY(!b->Label3->isVisible());
        }
        QTest::keyClick(b->Picture1, Qt::Key_P);
        for (Qt::Key key : {Qt::Key_Minus, Qt::Key_Equal}) {
            QTest::keyClick(b->Picture1, key);
            QCOMPARE(b->Paused, 1);
        }
    }

    void lostFocusPausesWithoutTheMessage() {
        Board b;
        b->Image2_Click(0);
        b->Picture1_LostFocus();
        QCOMPARE(b->Paused, 1);
        QVERIFY(!b->Label3->isVisible());
        b->Form_KeyDown(vk::Space, 0);
        QCOMPARE(b->Paused, 0);
    }
};
TAVIMO_TEST(ClockTest);

// Every delay is measured on the monotonic clock; the fake clock crosses
// midnight while a step is pending.
class MidnightTest : public QObject {
    Q_OBJECT
private slots:
    void aMissTurnedJustBeforeMidnightGoesDown() {
        Board b(8, 86399.5f);  // Slow: 2 s
        b->Image2_Click(0);
        b->Image2_Click(1);
        b.Later(2.0f);
        b->Timer2_Timer();
        QVERIFY(b.Up(0) && b.Up(1));
        b.Later(0.1f);
        b->Timer2_Timer();
        QVERIFY(b.Down(0) && b.Down(1));
    }

    void theResultWindowOpensAcrossMidnight() {
        Board b(8, 86399);
        WriteBest(b.folder, All(30000));
        b.PlayAllPairs(0.1f);
        QCOMPARE(b->EndStep, 1);
        b.Later(1.5f);
        b->Timer2_Timer();
        QVERIFY(!Forms::IfLoaded<Form6>());
        b.Later(0.1f);
        b->Timer2_Timer();
        QVERIFY(Forms::IfLoaded<Form6>() && Forms::IfLoaded<Form6>()->isVisible());
        QCOMPARE(b->EndStep, 4);
    }

    void theWinnerEntryOpensAcrossMidnight() {
        Board b(8, 86399.5f);
        b.PlayAllPairs(0.01f);
        QCOMPARE(b->EndStep, 2);
        QVERIFY(!b->isEnabled());
        b.Later(1.1f);
        b->Timer2_Timer();
        Form7* winner = Forms::IfLoaded<Form7>();
        QVERIFY(winner && winner->isVisible());
    }

    // The clock shows a running board across midnight by its own rule; the
    // bonus of a board finished after midnight, before the next tick, must
    // use that rule too (it used to be a day too large).
    void aBoardFinishedJustAfterMidnightGetsItsBonus() {
        Board b(8, 86390);
        WriteBest(b.folder, All(30000));
        b->Image2_Click(0);
        b.RunUntil(86399.9f);
        b.At(0.5f);  // the next day, no tick yet
        b->Image2_Click(8);
        for (int k = 1; k < 8; ++k) {
            b->Image2_Click(k);
            b->Image2_Click(k + 8);
        }
        // About 10 s of a 32-s par.
        QVERIFY2(Module1.Bonus > 200 && Module1.Bonus < 230, qPrintable(num::Text(Module1.Bonus)));
    }
};
TAVIMO_TEST(MidnightTest);

class EndOfBoardTest : public QObject {
    Q_OBJECT
private slots:
    void bonusAndTotalInTheCaption() {
        Board b;
        WriteBest(b.folder, All(30000));  // nothing ranks
        b.FinishAt(1000 + 20.37f);
        QCOMPARE(b->GameState, 2);
        QCOMPARE(Module1.Bonus, 116.0);
        QCOMPARE(Module1.TotalScore, 1016.0);
        QCOMPARE(Module1.BoardPairs, 8);
        QVERIFY2(b.Caption().endsWith("    Bonus 116    Total Score 1016"),
                 qPrintable(b.Caption()));
        QCOMPARE(Module1.HighScoreRank, -1);
        QCOMPARE(b->EndStep, 1);
        QVERIFY(b->isEnabled());
        // The end caption stays.
        const QString caption = b.Caption();
        b.Later(5);
        b->Timer1_Timer();
        QCOMPARE(b.Caption(), caption);
    }

    void noBonusAtOrOverPar() {
        Board b;
        WriteBest(b.folder, All(30000));
        b.FinishAt(1032);
        QCOMPARE(Module1.Bonus, 0.0);
        QCOMPARE(Module1.TotalScore, 900.0);
    }

    void timeColumnIsTheLastDisplayedClock() {
        Board b;
        WriteBest(b.folder, All(30000));
        b->Image2_Click(0);
        b.RunUntil(1065);
        b->Image2_Click(8);
        for (int k = 1; k < 8; ++k) {
            b->Image2_Click(k);
            b->Image2_Click(k + 8);
        }
        QCOMPARE(Module1.BoardTime, QString("0:01:05"));
    }

    void rankedTotalDisablesTheWindow() {
        Board b;
        // No best.txt: an empty table.
        b.PlayAllPairs();
        QCOMPARE(Module1.HighScoreRank, 1);
        QCOMPARE(b->EndStep, 2);
        QVERIFY(!b->isEnabled());
        b.Later(1.0f);
        b->Timer2_Timer();
        QCOMPARE(b->EndStep, 2);
        b.Later(0.1f);
        b->Timer2_Timer();
        QCOMPARE(b->EndStep, 4);
        QVERIFY(!Forms::IfLoaded<Form6>());
        Form7* winner = Forms::IfLoaded<Form7>();
        QVERIFY(winner && winner->isVisible());
        // The match device stays open on the way to the winner entry.
        QVERIFY(!b.d.sounds->contains("Close " + b->MMControl1->FileName));
    }

    // The result window, the winner entry and About belong to the game
    // window: a click on it (disabled or not) never hides them.
    void windowsOfTheBoardStayAboveTheGameWindow() {
        Board b;
        b.PlayAllPairs();
        b.Later(1.1f);
        b->Timer2_Timer();
        Form7* winner = Forms::IfLoaded<Form7>();
        QVERIFY(winner && winner->windowHandle());
        QCOMPARE(winner->windowHandle()->transientParent(), b->windowHandle());
        Forms::DiscardAll();

        Board c;
        WriteBest(c.folder, All(30000));
        c.PlayAllPairs();
        c.Later(1.6f);
        c->Timer2_Timer();
        Form6* result = Forms::IfLoaded<Form6>();
        QVERIFY(result && result->windowHandle());
        QCOMPARE(result->windowHandle()->transientParent(), c->windowHandle());
        c->mnuAbout_Click();
        QCOMPARE(Forms::Get<Form8>().windowHandle()->transientParent(), c->windowHandle());
    }

    // Message boxes take the active window as theirs, never the splash.
    void messageBoxesBelongToAWindowWithAFrame() {
        Board b;
        frmSplash& splash = Forms::Get<frmSplash>();
        splash.show();
        QApplication::setActiveWindow(&splash);
        QCOMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&splash));
        QCOMPARE(RealDialogs::Owner(), static_cast<QWidget*>(b.form));
        b->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(b.form));
        QCOMPARE(RealDialogs::Owner(), static_cast<QWidget*>(b.form));
    }

    void equalTotalTakesThatRowsPlace() {
        Board b;
        WriteBest(b.folder, {2000, 1500, 900, 800, 700, 600, 500, 400, 300, 200});
        b.FinishAt(1100);  // no bonus: 100 + 8 x 100
        QCOMPARE(Module1.TotalScore, 900.0);
        QCOMPARE(Module1.HighScoreRank, 3);
        QCOMPARE(b->EndStep, 2);
        // The table was read for the ranking.
        QCOMPARE(Module1.BestScores[0], int16_t(2000));
    }

    void negativeTotalShowsTheResultAfterOneAndAHalfSeconds() {
        Board b;
        WriteBest(b.folder, All(0));
        b->Play.SetScore(-2000);
        b.PlayAllPairs(10);
        QCOMPARE(Module1.HighScoreRank, -1);
        QCOMPARE(b->EndStep, 1);
        b.Later(1.5f);
        b->Timer2_Timer();
        QVERIFY(!Forms::IfLoaded<Form6>());
        b.Later(0.1f);
        b->Timer2_Timer();
        Form6* result = Forms::IfLoaded<Form6>();
        QVERIFY(result);
        QVERIFY(result->isVisible());
        QCOMPARE(result->windowTitle(), QString("Board Completed"));
        QCOMPARE(result->Label2->text(), QString("8"));
        QCOMPARE(result->Label9->text(), QString("-1200"));
        QCOMPARE(result->Label10->text(), b->Clock.Text());
        QCOMPARE(result->Label11->text(), QString("0"));
        QCOMPARE(result->Label12->text(), QString("-1200"));
        QCOMPARE(b->EndStep, 4);
        QVERIFY(b.d.sounds->last().startsWith("Close "));
        // Shown once.
        b.Later(5);
        b->Timer2_Timer();
        QCOMPARE(b.d.sounds->count("Close " + b->MMControl1->FileName), 1);
    }

    // The pending result belongs to the board that finished: a restart
    // within the delay, by the menu or by F6, drops it. It used to show the
    // old board's result over the new one and close the sound device the
    // restart had just opened, which left the new board's matches silent.
    void restartDuringTheDelayDropsTheResult() {
        for (const bool byKey : {false, true}) {
            Board b;
            WriteBest(b.folder, All(30000));
            b.PlayAllPairs();
            QCOMPARE(b->EndStep, 1);
            b->Timer2->start();
            b.Later(0.5f);
            if (byKey) {
                b->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(b.form));
                QTest::keyClick(b.form, Qt::Key_F6);
            } else {
                b->mnuRstrt->trigger();
            }
            QCOMPARE(b->GameState, 0);
            QCOMPARE(b.Caption(), QString("Tavimo   Score:  100       Time 0:0:0"));
            // The window's own timer runs on well past the delay.
            b.Later(1.5f);
            QTest::qWait(350);
            QVERIFY(!Forms::IfLoaded<Form6>());
            // The new board's first match is heard.
            b->Image2_Click(0);
            b->Image2_Click(8);
            const QString file = b->MMControl1->FileName;
            QCOMPARE(b.d.sounds->mid(b.d.sounds->size() - 3),
                     QStringList({"Open " + file, "Prev " + file, "Play " + file}));
            QVERIFY(!b.d.sounds->contains("Close " + file));
            Forms::DiscardAll();
        }
    }

    // A new deal unloads the finished board's window quietly; its pending
    // step goes with it.
    void aNewDealDuringTheDelayDropsTheResult() {
        Board b;
        WriteBest(b.folder, All(30000));
        b.PlayAllPairs();
        b->Timer2->start();
        const QString file = b->MMControl1->FileName;
        b.Later(0.5f);
        b->Redeal();
        b.Later(1.5f);
        QTest::qWait(350);
        QVERIFY(!Forms::IfLoaded<Form6>());
        QVERIFY(!b.d.sounds->contains("Close " + file));
    }

    void hugeTotalIsClampedBeforeRanking() {
        Board b;
        WriteBest(b.folder, All(32767));
        b->Play.SetScore(40000);
        b.PlayAllPairs();
        QCOMPARE(Module1.TotalScore, 32767.0);
        QCOMPARE(Module1.HighScoreRank, 1);
    }
};
TAVIMO_TEST(EndOfBoardTest);

class SoundTest : public QObject {
    Q_OBJECT
private slots:
    void matchesPlayWhileTheSwitchIsOn() {
        Board b;
        b->Image2_Click(0);
        b->Image2_Click(8);
        b->Image2_Click(1);
        b->Image2_Click(9);
        const QString file = b->MMControl1->FileName;
        QCOMPARE(*b.d.sounds,
                 QStringList({"Prev " + file, "Play " + file, "Prev " + file, "Play " + file}));
    }

    void withSoundOffNothingPlays() {
        Board b;
        WriteBest(b.folder, All(30000));
        b->mnuSnd->setChecked(false);
        b->MMControl1->FileName = "x";
        b.PlayAllPairs();
        b.Later(2);
        b->Timer2_Timer();
        Form6* result = Forms::IfLoaded<Form6>();
        QVERIFY(result);
        result->Timer1_Timer();
        QVERIFY(!result->Timer1->isActive());
        result->OK_Click();
        for (const QString& c : *b.d.sounds)
            QVERIFY2(!c.startsWith("Prev") && !c.startsWith("Play"), qPrintable(c));
        QVERIFY(b.d.sounds->contains("Close x"));
        QVERIFY(b.d.sounds->contains("Close " + QDir(b.folder.Path()).filePath("Sound/End.wav")));
    }
};
TAVIMO_TEST(SoundTest);

namespace {
// The board laid out for the default window, as a deal leaves it: card k
// shows picture k mod 8 (lion0.jpg ... lion7.jpg).
void LaidOut(Board& b) {
    b->resize(twips::ToPixels(9550), twips::ToPixels(6750));
    QImage face(8, 8, QImage::Format_RGB32);
    face.fill(Qt::yellow);
    for (int k = 0; k < b->CardCount; ++k)
        b->Face(k)->SetPicture(face, QString("/pics/lion%1.jpg").arg(k % b->PairCount));
    b->ChooseCardSize();
    b->ComputeGrid();
    b->ShuffleCards();
}
// The slot under the focus frame, found by where the frame is drawn.
int SlotUnderFrame(Board& b) {
    for (int k = 0; k < b->CardCount; ++k)
        if (b->KeyFrame->geometry().contains(b->Image2[k]->geometry()) &&
            b->KeyFrame->geometry().center() == b->Image2[k]->geometry().center())
            return b->CardSlot[k];
    return -1;
}
}  // namespace

// Playing with the keyboard only: arrows move a frame over the cards,
// Space and Return turn the card under it.
class KeyboardPlayTest : public QObject {
    Q_OBJECT
private slots:
    void arrowsVisitEveryCardAndWrapAtRowEnds() {
        Board b;
        LaidOut(b);
        QVERIFY(!b->KeyFrame->isVisible());
        const auto key = [&b](Qt::Key k) {
            QTest::keyClick(b->Picture1, k);
            return SlotUnderFrame(b);
        };
        // Right from nothing starts at the top left card, then walks on.
        std::vector<int> visited{key(Qt::Key_Right)};
        QVERIFY(b->KeyFrame->isVisible());
        for (int i = 1; i < b->CardCount; ++i) visited.push_back(key(Qt::Key_Right));
        // Every card once, row by row and left to right within a row.
        const auto before = [&b](int s, int t) {
            const board::BoardGrid& g = b->Grid;
            return g.SlotY[s] < g.SlotY[t] || (g.SlotY[s] == g.SlotY[t] && g.SlotX[s] < g.SlotX[t]);
        };
        for (size_t i = 1; i < visited.size(); ++i)
            QVERIFY2(before(visited[i - 1], visited[i]), qPrintable(QString::number(i)));
        QVERIFY(b->Grid.GridRows > 1);
        const int first = visited.front(), last = visited.back();
        QCOMPARE(key(Qt::Key_Right), first);  // past the last card: the first
        QCOMPARE(key(Qt::Key_Left), last);
        QCOMPARE(key(Qt::Key_Right), first);
        // Down keeps the column; Up from the top row goes to the bottom row.
        const int below = key(Qt::Key_Down);
        QCOMPARE(b->Grid.SlotX[below], b->Grid.SlotX[first]);
        QVERIFY(b->Grid.SlotY[below] > b->Grid.SlotY[first]);
        QCOMPARE(key(Qt::Key_Up), first);
        const int bottom = key(Qt::Key_Up);
        QCOMPARE(b->Grid.SlotY[bottom], b->Grid.SlotY[last]);
        QCOMPARE(b->Grid.SlotX[bottom], b->Grid.SlotX[first]);

        // The frame stays on its card when the window changes size.
        b->resize(b->width() + 150, b->height() + 90);
        QCOMPARE(SlotUnderFrame(b), bottom);
    }

    void spaceAndReturnTurnTheCardLikeAClick() {
        Board b;
        LaidOut(b);
        const int n = b->PairCount;
        // To the slot of card 0 and turn it with Space.
        const auto focusCard = [&b](int card) {
            QTest::keyClick(b->Picture1, Qt::Key_Right);
            while (b->CardAtSlot(SlotUnderFrame(b)) != card)
                QTest::keyClick(b->Picture1, Qt::Key_Right);
        };
        focusCard(0);
        QTest::keyClick(b->Picture1, Qt::Key_Space);
        QVERIFY(b.Up(0));
        QCOMPARE(b->GameState, 1);  // the first card started the clock
        QCOMPARE(b->CardsUp, 1);
        // Its pair with Return: a match, with the match sound.
        focusCard(n);
        QTest::keyClick(b->Picture1, Qt::Key_Return);
        QVERIFY(b.Up(n));
        QCOMPARE(b->PairsFound, 1);
        QCOMPARE(b->Score, 200.0);
        const QString match = b.folder.Path() + "/Sound/Match.wav";
        QCOMPARE(b.d.sounds->last(), "Play " + match);
        // A face already up: as clicking it, nothing turns.
        b.d.sounds->clear();
        QTest::keyClick(b->Picture1, Qt::Key_Space);
        QCOMPARE(b->CardsUp, 0);
        QCOMPARE(b->Score, 200.0);
        QVERIFY(b.d.sounds->isEmpty());

        // A held Space turns one card, not one per repeat.
        focusCard(1);
        QTest::qWait(KeyRepeatFilter::ReleaseGraceMs + 30);  // the last key is let go
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
        QApplication::sendEvent(b->Picture1, &press);
        for (int i = 0; i < 3; ++i) {
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ", true);
            QApplication::sendEvent(b->Picture1, &release);
            QKeyEvent again(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);
            QApplication::sendEvent(b->Picture1, &again);
        }
        QVERIFY(b.Up(1));
        QCOMPARE(b->CardsUp, 1);
    }

    // Every key but minus and plus ends a pause; an arrow key also moves
    // the frame, as a click on a card ends the pause and turns it.
    void anArrowEndsAPauseAndMoves() {
        Board b;
        LaidOut(b);
        QTest::keyClick(b->Picture1, Qt::Key_Right);
        QTest::keyClick(b->Picture1, Qt::Key_Space);
        const int start = SlotUnderFrame(b);
        QTest::keyClick(b->Picture1, Qt::Key_P);
        QCOMPARE(b->Paused, 1);
        QTest::keyClick(b->Picture1, Qt::Key_Right);
        QCOMPARE(b->Paused, 0);
        QVERIFY(!b->Label3->isVisible());
        QVERIFY(SlotUnderFrame(b) != start);
        // Minus and plus neither end a pause nor move the frame.
        const int at = SlotUnderFrame(b);
        QTest::keyClick(b->Picture1, Qt::Key_P);
        for (Qt::Key k : {Qt::Key_Minus, Qt::Key_Equal}) {
            QTest::keyClick(b->Picture1, k);
            QCOMPARE(b->Paused, 1);
            QCOMPARE(SlotUnderFrame(b), at);
        }
    }
};
TAVIMO_TEST(KeyboardPlayTest);

namespace {
QAccessibleInterface* Access(QObject* o) {
    return QAccessible::queryAccessibleInterface(o);
}

// Every text a screen reader could read anywhere in the window: each
// object's texts down the accessible tree, and each widget's own names and
// tips, whether or not the tree reaches it.
QStringList EveryText(QWidget* window) {
    QStringList texts;
    const auto textsOf = [&texts](QAccessibleInterface* iface) {
        for (auto t : {QAccessible::Name, QAccessible::Description, QAccessible::Value,
                       QAccessible::Help, QAccessible::Accelerator, QAccessible::UserText})
            texts << iface->text(t);
    };
    std::function<void(QAccessibleInterface*, int)> walk = [&](QAccessibleInterface* iface,
                                                               int depth) {
        if (!iface || depth > 20) return;
        textsOf(iface);
        for (int i = 0; i < iface->childCount(); ++i) walk(iface->child(i), depth + 1);
    };
    walk(Access(window), 0);
    for (QWidget* w : window->findChildren<QWidget*>()) {
        texts << w->objectName() << w->toolTip() << w->whatsThis() << w->statusTip()
              << w->accessibleName() << w->accessibleDescription();
        textsOf(Access(w));
    }
    return texts;
}

// The pictures of the face-down cards that some text names.
QStringList Leaks(Board& b) {
    QStringList leaks;
    const QStringList texts = EveryText(b.form);
    QStringList shown;  // a picture on a card face up may be named
    for (int k = 0; k < b->CardCount; ++k)
        if (b->Play.CardAt(k) != board::Card::Down)
            shown << QFileInfo(b->Play.PictureOf(k)).completeBaseName();
    for (int k = 0; k < b->CardCount; ++k) {
        const QString picture = QFileInfo(b->Play.PictureOf(k)).completeBaseName();
        if (shown.contains(picture)) continue;
        for (const QString& t : texts)
            if (t.contains(picture) || t.contains(".jpg") || t.contains("lion"))
                leaks << QString("card %1: %2").arg(k).arg(t);
    }
    return leaks;
}

QAccessibleInterface* CardOfBoard(Board& b, int k) {
    QAccessibleInterface* board = Access(b->Picture1);
    const std::vector<int> order = board::ReadingOrder(b->Grid, b->CardCount);
    const int rank =
        static_cast<int>(std::find(order.begin(), order.end(), b->CardSlot[k]) - order.begin());
    return board->child(rank);
}

void Press(QAccessibleInterface* card) {
    card->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
}

QAccessibleInterface* StatusOf(Board& b) {
    for (QWidget* w : b->ClientArea->findChildren<QWidget*>()) {
        QAccessibleInterface* iface = Access(w);
        if (iface && iface->role() == QAccessible::StatusBar) return iface;
    }
    return nullptr;
}
}  // namespace

// The board as a screen reader reads and plays it.
class ScreenReaderTest : public QObject {
    Q_OBJECT
private slots:
    void cardsAreButtonsInReadingOrderThatNeverTellAFaceDownPicture() {
        Board b;
        LaidOut(b);
        QAccessibleInterface* board = Access(b->Picture1);
        QCOMPARE(board->childCount(), b->CardCount);
        const std::vector<int> order = board::ReadingOrder(b->Grid, b->CardCount);
        int row = 1, column = 0;
        for (int r = 0; r < board->childCount(); ++r) {
            QAccessibleInterface* card = board->child(r);
            QCOMPARE(card->role(), QAccessible::Button);
            QCOMPARE(board->indexOfChild(card), r);
            QCOMPARE(card->parent(), board);
            if (r > 0 && b->Grid.SlotY[order[r]] != b->Grid.SlotY[order[r - 1]]) {
                ++row;
                column = 0;
            }
            ++column;
            QCOMPARE(
                card->text(QAccessible::Name),
                QString("Card %1, row %2, column %3, face down").arg(r + 1).arg(row).arg(column));
            // Where the card lies on the screen: the reader's pointer finds it there.
            const int k = b->CardAtSlot(order[r]);
            QCOMPARE(card->rect(),
                     QRect(b->Image2[k]->mapToGlobal(QPoint(0, 0)), b->Image2[k]->size()));
            QCOMPARE(board->childAt(card->rect().center().x(), card->rect().center().y()), card);
        }
        QVERIFY(row > 1);
        QVERIFY2(Leaks(b).isEmpty(), qPrintable(Leaks(b).join('\n')));

        // Turned, matched, missed: each card tells what it shows, and only that.
        const int n = b->PairCount;
        Press(CardOfBoard(b, 2));
        QVERIFY(b.Up(2));
        QCOMPARE(b->CardsUp, 1);
        QVERIFY(CardOfBoard(b, 2)->text(QAccessible::Name).endsWith(", p2"));
        QVERIFY2(Leaks(b).isEmpty(), qPrintable(Leaks(b).join('\n')));
        Press(CardOfBoard(b, 2 + n));
        QVERIFY(CardOfBoard(b, 2)->text(QAccessible::Name).endsWith(", p2, matched"));
        QVERIFY(CardOfBoard(b, 2 + n)->text(QAccessible::Name).endsWith(", p2, matched"));
        Press(CardOfBoard(b, 0));
        Press(CardOfBoard(b, 1));
        QVERIFY(CardOfBoard(b, 1)->text(QAccessible::Name).endsWith(", p1"));
        QVERIFY2(Leaks(b).isEmpty(), qPrintable(Leaks(b).join('\n')));
        // A third card turns the missed pair down: their pictures go from the names.
        Press(CardOfBoard(b, 3));
        QVERIFY(b.Down(0) && b.Down(1));
        QVERIFY(CardOfBoard(b, 0)->text(QAccessible::Name).endsWith(", face down"));
        QVERIFY2(Leaks(b).isEmpty(), qPrintable(Leaks(b).join('\n')));
        // A restart deals the pictures elsewhere: all down again, still nothing told.
        b->mnuRstrt_Click();
        QVERIFY2(Leaks(b).isEmpty(), qPrintable(Leaks(b).join('\n')));
    }

    void tabArrowsAndSpacePlayTheFocusedCard() {
        Board b;
        LaidOut(b);
        b->activateWindow();
        b->Picture1->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(b->Picture1->hasFocus());
        QAccessibleInterface* board = Access(b->Picture1);
        QCOMPARE(board->focusChild(), nullptr);
        // Tab puts the focus on the first card in reading order.
        QTest::keyClick(b->Picture1, Qt::Key_Tab);
        QCOMPARE(board->focusChild(), board->child(0));
        QVERIFY(board->child(0)->state().focused);
        QVERIFY(b->KeyFrame->isVisible());
        QTest::keyClick(b->Picture1, Qt::Key_Right);
        QCOMPARE(board->focusChild(), board->child(1));
        QVERIFY(!board->child(0)->state().focused);
        QTest::keyClick(b->Picture1, Qt::Key_Space);
        const int k = b->CardAtSlot(board::ReadingOrder(b->Grid, b->CardCount)[1]);
        QVERIFY(b.Up(k));
        QVERIFY(board->child(1)->text(QAccessible::Name).endsWith(QString(", p%1").arg(k % 8)));
        // The second card of the turn carries what the turn did, until the focus moves on.
        QTest::keyClick(b->Picture1, Qt::Key_Right);
        QTest::keyClick(b->Picture1, Qt::Key_Space);
        const QString said = StatusOf(b)->text(QAccessible::Name);
        QVERIFY(said.contains("atch"));
        QCOMPARE(board->child(2)->text(QAccessible::Description), said);
        QTest::keyClick(b->Picture1, Qt::Key_Right);
        QCOMPARE(board->child(2)->text(QAccessible::Description), QString());
        QCOMPARE(board->child(3)->text(QAccessible::Description), QString());
        // The focus action moves the frame; the board keeps the keyboard.
        board->child(4)->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
        QCOMPARE(board->focusChild(), board->child(4));
        QCOMPARE(SlotUnderFrame(b), board::ReadingOrder(b->Grid, b->CardCount)[4]);
        // A disabled window (the winner entry in front) takes no press, as it takes no click.
        b->setEnabled(false);
        const int up = b->CardsUp;
        Press(board->child(5));
        QCOMPARE(b->CardsUp, up);
        QVERIFY(board->child(5)->state().disabled);
    }

    void theStatusLineSaysEachTurnOnceAndNotEachSecond() {
        Board b(4);
        LaidOut(b);
        QAccessibleInterface* status = StatusOf(b);
        QVERIFY(status);
        QSignalSpy said(b->Access, &BoardAccess::announced);
        QCOMPARE(status->text(QAccessible::Name), QString("Score 100."));
        const int n = b->PairCount;
        Press(CardOfBoard(b, 0));
        b.RunUntil(b.Now() + 3);
        Press(CardOfBoard(b, 1));
        QCOMPARE(status->text(QAccessible::Name), QString("No match. Score 75."));
        QCOMPARE(said.size(), 1);
        // Seconds pass: the value follows the title without a word said.
        b.RunUntil(b.Now() + 5);
        QVERIFY2(status->text(QAccessible::Value).startsWith("Score 75. Time 0:00:0"),
                 qPrintable(status->text(QAccessible::Value)));
        QCOMPARE(ClockOf(b->windowTitle()),
                 status->text(QAccessible::Value).section("Time ", 1).chopped(1));
        QCOMPARE(said.size(), 1);
        Press(CardOfBoard(b, 0 + n));
        Press(CardOfBoard(b, 0));
        QCOMPARE(status->text(QAccessible::Name), QString("Match: p0. Score 175."));
        QCOMPARE(said.size(), 2);
        for (int k = 1; k < n; ++k) {
            Press(CardOfBoard(b, k));
            Press(CardOfBoard(b, k + n));
        }
        // The last pair and the board's result in one line.
        QVERIFY2(status->text(QAccessible::Name)
                     .startsWith("Match: p3. Score 475. Board complete. Score 475. Bonus "),
                 qPrintable(status->text(QAccessible::Name)));
        QVERIFY(status->text(QAccessible::Name).contains(". Total "));
        // A screen reader speaks the line from the notification that shows it.
        QCOMPARE(status->child(0)->role(), QAccessible::Notification);
        QCOMPARE(status->child(0)->text(QAccessible::Name), status->text(QAccessible::Name));
        QCOMPARE(said.size(), 2 + n - 1);
        // The status line lies outside the board and shows nothing.
        QVERIFY(!status->rect().intersects(
            QRect(b->Picture1->mapToGlobal(QPoint(0, 0)), b->Picture1->size())));
    }

    // Every control the Tab key reaches says what it is.
    void everyFocusableControlHasAName() {
        Board b;
        const QString caption = b->Play.PictureOf(0);
        QList<QWidget*> windows{b.form,
                                &Forms::Get<Form1>(),
                                &Forms::Get<Form3>(ViewerPicture{caption, caption, QImage()}),
                                &Forms::Get<Form4>(),
                                &Forms::Get<Form6>(),
                                &Forms::Get<Form7>(),
                                &Forms::Get<Form8>(),
                                &Forms::Get<frmSplash>()};
        for (QWidget* window : windows) {
            QVERIFY2(!Access(window)->text(QAccessible::Name).isEmpty(),
                     window->metaObject()->className());
            for (QWidget* w : window->findChildren<QWidget*>()) {
                if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(window)) continue;
                const QString what = QString(window->metaObject()->className()) + " " +
                                     w->metaObject()->className() + " " + w->objectName();
                QVERIFY2(!Access(w)->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(what));
            }
        }
        Form1& config = Forms::Get<Form1>();
        QCOMPARE(Access(config.Label13)->role(), QAccessible::Button);
        QCOMPARE(Access(config.Label14)->text(QAccessible::Name), QString("Remove"));
        // A combo box says its value as its name; its caption is its label.
        for (QWidget* combo :
             {static_cast<QWidget*>(config.Combo1), static_cast<QWidget*>(config.Drive1)}) {
            const auto labels = Access(combo)->relations(QAccessible::Label);
            QVERIFY(!labels.isEmpty());
            QVERIFY(!labels.first().first->text(QAccessible::Name).isEmpty());
        }
        QAccessibleInterface* bar = Access(Forms::Get<frmSplash>().ProgressBar1);
        QCOMPARE(bar->text(QAccessible::Name), QString("Loading pictures"));
        QVERIFY(bar->valueInterface());
        QCOMPARE(Access(Forms::Get<Form4>().Image1)->text(QAccessible::Name), QString("Trophy"));
    }

    void highScoresReadAsATableRowByRow() {
        Board b;
        WriteBest(b.folder, {900, 800, 0, 0, 0, 0, 0, 0, 0, 0});
        Form4& best = Forms::Get<Form4>();
        best.Best();
        QAccessibleInterface* table = Access(best.Table);
        QCOMPARE(table->role(), QAccessible::Table);
        QCOMPARE(table->text(QAccessible::Name), QString("High scores"));
        QAccessibleTableInterface* t = table->tableInterface();
        QCOMPARE(t->rowCount(), 10);
        QCOMPARE(t->columnCount(), 5);
        QStringList headers, second, third;
        for (int c = 0; c < 5; ++c) {
            headers << t->columnDescription(c);
            second << t->cellAt(1, c)->text(QAccessible::Name);
            third << t->cellAt(2, c)->text(QAccessible::Name);
        }
        QCOMPARE(headers, (QStringList{"Rank", "Name", "Score", "Time", "Board"}));
        QCOMPARE(second, (QStringList{"2", "Player 2", "800", "0:01:00", "8"}));
        QCOMPARE(third, (QStringList{"3", "", "0", "", ""}));  // a free row
        // Nothing of it shows on the window, but once the keyboard is used its
        // current row is framed on the columns, and the frame follows the row.
        QVERIFY(best.Table->geometry().intersected(best.rect()).isEmpty());
        best.show();
        QVERIFY(QTest::qWaitForWindowExposed(&best));
        best.activateWindow();
        QTRY_VERIFY(best.Table->hasFocus());  // a screen reader starts on the table
        QCOMPARE(best.Table->currentRow(), 0);
        const QImage opened = best.grab().toImage();
        // Before any key, the window looks as it always did.
        best.Cue->hide();
        QCOMPARE(best.grab().toImage(), opened);
        best.Cue->Refresh();
        QTest::keyClick(best.Table, Qt::Key_Down);
        QCOMPARE(best.Table->currentRow(), 1);
        QTRY_VERIFY(best.grab().toImage() != opened);
        QVERIFY(best.Cue->isVisible());
        QCOMPARE(best.Cue->geometry(), best.RowArea(1));
        QVERIFY(best.RowArea(0).intersects(best.Label4->geometry()));
        QCOMPARE(best.RowArea(1).top() - best.RowArea(0).top(),
                 QFontMetrics(best.Label4->font()).lineSpacing());
        QTest::keyClick(best.Table, Qt::Key_Tab);
        QVERIFY(!best.Table->hasFocus());
        QVERIFY(!best.Cue->isVisible());
    }
};
TAVIMO_TEST(ScreenReaderTest);

class ResultWindowTest : public QObject {
    Q_OBJECT
private slots:
    void endSoundOnceAfterOpening() {
        Board b;
        b->resize(twips::ToPixels(9550), twips::ToPixels(6750));
        // Opened as the game window opens it, handing itself over.
        Form6& r = Forms::Get<Form6>(gamewindow::Link(b.form));
        QVERIFY(r.Timer1->isActive());
        const QString end = b.folder.Path() + "/Sound/End.wav";
        QCOMPARE(r.MMControl1->FileName, end);
        QVERIFY(b.d.sounds->isEmpty());
        r.Timer1_Timer();
        QCOMPARE(*b.d.sounds, QStringList({"Open " + end, "Prev " + end, "Play " + end}));
        QVERIFY(!r.Timer1->isActive());
        r.OK_Click();
        QCOMPARE(b.d.sounds->last(), "Close " + end);
        FlushDeletes();
        QVERIFY(!Forms::IfLoaded<Form6>());
    }

    void returnAndEscapeCloseLikeOk() {
        Board b;
        const QString end = b.folder.Path() + "/Sound/End.wav";
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            Form6& r = Forms::Get<Form6>();
            r.show();
            r.Timer1_Timer();
            QTest::keyClick(&r, key);
            QCOMPARE(b.d.sounds->last(), "Close " + end);  // OK's own step ran
            FlushDeletes();
            QVERIFY(!Forms::IfLoaded<Form6>());
            b.d.sounds->clear();
        }
    }

    void placedOnTheGameWindowsSizeFromTheScreenCorner() {
        Board b;
        b->move(300, 200);
        b->resize(twips::ToPixels(9550), twips::ToPixels(6750));
        // Opened as the game window opens it, handing itself over.
        Form6& r = Forms::Get<Form6>(gamewindow::Link(b.form));
        const double gw = twips::FromPixels(b->frameGeometry().width());
        const double gh = twips::FromPixels(b->frameGeometry().height());
        const double ow = twips::FromPixels(r.frameGeometry().width());
        const double oh = twips::FromPixels(r.frameGeometry().height());
        QCOMPARE(r.x(), twips::ToPixels((gw - ow) / 2));
        QCOMPARE(r.y(), twips::ToPixels((gh - oh) / 2));
        // The button is centred in the frame.
        QVERIFY(qAbs(r.OK->x() * 2 + r.OK->width() - r.Frame1->width()) <= 1);
    }
};
TAVIMO_TEST(ResultWindowTest);

class MenuTest : public QObject {
    Q_OBJECT
private slots:
    void speedItems() {
        Board b;
        b->mnuFast_Click();
        QCOMPARE(Module1.FlipDelay, 0.5);
        QCOMPARE(Module1.SpeedSetting, 3.0);
        b->mnuMdm_Click();
        QCOMPARE(Module1.FlipDelay, 1.0);
        QCOMPARE(Module1.SpeedSetting, 2.0);
        b->mnuSlow_Click();
        QCOMPARE(Module1.FlipDelay, 2.0);
        QCOMPARE(Module1.SpeedSetting, 1.0);
        b->mnuMdm_Click();
        QVERIFY(!b->mnuSlow->isChecked());
        QVERIFY(b->mnuMdm->isChecked());
        QVERIFY(!b->mnuFast->isChecked());
    }

    void highScoresStackOverTheBoardUntilClosed() {
        Board b;
        b->Image2_Click(0);
        b->mnuBest_Click();
        Form4* best = Forms::IfLoaded<Form4>();
        QVERIFY(best && best->isVisible());
        QVERIFY(b->isVisible());
        QVERIFY(!b->isEnabled());
        best->OK_Click();
        QVERIFY(b->isVisible());
        QVERIFY(b->isEnabled());
        QVERIFY(b.Up(0));
    }

    void aboutClosesOnAPressOnTheBoard() {
        Board b;
        b->mnuAbout_Click();
        Form8* about = Forms::IfLoaded<Form8>();
        QVERIFY(about && about->isVisible());
        QTest::mousePress(b->Picture1, Qt::LeftButton);
        QVERIFY(!Forms::IfLoaded<Form8>());
        b->mnuAbout_Click();
        QVERIFY(Forms::IfLoaded<Form8>());
        QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(b->Picture1, &in);
        QVERIFY(!Forms::IfLoaded<Form8>());
        // A menu giving the focus back leaves it open.
        b->mnuAbout_Click();
        QFocusEvent back(QEvent::FocusIn, Qt::PopupFocusReason);
        QCoreApplication::sendEvent(b->Picture1, &back);
        QVERIFY(Forms::IfLoaded<Form8>());
    }

    void soundSwitchBelongsToTheCurrentWindow() {
        Board b;
        Module1.SoundOn = 1;
        b->mnuSnd_Click();
        QVERIFY(!b->mnuSnd->isChecked());
        QCOMPARE(Module1.SoundOn, 1);
        b->mnuSnd_Click();
        QVERIFY(b->mnuSnd->isChecked());
        b->mnuSnd_Click();
        // The menu item itself: Qt's own toggle must not undo the command.
        b->mnuSnd->trigger();
        QVERIFY(b->mnuSnd->isChecked());
        b->mnuSnd->trigger();
        QVERIFY(!b->mnuSnd->isChecked());
        // A new board checks it again from SoundOn.
        b->Redeal();
        QVERIFY(b->mnuSnd->isChecked());
    }

    void speedItemsFromTheMenu() {
        Board b;
        b->mnuFast->trigger();
        QVERIFY(b->mnuFast->isChecked() && !b->mnuSlow->isChecked() && !b->mnuMdm->isChecked());
        b->mnuFast->trigger();  // the checked item again stays checked
        QVERIFY(b->mnuFast->isChecked());
        QCOMPARE(Module1.FlipDelay, 0.5);
    }

    void exitAsksFirst() {
        Board b;
        b->mnuExit_Click();  // No
        QCOMPARE(Forms::IfLoaded<Form2>(), b.form);
        QCOMPARE(b.d.desktop->endCalls, 0);
        b.d.dialogs->answers.push_back(Dialogs::Answer::Yes);
        b->mnuExit_Click();
        QCOMPARE(b.d.desktop->endCalls, 1);
    }

    void saveOnExitToggles() {
        Board b;
        Module1.SaveOnExit = 1;
        b->mnusave_Click();
        QCOMPARE(Module1.SaveOnExit, 0);
        b->mnusave_Click();
        QCOMPARE(Module1.SaveOnExit, 1);
    }

    void contentsPausesAndOpensTheHelpFile() {
        Board b;
        b->Image2_Click(0);
        b->mnuInst_Click();
        QCOMPARE(b->Paused, 1);
        QVERIFY(!b->Label3->isVisible());
        QCOMPARE(b.d.desktop->opened, QStringList({b.folder.Path() + "/help.txt"}));
        QVERIFY(b.d.dialogs->shown.empty());
        b->Form_KeyDown(vk::Space, 0);
        QCOMPARE(b->Paused, 0);
    }

    // A missing help.txt: nothing to show in the game either.
    void contentsFailureNamesTheFile() {
        Board b;
        QVERIFY(QFile::remove(b.folder.Path() + "/help.txt"));
        b.d.desktop->openSucceeds = false;
        b->mnuInst_Click();
        QCOMPARE(int(b.d.dialogs->shown.size()), 1);
        QCOMPARE(b.d.dialogs->shown[0].title, QString("Tavimo"));
        QVERIFY(b.d.dialogs->shown[0].text.contains(b.folder.Path() + "/help.txt"));
        QCOMPARE(b->Paused, 1);
        QVERIFY(!Forms::IfLoaded<HelpWindow>());

        // A help.txt that cannot be read (here a folder) keeps the message.
        QVERIFY(QDir(b.folder.Path()).mkdir("help.txt"));
        b->mnuInst_Click();
        QCOMPARE(int(b.d.dialogs->shown.size()), 2);
        QVERIFY(!Forms::IfLoaded<HelpWindow>());
    }

    void contentsWithoutAnOpenerShowsTheTextInTheGame() {
        Board b;
        b->resize(twips::ToPixels(9550), twips::ToPixels(6750));
        QFile::remove(b.folder.Path() + "/help.txt");
        b.folder.Write("help.txt", "How to play\r\nTurn two cards.\r\n");
        b.d.desktop->openSucceeds = false;
        b->mnuInst_Click();
        QVERIFY(b.d.dialogs->shown.empty());
        HelpWindow* help = Forms::IfLoaded<HelpWindow>();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->Text->toPlainText(), QString("How to play\nTurn two cards.\n"));
        QVERIFY(help->Text->isReadOnly());
        QCOMPARE(help->size(), b->size());
        QCOMPARE(b->Paused, 1);
        // Typing changes nothing; Escape closes.
        QTest::keyClicks(help->Text, "xyz");
        QCOMPARE(help->Text->toPlainText(), QString("How to play\nTurn two cards.\n"));
        QTest::keyClick(help->Text, Qt::Key_Escape);
        FlushDeletes();
        QVERIFY(!Forms::IfLoaded<HelpWindow>());
    }
};
TAVIMO_TEST(MenuTest);

#include "tst_Play.moc"
