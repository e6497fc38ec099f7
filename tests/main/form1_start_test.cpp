// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, the title sequence and the face selection screen, driven through
// the real main window on a temporary application folder.
#include "board/caption_label.h"
#include "board/image_control.h"
#include "board/painted_cells.h"
#include "board/scroll_box.h"
#include "catalogue/catalogue_files.h"
#include "files/app_error.h"
#include "files/ini_file.h"
#include "pictures/jpeg_codec.h"
#include "support/file_faults.h"
#include "support/test_catalogue.h"
#include "support/window/game_window.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

namespace {

QStringList listItems(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

}  // namespace

TEST(TitleSequence, FourTicksChangeNothingAndTheFifthOpensTheFaceSelection) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir);
    TForm1& f = *w.form;

    EXPECT_TRUE(f.Timer1->isActive());
    for (int tick = 1; tick <= 4; ++tick) {
        f.Timer1Timer();
        EXPECT_TRUE(f.faceSelection().titleShowing()) << "tick " << tick;
        EXPECT_TRUE(f.ImgTitle->isVisible());
        EXPECT_TRUE(f.ImgRogo->isVisible());
        EXPECT_FALSE(f.Label1->isVisible());
        EXPECT_FALSE(f.F1->isEnabled());
        EXPECT_FALSE(f.BGMB1->isEnabled());
    }
    f.Timer1Timer();
    EXPECT_FALSE(f.faceSelection().titleShowing());
    EXPECT_FALSE(f.Timer1->isActive());
    EXPECT_FALSE(f.ImgTitle->isVisible());
    EXPECT_FALSE(f.ImgRogo->isVisible());
    EXPECT_TRUE(f.Label1->isVisible());
    EXPECT_EQ(f.Label1->caption(), QStringLiteral("作りたい顔をクリックしてください。"));
    EXPECT_EQ(f.Label1->fontPoints(), 14);
    EXPECT_TRUE(f.F1->isEnabled());
    EXPECT_FALSE(f.R1->isEnabled()) << "an empty library leaves the saved faces closed";
    for (int s = 1; s <= 4; ++s) EXPECT_EQ(f.game().state().placedFace[s], -1);
    EXPECT_TRUE(w.dialogs->errors.isEmpty());
}

TEST(TitleSequence, AClickOnAThumbnailDuringTheTitleIsIgnoredAndAfterItStartsAGame) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir);
    TForm1& f = *w.form;

    // The title pictures lie over the first thumbnails; the click reaches the
    // thumbnail's handler only where the title does not cover it, so call it.
    f.ImgFace0Click(1);
    EXPECT_TRUE(f.ScrollBox1->isVisible());
    EXPECT_FALSE(f.ImgFace1->isVisible());

    w.finishTitle();
    w.click(w.thumbnail(1));
    EXPECT_EQ(f.game().state().currentFace, 1);
    EXPECT_FALSE(f.ScrollBox1->isVisible());
    EXPECT_TRUE(f.ImgFace1->isVisible());
}

TEST(Library, ListsSavedFacesWithoutTheirExtensionAndCountsAFolderAsAnEntry) {
    {
        TempAppDir dir;
        writeTestCatalogue(dir, 3);
        dir.writeBytes(QStringLiteral("Library/a.b.jpg"), "x");
        dir.writeBytes(QStringLiteral("Library/花子.jpg"), "x");
        dir.writeBytes(QStringLiteral("Library/notes.txt"), "x");
        GameWindow w(dir);
        w.finishTitle();
        QStringList names = listItems(w.form->ListBox1);
        names.sort();
        EXPECT_EQ(names, (QStringList{QStringLiteral("a.b"), QStringLiteral("花子")}));
        EXPECT_TRUE(w.form->R1->isEnabled());
        EXPECT_TRUE(w.form->libraryHasFaces);
    }
    {
        TempAppDir dir;
        writeTestCatalogue(dir, 3);
        QDir().mkpath(dir.path() + QStringLiteral("Library/x.jpg"));
        GameWindow w(dir);
        w.finishTitle();
        EXPECT_EQ(w.form->ListBox1->count(), 0);
        EXPECT_TRUE(w.form->R1->isEnabled()) << "a folder named x.jpg still counts as an entry";
    }
}

