// SPDX-License-Identifier: GPL-3.0-or-later
// Placing parts on the face by dragging them with the real mouse.
#include "board/caption_label.h"
#include "board/image_control.h"
#include "board/painted_cells.h"
#include "board/scroll_box.h"
#include "support/window/play_driver.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const TestFaceLayout kLayout;
const QString kPlacingPrompt = QStringLiteral(
    "目・鼻・口をそれぞれドラッグして顔の上に置いてください。\r「キャンセル」ボタンを押すと顔の選択画面に戻ります。");
const QString kReadyPrompt = QStringLiteral("これで良ければ「判定」ボタンを押してください。");

QPoint homeOf(const TForm1& f, int slot, int face) {
    return {f.game().state().homeLeft[slot][face], f.game().state().homeTop[slot][face]};
}

// The stacking position of a widget among the window's controls.
int stackIndex(const TForm1& f, const QWidget* w) { return int(f.ClientArea->children().indexOf(w)); }

Qt::CursorShape dragCursor() {
    const QCursor* c = QGuiApplication::overrideCursor();
    return c ? c->shape() : Qt::ArrowCursor;
}

}  // namespace

// The drop records which face a part comes from and, for the face's own
// parts only, where it lies; judging opens once all four slots are filled.
TEST(Dragging, DropsFillTheSlotsAndTheFourthEnablesJudging) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    GameWindow w(dir);
    TForm1& f = *w.form;
    startGameWith(w, 1);

    placePart(w, 1, 1, {12, 34});
    EXPECT_TRUE(partOnFace(w, 1, 1));
    EXPECT_EQ(partPos(w, 1, 1), QPoint(8 + 12, 120 + 34));
    EXPECT_EQ(f.game().state().placedFace[1], 1);
    EXPECT_EQ(f.game().state().placedLeft[1], 20);
    EXPECT_EQ(f.game().state().placedTop[1], 154);
    EXPECT_FALSE(f.BitBtnHantei->isEnabled());
    EXPECT_EQ(f.Label1->caption(), kPlacingPrompt);

    placePart(w, 2, 0, {60, 30});
    placePart(w, 3, 2, {40, 60});
    EXPECT_EQ(f.game().state().placedFace[2], 0);
    EXPECT_EQ(f.game().state().placedFace[3], 2);
    EXPECT_FALSE(f.BitBtnHantei->isEnabled());
    placePart(w, 4, 1, {40, 110});
    EXPECT_TRUE(f.BitBtnHantei->isEnabled());
    EXPECT_EQ(f.Label1->caption(), kReadyPrompt);
    EXPECT_EQ(f.Label1->fontPoints(), 14);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the cursor is given back after every drop";
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

// A press on a palette part takes the placed part of its kind off the face at
// once, even when the press ends where it began; the pressed part stays put.
TEST(Dragging, PressAndReleaseWithoutMovingSendsThePlacedPartHomeAndClosesJudging) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    GameWindow w(dir);
    TForm1& f = *w.form;
    startGameWith(w, 0);
    placeAtAnswers(w, kLayout.answer);
    ASSERT_TRUE(f.BitBtnHantei->isEnabled());

    const QPoint otherAt = partPos(w, 3, 2);
    showPalette(w, 3);
    const Spot otherNose = partSpot(w, 3, 2);
    w.press(otherNose, {3, 3});
    EXPECT_FALSE(f.BitBtnHantei->isEnabled()) << "closed at the press, before any release";
    w.release(otherNose, {3, 3});

    EXPECT_FALSE(partOnFace(w, 3, 0));
    EXPECT_EQ(partPos(w, 3, 0), homeOf(f, 3, 0));
    EXPECT_TRUE(partShown(w, 3, 0));
    EXPECT_EQ(partPos(w, 3, 2), otherAt);
    EXPECT_FALSE(partOnFace(w, 3, 2));
    EXPECT_EQ(f.game().state().placedFace[3], -1);
    EXPECT_EQ(f.Label1->caption(), kPlacingPrompt);
    EXPECT_EQ(f.Label1->fontPoints(), 14);

    // Dropping a nose again fills the slots once more.
    placePart(w, 3, 2, {48, 60});
    EXPECT_TRUE(f.BitBtnHantei->isEnabled());
    EXPECT_EQ(f.Label1->caption(), kReadyPrompt);
}

