#pragma once
#include "platform/Twips.h"

class QWidget;

// Where windows and their controls go, in twips: secondary windows over the
// game window, controls at their layout's rectangles.
namespace placement {

// Moves and sizes a control to a rectangle of its parent.
void Place(QWidget* w, const twips::Rect& r);
void Place(QWidget* w, double left, double top, double width, double height);

// Moves and sizes a top-level window so that its outer rectangle, frame
// included where the window system reports one, is `r`.
void SetOuterRect(QWidget* w, const twips::Rect& r);

// Moves a top-level window's outer top-left corner, keeping its size.
void SetOuterPosition(QWidget* w, double left, double top);

// Whether the window system tells where a top-level window stands. Wayland
// tells no client (every window reads 0,0): a place read there is no place.
bool PositionsReported();

// The window's outer size in twips.
double OuterWidth(const QWidget* w);
double OuterHeight(const QWidget* w);

}  // namespace placement
