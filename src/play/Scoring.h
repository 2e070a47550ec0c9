#pragma once
// The end of a board in numbers: par time, time bonus, total and its place
// in the high-score table.
#include <array>
#include <cstdint>

namespace scoring {

// Par time of a board in seconds: 4 seconds per pair, 2 per card.
inline int ParTime(int cardCount) {
    return 2 * cardCount;
}

// Ten points for every second under par, one per tenth, rounded halves to
// even; nothing at or over par.
long long Bonus(int parTime, float elapsed);

// Score plus bonus, held to the signed 16-bit range the table stores, so the
// total ranked is the total kept.
int16_t Total(double score, double bonus);

// The 1-based place the total takes in a table of totals (best first), or -1.
// A total equal to a row's total takes that row's place.
int Rank(const std::array<int16_t, 10>& bestScores, double total);

}  // namespace scoring
