// Zooming into a rectangle of the photograph: the first press of "ズーム" arms
// it, a drag on the face box chooses the rectangle, the second press cuts that
// region from the full-resolution picture and shows it in the face box.
#include "main/form1.h"

#include "authoring/face_box_fit.h"
#include "authoring/face_box_redraw.h"
#include "authoring/form1_authoring_look.h"
#include "authoring/outline.h"
#include "board/caption_label.h"
#include "board/image_control.h"

#include <QPushButton>
#include <algorithm>

void TForm1::zoomClick() {
    AuthoringState& a = authoring;
    if (!a.zoomArmed) {
        a.zoomArmed = true;
        a.currentPart = 6;
        BitBtnHantei->setEnabled(false);
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
    ImgFace1->setPicture(blankFaceBox());
    redrawSourcePicture();

    a.zoomArmed = false;
    a.currentPart = 0;
    BitBtnHantei->hide();
    setPartTitlesEnabled(true);
    Label1->setCaption(AuthoringTexts::Outlining);
}

void TForm1::startZoomRectangle(int x, int y) {
    authoring.zoomDragging = true;
    authoring.dragStartX[6] = x;
    authoring.dragStartY[6] = y;
    BitBtnHantei->setEnabled(false);
}

void TForm1::dragZoomRectangle(int x, int y) {
    AuthoringState& a = authoring;
    a.dragEndX[6] = x;
    a.dragEndY[6] = y;
    redrawFaceBox(ImgFace1->canvas(), a.sourcePicture, QSize(a.drawWidth, a.drawHeight));
    drawDottedRectangle(ImgFace1->canvas(), QPoint(a.dragStartX[6], a.dragStartY[6]), QPoint(x, y));
    ImgFace1->pictureChanged();
}

void TForm1::finishZoomRectangle(int x, int y) {
    AuthoringState& a = authoring;
    a.dragEndX[6] = x;
    a.dragEndY[6] = y;
    a.zoomDragging = false;
    // A rectangle without width or height cannot be zoomed into; the user
    // drags again.
    if (a.dragStartX[6] != x && a.dragStartY[6] != y) {
        BitBtnHantei->setEnabled(true);
        Label1->setCaption(AuthoringTexts::RectangleChosen);
    }
}
