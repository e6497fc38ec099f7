// SPDX-License-Identifier: GPL-3.0-or-later
// 「自動で囲む」: the face found in the photograph gives the zoom and the four
// outlines, each taken over exactly as the player's own drag and strokes
// would have left them, so that redrawing a part, the paint and 「登録」 work
// as for a hand-drawn face.
#include "authoring/face_authoring.h"

#include "authoring/authoring_look.h"
#include "board/board.h"
#include "board/caption_label.h"
#include "board/command_button.h"
#include "board/image_control.h"
#include "detection/face_proposal.h"
#include "pictures/face_box_redraw.h"
#include "pictures/outline.h"

#include <QPushButton>

void FaceAuthoring::rememberUnproposedSource() {
    unproposed_.picture = authoring_.sourcePicture;
    unproposed_.kind = authoring_.sourceKind;
    unproposed_.drawSize = QSize(authoring_.drawWidth, authoring_.drawHeight);
    lastSearch_ = {};
}

void FaceAuthoring::BitBtnZidoClick() {
    if (!authoring_.addingFace || unproposed_.picture.isNull()) return;
    finder_.search(unproposed_.picture);
}

void FaceAuthoring::facesSearched(const FaceSearch& search) {
    if (!authoring_.addingFace) return;
    lastSearch_ = search;
    shownFace_ = -1;
    leftFaces_.clear();
    // None found is said beside the button; the prompt stays what it was,
    // the zoom instructions with it while the zoom is offered.
    if (search.faces.empty())
        finder_.offerFaces(search, unproposed_.picture, 0);
    else
        proposeFace(0);
}

void FaceAuthoring::chooseFace(int face) {
    if (face == shownFace_ || face < 0 || face >= int(lastSearch_.faces.size())) return;
    if (shownFace_ >= 0) leftFaces_[shownFace_] = currentEdits();
    const auto left = leftFaces_.find(face);
    if (left == leftFaces_.end()) {
        proposeFace(face);
        return;
    }
    restoreEdits(left->second);
    shownFace_ = face;
    finder_.offerFaces(lastSearch_, unproposed_.picture, face);
}

FaceAuthoring::FaceEdits FaceAuthoring::currentEdits() const {
    FaceEdits edits;
    edits.state = authoring_;
    for (int s = 1; s <= 4; ++s) {
        edits.previews[size_t(s)] = board_.partPreview(s)->picture();
        edits.previewShown[size_t(s)] = board_.partPreview(s)->isVisible();
    }
    edits.prompt = board_.Label1->caption();
    edits.registerEnabled = board_.BitBtnToroku->isEnabled();
    return edits;
}

// The face as the player left it, at rest: no stroke, zoom or colour pick
// under way, every title idle.
void FaceAuthoring::restoreEdits(const FaceEdits& edits) {
    AuthoringState& a = authoring_;
    a = edits.state;
    a.currentPart = 0;
    a.outlineDrawing = false;
    a.zoomArmed = false;
    a.zoomDragging = false;
    a.pickMode = 0;
    board_.ImgFace1->setPicture(blankFaceBox());
    redrawSourcePicture();
    for (int s = 1; s <= 4; ++s) {
        if (a.outlined[s]) {
            a.currentPart = s;
            PaintPart();
        }
        setTitleColour(board_.partTitle(s), TitleColours::Idle);
        ImageControl* preview = board_.partPreview(s);
        const QImage& picture = edits.previews[size_t(s)];
        if (picture.isNull()) {
            preview->clearPicture();
        } else {
            preview->setAutoSize(false);
            preview->setStretch(false);
            preview->resize(picture.size());
            preview->setPicture(picture);
        }
        preview->setVisible(edits.previewShown[size_t(s)]);
    }
    a.currentPart = 0;
    setPartTitlesEnabled(true);
    board_.BitBtnHantei->hide();
    showRegisterButton();
    board_.BitBtnToroku->setEnabled(edits.registerEnabled);
    board_.Label1->setFontPoints(12);
    board_.Label1->setCaption(edits.prompt);
}

void FaceAuthoring::proposeFace(int face) {
    if (face < 0 || face >= int(lastSearch_.faces.size())) return;
    // Whatever zoom the player made, the proposal makes its own.
    const FaceProposal proposal =
        ::proposeFace(unproposed_.picture, unproposed_.drawSize, lastSearch_.faces[size_t(face)], false);
    AuthoringState& a = authoring_;
    // Another face of the same search starts again from the photograph.
    a.sourcePicture = unproposed_.picture;
    a.sourceKind = unproposed_.kind;
    a.drawWidth = unproposed_.drawSize.width();
    a.drawHeight = unproposed_.drawSize.height();
    if (proposal.zoom) {
        const QRect& drag = proposal.zoom->faceBoxRect;
        a.boxMinX[6] = drag.left();
        a.boxMaxX[6] = drag.left() + drag.width();
        a.boxMinY[6] = drag.top();
        a.boxMaxY[6] = drag.top() + drag.height();
        a.sourcePicture = proposal.zoom->picture;
        a.sourceKind = 1;
        a.drawWidth = proposal.zoom->drawSize.width();
        a.drawHeight = proposal.zoom->drawSize.height();
    }
    a.zoomArmed = false;
    a.zoomDragging = false;
    a.outlineDrawing = false;
    a.pickMode = 0;
    board_.BitBtnHantei->hide();
    board_.ImgFace1->setPicture(blankFaceBox());
    redrawSourcePicture();

    // Each part as finishOutline leaves it: the stroke, its box, the paint,
    // and the part picture cut from the unpainted face.
    for (int s = 1; s <= 4; ++s) {
        const OutlineBox& box = proposal.outlines.boxes[size_t(s)];
        a.outlinePoints[s] = proposal.outlines.points[size_t(s)];
        a.boxMinX[s] = box.minX;
        a.boxMaxX[s] = box.maxX;
        a.boxMinY[s] = box.minY;
        a.boxMaxY[s] = box.maxY;
        a.fillColor[s] = proposal.fillColour;
        takePartPicture(s, box);
    }
    for (int s = 1; s <= 4; ++s) {
        a.currentPart = s;
        PaintPart();
        setTitleColour(board_.partTitle(s), TitleColours::Idle);
    }
    a.currentPart = 0;
    setPartTitlesEnabled(true);
    showRegisterButton();

    board_.Label1->setFontPoints(12);
    board_.Label1->setCaption(AuthoringTexts::proposalPrompt(proposal.needsChecking, proposal.mayBlur()));
    shownFace_ = face;
    finder_.offerFaces(lastSearch_, unproposed_.picture, face);
}
