// SPDX-License-Identifier: GPL-3.0-or-later
// Authoring a new face: choosing a photograph and fitting it into the
// 300 x 300 face box, registering the finished face, and the way back.
// Everything the new face needs is built in memory and written to disk in
// one all-or-nothing step; only then does the catalogue take the face in.
#include "authoring/face_authoring.h"

#include "authoring/authoring_look.h"
#include "authoring/shrink.h"
#include "board/board.h"
#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/command_button.h"
#include "board/image_control.h"
#include "board/scroll_box.h"
#include "catalogue/background_work.h"
#include "catalogue/catalogue_files.h"
#include "catalogue/catalogue_mirror.h"
#include "desktop/user_dialogs.h"
#include "files/app_error.h"
#include "pictures/face_box_fit.h"
#include "pictures/face_box_redraw.h"
#include "pictures/stretch.h"

#include <QAction>
#include <QPushButton>
#include <QTabWidget>
#include <memory>

FaceAuthoring::FaceAuthoring(Board& board, const QString& appDir, CatalogueMirror& catalogue, UserDialogs& dialogs,
                             BackgroundWork& background)
    : board_(board),
      appDir_(appDir),
      catalogue_(catalogue),
      dialogs_(dialogs),
      background_(background),
      finder_(board, dialogs) {
    photoLoading_.onRunningChanged = [this](bool running) {
        if (onLoadingPhotoChanged) onLoadingPhotoChanged(running);
    };
    finder_.onSearched = [this](const FaceSearch& search) { facesSearched(search); };
    finder_.onChosen = [this](int face) { chooseFace(face); };
}

void FaceAuthoring::A1Click() {
    // The face model loads while the player looks for a photograph.
    finder_.prepare();
    const QString path = dialogs_.openFile(AuthoringTexts::PictureDialogTitle, AuthoringTexts::PictureDialogFilter);
    if (path.isEmpty()) {
        if (!photoLoading_.running()) finder_.end();
        return;
    }
    openPhoto(PhotoSource{{path}, {}, {}}, nullptr);
}

void FaceAuthoring::openPhoto(const PhotoSource& source, std::function<void()> leaveScreen) {
    finder_.prepare();
    // Decoded behind the window, before the screen changes: a picture that
    // cannot be read is reported and the screen stays as it was.
    photoLoading_.start(source, [this, leaveScreen = std::move(leaveScreen)](const LoadedPhoto& photo) {
        if (photo.error) {
            if (!authoring_.addingFace) finder_.end();
            dialogs_.showError(photo.error->message());
            return;
        }
        // A photograph given while another is being authored starts afresh.
        if (authoring_.addingFace) cancel();
        if (leaveScreen) leaveScreen();
        openAuthoring(photo);
    });
}

void FaceAuthoring::finishLoadingPhoto() { photoLoading_.finish(); }

void FaceAuthoring::openAuthoring(const LoadedPhoto& photo) {
    const QImage& picture = photo.picture;
    authoring_.addingFace = true;
    board_.F1->setEnabled(false);
    board_.R1->setEnabled(false);
    board_.ScrollBox1->hide();
    board_.PageControl1->hide();
    board_.ImgFace1->clearPicture();
    board_.ImgFace1->show();
    authoring_.sourceKind = int(photo.kind);
    authoring_.sourcePicture = picture;
    const QSize fit = fitIntoFaceBox(picture.width(), picture.height());
    authoring_.drawWidth = fit.width();
    authoring_.drawHeight = fit.height();
    prepareFaceBox();

    for (int s = 1; s <= 4; ++s) {
        board_.partTitle(s)->show();
        board_.partPreview(s)->clearPicture();
    }
    board_.BitBtnHantei->setText(Texts::Zoom);
    board_.BitBtnHantei->setEnabled(true);
    board_.BitBtnHantei->show();
    board_.BitBtnCancel->show();
    board_.BitBtnCancel->setEnabled(true);
    board_.Label1->setFontPoints(12);
    board_.Label1->setCaption(AuthoringTexts::ZoomOffered);

    for (auto& points : authoring_.outlinePoints) points.clear();
    authoring_.zoomArmed = false;
    authoring_.zoomDragging = false;
    authoring_.outlineDrawing = false;
    authoring_.currentPart = 0;
    authoring_.outlined.fill(false);
    authoring_.pickMode = 0;
    setPartTitlesEnabled(true);
    rememberUnproposedSource();
    finder_.begin();
}

