// SPDX-License-Identifier: GPL-3.0-or-later
// Many pictures painted by one widget on a grid of cells: which cells an
// area meets, items in their dealt cells drawn with their pictures or a
// placeholder, hidden ones neither drawn nor hit, and each item an
// accessible child with its place and state.
#include "board/painted_cells.h"

#include <QAccessible>
#include <QTest>
#include <gtest/gtest.h>
#include <map>

namespace {

CellPicture solid(QSize size, QRgb colour) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    return CellPicture{img, size, {}};
}

}  // namespace

// The thumbnails' cells an area meets are its rows and no more: scrolled to
// 2,000, rows 11 (1,886 .. 2,025) to 14; the last screen stops at the count;
// the gap between two rows meets none.
TEST(PaintedCells, TheCellsMeetingAnAreaAreItsRowsAndNoMore) {
    const CellGrid thumbnails = thumbnailGrid({8, 16}, {100, 140});
    EXPECT_EQ(thumbnails.cellRect(6), QRect(128, 186, 100, 140));
    const std::vector<int> middle = thumbnails.positionsMeeting(QRect(0, 2000, 653, 405), 5000);
    EXPECT_TRUE(middle.size() == 20 && middle.front() == 55 && middle.back() == 74);
    EXPECT_EQ(thumbnails.positionsMeeting(QRect(0, 169 * 170, 653, 405), 847).back(), 846);
    EXPECT_TRUE(thumbnails.positionsMeeting(QRect(0, 160, 653, 20), 50).empty());
    EXPECT_TRUE(thumbnails.positionsMeeting(QRect(110, 20, 15, 10), 50).empty()) << "beside the columns";
    EXPECT_EQ(thumbnails.extent(7), QSize(588, 326));
    EXPECT_EQ(thumbnails.extent(2), QSize(228, 156));
}

TEST(PaintedCells, ItemsLieInTheirCellsHiddenOnesAreNeitherDrawnNorHitAndEachIsAnAccessibleChild) {
    QWidget background;
    background.resize(400, 300);
    background.setAutoFillBackground(true);
    background.setPalette(QPalette(Qt::white));
    PaintedCells cells(&background);
    cells.setGrid(paletteGrid(100));  // squares of 100, rows 90 apart: they overlap
    cells.setItems(6, {5, 0, 1, 2, 3, 4});
    EXPECT_EQ(cells.size(), QSize(368, 200));
    std::map<int, CellPicture> pictures{{0, solid({100, 50}, qRgb(255, 0, 0))}, {1, solid({100, 100}, qRgb(0, 0, 255))},
                                        {4, solid({100, 100}, qRgb(0, 255, 0))}};
    cells.pictureOf = [&](int item) -> const CellPicture* {
        const auto found = pictures.find(item);
        return found == pictures.end() ? nullptr : &found->second;
    };
    background.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&background));
    EXPECT_EQ(cells.itemRect(0), QRect(268, 100, 100, 100));
    EXPECT_EQ(cells.itemRect(1), QRect(8, 10, 100, 100));
    // Cell 0 (item 1) runs down into row 1, where cell 3 (item 4) lies on top.
    EXPECT_EQ(cells.itemAt({50, 50}), 1);
    EXPECT_EQ(cells.itemAt({50, 105}), 4);
    EXPECT_EQ(cells.itemAt({120, 50}), -1) << "between the columns";
    EXPECT_EQ(cells.itemsMeeting(QRect(0, 0, 400, 20)), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(cells.itemsMeeting(QRect(0, 105, 400, 2)), (std::vector<int>{0, 1, 2, 3, 4, 5})) << "row 0 reaches down";

    const QImage drawn = background.grab().toImage();
    EXPECT_EQ(drawn.pixel(278, 110), qRgb(255, 0, 0)) << "item 0, 100 x 50 at the top of its cell";
    EXPECT_EQ(drawn.pixel(278, 180), qRgb(255, 255, 255)) << "nothing below a wide picture";
    EXPECT_EQ(drawn.pixel(50, 105), qRgb(0, 255, 0));
    EXPECT_NE(drawn.pixel(148, 20), qRgb(255, 255, 255)) << "a placeholder where no picture is in yet";

    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&cells);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    QAccessibleInterface* fifth = list->child(4);
    ASSERT_NE(fifth, nullptr);
    EXPECT_EQ(fifth->rect(), QRect(cells.mapToGlobal(QPoint(8, 100)), QSize(100, 100)));
    EXPECT_EQ(list->indexOfChild(fifth), 4);
    EXPECT_EQ(fifth->parent(), list);
    EXPECT_EQ(list->child(4), fifth) << "one interface per item";
    const QPoint inItem1 = cells.mapToGlobal(QPoint(20, 30));
    EXPECT_EQ(list->childAt(inItem1.x(), inItem1.y()), list->child(1));
    background.resize(400, 100);
    EXPECT_TRUE(fifth->state().offscreen) << "below the window";
    EXPECT_FALSE(list->child(1)->state().offscreen);

    cells.setItemHidden(4, true);
    EXPECT_TRUE(fifth->state().invisible);
    EXPECT_EQ(cells.itemAt({50, 105}), 1) << "the hidden part no longer covers item 1";
    background.resize(400, 300);
    EXPECT_EQ(background.grab().toImage().pixel(50, 105), qRgb(0, 0, 255));
    cells.setItems(6, {5, 0, 1, 2, 3, 4});
    EXPECT_FALSE(cells.itemHidden(4)) << "a new deal shows every item";
    cells.setItems(3);
    EXPECT_EQ(list->childCount(), 3);
    EXPECT_FALSE(fifth->isValid()) << "an item the widget no longer has";
}
