#pragma once
#include "viewer/ViewerLayout.h"

class QWidget;

// Where secondary windows go: over the game window, in twips.
namespace placement {

// The game window's outer rectangle: the window itself while it is loaded
// (the player may have moved it), otherwise the settings of the record.
viewer::TwipsRect GameWindowRect();

// Moves and sizes a top-level window so that its outer rectangle, frame
// included where the window system reports one, is `r`.
void SetOuterRect(QWidget* w, const viewer::TwipsRect& r);

// Moves a top-level window's outer top-left corner, keeping its size.
void SetOuterPosition(QWidget* w, double left, double top);

// The window's outer size in twips.
double OuterWidth(const QWidget* w);
double OuterHeight(const QWidget* w);

}  // namespace placement
