#include "play/blindfold_screen.h"

#include "board/board.h"
#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/image_control.h"
#include "board/ui_fonts.h"
#include "play/cloth.h"

#include <QAction>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

Blindfold::Blindfold(Board& board) : board_(board) {}

QString Blindfold::placingPrompt() const { return covering() ? blindPlacingPrompt() : Texts::PlacingPrompt; }

void Blindfold::beginGame() {
    blindGame_ = board_.Blind1->isChecked();
    if (blindGame_) startLook();
}

void Blindfold::startLook() {
    course_.startLook();
    cloth_ = drawCloth(board_.ImgFace1->size(), uiFontPixels(24, true));
    board_.Label1->setFontPoints(14);
    board_.Label1->setCaption(lookPrompt(course_.secondsLeft()));
    board_.BlindTimer->start(course_.tickInterval());
}

BlindStep Blindfold::tick() {
    const BlindStep step = course_.tick();
    switch (step) {
    case BlindStep::CountDown:
        board_.Label1->setCaption(lookPrompt(course_.secondsLeft()));
        break;
    case BlindStep::Cover:
        coverFace();
        break;
    case BlindStep::Lift:
        showCloth(course_.liftedPixels(cloth_.height()));
        break;
    case BlindStep::Uncovered:
    case BlindStep::Nothing:
        break;
    }
    return step;
}

void Blindfold::coverFace() {
    board_.BlindTimer->stop();
    showCloth(0);
    board_.Label1->setFontPoints(14);
    board_.Label1->setCaption(blindPlacingPrompt());
}

void Blindfold::showCloth(int lifted) {
    // The cloth slides up out of the face's rectangle: what is left of it is
    // its lower part, at the top of the rectangle.
    const int height = cloth_.height() - lifted;
    if (height <= 0) {
        board_.ImgMekakushi->hide();
        return;
    }
    board_.ImgMekakushi->setPicture(lifted == 0 ? cloth_ : cloth_.copy(0, lifted, cloth_.width(), height));
    board_.ImgMekakushi->move(board_.ImgFace1->pos());
    // Above the face and every part on it, below the palettes and buttons.
    board_.ImgMekakushi->stackUnder(board_.PageControl1);
    board_.ImgMekakushi->show();
}

bool Blindfold::startReveal() {
    if (!course_.startReveal()) return false;
    board_.BitBtnHantei->setEnabled(false);
    // The parts come out from under the cloth as it rises.
    showPartsOnFace();
    showCloth(0);
    board_.BlindTimer->start(course_.tickInterval());
    return true;
}

void Blindfold::end() {
    board_.BlindTimer->stop();
    course_.stop();
    board_.ImgMekakushi->hide();
    board_.ImgMekakushi->clearPicture();
    showPartsOnFace();
}

void Blindfold::showPartsOnFace() {
    for (int s = 1; s <= 4; ++s)
        for (ImageControl* part : board_.PartImages[s])
            if (board_.liesOnFace(part)) part->show();
}
