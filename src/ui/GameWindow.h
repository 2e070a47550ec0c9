#pragma once
#include <QSizeF>
#include <functional>
#include <optional>

#include "platform/Twips.h"

class QWidget;

// The game window as the other windows see it: where it stands, its sound
// switch, and giving it back the input after a window over it has done. The game
// window registers how to reach it when it is built; the hooks find it
// through the window registry each time, so they answer for the game window
// that is loaded now and for none once it has been unloaded. Without a game
// window each answer is what the settings of record say.
namespace gamewindow {

struct Hooks {
    // The loaded game window, or null.
    std::function<QWidget*()> window;
    // Its outer rectangle in twips, where the player left it; asked only
    // while `window` gives one.
    std::function<twips::Rect()> rect;
    // Its "S&ound" check; asked only while `window` gives one.
    std::function<bool()> soundOn;
};
void Register(Hooks hooks);

// The outer rectangle, where secondary windows go: the window itself while
// it is loaded (the player may have moved it), otherwise the settings of
// record.
twips::Rect Rect();

// The window's frame size in twips, or the record's width and height.
QSizeF FrameSize();

// The "S&ound" check at this moment; nothing without a game window.
std::optional<bool> SoundSwitch();

// The loaded game window, or null: the window the others stack over.
QWidget* Window();

// Lets the game window take clicks again after a window over it has done,
// and brings it to the front. It never went away: it is not shown anew.
void BringBack();

}  // namespace gamewindow
