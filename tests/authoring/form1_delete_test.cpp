// SPDX-License-Identifier: GPL-3.0-or-later
// Deleting a face through the real window: choosing it (it blinks),
// confirming or declining, and what happens on disk and in the window.
#include "form1_authoring_driver.h"

#include "board/caption_label.h"
#include "board/image_control.h"
#include "board/painted_cells.h"
#include "board/scroll_box.h"
#include "catalogue/catalogue_files.h"
#include "files/file_ops.h"
#include "files/ini_file.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>
#include <future>
#include <map>

namespace {

const QString kChooseFace = QStringLiteral("作りたい顔をクリックしてください。");

// A catalogue of count faces whose answers differ from face to face.
std::vector<FaceAnswer> writeCatalogueWithDistinctAnswers(const TempAppDir& dir, int count) {
    writeTestCatalogue(dir, count);
    IniFile ini(faceDataPath(dir.path()));
    std::vector<FaceAnswer> answers;
    const char* keys[] = {"X1", "X2", "X3", "X4", "Y1", "Y2", "Y3", "Y4"};
    for (int i = 0; i < count; ++i) {
        FaceAnswer a;
        for (int k = 0; k < 8; ++k) {
            a[k] = 100 * i + k;
            ini.writeInteger(QString::number(i), QString::fromLatin1(keys[k]), a[k]);
        }
        answers.push_back(a);
    }
    ini.save();
    return answers;
}

// Every picture of the catalogue by name, as bytes.
std::map<QString, QByteArray> picturesOnDisk(const TempAppDir& dir) {
    std::map<QString, QByteArray> files;
    for (const QString& name : QDir(dir.path() + QStringLiteral("data")).entryList({QStringLiteral("*.jpg")}))
        files[name] = dir.readBytes(QStringLiteral("data/") + name);
    return files;
}

QString pictureName(int face, int kind) { return QStringLiteral("face%1_%2.jpg").arg(face).arg(kind); }

void expectBackOnTheFaceSelection(const TForm1& f) {
    EXPECT_FALSE(f.faceDeleting().active());
    EXPECT_FALSE(f.Timer1->isActive());
    EXPECT_FALSE(f.BitBtnToroku->isVisible());
    EXPECT_FALSE(f.BitBtnCancel->isVisible());
    EXPECT_TRUE(f.F1->isEnabled());
    EXPECT_EQ(f.Label1->fontPoints(), 14);
    EXPECT_EQ(f.Label1->caption(), kChooseFace);
}

}  // namespace

