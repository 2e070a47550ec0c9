#pragma once
#include <QDate>

// Time of day for the board clock and every delay of the game.
class Clock {
public:
    virtual ~Clock() = default;
    // Single-precision seconds since local midnight, sub-second resolution.
    virtual float SecondsSinceMidnight() = 0;
    virtual QDate Today() = 0;
};

class SystemClock final : public Clock {
public:
    float SecondsSinceMidnight() override;
    QDate Today() override;
};

// Test double: time stands still until the test moves it.
class FakeClock final : public Clock {
public:
    float seconds = 0;
    QDate date = QDate(2026, 1, 1);
    float SecondsSinceMidnight() override { return seconds; }
    QDate Today() override { return date; }
    void Advance(float s) { seconds += s; }
};
