// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The face selection screen, the hub of the game: the thumbnail grid of the
// catalogue, and the title sequence that shows over it for five ticks of
// Timer1 when the program starts. A click on a thumbnail is the window's to
// dispatch (a game, or the choice of a face to delete).
#include <QString>
#include <map>
#include <vector>

struct Board;
struct CatalogueMirror;
struct CellPicture;
struct PictureKey;
class UserDialogs;
class VisiblePictures;

class FaceSelection {
public:
    // The thumbnails' pictures come from pictures (a client of its own there).
    FaceSelection(Board& board, const QString& appDir, const CatalogueMirror& catalogue, UserDialogs& dialogs,
                  VisiblePictures& pictures);

    // Lays out a cell for every face of the catalogue and has the pictures
    // of the cells on screen and near it decoded, each at the size it is
    // drawn at, waiting for them. A picture that cannot be read leaves its
    // cell empty; the first such failure is reported once.
    void BuildThumbnailGrid();
    // The same without waiting: the pictures are decoded behind the window
    // and each cell shows its picture as soon as it is ready (start-up, under
    // the title). finishThumbnails() waits for them and reports.
    void startThumbnailGrid();
    void finishThumbnails();
    // Only the places: every face's cell in the grid.
    void layOutThumbnails();
    bool thumbnailsLoading() const;
    // After face left the catalogue: the later faces moved down one number,
    // and so do their pictures.
    void facesMovedDown(int face);
    // The picture a face's cell shows, null while it is not decoded (or no
    // longer kept).
    const CellPicture* thumbnail(int face);
    // The face's cell is shown or hidden (the blink of a face to delete).
    void showThumbnail(int face, bool shown);
    bool thumbnailShown(int face) const;

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
    PictureKey keyOf(int face) const;
    // The cells on screen and a screen above and below it.
    void wantShownPictures();
    void pictureArrived(const PictureKey& key, const CellPicture& picture);
    void reportFailures();

    Board& board_;
    const QString appDir_;
    const CatalogueMirror& catalogue_;
    UserDialogs& dialogs_;
    VisiblePictures& pictures_;
    bool titleShowing_ = false;
    int titleTicks_ = 0;
    // Failures not told yet, by face; told when the grid is finished, and
    // at once after the title.
    std::map<int, QString> failures_;
    bool holdFailures_ = true;
};
