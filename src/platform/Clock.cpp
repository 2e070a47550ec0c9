#include "platform/Clock.h"

#include <QDateTime>

SystemClock::SystemClock() {
    monotonic_.start();
}

float SystemClock::SecondsSinceMidnight() {
    const QTime t = QTime::currentTime();
    return static_cast<float>(t.msecsSinceStartOfDay() / 1000.0);
}

QDate SystemClock::Today() {
    return QDate::currentDate();
}

double SystemClock::MonotonicSeconds() {
    return static_cast<double>(monotonic_.nsecsElapsed()) / 1e9;
}

void FakeClock::Advance(double s) {
    if (!(s > 0)) return;
    monotonic_ += s;
    double t = static_cast<double>(seconds_) + s;
    while (t >= 86400) {
        t -= 86400;
        date_ = date_.addDays(1);
    }
    seconds_ = static_cast<float>(t);
}

void FakeClock::AdvanceTo(double timeOfDay) {
    const double now = seconds_;
    Advance(timeOfDay > now ? timeOfDay - now : timeOfDay + 86400 - now);
}
