#include "board/BoardPlay.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/Clock.h"
#include "platform/Keys.h"
#include "play/Scoring.h"

namespace {
// Points for a miss and a match, and the score a board starts with.
constexpr double MissCost = 25;
constexpr double MatchGain = 100;
constexpr double StartScore = 100;
// The smallest board the deal lays out.
constexpr int MinPairs = 4;
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

bool board::BoardState::Valid() const {
    const int n = Pairs();
    if (n < MinPairs || 2 * n > MaxSlots) return false;
    if (static_cast<int>(cardSlots.size()) != 2 * n || static_cast<int>(cards.size()) != 2 * n)
        return false;
    std::vector<bool> taken(2 * n, false);
    for (const int s : cardSlots) {
        if (s < 0 || s >= 2 * n || taken[s]) return false;
        taken[s] = true;
    }
    int found = 0;
    for (int k = 0; k < n; ++k) {
        const bool a = cards[k] == Card::Matched, b = cards[k + n] == Card::Matched;
        if (a != b) return false;
        if (cards[k] == Card::Up || cards[k + n] == Card::Up) return false;
        found += a ? 1 : 0;
    }
    for (const QString& p : pictures)
        if (p.isEmpty()) return false;
    if (found == n || misses < 0) return false;
    if (!std::isfinite(elapsed) || elapsed < 0 || elapsed > MaxElapsed) return false;
    // The score is what the matches and misses give: anything else was
    // never written by the game.
    return score == StartScore + MatchGain * found - MissCost * misses;
}

void BoardPlay::Reset(int pairs) {
    pairs_ = pairs;
    cards_ = 2 * pairs;
    parTime_ = scoring::ParTime(2 * pairs);
    state_ = NotStarted;
    endStep_ = NothingPending;
    score_ = StartScore;
    misses_ = 0;
    cardsUp_ = 0;
    pairsFound_ = 0;
    turnCards_ = {-1, -1};
    bonus_ = 0;
    total_ = 0;
    resumed_ = false;
    resumeElapsed_ = 0;
    cardState_.assign(cards_, board::Card::Down);
}

void BoardPlay::Deal(const QStringList& pictures, const QString& back, Random& random) {
    pictures_ = pictures;
    back_ = back;
    Reset(static_cast<int>(pictures.size()));
    dealDone_ = true;
    slots_ = board::ShuffleSlots(cards_, random);
    dealt_ = pairs_ >= MinPairs && static_cast<int>(slots_.size()) == cards_;
}

bool BoardPlay::Restart(Random& random) {
    if (!dealt_) return false;
    // The shuffle first, as the window has always laid the cards out before
    // the board's fields went back.
    slots_ = board::ShuffleSlots(cards_, random);
    Reset(pairs_);
    dealDone_ = true;
    return true;
}

void BoardPlay::NoBoard(int pairs) {
    pictures_.clear();
    slots_.clear();
    Reset(pairs);
    cardState_.clear();
    dealt_ = false;
}

void BoardPlay::Clear() {
    NoBoard(0);
    back_.clear();
    paused_ = false;
    pauseKeyLatch_ = false;
    dealDone_ = false;
    lastClick_ = 0;
    boardClock_ = {};
    shown_ = {};
    resizeStep_ = 0;
    relayoutOn_ = false;
}

bool BoardPlay::Restore(const board::BoardState& state) {
    if (!state.Valid()) return false;
    pictures_ = state.pictures;
    back_ = state.back;
    Reset(state.Pairs());
    dealDone_ = true;
    slots_ = state.cardSlots;
    cardState_ = state.cards;
    dealt_ = true;
    misses_ = state.misses;
    score_ = state.score;
    pairsFound_ =
        static_cast<int>(std::count(cardState_.begin(), cardState_.end(), board::Card::Matched)) /
        2;
    resumed_ = true;
    resumeElapsed_ = state.elapsed;
    shown_ = gameclock::FromElapsed(resumeElapsed_);
    return true;
}

double BoardPlay::ElapsedNow() const {
    if (state_ != Running) return resumeElapsed_;
    // The time as of the last tick while paused: a pause does not count.
    const float now = paused_ && boardClock_.LastTickTime ? *boardClock_.LastTickTime : Now();
    gameclock::BoardClock c = boardClock_;
    c.CorrectMidnight(now, clock_.Today());
    return std::max(0.0, static_cast<double>(c.Elapsed(now)));
}

board::BoardState BoardPlay::Save() const {
    board::BoardState s;
    s.pictures = pictures_;
    s.cardSlots = slots_;
    s.cards = cardState_;
    // The turn in progress is not kept: its cards go back down.
    for (board::Card& c : s.cards)
        if (c == board::Card::Up) c = board::Card::Down;
    s.back = back_;
    s.score = score_;
    s.misses = misses_;
    s.elapsed = ElapsedNow();
    return s;
}

bool BoardPlay::InProgress() const {
    return dealt_ && state_ != Finished && pairsFound_ < pairs_ && (state_ == Running || resumed_);
}

board::Card BoardPlay::CardAt(int index) const {
    if (index < 0 || index >= static_cast<int>(cardState_.size())) return board::Card::Down;
    return cardState_[index];
}

QString BoardPlay::PictureOf(int index) const {
    if (index < 0 || index >= cards_ || pairs_ <= 0) return QString();
    const int entry = index % pairs_;
    return entry < pictures_.size() ? pictures_[entry] : QString();
}

void BoardPlay::SetPaused(bool on) {
    const bool was = paused_;
    paused_ = on;
    if (on && !was) emit paused();
}

bool BoardPlay::TakeDeal() {
    if (dealDone_) return false;
    dealDone_ = true;
    return true;
}

bool BoardPlay::TurnCard(int index) {
    if (!dealt_ || index < 0 || index >= static_cast<int>(cardState_.size())) return false;
    if (cardState_[index] != board::Card::Down) return false;
    // A card click always ends a pause.
    paused_ = false;
    if (state_ == NotStarted) {
        boardClock_.Start(Now(), clock_.Today());
        // A kept board goes on from its time.
        boardClock_.StartTime -= static_cast<float>(resumeElapsed_);
        state_ = Running;
        shown_ = resumed_ ? gameclock::FromElapsed(resumeElapsed_) : gameclock::Display{};
        resumed_ = false;
        resumeElapsed_ = 0;
        emit clockStarted();
    }
    cardsUp_ += 1;
    if (cardsUp_ == 3) {
        // A third card while a missed pair is still up: the pair goes down
        // now and the third card opens the next turn; the miss was paid.
        cardsUp_ = 1;
        cardState_[turnCards_[0]] = board::Card::Down;
        cardState_[turnCards_[1]] = board::Card::Down;
        emit cardsToTurnDown(turnCards_[0], turnCards_[1]);
        emit turnEnded();
    }
    cardState_[index] = board::Card::Up;
    emit cardToTurnUp(index);
    turnCards_[0] = turnCards_[1];
    turnCards_[1] = index;
    if (cardsUp_ == 2) {
        if (std::abs(index - turnCards_[0]) != pairs_) {
            score_ -= MissCost;
            misses_ += 1;
            emit missed(turnCards_[0], index);
            emit scoreChanged(score_);
        } else {
            cardsUp_ = 0;
            pairsFound_ += 1;
            cardState_[index] = board::Card::Matched;
            cardState_[turnCards_[0]] = board::Card::Matched;
            emit matchFound();
            score_ += MatchGain;
            emit scoreChanged(score_);
            if (pairsFound_ == pairs_) {
                state_ = Finished;
                // A board finished after midnight but before the next tick:
                // the start goes back by a day first, as the tick would do.
                boardClock_.CorrectMidnight(Now(), clock_.Today());
                bonus_ = static_cast<double>(scoring::Bonus(parTime_, boardClock_.Elapsed(Now())));
                total_ = scoring::Total(score_, bonus_);
                emit boardFinished(bonus_, total_);
            }
            emit turnEnded();
        }
    }
    lastClick_ = Monotonic();
    return true;
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
        for (const int k : turnCards_)
            if (k >= 0 && k < static_cast<int>(cardState_.size()))
                cardState_[k] = board::Card::Down;
        emit cardsToTurnDown(turnCards_[0], turnCards_[1]);
        emit turnEnded();
    }
}

BoardPlay::KeyRole BoardPlay::KeyDown(int keyCode) {
    if (keyCode == vk::Plus || keyCode == vk::Minus) return KeyRole::Sizing;
    if (pauseKeyLatch_) return KeyRole::Latched;
    // P and F1 pause a running game; while paused, any key resumes.
    SetPaused(!paused_ && (keyCode == vk::P || keyCode == vk::F1));
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
