// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Adding a face to the catalogue: a photograph loaded into the 300 x 300
// face box, optionally zoomed into a rectangle, the four parts outlined
// freehand and painted over, and the result registered as a new face.
#include "authoring/authoring_state.h"
#include "authoring/part_finder.h"
#include "authoring/photo_loading.h"

#include <QString>
#include <Qt>
#include <functional>
#include <map>

class BackgroundWork;
struct Board;
struct CatalogueMirror;
class CaptionLabel;
class ImageControl;
class UserDialogs;

class FaceAuthoring {
public:
    FaceAuthoring(Board& board, const QString& appDir, CatalogueMirror& catalogue, UserDialogs& dialogs,
                  BackgroundWork& background);

    const AuthoringState& state() const { return authoring_; }
    PartFinder& partFinder() { return finder_; }
    bool adding() const { return authoring_.addingFace; }

    // Runs once a registered face has joined the catalogue (the count and
    // answers already grown), before the face selection comes back.
    std::function<void()> onFaceRegistered;

    // "顔の追加": chooses the photograph and, once it is decoded behind the
    // window, opens the face box with it. Another choice meanwhile wins.
    void A1Click();
    // A photograph given otherwise (dropped, pasted): decoded behind the
    // window as a chosen one is; once it is in, leaveScreen (when given)
    // takes the screen shown away, a face being authored is given up, and
    // the face box opens with it. One that cannot be read is reported and
    // the screen stays as it was.
    void openPhoto(const PhotoSource& source, std::function<void()> leaveScreen);
    // A photograph chosen is being decoded: the window takes no other press.
    bool loadingPhoto() const { return photoLoading_.running(); }
    std::function<void(bool loading)> onLoadingPhotoChanged;
    // Waits for the photograph being decoded and opens the face box now.
    void finishLoadingPhoto();
    // "ズーム": arms the zoom, or zooms into the chosen rectangle.
    void zoomClick();
    // 「自動で囲む」: finds the face in the photograph and proposes the zoom
    // and the four outlines, each as a hand-drawn one would have been.
    void BitBtnZidoClick();
    void ImgFace1MouseDown(Qt::MouseButton button, int x, int y);
    void ImgFace1MouseMove(int x, int y);
    void ImgFace1MouseUp(Qt::MouseButton button, int x, int y);
    // A press on a part title: left outlines the part, right picks its
    // fill colour from the face.
    void partTitleMouseDown(int slot, Qt::MouseButton button);
    void BeginOutline(CaptionLabel* title, ImageControl* preview);
    void RedrawAuthoringFace(int part);
    void PaintPart();
    // "登録": writes the new face on the background thread; once it is on
    // disk the catalogue takes it and the face selection comes back. When it
    // cannot be written the error is reported and the authoring stays open.
    void registerFace();
    void cancel();
    void ReturnToFaceSelect();

private:
    void openAuthoring(const LoadedPhoto& photo);
    void prepareFaceBox();
    void redrawSourcePicture();
    void releaseSourcePicture();
    void setPartTitlesEnabled(bool enabled);
    void startZoomRectangle(int x, int y);
    void dragZoomRectangle(int x, int y);
    void finishZoomRectangle(int x, int y);
    void startOutline(int x, int y);
    void pickFillColour(int x, int y);
    void extendOutline(int x, int y);
    void finishOutline();
    void rememberUnproposedSource();
    void facesSearched(const FaceSearch& search);
    // Another of the faces found: as the player left it, or proposed anew.
    void chooseFace(int face);
    void proposeFace(int face);
    // What the player has of the face shown: the state, the part pictures,
    // the prompt and the register button.
    struct FaceEdits {
        AuthoringState state;
        std::array<QImage, 5> previews;
        std::array<bool, 5> previewShown{};
        QString prompt;
        bool registerEnabled = false;
    };
    FaceEdits currentEdits() const;
    void restoreEdits(const FaceEdits& edits);
    // The part picture of slot cut from the face box as it shows now (with
    // no paint on it), shown in its preview; the part counts as outlined.
    void takePartPicture(int slot, const OutlineBox& box);
    void showRegisterButton();

    Board& board_;
    const QString appDir_;
    CatalogueMirror& catalogue_;
    UserDialogs& dialogs_;
    BackgroundWork& background_;
    AuthoringState authoring_;
    // The photograph as the player loaded it, whatever zoom came after: what
    // a search looks at and what every proposal starts again from.
    struct {
        QImage picture;
        int kind = 0;
        QSize drawSize;
    } unproposed_;
    FaceSearch lastSearch_;
    int shownFace_ = -1;                  // the face of lastSearch_ shown, if any
    std::map<int, FaceEdits> leftFaces_;  // the faces of lastSearch_ the player left
    PartFinder finder_;
    PhotoLoading photoLoading_;
};
