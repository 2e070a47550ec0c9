#include "board/BoardPlay.h"

#include <cstdlib>

#include "platform/Clock.h"
#include "platform/Keys.h"
#include "play/Scoring.h"

namespace {
// The result window follows the last pair after this long, the winner
// entry sooner: a ranked player is waited on by a window of their own.
constexpr double ResultDelay = 1.5;
constexpr double WinnerEntryDelay = 1.0;
}  // namespace

BoardPlay::BoardPlay(Clock& clock, QObject* parent) : QObject(parent), clock_(clock) {}

// The board clock in the caption runs on the time of day; every delay is
// measured on the monotonic clock, which does not start again at midnight.
float BoardPlay::Now() const {
    return clock_.SecondsSinceMidnight();
}

double BoardPlay::Monotonic() const {
    return clock_.MonotonicSeconds();
}

void BoardPlay::NewBoard(int pairCount) {
    pairs_ = pairCount;
    parTime_ = scoring::ParTime(2 * pairCount);
    state_ = NotStarted;
    endStep_ = NothingPending;
    dealDone_ = true;
    score_ = 100;
    cardsUp_ = 0;
    pairsFound_ = 0;
    turnCards_ = {-1, -1};
    bonus_ = 0;
    total_ = 0;
}

bool BoardPlay::TakeDeal() {
    if (dealDone_) return false;
    dealDone_ = true;
    return true;
}

void BoardPlay::TurnCard(int index) {
    // A card click always ends a pause.
    paused_ = false;
    if (state_ == NotStarted) {
        boardClock_.Start(Now(), clock_.Today());
        state_ = Running;
        shown_ = gameclock::Display{};
        emit clockStarted();
    }
    cardsUp_ += 1;
    if (cardsUp_ == 3) {
        // A third card while a missed pair is still up: the pair goes down
        // now and the third card opens the next turn; the miss was paid.
        cardsUp_ = 1;
        emit cardsToTurnDown(turnCards_[0], turnCards_[1]);
    }
    emit cardToTurnUp(index);
    turnCards_[0] = turnCards_[1];
    turnCards_[1] = index;
    if (cardsUp_ == 2) {
        if (std::abs(index - turnCards_[0]) != pairs_) {
            score_ -= 25;
        } else {
            cardsUp_ = 0;
            pairsFound_ += 1;
            emit matchFound();
            score_ += 100;
            if (pairsFound_ == pairs_) {
                state_ = Finished;
                // A board finished after midnight but before the next tick:
                // the start goes back by a day first, as the tick would do.
                boardClock_.CorrectMidnight(Now(), clock_.Today());
                bonus_ = static_cast<double>(scoring::Bonus(parTime_, boardClock_.Elapsed(Now())));
                total_ = scoring::Total(score_, bonus_);
                emit boardFinished(bonus_, total_);
            }
        }
    }
    lastClick_ = Monotonic();
}

void BoardPlay::ScheduleEnd(bool ranked) {
    endStep_ = ranked ? WinnerEntryPending : ResultPending;
}

std::optional<gameclock::Display> BoardPlay::ClockTick() {
    if (state_ != Running) return std::nullopt;
    boardClock_.CorrectMidnight(Now(), clock_.Today());
    shown_ = gameclock::FromElapsed(boardClock_.Tick(Now(), paused_));
    if (paused_) return std::nullopt;
    return shown_;
}

void BoardPlay::StepTick(double flipDelay) {
    if (endStep_ == ResultPending && Monotonic() - lastClick_ > ResultDelay) {
        endStep_ = EndShown;
        emit resultDue();
        lastClick_ = Monotonic();
    }
    if (endStep_ == WinnerEntryPending && Monotonic() - lastClick_ > WinnerEntryDelay) {
        endStep_ = EndShown;
        emit winnerEntryDue();
    }
    // Flip-back: a missed pair goes down once the delay has passed.
    if (cardsUp_ == 2 && Monotonic() - lastClick_ > flipDelay) {
        cardsUp_ = 0;
        emit cardsToTurnDown(turnCards_[0], turnCards_[1]);
    }
}

BoardPlay::KeyRole BoardPlay::KeyDown(int keyCode) {
    if (keyCode == vk::Plus || keyCode == vk::Minus) return KeyRole::Sizing;
    if (pauseKeyLatch_) return KeyRole::Latched;
    // P and F1 pause a running game; while paused, any key resumes.
    paused_ = !paused_ && (keyCode == vk::P || keyCode == vk::F1);
    pauseKeyLatch_ = true;
    return KeyRole::Toggled;
}

void BoardPlay::KeyUp(int keyCode) {
    // The plus key's key-up leaves the latch alone, as the game always did.
    if (keyCode != vk::Plus) pauseKeyLatch_ = false;
}

void BoardPlay::SizingKeyDown(int keyCode) {
    if (keyCode != vk::Plus && keyCode != vk::Minus) return;
    resizeStep_ += board::ResizeIncrement;
    relayoutOn_ = true;
}

std::optional<board::ManualResize> BoardPlay::SizingKeyUp(int keyCode, double windowWidth,
                                                          double windowHeight, double aspectRatio) {
    const board::ManualResize r =
        board::ManualResizeFor(keyCode, windowWidth, windowHeight, resizeStep_, aspectRatio);
    if (!r.apply) {
        if (keyCode == vk::Minus) SizeApplied();
        return std::nullopt;
    }
    resizeStep_ = r.step;
    return r;
}

void BoardPlay::SizeApplied() {
    resizeStep_ = 0;
    relayoutOn_ = false;
}

bool BoardPlay::TakeRelayout() {
    if (!relayoutOn_) return false;
    relayoutOn_ = false;
    return true;
}

BoardPlay::Extent BoardPlay::RememberedBoard(double windowWidth, double windowHeight,
                                             double aspectRatio) const {
    return {windowWidth - resizeStep_ * aspectRatio - 350, windowHeight - resizeStep_ - 750};
}
