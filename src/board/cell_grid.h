// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The arithmetic of a grid of equal cells laid out row by row: where cell p
// lies, which cells meet an area, how far the grid reaches. Cells may be
// larger than the steps between them (a palette's squares may overlap their
// neighbours). All in the coordinates of the widget the grid is drawn in.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <vector>

struct CellGrid {
    int perRow = 1;
    QSize step;     // from a cell to the next one in its row (width) and to the next row (height)
    QPoint first;   // top-left corner of cell 0
    QSize cell;     // the size of every cell

    QRect cellRect(int position) const;
    // The positions 0 .. count - 1 whose cells meet area, ascending. Costs
    // the number of rows that meet area, not count.
    std::vector<int> positionsMeeting(QRect area, int count) const;
    // The size from (0, 0) that holds every cell of count.
    QSize extent(int count) const;
};

// The thumbnail grid: five a row, 120 apart, rows the template's height + 30
// apart, from the template's place, each cell the template's size.
CellGrid thumbnailGrid(QPoint templatePos, QSize templateSize);
// A palette: three a row, 130 apart, rows 90 apart from (8, 10), squares of side.
CellGrid paletteGrid(int side);
