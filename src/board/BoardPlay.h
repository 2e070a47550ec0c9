#pragma once
// The rules of one board, free of widgets: turning and matching cards, the
// flip-back of a miss, the board clock and the pause, and the steps after
// the last pair. The game window forwards its clicks, keys and timer ticks
// here and draws what comes back; sound and windows hang on the signals.
#include <QObject>
#include <array>
#include <cstdint>
#include <optional>

#include "board/BoardLayout.h"
#include "play/GameClock.h"

class Clock;

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

    // A board of `pairCount` pairs, not started: the one reset of every
    // per-board field. A pending end step of the board before is dropped,
    // so the next board's steps are its own. The pause stays as it is.
    void NewBoard(int pairCount);

    // The first clock tick of a window deals its board: true once.
    bool TakeDeal();

    // A click on card `index`'s back. Cards k and k + pairs show the same picture.
    void TurnCard(int index);
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
    void Pause() { paused_ = true; }
    void Resume() { paused_ = false; }

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
    // The last pair was found: the clock has stopped at this bonus and total.
    void boardFinished(double bonus, int total);
    // The end steps, due a moment after the last pair.
    void resultDue();
    void winnerEntryDue();

private:
    float Now() const;
    double Monotonic() const;

    Clock& clock_;
    int pairs_ = 0;
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
