#include "board/KeyFocus.h"

#include <algorithm>
#include <cmath>

namespace board {

std::vector<int> ReadingOrder(const BoardGrid& g, int count) {
    std::vector<int> order;
    for (int s = 0; s < std::clamp(count, 0, MaxSlots); ++s) order.push_back(s);
    std::stable_sort(order.begin(), order.end(), [&g](int a, int b) {
        if (g.SlotY[a] != g.SlotY[b]) return g.SlotY[a] < g.SlotY[b];
        return g.SlotX[a] < g.SlotX[b];
    });
    return order;
}

int MoveFocus(const BoardGrid& g, int count, int from, FocusMove move) {
    const std::vector<int> order = ReadingOrder(g, count);
    if (order.empty()) return -1;
    const auto at = std::find(order.begin(), order.end(), from);
    if (at == order.end()) return order.front();
    const int n = static_cast<int>(order.size());
    const int i = static_cast<int>(at - order.begin());
    if (move == FocusMove::Right) return order[(i + 1) % n];
    if (move == FocusMove::Left) return order[(i + n - 1) % n];

    std::vector<int> rows;  // the rows' tops, from the top down
    for (int s : order)
        if (rows.empty() || rows.back() != g.SlotY[s]) rows.push_back(g.SlotY[s]);
    const int rowCount = static_cast<int>(rows.size());
    const int row =
        static_cast<int>(std::find(rows.begin(), rows.end(), g.SlotY[from]) - rows.begin());
    const int step = move == FocusMove::Down ? 1 : rowCount - 1;
    const int target = rows[(row + step) % rowCount];
    int best = -1;
    double bestDistance = 0;
    for (int s : order) {
        if (g.SlotY[s] != target) continue;
        const double d = std::abs(g.SlotX[s] - g.SlotX[from]);
        if (best < 0 || d < bestDistance) {
            best = s;
            bestDistance = d;
        }
    }
    return best;
}

}  // namespace board
