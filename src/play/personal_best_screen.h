// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The personal best beside the judgement: LblBest tells the face's best
// before this game, or that this game beat it, and the new best is kept.
#include <QString>
#include <cstdint>

struct Board;
class UserDialogs;

class PersonalBest {
public:
    PersonalBest(Board& board, const QString& appDir, UserDialogs& dialogs);

    // Records total for face (seeing and blindfolded games apart; a party's
    // player by name, the single player with none) and shows the caption;
    // true when it is a new best. Throws the program's error when the face's
    // picture cannot be read; a best that cannot be written is reported, the
    // caption still shows.
    bool show(int face, bool blindfolded, std::int64_t total, const QString& player = {});

private:
    Board& board_;
    const QString appDir_;
    UserDialogs& dialogs_;
};
