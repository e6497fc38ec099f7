// SPDX-License-Identifier: GPL-3.0-or-later
// The switchboard: the three command buttons and a thumbnail click choose the
// screen that gets the press from the buttons' captions, Edit1's visibility
// and the screens' flags.
#include "main/form1.h"

#include "authoring/face_authoring.h"
#include "authoring/face_deleting.h"
#include "board/board_texts.h"
#include "board/command_button.h"
#include "board/image_control.h"
#include "party/party_screen.h"
#include "play/face_selection.h"
#include "play/game_screen.h"
#include "play/library_viewer.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

void TForm1::BitBtnHanteiClick() {
    unlessBusy([&] {
        const QString caption = BitBtnHantei->text();
        if (party_->ownsCaption(caption))
            party_->BitBtnHanteiClick();
        else if (caption == Texts::Hantei && game_->covered())
            game_->startReveal();  // the judgement follows once the cloth is off
        else if (caption == Texts::Hantei)
            game_->judgeFace();
        else if (caption == Texts::Saikai && party_->running())
            party_->judgementFailed();
        else if (caption == Texts::Saikai)
            game_->resumeGame();
        else
            faceAuthoring_->zoomClick();
    });
}

void TForm1::BitBtnCancelClick() {
    unlessBusy([&] {
        if (party_->running()) {
            party_->BitBtnCancelClick();
            return;
        }
        if (BitBtnCancel->text() == Texts::Cancel) {
            BitBtnCancel->hide();
            if (faceAuthoring_->adding()) {
                faceAuthoring_->cancel();
            } else if (faceDeleting_->active()) {
                faceDeleting_->cancel();
            } else {
                // A game being placed, the saved-faces viewer or the parties' record.
                game_->cancel();
                libraryViewer_->close();
                party_->closeRecord();
            }
        } else if (Edit1->isHidden()) {
            game_->askForSaveName();
        } else {
            game_->saveFinishedFace();
        }
    });
}

void TForm1::BitBtnTorokuClick() {
    unlessBusy([&] {
        if (BitBtnToroku->text() == Texts::Toroku)
            faceAuthoring_->registerFace();
        else
            faceDeleting_->deleteChosenFace();
    });
}

void TForm1::ImgFace0Click(int face) {
    unlessBusy([&] {
        if (faceSelection_->titleShowing()) return;
        if (party_->choosingFace()) {
            party_->faceChosen(face);
            return;
        }
        const bool f1WasEnabled = F1->isEnabled();
        const bool r1WasEnabled = R1->isEnabled();
        F1->setEnabled(false);
        R1->setEnabled(false);
        if (faceDeleting_->active()) {
            faceDeleting_->chooseFaceToDelete(face);
            return;
        }
        // A game that cannot start leaves the face selection as it was.
        game_->startGame(face, [this, f1WasEnabled, r1WasEnabled] {
            F1->setEnabled(f1WasEnabled);
            R1->setEnabled(r1WasEnabled);
        });
    });
}