// Entering the mode, choosing a face and confirming: the later faces move
// down one index on disk and in the window.
TEST(Deleting, DeletingAMiddleFaceMovesTheLaterFacesDown) {
    TempAppDir dir;
    const std::vector<FaceAnswer> answers = writeCatalogueWithDistinctAnswers(dir, 5);
    const auto before = picturesOnDisk(dir);
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();

    f.D1->trigger();
    EXPECT_TRUE(f.faceDeleting().active());
    EXPECT_EQ(f.BitBtnToroku->text(), QStringLiteral("削除"));
    EXPECT_TRUE(f.BitBtnToroku->isVisible());
    EXPECT_FALSE(f.BitBtnToroku->isEnabled()) << "nothing chosen yet";
    EXPECT_TRUE(f.BitBtnCancel->isVisible() && f.BitBtnCancel->isEnabled());
    EXPECT_FALSE(f.F1->isEnabled());
    EXPECT_EQ(f.Label1->fontPoints(), 12);
    EXPECT_TRUE(f.Label1->caption().startsWith(QStringLiteral("削除したい顔をクリックしてから「削除」ボタンを押してください。\r")));

    w.click(w.thumbnail(1), {5, 5});
    EXPECT_FALSE(f.ImgFace1->isVisible()) << "a click in this mode never starts a game";
    EXPECT_EQ(f.faceDeleting().chosenFace(), 1);
    EXPECT_TRUE(f.Timer1->isActive());
    EXPECT_TRUE(f.BitBtnToroku->isEnabled());
    f.Timer1Timer();
    EXPECT_FALSE(w.thumbnailShown(1));

    w.dialogs->confirmAnswers.push_back(true);
    w.click(f.BitBtnToroku);
    EXPECT_EQ(w.dialogs->confirmations, QStringList{QStringLiteral("この顔を削除しますか？")});
    EXPECT_TRUE(w.dialogs->errors.isEmpty());

    const auto after = picturesOnDisk(dir);
    EXPECT_EQ(after.size(), 24u);
    for (int k = 0; k <= 5; ++k) {
        EXPECT_EQ(after.at(pictureName(0, k)), before.at(pictureName(0, k)));
        for (int i = 1; i <= 3; ++i) EXPECT_EQ(after.at(pictureName(i, k)), before.at(pictureName(i + 1, k))) << i << "_" << k;
        EXPECT_EQ(after.count(pictureName(4, k)), 0u);
    }
    EXPECT_EQ(readFaceCount(dir.path()), 4);
    const std::vector<FaceAnswer> expected{answers[0], answers[2], answers[3], answers[4]};
    EXPECT_EQ(readFaceAnswers(dir.path(), 4), expected);
    EXPECT_FALSE(IniFile(faceDataPath(dir.path())).text().contains(QStringLiteral("[4]")));

    EXPECT_EQ(f.catalogue.faceCount, 4);
    EXPECT_EQ(f.catalogue.faceAnswers, expected);
    ASSERT_EQ(w.thumbnailCount(), 4);
    for (int s = 1; s <= 4; ++s) {
        ASSERT_EQ(f.PartCells[s]->count(), 4);
        EXPECT_EQ(f.game().state().homeLeft[s].size(), 4u);
    }
    // The thumbnails show the renumbered pictures.
    EXPECT_TRUE(closeColour(w.thumbnailPicture(1).pixel(3, 3), testFaceColour(2, 0)));
    EXPECT_TRUE(closeColour(w.thumbnailPicture(3).pixel(3, 3), testFaceColour(4, 0)));
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(w.thumbnailShown(i)) << i;
    expectBackOnTheFaceSelection(f);
}

// Deleting the last face removes its pictures and section and rewrites only
// the count; no thumbnail of the old index is left.
TEST(Deleting, DeletingTheLastFaceRemovesOnlyItsFilesAndSection) {
    TempAppDir dir;
    const std::vector<FaceAnswer> answers = writeCatalogueWithDistinctAnswers(dir, 5);
    const auto before = picturesOnDisk(dir);
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    f.D1->trigger();
    w.click(w.thumbnail(4), {5, 5});
    w.dialogs->confirmAnswers.push_back(true);
    w.click(f.BitBtnToroku);

    auto expectedFiles = before;
    for (int k = 0; k <= 5; ++k) expectedFiles.erase(pictureName(4, k));
    EXPECT_EQ(picturesOnDisk(dir), expectedFiles);
    EXPECT_EQ(readFaceAnswers(dir.path(), 4), std::vector<FaceAnswer>(answers.begin(), answers.begin() + 4));
    EXPECT_EQ(readFaceCount(dir.path()), 4);
    EXPECT_EQ(w.thumbnailCount(), 4);
    EXPECT_EQ(f.faceDeleting().chosenFace(), 4);
    expectBackOnTheFaceSelection(f);
}

// "No" and "キャンセル" both leave the catalogue alone and show the chosen
// thumbnail again, even when the blink had hidden it.
TEST(Deleting, DecliningOrCancellingKeepsTheCatalogueAndShowsTheChosenFace) {
    TempAppDir dir;
    writeTestCatalogue(dir, 4);
    const auto before = picturesOnDisk(dir);
    const QByteArray iniBefore = dir.readBytes(QStringLiteral("data/FaceData.ini"));
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();

    f.D1->trigger();
    w.click(w.thumbnail(2), {5, 5});
    f.Timer1Timer();
    ASSERT_FALSE(w.thumbnailShown(2));
    w.dialogs->confirmAnswers.push_back(false);
    w.click(f.BitBtnToroku);
    EXPECT_TRUE(w.thumbnailShown(2));
    expectBackOnTheFaceSelection(f);

    f.D1->trigger();
    w.click(w.thumbnail(3), {5, 5});
    f.Timer1Timer();
    ASSERT_FALSE(w.thumbnailShown(3));
    w.click(f.BitBtnCancel);
    EXPECT_TRUE(w.thumbnailShown(3));
    expectBackOnTheFaceSelection(f);

    EXPECT_EQ(picturesOnDisk(dir), before);
    EXPECT_EQ(dir.readBytes(QStringLiteral("data/FaceData.ini")), iniBefore);
    EXPECT_EQ(f.catalogue.faceCount, 4);
    EXPECT_EQ(w.thumbnailCount(), 4);
}

