// SPDX-License-Identifier: GPL-3.0-or-later
// Outlining the parts on the face box with the real mouse: what makes a part,
// what gets painted and cut, re-opening a part and re-picking its colour.
#include "form1_authoring_driver.h"

#include "board/caption_label.h"
#include "board/image_control.h"

#include <QPushButton>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kBlue = 0xff0000ff;
const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 128, 0);

struct AuthoringOnPhoto {
    TempAppDir dir;
    GameWindow w{(writeTestCatalogue(dir, 3), dir)};
    TForm1& f = *w.form;
    AuthoringOnPhoto() { startAuthoring(w, writeBitmapPicture(dir, QStringLiteral("photo.bmp"), TestPhoto::picture())); }
    QRgb shown(int x, int y) const { return f.ImgFace1->picture().pixel(x, y); }
};

}  // namespace

// A press and release without moving, or a stroke along one row, makes no
// part: the title stays red, the part current and the stroke visible.
TEST(Outlining, AnOutlineWithoutWidthOrHeightMakesNoPart) {
    AuthoringOnPhoto a;
    TForm1& f = a.f;
    a.w.click(f.LblHana);
    EXPECT_EQ(titleColour(f.LblHana), kRed);
    EXPECT_FALSE(f.BitBtnHantei->isVisible()) << "zooming is over once outlining begins";

    strokeOnFace(a.w, {{140, 130}});
    EXPECT_FALSE(f.faceAuthoring().state().outlined[3]);
    EXPECT_FALSE(f.faceAuthoring().state().outlineDrawing);

    strokeOnFace(a.w, {{20, 40}, {60, 40}, {100, 40}});
    EXPECT_FALSE(f.faceAuthoring().state().outlined[3]);
    EXPECT_FALSE(f.ImgTuikaHana->isVisible());
    EXPECT_EQ(titleColour(f.LblHana), kRed);
    EXPECT_EQ(f.faceAuthoring().state().currentPart, 3);
    int blue = 0;
    for (int x = 20; x <= 100; ++x) blue += a.shown(x, 40) == kBlue;
    EXPECT_GT(blue, 10) << "the dotted stroke stays visible";

    // The next outline can start at once.
    strokeOnFace(a.w, {{125, 110}, {175, 110}, {175, 160}, {125, 160}});
    EXPECT_TRUE(f.faceAuthoring().state().outlined[3]);
}

// The nose outlined from a skin pixel: the region is painted skin, the
// preview holds the nose's box unpainted at its fixed place, the title is
// yellow again and no part is current.
TEST(Outlining, TheOutlinedRegionIsPaintedInThePressColourAndThePreviewIsUnpainted) {
    AuthoringOnPhoto a;
    TForm1& f = a.f;
    EXPECT_EQ(a.shown(150, 135), TestPhoto::nose);
    outlinePart(a.w, 3, partBox(3));

    EXPECT_TRUE(f.faceAuthoring().state().outlined[3]);
    EXPECT_EQ(f.faceAuthoring().state().fillColor[3], TestPhoto::skin);
    EXPECT_EQ(a.shown(150, 135), TestPhoto::skin) << "the nose is painted over";
    EXPECT_EQ(a.shown(126, 111), TestPhoto::skin);
    EXPECT_EQ(a.shown(95, 90), TestPhoto::eye) << "outside the outline nothing changes";
    EXPECT_EQ(a.shown(0, 0), TestPhoto::skin);

    ImageControl* preview = f.ImgTuikaHana;
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->geometry(), QRect(472, 246, 50, 50));
    ASSERT_EQ(preview->picture().size(), QSize(50, 50));
    EXPECT_EQ(preview->picture().pixel(150 - 125, 135 - 110), TestPhoto::nose);
    EXPECT_EQ(preview->picture().pixel(0, 0), TestPhoto::skin);
    EXPECT_EQ(preview->picture().pixel(49, 49), TestPhoto::skin) << "the last column and row are not in the box";

    EXPECT_EQ(titleColour(f.LblHana), kYellow);
    EXPECT_EQ(f.faceAuthoring().state().currentPart, 0);
    EXPECT_FALSE(f.BitBtnToroku->isVisible());
    EXPECT_EQ(f.faceAuthoring().state().outlinePoints[3].size(), 4u) << "the press and the moves, not the release";
}

// Each cut is taken from the unpainted face: an outline overlapping a part
// painted before carries none of its paint.
TEST(Outlining, APreviewNeverHoldsThePaintOfAnotherPart) {
    AuthoringOnPhoto a;
    TForm1& f = a.f;
    // The right eye starts on a dark eye pixel, so its paint is eye-coloured
    // over skin; the left eye's box then covers most of it.
    a.w.click(f.LblRMe);
    strokeOnFace(a.w, {{85, 85}, {140, 85}, {140, 140}, {85, 140}});
    EXPECT_EQ(a.shown(120, 120), TestPhoto::eye);
    // Begun on skin outside that paint, around a box of skin only.
    a.w.click(f.LblLMe);
    strokeOnFace(a.w, {{100, 142}, {100, 102}, {130, 102}, {130, 142}});

    const QImage cut = f.ImgTuikaLMe->picture();
    ASSERT_EQ(cut.size(), QSize(30, 40));
    for (int y = 0; y < cut.height(); ++y)
        for (int x = 0; x < cut.width(); ++x)
            ASSERT_EQ(cut.pixel(x, y), TestPhoto::skin) << x << "," << y;
    // Painted later, the left eye covers the right where they overlap.
    EXPECT_EQ(a.shown(120, 120), TestPhoto::skin);
    EXPECT_EQ(a.shown(90, 130), TestPhoto::eye);
}

