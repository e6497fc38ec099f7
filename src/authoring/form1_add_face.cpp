// Starting the authoring of a new face: choosing a photograph and fitting it
// into the 300 x 300 face box.
#include "main/form1.h"

#include "authoring/face_box_fit.h"
#include "authoring/face_box_redraw.h"
#include "authoring/form1_authoring_look.h"
#include "authoring/picture_kind.h"
#include "board/image_control.h"
#include "pictures/jpeg_codec.h"
#include "pictures/picture_file.h"
#include "board/scroll_box.h"

#include <QAction>
#include <QPushButton>
#include <QTabWidget>

void TForm1::A1Click() {
    guarded([&] {
        const QString path = services.dialogs->openFile(AuthoringTexts::PictureDialogTitle,
                                                        AuthoringTexts::PictureDialogFilter);
        if (path.isEmpty()) return;

        // Decoded before the screen changes: a picture that cannot be read is
        // reported and the face selection stays as it was.
        const PictureKind kind = pictureKindOfPath(path);
        QImage picture;
        if (kind == PictureKind::Bitmap) picture = loadBitmapFile(path, kPhotographMaxPixels);
        if (kind == PictureKind::Jpeg) picture = decodeJpegFile(path, kPhotographMaxPixels);

        authoring.addingFace = true;
        F1->setEnabled(false);
        R1->setEnabled(false);
        ScrollBox1->hide();
        PageControl1->hide();
        ImgFace1->clearPicture();
        ImgFace1->show();
        if (kind != PictureKind::None) {
            authoring.sourceKind = int(kind);
            authoring.sourcePicture = picture;
            const QSize fit = fitIntoFaceBox(picture.width(), picture.height());
            authoring.drawWidth = fit.width();
            authoring.drawHeight = fit.height();
            prepareFaceBox();
        }

        for (int s = 1; s <= 4; ++s) {
            partTitle(s)->show();
            partPreview(s)->clearPicture();
        }
        BitBtnHantei->setText(Texts::Zoom);
        BitBtnHantei->setEnabled(true);
        BitBtnHantei->show();
        BitBtnCancel->show();
        BitBtnCancel->setEnabled(true);
        Label1->setFontPoints(12);
        Label1->setCaption(AuthoringTexts::ZoomOffered);

        for (auto& points : authoring.outlinePoints) points.clear();
        authoring.zoomArmed = false;
        authoring.zoomDragging = false;
        authoring.outlineDrawing = false;
        authoring.currentPart = 0;
        authoring.outlined.fill(false);
        authoring.pickMode = 0;
        setPartTitlesEnabled(true);
    });
}

// The face box of authoring: at its place, 300 x 300, drawing the bitmap at
// its own size, the source picture shown in its top-left corner.
void TForm1::prepareFaceBox() {
    ImgFace1->setAutoSize(false);
    ImgFace1->setStretch(false);
    ImgFace1->setProportional(false);
    ImgFace1->setGeometry(8, 120, kFaceBoxSide, kFaceBoxSide);
    ImgFace1->setPicture(blankFaceBox());
    redrawSourcePicture();
}

void TForm1::redrawSourcePicture() {
    redrawFaceBox(ImgFace1->canvas(), authoring.sourcePicture,
                  QSize(authoring.drawWidth, authoring.drawHeight));
    ImgFace1->pictureChanged();
}

void TForm1::releaseSourcePicture() {
    authoring.sourcePicture = QImage();
    authoring.sourceKind = 0;
}

void TForm1::setPartTitlesEnabled(bool enabled) {
    for (int s = 1; s <= 4; ++s) partTitle(s)->setEnabled(enabled);
}
