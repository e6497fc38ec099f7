// SPDX-License-Identifier: GPL-3.0-or-later
// Faces from phones through the real window: a portrait stored sideways
// with an Exif orientation stands up and its face is found, what cannot be
// read is said with the screen left as it was, and a photograph dropped on the window or pasted opens 「顔の追加」
// where a photograph is welcome, and nowhere else.
#include "../detection/test_photos.h"
#include "authoring/authoring_look.h"
#include "board/caption_label.h"
#include "board/image_control.h"
#include "board/scroll_box.h"
#include "detection/face_model.h"
#include "form1_authoring_driver.h"
#include "support/phone_photos.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// A drag over the window and, when the window takes it, the drop, offered
// as a copy or a move as a file manager offers it (a move with Shift held);
// true when the drop was taken, which is always as a copy: the file manager
// never removes the photograph. The window's own widgets take no drops, so a
// drop anywhere on it reaches the window.
bool dropOn(TForm1& f, const QMimeData& data, Qt::DropAction proposed = Qt::CopyAction) {
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(QPoint(300, 300), offered, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setDropAction(proposed);
    QApplication::sendEvent(&f, &enter);
    if (!enter.isAccepted()) return false;
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    QDropEvent drop(QPointF(300, 300), offered, &data, Qt::LeftButton, Qt::NoModifier);
    drop.setDropAction(proposed);
    QApplication::sendEvent(&f, &drop);
    f.finishPendingWork();
    EXPECT_TRUE(!drop.isAccepted() || drop.dropAction() == Qt::CopyAction);
    return drop.isAccepted();
}

QMimeData* filesData(const QStringList& paths) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    urls << QUrl(QStringLiteral("https://example.invalid/cat.jpg"));
    data->setUrls(urls);
    return data;
}

QString writeBytes(const TempAppDir& dir, const QString& name, const QByteArray& bytes) {
    dir.writeBytes(name, bytes);
    return dir.file(name);
}

// The Grace Hopper portrait as a phone stores it: turned a quarter
// anticlockwise, with Exif orientation 6 to stand it up again.
QImage uprightPortrait() { return testPhoto("grace_hopper.jpg"); }
QImage sidewaysPortrait() { return uprightPortrait().transformed(QTransform().rotate(270)); }

}  // namespace

// The sideways portrait opens upright, and 「自動で囲む」 finds its face (as
// stored, no face would be found).
TEST(PhonePhotos, AnExifSixPortraitStandsUpAndItsFaceIsFound) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir, GameWindowOptions{false, {}, kFaceModelPath});
    TForm1& f = *w.form;
    const QImage upright = uprightPortrait();
    startAuthoring(w, writeBytes(dir, QStringLiteral("IMG_0042.JPG"), phoneJpeg(sidewaysPortrait(), 6)));

    const AuthoringState& a = f.faceAuthoring().state();
    ASSERT_EQ(a.sourcePicture.size(), upright.size()) << "upright: taller than wide";
    EXPECT_LT(shareDiffering(a.sourcePicture, upright), 0.02);
    EXPECT_EQ(QSize(a.drawWidth, a.drawHeight).height(), 300);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.BitBtnZido->isEnabled(); }, 60000)) << "the face model (libdlib-data)";
    w.click(f.BitBtnZido);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.faceAuthoring().partFinder().searching(); }, 60000));
    f.finishPendingWork();
    for (int s = 1; s <= 4; ++s) EXPECT_TRUE(f.faceAuthoring().state().outlined[s]) << s;
    EXPECT_FALSE(shownTexts(f).join(QLatin1Char('\n')).contains(AuthoringTexts::FacesNotFound));
}

