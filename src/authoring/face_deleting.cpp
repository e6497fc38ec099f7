// SPDX-License-Identifier: GPL-3.0-or-later
#include "authoring/face_deleting.h"

#include "authoring/authoring_look.h"
#include "board/board.h"
#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/command_button.h"
#include "board/painted_cells.h"
#include "catalogue/background_work.h"
#include "catalogue/catalogue_files.h"
#include "catalogue/catalogue_mirror.h"
#include "desktop/user_dialogs.h"
#include "files/app_error.h"

#include <QAction>
#include <QPushButton>
#include <QTimer>
#include <memory>

namespace {

// The program's own operations never take the catalogue below three faces.
constexpr int kFewestFaces = 3;

}  // namespace

FaceDeleting::FaceDeleting(Board& board, const QString& appDir, CatalogueMirror& catalogue, UserDialogs& dialogs,
                           BackgroundWork& background)
    : board_(board), appDir_(appDir), catalogue_(catalogue), dialogs_(dialogs), background_(background) {
    slowDeletion_.setSingleShot(true);
    slowDeletion_.setInterval(1000);
    QObject::connect(&slowDeletion_, &QTimer::timeout, [this] { tellDeletionIsSlow(); });
}

void FaceDeleting::D1Click() {
    // At three faces or fewer (a catalogue edited by hand) nothing more goes.
    if (catalogue_.faceCount <= kFewestFaces) {
        dialogs_.notice(AuthoringTexts::CannotDeleteMore);
        return;
    }
    board_.Label1->setFontPoints(12);
    board_.Label1->setCaption(AuthoringTexts::ChooseFaceToDelete);
    deletingFace_ = true;
    faceChosen_ = false;
    board_.BitBtnToroku->setText(Texts::Sakujo);
    board_.BitBtnToroku->setEnabled(false);
    board_.BitBtnToroku->show();
    board_.BitBtnCancel->show();
    board_.BitBtnCancel->setEnabled(true);
    board_.F1->setEnabled(false);
    board_.R1->setEnabled(false);
}

void FaceDeleting::chooseFaceToDelete(int face) {
    board_.F1->setEnabled(false);
    board_.R1->setEnabled(false);
    // The face already chosen, clicked again while shown: the blink keeps its beat.
    if (faceChosen_ && face == chosenFace_) return;
    if (faceChosen_) board_.ThumbnailGrid->setItemHidden(chosenFace_, false);
    chosenFace_ = face;
    faceChosen_ = true;
    board_.Timer1->start();
    board_.BitBtnToroku->setEnabled(true);
}

void FaceDeleting::blinkChosenThumbnail() {
    PaintedCells* grid = board_.ThumbnailGrid;
    const int face = chosenFace_;
    if (face < 0 || face >= grid->count()) return;
    grid->setItemHidden(face, !grid->itemHidden(face));
}

void FaceDeleting::deleteChosenFace() {
    const int d = chosenFace_;
    const int count = catalogue_.faceCount;
    if (!(faceChosen_ && d >= 0 && d < count && dialogs_.confirm(AuthoringTexts::ConfirmDelete))) {
        end();
        return;
    }
    auto answersAfter = std::make_shared<std::vector<FaceAnswer>>(catalogue_.faceAnswers);
    answersAfter->erase(answersAfter->begin() + d);
    // The disk changes first and all at once, on a thread of its own (the
    // journal keeps it whole); memory follows only a catalogue that really
    // changed. The mode stays open, its face chosen, until then.
    slowDeletion_.start();
    background_.start([appDir = appDir_, d, count, answersAfter] { deleteFaceFiles(appDir, d, count, *answersAfter); },
                      [this, d, count, answersAfter](std::exception_ptr failure) {
                          slowDeletion_.stop();
                          try {
                              if (failure) std::rethrow_exception(failure);
                              catalogue_.faceCount = count - 1;
                              catalogue_.faceAnswers = std::move(*answersAfter);
                              if (onFaceDeleted) onFaceDeleted(d);
                          } catch (const AppError& e) {
                              dialogs_.showError(e.message());
                          }
                          end();
                      });
}

void FaceDeleting::tellDeletionIsSlow() {
    if (!background_.running()) return;
    board_.Label1->setFontPoints(12);
    board_.Label1->setCaption(AuthoringTexts::Deleting);
}

// "キャンセル" leaves the mode the same way as an answered "削除".
void FaceDeleting::cancel() { end(); }

void FaceDeleting::end() {
    board_.Timer1->stop();
    if (chosenFace_ >= 0 && chosenFace_ < catalogue_.faceCount) board_.ThumbnailGrid->setItemHidden(chosenFace_, false);
    board_.BitBtnCancel->hide();
    deletingFace_ = false;
    faceChosen_ = false;
    board_.showFaceSelection();
    board_.BitBtnToroku->hide();
}
