// The board's rules without a window: clicks, ticks and keys in, signals out,
// on a clock that only the test moves.
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <set>

#include "FakeClock.h"
#include "ScriptedRandom.h"
#include "TestSupport.h"
#include "board/BoardPlay.h"
#include "platform/Clock.h"
#include "platform/Keys.h"

namespace {

// A board of `pairs` pairs at 1000 s after midnight; every signal recorded.
struct Rules {
    FakeClock clock;
    ScriptedRandom random;
    BoardPlay play{clock};
    QSignalSpy down{&play, &BoardPlay::cardsToTurnDown};
    QSignalSpy up{&play, &BoardPlay::cardToTurnUp};
    QSignalSpy match{&play, &BoardPlay::matchFound};
    QSignalSpy finished{&play, &BoardPlay::boardFinished};
    QSignalSpy result{&play, &BoardPlay::resultDue};
    QSignalSpy winner{&play, &BoardPlay::winnerEntryDue};
    QSignalSpy turns{&play, &BoardPlay::turnEnded};
    QSignalSpy misses{&play, &BoardPlay::missed};

    explicit Rules(int pairs = 8) {
        clock.AdvanceTo(1000);
        NewBoard(pairs);
    }
    void NewBoard(int pairs) { play.Deal(PicturePaths(pairs), "Sky.jpg", random); }
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
        QCOMPARE(r.play.Misses(), 1);
        QCOMPARE(r.misses.count(), 1);
        QCOMPARE(r.play.CardAt(5), board::Card::Matched);
        QCOMPARE(r.play.CardAt(13), board::Card::Matched);
        QCOMPARE(r.play.CardAt(0), board::Card::Down);
        QCOMPARE(r.play.CardAt(1), board::Card::Down);
        // A pair found is never turned down.
        r.Ticks(5);
        QCOMPARE(r.down.count(), 0);
    }

    // Called as the window calls it, the board used to score the same pair
    // again and again, a card twice as a miss, and a card beyond the board.
    void refusedClicksChangeNothing() {
        Rules r;
        QVERIFY(r.play.TurnCard(0));
        QVERIFY(r.play.TurnCard(8));
        QVERIFY(r.play.TurnCard(3));
        const auto sameAsNow = [&r] {
            QCOMPARE(r.play.Score(), 200.0);
            QCOMPARE(r.play.PairsFound(), 1);
            QCOMPARE(r.play.CardsUp(), 1);
            QCOMPARE(r.play.Misses(), 0);
            QCOMPARE(r.play.TurnCards(), (std::array<int, 2>{8, 3}));
            QCOMPARE(r.play.CardAt(3), board::Card::Up);
        };
        const int signalsBefore = r.up.count() + r.down.count() + r.match.count();
        // The matched pair again, this turn's card again, beyond the board.
        for (const int card : {0, 8, 3, -1, 16, 99}) {
            QVERIFY(!r.play.TurnCard(card));
            sameAsNow();
        }
        QCOMPARE(r.up.count() + r.down.count() + r.match.count(), signalsBefore);
        // A refused click does not end a pause either.
        r.play.Pause();
        QVERIFY(!r.play.TurnCard(3));
        QVERIFY(r.play.Paused());
        // No board: nothing to turn.
        r.play.NoBoard(3);
        QVERIFY(!r.play.TurnCard(0));
        QCOMPARE(r.play.GameState(), BoardPlay::NotStarted);
        QVERIFY(!r.play.Restart(r.random));
    }

    // What the saved board hangs on: a turn ends at a match, at the
    // flip-back of a miss and when a third card puts the miss down; never
    // while cards of the turn are still up.
    void aTurnEndsWhenItsCardsAreSettled() {
        Rules r;
        r.play.TurnCard(0);
        r.play.TurnCard(1);
        QCOMPARE(r.turns.count(), 0);
        r.Ticks(2.2);
        QCOMPARE(r.turns.count(), 1);
        r.play.TurnCard(2);
        r.play.TurnCard(3);
        r.play.TurnCard(4);
        QCOMPARE(r.turns.count(), 2);
        r.play.TurnCard(12);
        QCOMPARE(r.turns.count(), 3);
        QCOMPARE(r.play.Score(), 150.0);
        QCOMPARE(r.play.Misses(), 2);
    }

    void restartShufflesTheSamePicturesAgain() {
        Rules r;
        const std::vector<int> dealt = r.play.Slots();
        QCOMPARE(int(dealt.size()), 16);
        r.FindAllPairs();
        r.play.ScheduleEnd(false);
        QVERIFY(r.play.Restart(r.random));
        QVERIFY(r.play.Slots() != dealt);
        QCOMPARE(std::set<int>(r.play.Slots().begin(), r.play.Slots().end()).size(), size_t(16));
        QCOMPARE(r.play.Pictures(), PicturePaths(8));
        QCOMPARE(r.play.GameState(), BoardPlay::NotStarted);
        QCOMPARE(r.play.Step(), BoardPlay::NothingPending);
        QCOMPARE(r.play.Score(), 100.0);
        QCOMPARE(r.play.Misses(), 0);
        for (int k = 0; k < 16; ++k) QCOMPARE(r.play.CardAt(k), board::Card::Down);
        QVERIFY(!r.play.InProgress());
        QVERIFY(r.play.TurnCard(0));
    }

