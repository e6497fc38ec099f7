#pragma once
// The blindfolded game on the board: the look at the blank face with its
// countdown, the cloth over the face while the parts are placed, and the
// cloth sliding up before the judgement. BlindTimer drives it; the game asks
// it whether parts may move and where a dropped part shows.
#include "play/blindfold.h"

#include <QImage>
#include <QString>

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
    // One tick of BlindTimer, shown on the board; Uncovered is left to the
    // game, which ends the blindfold and judges.
    BlindStep tick();
    // "判定" under the cloth: the parts come out and the cloth starts to
    // rise. False when the cloth is not on.
    bool startReveal();
    // No blindfold any more: the cloth gone, every part on the face shown.
    void end();

private:
    void startLook();
    void coverFace();
    void showCloth(int lifted);
    void showPartsOnFace();

    Board& board_;
    BlindfoldCourse course_;
    bool blindGame_ = false;
    QImage cloth_;
};
