#include "play/Scoring.h"

#include "platform/Numbers.h"

namespace scoring {

long long Bonus(int parTime, float elapsed) {
    if (!(elapsed < static_cast<float>(parTime))) return 0;
    // Worked in single precision like the clock itself.
    const float tenths = (static_cast<float>(parTime) - elapsed) * 10.0f;
    return num::RoundHalfEven(tenths);
}

int16_t Total(double score, double bonus) {
    return num::ToInt16Clamped(score + bonus);
}

int Rank(const std::array<int16_t, 10>& bestScores, double total) {
    for (int i = 0; i < 10; ++i)
        if (bestScores[i] - total <= 0) return i + 1;
    return -1;
}

}  // namespace scoring
