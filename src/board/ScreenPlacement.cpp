#include "board/ScreenPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "app/Module1.h"
#include "platform/Twips.h"

namespace screenplacement {

namespace {
double Right(const Rect& r) {
    return r.left + r.width;
}
double Bottom(const Rect& r) {
    return r.top + r.height;
}
// A value that is no number, or one beyond every screen, counts as far away.
double Finite(double v, double fallback) {
    return std::isfinite(v) ? v : fallback;
}
// The screen the window's title bar is on, else the primary one.
const Rect* HomeScreen(const Rect& window, const std::vector<Rect>& screens) {
    for (const Rect& s : screens)
        if (TitleBarOnScreen(window, {s})) return &s;
    return screens.empty() ? nullptr : &screens.front();
}
}  // namespace

std::vector<Rect> AvailableScreens() {
    std::vector<Rect> out;
    const QScreen* primary = QGuiApplication::primaryScreen();
    auto add = [&out](const QScreen* s) {
        const QRect a = s->availableGeometry();
        out.push_back({twips::FromPixels(a.x()), twips::FromPixels(a.y()),
                       twips::FromPixels(a.width()), twips::FromPixels(a.height())});
    };
    if (primary) add(primary);
    for (const QScreen* s : QGuiApplication::screens())
        if (s != primary) add(s);
    return out;
}

bool TitleBarOnScreen(const Rect& w, const std::vector<Rect>& screens) {
    if (!std::isfinite(w.left) || !std::isfinite(w.top) || !std::isfinite(w.width)) return false;
    const double needed = std::min(MinTitleBarWidth, std::max(0.0, w.width));
    for (const Rect& s : screens) {
        if (w.top < s.top || w.top + TitleBarHeight > Bottom(s)) continue;
        const double overlap = std::min(Right(w), Right(s)) - std::max(w.left, s.left);
        if (overlap >= needed && overlap > 0) return true;
    }
    return false;
}

Rect OnScreen(const Rect& window, const std::vector<Rect>& screens) {
    if (screens.empty() || TitleBarOnScreen(window, screens)) return window;
    const Rect& s = screens.front();
    Rect r = window;
    const double width = Finite(r.width, DefaultWidth), height = Finite(r.height, DefaultHeight);
    // As near to where it was as the primary screen allows, whole if it fits.
    r.left = std::clamp(Finite(r.left, s.left), s.left, std::max(s.left, Right(s) - width));
    r.top = std::clamp(Finite(r.top, s.top), s.top, std::max(s.top, Bottom(s) - height));
    return r;
}

Rect Sane(const Rect& window, const std::vector<Rect>& screens) {
    Rect r = window;
    r.width = std::isnan(r.width) ? DefaultWidth : r.width;
    r.height = std::isnan(r.height) ? DefaultHeight : r.height;
    double maxWidth = MinSize, maxHeight = MinSize;
    Rect probe = r;
    probe.width = std::clamp(r.width, MinSize, 1e9);
    if (const Rect* s = HomeScreen(probe, screens)) {
        // The sizes are the inner area's; the title bar must fit above it.
        maxWidth = std::max(MinSize, s->width);
        maxHeight = std::max(MinSize, s->height - TitleBarHeight);
    } else {
        maxWidth = maxHeight = twips::FromPixels(twips::MaxPixels);
    }
    r.width = std::clamp(r.width, MinSize, maxWidth);
    r.height = std::clamp(r.height, MinSize, maxHeight);
    return OnScreen(r, screens);
}

bool SanitizeRecord(Module1Record& m, const std::vector<Rect>& screens) {
    const Rect stored{m.WindowLeft, m.WindowTop, m.WindowWidth, m.WindowHeight};
    const Rect r = Sane(stored, screens);
    const bool sizeChanged = r.width != stored.width || r.height != stored.height;
    const bool placeChanged = r.left != stored.left || r.top != stored.top;
    m.WindowLeft = r.left;
    m.WindowTop = r.top;
    m.WindowWidth = r.width;
    m.WindowHeight = r.height;
    if (sizeChanged || !std::isfinite(m.BoardWidth) || !std::isfinite(m.BoardHeight)) {
        // As start-up derives it from the window.
        m.BoardWidth = r.width - 115;
        m.BoardHeight = r.height - 750;
    }
    return sizeChanged || placeChanged;
}

bool SanitizeRecord(Module1Record& m) {
    return SanitizeRecord(m, AvailableScreens());
}

}  // namespace screenplacement
