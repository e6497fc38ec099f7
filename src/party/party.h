// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A party, apart from the window: the players in turn order, the rounds,
// each round's face, every judged turn, whose turn it is, the totals and the
// places. Every player plays every round once, in turn order; a round's face
// is chosen before its first turn. The players are a list and the turn an
// index into it, so every score and best goes to the player who made it.
#include "party/party_setup.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

using PartyPlayer = PartySetup::Player;

struct PartyTurn {
    std::int64_t score = 0;
    bool newBest = false;  // the player's own best was beaten (or made) by it
    bool operator==(const PartyTurn&) const = default;
};

class Party {
public:
    // players and rounds as partySetupProblem accepts them.
    Party(std::vector<PartyPlayer> players, int rounds);

    // A party as it was kept, going on at its first turn without a score:
    // empty when it is not one this game could have played (counts out of
    // range, a name the dialog refuses or shares, a score after a missing one,
    // a round played without a face, a face chosen for a round not begun).
    // turns[round][player], faces[round] (-1: not chosen), each sized rounds.
    static std::optional<Party> restore(std::vector<PartyPlayer> players, int rounds, std::vector<int> faces,
                                        const std::vector<std::vector<std::optional<PartyTurn>>>& turns);

    const std::vector<PartyPlayer>& players() const { return players_; }
    int playerCount() const { return int(players_.size()); }
    int rounds() const { return rounds_; }

    // Whose turn it is: the round (from 0) and the player's index. Once
    // finished, round() is rounds() and player() 0.
    int round() const { return played_ / playerCount(); }
    int player() const { return played_ % playerCount(); }
    const PartyPlayer& playerOnTurn() const { return players_[size_t(player())]; }
    bool finished() const { return played_ == rounds_ * playerCount(); }
    // Whether the turn on hand is the party's last.
    bool lastTurn() const { return played_ == rounds_ * playerCount() - 1; }
    int turnsPlayed() const { return played_; }

    // The face of a round (from 0); -1 until it is chosen.
    int face(int round) const { return faces_[size_t(round)]; }
    // The face of the round on hand; -1 until it is chosen.
    int currentFace() const { return finished() ? -1 : face(round()); }
    // Chooses the face of the round on hand (before its first turn only).
    void chooseFace(int face);
    // The turn on hand was judged; the next player's turn comes.
    void recordTurn(const PartyTurn& turn);

    // A turn (round, player); empty while not played.
    const std::optional<PartyTurn>& turn(int round, int player) const {
        return turns_[size_t(round * playerCount() + player)];
    }
    std::int64_t total(int player) const;
    // Each player's place by total, from 1: equal totals share a place and
    // the places after them move down (1, 1, 3).
    std::vector<int> places() const;
    // Whether any turn of the player made a new personal best.
    bool madeNewBest(int player) const;

    bool operator==(const Party&) const = default;

private:
    std::vector<PartyPlayer> players_;
    int rounds_;
    std::vector<int> faces_;                      // per round; -1 not chosen
    std::vector<std::optional<PartyTurn>> turns_;  // round * players + player
    int played_ = 0;
};

// Why a player's name cannot be used, or empty: it is empty, longer than
// ten characters, holds a control character, "=", or a character the
// settings files (CP932) cannot hold.
QString playerNameProblem(const QString& name);
// Why the choices cannot start a party, or empty when they can: counts out
// of range, a name's problem, or two players of the same name (letter case
// aside: a player's best is found by name without regard to case).
QString partySetupProblem(const PartySetup& setup);

// "1位 太郎 1850点　2位 花子 1700点": every player by place, in turn order
// within a place.
QString partyStandingsText(const Party& party);
// The players' indices in order of their places (turn order within a place).
std::vector<int> playersByPlace(const Party& party);
