// SPDX-License-Identifier: GPL-3.0-or-later
// A game from its start to the way back: the palettes and their deal, the
// game menu's choices, the blindfold's timer, the judgement and the resume.
#include "play/game_screen.h"

#include "board/board.h"
#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/command_button.h"
#include "board/image_control.h"
#include "board/painted_cells.h"
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
#include "play/visible_pictures.h"

#include <QAction>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>
#include <QTabWidget>
#include <exception>
#include <memory>

namespace {

// The palettes are clients 1..4 of the visible pictures, by slot.
int paletteClient(int slot) { return slot; }

}  // namespace

GameScreen::GameScreen(Board& board, const QString& appDir, const CatalogueMirror& catalogue, UserDialogs& dialogs,
                       RandomSource& random, BackgroundWork& background, VisiblePictures& pictures)
    : board_(board),
      appDir_(appDir),
      catalogue_(catalogue),
      dialogs_(dialogs),
      random_(random),
      background_(background),
      pictures_(pictures),
      blindfold_(board),
      best_(board, appDir, dialogs) {
    for (int s = 1; s <= 4; ++s) {
        PaintedCells* palette = board_.PartCells[s];
        palette->pictureOf = [this, s](int face) { return partPicture(s, face); };
        const QString kind = Texts::partKind(s);
        // The kind only: the face a part comes from is the player's to find.
        palette->nameOf = [kind](int) { return kind; };
        pictures_.setArrival(paletteClient(s),
                             [this](const PictureKey& key, const CellPicture& picture) { partArrived(key, picture); });
        board_.paletteBox(s)->onShownAreaChanged = [this, s] { wantShownParts(s); };
        palette->onPainted = [this] { firstScreenPainted(); };
    }
}

void GameScreen::facesChanged(int count) {
    for (int s = 1; s <= 4; ++s) {
        play_.homeLeft[s].resize(count, 0);
        play_.homeTop[s].resize(count, 0);
    }
}

void GameScreen::SetUpPalette(ScrollBox* box) {
    for (int s = 1; s <= 4; ++s) {
        if (box != board_.paletteBox(s)) continue;
        board_.PartCells[s]->setItems(catalogue_.faceCount);
        board_.PartCells[s]->show();
    }
}

void GameScreen::ShufflePalette(int slot) {
    for (int s = 1; s <= 4; ++s) board_.paletteBox(s)->scrollToTop();
    applyDeal(slot, dealCells(catalogue_.faceCount, random_));
}

void GameScreen::applyDeal(int slot, std::vector<int> cells) {
    const int count = int(cells.size());
    board_.PartCells[slot]->setItems(count, std::move(cells));
    wantShownParts(slot);
}

void GameScreen::recordHomePositions() {
    for (int s = 1; s <= 4; ++s)
        for (int i = 0; i < catalogue_.faceCount; ++i) {
            const QPoint home = board_.PartCells[s]->itemRect(i).topLeft();
            play_.homeLeft[s][i] = home.x();
            play_.homeTop[s][i] = home.y();
        }
}

const CellPicture* GameScreen::partPicture(int slot, int face) {
    const int side = board_.PartCells[slot]->grid().cell.width();
    return pictures_.find(PictureKey{face, slot, QSize(side, side)});
}

void GameScreen::wantShownParts(int slot) {
    PaintedCells* palette = board_.PartCells[slot];
    const int side = palette->grid().cell.width();
    if (side <= 0 || palette->count() == 0) return;
    const QRect shown = board_.paletteBox(slot)->shownArea();
    std::vector<PictureKey> keys;
    // Those on screen first, then a screen further down and up; those only
    // once the game's first screen is painted, which they would slow down.
    std::vector<QRect> areas{shown};
    if (!holdingFurtherParts_) areas.push_back(shown.adjusted(0, -shown.height(), 0, shown.height()));
    for (const QRect& area : areas)
        for (int face : palette->itemsMeeting(area)) keys.push_back(PictureKey{face, slot, QSize(side, side)});
    pictures_.want(paletteClient(slot), keys);
}

