// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the game tells a party of a judged turn.
#include <QImage>
#include <QString>
#include <cstdint>

struct JudgedTurn {
    std::int64_t total = 0;
    bool newBest = false;  // the player's own best, when bests are kept
    QImage composition;    // the face as saved: the board with the parts on it
    QString praise;        // the rating's praise, the first line of the prompt (may be empty)
};
