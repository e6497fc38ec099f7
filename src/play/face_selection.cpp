// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/face_selection.h"

#include "board/board.h"
#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/image_control.h"
#include "board/painted_cells.h"
#include "board/scroll_box.h"
#include "catalogue/catalogue_files.h"
#include "catalogue/catalogue_mirror.h"
#include "catalogue/library.h"
#include "desktop/user_dialogs.h"
#include "files/app_error.h"
#include "files/app_paths.h"
#include "pictures/picture_file.h"
#include "play/visible_pictures.h"

#include <QAction>
#include <QFileInfo>
#include <QListWidget>
#include <QTimer>

namespace {

constexpr int kThumbnailClient = 0;

}  // namespace

FaceSelection::FaceSelection(Board& board, const QString& appDir, const CatalogueMirror& catalogue,
                             UserDialogs& dialogs, VisiblePictures& pictures)
    : board_(board), appDir_(appDir), catalogue_(catalogue), dialogs_(dialogs), pictures_(pictures) {
    PaintedCells* grid = board_.ThumbnailGrid;
    grid->pictureOf = [this](int face) { return pictures_.find(keyOf(face)); };
    grid->nameOf = [](int face) { return QStringLiteral("顔 %1").arg(face); };
    pictures_.setArrival(kThumbnailClient,
                         [this](const PictureKey& key, const CellPicture& picture) { pictureArrived(key, picture); });
    board_.ScrollBox1->onShownAreaChanged = [this] { wantShownPictures(); };
}

PictureKey FaceSelection::keyOf(int face) const { return PictureKey{face, 0, board_.Image1->size()}; }

void FaceSelection::BuildThumbnailGrid() {
    startThumbnailGrid();
    finishThumbnails();
}

void FaceSelection::startThumbnailGrid() {
    layOutThumbnails();
    wantShownPictures();
}

void FaceSelection::layOutThumbnails() {
    PaintedCells* grid = board_.ThumbnailGrid;
    grid->setGrid(thumbnailGrid(board_.Image1->pos(), board_.Image1->size()));
    grid->setItems(catalogue_.faceCount);
    grid->move(0, 0);
    grid->show();
}

void FaceSelection::wantShownPictures() {
    const QRect shown = board_.ScrollBox1->shownArea();
    // A screen ahead either way, so that scrolling finds them ready.
    const QRect near = shown.adjusted(0, -shown.height(), 0, shown.height());
    std::vector<PictureKey> keys;
    // Those on screen first; a key wanted twice is decoded once.
    for (const QRect& area : {shown, near})
        for (int face : board_.ThumbnailGrid->itemsMeeting(area)) keys.push_back(keyOf(face));
    pictures_.want(kThumbnailClient, keys);
}

void FaceSelection::pictureArrived(const PictureKey& key, const CellPicture& picture) {
    if (key.kind != 0 || key.box != board_.Image1->size()) return;
    board_.ThumbnailGrid->itemChanged(key.face);
    if (!picture.error.isEmpty() && key.face < catalogue_.faceCount) {
        failures_.emplace(key.face, picture.error);
        if (!holdFailures_) reportFailures();
    }
}

bool FaceSelection::thumbnailsLoading() const { return pictures_.loading(); }

void FaceSelection::finishThumbnails() {
    pictures_.finish();
    reportFailures();
}

void FaceSelection::reportFailures() {
    // The first face that failed, as when the pictures were read in order.
    if (failures_.empty()) return;
    const QString first = failures_.begin()->second;
    failures_.clear();
    dialogs_.showError(first);
}

void FaceSelection::facesMovedDown(int face) { pictures_.faceRemoved(face); }

const CellPicture* FaceSelection::thumbnail(int face) { return pictures_.find(keyOf(face)); }

void FaceSelection::showThumbnail(int face, bool shown) { board_.ThumbnailGrid->setItemHidden(face, !shown); }

bool FaceSelection::thumbnailShown(int face) const {
    return face >= 0 && face < board_.ThumbnailGrid->count() && !board_.ThumbnailGrid->itemHidden(face);
}

void FaceSelection::loadTitlePictures() {
    for (auto [control, name] : {std::pair{board_.ImgTitle, "title.bmp"}, std::pair{board_.ImgRogo, "logo.bmp"}}) {
        try {
            const QString path = resolveAppPath(appDir_, QString::fromLatin1(name));
            if (!QFileInfo::exists(path)) continue;
            control->setPicture(loadBitmapFile(path, kTitlePictureMaxPixels));
        } catch (const AppError&) {
        }
    }
}

void FaceSelection::beginTitle() {
    // Above the thumbnails for the whole title: the grid is one widget made
    // before them, and they are raised over it.
    board_.ImgTitle->setParent(board_.ScrollBox1->content());
    board_.ImgTitle->move(60, 50);
    board_.ImgTitle->show();
    board_.ImgRogo->setParent(board_.ScrollBox1->content());
    board_.ImgRogo->move(250, 300);
    board_.ImgRogo->show();
    board_.ImgTitle->raise();
    board_.ImgRogo->raise();
    titleShowing_ = true;
    board_.Label1->setFontPoints(14);
    board_.Label1->setCaption(Texts::ChooseFace);
}

bool FaceSelection::titleTick() {
    ++titleTicks_;
    if (titleTicks_ <= 4) return false;
    // The face selection is complete when the title ends.
    finishThumbnails();
    holdFailures_ = false;
    board_.Timer1->stop();
    titleShowing_ = false;
    board_.ImgTitle->hide();
    board_.ImgRogo->hide();
    board_.Label1->show();
    board_.F1->setEnabled(true);
    const LibraryListing listing = listLibrary(appDir_);
    board_.ListBox1->addItems(listing.names);
    if (listing.anyEntry) {
        board_.R1->setEnabled(true);
        board_.libraryHasFaces = true;
    }
    return true;
}
