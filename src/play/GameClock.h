#pragma once
// The board clock in the title bar: the tick arithmetic (pauses cut out tick
// by tick, the midnight correction), the displayed hours, minutes and seconds
// and the caption texts.
#include <QDate>
#include <QString>
#include <optional>

namespace gameclock {

// The clock as displayed. Minutes and seconds are text once padded: below 10
// they carry a leading "0"; hours are never padded.
struct Display {
    long long Hours = 0;
    QString Minutes = "0";
    QString Seconds = "0";
    // "h:mm:ss" as the caption, the result window and the high-score table show it.
    QString Text() const;
};

// Elapsed seconds as displayed: whole seconds, halves to the even second
// (4.5 s shows 0:00:04, 5.5 s shows 0:00:06, 59.6 s shows 0:01:00).
Display FromElapsed(double elapsed);

// The clock of one board, in single-precision seconds since midnight.
struct BoardClock {
    float StartTime = 0;
    // The previous tick of a running board, or its start when no tick came yet.
    std::optional<float> LastTickTime;
    QDate DayMarker;

    // The first card click of a board; the clock counts from `now`.
    void Start(float now, const QDate& today);
    // After midnight the time of day starts again at 0: move the start back
    // by the jump so the elapsed time runs on. Only for a running board.
    void CorrectMidnight(float now, const QDate& today);
    // One tick of a running board; a paused tick moves the start forward so
    // it does not count. Returns the elapsed seconds.
    float Tick(float now, bool paused);
    // Elapsed seconds at `now` with the pauses so far cut out.
    float Elapsed(float now) const { return now - StartTime; }
};

// Caption of the running board and of the first card click (with a fresh Display, "0:0:0").
QString RunningCaption(double score, const Display& clock);
// Caption at the end of the board.
QString EndCaption(double score, const Display& clock, double bonus, double total);

}  // namespace gameclock
