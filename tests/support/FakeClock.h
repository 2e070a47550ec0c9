#pragma once
#include "platform/Clock.h"

// Test double: time stands still until the test moves it. Moving it past
// midnight starts the time of day again at 0 on the next day, while the
// monotonic clock runs on.
class FakeClock final : public Clock {
public:
    float SecondsSinceMidnight() override { return seconds_; }
    QDate Today() override { return date_; }
    double MonotonicSeconds() override { return monotonic_; }

    // Moves both clocks forward by `s` seconds.
    void Advance(double s);
    // Moves forward to this time of day: later today, or tomorrow when it is
    // not later than now.
    void AdvanceTo(double timeOfDay);
    // Sets the time of day without moving the monotonic clock (the system
    // clock being set).
    void SetTimeOfDay(float s) { seconds_ = s; }
    void SetDate(const QDate& d) { date_ = d; }

private:
    float seconds_ = 0;
    QDate date_ = QDate(2026, 1, 1);
    double monotonic_ = 1000;
};
