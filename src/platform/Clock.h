#pragma once
#include <QDate>
#include <QElapsedTimer>

// The time of day for the board clock in the title bar, and a monotonic
// clock for every delay of the game: the time of day starts again at
// midnight and may jump when the system clock is set, a delay must not.
class Clock {
public:
    virtual ~Clock() = default;
    // Single-precision seconds since local midnight, sub-second resolution.
    virtual float SecondsSinceMidnight() = 0;
    virtual QDate Today() = 0;
    // Seconds on a clock that only moves forward, from an arbitrary origin.
    virtual double MonotonicSeconds() = 0;
};

class SystemClock final : public Clock {
public:
    SystemClock();
    float SecondsSinceMidnight() override;
    QDate Today() override;
    double MonotonicSeconds() override;

private:
    QElapsedTimer monotonic_;
};
