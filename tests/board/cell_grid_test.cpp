// SPDX-License-Identifier: GPL-3.0-or-later
// The arithmetic of the painted grids: which cells an area meets, also where
// a palette's squares are taller than its rows, and how far a grid reaches.
#include "board/cell_grid.h"

#include <gtest/gtest.h>

TEST(CellGrid, TheCellsMeetingAnAreaAreItsRowsAndNoMore) {
    const CellGrid thumbnails = thumbnailGrid({8, 16}, {100, 140});
    EXPECT_EQ(thumbnails.cellRect(6), QRect(128, 186, 100, 140));
    // The first screen of the box (653 x 405): three rows of five.
    const std::vector<int> first = thumbnails.positionsMeeting(QRect(0, 0, 653, 405), 5000);
    ASSERT_EQ(first.size(), 15u);
    EXPECT_EQ(first.front(), 0);
    EXPECT_EQ(first.back(), 14);
    // Scrolled to 2,000: rows 11 (1,886 .. 2,025) to 14; the last screen stops at the count.
    const std::vector<int> middle = thumbnails.positionsMeeting(QRect(0, 2000, 653, 405), 5000);
    EXPECT_EQ(middle.front(), 55);
    EXPECT_EQ(middle.back(), 74);
    EXPECT_EQ(thumbnails.positionsMeeting(QRect(0, 169 * 170, 653, 405), 847).back(), 846);
    // The gap between two rows meets no cell; an area beside the columns none either.
    EXPECT_TRUE(thumbnails.positionsMeeting(QRect(0, 160, 653, 20), 50).empty());
    EXPECT_EQ(thumbnails.positionsMeeting(QRect(110, 20, 15, 10), 50), std::vector<int>{});
    EXPECT_TRUE(thumbnails.positionsMeeting(QRect(0, 0, 653, 405), 0).empty());

    // Squares of 120 overlap the next row (rows 90 apart): an area from 95
    // down still meets row 0 (10 .. 129).
    const CellGrid palette = paletteGrid(120);
    const std::vector<int> overlapping = palette.positionsMeeting(QRect(0, 95, 393, 10), 30);
    EXPECT_EQ(overlapping, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(paletteGrid(60).positionsMeeting(QRect(0, 95, 393, 10), 30), (std::vector<int>{3, 4, 5}));
}

TEST(CellGrid, TheExtentHoldsTheLastRowAndTheWidestRow) {
    EXPECT_EQ(thumbnailGrid({8, 16}, {100, 140}).extent(7), QSize(588, 326));
    EXPECT_EQ(thumbnailGrid({8, 16}, {100, 140}).extent(2), QSize(228, 156));
    EXPECT_EQ(paletteGrid(60).extent(7), QSize(328, 250));
    EXPECT_EQ(paletteGrid(60).extent(0), QSize(0, 0));
}
