#pragma once
// One board, free of widgets: the pictures in their slots, each card's
// state, the turn in progress, the score and misses, the board clock and the
// pause, the deal and the restart, and the steps after the last pair. The
// game window forwards its clicks, keys and timer ticks here and draws what
// comes back; sound, windows and the saved board hang on the signals.
#include <QObject>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "board/BoardLayout.h"
#include "play/GameClock.h"

class Clock;
class Random;

namespace board {
// A kept board's clock beyond this is no board anyone played.
inline constexpr double MaxElapsed = 100.0 * 24 * 3600;
// What a card shows: its back, its face for this turn, or its face for good.
enum class Card : int { Down = 0, Up = 1, Matched = 2 };

// A board in progress as it is kept between two runs of the game. A turn
// half played is not kept: every card is down or matched.
struct BoardState {
    QStringList pictures;        // the picture of cards k and k + pairs, by file path
    std::vector<int> cardSlots;  // the slot of card k
    std::vector<Card> cards;     // the state of card k
    QString back;                // the card back's file name
    double score = 100;
    int misses = 0;
    double elapsed = 0;  // seconds on the board clock, pauses cut out
    int Pairs() const { return static_cast<int>(pictures.size()); }
    // Pictures, slots and cards agree, the score is what the matches and
    // misses give, and a pair is still to find.
    bool Valid() const;
};
}  // namespace board

class BoardPlay : public QObject {
    Q_OBJECT
public:
    // Plain enums with the values the game has always used for them, so a
    // state still reads as the number players and old tests know.
    enum State : int { NotStarted = 0, Running = 1, Finished = 2 };
    enum EndStep : int {
        NothingPending = 0,
        ResultPending = 1,
        WinnerEntryPending = 2,
        EndShown = 4
    };
    // What a key-down meant to the pause rules.
    enum class KeyRole { Sizing, Latched, Toggled };

    explicit BoardPlay(Clock& clock, QObject* parent = nullptr);

    // A board of these pictures (cards k and k + N show entry k) and this
    // back, shuffled into its slots, not started: the one reset of every
    // per-board field. A pending end step of the board before is dropped,
    // so the next board's steps are its own. The pause stays as it is.
    void Deal(const QStringList& pictures, const QString& back, Random& random);
    // The same pictures shuffled again: a fresh board. Nothing before a deal.
    bool Restart(Random& random);
    // A deal that found too few pictures: no board, `pairs` as loaded.
    void NoBoard(int pairs);
    // The table cleared for the next deal, as a model made anew: no board,
    // no pause, the clock at zero, and the next clock tick deals.
    void Clear();
    // A board kept from an earlier run: not started until its first card,
    // the clock then going on from the kept time. False, nothing changed,
    // for a state that is not whole.
    bool Restore(const board::BoardState& state);
    // The board as it would be kept now (Valid() only while InProgress()).
    board::BoardState Save() const;
    // A dealt board with play on it, not finished: worth keeping.
    bool InProgress() const;

    // The first clock tick of a window deals its board: true once.
    bool TakeDeal();

    // A click on card `index`'s back. Cards k and k + pairs show the same
    // picture. Refused, with nothing changed: no board, a card out of range,
    // a card already face up or matched. A third card while a missed pair is
    // still up turns that pair down and opens the next turn.
    bool TurnCard(int index);
    // The end of a board whose total does or does not enter the high-score table.
    void ScheduleEnd(bool ranked);

    // The clock tick: the elapsed time as it is to be shown, or nothing
    // when the caption stays (board not running, or paused).
    std::optional<gameclock::Display> ClockTick();
    // The second timer's tick: the end steps that are due, then the flip-back.
    void StepTick(double flipDelay);

    // The pause keys: P and F1 pause, then any key resumes; the sizing keys
    // take no part; a held key counts once until its key-up.
    KeyRole KeyDown(int keyCode);
    void KeyUp(int keyCode);
    void Pause() { SetPaused(true); }
    void Resume() { SetPaused(false); }

    // The window's size. Held minus and plus keys gather a step; the key-up
    // says how the window changes, or nothing when it does not (a minus at
    // the smallest height: that press is spent and adds nothing to the next).
    void SizingKeyDown(int keyCode);
    std::optional<board::ManualResize> SizingKeyUp(int keyCode, double windowWidth,
                                                   double windowHeight, double aspectRatio);
    // A manual size change is complete.
    void SizeApplied();
    // Only a size the game sets lays the board out again: the resize event
    // asks once for each time this was switched on.
    void ArmRelayout(bool on) { relayoutOn_ = on; }
    bool TakeRelayout();
    // The board size the settings keep for a window of this size, with the
    // step of a size change still under way taken off.
    struct Extent {
        double width;
        double height;
    };
    Extent RememberedBoard(double windowWidth, double windowHeight, double aspectRatio) const;

