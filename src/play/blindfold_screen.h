// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The blindfolded game on the board: the look at the blank face with its
// countdown, the cloth over the face while the parts are placed, and the
// cloth sliding up before the judgement. BlindTimer drives it; the game asks
// it whether parts may move and where a dropped part shows.
#include "play/blindfold.h"

#include <QImage>
#include <QString>
#include <array>

struct Board;

class Blindfold {
public:
    explicit Blindfold(Board& board);

    const BlindfoldCourse& course() const { return course_; }
    // Whether the game going on is blindfolded (its best is kept apart).
    bool blindGame() const { return blindGame_; }
    bool covering() const { return course_.covering(); }
    bool partsMayMove() const { return course_.partsMayMove(); }
    // The cloth as drawn for the face being played.
    const QImage& cloth() const { return cloth_; }
    // Label1's prompt while parts are placed, with or without the cloth.
    QString placingPrompt() const;

    // A new game: blindfolded when the game menu says so, starting with the look.
    void beginGame();
    // A new game blindfolded or not, whatever the game menu says (a party's turn).
    void beginGame(bool blindfolded);
    // One tick of BlindTimer, shown on the board; Uncovered is left to the
    // game, which ends the blindfold and judges.
    BlindStep tick();
    // "判定" under the cloth: the parts come out and the cloth starts to
    // rise. False when the cloth is not on.
    bool startReveal();
    // No blindfold any more: the cloth gone, every part on the face shown.
    void end();
    // The placement slots changed (placedFace[slot] >= 0: a part lies on the
    // face); under the cloth its marks follow.
    void partsPlaced(const std::array<int, 5>& placedFace);
    // A part was pressed while nothing may move: during the look, Label1
    // adds that the parts come once the cloth is on.
    void partPressedWhileStill();

private:
    void startLook();
    void showLook();
    void coverFace();
    void showCloth(int lifted);
    void showPartsOnFace();

    Board& board_;
    BlindfoldCourse course_;
    bool blindGame_ = false;
    bool lookHintShown_ = false;
    QImage plainCloth_;                 // the woven cloth at the face's size
    QImage cloth_;                      // as it shows: with the marks of the placed parts
    std::array<bool, 5> marked_{};
};
