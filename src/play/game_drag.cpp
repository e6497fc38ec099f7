// SPDX-License-Identifier: GPL-3.0-or-later
// Placing parts: a press on a part starts a drag at once; the release
// decides where it lands. A part lies in its palette (a cell of the palette's
// painted widget) or on the face (the slot's own image control). The drag is
// built from the window's own mouse events with the mouse grabbed by the
// pressed widget, so it behaves alike under every window system and in tests.
#include "play/game_screen.h"

#include "board/board.h"
#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/command_button.h"
#include "board/image_control.h"
#include "board/painted_cells.h"
#include "board/scroll_box.h"
#include "catalogue/catalogue_files.h"
#include "catalogue/catalogue_mirror.h"
#include "play/visible_pictures.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QTabWidget>

QWidget* GameScreen::widgetOf(PartRef part) const {
    if (board_.liesOnFace(part.slot, part.face)) return board_.FaceParts[part.slot];
    return board_.PartCells[part.slot];
}

QPoint GameScreen::partTopLeft(PartRef part) const {
    if (board_.liesOnFace(part.slot, part.face)) return {0, 0};
    return board_.PartCells[part.slot]->itemRect(part.face).topLeft();
}

void GameScreen::PartsMouseDown(PartRef sender, Qt::MouseButton button, int x, int y) {
    if (board_.BitBtnHantei->text() == Texts::Saikai) return;  // judged: the parts stay
    // Nothing moves while the face is looked at or uncovered, and a part
    // under the cloth cannot be found again by hand.
    if (!blindfold_.partsMayMove()) {
        blindfold_.partPressedWhileStill();
        return;
    }
    const bool onFace = board_.liesOnFace(sender.slot, sender.face);
    if (blindfold_.covering() && onFace) return;
    if (play_.dragging) {
        if (QWidget::mouseGrabber()) return;  // another button of the drag in progress
        endDrag();  // a drag whose release never came
    }
    // Where the press was, before a part sent home changes the palette.
    QWidget* pressed = widgetOf(sender);
    const QPoint at = pressed->mapTo(board_.ClientArea, partTopLeft(sender) + QPoint(x, y));
    play_.dragSlot = sender.slot;
    const int placed = play_.placedFace[play_.dragSlot];
    if (!onFace && placed >= 0) {
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
    play_.dragged = sender;
    beginDrag(pressed, button, at);
}

void GameScreen::partMouseMove(QWidget* sender, QPoint at) {
    if (!play_.dragging || QWidget::mouseGrabber() != sender) return;
    updateDragCursor(sender->mapTo(board_.ClientArea, at));
}

void GameScreen::partMouseUp(QWidget* sender, Qt::MouseButton button, QPoint at) {
    if (!play_.dragging || int(button) != play_.dragButton) return;
    finishDrag(sender->mapTo(board_.ClientArea, at));
}

void GameScreen::beginDrag(QWidget* grabber, Qt::MouseButton button, QPoint clientPos) {
    play_.dragging = true;
    play_.dragButton = int(button);
    grabber->grabMouse();
    QGuiApplication::setOverrideCursor(Qt::ForbiddenCursor);
    updateDragCursor(clientPos);
}

void GameScreen::endDrag() {
    if (!play_.dragging) return;
    play_.dragging = false;
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    QGuiApplication::restoreOverrideCursor();
}

void GameScreen::updateDragCursor(QPoint windowPos) {
    bool accept = false;
    QWidget* target = board_.ClientArea->childAt(windowPos);
    QPoint inPart;
    if (target == board_.ImgFace1 || target == board_.ImgFace2) {
        auto* face = static_cast<ImageControl*>(target);
        const QPoint at = face->mapFrom(board_.ClientArea, windowPos);
        ImgFace1DragOver(face, play_.dragged, at.x(), at.y(), accept);
    } else if (const std::optional<PartRef> part = partAt(windowPos, &inPart)) {
        PartsDragOver(*part, play_.dragged, inPart.x(), inPart.y(), accept);
    }
    QGuiApplication::changeOverrideCursor(accept ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
}

void GameScreen::finishDrag(QPoint windowPos) {
    // The mouse and the cursor are given back before the drop does anything,
    // so a failing drop cannot leave them taken.
    endDrag();
    const PartRef source = play_.dragged;
    // The widget under the pointer, the dragged part itself included.
    QWidget* target = board_.ClientArea->childAt(windowPos);
    QPoint inPart;
    if (target == board_.ImgFace1 || target == board_.ImgFace2) {
        auto* face = static_cast<ImageControl*>(target);
        const QPoint at = face->mapFrom(board_.ClientArea, windowPos);
        ImgFace1DragDrop(face, source, at.x(), at.y());
    } else if (const std::optional<PartRef> part = partAt(windowPos, &inPart)) {
        PartsDragDrop(*part, source, inPart.x(), inPart.y());
    }
}

std::optional<PartRef> GameScreen::partAt(QPoint clientPos, QPoint* inPart) const {
    QWidget* widget = board_.ClientArea->childAt(clientPos);
    for (int s = 1; s <= 4; ++s) {
        if (widget == board_.FaceParts[s] && board_.partOnFace[s] >= 0) {
            *inPart = widget->mapFrom(board_.ClientArea, clientPos);
            return PartRef{s, board_.partOnFace[s]};
        }
        if (widget == board_.PartCells[s]) {
            const QPoint at = widget->mapFrom(board_.ClientArea, clientPos);
            const int face = board_.PartCells[s]->itemAt(at);
            if (face < 0) return std::nullopt;
            *inPart = at - board_.PartCells[s]->itemRect(face).topLeft();
            return PartRef{s, face};
        }
    }
    return std::nullopt;
}

void GameScreen::PartsDragOver(PartRef, PartRef, int, int, bool& accept) { accept = true; }

void GameScreen::ImgFace1DragOver(ImageControl*, PartRef, int, int, bool& accept) { accept = true; }

void GameScreen::ImgFace1DragDrop(ImageControl*, PartRef source, int x, int y) {
    // The drop is measured from ImgFace1 even over ImgFace2, which shows only
    // after the judgement, when no drag can start.
    placeOnFace(source, board_.ImgFace1->x() + x - play_.grabX, board_.ImgFace1->y() + y - play_.grabY);
    recordDrop(source);
}

void GameScreen::PartsDragDrop(PartRef target, PartRef source, int x, int y) {
    if (!board_.liesOnFace(target.slot, target.face)) return;  // a part in a palette takes no drop
    const QPoint at = board_.FaceParts[target.slot]->pos();
    placeOnFace(source, at.x() + x - play_.grabX, at.y() + y - play_.grabY);
    recordDrop(source);
}

void GameScreen::placeOnFace(PartRef part, int left, int top) {
    ImageControl* onFace = board_.FaceParts[part.slot];
    if (!board_.liesOnFace(part.slot, part.face)) {
        // The part at its own size, drawn in its palette's square.
        const PictureKey key{part.face, part.slot, QSize()};
        const CellPicture* own = pictures_.find(key);
        if (!own) {
            const QImage picture = readFacePicture(appDir_, part.face, part.slot);
            pictures_.put(key, CellPicture{picture, picture.size(), {}});
            own = pictures_.find(key);
        }
        const int side = board_.PartCells[part.slot]->grid().cell.width();
        onFace->resize(side, side);
        onFace->setPicture(own->picture);
        onFace->setTag(part.slot * catalogue_.faceCount + part.face);
        board_.PartCells[part.slot]->setItemHidden(part.face, true);
        board_.partOnFace[part.slot] = part.face;
        // A part new on the face lies above the face and the parts already
        // there, but under the palettes and buttons, so that a part sticking
        // out never covers a control.
        onFace->raise();
        onFace->stackUnder(board_.PageControl1);
    }
    onFace->move(left, top);
    // Under the cloth a dropped part is out of sight until the reveal.
    onFace->setVisible(!blindfold_.covering());
}

void GameScreen::recordDrop(PartRef source) {
    const int face = source.face;
    const int slot = play_.dragSlot;
    play_.placedFace[slot] = face;
    blindfold_.partsPlaced(play_.placedFace);
    if (face == play_.currentFace) {
        play_.placedLeft[slot] = board_.FaceParts[source.slot]->x();
        play_.placedTop[slot] = board_.FaceParts[source.slot]->y();
    }
    for (int s = 1; s <= 4; ++s)
        if (play_.placedFace[s] < 0) return;
    board_.BitBtnHantei->setEnabled(true);
    board_.Label1->setCaption(Texts::ReadyToJudge);
}

void GameScreen::sendPartHome(int slot, int face) {
    board_.FaceParts[slot]->hide();
    board_.FaceParts[slot]->setTag(-1);
    board_.partOnFace[slot] = -1;
    board_.PartCells[slot]->setItemHidden(face, false);
}
