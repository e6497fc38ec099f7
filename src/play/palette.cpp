// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/palette.h"

#include "board/cell_grid.h"

#include <algorithm>
#include <limits>

QPoint paletteCell(int c) { return paletteGrid(0).cellRect(c).topLeft(); }

int paletteSquareSide(QSize chosenPart) {
    return std::max(chosenPart.width(), chosenPart.height());
}

std::vector<int> drawDeal(int n, RandomSource& random) {
    std::vector<int> draws(size_t(std::max(n, 0)));
    for (int k = 0; k < n; ++k) draws[size_t(k)] = random.below(n - k);
    return draws;
}

std::vector<int> cellsOfDraws(const std::vector<int>& draws) {
    const int n = int(draws.size());
    if (n == 0) return {};
    // The r-th free cell for each draw r, in order: each image is equally
    // likely to get any free cell. The free cells are counted in a Fenwick
    // tree, so that thousands of them cost n log n, not n squared. The tree
    // is padded to a power of two with counts larger than any draw, never
    // taken, so the descent needs no bounds test; its steps are masks, not
    // branches, which the processor would guess wrong half the time.
    int top = 1;
    while (top * 2 <= n) top *= 2;
    std::vector<int> storage(size_t(top) * 2, std::numeric_limits<int>::max());
    int* const tree = storage.data();
    for (int i = 1; i <= n; ++i) tree[i] = 0;
    for (int i = 1; i <= n; ++i) {
        tree[i] += 1;
        if (const int up = i + (i & -i); up <= n) tree[up] += tree[i];
    }
    std::vector<int> cells(static_cast<size_t>(n), 0);
    for (int k = 0; k < n; ++k) {
        int r = std::clamp(draws[size_t(k)], 0, n - k - 1);  // 0-based among the free cells
        int at = 0;
        for (int step = top; step > 0; step /= 2) {
            const int count = tree[at + step];
            const int past = -int(count <= r);  // all ones when the cell lies further on
            at += step & past;
            r -= count & past;
        }
        cells[size_t(k)] = at;  // cell at is the (r + 1)-th free one
        for (int i = at + 1; i <= n; i += i & -i) tree[i] -= 1;
    }
    return cells;
}

std::vector<int> dealCells(int n, RandomSource& random) { return cellsOfDraws(drawDeal(n, random)); }

QPoint thumbnailCell(int i, QPoint templatePos, QSize templateSize) {
    return thumbnailGrid(templatePos, templateSize).cellRect(i).topLeft();
}
