// SPDX-License-Identifier: GPL-3.0-or-later
// Registering the authored face: what lands on disk, what the window takes
// in, that the new face plays, the shrink of large parts, and a registration
// that fails.
#include "form1_authoring_driver.h"

#include "board/caption_label.h"
#include "board/image_control.h"
#include "board/painted_cells.h"
#include "board/scroll_box.h"
#include "catalogue/catalogue_files.h"
#include "pictures/jpeg_codec.h"

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const FaceAnswer kPhotoAnswer{70, 170, 125, 110, 70, 70, 110, 160};

QSize pictureSize(const TempAppDir& dir, int face, int kind) {
    return decodeJpegFile(facePicturePath(dir.path(), face, kind)).size();
}

QStringList facePictures(const TempAppDir& dir, int face) {
    QStringList present;
    for (int k = 0; k <= 5; ++k)
        if (dir.exists(QStringLiteral("data/face%1_%2.jpg").arg(face).arg(k))) present << QString::number(k);
    return present;
}

// Drags part image [slot][face] with the real mouse so that its top-left
// corner lands on the face picture at onFace.
void dragPartOnto(GameWindow& w, int slot, int face, QPoint onFace) {
    TForm1& f = *w.form;
    f.PageControl1->setCurrentIndex(slot - 1);
    const Spot part(f.PartCells[slot], f.PartCells[slot]->itemRect(face));
    const QPoint grab(1, 1);
    w.press(part, grab);
    QTest::mouseMove(f.windowHandle(), (w.windowPos(part, grab) + w.windowPos(f.ImgFace1, onFace + grab)) / 2);
    w.move(f.ImgFace1, onFace + grab);
    w.release(f.ImgFace1, onFace + grab);
}

}  // namespace

