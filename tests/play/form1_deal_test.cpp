// SPDX-License-Identifier: GPL-3.0-or-later
// Dealing the palettes at the start of a game, seen through the window.
#include "board/painted_cells.h"
#include "board/scroll_box.h"
#include "support/window/play_driver.h"

#include <QPushButton>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// "x,y" of every part image of a slot, in face order.
QString dealOf(const TForm1& f, int slot) {
    QStringList cells;
    for (int i = 0; i < f.PartCells[slot]->count(); ++i) {
        const QPoint part = f.PartCells[slot]->itemRect(i).topLeft();
        cells << QStringLiteral("%1,%2").arg(part.x()).arg(part.y());
    }
    return cells.join(QLatin1Char(' '));
}

}  // namespace

// Every cell takes exactly one part; three faces make one row; the home
// cells are the dealt places.
TEST(Deal, ThreeFacesFillOneRowWithEveryCellOnce) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    w.random->values = {2, 0, 0, 0, 0, 0, 1, 1, 0, 2, 1, 0};
    startGameWith(w, 0);

    EXPECT_EQ(dealOf(f, 1), QStringLiteral("268,10 8,10 138,10"));
    EXPECT_EQ(dealOf(f, 2), QStringLiteral("8,10 138,10 268,10"));
    EXPECT_EQ(dealOf(f, 3), QStringLiteral("138,10 268,10 8,10"));
    EXPECT_EQ(dealOf(f, 4), QStringLiteral("268,10 138,10 8,10"));
    EXPECT_EQ(w.random->seeds, 1);
    for (int s = 1; s <= 4; ++s)
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(f.game().state().homeLeft[s][i], partPos(w, s, i).x());
            EXPECT_EQ(f.game().state().homeTop[s][i], partPos(w, s, i).y());
            EXPECT_FALSE(partOnFace(w, s, i));
        }
}

TEST(Deal, SevenFacesPutTheSeventhCellAtTheStartOfTheThirdRow) {
    TempAppDir dir;
    writeTestCatalogue(dir, 7);
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    w.random->values = {6, 0, 4, 1, 2, 1, 0};
    startGameWith(w, 3);

    // Cells 6, 0, 5, 2, 4, 3, 1 in deal order.
    EXPECT_EQ(dealOf(f, 1), QStringLiteral("8,190 8,10 268,100 268,10 138,100 8,100 138,10"));
    std::vector<std::pair<int, int>> cells;
    for (int s = 2; s <= 4; ++s) {
        cells.clear();
        for (int i = 0; i < f.PartCells[s]->count(); ++i) cells.emplace_back(partPos(w, s, i).x(), partPos(w, s, i).y());
        std::sort(cells.begin(), cells.end());
        EXPECT_EQ(cells, (std::vector<std::pair<int, int>>{
                             {8, 10}, {8, 100}, {8, 190}, {138, 10}, {138, 100}, {268, 10}, {268, 100}}))
            << "slot " << s;
    }
}

// A new game shows every palette from its first row, however far the
// previous game scrolled them.
TEST(Deal, EveryPaletteIsScrolledToTheTopAtAGameStart) {
    TempAppDir dir;
    writeTestCatalogue(dir, 16);
    GameWindow w(dir);
    TForm1& f = *w.form;
    startGameWith(w, 0);
    for (int s = 1; s <= 4; ++s) {
        showPalette(w, s);
        f.paletteBox(s)->setVerticalPosition(60);
        ASSERT_EQ(f.paletteBox(s)->verticalPosition(), 60) << "slot " << s;
    }
    clickCancel(w);
    startGameWith(w, 1);
    for (int s = 1; s <= 4; ++s) EXPECT_EQ(f.paletteBox(s)->verticalPosition(), 0) << "slot " << s;
    EXPECT_EQ(f.BitBtnHantei->text(), QStringLiteral("判定"));
    EXPECT_FALSE(f.BitBtnHantei->isEnabled());
}
