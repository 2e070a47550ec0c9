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
