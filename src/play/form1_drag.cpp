// Placing parts: a press on a part image starts a drag at once; the release
// decides where it lands. The drag is built from the window's own mouse events
// with the mouse grabbed by the pressed part, so it behaves alike under every
// window system and in tests.
#include "main/form1.h"

#include "board/caption_label.h"
#include "board/image_control.h"
#include "board/scroll_box.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QTabWidget>

void TForm1::attachPartHandlers(ImageControl* part) {
    part->onMouseDown = [this](ImageControl* sender, Qt::MouseButton button, QPoint at) {
        PartsMouseDown(sender, button, at.x(), at.y());
    };
    // Moves and the release reach the pressed part while it holds the mouse.
    part->onMouseMove = [this](ImageControl* sender, Qt::MouseButtons, QPoint at) {
        if (!play.dragging || QWidget::mouseGrabber() != sender) return;
        guarded([&] { updateDragCursor(sender, sender->mapTo(ClientArea, at)); });
    };
    part->onMouseUp = [this](ImageControl* sender, Qt::MouseButton button, QPoint at) {
        if (!play.dragging || int(button) != play.dragButton) return;
        guarded([&] { finishDrag(sender, sender->mapTo(ClientArea, at)); });
    };
}

void TForm1::PartsMouseDown(ImageControl* sender, Qt::MouseButton button, int x, int y) {
    guarded([&] {
        if (BitBtnHantei->text() == Texts::Saikai) return;  // judged: the parts stay
        // Nothing moves while the face is looked at or uncovered, and a part
        // under the cloth cannot be found again by hand.
        if (!play.blindfold.partsMayMove()) return;
        if (play.blindfold.covering() && liesOnFace(sender)) return;
        if (play.dragging) {
            if (QWidget::mouseGrabber()) return;  // another button of the drag in progress
            endDrag(nullptr);  // a drag whose release never came
        }
        play.dragSlot = sender->tag() / catalogue.faceCount;
        const int placed = play.placedFace[play.dragSlot];
        if (!liesOnFace(sender) && placed >= 0) {
            // A new part of this kind replaces the one on the face.
            sendPartHome(play.dragSlot, placed);
            play.placedFace[play.dragSlot] = -1;
            BitBtnHantei->setEnabled(false);
            Label1->setFontPoints(14);
            Label1->setCaption(placingPrompt());
        }
        play.grabX = x;
        play.grabY = y;
        beginDrag(sender, button, sender->mapTo(ClientArea, QPoint(x, y)));
    });
}

void TForm1::beginDrag(ImageControl* source, Qt::MouseButton button, QPoint clientPos) {
    play.dragging = true;
    play.dragButton = int(button);
    source->grabMouse();
    QGuiApplication::setOverrideCursor(Qt::ForbiddenCursor);
    updateDragCursor(source, clientPos);
}

void TForm1::endDrag(ImageControl* source) {
    if (!play.dragging) return;
    play.dragging = false;
    if (source) source->releaseMouse();
    QGuiApplication::restoreOverrideCursor();
}

void TForm1::updateDragCursor(ImageControl* source, QPoint windowPos) {
    bool accept = false;
    QWidget* target = ClientArea->childAt(windowPos);
    if (target == ImgFace1 || target == ImgFace2) {
        auto* face = static_cast<ImageControl*>(target);
        const QPoint at = face->mapFrom(ClientArea, windowPos);
        ImgFace1DragOver(face, source, at.x(), at.y(), accept);
    } else if (ImageControl* part = partImageAt(windowPos)) {
        const QPoint at = part->mapFrom(ClientArea, windowPos);
        PartsDragOver(part, source, at.x(), at.y(), accept);
    }
    QGuiApplication::changeOverrideCursor(accept ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
}

void TForm1::finishDrag(ImageControl* source, QPoint windowPos) {
    // The mouse and the cursor are given back before the drop does anything,
    // so a failing drop cannot leave them taken.
    endDrag(source);
    // The widget under the pointer, the dragged part itself included.
    QWidget* target = ClientArea->childAt(windowPos);
    if (target == ImgFace1 || target == ImgFace2) {
        auto* face = static_cast<ImageControl*>(target);
        const QPoint at = face->mapFrom(ClientArea, windowPos);
        ImgFace1DragDrop(face, source, at.x(), at.y());
    } else if (ImageControl* part = partImageAt(windowPos)) {
        const QPoint at = part->mapFrom(ClientArea, windowPos);
        PartsDragDrop(part, source, at.x(), at.y());
    }
}

ImageControl* TForm1::partImageAt(QPoint clientPos) const {
    QWidget* widget = ClientArea->childAt(clientPos);
    return isPartImage(widget) ? static_cast<ImageControl*>(widget) : nullptr;
}

bool TForm1::isPartImage(const QWidget* widget) const {
    const auto* image = qobject_cast<const ImageControl*>(widget);
    if (!image || catalogue.faceCount <= 0) return false;
    const int slot = image->tag() / catalogue.faceCount;
    const int face = image->tag() % catalogue.faceCount;
    if (slot < 1 || slot > 4 || face < 0 || face >= int(PartImages[slot].size())) return false;
    return PartImages[slot][face] == image;
}

void TForm1::PartsDragOver(ImageControl*, ImageControl*, int, int, bool& accept) { accept = true; }

void TForm1::ImgFace1DragOver(ImageControl*, ImageControl*, int, int, bool& accept) { accept = true; }

void TForm1::ImgFace1DragDrop(ImageControl*, ImageControl* source, int x, int y) {
    // The drop is measured from ImgFace1 even over ImgFace2, which shows only
    // after the judgement, when no drag can start.
    placeOnFace(source, ImgFace1->x() + x - play.grabX, ImgFace1->y() + y - play.grabY);
    recordDrop(source);
}

void TForm1::PartsDragDrop(ImageControl* sender, ImageControl* source, int x, int y) {
    if (!liesOnFace(sender)) return;  // a part in a palette takes no drop
    placeOnFace(source, sender->x() + x - play.grabX, sender->y() + y - play.grabY);
    recordDrop(source);
}

void TForm1::placeOnFace(ImageControl* part, int left, int top) {
    if (!liesOnFace(part)) {
        // A part new on the face lies above the face and the parts already
        // there, but under the palettes and buttons, so that a part sticking
        // out never covers a control.
        part->setParent(ClientArea);
        part->stackUnder(PageControl1);
    }
    part->move(left, top);
    // Under the cloth a dropped part is out of sight until the reveal.
    part->setVisible(!play.blindfold.covering());
}

void TForm1::recordDrop(ImageControl* source) {
    const int face = source->tag() % catalogue.faceCount;
    const int slot = play.dragSlot;
    play.placedFace[slot] = face;
    if (face == play.currentFace) {
        play.placedLeft[slot] = source->x();
        play.placedTop[slot] = source->y();
    }
    for (int s = 1; s <= 4; ++s)
        if (play.placedFace[s] < 0) return;
    BitBtnHantei->setEnabled(true);
    Label1->setCaption(Texts::ReadyToJudge);
}

void TForm1::sendPartHome(int slot, int face) {
    ImageControl* part = PartImages[slot][face];
    part->setParent(paletteBox(slot)->content());
    part->move(play.homeLeft[slot][face], play.homeTop[slot][face]);
    part->show();
}