    int Pairs() const { return pairs_; }
    bool Complete() const { return pairsFound_ == pairs_; }

    // The board as dealt, read by the window that draws it.
    const int& PairCount() const { return pairs_; }
    const int& CardCount() const { return cards_; }
    const bool& Dealt() const { return dealt_; }
    const std::vector<int>& Slots() const { return slots_; }
    board::Card CardAt(int index) const;
    // The file of card `index`'s picture; empty out of range.
    QString PictureOf(int index) const;
    const QStringList& Pictures() const { return pictures_; }
    const QString& Back() const { return back_; }
    void SetBack(const QString& back) { back_ = back; }
    int Misses() const { return misses_; }
    // Restored from an earlier run and not clicked since.
    bool Resumed() const { return resumed_; }

    // The board's state, read by the window (and by its tests under the
    // window's names).
    const State& GameState() const { return state_; }
    const EndStep& Step() const { return endStep_; }
    const bool& Paused() const { return paused_; }
    const bool& DealDone() const { return dealDone_; }
    const double& Score() const { return score_; }
    const int& CardsUp() const { return cardsUp_; }
    const int& PairsFound() const { return pairsFound_; }
    const int& ParTime() const { return parTime_; }
    const std::array<int, 2>& TurnCards() const { return turnCards_; }
    const gameclock::BoardClock& BoardClock() const { return boardClock_; }
    const gameclock::Display& Shown() const { return shown_; }
    bool PauseKeyLatch() const { return pauseKeyLatch_; }
    const double& ResizeStep() const { return resizeStep_; }
    const bool& RelayoutOn() const { return relayoutOn_; }

    // Bonus and total of a finished board.
    double Bonus() const { return bonus_; }
    int16_t Total() const { return total_; }

    // For boards set up by hand (tests): a score far from what a few
    // clicks reach.
    void SetScore(double score) { score_ = score; }

signals:
    // The first click of a board started its clock at 0:0:0.
    void clockStarted();
    // Cards that go face down: a missed pair, by the delay or by a third card.
    void cardsToTurnDown(int first, int second);
    // A card to show face up, at once.
    void cardToTurnUp(int index);
    void matchFound();
    // A second card that is no pair: the score went down.
    void missed(int first, int second);
    void scoreChanged(double score);
    // A turn is over: a pair found, or a missed pair back face down.
    void turnEnded();
    // The game was paused (a key, the focus gone, a question open).
    void paused();
    // The last pair was found: the clock has stopped at this bonus and total.
    void boardFinished(double bonus, int total);
    // The end steps, due a moment after the last pair.
    void resultDue();
    void winnerEntryDue();

private:
    float Now() const;
    // Seconds on the board clock now, pauses cut out.
    double ElapsedNow() const;
    void SetPaused(bool on);
    // Every per-board field to a board of `pairs`, not started.
    void Reset(int pairs);
    double Monotonic() const;

    Clock& clock_;
    int pairs_ = 0;
    int cards_ = 0;
    bool dealt_ = false;  // a board of at least 4 pairs lies on the table
    QStringList pictures_;
    std::vector<int> slots_;
    std::vector<board::Card> cardState_;
    QString back_;
    int misses_ = 0;
    bool resumed_ = false;
    double resumeElapsed_ = 0;  // the kept board's time, counted on from the first click
    int parTime_ = 0;
    State state_ = NotStarted;
    EndStep endStep_ = NothingPending;
    bool paused_ = false;
    bool dealDone_ = false;
    bool pauseKeyLatch_ = false;
    double score_ = 100;
    int cardsUp_ = 0;
    int pairsFound_ = 0;
    std::array<int, 2> turnCards_{-1, -1};
    double lastClick_ = 0;  // monotonic seconds of the last card click or end step
    gameclock::BoardClock boardClock_;
    gameclock::Display shown_;  // the clock as last shown
    double bonus_ = 0;
    int16_t total_ = 0;
    double resizeStep_ = 0;  // twips of height gathered while a sizing key is held
    bool relayoutOn_ = false;
};
