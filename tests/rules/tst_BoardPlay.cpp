// The board's rules without a window: clicks, ticks and keys in, signals out,
// on a clock that only the test moves.
#include <QSignalSpy>
#include <QTest>

#include "FakeClock.h"
#include "TestSupport.h"
#include "board/BoardPlay.h"
#include "platform/Clock.h"
#include "platform/Keys.h"

namespace {

// A board of `pairs` pairs at 1000 s after midnight; every signal recorded.
struct Rules {
    FakeClock clock;
    BoardPlay play{clock};
    QSignalSpy down{&play, &BoardPlay::cardsToTurnDown};
    QSignalSpy up{&play, &BoardPlay::cardToTurnUp};
    QSignalSpy match{&play, &BoardPlay::matchFound};
    QSignalSpy finished{&play, &BoardPlay::boardFinished};
    QSignalSpy result{&play, &BoardPlay::resultDue};
    QSignalSpy winner{&play, &BoardPlay::winnerEntryDue};

    explicit Rules(int pairs = 8) {
        clock.AdvanceTo(1000);
        play.NewBoard(pairs);
    }
    void Later(double s) { clock.Advance(s); }
    // Every pair found, `step` seconds apart, the first card at once.
    void FindAllPairs(double step = 0) {
        const int n = play.Pairs();
        for (int k = 0; k < n; ++k) {
            if (k > 0) Later(step);
            play.TurnCard(k);
            play.TurnCard(k + n);
        }
    }
    // Timer ticks of 100 ms for `s` seconds.
    void Ticks(double s, double flipDelay = 2) {
        for (double t = 0; t + 0.05 < s; t += 0.1) {
            Later(0.1);
            play.StepTick(flipDelay);
        }
    }
};

}  // namespace

class BoardPlayTest : public QObject {
    Q_OBJECT
private slots:
    void turnsScoreAndPairUp() {
        Rules r;
        QCOMPARE(r.play.GameState(), BoardPlay::NotStarted);
        r.play.TurnCard(0);
        QCOMPARE(r.play.GameState(), BoardPlay::Running);
        QCOMPARE(r.play.BoardClock().StartTime, 1000.0f);
        // A miss costs 25 and stays up; cards k and k + 8 are a pair.
        r.play.TurnCard(1);
        QCOMPARE(r.play.Score(), 75.0);
        QCOMPARE(r.play.CardsUp(), 2);
        QCOMPARE(r.down.count(), 0);
        // A third card puts the miss down at once, without a second penalty,
        // and opens the next turn.
        r.play.TurnCard(5);
        QCOMPARE(r.down.count(), 1);
        QCOMPARE(r.down.takeFirst(), QVariantList({0, 1}));
        QCOMPARE(r.play.CardsUp(), 1);
        r.play.TurnCard(13);
        QCOMPARE(r.play.Score(), 175.0);
        QCOMPARE(r.play.PairsFound(), 1);
        QCOMPARE(r.match.count(), 1);
        QCOMPARE(r.up.count(), 4);
        QCOMPARE(r.up.last(), QVariantList({13}));
        // A pair found is never turned down.
        r.Ticks(5);
        QCOMPARE(r.down.count(), 0);
    }

    void aMissGoesDownOnlyAfterTheDelay() {
        Rules r;
        r.play.TurnCard(0);
        r.play.TurnCard(1);
        r.Later(2.0);
        r.play.StepTick(2);
        QCOMPARE(r.down.count(), 0);
        r.Later(0.1);
        r.play.StepTick(2);
        QCOMPARE(r.down.count(), 1);
        QCOMPARE(r.play.CardsUp(), 0);
        // The time of day set back an hour does not hold the next miss up.
        r.play.TurnCard(2);
        r.play.TurnCard(3);
        r.clock.SetTimeOfDay(1000 - 3600);
        r.Later(0.6);
        r.play.StepTick(0.5);
        QCOMPARE(r.down.count(), 2);
    }

    void theLastPairStopsTheClockWithItsBonus() {
        Rules r;
        r.play.TurnCard(0);
        r.play.TurnCard(8);
        for (int k = 1; k < 7; ++k) {
            r.play.TurnCard(k);
            r.play.TurnCard(k + 8);
        }
        QCOMPARE(r.finished.count(), 0);
        r.clock.AdvanceTo(1000 + 20.37);
        r.play.TurnCard(7);
        r.play.TurnCard(15);
        QCOMPARE(r.play.GameState(), BoardPlay::Finished);
        QCOMPARE(r.play.ParTime(), 32);
        QCOMPARE(r.finished.count(), 1);
        // 900 points and 11.63 s under a 32-s par.
        QCOMPARE(r.finished.first(), QVariantList({116.0, 1016}));
        QCOMPARE(r.play.Total(), int16_t(1016));
        // The clock no longer moves the caption.
        r.Later(5);
        QVERIFY(!r.play.ClockTick());
    }

