// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Deleting a face: choosing it on the face selection screen (its thumbnail
// blinks on Timer1), confirming "削除", and taking it out of the catalogue
// on disk and in memory. The catalogue never goes below three faces.
#include <QString>
#include <QTimer>
#include <functional>

class BackgroundWork;
struct Board;
struct CatalogueMirror;
class UserDialogs;

class FaceDeleting {
public:
    FaceDeleting(Board& board, const QString& appDir, CatalogueMirror& catalogue, UserDialogs& dialogs,
                 BackgroundWork& background);

    // Whether the screen is choosing a face to delete.
    bool active() const { return deletingFace_; }
    // The face clicked last in this mode.
    int chosenFace() const { return chosenFace_; }

    // Runs once face has left the catalogue (the count and answers already
    // shrunk), while the mode is still open.
    std::function<void(int face)> onFaceDeleted;

    // "顔の削除": opens the mode, or says that no more faces may go.
    void D1Click();
    void chooseFaceToDelete(int face);
    // One tick of Timer1: the chosen thumbnail shows or hides.
    void blinkChosenThumbnail();
    // "削除": asks, deletes, and goes back to the face selection whatever
    // the answer; a deletion that fails is reported and changes nothing. The
    // files are changed on the background thread; the window follows, and
    // the mode ends, once they are (background.finish() waits for it).
    void deleteChosenFace();
    void cancel();
    // Runs a second into a deletion that is still being written: the player
    // is told the game is at work (the cursor is busy already).
    QTimer& slowDeletionTimer() { return slowDeletion_; }
    void tellDeletionIsSlow();

private:
    void end();

    Board& board_;
    const QString appDir_;
    CatalogueMirror& catalogue_;
    UserDialogs& dialogs_;
    BackgroundWork& background_;
    bool deletingFace_ = false;
    bool faceChosen_ = false;  // a thumbnail was clicked in this mode
    int chosenFace_ = 0;
    QTimer slowDeletion_;
};
