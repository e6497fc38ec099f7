// The judgement of a composed face and the way back to the face selection.
#include "main/form1.h"

#include "catalogue/catalogue_files.h"
#include "board/caption_label.h"
#include "board/image_control.h"
#include "board/scroll_box.h"
#include "play/judgement.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

void TForm1::judgeFace() {
    BitBtnHantei->setText(Texts::Saikai);
    PageControl1->hide();
    // A missing whole-face picture ends the judgement here; "再開" and
    // "キャンセル" both lead back to the face selection.
    ImgFace2->setAutoSize(true);
    ImgFace2->setStretch(false);
    ImgFace2->move(384, 120);
    ImgFace2->setPicture(readFacePicture(AppDir, play.currentFace, 0));
    ImgFace2->show();
    BitBtnCancel->setText(Texts::Hozon);

    std::array<SlotPlacement, 5> placements;
    for (int s = 1; s <= 4; ++s)
        placements[s] = SlotPlacement{play.placedFace[s], play.placedLeft[s], play.placedTop[s]};
    const std::int64_t total = judgeTotal(placements, play.currentFace, catalogue.faceAnswers[play.currentFace],
                                          ImgFace1->x(), ImgFace1->y());
    const Rating rating = ratingFor(total);
    LblScore->setCaption(scoreCaption(total));
    LblScore->show();
    LblHantei->setCaption(rating.word);
    LblHantei->show();
    Label1->setFontPoints(14);
    Label1->setCaption(judgedPrompt(rating));
    play.placedFace.fill(-1);
    if (Best1->isChecked()) showPersonalBest(total);
}

void TForm1::resumeGame() {
    F1->setEnabled(true);
    if (play.libraryHasFaces) R1->setEnabled(true);
    BitBtnHantei->hide();
    BitBtnHantei->setEnabled(false);
    BitBtnHantei->setText(Texts::Hantei);
    ImgFace1->hide();
    ImgFace2->hide();
    LblScore->hide();
    LblHantei->hide();
    LblBest->hide();
    BitBtnCancel->setText(Texts::Cancel);
    BitBtnCancel->hide();
    Edit1->hide();
    ScrollBox1->scrollToTop();
    ScrollBox1->show();
    Label1->setFontPoints(14);
    Label1->setCaption(Texts::ChooseFace);
    returnPartsToPalettes();
    // A judgement stopped by a missing picture left the slots filled; the
    // next game must start with none.
    play.placedFace.fill(-1);
}

void TForm1::returnPartsToPalettes() {
    for (int i = 0; i < catalogue.faceCount; ++i)
        for (int s = 1; s <= 4; ++s) {
            ImageControl* part = PartImages[s][i];
            if (!liesOnFace(part)) continue;
            part->setParent(paletteBox(s)->content());
            part->show();
        }
}
