// Outlining the four parts: a part title chooses the part, a freehand stroke
// on the face box outlines it; the finished outline cuts the part picture from
// the unpainted face and paints the region over in its fill colour.
#include "main/form1.h"

#include "authoring/form1_authoring_look.h"
#include "authoring/outline.h"
#include "board/caption_label.h"
#include "board/image_control.h"

#include <QPushButton>
#include <algorithm>

void TForm1::LblRMeMouseDown(Qt::MouseButton button) { guarded([&] { partTitleMouseDown(1, button); }); }
void TForm1::LblLMeMouseDown(Qt::MouseButton button) { guarded([&] { partTitleMouseDown(2, button); }); }
void TForm1::LblHanaMouseDown(Qt::MouseButton button) { guarded([&] { partTitleMouseDown(3, button); }); }
void TForm1::LblKutiMouseDown(Qt::MouseButton button) { guarded([&] { partTitleMouseDown(4, button); }); }

void TForm1::partTitleMouseDown(int slot, Qt::MouseButton button) {
    authoring.currentPart = slot;
    for (int s = 1; s <= 4; ++s)
        if (s != slot) setTitleColour(partTitle(s), TitleColours::Idle);
    if (button == Qt::LeftButton) {
        BeginOutline(partTitle(slot), partPreview(slot));
    } else if (button == Qt::RightButton && authoring.outlined[slot]) {
        setTitleColour(partTitle(slot), TitleColours::Picking);
        authoring.pickMode = 1;
    }
}

void TForm1::BeginOutline(CaptionLabel* title, ImageControl* preview) {
    authoring.zoomArmed = false;
    BitBtnHantei->hide();
    Label1->setCaption(AuthoringTexts::Outlining);
    setTitleColour(title, TitleColours::Outlining);
    preview->clearPicture();
    authoring.outlined[authoring.currentPart] = false;
    RedrawAuthoringFace(authoring.currentPart);
    authoring.pickMode = 0;
}

void TForm1::RedrawAuthoringFace(int part) {
    Label1->setCaption(AuthoringTexts::Outlining);
    BitBtnToroku->setEnabled(false);
    redrawSourcePicture();
    for (int s = 1; s <= 4; ++s) {
        if (!authoring.outlined[s]) continue;
        authoring.currentPart = s;
        PaintPart();
    }
    authoring.currentPart = part;
}

void TForm1::PaintPart() {
    const int s = authoring.currentPart;
    if (s < 1 || s > 4) return;
    paintOutline(ImgFace1->canvas(), authoring.outlinePoints[s], authoring.fillColor[s]);
    ImgFace1->pictureChanged();
}

namespace {

// The colour of a face-box pixel as the user sees it now.
QRgb displayedColour(const QImage& faceBox, int x, int y) {
    return faceBox.valid(x, y) ? faceBox.pixel(x, y) : qRgb(255, 255, 255);
}

}  // namespace

void TForm1::startOutline(int x, int y) {
    AuthoringState& a = authoring;
    const int s = a.currentPart;
    a.boxMinX[s] = a.boxMaxX[s] = x;
    a.boxMinY[s] = a.boxMaxY[s] = y;
    a.fillColor[s] = displayedColour(ImgFace1->picture(), x, y);
    a.outlineDrawing = true;
    a.outlinePoints[s] = {QPoint(x, y)};
}

void TForm1::pickFillColour(int x, int y) {
    authoring.fillColor[authoring.currentPart] = displayedColour(ImgFace1->picture(), x, y);
    PaintPart();
}

void TForm1::extendOutline(int x, int y) {
    AuthoringState& a = authoring;
    const int s = a.currentPart;
    // The painted parts disappear while the stroke is drawn; the release
    // paints them again.
    redrawSourcePicture();
    a.outlinePoints[s].push_back(QPoint(x, y));
    a.boxMinX[s] = std::min(a.boxMinX[s], x);
    a.boxMaxX[s] = std::max(a.boxMaxX[s], x);
    a.boxMinY[s] = std::min(a.boxMinY[s], y);
    a.boxMaxY[s] = std::max(a.boxMaxY[s], y);
    drawDottedStroke(ImgFace1->canvas(), a.outlinePoints[s]);
    ImgFace1->pictureChanged();
}

void TForm1::finishOutline() {
    AuthoringState& a = authoring;
    const int s = a.currentPart;
    const OutlineBox box{a.boxMinX[s], a.boxMaxX[s], a.boxMinY[s], a.boxMaxY[s]};
    // An outline without width or height makes no part: the title stays red
    // and the stroke stays, so the user can draw again at once.
    if (!box.degenerate()) {
        // The part picture is cut before any paint goes on the face.
        redrawSourcePicture();
        ImageControl* preview = partPreview(s);
        preview->setAutoSize(false);
        preview->setStretch(false);
        preview->resize(box.width(), box.height());
        preview->setPicture(cutPartPicture(ImgFace1->picture(), box));
        preview->show();
        a.outlined[s] = true;
        for (int i = 1; i <= 4; ++i) {
            if (!a.outlined[i]) continue;
            a.currentPart = i;
            PaintPart();
        }
        a.currentPart = 0;
        for (int i = 1; i <= 4; ++i) setTitleColour(partTitle(i), TitleColours::Idle);
    }
    a.outlineDrawing = false;
    if (std::all_of(a.outlined.begin() + 1, a.outlined.end(), [](bool done) { return done; })) {
        BitBtnToroku->setText(Texts::Toroku);
        BitBtnToroku->show();
        BitBtnToroku->setEnabled(true);
        Label1->setCaption(AuthoringTexts::ReadyToRegister);
    }
}