// While a stroke is drawn the painted parts are hidden; the release brings
// them back.
TEST(Outlining, PaintedPartsHideDuringAStrokeAndReturnAtTheRelease) {
    AuthoringOnPhoto a;
    TForm1& f = a.f;
    outlinePart(a.w, 3, partBox(3));
    EXPECT_EQ(a.shown(150, 135), TestPhoto::skin);
    a.w.click(f.LblKuti);
    a.w.press(f.ImgFace1, {110, 160});
    a.w.move(f.ImgFace1, {190, 160});
    EXPECT_EQ(a.shown(150, 135), TestPhoto::nose);
    a.w.move(f.ImgFace1, {190, 200});
    a.w.move(f.ImgFace1, {110, 200});
    a.w.release(f.ImgFace1, {110, 200});
    EXPECT_EQ(a.shown(150, 135), TestPhoto::skin);
    EXPECT_EQ(a.shown(150, 180), TestPhoto::skin);
}

// Registration opens with the fourth outline; re-opening a part empties its
// preview, removes its paint and closes registration again (still shown).
TEST(Outlining, AllFourOutlinedOfferRegistrationAndReopeningAPartWithdrawsIt) {
    AuthoringOnPhoto a;
    TForm1& f = a.f;
    for (int s = 1; s <= 3; ++s) outlinePart(a.w, s, partBox(s));
    EXPECT_FALSE(f.BitBtnToroku->isVisible());
    outlinePart(a.w, 4, partBox(4));
    EXPECT_EQ(f.BitBtnToroku->text(), QStringLiteral("登録"));
    EXPECT_TRUE(f.BitBtnToroku->isVisible() && f.BitBtnToroku->isEnabled());
    EXPECT_TRUE(f.Label1->caption().startsWith(QStringLiteral("これでよければ、この顔を追加登録します。\r")));
    EXPECT_EQ(a.shown(95, 90), TestPhoto::skin);

    a.w.click(f.LblRMe);
    EXPECT_TRUE(f.ImgTuikaRMe->picture().isNull());
    EXPECT_EQ(a.shown(95, 90), TestPhoto::eye) << "its paint is gone";
    EXPECT_EQ(a.shown(150, 135), TestPhoto::skin) << "the other parts stay painted";
    EXPECT_TRUE(f.BitBtnToroku->isVisible());
    EXPECT_FALSE(f.BitBtnToroku->isEnabled());
    EXPECT_EQ(titleColour(f.LblRMe), kRed);

    outlinePart(a.w, 1, partBox(1));
    EXPECT_TRUE(f.BitBtnToroku->isEnabled());
}

// A right click picks colours only for an outlined part; every press on the
// face then re-picks the colour from the pixel shown and repaints.
TEST(Outlining, RightClickOnAnOutlinedTitleRepicksTheFillColourAtEachPress) {
    AuthoringOnPhoto a;
    TForm1& f = a.f;
    a.w.click(f.LblKuti, {-1, -1}, Qt::RightButton);
    EXPECT_EQ(f.faceAuthoring().state().currentPart, 4);
    EXPECT_EQ(titleColour(f.LblKuti), kYellow) << "the mouth is not outlined yet";
    EXPECT_EQ(f.faceAuthoring().state().pickMode, 0);

    outlinePart(a.w, 1, partBox(1));
    a.w.click(f.LblRMe, {-1, -1}, Qt::RightButton);
    EXPECT_EQ(titleColour(f.LblRMe), kGreen);
    EXPECT_EQ(titleColour(f.LblKuti), kYellow);
    EXPECT_EQ(f.faceAuthoring().state().pickMode, 1);

    a.w.click(f.ImgFace1, {150, 180});  // the mouth's red
    EXPECT_EQ(a.shown(95, 90), TestPhoto::mouth);
    a.w.click(f.ImgFace1, {150, 135});  // the nose's brown
    EXPECT_EQ(a.shown(95, 90), TestPhoto::nose);
    EXPECT_EQ(f.faceAuthoring().state().fillColor[1], TestPhoto::nose);
    EXPECT_EQ(titleColour(f.LblRMe), kGreen);
    EXPECT_TRUE(f.faceAuthoring().state().outlined[1]);
    EXPECT_EQ(a.shown(150, 180), TestPhoto::mouth) << "a pick paints nothing else";
}
