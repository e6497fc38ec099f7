// SPDX-License-Identifier: GPL-3.0-or-later
// A deletion that takes longer than a second tells the player so, and the
// face chosen for it blinks on the screen and on the accessibility bus.
#include "form1_authoring_driver.h"

#include "board/caption_label.h"
#include "board/painted_cells.h"
#include "files/file_ops.h"

#include <QAccessible>
#include <QAction>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <future>

TEST(Deleting, ASlowDeletionSaysSoAfterASecondAndTheChosenFaceBlinksOnTheBus) {
    TempAppDir dir;
    writeTestCatalogue(dir, 5);
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    f.D1->trigger();
    w.click(w.thumbnail(2), {5, 5});
    QAccessibleInterface* thumbnails = QAccessible::queryAccessibleInterface(f.ThumbnailGrid);
    ASSERT_EQ(thumbnails->childCount(), 5);
    EXPECT_EQ(thumbnails->child(3)->text(QAccessible::Name), QStringLiteral("顔 3"));
    EXPECT_EQ(thumbnails->child(3)->role(), QAccessible::Button);
    f.Timer1Timer();
    EXPECT_TRUE(thumbnails->child(2)->state().invisible);
    w.click(w.thumbnail(3), {5, 5});  // another face chosen: 2 shows again
    EXPECT_FALSE(thumbnails->child(2)->state().invisible);
    f.Timer1Timer();
    EXPECT_EQ(f.ThumbnailGrid->itemAt(w.thumbnailCell(3).center()), -1) << "a hidden cell takes no click";
    EXPECT_EQ(f.faceDeleting().chosenFace(), 3);

    std::promise<void> goOn;
    std::shared_future<void> gate = goOn.get_future().share();
    setFileStepHook([gate](FileStep, const QString&) {
        gate.wait();
        return 0;
    });
    w.dialogs->confirmAnswers.push_back(true);
    w.clickWithoutWaiting(f.BitBtnToroku);
    ASSERT_TRUE(f.busy());
    QTimer& slow = f.faceDeleting().slowDeletionTimer();
    EXPECT_TRUE(slow.isActive());
    EXPECT_EQ(slow.interval(), 1000);
    EXPECT_NE(f.Label1->caption(), QStringLiteral("削除しています…")) << "not before the second is up";
    f.faceDeleting().tellDeletionIsSlow();  // the timer's tick, a second on
    EXPECT_EQ(f.Label1->caption(), QStringLiteral("削除しています…"));
    EXPECT_EQ(f.cursor().shape(), Qt::BusyCursor);

    goOn.set_value();
    f.finishPendingWork();
    setFileStepHook({});
    EXPECT_FALSE(slow.isActive());
    EXPECT_EQ(f.catalogue.faceCount, 4);
    EXPECT_EQ(f.Label1->caption(), QStringLiteral("作りたい顔をクリックしてください。"));
    EXPECT_EQ(f.Label1->fontPoints(), 14);
    EXPECT_EQ(thumbnails->childCount(), 4);
    // A deletion done within the second says nothing of the kind.
    f.faceDeleting().tellDeletionIsSlow();
    EXPECT_EQ(f.Label1->caption(), QStringLiteral("作りたい顔をクリックしてください。"));
}
