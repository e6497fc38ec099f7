// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/palette.h"

#include <algorithm>

namespace {
constexpr int kCellsPerRow = 3;
constexpr int kCellStepX = 130;
constexpr int kCellStepY = 90;
constexpr int kFirstCellX = 8;
constexpr int kFirstCellY = 10;

constexpr int kThumbnailsPerRow = 5;
constexpr int kThumbnailStepX = 120;
constexpr int kThumbnailRowGap = 30;
}  // namespace

QPoint paletteCell(int c) {
    return {(c % kCellsPerRow) * kCellStepX + kFirstCellX,
            (c / kCellsPerRow) * kCellStepY + kFirstCellY};
}

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
    return {(i % kThumbnailsPerRow) * kThumbnailStepX + templatePos.x(),
            (i / kThumbnailsPerRow) * (templateSize.height() + kThumbnailRowGap)
                + templatePos.y()};
}
