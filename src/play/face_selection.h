// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The face selection screen, the hub of the game: the thumbnail grid of the
// catalogue, and the title sequence that shows over it for five ticks of
// Timer1 when the program starts. A click on a thumbnail is the window's to
// dispatch (a game, or the choice of a face to delete).
#include "play/thumbnail_loader.h"

#include <QString>
#include <map>

struct Board;
struct CatalogueMirror;
class UserDialogs;

class FaceSelection {
public:
    FaceSelection(Board& board, const QString& appDir, const CatalogueMirror& catalogue, UserDialogs& dialogs);

    // Lays out a thumbnail for every face of the catalogue and loads the
    // ones that show no picture yet (all of them at start-up), each at the
    // size it is drawn at. A picture that cannot be read leaves its thumbnail
    // empty; the first such failure is reported once and the others are
    // still loaded.
    void BuildThumbnailGrid();
    // The same, with the pictures decoded behind the window on all cores:
    // each thumbnail shows its picture as soon as it is ready (start-up, under
    // the title). finishThumbnails() waits for the rest and reports.
    void startThumbnailGrid();
    void finishThumbnails();
    // Only the places: every thumbnail in its cell of the grid, shown.
    void layOutThumbnails();
    bool thumbnailsLoading() const { return loader_.running(); }
    // After face left the catalogue: the later faces moved down one number,
    // and so do their thumbnails' pictures (the controls stay where they are).
    void facesMovedDown(int face);

    // ---- The title ----
    // title.bmp and logo.bmp beside the game; without them the title simply
    // shows the thumbnails.
    void loadTitlePictures();
    // The title pictures over the thumbnails; Timer1 ends it.
    void beginTitle();
    bool titleShowing() const { return titleShowing_; }
    // One tick of Timer1 while the title shows; true on the tick that ends
    // it (the saved faces are listed and the menus offered; the caller then
    // starts the music).
    bool titleTick();

private:
    void showLoaded(LoadedThumbnail&& loaded);
    // The title and the logo above everything else in the grid.
    void keepTitleOnTop();

    Board& board_;
    const QString appDir_;
    const CatalogueMirror& catalogue_;
    UserDialogs& dialogs_;
    bool titleShowing_ = false;
    int titleTicks_ = 0;
    ThumbnailLoader loader_;
    std::map<int, QString> failures_;  // of the load running, by face
    int awaited_ = 0;                  // pictures of it not handed over yet
};
