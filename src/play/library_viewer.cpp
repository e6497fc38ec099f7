// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/library_viewer.h"

#include "board/board.h"
#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/command_button.h"
#include "board/image_control.h"
#include "board/scroll_box.h"
#include "board/ui_fonts.h"
#include "catalogue/library.h"
#include "pictures/picture_file.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>

namespace {

const QString kViewerPrompt = QStringLiteral(
    "見たい顔の名前をクリックしてください。\r「キャンセル」ボタンを押すと顔の選択画面に戻ります。");

// Below the list, in the viewer's green.
QPushButton* makeViewerButton(QWidget* parent, const char* name, const QRect& geometry, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setFont(uiFontPixels(16, true));
    QPalette palette = button->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::ButtonText, QColor(0, 128, 0));
    button->setPalette(palette);
    button->setFocusPolicy(Qt::StrongFocus);
    button->hide();
    return button;
}

}  // namespace

LibraryViewer::LibraryViewer(Board& board, const QString& appDir, MakeCard makeCard)
    : board_(board), appDir_(appDir), makeCard_(std::move(makeCard)) {
    BitBtnNengazyo = makeViewerButton(board_.ClientArea, "BitBtnNengazyo", {416, 460, 105, 33}, QStringLiteral("年賀状"));
    BitBtnKopi = makeViewerButton(board_.ClientArea, "BitBtnKopi", {528, 460, 105, 33}, QStringLiteral("コピー"));
    CopyShortcut = new QShortcut(QKeySequence::Copy, board_.ClientArea);
    CopyShortcut->setObjectName(QStringLiteral("CopyShortcut"));
    CopyShortcut->setEnabled(false);
}

void LibraryViewer::R1Click() {
    board_.F1->setEnabled(false);
    board_.R1->setEnabled(false);
    board_.ScrollBox1->hide();
    ImageControl* face = board_.ImgFace1;
    face->clearPicture();
    face->setAutoSize(true);
    face->setStretch(false);
    face->setProportional(false);
    face->move(8, 120);
    face->show();
    board_.ListBox1->show();
    board_.Label1->setCaption(kViewerPrompt);
    board_.BitBtnCancel->setText(Texts::Cancel);
    board_.BitBtnCancel->show();
    board_.BitBtnCancel->setEnabled(true);
    BitBtnNengazyo->show();
    BitBtnKopi->show();
    offerChosenFace(false);
}

void LibraryViewer::ListBox1Click() {
    const QString name = chosenName();
    if (name.isNull()) return;
    // Offered even when the file cannot be read: the card window then tells why.
    offerChosenFace(true);
    // Decoded first: a face that cannot be read leaves the one shown.
    const QImage picture = loadPictureFile(savedFacePath(appDir_, name), kLibraryPictureMaxPixels);
    board_.ImgFace1->setAutoSize(true);
    board_.ImgFace1->move(8, 120);
    board_.ImgFace1->setPicture(picture);
}

void LibraryViewer::close() {
    board_.ListBox1->hide();
    board_.ImgFace1->hide();
    BitBtnNengazyo->hide();
    BitBtnKopi->hide();
    offerChosenFace(false);
    board_.showFaceSelection();
}

void LibraryViewer::BitBtnNengazyoClick() {
    const QString name = chosenName();
    if (name.isNull()) return;
    QStringList names;
    for (int i = 0; i < board_.ListBox1->count(); ++i) names << board_.ListBox1->item(i)->text();
    makeCard_(names, name);
}

void LibraryViewer::BitBtnKopiClick() {
    const QString name = chosenName();
    if (name.isNull() || !BitBtnKopi->isEnabled()) return;
    QGuiApplication::clipboard()->setImage(loadPictureFile(savedFacePath(appDir_, name), kLibraryPictureMaxPixels));
}

void LibraryViewer::offerChosenFace(bool offered) {
    BitBtnNengazyo->setEnabled(offered);
    BitBtnKopi->setEnabled(offered);
    CopyShortcut->setEnabled(offered);
}

QString LibraryViewer::chosenName() const {
    const QList<QListWidgetItem*> selected = board_.ListBox1->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}
