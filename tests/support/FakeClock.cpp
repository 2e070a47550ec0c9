#include "FakeClock.h"

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