// A file that is no picture, and one of each kind cut short: a message that
// names it, and the face selection stays as it was.
TEST(PhonePhotos, WhatCannotBeReadIsSaidAndTheFaceSelectionStays) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir);
    TForm1& f = *w.form;
    const QImage picture = quarteredPicture(64, 48);
    const std::pair<const char*, QByteArray> files[] = {
        {"notes.heic", QByteArray("a shopping list, no picture")},
        {"cut.heic", heifPicture(picture, HeifCoding::Hevc)},
        {"cut.avif", heifPicture(picture, HeifCoding::Av1)},
        {"cut.png", qtWrittenPicture(picture, "png")},
        {"cut.webp", qtWrittenPicture(picture, "webp", 90)},
        {"cut.gif", gifPicture(picture)},
    };
    QStringList expected;
    for (const auto& [name, bytes] : files) {
        const bool whole = QByteArray(name).startsWith("notes");
        const QString path = writeBytes(dir, QLatin1String(name), whole ? bytes : bytes.left(bytes.size() / 2));
        startAuthoring(w, path);
        expected << QStringLiteral("ファイル %1 は写真として読めません。").arg(path);
        EXPECT_FALSE(f.faceAuthoring().adding()) << name;
        EXPECT_TRUE(f.ScrollBox1->isVisible()) << name;
        EXPECT_FALSE(f.ImgFace1->isVisible()) << name;
        EXPECT_TRUE(f.F1->isEnabled()) << name;
    }
    EXPECT_EQ(w.dialogs->errors, expected);
}

// Files dropped from a file manager: the first picture among them opens,
// from the face selection and from the saved-faces viewer (which it
// leaves); one dropped while a face is authored starts it afresh, and one
// that cannot be read leaves that authoring as it was.
TEST(PhotoDrop, DroppedFilesOpenTheFirstPictureAmongThem) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    dir.writeBytes(QStringLiteral("Library/saved.jpg"), phoneJpeg(quarteredPicture(40, 40), 0));
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    for (QWidget* below : {static_cast<QWidget*>(f.ImgFace1), static_cast<QWidget*>(f.ScrollBox1),
                           static_cast<QWidget*>(f.ListBox1), f.ClientArea})
        EXPECT_FALSE(below->acceptDrops()) << below->objectName().toStdString() << " would take the window's drops";
    const QString notes = writeBytes(dir, QStringLiteral("notes.txt"), "no picture");
    const QString heic = writeBytes(dir, QStringLiteral("a.heic"), heifPicture(quarteredPicture(64, 48), HeifCoding::Hevc, 6));
    const QString png = writeBytes(dir, QStringLiteral("b.png"), qtWrittenPicture(quarteredPicture(30, 20), "png"));

    std::unique_ptr<QMimeData> several(filesData({notes, heic, png}));
    ASSERT_TRUE(dropOn(f, *several, Qt::MoveAction));
    ASSERT_TRUE(f.faceAuthoring().adding());
    EXPECT_EQ(f.faceAuthoring().state().sourcePicture.size(), QSize(48, 64)) << "the HEIC, upright";

    // Dropped on the authoring screen: a picture that cannot be read leaves
    // it as it is; a good one starts afresh.
    outlinePart(w, 1, QRect(10, 10, 40, 40));
    std::unique_ptr<QMimeData> unreadable(filesData({notes}));
    ASSERT_TRUE(dropOn(f, *unreadable));
    EXPECT_EQ(w.dialogs->errors, QStringList{QStringLiteral("ファイル %1 は写真として読めません。").arg(notes)});
    EXPECT_TRUE(f.faceAuthoring().state().outlined[1]);
    std::unique_ptr<QMimeData> second(filesData({png}));
    ASSERT_TRUE(dropOn(f, *second));
    EXPECT_EQ(f.faceAuthoring().state().sourcePicture.size(), QSize(30, 20));
    EXPECT_FALSE(f.faceAuthoring().state().outlined[1]) << "a fresh authoring";
    EXPECT_FALSE(f.partPreview(1)->isVisible());
    w.click(f.BitBtnCancel);

    // From the saved-faces viewer, which goes.
    f.R1->trigger();
    ASSERT_TRUE(f.ListBox1->isVisible());
    ASSERT_TRUE(dropOn(f, *several));
    EXPECT_TRUE(f.faceAuthoring().adding());
    EXPECT_FALSE(f.ListBox1->isVisible());
    EXPECT_TRUE(f.BitBtnCancel->isVisible());
    w.click(f.BitBtnCancel);
    EXPECT_TRUE(f.ScrollBox1->isVisible());
    EXPECT_TRUE(f.R1->isEnabled());
}

