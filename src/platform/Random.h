#pragma once
#include <random>

// Uniform draws r in [0, 1); drawing from n entries takes index floor(r * n).
class Random {
public:
    virtual ~Random() = default;
    virtual double Next() = 0;
    // Reseeds from the clock (every deal does this).
    virtual void Reseed() = 0;
    int Index(int n) {
        if (n <= 0) return 0;
        const int i = static_cast<int>(Next() * n);
        return i < n ? i : n - 1;
    }
};

// A uniform draw in [0, 1) from the generator, as every Random gives it.
double UniformDraw(std::mt19937& g);

class SystemRandom final : public Random {
public:
    SystemRandom();
    double Next() override;
    void Reseed() override;

private:
    std::mt19937 gen_;
};