TEST(ThumbnailGrid, FiveARowAndEachPictureDrawnProportionalAtTheTopLeft) {
    TempAppDir dir;
    writeTestCatalogue(dir, 7);
    // Face 0 narrower than the 100:140 box, face 1 wider.
    QImage narrow(50, 140, QImage::Format_RGB32);
    narrow.fill(Qt::red);
    writeJpegFile(facePicturePath(dir.path(), 0, 0), narrow);
    QImage wide(200, 100, QImage::Format_RGB32);
    wide.fill(Qt::blue);
    writeJpegFile(facePicturePath(dir.path(), 1, 0), wide);

    GameWindow w(dir);
    TForm1& f = *w.form;
    EXPECT_EQ(w.thumbnailCell(0).topLeft(), QPoint(8, 16));
    EXPECT_EQ(w.thumbnailCell(4).topLeft(), QPoint(488, 16));
    EXPECT_EQ(w.thumbnailCell(5).topLeft(), QPoint(8, 186));
    EXPECT_EQ(w.thumbnailCell(6).topLeft(), QPoint(128, 186));
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(w.thumbnailCell(i).size(), QSize(100, 140));
        EXPECT_EQ(f.ThumbnailGrid->itemAt(w.thumbnailCell(i).center()), i);
    }
    EXPECT_EQ(w.thumbnailDrawnRect(0), QRect(0, 0, 50, 140));
    EXPECT_EQ(w.thumbnailDrawnRect(1), QRect(0, 0, 100, 50));
}

TEST(GameStart, ShowsThePaintedFaceThePalettesAndTheButtonsOfPlacing) {
    TempAppDir dir;
    TestFaceLayout layout;
    layout.parts[1] = QSize(60, 40);
    layout.parts[2] = QSize(40, 60);
    writeTestCatalogue(dir, 4, layout);
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();

    w.click(w.thumbnail(2));
    EXPECT_EQ(f.game().state().currentFace, 2);
    EXPECT_FALSE(f.ScrollBox1->isVisible());
    EXPECT_TRUE(f.ImgFace1->isVisible());
    EXPECT_EQ(f.ImgFace1->geometry(), QRect(QPoint(8, 120), layout.face));
    // The board is picture 5 of the chosen face.
    EXPECT_EQ(QColor(f.ImgFace1->picture().pixel(5, 5)).hue() / 10, QColor(testFaceColour(2, 5)).hue() / 10);
    EXPECT_TRUE(f.PageControl1->isVisible());
    EXPECT_EQ(f.PageControl1->currentWidget(), f.TabSheetRMe);
    EXPECT_EQ(f.BitBtnHantei->text(), QStringLiteral("判定"));
    EXPECT_TRUE(f.BitBtnHantei->isVisible());
    EXPECT_FALSE(f.BitBtnHantei->isEnabled());
    EXPECT_EQ(f.BitBtnCancel->text(), QStringLiteral("キャンセル"));
    EXPECT_TRUE(f.BitBtnCancel->isVisible());
    EXPECT_TRUE(f.BitBtnCancel->isEnabled());
    EXPECT_EQ(f.Label1->caption(), QStringLiteral("目・鼻・口をそれぞれドラッグして顔の上に置いてください。\r"
                                                  "「キャンセル」ボタンを押すと顔の選択画面に戻ります。"));
    EXPECT_FALSE(f.F1->isEnabled());
    EXPECT_FALSE(f.R1->isEnabled());
    // Every part square of a slot is sized by the chosen face's own part.
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(f.PartCells[1]->itemRect(i).size(), QSize(60, 60));
        EXPECT_EQ(f.PartCells[2]->itemRect(i).size(), QSize(60, 60));
        EXPECT_EQ(f.PartCells[4]->itemRect(i).size(), QSize(40, 40));
        ASSERT_NE(f.game().partPicture(3, i), nullptr);
        EXPECT_FALSE(f.game().partPicture(3, i)->picture.isNull());
    }
    EXPECT_EQ(w.random->seeds, 1) << "the generator is seeded once per game start";
}

