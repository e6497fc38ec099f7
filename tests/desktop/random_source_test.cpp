// SPDX-License-Identifier: GPL-3.0-or-later
// The clock-seeded generator stays inside its bound and reaches all of it.
#include "desktop/random_source.h"

#include <gtest/gtest.h>
#include <set>

TEST(RandomSource, BelowCoversZeroToBoundMinusOne) {
    ClockSeededRandom random;
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        const int v = random.below(5);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 5);
        seen.insert(v);
    }
    EXPECT_EQ(seen.size(), 5u);
    EXPECT_EQ(random.below(1), 0);
    EXPECT_EQ(random.below(0), 0);
}
