// SPDX-License-Identifier: GPL-3.0-or-later
// The saved-faces viewer through the real window: the menu command, clicks
// and keys on the list, and the way back.
#include "board/caption_label.h"
#include "board/image_control.h"
#include "board/scroll_box.h"
#include "pictures/jpeg_codec.h"
#include "support/hostile_pictures.h"
#include "support/window/play_driver.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <jerror.h>

namespace {

const TestFaceLayout kLayout;
const QString kViewerPrompt = QStringLiteral(
    "見たい顔の名前をクリックしてください。\r「キャンセル」ボタンを押すと顔の選択画面に戻ります。");

void writeSavedFace(const TempAppDir& dir, const QString& name, QSize size, QRgb colour) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    dir.writeBytes(QStringLiteral("Library/") + name + QStringLiteral(".jpg"), encodeJpeg(picture));
}

void openViewer(GameWindow& w) {
    QMenuBar* bar = w.form->menuBar();
    w.click(bar, bar->actionGeometry(w.form->R1).center());
}

void clickEntry(GameWindow& w, const QString& name) {
    QListWidget* list = w.form->ListBox1;
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    w.click(list->viewport(), list->visualItemRect(found[0]).center());
}

QRgb shownAt(const TForm1& f, QPoint at) { return f.ImgFace1->picture().pixel(at); }

}  // namespace

// A face saved in this run is listed last and can be viewed at once, at its
// own size where faces are shown; another entry replaces it.
TEST(SavedFaces, AFaceSavedInThisRunIsListedLastAndShowsAtOnce) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    writeSavedFace(dir, QStringLiteral("older"), {50, 60}, qRgb(20, 40, 220));
    GameWindow w(dir);
    TForm1& f = *w.form;
    startGameWith(w, 0);
    placeAtAnswers(w, kLayout.answer);
    clickHantei(w);
    clickCancel(w);
    typeText(f.Edit1, QStringLiteral("mine"));
    clickCancel(w);
    clickHantei(w);

    openViewer(w);
    EXPECT_FALSE(f.F1->isEnabled());
    EXPECT_FALSE(f.R1->isEnabled());
    EXPECT_FALSE(f.ScrollBox1->isVisible());
    EXPECT_TRUE(f.ListBox1->isVisible());
    EXPECT_TRUE(f.ImgFace1->isVisible());
    EXPECT_TRUE(f.ImgFace1->picture().isNull()) << "empty until a name is chosen";
    EXPECT_EQ(f.Label1->caption(), kViewerPrompt);
    EXPECT_TRUE(f.BitBtnCancel->isVisible());
    EXPECT_TRUE(f.BitBtnCancel->isEnabled());
    EXPECT_EQ(f.BitBtnCancel->text(), QStringLiteral("キャンセル"));
    ASSERT_EQ(listItems(f.ListBox1), (QStringList{QStringLiteral("older"), QStringLiteral("mine")}));

    clickEntry(w, QStringLiteral("mine"));
    EXPECT_EQ(f.ImgFace1->geometry(), QRect(8, 120, 120, 150));
    EXPECT_TRUE(nearColour(shownAt(f, {20, 40}), testFaceColour(0, 1))) << "the saved composition";
    clickEntry(w, QStringLiteral("older"));
    EXPECT_EQ(f.ImgFace1->geometry(), QRect(8, 120, 50, 60));
    EXPECT_TRUE(nearColour(shownAt(f, {25, 30}), qRgb(20, 40, 220)));
    EXPECT_TRUE(w.dialogs->errors.isEmpty());
}

