// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The results sheet of a party: every composition (the last round's alone
// when all rounds do not fit) with the player's name and score under it, and
// the standings beside them, the winners picked out. Everything a screen
// reader should read is a label.
#include "party/party.h"

#include <QImage>
#include <QString>
#include <QWidget>
#include <vector>

class PartySheet : public QWidget {
public:
    explicit PartySheet(QWidget* parent);

    // pictures[round * players + player]; a null picture leaves its box empty
    // (a turn played before the game was restarted).
    void showResults(const Party& party, const std::vector<QImage>& pictures, const QString& date);
    // The whole sheet as one picture, as it is shown.
    QImage picture();

private:
    void clear();
    void addCell(const Party& party, int round, int player, const QImage& picture, QRect cell, bool winner);
    void addStandings(const Party& party, QRect area);
};
