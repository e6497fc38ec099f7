// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/palette.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <set>

namespace {

// Replays a fixed list of draws, wrapping each into the bound it is asked for.
class ScriptedRandom : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<int> draws) : draws_(std::move(draws)) {}
    void seedFromClock() override {}
    int below(int bound) override {
        bounds.push_back(bound);
        const int value = draws_.empty() ? 0 : draws_[next_++ % draws_.size()];
        return value % bound;
    }
    std::vector<int> bounds;

private:
    std::vector<int> draws_;
    std::size_t next_ = 0;
};

QString asText(const std::vector<int>& cells) {
    QStringList parts;
    for (int c : cells) parts << QString::number(c);
    return parts.join(QLatin1Char(' '));
}

}  // namespace

TEST(Palette, CellsRunThreeARowFrom8And10) {
    EXPECT_EQ(paletteCell(0), QPoint(8, 10));
    EXPECT_EQ(paletteCell(1), QPoint(138, 10));
    EXPECT_EQ(paletteCell(2), QPoint(268, 10));
    EXPECT_EQ(paletteCell(3), QPoint(8, 100));
    EXPECT_EQ(paletteCell(6), QPoint(8, 190));
}

TEST(Palette, SquareTakesTheLongerSideOfTheChosenPart) {
    EXPECT_EQ(paletteSquareSide(QSize(60, 40)), 60);
    EXPECT_EQ(paletteSquareSide(QSize(40, 60)), 60);
}

TEST(Palette, EveryCellIsDealtExactlyOnce) {
    for (int n = 1; n <= 20; ++n) {
        ScriptedRandom random({7, 3, 0, 11, 5, 2, 19, 1});
        const std::vector<int> cells = dealCells(n, random);
        ASSERT_EQ(cells.size(), static_cast<std::size_t>(n));
        EXPECT_EQ(std::set<int>(cells.begin(), cells.end()).size(), static_cast<std::size_t>(n));
        EXPECT_EQ(*std::min_element(cells.begin(), cells.end()), 0);
        EXPECT_EQ(*std::max_element(cells.begin(), cells.end()), n - 1);
        // One draw per image, each below the number of cells still free.
        ASSERT_EQ(random.bounds.size(), static_cast<std::size_t>(n));
        for (int k = 0; k < n; ++k) EXPECT_EQ(random.bounds[k], n - k);
    }
}

TEST(Palette, DrawnCellLeavesTheRestInOrder) {
    // Draws 1, 1, 0, 0 from pools 0123 -> 023 -> 03 -> 3.
    ScriptedRandom random({1, 1, 0, 0});
    EXPECT_EQ(asText(dealCells(4, random)), QStringLiteral("1 2 0 3"));
    ScriptedRandom last({3, 2, 1, 0});
    EXPECT_EQ(asText(dealCells(4, last)), QStringLiteral("3 2 1 0"));
}

TEST(Palette, EveryPermutationOfThreeFacesOccurs) {
    ClockSeededRandom random;
    random.seedFromClock();
    std::set<std::vector<int>> seen;
    for (int deal = 0; deal < 2000 && seen.size() < 6; ++deal) seen.insert(dealCells(3, random));
    EXPECT_EQ(seen.size(), 6u);
}

TEST(Palette, ThumbnailsRunFiveARow) {
    const QPoint pos(8, 16);
    const QSize size(100, 140);
    EXPECT_EQ(thumbnailCell(0, pos, size), QPoint(8, 16));
    EXPECT_EQ(thumbnailCell(4, pos, size), QPoint(488, 16));
    EXPECT_EQ(thumbnailCell(5, pos, size), QPoint(8, 186));
    EXPECT_EQ(thumbnailCell(11, pos, size), QPoint(128, 356));
    // Three faces make one row.
    EXPECT_EQ(thumbnailCell(2, pos, size).y(), 16);
    // The grid follows the template wherever it stands.
    EXPECT_EQ(thumbnailCell(6, QPoint(8, -84), size), QPoint(128, 86));
}

// Thousands of faces are dealt the same as drawing from an ordered list of
// the free cells would deal them.
TEST(Palette, ALargeDealDrawsTheSameCellsAsAnOrderedListOfFreeCells) {
    std::vector<int> draws;
    for (int k = 0; k < 5000; ++k) draws.push_back((k * 7919 + 13) % 10007);
    ScriptedRandom random(draws);
    const std::vector<int> cells = dealCells(5000, random);
    std::vector<int> pool(5000);
    for (int c = 0; c < 5000; ++c) pool[c] = c;
    for (int k = 0; k < 5000; ++k) {
        const int r = draws[k] % int(pool.size());
        ASSERT_EQ(cells[k], pool[r]) << "image " << k;
        pool.erase(pool.begin() + r);
    }
}