// Every choice runs the viewer once: a click on another entry, a click on
// the entry already chosen and a move with the keys. Files gone since the
// listing are reported and leave the face shown; the viewer stays open.
TEST(SavedFaces, EveryChoiceShowsOnceAndAFileGoneSinceTheListingIsReported) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    writeSavedFace(dir, QStringLiteral("a"), {50, 60}, qRgb(20, 40, 220));
    writeSavedFace(dir, QStringLiteral("b"), {50, 60}, qRgb(220, 40, 20));
    writeSavedFace(dir, QStringLiteral("c"), {50, 60}, qRgb(20, 220, 40));
    dir.writeBytes(QStringLiteral("Library/d.jpg"), "not a picture at all");
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    f.ListBox1->sortItems();  // the listing comes in directory order
    openViewer(w);

    clickEntry(w, QStringLiteral("a"));
    ASSERT_TRUE(w.dialogs->errors.isEmpty());
    ASSERT_TRUE(QFile::remove(dir.path() + QStringLiteral("Library/b.jpg")));
    ASSERT_TRUE(QFile::remove(dir.path() + QStringLiteral("Library/c.jpg")));
    const QString missingB = QStringLiteral("ファイル %1 は開けません").arg(dir.path() + QStringLiteral("Library/b.jpg"));
    const QString missingC = QStringLiteral("ファイル %1 は開けません").arg(dir.path() + QStringLiteral("Library/c.jpg"));

    clickEntry(w, QStringLiteral("b"));
    EXPECT_EQ(w.dialogs->errors, QStringList{missingB});
    clickEntry(w, QStringLiteral("b"));
    EXPECT_EQ(w.dialogs->errors, (QStringList{missingB, missingB})) << "the entry already chosen shows again";
    QTest::keyClick(f.ListBox1, Qt::Key_Down);
    EXPECT_EQ(w.dialogs->errors, (QStringList{missingB, missingB, missingC}));
    QTest::keyClick(f.ListBox1, Qt::Key_Down);
    ASSERT_EQ(w.dialogs->errors.size(), 4);
    EXPECT_TRUE(w.dialogs->errors[3].startsWith(QStringLiteral("JPEG エラー #"))) << w.dialogs->errors[3].toStdString();

    EXPECT_TRUE(nearColour(shownAt(f, {25, 30}), qRgb(20, 40, 220))) << "the face shown before stays";
    EXPECT_EQ(f.ImgFace1->geometry(), QRect(8, 120, 50, 60));
    EXPECT_TRUE(f.ListBox1->isVisible());
    EXPECT_EQ(f.ListBox1->count(), 4) << "the list keeps its entries";
    EXPECT_EQ(f.Label1->caption(), kViewerPrompt);
}

// "キャンセル" leaves the viewer for the face selection, from its top, with
// both menu commands open again.
TEST(SavedFaces, CancelReturnsToTheFaceSelectionWithBothMenusOpen) {
    TempAppDir dir;
    writeTestCatalogue(dir, 12, kLayout);
    writeSavedFace(dir, QStringLiteral("a"), {50, 60}, qRgb(20, 40, 220));
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    f.ScrollBox1->setVerticalPosition(40);
    ASSERT_EQ(f.ScrollBox1->verticalPosition(), 40);
    openViewer(w);
    clickEntry(w, QStringLiteral("a"));
    clickCancel(w);

    EXPECT_FALSE(f.ListBox1->isVisible());
    EXPECT_FALSE(f.ImgFace1->isVisible());
    EXPECT_FALSE(f.BitBtnCancel->isVisible());
    EXPECT_TRUE(f.ScrollBox1->isVisible());
    EXPECT_EQ(f.ScrollBox1->verticalPosition(), 0);
    EXPECT_TRUE(f.F1->isEnabled());
    EXPECT_TRUE(f.R1->isEnabled());
    EXPECT_EQ(f.Label1->caption(), QStringLiteral("作りたい顔をクリックしてください。"));
    EXPECT_EQ(f.Label1->fontPoints(), 14);

    // The thumbnails answer again: a game starts from the face selection.
    startGameWith(w, 1);
    EXPECT_TRUE(f.PageControl1->isVisible());
}

// Saved faces are window-sized: one whose header claims more than four
// megapixels is refused before decoding, and the face shown stays.
TEST(SavedFaces, APictureBeyondTheLibraryCapIsRefusedAndTheFaceShownStays) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    writeSavedFace(dir, QStringLiteral("a"), {50, 60}, qRgb(20, 40, 220));
    dir.writeBytes(QStringLiteral("Library/four.jpg"), jpegClaiming(2048, 2048));
    dir.writeBytes(QStringLiteral("Library/more.jpg"), jpegClaiming(2048, 2049));
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    openViewer(w);

    clickEntry(w, QStringLiteral("a"));
    clickEntry(w, QStringLiteral("four"));
    clickEntry(w, QStringLiteral("more"));
    EXPECT_EQ(w.dialogs->errors, (QStringList{jpegErrorText(JWRN_HIT_MARKER), jpegErrorText(JERR_IMAGE_TOO_BIG)}));
    EXPECT_EQ(f.ImgFace1->picture().size(), QSize(50, 60));
    EXPECT_TRUE(f.ListBox1->isVisible());
}