TEST(StartUp, MissingAndDamagedPicturesAreReportedOnceAndTheTitleStillRuns) {
    TempAppDir dir;
    writeTestCatalogue(dir, 4);
    QFile::remove(facePicturePath(dir.path(), 1, 0));
    dir.writeBytes(QStringLiteral("data/face2_0.jpg"), QByteArray("\xff\xd8\xff\xe0 not a jpeg", 16));

    GameWindow w(dir);
    TForm1& f = *w.form;
    ASSERT_EQ(w.dialogs->errors.size(), 1);
    EXPECT_TRUE(w.dialogs->errors[0].startsWith(QStringLiteral("ファイル ")));
    EXPECT_TRUE(w.dialogs->errors[0].endsWith(QStringLiteral("face1_0.jpg は開けません")));
    EXPECT_TRUE(w.thumbnailPicture(1).isNull());
    EXPECT_FALSE(w.thumbnailPicture(3).isNull()) << "the faces after a failure still load";
    EXPECT_EQ(f.catalogue.faceCount, 4);
    w.finishTitle();
    EXPECT_EQ(f.Label1->caption(), QStringLiteral("作りたい顔をクリックしてください。"));
    for (int s = 1; s <= 4; ++s) EXPECT_EQ(f.game().state().placedFace[s], -1);
}

TEST(GameStart, AMissingOrDamagedPartPictureLeavesTheFaceSelectionAsItWas) {
    TempAppDir dir;
    writeTestCatalogue(dir, 4);
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();

    dir.writeBytes(QStringLiteral("data/face3_2.jpg"), QByteArray("\xff\xd8\xff\xdb garbage", 13));
    w.click(w.thumbnail(0));
    ASSERT_EQ(w.dialogs->errors.size(), 1);
    EXPECT_TRUE(w.dialogs->errors[0].startsWith(QStringLiteral("JPEG エラー #")));
    EXPECT_TRUE(f.ScrollBox1->isVisible());
    EXPECT_FALSE(f.ImgFace1->isVisible());
    EXPECT_FALSE(f.PageControl1->isVisible());
    EXPECT_FALSE(f.BitBtnCancel->isVisible());
    EXPECT_TRUE(f.F1->isEnabled());

    writeJpegFile(facePicturePath(dir.path(), 3, 2), testPicture(30, 20));
    QFile::remove(facePicturePath(dir.path(), 0, 5));
    w.click(w.thumbnail(0));
    ASSERT_EQ(w.dialogs->errors.size(), 2);
    EXPECT_TRUE(w.dialogs->errors[1].endsWith(QStringLiteral("face0_5.jpg は開けません")));
    EXPECT_TRUE(f.ScrollBox1->isVisible());
}

TEST(StartUp, AnAbsurdCountUsesThePicturesThereAndSaysWhichIsMissing) {
    TempAppDir dir;
    writeTestCatalogue(dir, 4);
    IniFile ini(dir.path() + QStringLiteral("data/FaceData.ini"));
    ini.writeInteger(QStringLiteral("faces"), QStringLiteral("count"), 2000000000);
    ini.save();

    GameWindow w(dir);
    EXPECT_EQ(w.form->catalogue.faceCount, 4);
    EXPECT_EQ(w.thumbnailCount(), 4);
    ASSERT_EQ(w.dialogs->errors.size(), 1);
    EXPECT_TRUE(w.dialogs->errors[0].endsWith(QStringLiteral("face4_0.jpg は開けません")));
}

TEST(StartUp, WithoutFaceDataTheCatalogueHasThreeFacesAtZero) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    QFile::remove(dir.path() + QStringLiteral("data/FaceData.ini"));
    GameWindow w(dir);
    EXPECT_EQ(w.form->catalogue.faceCount, 3);
    for (const FaceAnswer& a : w.form->catalogue.faceAnswers)
        for (int v : a) EXPECT_EQ(v, 0);
}

