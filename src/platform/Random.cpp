#include "platform/Random.h"

#include <QDateTime>

double UniformDraw(std::mt19937& g) {
    // 53 random bits -> [0, 1), never exactly 1.
    return std::generate_canonical<double, 53>(g) * (1.0 - 1e-16);
}

SystemRandom::SystemRandom() {
    Reseed();
}

double SystemRandom::Next() {
    return UniformDraw(gen_);
}

void SystemRandom::Reseed() {
    gen_.seed(static_cast<unsigned>(QDateTime::currentMSecsSinceEpoch() ^ 0x5bd1e995u));
}
