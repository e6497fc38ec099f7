// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pseudo-random generator: seeded from the clock, uniform integers below a
// bound. Tests put in a generator of their own to fix the deal.
#include <memory>
#include <random>

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void seedFromClock() = 0;
    // Uniform in 0 .. bound - 1; bound > 0.
    virtual int below(int bound) = 0;
};

class ClockSeededRandom : public RandomSource {
public:
    ClockSeededRandom();
    void seedFromClock() override;
    int below(int bound) override;

private:
    std::mt19937_64 engine_;
};
