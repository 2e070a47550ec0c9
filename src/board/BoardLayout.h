#pragma once
// Geometry of the board: slot size per board size, the slot grid for the
// board area's size, where each card goes, the shuffle into slots, the fixed
// screen sizes and manual sizing by the minus and plus keys. All lengths in
// twips; no widgets here.
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "platform/Twips.h"

class Random;

namespace board {

// The slot arrays hold this many entries; a board has at most 80 cards.
inline constexpr int MaxSlots = 89;

// The reference board area the size table was drawn for.
inline constexpr double ReferenceWidth = 9550;
inline constexpr double ReferenceHeight = 6130;

// Largest intermediate picture kept per chosen file, in pixels. The largest
// card of the fixed screen sizes is about 265 x 277 px (4 pairs at
// "1280 by 1024"); the rest is headroom for manual growth.
inline constexpr int IntermediateSize = 384;

struct BoardGrid {
    double SlotSize = 2000;  // table units, used for width and height
    double CardWidth = 0, CardHeight = 0;
    double GridLeft = 5, GridTop = 5;
    double RowLimit = 9500;
    int GridColumns = 0, GridRows = 0;
    double GridWidth = 0, GridHeight = 0;
    std::array<double, MaxSlots> SlotX{};
    std::array<int16_t, MaxSlots> SlotY{};
};

// Slot size, GridLeft, GridTop and RowLimit for a board of `PairCount` pairs.
void ChooseCardSize(BoardGrid& g, int PairCount);

// Columns, rows, slot positions and grid extent of `CardCount` slots for a
// board area of the given size (twips). SlotX keeps fractions; SlotY is
// rounded to a 16-bit integer, halves to even.
void ComputeGrid(BoardGrid& g, int CardCount, double boardWidth, double boardHeight);

// Offsets that centre the grid in the board area (20 twips further left for
// 5 and 25 pairs).
struct Offsets {
    double top = 0, left = 0;
};
Offsets PlacementOffsets(const BoardGrid& g, int PairCount, double boardWidth, double boardHeight);

// The rectangle of a card's two images inside its slot: a 6-twip margin on
// every side.
using TwipRect = twips::Rect;
TwipRect CardImageRect(const BoardGrid& g, double CardX, double CardY);

// Every card takes a uniformly drawn free slot: for each card, draw among
// the `CardCount` slots until a free one comes up. After MaxShuffleDraws
// draws for one card it takes the next free slot after the last draw, so the
// shuffle ends whatever the generator or the slot positions. Returns CardSlot
// per card; the grid is left as it was.
inline constexpr int MaxShuffleDraws = 10000;
std::vector<int> ShuffleSlots(int CardCount, Random& random);

// ---- Screen sizes ----
struct ScreenSize {
    const char* caption;
    double windowWidth, boardHeight, windowHeight;
};
inline constexpr std::array<ScreenSize, 6> ScreenSizes = {{
    {QT_TRANSLATE_NOOP("Form2", "480 by 600"), 9550, 6000, 6750},
    {QT_TRANSLATE_NOOP("Form2", "720 by 576"), 10753, 6850, 7600},
    {QT_TRANSLATE_NOOP("Form2", "800 by 600"), 11971, 7715, 8465},
    {QT_TRANSLATE_NOOP("Form2", "1024 by 768"), 15277, 10050, 10800},
    {QT_TRANSLATE_NOOP("Form2", "1152 by 864"), 17221, 11425, 12175},
    {QT_TRANSLATE_NOOP("Form2", "1280 by 1024"), 19100, 12755, 13505},
}};

// ---- Manual sizing with the minus and plus keys ----
inline constexpr double ManualFloor = 6400;  // smallest window height the minus key reaches
inline constexpr double ResizeIncrement = 10;

// What the key-up of the minus (189) or plus (187) key does with the window
// of width W and height H and the step gathered while the key was held.
struct ManualResize {
    bool apply = false;  // false: nothing changes and the step stays pending
    double step = 0;     // the step actually applied (the minus key stops at the floor)
    double pictureWidth = 0, pictureHeight = 0;
    double windowWidth = 0, windowHeight = 0;
};
ManualResize ManualResizeFor(int KeyCode, double W, double H, double ResizeStep,
                             double AspectRatio);

// ---- Board Size menu ----
// The integer value of a board-size text ("12" -> 12, "" -> 0, "8x2" -> 8).
int BoardSizeValue(const QString& text);
// A menu caption for a board-size text: a single character gets a blank in
// front, then "x2" (" 8x2", "12x2").
QString SizeMenuCaption(const QString& boardSizeText);

}  // namespace board