    void theResultFollowsAfterMoreThanOneAndAHalfSeconds() {
        Rules r;
        r.FindAllPairs();
        r.play.ScheduleEnd(false);
        QCOMPARE(r.play.Step(), BoardPlay::ResultPending);
        r.Ticks(1.5);
        QCOMPARE(r.result.count(), 0);
        r.Ticks(0.1);
        QCOMPARE(r.result.count(), 1);
        QCOMPARE(r.play.Step(), BoardPlay::EndShown);
        r.Ticks(5);
        QCOMPARE(r.result.count(), 1);
        QCOMPARE(r.winner.count(), 0);
    }

    void aRankedTotalGetsTheWinnerEntryAfterOneSecond() {
        Rules r;
        r.FindAllPairs();
        r.play.ScheduleEnd(true);
        r.Ticks(1.0);
        QCOMPARE(r.winner.count(), 0);
        r.Ticks(0.1);
        QCOMPARE(r.winner.count(), 1);
        r.Ticks(5);
        QCOMPARE(r.winner.count(), 1);
        QCOMPARE(r.result.count(), 0);
    }

    // A restart within the delay used to let the old board's step run on
    // the new one: its result window came up, and the sound it closed left
    // the new board silent.
    void aNewBoardDropsTheStepOfTheBoardBefore() {
        for (bool ranked : {false, true}) {
            Rules r;
            r.FindAllPairs();
            r.play.ScheduleEnd(ranked);
            r.Later(0.5);
            r.play.NewBoard(8);
            QCOMPARE(r.play.Step(), BoardPlay::NothingPending);
            QCOMPARE(r.play.GameState(), BoardPlay::NotStarted);
            QCOMPARE(r.play.Score(), 100.0);
            QCOMPARE(r.play.PairsFound(), 0);
            r.Ticks(3);
            QCOMPARE(r.result.count(), 0);
            QCOMPARE(r.winner.count(), 0);
            // The new board's own end is scheduled as ever.
            r.FindAllPairs();
            r.play.ScheduleEnd(ranked);
            r.Ticks(1.7);
            QCOMPARE(r.result.count() + r.winner.count(), 1);
        }
    }

    void pauseKeysToggleOncePerPress() {
        Rules r;
        // The sizing keys take no part.
        QCOMPARE(r.play.KeyDown(vk::Minus), BoardPlay::KeyRole::Sizing);
        QCOMPARE(r.play.KeyDown(vk::Plus), BoardPlay::KeyRole::Sizing);
        QVERIFY(!r.play.Paused());
        // A key other than P or F1 does not pause.
        QCOMPARE(r.play.KeyDown(vk::Space), BoardPlay::KeyRole::Toggled);
        QVERIFY(!r.play.Paused());
        r.play.KeyUp(vk::Space);
        // A held P pauses once.
        QCOMPARE(r.play.KeyDown(vk::P), BoardPlay::KeyRole::Toggled);
        for (int i = 0; i < 3; ++i) QCOMPARE(r.play.KeyDown(vk::P), BoardPlay::KeyRole::Latched);
        QVERIFY(r.play.Paused());
        // The plus key's key-up is no release of the pause key.
        r.play.KeyUp(vk::Plus);
        QCOMPARE(r.play.KeyDown(vk::Return), BoardPlay::KeyRole::Latched);
        QVERIFY(r.play.Paused());
        r.play.KeyUp(vk::P);
        // While paused any key resumes, P and F1 too.
        r.play.KeyDown(vk::F1);
        QVERIFY(!r.play.Paused());
        r.play.KeyUp(vk::F1);
        r.play.KeyDown(vk::F1);
        QVERIFY(r.play.Paused());
        r.play.KeyUp(vk::F1);
        r.play.KeyDown(vk::P);
        QVERIFY(!r.play.Paused());
        // A card click resumes too; a new board leaves the pause alone.
        r.play.Pause();
        r.play.NewBoard(8);
        QVERIFY(r.play.Paused());
        r.play.TurnCard(0);
        QVERIFY(!r.play.Paused());
    }