void GameScreen::firstScreenPainted() {
    if (!holdingFurtherParts_ || releaseQueued_) return;
    // Once this paint is on screen: the workers would compete with it.
    releaseQueued_ = true;
    QMetaObject::invokeMethod(
        board_.PageControl1,
        [this, game = gamesStarted_] {
            releaseQueued_ = false;
            if (game != gamesStarted_ || !holdingFurtherParts_ || !board_.PageControl1->isVisible()) return;
            holdingFurtherParts_ = false;
            for (int s = 1; s <= 4; ++s) wantShownParts(s);
        },
        Qt::QueuedConnection);
}

void GameScreen::partArrived(const PictureKey& key, const CellPicture& picture) {
    PaintedCells* palette = board_.PartCells[key.kind];
    if (key.box.width() != palette->grid().cell.width()) return;
    palette->itemChanged(key.face);
    // A damaged part of another face: its cell stays empty, and the player hears why.
    if (!picture.error.isEmpty() && key.face < catalogue_.faceCount) dialogs_.showError(picture.error);
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

void GameScreen::startGame(int face, std::function<void()> failed) {
    turn_.reset();
    startOnFace(face, std::move(failed));
}

void GameScreen::startTurn(int face, const QString& player, bool blindfolded, std::function<void()> failed) {
    turn_ = TurnPlayer{player, blindfolded};
    startOnFace(face, std::move(failed));
}

void GameScreen::startOnFace(int face, std::function<void()> failed) {
    const int count = catalogue_.faceCount;
    // The deal's numbers are drawn here, from the generator seeded now; its
    // cells decide which parts the palettes' first screens show. Those and
    // the chosen face's pictures are decoded on the background thread and
    // all cores before the screen changes, so a missing or damaged one
    // leaves the face selection as it was; the window stays responsive
    // meanwhile.
    random_.seedFromClock();
    std::array<std::vector<int>, 5> draws;
    std::array<QRect, 5> shown;
    for (int s = 1; s <= 4; ++s) {
        draws[s] = drawDeal(count, random_);
        // Every palette starts scrolled to the top.
        shown[s] = board_.paletteBox(s)->shownArea();
        shown[s].moveTop(0);
    }
    auto pictures = std::make_shared<GamePictures>();
    background_.start(
        [appDir = appDir_, face, draws = std::move(draws), shown, pictures] {
            *pictures = readGamePictures(appDir, face, draws, shown);
        },
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
    const QImage& board = pictures.board;
    play_.currentFace = face;
    // Until this game's first paint only its first screens, decoded already.
    holdingFurtherParts_ = true;
    ++gamesStarted_;
    board_.ScrollBox1->hide();
    for (const auto& [key, picture] : pictures.firstScreens) pictures_.put(key, picture);
    for (int s = 1; s <= 4; ++s) {
        // The own part at its own size, for the moment it is taken onto the face.
        pictures_.put(PictureKey{face, s, QSize()}, CellPicture{pictures.ownParts[s], pictures.ownParts[s].size(), {}});
        const int side = pictures.sides[s];
        board_.PartCells[s]->setGrid(paletteGrid(side));
    }
    // Dealt before they are shown, so that the palettes never want pictures
    // for the cells of the last game.
    for (int s = 1; s <= 4; ++s) board_.paletteBox(s)->scrollToTop();
    for (int s = 1; s <= 4; ++s) applyDeal(s, pictures.deal[s]);
    recordHomePositions();
    ImageControl* faceImage = board_.ImgFace1;
    faceImage->setAutoSize(true);
    faceImage->setStretch(false);
    faceImage->setProportional(false);
    faceImage->move(8, 120);
    faceImage->setPicture(board);
    faceImage->show();
    board_.PageControl1->setCurrentWidget(board_.TabSheetRMe);
    board_.PageControl1->show();
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
    // The keyboard goes on from 再開, seeing or blindfolded (the reveal
    // disabled 判定 and moved the focus on).
    board_.BitBtnHantei->setFocus();
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
    if (turn_ && onTurnJudged) onTurnJudged(JudgedTurn{total, newBest, composeBoardPicture(), rating.praise});
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
    for (int s = 1; s <= 4; ++s)
        if (board_.partOnFace[s] >= 0) sendPartHome(s, board_.partOnFace[s]);
    // Every way out of a game comes here: the palettes leave the screen, and
    // the parts still waiting to be decoded for them are not decoded.
    for (int s = 1; s <= 4; ++s) pictures_.want(paletteClient(s), {});
}
