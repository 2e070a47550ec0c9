#pragma once
#include <vector>

#include "board/BoardLayout.h"

// Moving the keyboard focus over the board's slots with the arrow keys.
namespace board {

enum class FocusMove { Left, Right, Up, Down };

// The first `count` slots of `g` in reading order: by row, then left to right.
std::vector<int> ReadingOrder(const BoardGrid& g, int count);

// Where the focus goes from slot `from`. Left and Right walk the reading
// order and wrap from a row's end to the next row's start (and from the last
// slot to the first), so no slot is ever skipped. Up and Down go to the
// nearest slot of the row above or below, from the top row to the bottom
// one and back. A focus outside the board starts at the first slot.
int MoveFocus(const BoardGrid& g, int count, int from, FocusMove move);

}  // namespace board