// Choosing another face shows the first one again; only the last one blinks.
TEST(Deleting, ChoosingAnotherFaceLeavesTheFirstVisibleAndBlinksTheNewOne) {
    TempAppDir dir;
    writeTestCatalogue(dir, 5);
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    f.D1->trigger();
    w.click(w.thumbnail(2), {5, 5});
    f.Timer1Timer();
    ASSERT_FALSE(w.thumbnailShown(2));
    w.click(w.thumbnail(4), {5, 5});
    EXPECT_TRUE(w.thumbnailShown(2));
    EXPECT_EQ(f.faceDeleting().chosenFace(), 4);
    f.Timer1Timer();
    EXPECT_FALSE(w.thumbnailShown(4));
    EXPECT_TRUE(w.thumbnailShown(2));
    f.Timer1Timer();
    EXPECT_TRUE(w.thumbnailShown(4));
    EXPECT_FALSE(f.F1->isEnabled());
}

// A second click on the face already chosen changes nothing: the blink is
// not restarted (no phase jump), nothing else is chosen.
TEST(Deleting, ClickingTheChosenFaceAgainKeepsTheBlinkInStep) {
    TempAppDir dir;
    writeTestCatalogue(dir, 4);
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    f.D1->trigger();
    w.click(w.thumbnail(2), {5, 5});
    ASSERT_TRUE(f.Timer1->isActive());
    // No events are processed while waiting, so the timer only runs down.
    QThread::msleep(250);
    const int remainingBefore = f.Timer1->remainingTime();
    ASSERT_LT(remainingBefore, 400) << "the timer ran down while waiting";
    if (remainingBefore < 100) GTEST_SKIP() << "the wait overran the tick; the test cannot tell a restart";
    w.click(w.thumbnail(2), {5, 5});
    EXPECT_TRUE(f.Timer1->isActive());
    EXPECT_LE(f.Timer1->remainingTime(), remainingBefore) << "the blink timer was restarted";
    EXPECT_EQ(f.faceDeleting().chosenFace(), 2);
    EXPECT_TRUE(w.thumbnailShown(2));
    f.Timer1Timer();
    EXPECT_FALSE(w.thumbnailShown(2)) << "the next tick still hides it";
    EXPECT_TRUE(f.BitBtnToroku->isEnabled());
}

// At three faces, or fewer in a catalogue edited by hand, nothing more can
// be deleted and the face selection stays as it was.
TEST(Deleting, AtThreeFacesOrFewerTheCommandOnlyExplains) {
    for (int count : {3, 2}) {
        TempAppDir dir;
        writeTestCatalogue(dir, count);
        GameWindow w(dir);
        TForm1& f = *w.form;
        w.finishTitle();
        f.D1->trigger();
        EXPECT_EQ(w.dialogs->notices, QStringList{QStringLiteral("これ以上は削除できません。")}) << count;
        EXPECT_FALSE(f.faceDeleting().active());
        EXPECT_FALSE(f.BitBtnToroku->isVisible());
        EXPECT_FALSE(f.BitBtnCancel->isVisible());
        EXPECT_TRUE(f.F1->isEnabled());
        EXPECT_EQ(f.Label1->caption(), kChooseFace);
    }
}

