// The screen modes: the three command buttons and a thumbnail click choose
// their branch from the buttons' captions, Edit1's visibility and the flags.
#include "main/form1.h"

#include "board/caption_label.h"
#include "board/image_control.h"
#include "board/scroll_box.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

void TForm1::BitBtnHanteiClick() {
    guarded([&] {
        const QString caption = BitBtnHantei->text();
        if (caption == Texts::Hantei && play.blindfold.covering())
            startReveal();  // the judgement follows once the cloth is off
        else if (caption == Texts::Hantei)
            judgeFace();
        else if (caption == Texts::Saikai)
            resumeGame();
        else
            zoomClick();
    });
}

void TForm1::BitBtnCancelClick() {
    guarded([&] {
        if (BitBtnCancel->text() == Texts::Cancel) {
            BitBtnCancel->hide();
            if (authoring.addingFace)
                cancelAuthoring();
            else if (authoring.deletingFace)
                cancelDeleting();
            else
                playSideCancel();
        } else if (Edit1->isHidden()) {
            askForSaveName();
        } else {
            saveFinishedFace();
        }
    });
}

void TForm1::BitBtnTorokuClick() {
    guarded([&] {
        if (BitBtnToroku->text() == Texts::Toroku)
            registerFace();
        else
            deleteChosenFace();
    });
}

void TForm1::ImgFace0Click(ImageControl* sender) {
    guarded([&] {
        if (TitleShowing) return;
        const bool f1WasEnabled = F1->isEnabled();
        const bool r1WasEnabled = R1->isEnabled();
        F1->setEnabled(false);
        R1->setEnabled(false);
        if (authoring.deletingFace) {
            chooseFaceToDelete(sender);
            return;
        }
        try {
            startGame(sender);
        } catch (...) {
            // A game that cannot start leaves the face selection as it was.
            F1->setEnabled(f1WasEnabled);
            R1->setEnabled(r1WasEnabled);
            throw;
        }
    });
}

void TForm1::ReturnToFaceSelect() {
    for (int s = 1; s <= 4; ++s) {
        CaptionLabel* title = partTitle(s);
        QPalette p = title->palette();
        p.setColor(QPalette::Window, QColor(255, 255, 0));
        title->setPalette(p);
        title->hide();
        partPreview(s)->hide();
    }
    ImgFace1->hide();
    F1->setEnabled(true);
    if (play.libraryHasFaces) R1->setEnabled(true);
    Label1->setFontPoints(14);
    Label1->setCaption(Texts::ChooseFace);
    authoring.addingFace = false;
    authoring.outlineDrawing = false;
    authoring.currentPart = 0;
    authoring.outlined.fill(false);
    authoring.pickMode = 0;
    for (auto& points : authoring.outlinePoints) points.clear();
    ScrollBox1->scrollToTop();
    ScrollBox1->show();
    BitBtnCancel->hide();
}
