#include "play/GameClock.h"

#include <QCoreApplication>

#include "platform/Numbers.h"

namespace gameclock {

namespace {
QString Padded(long long v) {
    QString s = num::Text(static_cast<double>(v));
    if (s.size() == 1) s.prepend('0');
    return s;
}
}  // namespace

QString Display::Text() const {
    return num::Text(static_cast<double>(Hours)) + ":" + Minutes + ":" + Seconds;
}

Display FromElapsed(double elapsed) {
    // `\` and mod round their operand first; that is what rounds the clock
    // to whole seconds.
    Display d;
    double e = elapsed;
    d.Hours = 0;
    if (e > 0) d.Hours = num::IntDiv(e, 3600);
    e = static_cast<double>(num::Mod(e, 3600));
    long long minutes = 0;
    if (e > 0) minutes = num::IntDiv(e, 60);
    e = static_cast<double>(num::Mod(e, 60));
    d.Minutes = Padded(minutes);
    d.Seconds = Padded(static_cast<long long>(e));
    return d;
}

void BoardClock::Start(float now, const QDate& today) {
    DayMarker = today;
    StartTime = now;
    // The board's time counts from here: a tick left over from an earlier
    // board must not count as paused time of this one.
    LastTickTime = now;
}

void BoardClock::CorrectMidnight(float now, const QDate& today) {
    if (today == DayMarker) return;
    const float d = LastTickTime ? *LastTickTime - now : 0.0f;
    StartTime = StartTime - d;
    DayMarker = today;
}

float BoardClock::Tick(float now, bool paused) {
    // Without an earlier tick there is no paused time to cut out.
    const float d = LastTickTime ? now - *LastTickTime : 0.0f;
    LastTickTime = now;
    if (paused) StartTime = StartTime + d;
    return *LastTickTime - StartTime;
}

QString RunningCaption(double score, const Display& clock) {
    return QCoreApplication::translate("GameClock", "Tavimo    Score: %1       Time %2")
        .arg(num::Text(score), clock.Text());
}

QString EndCaption(double score, const Display& clock, double bonus, double total) {
    return QCoreApplication::translate("GameClock", "%1    Bonus %2    Total Score %3")
        .arg(RunningCaption(score, clock), num::Text(bonus), num::Text(total));
}

}  // namespace gameclock
