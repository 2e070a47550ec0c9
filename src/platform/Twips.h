#pragma once
// Positions and sizes are kept in twips (1440 per inch, 15 per logical pixel)
// and turned into pixels only when a widget is moved or sized.
#include <QRect>
#include <cmath>

#include "platform/Numbers.h"

namespace twips {

constexpr double PerPixel = 15.0;

// The largest pixel coordinate or length handed to a widget. Far beyond any
// screen, and small enough that Qt's own sums (left + width) cannot overflow.
constexpr int MaxPixels = 16777215;

// A length in twips as pixels, saturating: a huge, infinite or missing value
// from a damaged file never overflows (NaN gives 0).
inline int ToPixels(double t) {
    const double px = t / PerPixel;
    if (std::isnan(px)) return 0;
    if (px >= MaxPixels) return MaxPixels;
    if (px <= -MaxPixels) return -MaxPixels;
    return static_cast<int>(num::RoundHalfEven(px));
}
inline double FromPixels(int px) {
    return px * PerPixel;
}

inline QRect ToPixelRect(double left, double top, double width, double height) {
    return QRect(ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height));
}

// A rectangle in twips: the one type every layout rule works in.
struct Rect {
    double left = 0, top = 0, width = 0, height = 0;
    double right() const { return left + width; }
    double bottom() const { return top + height; }
};

inline QRect ToPixelRect(const Rect& r) {
    return ToPixelRect(r.left, r.top, r.width, r.height);
}

}  // namespace twips