// A new fourth face: six pictures, section 3 and the count on disk; the
// window grows by one face and returns to the face selection.
TEST(Registering, WritesTheNewFaceAndTakesItIntoTheWindow) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir);
    TForm1& f = *w.form;
    std::vector<qint64> thumbnailsBefore;
    for (int i = 0; i < w.thumbnailCount(); ++i) thumbnailsBefore.push_back(w.thumbnailPicture(i).cacheKey());
    startAuthoring(w, writeBitmapPicture(dir, QStringLiteral("photo.bmp"), TestPhoto::picture()));
    outlineAllParts(w);
    w.click(f.BitBtnToroku);
    ASSERT_TRUE(w.dialogs->errors.isEmpty()) << w.dialogs->errors.join(QLatin1Char('\n')).toStdString();

    EXPECT_EQ(facePictures(dir, 3), (QStringList{"0", "1", "2", "3", "4", "5"}));
    EXPECT_EQ(readFaceCount(dir.path()), 4);
    EXPECT_EQ(readFaceAnswers(dir.path(), 4)[3], kPhotoAnswer);
    EXPECT_EQ(pictureSize(dir, 3, 0), QSize(300, 225));
    EXPECT_EQ(pictureSize(dir, 3, 5), QSize(300, 225));
    for (int s = 1; s <= 4; ++s) EXPECT_EQ(pictureSize(dir, 3, s), partBox(s).size()) << "part " << s;
    // Picture 0 is the photograph, 5 the same with the parts painted over,
    // the nose picture its box cut from the unpainted face.
    EXPECT_TRUE(closeColour(readFacePicture(dir.path(), 3, 0).pixel(150, 135), TestPhoto::nose));
    EXPECT_TRUE(closeColour(readFacePicture(dir.path(), 3, 5).pixel(150, 135), TestPhoto::skin));
    EXPECT_TRUE(closeColour(readFacePicture(dir.path(), 3, 3).pixel(25, 25), TestPhoto::nose));

    EXPECT_EQ(f.catalogue.faceCount, 4);
    ASSERT_EQ(f.catalogue.faceAnswers.size(), 4u);
    EXPECT_EQ(f.catalogue.faceAnswers[3], kPhotoAnswer);
    ASSERT_EQ(w.thumbnailCount(), 4);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(w.thumbnailPicture(i).cacheKey(), thumbnailsBefore[i]) << "face " << i << " not decoded again";
    // The thumbnail keeps the picture at the size it is drawn, standing in for the whole one.
    EXPECT_EQ(w.thumbnailSourceSize(3), QSize(300, 225));
    EXPECT_EQ(w.thumbnailPicture(3).size(), QSize(100, 75));
    EXPECT_TRUE(w.thumbnailShown(3));
    for (int s = 1; s <= 4; ++s) {
        ASSERT_EQ(f.PartCells[s]->count(), 4);
        EXPECT_EQ(f.game().state().homeLeft[s].size(), 4u);
    }

    EXPECT_FALSE(f.faceAuthoring().state().addingFace);
    EXPECT_TRUE(f.faceAuthoring().state().sourcePicture.isNull());
    EXPECT_TRUE(f.ScrollBox1->isVisible());
    EXPECT_FALSE(f.ImgFace1->isVisible());
    for (int s = 1; s <= 4; ++s) {
        EXPECT_FALSE(f.partTitle(s)->isVisible());
        EXPECT_FALSE(f.partPreview(s)->isVisible());
    }
    EXPECT_FALSE(f.BitBtnToroku->isVisible());
    EXPECT_FALSE(f.BitBtnCancel->isVisible());
    EXPECT_TRUE(f.F1->isEnabled());
    EXPECT_EQ(f.Label1->fontPoints(), 14);
    EXPECT_EQ(f.Label1->caption(), QStringLiteral("作りたい顔をクリックしてください。"));

    // The new face plays at once: its four parts dragged to their answers score 1000.
    w.click(w.thumbnail(3), {5, 5});
    ASSERT_TRUE(f.ImgFace1->isVisible());
    for (int s = 1; s <= 4; ++s) dragPartOnto(w, s, 3, QPoint(answerX(kPhotoAnswer, s), answerY(kPhotoAnswer, s)));
    ASSERT_TRUE(f.BitBtnHantei->isEnabled());
    EXPECT_EQ(f.game().state().placedLeft[3], 8 + 125);
    EXPECT_EQ(f.game().state().placedTop[4], 120 + 160);
    w.click(f.BitBtnHantei);
    EXPECT_EQ(f.LblScore->caption().trimmed(), QStringLiteral("1000"));
}

// A part box longer than 85 pixels shrinks the whole face: k = 85 / 120 in
// single precision turns the 120 x 60 nose into 84 x 42, the 300 x 225 face
// into 212 x 159 and the right eye's corner (90, 100) into (63, 70).
TEST(Registering, ALargePartShrinksAllSixPicturesAndThePositionsByOneFactor) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir);
    TForm1& f = *w.form;
    startAuthoring(w, writeBitmapPicture(dir, QStringLiteral("photo.bmp"), TestPhoto::picture()));
    outlinePart(w, 1, QRect(90, 100, 40, 30));
    outlinePart(w, 2, QRect(170, 60, 40, 30));
    outlinePart(w, 3, QRect(90, 140, 120, 60));
    outlinePart(w, 4, QRect(100, 205, 60, 15));
    w.click(f.BitBtnToroku);
    ASSERT_TRUE(w.dialogs->errors.isEmpty());

    EXPECT_EQ(pictureSize(dir, 3, 3), QSize(84, 42));
    EXPECT_EQ(pictureSize(dir, 3, 1), QSize(28, 21));
    EXPECT_EQ(pictureSize(dir, 3, 0), QSize(212, 159));
    EXPECT_EQ(pictureSize(dir, 3, 5), QSize(212, 159));
    const FaceAnswer written = readFaceAnswers(dir.path(), 4)[3];
    EXPECT_EQ(answerX(written, 1), 63);
    EXPECT_EQ(answerY(written, 1), 70);
    EXPECT_EQ(answerX(written, 3), 63);   // 90 * k
    EXPECT_EQ(answerY(written, 3), 99);   // 140 * k
    EXPECT_EQ(f.catalogue.faceAnswers[3], written);
}

