// SPDX-License-Identifier: GPL-3.0-or-later
// A game from its start to the way back: the palettes and their deal, the
// game menu's choices, the blindfold's timer, the judgement and the resume.
#include "play/game_screen.h"

#include "board/board.h"
#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/image_control.h"
#include "board/scroll_box.h"
#include "catalogue/background_work.h"
#include "catalogue/catalogue_files.h"
#include "catalogue/catalogue_mirror.h"
#include "desktop/random_source.h"
#include "desktop/user_dialogs.h"
#include "files/app_error.h"
#include "play/game_pictures.h"
#include "play/judgement.h"
#include "play/palette.h"
#include "play/play_settings.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <exception>
#include <memory>

GameScreen::GameScreen(Board& board, const QString& appDir, const CatalogueMirror& catalogue, UserDialogs& dialogs,
                       RandomSource& random, BackgroundWork& background)
    : board_(board),
      appDir_(appDir),
      catalogue_(catalogue),
      dialogs_(dialogs),
      random_(random),
      background_(background),
      blindfold_(board),
      best_(board, appDir, dialogs) {}

void GameScreen::facesChanged(int count) {
    for (int s = 1; s <= 4; ++s) {
        play_.homeLeft[s].resize(count, 0);
        play_.homeTop[s].resize(count, 0);
    }
}

void GameScreen::SetUpPalette(std::vector<ImageControl*>& images, ScrollBox* box) {
    int slot = 0;
    for (int s = 1; s <= 4; ++s)
        if (box == board_.paletteBox(s)) slot = s;
    for (int i = 0; i < int(images.size()); ++i) {
        ImageControl* part = images[i];
        if (part->parentWidget() != box->content()) part->setParent(box->content());
        part->setAutoSize(false);
        part->setStretch(true);
        part->setProportional(true);
        part->setTag(slot * catalogue_.faceCount + i);
        part->show();
    }
}

void GameScreen::ShufflePalette(std::vector<ImageControl*>& images) {
    for (int s = 1; s <= 4; ++s) board_.paletteBox(s)->scrollToTop();
    const std::vector<int> cells = dealCells(int(images.size()), random_);
    for (int k = 0; k < int(images.size()); ++k) images[k]->move(paletteCell(cells[k]));
}

void GameScreen::recordHomePositions() {
    for (int s = 1; s <= 4; ++s)
        for (int i = 0; i < catalogue_.faceCount; ++i) {
            play_.homeLeft[s][i] = board_.PartImages[s][i]->x();
            play_.homeTop[s][i] = board_.PartImages[s][i]->y();
        }
}

void GameScreen::loadPlayChoices() {
    const PlaySettings settings = readPlaySettings(appDir_);
    board_.Blind1->setChecked(settings.blindfold);
    board_.Best1->setChecked(settings.best);
}

void GameScreen::savePlayChoices() {
    // Written only here, when a choice changes: a player who never touches
    // the menu gets no file. A failed write keeps the choice for this run.
    writePlaySettings(appDir_, PlaySettings{board_.Blind1->isChecked(), board_.Best1->isChecked()});
}

void GameScreen::Blind1Click() {
    board_.Blind1->setChecked(!board_.Blind1->isChecked());
    savePlayChoices();
}

void GameScreen::Best1Click() {
    board_.Best1->setChecked(!board_.Best1->isChecked());
    savePlayChoices();
}

void GameScreen::startGame(ImageControl* thumbnail, std::function<void()> failed) {
    turn_.reset();
    startOnFace(thumbnail->tag(), std::move(failed));
}

void GameScreen::startTurn(int face, const PartySetup::Player& player, std::function<void()> failed) {
    turn_ = player;
    startOnFace(face, std::move(failed));
}

void GameScreen::startOnFace(int face, std::function<void()> failed) {
    const int count = catalogue_.faceCount;
    // Every picture is decoded, on the background thread and all cores,
    // before the screen changes, so a missing or damaged one leaves the face
    // selection as it was; the window stays responsive meanwhile.
    auto pictures = std::make_shared<GamePictures>();
    background_.start([appDir = appDir_, face, count, pictures] { *pictures = readGamePictures(appDir, face, count); },
                      [this, face, pictures, failed = std::move(failed)](std::exception_ptr failure) {
                          try {
                              if (failure) std::rethrow_exception(failure);
                          } catch (const AppError& e) {
                              dialogs_.showError(e.message());
                              if (failed) failed();
                              return;
                          }
                          showGame(face, *pictures);
                      });
}

