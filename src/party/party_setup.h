// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the party dialog 「みんなで遊ぶ」 asks: the players in turn order, each
// with a name and whether they play blindfolded, and the number of rounds.
#include <QString>
#include <vector>

struct PartySetup {
    static constexpr int kMinPlayers = 2;
    static constexpr int kMaxPlayers = 8;
    static constexpr int kMinRounds = 1;
    static constexpr int kMaxRounds = 5;
    static constexpr int kMaxNameLength = 10;

    struct Player {
        QString name;
        bool blindfolded = false;
        bool operator==(const Player&) const = default;
    };
    std::vector<Player> players;
    int rounds = kMinRounds;
    bool operator==(const PartySetup&) const = default;
};

// 「プレイヤー1」 for the first player (index 0), and so on.
inline QString defaultPlayerName(int index) { return QStringLiteral("プレイヤー%1").arg(index + 1); }

// Two players under their default names, seeing, one round.
inline PartySetup defaultPartySetup() {
    PartySetup setup;
    for (int i = 0; i < PartySetup::kMinPlayers; ++i) setup.players.push_back({defaultPlayerName(i), false});
    return setup;
}
