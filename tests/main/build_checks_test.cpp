// SPDX-License-Identifier: GPL-3.0-or-later
// The game and its tests are built with the standard library's own checks
// (_GLIBCXX_ASSERTIONS): an empty optional dereferenced or an index out of
// range stops the program where it happens instead of giving a wrong number.
#include <cstdio>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace {

int valueOf(const std::optional<int>& value) { return *value; }
int at(const std::vector<int>& values, std::size_t index) { return values[index]; }

}  // namespace

TEST(BuildChecks, AnEmptyOptionalOrAnIndexOutOfRangeStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Values the compiler cannot see through, so that the checks run at run time.
    volatile bool set = false;
    volatile std::size_t beyond = 0;
    const std::optional<int> none = set ? std::optional<int>(1) : std::nullopt;
    EXPECT_DEATH(std::printf("%d\n", valueOf(none)), "");
    const std::vector<int> two(2, 7);
    EXPECT_DEATH(std::printf("%d\n", at(two, two.size() + beyond)), "");
}
