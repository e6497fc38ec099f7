// SPDX-License-Identifier: GPL-3.0-or-later
// Saving the judged face into the library under a name the player types.
#include "play/game_screen.h"

#include "board/board.h"
#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/command_button.h"
#include "board/image_control.h"
#include "catalogue/library.h"
#include "desktop/user_dialogs.h"
#include "files/file_reading.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

namespace {

const QString kNamePrompt = QStringLiteral("この顔の名前を入力して「保存」ボタンを押してください。");
const QString kSavedPrompt = QStringLiteral("「再開」ボタンを押すとゲームを再開します。");

bool listed(const QListWidget* list, const QString& name) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == name) return true;
    return false;
}

}  // namespace

void GameScreen::askForSaveName() {
    board_.Edit1->clear();
    board_.Edit1->show();
    board_.Edit1->setFocus();
    board_.Label1->setCaption(kNamePrompt);
    board_.BitBtnCancel->setEnabled(false);
}

void GameScreen::Edit1Change() { board_.BitBtnCancel->setEnabled(!board_.Edit1->text().isEmpty()); }

void GameScreen::saveFinishedFace() {
    const QString name = board_.Edit1->text();
    if (name.isEmpty()) return;
    const QString path = librarySavePath(appDir_, name);
    if (probePath(path) != PathKind::Absent && !dialogs_.confirm(kLibraryOverwriteQuestion)) {
        board_.Edit1->clear();
        board_.Edit1->setFocus();
        return;
    }
    saveLibraryPicture(path, composeBoardPicture());

    // The entry names the file as written: an overwrite found without regard
    // to case, or of a face listed already, adds no second entry.
    const QString written = QFileInfo(path).fileName().chopped(4);
    if (!listed(board_.ListBox1, written)) board_.ListBox1->addItem(written);
    board_.libraryHasFaces = true;
    board_.BitBtnCancel->setText(Texts::Cancel);
    board_.BitBtnCancel->hide();
    board_.Edit1->hide();
    board_.Label1->setCaption(kSavedPrompt);
}

QImage GameScreen::composeBoardPicture() const {
    // The face as the player sees it: the board picture with every part lying
    // on it, in drawing order, clipped to the face. Drawn off screen, so
    // nothing that happens to cover the window ends up in the file.
    std::vector<PlacedPart> parts;
    for (QObject* child : board_.ClientArea->children()) {
        auto* part = qobject_cast<ImageControl*>(child);
        const auto isFacePart = std::find(board_.FaceParts.begin() + 1, board_.FaceParts.end(), part);
        if (!part || isFacePart == board_.FaceParts.end() || part->isHidden()) continue;
        parts.push_back(PlacedPart{part->picture(), part->pos() - board_.ImgFace1->pos(), part->width()});
    }
    return composeSavedFace(board_.ImgFace1->picture(), parts);
}
