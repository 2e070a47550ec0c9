#pragma once

// Where the high-score window puts its picture, headings, columns and button
// for the game window's current size (all in twips). Only left positions,
// the picture's size and the button's position follow the size; everything
// else keeps its designed value.
#include "platform/Twips.h"

namespace highscores {

using Rect = twips::Rect;

// Designed positions of the high-score window's controls.
namespace design {
constexpr Rect Image1{660, 120, 8205, 5730};
constexpr Rect Label1{3840, 240, 2160, 435};    // "High Scores"
constexpr Rect Label2{990, 1080, 735, 495};     // "RANK"
constexpr Rect Label6{1950, 1080, 735, 375};    // "NAME"
constexpr Rect Label7{4320, 1080, 975, 375};    // "BOARD"
constexpr Rect Label8{6510, 1080, 615, 375};    // "TIME"
constexpr Rect Label9{7590, 1080, 975, 375};    // "SCORE"
constexpr Rect Label3{1230, 1560, 255, 3615};   // place numbers
constexpr Rect Label4{1950, 1560, 2055, 2895};  // names
// Boards: on the rows of the other columns (the design had them 120 lower,
// half a row out of line).
constexpr Rect Label10{4440, 1560, 495, 3015};
constexpr Rect Label11{6270, 1560, 975, 3255};  // times
constexpr Rect Label5{7470, 1560, 855, 3615};   // scores
constexpr Rect OK{6720, 5760, 975, 375};
constexpr double ClientWidth = 9495, ClientHeight = 6660;
}  // namespace design

struct Form4Layout {
    Rect Window;  // outer size and position: the game window's
    Rect Image1, Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8, Label9, Label10,
        Label11, OK;
};

// The designed layout, before the first Resize.
Form4Layout DesignedForm4();

// The layout for a window of the game window's geometry.
Form4Layout LayoutForm4(double left, double top, double width, double height);

}  // namespace highscores
