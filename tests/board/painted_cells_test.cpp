// SPDX-License-Identifier: GPL-3.0-or-later
// Many pictures painted by one widget: items in their dealt cells, drawn
// with their pictures or a placeholder, hidden ones neither drawn nor hit,
// and each item an accessible child with its name, role and place.
#include "board/painted_cells.h"

#include <QAccessible>
#include <QMouseEvent>
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

TEST(PaintedCells, ItemsLieInTheirCellsAndHiddenOnesAreNeitherDrawnNorHit) {
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
    EXPECT_EQ(cells.itemRect(0), QRect(268, 100, 100, 100));
    EXPECT_EQ(cells.itemRect(1), QRect(8, 10, 100, 100));
    // Cell 0 (item 1) runs down into row 1, where cell 3 (item 4) lies on top.
    EXPECT_EQ(cells.itemAt({50, 50}), 1);
    EXPECT_EQ(cells.itemAt({50, 105}), 4);
    EXPECT_EQ(cells.itemAt({120, 50}), -1) << "between the columns";
    EXPECT_EQ(cells.itemsMeeting(QRect(0, 0, 400, 20)), (std::vector<int>{1, 2, 3}));

    const QImage drawn = background.grab().toImage();
    EXPECT_EQ(drawn.pixel(278, 110), qRgb(255, 0, 0)) << "item 0, 100 x 50 at the top of its cell";
    EXPECT_EQ(drawn.pixel(278, 180), qRgb(255, 255, 255)) << "nothing below a wide picture";
    EXPECT_EQ(drawn.pixel(50, 105), qRgb(0, 255, 0));
    EXPECT_NE(drawn.pixel(148, 20), qRgb(255, 255, 255)) << "a placeholder where no picture is in yet";

    cells.setItemHidden(4, true);
    EXPECT_EQ(cells.itemAt({50, 105}), 1) << "the hidden part no longer covers item 1";
    EXPECT_EQ(background.grab().toImage().pixel(50, 105), qRgb(0, 0, 255));
    cells.setItems(6, {5, 0, 1, 2, 3, 4});
    EXPECT_FALSE(cells.itemHidden(4)) << "a new deal shows every item";
}

TEST(PaintedCells, EachItemIsAnAccessibleChildWithItsNamePlaceAndState) {
    QWidget window;
    window.resize(400, 150);
    PaintedCells cells(&window);
    cells.setGrid(thumbnailGrid({8, 16}, {100, 140}));
    cells.setItems(7);
    cells.cellRole = QAccessible::Button;
    cells.nameOf = [](int item) { return QStringLiteral("顔 %1").arg(item); };
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&cells);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    ASSERT_EQ(list->childCount(), 7);
    QAccessibleInterface* sixth = list->child(5);
    ASSERT_NE(sixth, nullptr);
    EXPECT_EQ(sixth->text(QAccessible::Name), QStringLiteral("顔 5"));
    EXPECT_EQ(sixth->role(), QAccessible::Button);
    EXPECT_EQ(sixth->rect(), QRect(cells.mapToGlobal(QPoint(8, 186)), QSize(100, 140)));
    EXPECT_EQ(list->indexOfChild(sixth), 5);
    EXPECT_EQ(sixth->parent(), list);
    EXPECT_EQ(list->child(5), sixth) << "one interface per item";
    const QPoint inFirst = cells.mapToGlobal(QPoint(20, 30));
    EXPECT_EQ(list->childAt(inFirst.x(), inFirst.y()), list->child(0));
    EXPECT_FALSE(sixth->state().invisible);
    EXPECT_TRUE(sixth->state().offscreen) << "below the window's 150 pixels";
    EXPECT_FALSE(list->child(0)->state().offscreen);

    cells.setItemHidden(5, true);
    EXPECT_TRUE(sixth->state().invisible);
    cells.setItems(3);
    EXPECT_EQ(list->childCount(), 3);
    EXPECT_FALSE(sixth->isValid()) << "an item the widget no longer has";
}
