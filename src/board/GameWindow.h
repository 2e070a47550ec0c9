#pragma once
#include "platform/Twips.h"

namespace board {

// The game window's outer rectangle, where secondary windows go: the window
// itself while it is loaded (the player may have moved it), otherwise the
// settings of the record.
twips::Rect GameWindowRect();

}  // namespace board
