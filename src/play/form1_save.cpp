// Saving a finished face into the library, and the play side's cancel.
#include "main/form1.h"

#include "board/caption_label.h"
#include "board/image_control.h"
#include "board/scroll_box.h"
#include "play/library.h"
#include "files/file_reading.h"

#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

namespace {

const QString kNamePrompt = QStringLiteral("この顔の名前を入力して「保存」ボタンを押してください。");
const QString kOverwriteQuestion = QStringLiteral("別の顔が同じ名前で保存されています。\r上書きしますか？");
const QString kSavedPrompt = QStringLiteral("「再開」ボタンを押すとゲームを再開します。");

bool listed(const QListWidget* list, const QString& name) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == name) return true;
    return false;
}

}  // namespace

void TForm1::askForSaveName() {
    Edit1->clear();
    Edit1->show();
    Edit1->setFocus();
    Label1->setCaption(kNamePrompt);
    BitBtnCancel->setEnabled(false);
}

void TForm1::Edit1Change() { BitBtnCancel->setEnabled(!Edit1->text().isEmpty()); }

void TForm1::saveFinishedFace() {
    const QString name = Edit1->text();
    if (name.isEmpty()) return;
    const QString path = librarySavePath(AppDir, name);
    if (probePath(path) != PathKind::Absent && !services.dialogs->confirm(kOverwriteQuestion)) {
        Edit1->clear();
        Edit1->setFocus();
        return;
    }
    saveLibraryPicture(path, composeBoardPicture());

    // The entry names the file as written: an overwrite found without regard
    // to case, or of a face listed already, adds no second entry.
    const QString written = QFileInfo(path).fileName().chopped(4);
    if (!listed(ListBox1, written)) ListBox1->addItem(written);
    play.libraryHasFaces = true;
    BitBtnCancel->setText(Texts::Cancel);
    BitBtnCancel->hide();
    Edit1->hide();
    Label1->setCaption(kSavedPrompt);
}

QImage TForm1::composeBoardPicture() const {
    // The face as the player sees it: the board picture with every part lying
    // on it, in drawing order, clipped to the face. Drawn off screen, so
    // nothing that happens to cover the window ends up in the file.
    std::vector<PlacedPart> parts;
    for (QObject* child : ClientArea->children()) {
        auto* part = qobject_cast<ImageControl*>(child);
        if (!isPartImage(part) || part->isHidden()) continue;
        parts.push_back(PlacedPart{part->picture(), part->pos() - ImgFace1->pos(), part->width()});
    }
    return composeSavedFace(ImgFace1->picture(), parts);
}

void TForm1::playSideCancel() {
    endBlindfold();
    returnPartsToPalettes();
    play.placedFace.fill(-1);
    PageControl1->hide();
    ImgFace1->hide();
    BitBtnHantei->hide();
    ListBox1->hide();
    ScrollBox1->scrollToTop();
    ScrollBox1->show();
    F1->setEnabled(true);
    if (play.libraryHasFaces) R1->setEnabled(true);
    Label1->setFontPoints(14);
    Label1->setCaption(Texts::ChooseFace);
}
