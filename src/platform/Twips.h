#pragma once
// Positions and sizes are kept in twips (1440 per inch, 15 per logical pixel)
// and turned into pixels only when a widget is moved or sized.
#include <QRect>
#include "platform/Numbers.h"

namespace twips {

constexpr double PerPixel = 15.0;

inline int ToPixels(double t) { return static_cast<int>(num::RoundHalfEven(t / PerPixel)); }
inline double FromPixels(int px) { return px * PerPixel; }

inline QRect ToPixelRect(double left, double top, double width, double height) {
    return QRect(ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height));
}

}  // namespace twips
