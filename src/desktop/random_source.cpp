// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/random_source.h"

#include <chrono>

ClockSeededRandom::ClockSeededRandom() { seedFromClock(); }

void ClockSeededRandom::seedFromClock() {
    engine_.seed(static_cast<std::mt19937_64::result_type>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count()));
}

int ClockSeededRandom::below(int bound) {
    // A bound of 0 or less has no valid result; 0 keeps callers' indexing safe.
    if (bound <= 0) return 0;
    return std::uniform_int_distribution<int>(0, bound - 1)(engine_);
}
