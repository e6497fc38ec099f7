// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/palette.h"

#include "board/cell_grid.h"

#include <algorithm>

QPoint paletteCell(int c) { return paletteGrid(0).cellRect(c).topLeft(); }

int paletteSquareSide(QSize chosenPart) {
    return std::max(chosenPart.width(), chosenPart.height());
}

std::vector<int> dealCells(int n, RandomSource& random) {
    if (n <= 0) return {};
    // Draw from the cells not yet given out; removing the drawn one keeps the
    // rest in order, so each image is equally likely to get any free cell.
    std::vector<int> pool(n);
    for (int c = 0; c < n; ++c) pool[c] = c;
    std::vector<int> cells(n);
    for (int k = 0; k < n; ++k) {
        const int r = random.below(static_cast<int>(pool.size()));
        cells[k] = pool[r];
        pool.erase(pool.begin() + r);
    }
    return cells;
}

QPoint thumbnailCell(int i, QPoint templatePos, QSize templateSize) {
    return thumbnailGrid(templatePos, templateSize).cellRect(i).topLeft();
}