    void pausedTicksDoNotCount() {
        Rules r;
        QVERIFY(!r.play.ClockTick());  // not started: the caption stays
        r.play.TurnCard(0);
        for (int i = 0; i < 120; ++i) {
            r.Later(0.1);
            r.play.ClockTick();
        }
        QCOMPARE(r.play.Shown().Text(), QString("0:00:12"));
        r.play.Pause();
        for (int i = 0; i < 300; ++i) {
            r.Later(0.1);
            QVERIFY(!r.play.ClockTick());
        }
        r.play.Resume();
        r.Later(3);
        const auto shown = r.play.ClockTick();
        QVERIFY(shown);
        QCOMPARE(shown->Text(), QString("0:00:15"));
    }

    void aBoardRunsOnAcrossMidnight() {
        Rules r;
        r.clock.AdvanceTo(86390);
        r.play.TurnCard(0);
        while (r.clock.SecondsSinceMidnight() < 86399.85f) {
            r.Later(0.1);
            r.play.ClockTick();
        }
        r.clock.AdvanceTo(0);  // the next day
        while (r.clock.SecondsSinceMidnight() < 49.95f) {
            r.Later(0.1);
            r.play.ClockTick();
        }
        QCOMPARE(r.play.Shown().Text(), QString("0:01:00"));
    }

    void heldSizingKeysGatherAStep() {
        Rules r;
        const double aspect = 9550.0 / 6750.0;
        QVERIFY(!r.play.TakeRelayout());
        // Twenty repeats of plus: 200 twips of height, the width in proportion.
        for (int i = 0; i < 20; ++i) r.play.SizingKeyDown(vk::Plus);
        QCOMPARE(r.play.ResizeStep(), 200.0);
        const auto grow = r.play.SizingKeyUp(vk::Plus, 9550, 6750, aspect);
        QVERIFY(grow);
        QCOMPARE(grow->windowHeight, 6950.0);
        QCOMPARE(grow->windowWidth, 9550 + 200 * aspect);
        QCOMPARE(grow->pictureHeight, 6950.0 - 750);
        // While the change is under way the remembered board leaves the step out.
        const BoardPlay::Extent board = r.play.RememberedBoard(9550 + 200 * aspect, 6950, aspect);
        QCOMPARE(board.width, 9550 - 350.0);
        QCOMPARE(board.height, 6750 - 750.0);
        // The resize event lays the board out once per arming.
        QVERIFY(r.play.TakeRelayout());
        QVERIFY(!r.play.TakeRelayout());
        r.play.SizeApplied();
        QCOMPARE(r.play.ResizeStep(), 0.0);
        QVERIFY(!r.play.RelayoutOn());
        // Other keys gather nothing.
        r.play.SizingKeyDown(vk::P);
        QCOMPARE(r.play.ResizeStep(), 0.0);
    }

    void minusStopsAtTheSmallestHeight() {
        Rules r;
        const double aspect = 9550.0 / 6750.0;
        for (int i = 0; i < 30; ++i) r.play.SizingKeyDown(vk::Minus);
        const auto shrink = r.play.SizingKeyUp(vk::Minus, 9550, 6500, aspect);
        QVERIFY(shrink);
        QCOMPARE(shrink->windowHeight, 6400.0);
        QCOMPARE(r.play.ResizeStep(), 100.0);
        r.play.SizeApplied();
        // At the floor minus changes nothing, and its step is spent: it does
        // not add to the next plus.
        for (int i = 0; i < 5; ++i) r.play.SizingKeyDown(vk::Minus);
        QVERIFY(!r.play.SizingKeyUp(vk::Minus, 9550, 6400, aspect));
        QCOMPARE(r.play.ResizeStep(), 0.0);
        QVERIFY(!r.play.RelayoutOn());
        r.play.SizingKeyDown(vk::Plus);
        const auto grow = r.play.SizingKeyUp(vk::Plus, 9550, 6400, aspect);
        QVERIFY(grow);
        QCOMPARE(grow->windowHeight, 6410.0);
    }

    void theFirstTickDealsOnce() {
        FakeClock clock;
        BoardPlay play(clock);
        QVERIFY(!play.DealDone());
        QVERIFY(play.TakeDeal());
        QVERIFY(!play.TakeDeal());
        // A board laid out by hand needs no deal either.
        BoardPlay dealt(clock);
        dealt.NewBoard(4);
        QVERIFY(!dealt.TakeDeal());
    }
};

TAVIMO_TEST(BoardPlayTest);
#include "tst_BoardPlay.moc"
