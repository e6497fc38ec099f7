// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The palette grid and the random deal of part images onto it.
#include "desktop/random_source.h"

#include <QPoint>
#include <QSize>
#include <vector>

// Cell c of a palette: three a row, columns at 8, 138, 268, rows 90 apart from 10.
QPoint paletteCell(int c);

// Side of every part square of a slot: the larger side of the chosen face's
// own part picture.
int paletteSquareSide(QSize chosenPart);

// The deal of n images: result[k] is the cell given to image k. Every cell is
// used once; every permutation can occur. Draws n numbers from random.
std::vector<int> dealCells(int n, RandomSource& random);
// The deal in its two steps: the n numbers it draws (the k-th below n - k),
// then the cells they give (image k takes the draws[k]-th of the cells still
// free, counted from 0). A game start draws on the window's thread and
// places the cells on the workers.
std::vector<int> drawDeal(int n, RandomSource& random);
std::vector<int> cellsOfDraws(const std::vector<int>& draws);

// Thumbnail grid: five a row, 120 apart, rows template height + 30 apart,
// measured from the template's place.
QPoint thumbnailCell(int i, QPoint templatePos, QSize templateSize);