    // Every state a board can be kept in comes back as it was; the turn in
    // progress is not kept, and the clock goes on from the kept time at
    // the first card.
    void aKeptBoardComesBackAsItWas() {
        Rules r;
        QVERIFY(!r.play.InProgress());  // dealt, never started
        r.play.TurnCard(0);
        QVERIFY(r.play.InProgress());
        r.play.TurnCard(8);  // a pair
        r.play.TurnCard(1);
        r.play.TurnCard(2);  // a miss, still up
        for (int i = 0; i < 420; ++i) {
            r.Later(0.1);
            r.play.ClockTick();
            r.play.StepTick(100);
        }
        const board::BoardState kept = r.play.Save();
        QVERIFY(kept.Valid());
        QCOMPARE(kept.cards[0], board::Card::Matched);
        QCOMPARE(kept.cards[8], board::Card::Matched);
        QCOMPARE(kept.cards[1], board::Card::Down);
        QCOMPARE(kept.cards[2], board::Card::Down);
        QCOMPARE(kept.score, 175.0);
        QCOMPARE(kept.misses, 1);
        QVERIFY(std::abs(kept.elapsed - 42) < 0.05);
        QCOMPARE(kept.back, QString("Sky.jpg"));
        QCOMPARE(kept.cardSlots, r.play.Slots());

        Rules next;
        next.clock.AdvanceTo(5000);
        QVERIFY(next.play.Restore(kept));
        QVERIFY(next.play.InProgress());
        QVERIFY(next.play.Resumed());
        QCOMPARE(next.play.Slots(), kept.cardSlots);
        QCOMPARE(next.play.PictureOf(9), QString("/pics/p1.jpg"));
        QCOMPARE(next.play.Score(), 175.0);
        QCOMPARE(next.play.PairsFound(), 1);
        QCOMPARE(next.play.Shown().Text(), QString("0:00:42"));
        // Not started: the clock waits for the first card.
        next.Later(30);
        QVERIFY(!next.play.ClockTick());
        QCOMPARE(next.play.Save().elapsed, kept.elapsed);
        QVERIFY(!next.play.TurnCard(0));  // matched before
        QVERIFY(next.play.TurnCard(1));
        next.Later(8);
        QCOMPARE(next.play.ClockTick()->Text(), QString("0:00:50"));
        // The kept pair and the new ones make the whole board.
        for (int k = 1; k < 8; ++k) {
            if (k > 1) next.play.TurnCard(k);
            next.play.TurnCard(k + 8);
        }
        QCOMPARE(next.play.GameState(), BoardPlay::Finished);
        QVERIFY(!next.play.InProgress());
        QCOMPARE(next.play.Score(), 875.0);
    }

    void aStateThatIsNotWholeIsRefused() {
        Rules r;
        r.play.TurnCard(0);
        r.play.TurnCard(8);
        const board::BoardState good = r.play.Save();
        QVERIFY(good.Valid());
        std::vector<board::BoardState> bad(9, good);
        bad[0].pictures.removeLast();               // a picture short
        bad[1].cardSlots[3] = bad[1].cardSlots[4];  // two cards in one slot
        bad[2].cards[8] = board::Card::Down;        // half a pair matched
        bad[3].score = 1e9;                         // not what the turns give
        bad[4].misses = -1;
        bad[5].elapsed = std::nan("");
        bad[6].cards.assign(16, board::Card::Matched);  // finished
        bad[6].score = 900;
        bad[7].pictures = PicturePaths(3);  // too small a board
        bad[7].cardSlots = {0, 1, 2, 3, 4, 5};
        bad[7].cards.assign(6, board::Card::Down);
        bad[8].cards[5] = board::Card::Up;
        Rules other;
        other.play.TurnCard(3);
        for (const board::BoardState& s : bad) {
            QVERIFY(!s.Valid());
            QVERIFY(!other.play.Restore(s));
            QCOMPARE(other.play.CardAt(3), board::Card::Up);
            QCOMPARE(other.play.GameState(), BoardPlay::Running);
        }
    }

    // The time of day set back an hour does not hold a miss up.
    void aMissGoesDownWhateverTheTimeOfDay() {
        Rules r;
        r.play.TurnCard(2);
        r.play.TurnCard(3);
        r.clock.SetTimeOfDay(1000 - 3600);
        r.Later(0.6);
        r.play.StepTick(0.5);
        QCOMPARE(r.down.count(), 1);
        QCOMPARE(r.play.CardAt(2), board::Card::Down);
        QCOMPARE(r.turns.count(), 1);
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
            r.NewBoard(8);
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
        r.NewBoard(8);
        QVERIFY(r.play.Paused());
        r.play.TurnCard(0);
        QVERIFY(!r.play.Paused());
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
        ScriptedRandom random;
        dealt.Deal(PicturePaths(4), "Sky.jpg", random);
        QVERIFY(!dealt.TakeDeal());
    }
};

TAVIMO_TEST(BoardPlayTest);
#include "tst_BoardPlay.moc"
