#pragma once
// Geometry of the picture viewer, in twips: where the viewport, the picture,
// the scaled view, the button bar and the two scroll bars go for a window and
// a picture size, and how far the bars scroll.

#include "platform/Twips.h"

namespace viewer {

using TwipsRect = twips::Rect;

// How the picture at its natural size compares with the viewport.
enum class Fit {
    TallerAndWider,  // both bars
    WiderOnly,       // horizontal bar across the whole width
    TallerOnly,      // vertical bar, extra travel at the bottom
    Neither          // no bars, picture centred
};

// A scroll bar's values. A value step of 1 moves the picture by `unit`
// twips; the unit grows above 1 only for pictures so large that twips would
// leave the bar's range (0 to MaxValue). Every step is at least 1.
struct ScrollBarLayout {
    TwipsRect rect;
    bool visible = true;
    int maximum = 0;
    int smallChange = 1;
    int largeChange = 1;
    double unit = 1;
};

struct ViewerLayout {
    Fit fit = Fit::Neither;
    TwipsRect viewport;      // Picture2, in the window
    double pictureLeft = 0;  // Picture1, inside the viewport
    double pictureTop = 0;
    TwipsRect scaled;                      // Image1, the "Fit to screen" view
    TwipsRect buttonBar;                   // Picture3
    double okLeft = 0, toggleLeft = 0;     // Command1 and Command2, inside the bar
    ScrollBarLayout vertical, horizontal;  // VScroll1, HScroll1
};

// Largest value a scroll bar holds.
inline constexpr int MaxValue = 32767;
// Designed sizes of the controls that keep them.
inline constexpr double ButtonWidth = 1095;
inline constexpr double ButtonHeight = 255;
inline constexpr double ScrollBarThickness = 255;
inline constexpr double VScrollWidth = 240;

// The layout for a window of outer size windowWidth x windowHeight and a
// picture of natural size pictureWidth x pictureHeight (all twips).
ViewerLayout Compute(double windowWidth, double windowHeight, double pictureWidth,
                     double pictureHeight);

// Values of a bar for an overflow of `travel` twips with large and small
// steps of `largeStep` and `smallStep` twips.
ScrollBarLayout ScrollValues(double travel, double largeStep, double smallStep);

// How far the picture moves (twips) when a bar goes from `last` to `now`:
// the other way, by the difference.
inline double PictureShift(int last, int now, double unit) {
    return (last - now) * unit;
}

}  // namespace viewer
