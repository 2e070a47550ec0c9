#include "platform/Clock.h"

#include <QDateTime>

float SystemClock::SecondsSinceMidnight() {
    const QTime t = QTime::currentTime();
    return static_cast<float>(t.msecsSinceStartOfDay() / 1000.0);
}

QDate SystemClock::Today() { return QDate::currentDate(); }
