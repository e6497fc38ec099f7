#pragma once
// The face selection screen, the hub of the game: the thumbnail grid of the
// catalogue, and the title sequence that shows over it for five ticks of
// Timer1 when the program starts. A click on a thumbnail is the window's to
// dispatch (a game, or the choice of a face to delete).
#include <QString>

struct Board;
struct CatalogueMirror;
class UserDialogs;

class FaceSelection {
public:
    FaceSelection(Board& board, const QString& appDir, const CatalogueMirror& catalogue, UserDialogs& dialogs);

    // Lays out and loads a thumbnail for every face of the catalogue. A
    // picture that cannot be read leaves its thumbnail empty; the first such
    // failure is reported once and the others are still loaded.
    void BuildThumbnailGrid();

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
    Board& board_;
    const QString appDir_;
    const CatalogueMirror& catalogue_;
    UserDialogs& dialogs_;
    bool titleShowing_ = false;
    int titleTicks_ = 0;
};