// A part on the face released over itself moves by the distance dragged; a
// release over the palettes, the tabs or the background leaves it where it was.
TEST(Dragging, APlacedPartMovesByTheDistanceDraggedAndNowhereElse) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    GameWindow w(dir);
    TForm1& f = *w.form;
    startGameWith(w, 0);
    placePart(w, 4, 0, {30, 100});
    const QPoint before = partPos(w, 4, 0);

    dragPart(w, partSpot(w, 4, 0), {10, 5}, partSpot(w, 4, 0), {15, 7});
    EXPECT_EQ(partPos(w, 4, 0), before + QPoint(5, 2));
    EXPECT_EQ(f.game().state().placedLeft[4], before.x() + 5);
    EXPECT_EQ(f.game().state().placedTop[4], before.y() + 2);

    const QPoint moved = partPos(w, 4, 0);
    dragPart(w, partSpot(w, 4, 0), {10, 5}, f.SBKuti->viewport(), {380, 400});  // empty palette area
    dragPart(w, partSpot(w, 4, 0), {10, 5}, f.PageControl1->tabBar(), {5, 5});
    dragPart(w, partSpot(w, 4, 0), {10, 5}, f.ClientArea, {200, 20});  // window background
    EXPECT_EQ(partPos(w, 4, 0), moved);
    EXPECT_TRUE(partOnFace(w, 4, 0));
    EXPECT_EQ(f.game().state().placedFace[4], 0);

    // A palette part released over the background stays in its palette.
    const QPoint eyeAt = partPos(w, 1, 2);
    showPalette(w, 1);
    dragPart(w, partSpot(w, 1, 2), {2, 2}, f.ClientArea, {200, 20});
    EXPECT_FALSE(partOnFace(w, 1, 2));
    EXPECT_EQ(partPos(w, 1, 2), eyeAt);
    EXPECT_EQ(f.game().state().placedFace[1], -1);
    // ... and one released over another palette part as well.
    dragPart(w, partSpot(w, 1, 2), {2, 2}, partSpot(w, 1, 0), {2, 2});
    EXPECT_FALSE(partOnFace(w, 1, 2));
    EXPECT_FALSE(partOnFace(w, 1, 0));
    EXPECT_EQ(f.game().state().placedFace[1], -1);
}

// The pointer tells during the drag whether a release would land.
TEST(Dragging, ThePointerShowsWhereADropLandsAndIsRestoredAfterwards) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    GameWindow w(dir);
    TForm1& f = *w.form;
    startGameWith(w, 0);
    placePart(w, 4, 0, {30, 100});
    showPalette(w, 1);

    w.press(partSpot(w, 1, 1), {2, 2});
    EXPECT_EQ(dragCursor(), Qt::DragMoveCursor) << "over a part";
    w.move(f.ClientArea, {200, 20});
    EXPECT_EQ(dragCursor(), Qt::ForbiddenCursor) << "over the background";
    w.move(f.ImgFace1, {5, 5});
    EXPECT_EQ(dragCursor(), Qt::DragMoveCursor) << "over the face";
    w.move(partSpot(w, 4, 0), {3, 3});
    EXPECT_EQ(dragCursor(), Qt::DragMoveCursor) << "over a placed part";
    w.move(f.PageControl1->tabBar(), {5, 5});
    EXPECT_EQ(dragCursor(), Qt::ForbiddenCursor) << "over the tabs";
    w.release(f.PageControl1->tabBar(), {5, 5});
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST(Dragging, ARightButtonPressDragsLikeTheLeftOne) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    GameWindow w(dir);
    TForm1& f = *w.form;
    startGameWith(w, 0);
    showPalette(w, 3);

    dragPart(w, partSpot(w, 3, 1), {4, 4}, f.ImgFace1, {50, 70}, Qt::RightButton);
    EXPECT_TRUE(partOnFace(w, 3, 1));
    EXPECT_EQ(partPos(w, 3, 1), QPoint(8 + 50 - 4, 120 + 70 - 4));
    EXPECT_EQ(f.game().state().placedFace[3], 1);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// Which face a part comes from and where the face's own part last lay are