void GameScreen::showGame(int face, const GamePictures& pictures) {
    const int count = catalogue_.faceCount;
    const auto part = [&](int s, int i) -> const QImage& { return pictures.part(s, i); };
    const QImage& board = pictures.board;
    play_.currentFace = face;
    board_.ScrollBox1->hide();
    for (int s = 1; s <= 4; ++s) {
        const int side = paletteSquareSide(part(s, face).size());
        for (int i = 0; i < count; ++i) {
            board_.PartImages[s][i]->resize(side, side);
            board_.PartImages[s][i]->setPicture(part(s, i));
        }
    }
    ImageControl* faceImage = board_.ImgFace1;
    faceImage->setAutoSize(true);
    faceImage->setStretch(false);
    faceImage->setProportional(false);
    faceImage->move(8, 120);
    faceImage->setPicture(board);
    faceImage->show();
    board_.PageControl1->setCurrentWidget(board_.TabSheetRMe);
    board_.PageControl1->show();
    random_.seedFromClock();
    for (int s = 1; s <= 4; ++s) ShufflePalette(board_.PartImages[s]);
    recordHomePositions();
    board_.BitBtnHantei->setText(Texts::Hantei);
    board_.BitBtnHantei->setEnabled(false);
    board_.BitBtnHantei->show();
    board_.BitBtnCancel->show();
    board_.BitBtnCancel->setEnabled(true);
    board_.Label1->setFontPoints(14);
    board_.Label1->setCaption(Texts::PlacingPrompt);
    if (turn_)
        blindfold_.beginGame(turn_->blindfolded);
    else
        blindfold_.beginGame();
}

void GameScreen::BlindTimerTimer() {
    if (blindfold_.tick() != BlindStep::Uncovered) return;
    blindfold_.end();
    board_.BitBtnHantei->setEnabled(true);
    judgeFace();
}

void GameScreen::startReveal() { blindfold_.startReveal(); }

void GameScreen::judgeFace() {
    board_.BitBtnHantei->setText(Texts::Saikai);
    board_.PageControl1->hide();
    // A missing whole-face picture ends the judgement here; "再開" and
    // "キャンセル" both lead back to the face selection.
    ImageControl* trueFace = board_.ImgFace2;
    trueFace->setAutoSize(true);
    trueFace->setStretch(false);
    trueFace->move(384, 120);
    trueFace->setPicture(readFacePicture(appDir_, play_.currentFace, 0));
    trueFace->show();
    board_.BitBtnCancel->setText(Texts::Hozon);

    std::array<SlotPlacement, 5> placements;
    for (int s = 1; s <= 4; ++s)
        placements[s] = SlotPlacement{play_.placedFace[s], play_.placedLeft[s], play_.placedTop[s]};
    const std::int64_t total = judgeTotal(placements, play_.currentFace, catalogue_.faceAnswers[play_.currentFace],
                                          board_.ImgFace1->x(), board_.ImgFace1->y());
    const Rating rating = ratingFor(total);
    board_.LblScore->setCaption(scoreCaption(total));
    board_.LblScore->show();
    board_.LblHantei->setCaption(rating.word);
    board_.LblHantei->show();
    board_.Label1->setFontPoints(14);
    board_.Label1->setCaption(judgedPrompt(rating));
    play_.placedFace.fill(-1);
    const QString player = turn_ ? turn_->name : QString();
    bool newBest = false;
    if (board_.Best1->isChecked()) newBest = best_.show(play_.currentFace, blindfold_.blindGame(), total, player);
    if (turn_ && onTurnJudged) onTurnJudged(JudgedTurn{total, newBest, composeBoardPicture()});
}

void GameScreen::resumeGame() {
    board_.BitBtnHantei->hide();
    board_.BitBtnHantei->setEnabled(false);
    board_.BitBtnHantei->setText(Texts::Hantei);
    board_.ImgFace1->hide();
    board_.ImgFace2->hide();
    board_.LblScore->hide();
    board_.LblHantei->hide();
    board_.LblBest->hide();
    board_.BitBtnCancel->setText(Texts::Cancel);
    board_.BitBtnCancel->hide();
    board_.Edit1->hide();
    board_.showFaceSelection();
    returnPartsToPalettes();
    // A judgement stopped by a missing picture left the slots filled; the
    // next game must start with none.
    play_.placedFace.fill(-1);
}

void GameScreen::cancel() {
    blindfold_.end();
    returnPartsToPalettes();
    play_.placedFace.fill(-1);
    board_.PageControl1->hide();
    board_.ImgFace1->hide();
    board_.BitBtnHantei->hide();
    board_.showFaceSelection();
}

void GameScreen::leaveGame() {
    blindfold_.end();
    returnPartsToPalettes();
    play_.placedFace.fill(-1);
    turn_.reset();
    for (QWidget* w : std::initializer_list<QWidget*>{board_.PageControl1, board_.ImgFace1, board_.ImgFace2,
                                                      board_.LblScore, board_.LblHantei, board_.LblBest,
                                                      board_.Edit1, board_.BitBtnHantei, board_.BitBtnCancel})
        w->hide();
    board_.BitBtnHantei->setEnabled(false);
    board_.BitBtnHantei->setText(Texts::Hantei);
    board_.BitBtnCancel->setText(Texts::Cancel);
    board_.BitBtnCancel->setEnabled(true);
}

void GameScreen::returnPartsToPalettes() {
    for (int i = 0; i < catalogue_.faceCount; ++i)
        for (int s = 1; s <= 4; ++s) {
            ImageControl* part = board_.PartImages[s][i];
            if (!board_.liesOnFace(part)) continue;
            part->setParent(board_.paletteBox(s)->content());
            part->show();
        }
}
