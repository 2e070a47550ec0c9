#pragma once
// Keeps a window placed from twips usable: a size the board can be laid out
// in and no larger than the screen, and a title bar the player can reach.
// The stored geometry of init.txt and every place the game window leaves
// behind pass through here before a window is put there.
#include <vector>

#include "platform/Twips.h"

struct Module1Record;

namespace screenplacement {

using Rect = twips::Rect;

// The smallest width and height of a placed window: the floor of manual sizing.
inline constexpr double MinSize = 6400;
// The default window's size, for a size that is no number at all.
inline constexpr double DefaultWidth = 9550, DefaultHeight = 6750;
// How much of the title bar must lie on a screen: its full height and this
// much of its width (or the whole width of a narrower window).
inline constexpr double TitleBarHeight = 450;
inline constexpr double MinTitleBarWidth = 1500;

// The screens' available areas (without panels) in twips, the primary first.
std::vector<Rect> AvailableScreens();

// Whether the window's title bar lies on one of the screens.
bool TitleBarOnScreen(const Rect& window, const std::vector<Rect>& screens);

// The window moved back onto the primary screen when its title bar lies on
// none of them; otherwise as it is. The size is kept.
Rect OnScreen(const Rect& window, const std::vector<Rect>& screens);

// Width and height clamped between MinSize and the size of the screen the
// window lies on (less a title bar's height), then placed with OnScreen.
Rect Sane(const Rect& window, const std::vector<Rect>& screens);

// The game window's stored place and size in the record made sane for these
// screens. A size that changed gives the board area the size start-up
// derives from the window. Returns true when anything changed.
bool SanitizeRecord(Module1Record& m, const std::vector<Rect>& screens);
// The same for the screens as they are now.
bool SanitizeRecord(Module1Record& m);

}  // namespace screenplacement