// kept apart: a foreign mouth replaces the own one without moving its record.
TEST(Dragging, AnotherFacesMouthAfterTheOwnOneKeepsTheOwnDropsPlace) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    GameWindow w(dir);
    TForm1& f = *w.form;
    startGameWith(w, 0);

    placePart(w, 4, 0, {40, 110});
    placePart(w, 4, 2, {10, 20});
    EXPECT_EQ(f.game().state().placedFace[4], 2);
    EXPECT_EQ(f.game().state().placedLeft[4], 48);
    EXPECT_EQ(f.game().state().placedTop[4], 230);
    EXPECT_FALSE(partOnFace(w, 4, 0)) << "the own mouth went home";
    EXPECT_EQ(partPos(w, 4, 0), homeOf(f, 4, 0));
}

// A part new on the face lies above the face and the parts already there;
// moving a placed part keeps its place in the stack. The window's buttons
// and palettes stay above every part.
TEST(Dragging, NewPartsLieOnTopAndMovedOnesKeepTheirStacking) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    GameWindow w(dir);
    TForm1& f = *w.form;
    startGameWith(w, 0);

    placePart(w, 1, 0, {20, 40});
    placePart(w, 3, 0, {30, 50});  // overlaps the eye
    QWidget* eye = partSpot(w, 1, 0).widget;
    QWidget* nose = partSpot(w, 3, 0).widget;
    EXPECT_LT(stackIndex(f, f.ImgFace1), stackIndex(f, eye));
    EXPECT_LT(stackIndex(f, eye), stackIndex(f, nose));
    EXPECT_EQ(f.ClientArea->childAt(f.ImgFace1->pos() + QPoint(35, 55)), nose);

    dragPart(w, eye, {12, 12}, eye, {14, 14});  // a short move of the lower part
    EXPECT_LT(stackIndex(f, eye), stackIndex(f, nose));
    EXPECT_EQ(f.ClientArea->childAt(f.ImgFace1->pos() + QPoint(35, 55)), nose);
    EXPECT_LT(stackIndex(f, nose), stackIndex(f, f.PageControl1));
    EXPECT_LT(stackIndex(f, nose), stackIndex(f, f.BitBtnHantei));
}

// With a palette scrolled down, the part sent home lands on its own cell of
// the palette's content, not on the cell's place in the visible area.
TEST(Dragging, APartSentHomeToAScrolledPaletteLandsOnItsCell) {
    TempAppDir dir;
    writeTestCatalogue(dir, 16, kLayout);  // six rows: the palettes scroll
    GameWindow w(dir);
    TForm1& f = *w.form;
    startGameWith(w, 0);
    placePart(w, 4, 0, {40, 110});

    showPalette(w, 4);
    f.SBKuti->setVerticalPosition(80);
    ASSERT_EQ(f.SBKuti->verticalPosition(), 80);
    int visible = -1;
    for (int i = 1; i < 16 && visible < 0; ++i)
        if (partPos(w, 4, i).y() >= 100 && partPos(w, 4, i).y() < 400) visible = i;
    ASSERT_GE(visible, 0);
    w.click(partSpot(w, 4, visible), {3, 3});

    EXPECT_FALSE(partOnFace(w, 4, 0));
    EXPECT_EQ(partPos(w, 4, 0), homeOf(f, 4, 0));
    EXPECT_EQ(f.PartCells[4]->mapTo(f.SBKuti->viewport(), partPos(w, 4, 0)), homeOf(f, 4, 0) - QPoint(0, 80));
}

// After the judgement the parts on the face ignore every mouse button.
TEST(Dragging, AfterJudgingNoButtonMovesAPart) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    GameWindow w(dir);
    TForm1& f = *w.form;
    startGameWith(w, 0);
    placeAtAnswers(w, kLayout.answer);
    clickHantei(w);
    ASSERT_EQ(f.BitBtnHantei->text(), QStringLiteral("再開"));

    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        for (int s = 1; s <= 4; ++s) {
            const QPoint at = partPos(w, s, 0);
            dragPart(w, partSpot(w, s, 0), {2, 2}, f.ImgFace1, {100, 140}, button);
            EXPECT_EQ(partPos(w, s, 0), at) << "slot " << s << " button " << int(button);
            EXPECT_TRUE(partOnFace(w, s, 0));
        }
    }
    EXPECT_FALSE(f.game().state().dragging);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    for (int s = 1; s <= 4; ++s) EXPECT_EQ(f.game().state().placedFace[s], -1);
}
