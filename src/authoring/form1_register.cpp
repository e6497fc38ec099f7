// Registering the new face, and cancelling the authoring. Everything the new
// face needs is built in memory and written to disk in one all-or-nothing
// step; only then does the window take the face in.
#include "main/form1.h"

#include "authoring/shrink.h"
#include "catalogue/catalogue_files.h"
#include "files/app_error.h"
#include "board/image_control.h"
#include "pictures/stretch.h"

#include <QPushButton>

void TForm1::registerFace() {
    const AuthoringState& a = authoring;
    if (!a.addingFace || a.sourcePicture.isNull()) return;
    const int n = catalogue.faceCount;
    if (n >= kMaxFaceCount) throwFileCreateError(facePicturePath(AppDir, n, 1));

    const QImage unpainted = stretchNearest(a.sourcePicture, a.drawWidth, a.drawHeight);
    const QImage painted = ImgFace1->picture().copy(0, 0, a.drawWidth, a.drawHeight);
    std::array<QImage, 4> parts;
    std::array<QPoint, 4> corners;
    for (int s = 1; s <= 4; ++s) {
        parts[s - 1] = partPreview(s)->picture();
        corners[s - 1] = QPoint(a.boxMinX[s], a.boxMinY[s]);
    }
    const NewFacePictures face = buildNewFace(unpainted, painted, parts, corners);

    // Throws on failure with nothing left on disk; the authoring then stays
    // open so that the user can try again or cancel.
    registerFaceFiles(AppDir, n, face);

    catalogue.faceCount = n + 1;
    play.currentFace = n;
    catalogue.faceAnswers.push_back(face.answer);
    createFaceControls(n, n + 1);
    for (int s = 1; s <= 4; ++s) {
        play.homeLeft[s].resize(n + 1, 0);
        play.homeTop[s].resize(n + 1, 0);
    }
    BuildThumbnailGrid();
    for (int s = 1; s <= 4; ++s) SetUpPalette(PartImages[s], paletteBox(s));
    releaseSourcePicture();
    ReturnToFaceSelect();
    BitBtnToroku->hide();
}

void TForm1::cancelAuthoring() {
    BitBtnCancel->hide();
    BitBtnHantei->hide();
    BitBtnToroku->hide();
    releaseSourcePicture();
    ReturnToFaceSelect();
}
