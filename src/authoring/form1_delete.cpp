// Deleting a face: choosing it on the face selection screen (it blinks),
// confirming, and taking it out of the catalogue on disk and in memory.
#include "main/form1.h"

#include "authoring/form1_authoring_look.h"
#include "catalogue/catalogue_files.h"
#include "files/app_error.h"
#include "board/caption_label.h"
#include "board/image_control.h"

#include <QAction>
#include <QPushButton>
#include <QTimer>

namespace {

// The program's own operations never take the catalogue below three faces.
constexpr int kFewestFaces = 3;

}  // namespace

void TForm1::D1Click() {
    guarded([&] {
        // At three faces or fewer (a catalogue edited by hand) nothing more goes.
        if (catalogue.faceCount <= kFewestFaces) {
            services.dialogs->notice(AuthoringTexts::CannotDeleteMore);
            return;
        }
        Label1->setFontPoints(12);
        Label1->setCaption(AuthoringTexts::ChooseFaceToDelete);
        authoring.deletingFace = true;
        authoring.faceChosenForDeletion = false;
        BitBtnToroku->setText(Texts::Sakujo);
        BitBtnToroku->setEnabled(false);
        BitBtnToroku->show();
        BitBtnCancel->show();
        BitBtnCancel->setEnabled(true);
        F1->setEnabled(false);
        R1->setEnabled(false);
    });
}

void TForm1::chooseFaceToDelete(ImageControl* thumbnail) {
    F1->setEnabled(false);
    R1->setEnabled(false);
    // The face already chosen, clicked again while shown: the blink keeps its beat.
    if (authoring.faceChosenForDeletion && thumbnail->tag() == play.currentFace) return;
    const int previous = play.currentFace;
    if (authoring.faceChosenForDeletion && previous >= 0 && previous < int(Thumbnails.size()))
        Thumbnails[previous]->show();
    play.currentFace = thumbnail->tag();
    authoring.faceChosenForDeletion = true;
    Timer1->start();
    BitBtnToroku->setEnabled(true);
}

void TForm1::blinkChosenThumbnail() {
    const int face = play.currentFace;
    if (face < 0 || face >= int(Thumbnails.size())) return;
    ImageControl* thumbnail = Thumbnails[face];
    thumbnail->setVisible(!thumbnail->isVisible());
}

void TForm1::deleteChosenFace() {
    const int d = play.currentFace;
    const int count = catalogue.faceCount;
    if (authoring.faceChosenForDeletion && d >= 0 && d < count &&
        services.dialogs->confirm(AuthoringTexts::ConfirmDelete)) {
        std::vector<FaceAnswer> answersAfter = catalogue.faceAnswers;
        answersAfter.erase(answersAfter.begin() + d);
        try {
            // The disk changes first and all at once; memory follows only a
            // catalogue that really changed.
            deleteFaceFiles(AppDir, d, count, answersAfter);
            removeFaceFromMemory(d);
        } catch (const AppError& e) {
            services.dialogs->showError(e.message());
        }
    }
    endDeleting();
}

void TForm1::removeFaceFromMemory(int face) {
    catalogue.faceCount -= 1;
    catalogue.faceAnswers.erase(catalogue.faceAnswers.begin() + face);
    releaseFaceControls(catalogue.faceCount);
    for (int s = 1; s <= 4; ++s) {
        play.homeLeft[s].resize(catalogue.faceCount);
        play.homeTop[s].resize(catalogue.faceCount);
    }
    BuildThumbnailGrid();
    for (int s = 1; s <= 4; ++s) SetUpPalette(PartImages[s], paletteBox(s));
}

// The way back to the face selection after "削除", answered either way.
void TForm1::endDeleting() {
    Timer1->stop();
    if (play.currentFace >= 0 && play.currentFace < catalogue.faceCount)
        Thumbnails[play.currentFace]->show();
    F1->setEnabled(true);
    if (play.libraryHasFaces) R1->setEnabled(true);
    BitBtnCancel->hide();
    authoring.deletingFace = false;
    authoring.faceChosenForDeletion = false;
    Label1->setFontPoints(14);
    Label1->setCaption(Texts::ChooseFace);
    BitBtnToroku->hide();
}

// "キャンセル" leaves the mode the same way as an answered "削除".
void TForm1::cancelDeleting() { endDeleting(); }
