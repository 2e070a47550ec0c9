#pragma once
#include <deque>
#include <random>

#include "platform/Random.h"

// Test double: plays back scripted values first, then a fixed-seed sequence.
class ScriptedRandom final : public Random {
public:
    explicit ScriptedRandom(unsigned seed = 1) : gen_(seed) {}
    std::deque<double> script;
    int reseeds = 0;
    double Next() override;
    void Reseed() override { ++reseeds; }

private:
    std::mt19937 gen_;
};
