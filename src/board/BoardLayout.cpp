#include "board/BoardLayout.h"

#include <algorithm>
#include <cmath>

#include "platform/Keys.h"
#include "platform/Numbers.h"
#include "platform/Random.h"

namespace board {

namespace {
struct SizeRow {
    int pairs;
    double slot;
    double rowLimit;
};
// Slot size and right limit of the first row per board size.
constexpr SizeRow SizeTable[] = {
    {4, 2000, 9500},  {5, 1810, 9500},  {6, 1960, 9500},  {7, 1777, 9500},  {8, 1472, 7000},
    {9, 1475, 9500},  {10, 1470, 8750}, {11, 1460, 9500}, {12, 1460, 9500}, {13, 1300, 9500},
    {14, 1300, 9500}, {15, 1175, 7820}, {16, 1135, 9500}, {17, 1165, 9000}, {18, 982, 6800},
    {19, 1140, 9500}, {20, 1140, 9500}, {21, 982, 7800},  {22, 989, 9500},  {23, 982, 8500},
    {24, 982, 8500},  {25, 910, 9500},  {26, 970, 9500},  {27, 970, 9500},  {28, 845, 7600},
    {29, 910, 9500},  {30, 910, 9500},  {31, 845, 8000},  {32, 740, 6500},  {33, 825, 9100},
    {34, 830, 9100},  {35, 830, 9100},  {36, 735, 7200},  {37, 825, 9200},  {38, 825, 9200},
    {39, 740, 8000},  {40, 740, 8000},
};
}  // namespace

void ChooseCardSize(BoardGrid& g, int PairCount) {
    g.SlotSize = 2000;
    g.GridLeft = 5;
    g.GridTop = 5;
    g.RowLimit = 9500;
    for (const SizeRow& row : SizeTable) {
        if (row.pairs == PairCount) {
            g.SlotSize = row.slot;
            g.RowLimit = row.rowLimit;
            if (PairCount >= 39) g.GridLeft = 200;
            return;
        }
    }
    if (PairCount > 10) g.SlotSize = 1460;
}

void ComputeGrid(BoardGrid& g, int CardCount, double boardWidth, double boardHeight) {
    const int n = std::clamp(CardCount, 0, MaxSlots);

    // Pass 1, in table units: how many slots fit in the first row.
    int columns = 0, rows = 1;
    double x = g.GridLeft;
    for (int j = 1; j < n; ++j) {
        x += g.SlotSize;
        if (rows == 1) ++columns;
        if (x + g.SlotSize > g.RowLimit) {
            x = g.GridLeft;
            ++rows;
        }
    }
    g.GridColumns = columns;

    // Scale to the board area.
    g.CardWidth = g.SlotSize * boardWidth / ReferenceWidth;
    g.CardHeight = g.SlotSize * boardHeight / ReferenceHeight;

    // Pass 2, in twips: the slots row by row.
    int c = 0;
    bool widthSet = false;
    double y = g.GridTop;
    g.GridRows = 1;
    g.GridWidth = g.GridColumns * g.CardWidth;
    if (n > 0) {
        g.SlotX[0] = g.GridLeft;
        g.SlotY[0] = num::ToInt16Clamped(y);
    }
    for (int j = 1; j < n; ++j) {
        g.SlotX[j] = g.SlotX[j - 1] + g.CardWidth;
        g.SlotY[j] = num::ToInt16Clamped(y);
        ++c;
        if (c == g.GridColumns) {
            if (!widthSet) {
                g.GridWidth = g.SlotX[j] - g.GridLeft;
                widthSet = true;
            }
            g.SlotX[j] = g.GridLeft;
            y += g.CardHeight;
            g.SlotY[j] = num::ToInt16Clamped(y);
            ++g.GridRows;
            c = 0;
        }
    }
    g.GridHeight = y + g.CardHeight - g.GridTop;
}

Offsets PlacementOffsets(const BoardGrid& g, int PairCount, double boardWidth, double boardHeight) {
    Offsets o;
    o.top = (boardHeight - g.GridHeight) / 2 - g.GridTop;
    o.left = (boardWidth - g.GridWidth) / 2 - g.GridLeft;
    if (PairCount == 5 || PairCount == 25) o.left -= 20;
    return o;
}

TwipRect CardImageRect(const BoardGrid& g, double CardX, double CardY) {
    return {CardX + 6, CardY + 6, g.CardWidth - 12, g.CardHeight - 12};
}

std::vector<int> ShuffleSlots(int CardCount, Random& random) {
    const int n = std::clamp(CardCount, 0, MaxSlots);
    std::vector<int> CardSlot(n, 0);
    // Taken slots are marked here, not by the sign of SlotX: in a board area
    // too small for its cards the slots' x may be zero or negative, and a
    // draw that waits for a positive x would never end.
    std::array<bool, MaxSlots> taken{};
    for (int k = 0; k < n; ++k) {
        int s = random.Index(n);
        for (int draws = 1; taken[s] && draws < MaxShuffleDraws; ++draws) s = random.Index(n);
        // A generator that keeps landing on taken slots: the next free one.
        while (taken[s]) s = (s + 1) % n;
        CardSlot[k] = s;
        taken[s] = true;
    }
    return CardSlot;
}

ManualResize ManualResizeFor(int KeyCode, double W, double H, double ResizeStep,
                             double AspectRatio) {
    ManualResize r;
    double step = ResizeStep;
    double sign = 0;
    if (KeyCode == vk::Minus) {
        if (!(H > ManualFloor)) return r;
        if (H - step < ManualFloor) step = H - ManualFloor;
        sign = -1;
    } else if (KeyCode == vk::Plus) {
        sign = 1;
    } else {
        return r;
    }
    r.apply = true;
    r.step = step;
    r.pictureWidth = W + sign * step * AspectRatio - 100;
    r.pictureHeight = H + sign * step - 750;
    r.windowWidth = W + sign * step * AspectRatio;
    r.windowHeight = H + sign * step;
    return r;
}

int BoardSizeValue(const QString& text) {
    const QString t = text.trimmed();
    int i = 0;
    while (i < t.size() && t[i].isDigit()) ++i;
    return i == 0 ? 0 : t.left(std::min(i, 9)).toInt();
}

QString SizeMenuCaption(const QString& boardSizeText) {
    return (boardSizeText.size() == 1 ? " " + boardSizeText : boardSizeText) + "x2";
}

}  // namespace board
