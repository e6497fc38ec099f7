// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/library_viewer.h"

#include "board/board.h"
#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/image_control.h"
#include "board/scroll_box.h"
#include "pictures/picture_file.h"
#include "play/library.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>

namespace {

const QString kViewerPrompt = QStringLiteral(
    "見たい顔の名前をクリックしてください。\r「キャンセル」ボタンを押すと顔の選択画面に戻ります。");

// Library/<name>.jpg as listed; the listing takes the extension in any case.
QString savedFacePath(const QString& folder, const QString& name) {
    const QString fileName = name + QStringLiteral(".jpg");
    const QString exact = folder + QLatin1Char('/') + fileName;
    if (QFileInfo::exists(exact)) return exact;
    for (const QString& entry : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (entry.size() == fileName.size() && entry.startsWith(name) &&
            entry.compare(fileName, Qt::CaseInsensitive) == 0)
            return folder + QLatin1Char('/') + entry;
    return exact;
}

}  // namespace

LibraryViewer::LibraryViewer(Board& board, const QString& appDir) : board_(board), appDir_(appDir) {}

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
}

void LibraryViewer::ListBox1Click() {
    const QList<QListWidgetItem*> selected = board_.ListBox1->selectedItems();
    if (selected.isEmpty()) return;
    // Decoded first: a face that cannot be read leaves the one shown.
    const QImage picture =
        loadPictureFile(savedFacePath(libraryFolder(appDir_), selected.first()->text()), kLibraryPictureMaxPixels);
    board_.ImgFace1->setAutoSize(true);
    board_.ImgFace1->move(8, 120);
    board_.ImgFace1->setPicture(picture);
}

void LibraryViewer::close() {
    board_.ListBox1->hide();
    board_.ImgFace1->hide();
    board_.showFaceSelection();
}
