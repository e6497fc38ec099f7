// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the compositions of a party go on its results sheet: a row per round
// and a column per player while every cell keeps room for a readable picture
// and its lines of text; otherwise the last round alone, in rows of at most
// four.
#include <QSize>

struct SheetGrid {
    bool allRounds = true;  // false: the last round only
    int columns = 1;
    int rows = 1;
    QSize cell;  // each cell, picture and text lines together
};

constexpr int kSheetCellMinWidth = 76;
constexpr int kSheetCellMinHeight = 120;
constexpr int kSheetLastRoundColumns = 4;

SheetGrid sheetGrid(int players, int rounds, QSize area);
