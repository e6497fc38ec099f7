// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/board.h"

#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/image_control.h"
#include "board/scroll_box.h"

#include <QAction>

ScrollBox* Board::paletteBox(int slot) const {
    switch (slot) {
    case 1: return SBRMe;
    case 2: return SBLMe;
    case 3: return SBHana;
    case 4: return SBKuti;
    default: return nullptr;
    }
}

CaptionLabel* Board::partTitle(int slot) const {
    switch (slot) {
    case 1: return LblRMe;
    case 2: return LblLMe;
    case 3: return LblHana;
    case 4: return LblKuti;
    default: return nullptr;
    }
}

ImageControl* Board::partPreview(int slot) const {
    switch (slot) {
    case 1: return ImgTuikaRMe;
    case 2: return ImgTuikaLMe;
    case 3: return ImgTuikaHana;
    case 4: return ImgTuikaKuti;
    default: return nullptr;
    }
}

void Board::showFaceSelection() {
    ScrollBox1->scrollToTop();
    ScrollBox1->show();
    F1->setEnabled(true);
    if (libraryHasFaces) R1->setEnabled(true);
    Label1->setFontPoints(14);
    Label1->setCaption(Texts::ChooseFace);
}
