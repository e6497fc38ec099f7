// SPDX-License-Identifier: GPL-3.0-or-later
#include "party/party_sheet_grid.h"

#include <algorithm>

SheetGrid sheetGrid(int players, int rounds, QSize area) {
    players = std::max(players, 1);
    rounds = std::max(rounds, 1);
    SheetGrid grid;
    grid.columns = players;
    grid.rows = rounds;
    grid.cell = QSize(area.width() / players, area.height() / rounds);
    if (grid.cell.width() >= kSheetCellMinWidth && grid.cell.height() >= kSheetCellMinHeight) return grid;
    grid.allRounds = false;
    grid.columns = std::min(players, kSheetLastRoundColumns);
    grid.rows = (players + grid.columns - 1) / grid.columns;
    grid.cell = QSize(area.width() / grid.columns, area.height() / grid.rows);
    return grid;
}
