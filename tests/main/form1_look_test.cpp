// SPDX-License-Identifier: GPL-3.0-or-later
// How the window looks to the player, read from what is rendered: greyed
// captions of disabled command buttons, and the check marks of the BGM menu.
#include "board/image_control.h"
#include "support/test_catalogue.h"
#include "support/window/game_window.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct CaptionInk {
    int green = 0;  // pixels of the caption colour clGreen
    int red = 0;    // pixels of the caption colour clRed
    int grey = 0;   // colourless pixels clearly darker than the button face
};

// The caption pixels of a button as rendered, inside its frame.
CaptionInk captionInk(QPushButton* button) {
    const QImage img = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect inside = img.rect().adjusted(4, 4, -4, -4);
    const QRgb face = img.pixel(inside.left() + 1, inside.center().y());
    CaptionInk ink;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb p = img.pixel(x, y);
            const int r = qRed(p), g = qGreen(p), b = qBlue(p);
            if (g - std::max(r, b) > 50) ++ink.green;
            else if (r - std::max(g, b) > 80) ++ink.red;
            else if (std::max({r, g, b}) - std::min({r, g, b}) < 12 && qGray(face) - qGray(p) > 20) ++ink.grey;
        }
    }
    return ink;
}

// Whether a band of a rendered row holds anything besides its background.
bool bandHasInk(const QImage& img, QRect band) {
    const QRgb background = img.pixel(band.right() + 1, band.top() + 1);
    for (int y = band.top(); y <= band.bottom(); ++y)
        for (int x = band.left(); x <= band.right(); ++x)
            if (img.pixel(x, y) != background) return true;
    return false;
}

}  // namespace

// "削除" before a face is chosen: its green caption is greyed; "キャンセル"
// beside it keeps its red; once a face is chosen "削除" shows its green.
TEST(WindowLook, ADisabledCommandButtonShowsAGreyedCaption) {
    TempAppDir dir;
    writeTestCatalogue(dir, 4);
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    f.D1->trigger();
    ASSERT_FALSE(f.BitBtnToroku->isEnabled());

    const CaptionInk disabled = captionInk(f.BitBtnToroku);
    EXPECT_EQ(disabled.green, 0) << "the caption keeps its colour while disabled";
    EXPECT_GT(disabled.grey, 20) << "the greyed caption is drawn";
    const CaptionInk cancel = captionInk(f.BitBtnCancel);
    EXPECT_GT(cancel.red, 20);

    w.click(w.thumbnail(1), {5, 5});
    ASSERT_TRUE(f.BitBtnToroku->isEnabled());
    const CaptionInk enabled = captionInk(f.BitBtnToroku);
    EXPECT_GT(enabled.green, 20);
    EXPECT_EQ(enabled.grey, 0);
}

// In the BGM and game menus only a checked item shows a mark: the unchecked
// items (ON, 曲の指定, ランダムに, 目隠しで遊ぶ at a first start) show no empty
// check box.
TEST(WindowLook, UncheckedMenuItemsShowNoEmptyCheckBox) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    f.Best1->trigger();
    ASSERT_TRUE(f.OFFF1->isChecked() && f.Best1->isChecked());
    ASSERT_FALSE(f.ONO1->isChecked() || f.S1->isChecked() || f.R2->isChecked() || f.Blind1->isChecked());

    const struct { QMenu* menu; QAction* checked; std::vector<QAction*> unchecked; } menus[] = {
        {f.BGMB1Menu, f.OFFF1, {f.ONO1, f.S1, f.R2}},
        {f.G1Menu, f.Best1, {f.Blind1}},
    };
    for (const auto& m : menus) {
        m.menu->popup(f.mapToGlobal(QPoint(100, 0)));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m.menu));
        const QImage menu = m.menu->grab().toImage().convertToFormat(QImage::Format_RGB32);
        // The check column: left of the captions, which start at the same place in every row.
        const auto markBand = [&](QAction* item) {
            const QRect row = m.menu->actionGeometry(item);
            return QRect(row.left() + 2, row.top() + 2, 16, row.height() - 4);
        };
        EXPECT_TRUE(bandHasInk(menu, markBand(m.checked))) << "the checked item shows its mark";
        for (QAction* unchecked : m.unchecked)
            EXPECT_FALSE(bandHasInk(menu, markBand(unchecked))) << unchecked->objectName().toStdString();
        m.menu->hide();
    }
}
