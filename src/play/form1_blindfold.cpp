// The blindfolded game and the personal best: the choices of the game menu,
// the look at the face, the cloth over it while the parts are placed, the
// reveal before the judgement, and the best score kept per face.
#include "main/form1.h"

#include "catalogue/catalogue_files.h"
#include "files/app_error.h"
#include "board/caption_label.h"
#include "board/image_control.h"
#include "board/ui_fonts.h"
#include "play/cloth.h"
#include "play/personal_best.h"
#include "play/play_settings.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

void TForm1::loadPlayChoices() {
    const PlaySettings settings = readPlaySettings(AppDir);
    Blind1->setChecked(settings.blindfold);
    Best1->setChecked(settings.best);
}

void TForm1::savePlayChoices() {
    // Written only here, when a choice changes: a player who never touches
    // the menu gets no file. A failed write keeps the choice for this run.
    writePlaySettings(AppDir, PlaySettings{Blind1->isChecked(), Best1->isChecked()});
}

void TForm1::Blind1Click() {
    guarded([&] {
        Blind1->setChecked(!Blind1->isChecked());
        savePlayChoices();
    });
}

void TForm1::Best1Click() {
    guarded([&] {
        Best1->setChecked(!Best1->isChecked());
        savePlayChoices();
    });
}

QString TForm1::placingPrompt() const {
    return play.blindfold.covering() ? blindPlacingPrompt() : Texts::PlacingPrompt;
}

void TForm1::startLook() {
    play.blindfold.startLook();
    play.cloth = drawCloth(ImgFace1->size(), uiFontPixels(24, true));
    Label1->setFontPoints(14);
    Label1->setCaption(lookPrompt(play.blindfold.secondsLeft()));
    BlindTimer->start(play.blindfold.tickInterval());
}

void TForm1::BlindTimerTimer() {
    guarded([&] {
        switch (play.blindfold.tick()) {
        case BlindStep::CountDown:
            Label1->setCaption(lookPrompt(play.blindfold.secondsLeft()));
            break;
        case BlindStep::Cover:
            coverFace();
            break;
        case BlindStep::Lift:
            showCloth(play.blindfold.liftedPixels(play.cloth.height()));
            break;
        case BlindStep::Uncovered:
            endBlindfold();
            BitBtnHantei->setEnabled(true);
            judgeFace();
            break;
        case BlindStep::Nothing:
            break;
        }
    });
}

void TForm1::coverFace() {
    BlindTimer->stop();
    showCloth(0);
    Label1->setFontPoints(14);
    Label1->setCaption(blindPlacingPrompt());
}

void TForm1::showCloth(int lifted) {
    // The cloth slides up out of the face's rectangle: what is left of it is
    // its lower part, at the top of the rectangle.
    const int height = play.cloth.height() - lifted;
    if (height <= 0) {
        ImgMekakushi->hide();
        return;
    }
    ImgMekakushi->setPicture(lifted == 0 ? play.cloth : play.cloth.copy(0, lifted, play.cloth.width(), height));
    ImgMekakushi->move(ImgFace1->pos());
    // Above the face and every part on it, below the palettes and buttons.
    ImgMekakushi->stackUnder(PageControl1);
    ImgMekakushi->show();
}

void TForm1::startReveal() {
    if (!play.blindfold.startReveal()) return;
    BitBtnHantei->setEnabled(false);
    // The parts come out from under the cloth as it rises.
    for (int s = 1; s <= 4; ++s)
        for (ImageControl* part : PartImages[s])
            if (liesOnFace(part)) part->show();
    showCloth(0);
    BlindTimer->start(play.blindfold.tickInterval());
}

void TForm1::endBlindfold() {
    BlindTimer->stop();
    play.blindfold.stop();
    ImgMekakushi->hide();
    ImgMekakushi->clearPicture();
    for (int s = 1; s <= 4; ++s)
        for (ImageControl* part : PartImages[s])
            if (liesOnFace(part)) part->show();
}

void TForm1::showPersonalBest(std::int64_t total) {
    QFile picture(facePicturePath(AppDir, play.currentFace, 0));
    if (!picture.open(QIODevice::ReadOnly)) throwFileOpenError(picture.fileName());
    const BestRecord record = recordBest(AppDir, faceIdentity(picture.readAll()), play.blindGame, total);
    const QString caption = bestCaption(record);
    LblBest->setCaption(caption);
    LblBest->setVisible(!caption.isEmpty());
    // The game goes on; only the record could not be kept.
    if (!record.writeError.isEmpty()) services.dialogs->showError(record.writeError);
}