// The face box of authoring: at its place, 300 x 300, drawing the bitmap at
// its own size, the source picture shown in its top-left corner.
void FaceAuthoring::prepareFaceBox() {
    board_.ImgFace1->setAutoSize(false);
    board_.ImgFace1->setStretch(false);
    board_.ImgFace1->setProportional(false);
    board_.ImgFace1->setGeometry(8, 120, kFaceBoxSide, kFaceBoxSide);
    board_.ImgFace1->setPicture(blankFaceBox());
    redrawSourcePicture();
}

void FaceAuthoring::redrawSourcePicture() {
    redrawFaceBox(board_.ImgFace1->canvas(), authoring_.sourcePicture,
                  QSize(authoring_.drawWidth, authoring_.drawHeight));
    board_.ImgFace1->pictureChanged();
}

void FaceAuthoring::releaseSourcePicture() {
    authoring_.sourcePicture = QImage();
    authoring_.sourceKind = 0;
}

void FaceAuthoring::setPartTitlesEnabled(bool enabled) {
    for (int s = 1; s <= 4; ++s) board_.partTitle(s)->setEnabled(enabled);
}
void FaceAuthoring::registerFace() {
    const AuthoringState& a = authoring_;
    if (!a.addingFace || a.sourcePicture.isNull() || finder_.searching()) return;
    const int n = catalogue_.faceCount;
    if (n >= kMaxFaceCount) throwFileCreateError(facePicturePath(appDir_, n, 1));

    const QImage unpainted = stretchNearest(a.sourcePicture, a.drawWidth, a.drawHeight);
    const QImage painted = board_.ImgFace1->picture().copy(0, 0, a.drawWidth, a.drawHeight);
    std::array<QImage, 4> parts;
    std::array<QPoint, 4> corners;
    for (int s = 1; s <= 4; ++s) {
        parts[s - 1] = board_.partPreview(s)->picture();
        corners[s - 1] = QPoint(a.boxMinX[s], a.boxMinY[s]);
    }
    auto face = std::make_shared<const NewFacePictures>(buildNewFace(unpainted, painted, parts, corners));

    // Encoded and written on the background thread. A failure leaves nothing
    // on disk and is reported; the authoring then stays open so that the
    // user can try again or cancel.
    background_.start([appDir = appDir_, n, face] { registerFaceFiles(appDir, n, *face); },
                      [this, n, face](std::exception_ptr failure) {
                          try {
                              if (failure) std::rethrow_exception(failure);
                          } catch (const AppError& e) {
                              dialogs_.showError(e.message());
                              return;
                          }
                          catalogue_.faceCount = n + 1;
                          catalogue_.faceAnswers.push_back(face->answer);
                          if (onFaceRegistered) onFaceRegistered();
                          releaseSourcePicture();
                          ReturnToFaceSelect();
                          board_.BitBtnToroku->hide();
                      });
}

void FaceAuthoring::cancel() {
    board_.BitBtnCancel->hide();
    board_.BitBtnHantei->hide();
    board_.BitBtnToroku->hide();
    releaseSourcePicture();
    ReturnToFaceSelect();
}

void FaceAuthoring::ReturnToFaceSelect() {
    for (int s = 1; s <= 4; ++s) {
        CaptionLabel* title = board_.partTitle(s);
        setTitleColour(title, TitleColours::Idle);
        title->hide();
        board_.partPreview(s)->hide();
    }
    board_.ImgFace1->hide();
    board_.showFaceSelection();
    authoring_.addingFace = false;
    authoring_.outlineDrawing = false;
    authoring_.currentPart = 0;
    authoring_.outlined.fill(false);
    authoring_.pickMode = 0;
    for (auto& points : authoring_.outlinePoints) points.clear();
    board_.BitBtnCancel->hide();
    finder_.end();
    unproposed_ = {};
    lastSearch_ = {};
    shownFace_ = -1;
    leftFaces_.clear();
}