// A registration that cannot be written leaves disk and memory as they were,
// shows the error and keeps the authoring open, so it can be retried.
TEST(Registering, AFailedWriteChangesNothingAndTheAuthoringCanBeRetried) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir);
    TForm1& f = *w.form;
    const QByteArray iniBefore = dir.readBytes(QStringLiteral("data/FaceData.ini"));
    // The whole face is written last of the pictures; a folder in its place
    // stops the write even for root.
    ASSERT_TRUE(QDir().mkpath(dir.path() + QStringLiteral("data/face3_0.jpg")));
    startAuthoring(w, writeBitmapPicture(dir, QStringLiteral("photo.bmp"), TestPhoto::picture()));
    outlineAllParts(w);
    w.click(f.BitBtnToroku);

    ASSERT_EQ(w.dialogs->errors.size(), 1);
    EXPECT_EQ(w.dialogs->errors[0],
              QStringLiteral("ファイル %1 を作成できません").arg(dir.path() + QStringLiteral("data/face3_0.jpg")));
    EXPECT_EQ(facePictures(dir, 3), QStringList{"0"}) << "only the folder that was there";
    EXPECT_EQ(dir.readBytes(QStringLiteral("data/FaceData.ini")), iniBefore);
    EXPECT_EQ(f.catalogue.faceCount, 3);
    EXPECT_EQ(f.catalogue.faceAnswers.size(), 3u);
    EXPECT_EQ(w.thumbnailCount(), 3);
    EXPECT_EQ(f.PartCells[1]->count(), 3);
    EXPECT_TRUE(f.faceAuthoring().state().addingFace);
    EXPECT_TRUE(f.ImgFace1->isVisible());
    EXPECT_TRUE(f.BitBtnToroku->isVisible() && f.BitBtnToroku->isEnabled());
    EXPECT_TRUE(f.BitBtnCancel->isVisible());

    ASSERT_TRUE(QDir(dir.path() + QStringLiteral("data/face3_0.jpg")).removeRecursively());
    w.click(f.BitBtnToroku);
    EXPECT_EQ(w.dialogs->errors.size(), 1);
    EXPECT_EQ(f.catalogue.faceCount, 4);
    EXPECT_EQ(readFaceCount(dir.path()), 4);
    EXPECT_EQ(facePictures(dir, 3).size(), 6);
}

// Cancelling with all four parts outlined writes nothing and leaves no
// register button behind.
TEST(Registering, CancellingAfterOutliningWritesNothing) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir);
    TForm1& f = *w.form;
    const QByteArray iniBefore = dir.readBytes(QStringLiteral("data/FaceData.ini"));
    startAuthoring(w, writeBitmapPicture(dir, QStringLiteral("photo.bmp"), TestPhoto::picture()));
    outlineAllParts(w);
    w.click(f.BitBtnCancel);

    EXPECT_FALSE(f.BitBtnToroku->isVisible());
    EXPECT_FALSE(f.BitBtnCancel->isVisible());
    EXPECT_TRUE(f.ScrollBox1->isVisible());
    EXPECT_TRUE(facePictures(dir, 3).isEmpty());
    EXPECT_EQ(dir.readBytes(QStringLiteral("data/FaceData.ini")), iniBefore);
    EXPECT_EQ(f.catalogue.faceCount, 3);
    for (int s = 1; s <= 4; ++s) {
        EXPECT_FALSE(f.faceAuthoring().state().outlined[s]);
        EXPECT_EQ(titleColour(f.partTitle(s)), QColor(255, 255, 0));
    }
}