// A picture's data dropped from a browser, a picture copied in another
// program and a copied picture file: Ctrl+V and 「貼り付け」 open them.
TEST(PhotoDrop, PictureDataDroppedOrPastedOpensLikeAFile) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    QClipboard* clipboard = QGuiApplication::clipboard();

    std::unique_ptr<QMimeData> browser(new QMimeData);
    browser->setData(QStringLiteral("text/html"), "<img src=x>");
    browser->setData(QStringLiteral("image/webp"), qtWrittenPicture(quarteredPicture(50, 40), "webp", 90));
    ASSERT_TRUE(dropOn(f, *browser));
    ASSERT_TRUE(f.faceAuthoring().adding());
    EXPECT_EQ(f.faceAuthoring().state().sourcePicture.size(), QSize(50, 40));
    w.click(f.BitBtnCancel);

    clipboard->setImage(quarteredPicture(70, 30));
    QTest::keyClick(f.ScrollBox1, Qt::Key_V, Qt::ControlModifier);
    f.finishPendingWork();
    ASSERT_TRUE(f.faceAuthoring().adding()) << "Ctrl+V";
    EXPECT_EQ(f.faceAuthoring().state().sourcePicture.size(), QSize(70, 30));
    EXPECT_EQ(quarterAt(f.faceAuthoring().state().sourcePicture, 68, 28), Quarter::BottomRight);

    // While authoring, from the menu item: a copied file.
    const QString file = writeBytes(dir, QStringLiteral("copied.gif"), gifPicture(quarteredPicture(20, 60)));
    clipboard->setMimeData(filesData({file}));
    EXPECT_EQ(f.Paste1->text(), QStringLiteral("貼り付け(&V)"));
    EXPECT_EQ(f.Paste1->shortcut(), QKeySequence(QKeySequence::Paste));
    f.Paste1->trigger();
    f.finishPendingWork();
    EXPECT_EQ(f.faceAuthoring().state().sourcePicture.size(), QSize(20, 60));

    // Data that is no picture the game reads: said, and nothing changes.
    auto* odd = new QMimeData;
    odd->setData(QStringLiteral("image/png"), "\x89PNG\r\n\x1a\n but nothing more");
    clipboard->setMimeData(odd);
    f.Paste1->trigger();
    f.finishPendingWork();
    EXPECT_EQ(w.dialogs->errors, QStringList{QStringLiteral("貼り付けた画像は写真として読めません。")});
    EXPECT_EQ(f.faceAuthoring().state().sourcePicture.size(), QSize(20, 60));
    clipboard->clear();
}

// During the title and a game a drop is refused and a paste does nothing.
TEST(PhotoDrop, TheTitleAndAGameTakeNoPhotograph) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir);
    TForm1& f = *w.form;
    const QString png = writeBytes(dir, QStringLiteral("b.png"), qtWrittenPicture(quarteredPicture(30, 20), "png"));
    std::unique_ptr<QMimeData> data(filesData({png}));
    QGuiApplication::clipboard()->setMimeData(filesData({png}));

    EXPECT_FALSE(dropOn(f, *data)) << "the title";
    f.Paste1->trigger();
    f.finishPendingWork();
    EXPECT_TRUE(f.faceSelection().titleShowing());

    w.finishTitle();
    w.click(w.thumbnail(0));
    ASSERT_TRUE(f.PageControl1->isVisible());
    EXPECT_FALSE(dropOn(f, *data)) << "a game";
    f.Paste1->trigger();
    f.finishPendingWork();
    EXPECT_FALSE(f.faceAuthoring().adding());
    EXPECT_TRUE(f.PageControl1->isVisible());
    EXPECT_TRUE(w.dialogs->errors.isEmpty());
    QGuiApplication::clipboard()->clear();
}
