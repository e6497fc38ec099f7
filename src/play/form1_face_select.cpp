// The face selection screen: the thumbnail grid and the start of a game.
#include "main/form1.h"

#include "catalogue/catalogue_files.h"
#include "files/app_error.h"
#include "board/caption_label.h"
#include "board/image_control.h"
#include "board/scroll_box.h"
#include "play/palette.h"

#include <QAction>
#include <QPushButton>
#include <QTabWidget>
#include <optional>

void TForm1::BuildThumbnailGrid() {
    // Every thumbnail is laid out and loaded even when one picture fails; the
    // first failure is reported once, that thumbnail stays empty, and the
    // caller goes on.
    std::optional<QString> firstError;
    for (int i = 0; i < catalogue.faceCount; ++i) {
        ImageControl* thumb = Thumbnails[i];
        thumb->setParent(ScrollBox1->content());
        thumb->resize(Image1->size());
        thumb->setAutoSize(false);
        thumb->setStretch(true);
        thumb->setProportional(true);
        thumb->move(thumbnailCell(i, Image1->pos(), Image1->size()));
        thumb->setTag(i);
        thumb->onClick = [this](ImageControl* sender) { ImgFace0Click(sender); };
        thumb->show();
        try {
            thumb->setPicture(readFacePicture(AppDir, i, 0));
        } catch (const AppError& e) {
            thumb->clearPicture();
            if (!firstError) firstError = e.message();
        }
    }
    ScrollBox1->updateRange();
    if (firstError) services.dialogs->showError(*firstError);
}

void TForm1::startGame(ImageControl* thumbnail) {
    const int face = thumbnail->tag();
    const int count = catalogue.faceCount;

    // Every picture is decoded before the screen changes, so a missing or
    // damaged one leaves the face selection as it was.
    std::array<std::vector<QImage>, 5> parts;
    for (int s = 1; s <= 4; ++s) parts[s].resize(count);
    for (int i = 0; i < count; ++i)
        for (int s = 1; s <= 4; ++s) parts[s][i] = readFacePicture(AppDir, i, s);
    const QImage board = readFacePicture(AppDir, face, 5);

    play.currentFace = face;
    ScrollBox1->hide();
    for (int s = 1; s <= 4; ++s) {
        const int side = paletteSquareSide(parts[s][face].size());
        for (int i = 0; i < count; ++i) {
            PartImages[s][i]->resize(side, side);
            PartImages[s][i]->setPicture(parts[s][i]);
        }
    }
    ImgFace1->setAutoSize(true);
    ImgFace1->setStretch(false);
    ImgFace1->setProportional(false);
    ImgFace1->move(8, 120);
    ImgFace1->setPicture(board);
    ImgFace1->show();
    PageControl1->setCurrentWidget(TabSheetRMe);
    PageControl1->show();
    services.random->seedFromClock();
    for (int s = 1; s <= 4; ++s) ShufflePalette(PartImages[s]);
    recordHomePositions();
    BitBtnHantei->setText(Texts::Hantei);
    BitBtnHantei->setEnabled(false);
    BitBtnHantei->show();
    BitBtnCancel->show();
    BitBtnCancel->setEnabled(true);
    Label1->setFontPoints(14);
    Label1->setCaption(Texts::PlacingPrompt);
    play.blindGame = Blind1->isChecked();
    if (play.blindGame) startLook();
}
