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

bool Board::liesOnFace(const ImageControl* part) const { return part->parentWidget() == ClientArea; }

void Board::createThumbnails(int from, int to) {
    Thumbnails.resize(to, nullptr);
    for (int i = from; i < to; ++i) {
        auto* thumb = new ImageControl(ScrollBox1->content());
        thumb->setObjectName(QStringLiteral("Thumbnail%1").arg(i));
        Thumbnails[i] = thumb;
    }
}

void Board::createPartImages(int from, int to) {
    for (int s = 1; s <= 4; ++s) PartImages[s].resize(to, nullptr);
    for (int i = from; i < to; ++i)
        for (int s = 1; s <= 4; ++s) {
            auto* part = new ImageControl(paletteBox(s)->content());
            part->setObjectName(QStringLiteral("PartImage%1_%2").arg(s).arg(i));
            PartImages[s][i] = part;
        }
}

void Board::releaseFaceControls(int newCount) {
    for (int i = newCount; i < int(Thumbnails.size()); ++i) {
        Thumbnails[i]->hide();
        Thumbnails[i]->deleteLater();
        Thumbnails[i]->setParent(nullptr);
        for (int s = 1; s <= 4; ++s) {
            PartImages[s][i]->hide();
            PartImages[s][i]->setParent(nullptr);
            PartImages[s][i]->deleteLater();
        }
    }
    Thumbnails.resize(newCount);
    for (int s = 1; s <= 4; ++s) PartImages[s].resize(newCount);
}

void Board::showFaceSelection() {
    ScrollBox1->scrollToTop();
    ScrollBox1->show();
    F1->setEnabled(true);
    if (libraryHasFaces) R1->setEnabled(true);
    Label1->setFontPoints(14);
    Label1->setCaption(Texts::ChooseFace);
}
