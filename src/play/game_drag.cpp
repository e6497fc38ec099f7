// SPDX-License-Identifier: GPL-3.0-or-later
// Placing parts: a press on a part image starts a drag at once; the release
// decides where it lands. The drag is built from the window's own mouse events
// with the mouse grabbed by the pressed part, so it behaves alike under every
// window system and in tests.
#include "play/game_screen.h"

#include "board/board.h"
#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/image_control.h"
#include "board/scroll_box.h"
#include "catalogue/catalogue_mirror.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QTabWidget>

void GameScreen::PartsMouseDown(ImageControl* sender, Qt::MouseButton button, int x, int y) {
    if (board_.BitBtnHantei->text() == Texts::Saikai) return;  // judged: the parts stay
    // Nothing moves while the face is looked at or uncovered, and a part
    // under the cloth cannot be found again by hand.
    if (!blindfold_.partsMayMove()) {
        blindfold_.partPressedWhileStill();
        return;
    }
    if (blindfold_.covering() && board_.liesOnFace(sender)) return;
    if (play_.dragging) {
        if (QWidget::mouseGrabber()) return;  // another button of the drag in progress
        endDrag(nullptr);  // a drag whose release never came
    }
    play_.dragSlot = sender->tag() / catalogue_.faceCount;
    const int placed = play_.placedFace[play_.dragSlot];
    if (!board_.liesOnFace(sender) && placed >= 0) {
        // A new part of this kind replaces the one on the face.
        sendPartHome(play_.dragSlot, placed);
        play_.placedFace[play_.dragSlot] = -1;
        blindfold_.partsPlaced(play_.placedFace);
        board_.BitBtnHantei->setEnabled(false);
        board_.Label1->setFontPoints(14);
        board_.Label1->setCaption(blindfold_.placingPrompt());
    }
    play_.grabX = x;
    play_.grabY = y;
    beginDrag(sender, button, sender->mapTo(board_.ClientArea, QPoint(x, y)));
}

void GameScreen::partMouseMove(ImageControl* sender, QPoint at) {
    if (!play_.dragging || QWidget::mouseGrabber() != sender) return;
    updateDragCursor(sender, sender->mapTo(board_.ClientArea, at));
}

void GameScreen::partMouseUp(ImageControl* sender, Qt::MouseButton button, QPoint at) {
    if (!play_.dragging || int(button) != play_.dragButton) return;
    finishDrag(sender, sender->mapTo(board_.ClientArea, at));
}

void GameScreen::beginDrag(ImageControl* source, Qt::MouseButton button, QPoint clientPos) {
    play_.dragging = true;
    play_.dragButton = int(button);
    source->grabMouse();
    QGuiApplication::setOverrideCursor(Qt::ForbiddenCursor);
    updateDragCursor(source, clientPos);
}

void GameScreen::endDrag(ImageControl* source) {
    if (!play_.dragging) return;
    play_.dragging = false;
    if (source) source->releaseMouse();
    QGuiApplication::restoreOverrideCursor();
}

void GameScreen::updateDragCursor(ImageControl* source, QPoint windowPos) {
    bool accept = false;
    QWidget* target = board_.ClientArea->childAt(windowPos);
    if (target == board_.ImgFace1 || target == board_.ImgFace2) {
        auto* face = static_cast<ImageControl*>(target);
        const QPoint at = face->mapFrom(board_.ClientArea, windowPos);
        ImgFace1DragOver(face, source, at.x(), at.y(), accept);
    } else if (ImageControl* part = partImageAt(windowPos)) {
        const QPoint at = part->mapFrom(board_.ClientArea, windowPos);
        PartsDragOver(part, source, at.x(), at.y(), accept);
    }
    QGuiApplication::changeOverrideCursor(accept ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
}

void GameScreen::finishDrag(ImageControl* source, QPoint windowPos) {
    // The mouse and the cursor are given back before the drop does anything,
    // so a failing drop cannot leave them taken.
    endDrag(source);
    // The widget under the pointer, the dragged part itself included.
    QWidget* target = board_.ClientArea->childAt(windowPos);
    if (target == board_.ImgFace1 || target == board_.ImgFace2) {
        auto* face = static_cast<ImageControl*>(target);
        const QPoint at = face->mapFrom(board_.ClientArea, windowPos);
        ImgFace1DragDrop(face, source, at.x(), at.y());
    } else if (ImageControl* part = partImageAt(windowPos)) {
        const QPoint at = part->mapFrom(board_.ClientArea, windowPos);
        PartsDragDrop(part, source, at.x(), at.y());
    }
}

ImageControl* GameScreen::partImageAt(QPoint clientPos) const {
    QWidget* widget = board_.ClientArea->childAt(clientPos);
    return isPartImage(widget) ? static_cast<ImageControl*>(widget) : nullptr;
}

bool GameScreen::isPartImage(const QWidget* widget) const {
    const auto* image = qobject_cast<const ImageControl*>(widget);
    if (!image || catalogue_.faceCount <= 0) return false;
    const int slot = image->tag() / catalogue_.faceCount;
    const int face = image->tag() % catalogue_.faceCount;
    if (slot < 1 || slot > 4 || face < 0 || face >= int(board_.PartImages[slot].size())) return false;
    return board_.PartImages[slot][face] == image;
}

void GameScreen::PartsDragOver(ImageControl*, ImageControl*, int, int, bool& accept) { accept = true; }

void GameScreen::ImgFace1DragOver(ImageControl*, ImageControl*, int, int, bool& accept) { accept = true; }

void GameScreen::ImgFace1DragDrop(ImageControl*, ImageControl* source, int x, int y) {
    // The drop is measured from ImgFace1 even over ImgFace2, which shows only
    // after the judgement, when no drag can start.
    placeOnFace(source, board_.ImgFace1->x() + x - play_.grabX, board_.ImgFace1->y() + y - play_.grabY);
    recordDrop(source);
}

void GameScreen::PartsDragDrop(ImageControl* sender, ImageControl* source, int x, int y) {
    if (!board_.liesOnFace(sender)) return;  // a part in a palette takes no drop
    placeOnFace(source, sender->x() + x - play_.grabX, sender->y() + y - play_.grabY);
    recordDrop(source);
}

void GameScreen::placeOnFace(ImageControl* part, int left, int top) {
    if (!board_.liesOnFace(part)) {
        // A part new on the face lies above the face and the parts already
        // there, but under the palettes and buttons, so that a part sticking
        // out never covers a control.
        part->setParent(board_.ClientArea);
        part->stackUnder(board_.PageControl1);
    }
    part->move(left, top);
    // Under the cloth a dropped part is out of sight until the reveal.
    part->setVisible(!blindfold_.covering());
}

void GameScreen::recordDrop(ImageControl* source) {
    const int face = source->tag() % catalogue_.faceCount;
    const int slot = play_.dragSlot;
    play_.placedFace[slot] = face;
    blindfold_.partsPlaced(play_.placedFace);
    if (face == play_.currentFace) {
        play_.placedLeft[slot] = source->x();
        play_.placedTop[slot] = source->y();
    }
    for (int s = 1; s <= 4; ++s)
        if (play_.placedFace[s] < 0) return;
    board_.BitBtnHantei->setEnabled(true);
    board_.Label1->setCaption(Texts::ReadyToJudge);
}

void GameScreen::sendPartHome(int slot, int face) {
    ImageControl* part = board_.PartImages[slot][face];
    part->setParent(board_.paletteBox(slot)->content());
    part->move(play_.homeLeft[slot][face], play_.homeTop[slot][face]);
    part->show();
}
