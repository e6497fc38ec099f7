// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/face_selection.h"

#include "board/board.h"
#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/image_control.h"
#include "board/scroll_box.h"
#include "catalogue/catalogue_files.h"
#include "catalogue/catalogue_mirror.h"
#include "desktop/user_dialogs.h"
#include "files/app_error.h"
#include "files/app_paths.h"
#include "pictures/picture_file.h"
#include "play/library.h"
#include "play/palette.h"

#include <QAction>
#include <QFileInfo>
#include <QListWidget>
#include <QTimer>
#include <algorithm>

FaceSelection::FaceSelection(Board& board, const QString& appDir, const CatalogueMirror& catalogue,
                             UserDialogs& dialogs)
    : board_(board), appDir_(appDir), catalogue_(catalogue), dialogs_(dialogs) {}

void FaceSelection::BuildThumbnailGrid() {
    startThumbnailGrid();
    finishThumbnails();
}

void FaceSelection::startThumbnailGrid() {
    finishThumbnails();
    layOutThumbnails();
    std::vector<int> missing;
    for (int i = 0; i < catalogue_.faceCount; ++i)
        if (board_.Thumbnails[i]->picture().isNull()) missing.push_back(i);
    failures_.clear();
    awaited_ = int(missing.size());
    loader_.start(appDir_, std::move(missing), board_.Image1->size(),
                  [this](LoadedThumbnail&& loaded) { showLoaded(std::move(loaded)); });
}

void FaceSelection::layOutThumbnails() {
    // Shown together with the box's content: each thumbnail shown on its own
    // in a window on screen costs as much as all of them shown at once.
    QWidget* content = board_.ScrollBox1->content();
    const bool contentHidden = content->isHidden();
    content->hide();
    for (int i = 0; i < catalogue_.faceCount; ++i) {
        ImageControl* thumb = board_.Thumbnails[i];
        if (thumb->parentWidget() != content) thumb->setParent(content);
        thumb->resize(board_.Image1->size());
        thumb->setAutoSize(false);
        thumb->setStretch(true);
        thumb->setProportional(true);
        thumb->move(thumbnailCell(i, board_.Image1->pos(), board_.Image1->size()));
        thumb->setTag(i);
        thumb->show();
    }
    // Thumbnails made during the title would lie over it.
    if (titleShowing_) keepTitleOnTop();
    if (!contentHidden) content->show();
}

void FaceSelection::keepTitleOnTop() {
    board_.ImgTitle->raise();
    board_.ImgRogo->raise();
}

void FaceSelection::showLoaded(LoadedThumbnail&& loaded) {
    if (loaded.face >= int(board_.Thumbnails.size())) return;
    ImageControl* thumb = board_.Thumbnails[loaded.face];
    if (loaded.error.isEmpty()) {
        thumb->setFittedPicture(loaded.picture, loaded.sourceSize);
    } else {
        thumb->clearPicture();
        failures_.emplace(loaded.face, loaded.error);
    }
    // The last one in: the grid is complete, and a failure is told now.
    if (--awaited_ == 0) finishThumbnails();
}

void FaceSelection::finishThumbnails() {
    if (!loader_.running()) return;
    loader_.finish();
    // The first face that failed, as when the pictures were read in order.
    if (!failures_.empty()) {
        const QString first = failures_.begin()->second;
        failures_.clear();
        dialogs_.showError(first);
    }
}

void FaceSelection::facesMovedDown(int face) {
    const int count = std::min<int>(catalogue_.faceCount, int(board_.Thumbnails.size()) - 1);
    for (int i = face; i < count; ++i) {
        const ImageControl* next = board_.Thumbnails[i + 1];
        board_.Thumbnails[i]->setFittedPicture(next->picture(), next->sourceSize());
    }
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
    board_.ImgTitle->setParent(board_.ScrollBox1->content());
    board_.ImgTitle->move(60, 50);
    board_.ImgTitle->show();
    board_.ImgRogo->setParent(board_.ScrollBox1->content());
    board_.ImgRogo->move(250, 300);
    board_.ImgRogo->show();
    keepTitleOnTop();
    titleShowing_ = true;
    board_.Label1->setFontPoints(14);
    board_.Label1->setCaption(Texts::ChooseFace);
}

bool FaceSelection::titleTick() {
    ++titleTicks_;
    if (titleTicks_ <= 4) return false;
    // The face selection is complete when the title ends.
    finishThumbnails();
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