// A deletion that fails on disk leaves the catalogue and the window as they
// were, reports the error and still ends the mode.
TEST(Deleting, AFailedDeletionChangesNothingAndEndsTheMode) {
    TempAppDir dir;
    writeTestCatalogue(dir, 5);
    // A folder where a picture belongs cannot be moved along like a picture.
    ASSERT_TRUE(QFile::remove(dir.path() + QStringLiteral("data/face3_2.jpg")));
    ASSERT_TRUE(QDir().mkpath(dir.path() + QStringLiteral("data/face3_2.jpg")));
    const auto before = picturesOnDisk(dir);
    const QByteArray iniBefore = dir.readBytes(QStringLiteral("data/FaceData.ini"));
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    w.dialogs->errors.clear();  // the missing picture's thumbnail-side reports
    const std::vector<FaceAnswer> answersBefore = f.catalogue.faceAnswers;

    f.D1->trigger();
    w.click(w.thumbnail(1), {5, 5});
    w.dialogs->confirmAnswers.push_back(true);
    w.click(f.BitBtnToroku);

    ASSERT_EQ(w.dialogs->errors.size(), 1);
    EXPECT_TRUE(w.dialogs->errors[0].contains(QStringLiteral("face3_2.jpg"))) << w.dialogs->errors[0].toStdString();
    EXPECT_EQ(picturesOnDisk(dir), before);
    EXPECT_EQ(dir.readBytes(QStringLiteral("data/FaceData.ini")), iniBefore);
    EXPECT_EQ(f.catalogue.faceCount, 5);
    EXPECT_EQ(f.catalogue.faceAnswers, answersBefore);
    EXPECT_EQ(w.thumbnailCount(), 5);
    EXPECT_TRUE(w.thumbnailShown(1));
    expectBackOnTheFaceSelection(f);
}

// The files of a deletion change on their own thread: meanwhile the window
// shows a busy cursor and refuses what would touch the catalogue (the press
// is not kept for later); once the change is on disk, the thumbnails of the
// faces that moved down take the pictures they already showed.
TEST(Deleting, WhileTheFilesChangeTheWindowIsBusyAndRefusesInput) {
    TempAppDir dir;
    writeTestCatalogue(dir, 5);
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    f.D1->trigger();
    w.click(w.thumbnail(1), {5, 5});
    const qint64 face2Picture = w.thumbnailPicture(2).cacheKey();
    const qint64 face4Picture = w.thumbnailPicture(4).cacheKey();

    // The change waits at its first file step until the test lets it go on.
    std::promise<void> goOn;
    std::shared_future<void> gate = goOn.get_future().share();
    setFileStepHook([gate](FileStep, const QString&) {
        gate.wait();
        return 0;
    });
    w.dialogs->confirmAnswers.push_back(true);
    w.clickWithoutWaiting(f.BitBtnToroku);
    EXPECT_TRUE(f.busy());
    EXPECT_EQ(f.cursor().shape(), Qt::BusyCursor);
    w.clickWithoutWaiting(w.thumbnail(3), {5, 5});  // another face
    w.clickWithoutWaiting(f.BitBtnCancel);
    f.D1Click();
    f.A1Click();
    QApplication::processEvents();
    EXPECT_TRUE(f.faceDeleting().active());
    EXPECT_EQ(f.faceDeleting().chosenFace(), 1);
    EXPECT_EQ(f.catalogue.faceCount, 5);
    EXPECT_TRUE(w.dialogs->notices.isEmpty());
    EXPECT_TRUE(w.dialogs->openFileTitles.isEmpty());

    goOn.set_value();
    f.finishPendingWork();
    setFileStepHook({});
    EXPECT_FALSE(f.busy());
    EXPECT_NE(f.cursor().shape(), Qt::BusyCursor);
    EXPECT_TRUE(w.dialogs->errors.isEmpty());
    EXPECT_EQ(f.catalogue.faceCount, 4);
    EXPECT_EQ(readFaceCount(dir.path()), 4);
    EXPECT_EQ(w.thumbnailPicture(1).cacheKey(), face2Picture) << "moved, not decoded again";
    EXPECT_EQ(w.thumbnailPicture(3).cacheKey(), face4Picture);
    expectBackOnTheFaceSelection(f);
    // Nothing refused comes back later.
    QApplication::processEvents();
    EXPECT_FALSE(f.faceDeleting().active());
    EXPECT_TRUE(f.ScrollBox1->isVisible());
}
