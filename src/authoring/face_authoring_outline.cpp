// SPDX-License-Identifier: GPL-3.0-or-later
// Outlining the four parts: a part title chooses the part, a freehand stroke
// on the face box outlines it; the finished outline cuts the part picture from
// the unpainted face and paints the region over in its fill colour.
#include "authoring/face_authoring.h"

#include "authoring/authoring_look.h"
#include "board/board.h"
#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/command_button.h"
#include "board/image_control.h"
#include "pictures/outline.h"

#include <QPushButton>
#include <algorithm>

void FaceAuthoring::partTitleMouseDown(int slot, Qt::MouseButton button) {
    if (finder_.searching()) return;  // the proposal is about to replace every outline
    authoring_.currentPart = slot;
    for (int s = 1; s <= 4; ++s)
        if (s != slot) setTitleColour(board_.partTitle(s), TitleColours::Idle);
    if (button == Qt::LeftButton) {
        BeginOutline(board_.partTitle(slot), board_.partPreview(slot));
    } else if (button == Qt::RightButton && authoring_.outlined[slot]) {
        setTitleColour(board_.partTitle(slot), TitleColours::Picking);
        authoring_.pickMode = 1;
    }
}

void FaceAuthoring::BeginOutline(CaptionLabel* title, ImageControl* preview) {
    finder_.dropNoFaceNote();
    authoring_.zoomArmed = false;
    board_.BitBtnHantei->hide();
    board_.Label1->setCaption(AuthoringTexts::Outlining);
    setTitleColour(title, TitleColours::Outlining);
    preview->clearPicture();
    authoring_.outlined[authoring_.currentPart] = false;
    RedrawAuthoringFace(authoring_.currentPart);
    authoring_.pickMode = 0;
}

void FaceAuthoring::RedrawAuthoringFace(int part) {
    board_.Label1->setCaption(AuthoringTexts::Outlining);
    board_.BitBtnToroku->setEnabled(false);
    redrawSourcePicture();
    for (int s = 1; s <= 4; ++s) {
        if (!authoring_.outlined[s]) continue;
        authoring_.currentPart = s;
        PaintPart();
    }
    authoring_.currentPart = part;
}

void FaceAuthoring::PaintPart() {
    const int s = authoring_.currentPart;
    if (s < 1 || s > 4) return;
    paintOutline(board_.ImgFace1->canvas(), authoring_.outlinePoints[s], authoring_.fillColor[s]);
    board_.ImgFace1->pictureChanged();
}

namespace {

// The colour of a face-box pixel as the user sees it now.
QRgb displayedColour(const QImage& faceBox, int x, int y) {
    return faceBox.valid(x, y) ? faceBox.pixel(x, y) : qRgb(255, 255, 255);
}

}  // namespace

void FaceAuthoring::startOutline(int x, int y) {
    AuthoringState& a = authoring_;
    const int s = a.currentPart;
    a.boxMinX[s] = a.boxMaxX[s] = x;
    a.boxMinY[s] = a.boxMaxY[s] = y;
    a.fillColor[s] = displayedColour(board_.ImgFace1->picture(), x, y);
    a.outlineDrawing = true;
    a.outlinePoints[s] = {QPoint(x, y)};
}

void FaceAuthoring::pickFillColour(int x, int y) {
    authoring_.fillColor[authoring_.currentPart] = displayedColour(board_.ImgFace1->picture(), x, y);
    PaintPart();
}

void FaceAuthoring::extendOutline(int x, int y) {
    AuthoringState& a = authoring_;
    const int s = a.currentPart;
    // The painted parts disappear while the stroke is drawn; the release
    // paints them again.
    redrawSourcePicture();
    a.outlinePoints[s].push_back(QPoint(x, y));
    a.boxMinX[s] = std::min(a.boxMinX[s], x);
    a.boxMaxX[s] = std::max(a.boxMaxX[s], x);
    a.boxMinY[s] = std::min(a.boxMinY[s], y);
    a.boxMaxY[s] = std::max(a.boxMaxY[s], y);
    drawDottedStroke(board_.ImgFace1->canvas(), a.outlinePoints[s]);
    board_.ImgFace1->pictureChanged();
}

void FaceAuthoring::finishOutline() {
    AuthoringState& a = authoring_;
    const int s = a.currentPart;
    const OutlineBox box{a.boxMinX[s], a.boxMaxX[s], a.boxMinY[s], a.boxMaxY[s]};
    // An outline without width or height makes no part: the title stays red
    // and the stroke stays, so the user can draw again at once.
    if (!box.degenerate()) {
        // The part picture is cut before any paint goes on the face.
        redrawSourcePicture();
        takePartPicture(s, box);
        for (int i = 1; i <= 4; ++i) {
            if (!a.outlined[i]) continue;
            a.currentPart = i;
            PaintPart();
        }
        a.currentPart = 0;
        for (int i = 1; i <= 4; ++i) setTitleColour(board_.partTitle(i), TitleColours::Idle);
    }
    a.outlineDrawing = false;
    if (std::all_of(a.outlined.begin() + 1, a.outlined.end(), [](bool done) { return done; })) {
        showRegisterButton();
        board_.Label1->setCaption(AuthoringTexts::ReadyToRegister);
    }
}

void FaceAuthoring::takePartPicture(int slot, const OutlineBox& box) {
    ImageControl* preview = board_.partPreview(slot);
    preview->setAutoSize(false);
    preview->setStretch(false);
    preview->resize(box.width(), box.height());
    preview->setPicture(cutPartPicture(board_.ImgFace1->picture(), box));
    preview->show();
    authoring_.outlined[slot] = true;
}

void FaceAuthoring::showRegisterButton() {
    board_.BitBtnToroku->setText(Texts::Toroku);
    board_.BitBtnToroku->show();
    board_.BitBtnToroku->setEnabled(true);
}
