// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/cell_grid.h"

#include <algorithm>

namespace {

// Floor division for a positive divisor: rows above the first cell count down.
int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

QRect CellGrid::cellRect(int position) const {
    const int row = position / perRow;
    const int column = position % perRow;
    return {first + QPoint(column * step.width(), row * step.height()), cell};
}

std::vector<int> CellGrid::positionsMeeting(QRect area, int count) const {
    std::vector<int> out;
    if (count <= 0 || area.isEmpty() || cell.isEmpty() || step.height() <= 0) return out;
    const int rows = (count + perRow - 1) / perRow;
    // Row r spans first.y + r * step .. first.y + r * step + cell.height - 1.
    const int firstRow = std::max(0, floorDiv(area.top() - first.y() - cell.height(), step.height()) + 1);
    const int lastRow = std::min(rows - 1, floorDiv(area.bottom() - first.y(), step.height()));
    for (int row = firstRow; row <= lastRow; ++row)
        for (int column = 0; column < perRow; ++column) {
            const int position = row * perRow + column;
            if (position < count && cellRect(position).intersects(area)) out.push_back(position);
        }
    return out;
}

QSize CellGrid::extent(int count) const {
    if (count <= 0) return {0, 0};
    const int rows = (count + perRow - 1) / perRow;
    const int columns = std::min(count, perRow);
    const QRect last = cellRect((rows - 1) * perRow + columns - 1);
    return {last.right() + 1, last.bottom() + 1};
}

CellGrid thumbnailGrid(QPoint templatePos, QSize templateSize) {
    return {5, QSize(120, templateSize.height() + 30), templatePos, templateSize};
}

CellGrid paletteGrid(int side) { return {3, QSize(130, 90), QPoint(8, 10), QSize(side, side)}; }