// The window paints its title first: the thumbnails are decoded and the part
// images created behind it, and all of it is complete when the title ends,
// the first face whose picture failed reported once.
TEST(StartUp, TheTitleComesFirstAndTheFaceSelectionIsCompleteWhenItEnds) {
    TempAppDir dir;
    writeTestCatalogue(dir, 12);
    QFile::remove(facePicturePath(dir.path(), 9, 0));
    dir.writeBytes(QStringLiteral("data/face4_0.jpg"), QByteArray("\xff\xd8\xff\xe0 not a jpeg", 16));
    Form1Services services;
    auto dialogs = std::make_unique<ScriptedDialogs>();
    ScriptedDialogs* shown = dialogs.get();
    services.dialogs = std::move(dialogs);
    services.media = std::make_unique<RecordingMedia>();
    services.timersCallHandlers = false;
    // The game menu's choices under another letter case: found only from
    // data/'s names, which wait until the window is painted.
    dir.writeBytes(QStringLiteral("data/PLAY.INI"), "[Play]\r\nBlindfold=1\r\n");
    int listings = 0;
    std::optional<FileFaults> counting;
    counting.emplace([&](FileCall call, const QString& path, qint64) {
        if (call == FileCall::ListFolder && path.contains(QStringLiteral("data"))) ++listings;
        return FileCallFault{};
    });
    TForm1 f(dir.path(), std::move(services));

    // Before its first paint the window holds the title alone: not a face
    // read yet, and the data folder not even listed.
    EXPECT_EQ(listings, 0);
    EXPECT_TRUE(f.faceSelection().titleShowing());
    EXPECT_TRUE(f.ImgTitle->isVisibleTo(&f));
    EXPECT_EQ(f.ThumbnailGrid->count(), 0);
    EXPECT_EQ(f.PartCells[1]->count(), 0);
    EXPECT_TRUE(shown->errors.isEmpty());

    for (int tick = 0; tick < 5; ++tick) f.Timer1Timer();
    f.finishPendingWork();
    counting.reset();
    // Listed by the catalogue's sweep, and for face 9's missing picture in
    // every letter case; PLAY.INI, and Parties.ini and BGM.ini that are not
    // there, are looked for in every letter case from the sweep's names.
    EXPECT_EQ(listings, 2);
    EXPECT_FALSE(f.faceSelection().titleShowing());
    ASSERT_EQ(f.ThumbnailGrid->count(), 12);
    EXPECT_EQ(f.ThumbnailGrid->itemRect(11).topLeft(), QPoint(128, 356));
    for (int i = 0; i < 12; ++i) {
        const CellPicture* thumbnail = f.faceSelection().thumbnail(i);
        ASSERT_NE(thumbnail, nullptr) << i;
        EXPECT_EQ(thumbnail->picture.isNull(), i == 4 || i == 9) << i;
    }
    EXPECT_EQ(f.faceSelection().thumbnail(0)->picture.size(), QSize(100, 125));
    ASSERT_EQ(shown->errors.size(), 1);
    EXPECT_TRUE(shown->errors[0].startsWith(QStringLiteral("JPEG エラー #"))) << "face 4 fails before face 9";
    for (int s = 1; s <= 4; ++s) EXPECT_EQ(f.PartCells[s]->count(), 12);
    EXPECT_EQ(f.catalogue.faceAnswers, readFaceAnswers(dir.path(), 12));
    EXPECT_TRUE(f.Blind1->isChecked());
}

// The parts of a game start are decoded on all cores, yet the error told is
// the one reading them in order meets first: the lowest face's part, and the
// board only when every part could be read.
TEST(GameStart, OfSeveralBadPicturesTheFirstInReadingOrderIsReported) {
    TempAppDir dir;
    writeTestCatalogue(dir, 6);
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    QFile::remove(facePicturePath(dir.path(), 5, 1));
    QFile::remove(facePicturePath(dir.path(), 2, 4));
    QFile::remove(facePicturePath(dir.path(), 2, 3));
    QFile::remove(facePicturePath(dir.path(), 1, 5));
    w.click(w.thumbnail(1));
    ASSERT_EQ(w.dialogs->errors.size(), 1);
    EXPECT_EQ(w.dialogs->errors[0], fileOpenErrorText(facePicturePath(dir.path(), 2, 3)));
    EXPECT_TRUE(f.ScrollBox1->isVisible());
    for (int kind : {3, 4}) writeJpegFile(facePicturePath(dir.path(), 2, kind), testPicture(30, 20));
    writeJpegFile(facePicturePath(dir.path(), 5, 1), testPicture(30, 20));
    w.click(w.thumbnail(1));
    ASSERT_EQ(w.dialogs->errors.size(), 2);
    EXPECT_EQ(w.dialogs->errors[1], fileOpenErrorText(facePicturePath(dir.path(), 1, 5)));
}
