// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/blindfold_screen.h"

#include "board/board.h"
#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/command_button.h"
#include "board/image_control.h"
#include "board/ui_fonts.h"
#include "play/cloth.h"
#include "play/countdown_picture.h"

#include <QAction>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

namespace {

// Below a two-line prompt; the number reaches a little way into the top of
// the face, which is hair or forehead.
constexpr int kCountDownTop = 52;
constexpr int kCountDownHeight = 96;

}  // namespace

Blindfold::Blindfold(Board& board) : board_(board) {}

QString Blindfold::placingPrompt() const { return covering() ? blindPlacingPrompt() : Texts::PlacingPrompt; }

void Blindfold::beginGame() { beginGame(board_.Blind1->isChecked()); }

void Blindfold::beginGame(bool blindfolded) {
    blindGame_ = blindfolded;
    if (blindGame_) startLook();
}

void Blindfold::startLook() {
    course_.startLook();
    lookHintShown_ = false;
    plainCloth_ = drawCloth(board_.ImgFace1->size(), uiFontPixels(24, true));
    cloth_ = plainCloth_;
    board_.Label1->setFontPoints(14);
    showLook();
    board_.BlindTimer->start(course_.tickInterval());
}

void Blindfold::showLook() {
    board_.Label1->setCaption(lookHintShown_ ? lookPrompt(course_.secondsLeft()) + QLatin1Char('\r') + lookHint()
                                             : lookPrompt(course_.secondsLeft()));
    // The number everyone at the table can read, standing over the face
    // between the prompt and the forehead, where it hides no eye, nose or
    // mouth.
    ImageControl* face = board_.ImgFace1;
    const QImage number = drawCountDown(course_.secondsLeft(), kCountDownHeight, uiFontPixels(24, true));
    board_.ImgCountDown->setPicture(number);
    board_.ImgCountDown->move(face->x() + (face->width() - number.width()) / 2, kCountDownTop);
    board_.ImgCountDown->stackUnder(board_.PageControl1);
    board_.ImgCountDown->show();
}

void Blindfold::partPressedWhileStill() {
    if (course_.phase() != BlindPhase::Look || lookHintShown_) return;
    lookHintShown_ = true;
    showLook();
}

void Blindfold::partsPlaced(const std::array<int, 5>& placedFace) {
    std::array<bool, 5> placed{};
    for (int s = 1; s <= 4; ++s) placed[s] = placedFace[s] >= 0;
    if (course_.phase() != BlindPhase::Covered || placed == marked_) return;
    marked_ = placed;
    cloth_ = markPlacedParts(plainCloth_, marked_, uiFontPixels(24, true));
    showCloth(0);
}

BlindStep Blindfold::tick() {
    const BlindStep step = course_.tick();
    switch (step) {
    case BlindStep::CountDown:
        showLook();
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
    board_.ImgCountDown->hide();
    marked_ = {};
    cloth_ = markPlacedParts(plainCloth_, marked_, uiFontPixels(24, true));
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
    board_.Label1->setFontPoints(14);
    board_.Label1->setCaption(revealPrompt());
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
    board_.ImgCountDown->hide();
    showPartsOnFace();
}

void Blindfold::showPartsOnFace() {
    for (int s = 1; s <= 4; ++s)
        if (board_.partOnFace[s] >= 0) board_.FaceParts[s]->show();
}
