// SPDX-License-Identifier: GPL-3.0-or-later
// Zooming into a rectangle of the photograph: the first press of "ズーム" arms
// it, a drag on the face box chooses the rectangle, the second press cuts that
// region from the full-resolution picture and shows it in the face box.
#include "authoring/face_authoring.h"

#include "authoring/authoring_look.h"
#include "board/board.h"
#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/command_button.h"
#include "board/image_control.h"
#include "pictures/face_box_fit.h"
#include "pictures/face_box_redraw.h"
#include "pictures/outline.h"

#include <QPushButton>
#include <algorithm>

void FaceAuthoring::zoomClick() {
    AuthoringState& a = authoring_;
    if (finder_.searching()) return;  // the search looks at the picture as it is
    if (!a.zoomArmed) {
        finder_.dropNoFaceNote();
        a.zoomArmed = true;
        a.currentPart = 6;
        board_.BitBtnHantei->setEnabled(false);
        setPartTitlesEnabled(false);
        return;
    }

    a.boxMinX[6] = std::min(a.dragStartX[6], a.dragEndX[6]);
    a.boxMaxX[6] = std::max(a.dragStartX[6], a.dragEndX[6]);
    a.boxMinY[6] = std::min(a.dragStartY[6], a.dragEndY[6]);
    a.boxMaxY[6] = std::max(a.dragStartY[6], a.dragEndY[6]);
    const int w = a.boxMaxX[6] - a.boxMinX[6];
    const int h = a.boxMaxY[6] - a.boxMinY[6];
    const float k = zoomFactor(a.sourcePicture.width(), a.sourcePicture.height());
    const QImage zoomed =
        cutRegion(a.sourcePicture, zoomSourceRect(QRect(a.boxMinX[6], a.boxMinY[6], w, h), k));
    // A rectangle smaller than one picture pixel, or one reaching absurdly far
    // beyond the picture, cuts nothing: the zoom stays offered as it was.
    if (zoomed.isNull()) return;

    a.sourcePicture = zoomed;
    a.sourceKind = 1;
    const QSize drawSize = zoomedDrawSize(w, h);
    a.drawWidth = drawSize.width();
    a.drawHeight = drawSize.height();
    board_.ImgFace1->setPicture(blankFaceBox());
    redrawSourcePicture();

    a.zoomArmed = false;
    a.currentPart = 0;
    board_.BitBtnHantei->hide();
    setPartTitlesEnabled(true);
    board_.Label1->setCaption(AuthoringTexts::Outlining);
}

void FaceAuthoring::startZoomRectangle(int x, int y) {
    authoring_.zoomDragging = true;
    authoring_.dragStartX[6] = x;
    authoring_.dragStartY[6] = y;
    board_.BitBtnHantei->setEnabled(false);
}

void FaceAuthoring::dragZoomRectangle(int x, int y) {
    AuthoringState& a = authoring_;
    a.dragEndX[6] = x;
    a.dragEndY[6] = y;
    redrawFaceBox(board_.ImgFace1->canvas(), a.sourcePicture, QSize(a.drawWidth, a.drawHeight));
    drawDottedRectangle(board_.ImgFace1->canvas(), QPoint(a.dragStartX[6], a.dragStartY[6]), QPoint(x, y));
    board_.ImgFace1->pictureChanged();
}

void FaceAuthoring::finishZoomRectangle(int x, int y) {
    AuthoringState& a = authoring_;
    a.dragEndX[6] = x;
    a.dragEndY[6] = y;
    a.zoomDragging = false;
    // A rectangle without width or height cannot be zoomed into; the user
    // drags again.
    if (a.dragStartX[6] != x && a.dragStartY[6] != y) {
        board_.BitBtnHantei->setEnabled(true);
        board_.Label1->setCaption(AuthoringTexts::RectangleChosen);
    }
}
