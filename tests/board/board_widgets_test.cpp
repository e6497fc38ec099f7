// SPDX-License-Identifier: GPL-3.0-or-later
// The board's widgets: a scroll box whose range follows its children once per
// turn of the event loop, and an image control holding a picture fitted to
// its drawn size that keeps the geometry of the full one.
#include "board/image_control.h"
#include "board/scroll_box.h"
#include "support/temp_app_dir.h"

#include <QApplication>
#include <QEvent>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

// Counts the resizes of a scroll box's content: each is one range update.
struct ResizeCounter : QObject {
    int resizes = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Resize) ++resizes;
        return false;
    }
};

}  // namespace

TEST(ScrollBox, ThousandsOfChildMovesUpdateTheRangeOnceAndAReadSeesItAtOnce) {
    ScrollBox box;
    box.resize(200, 100);
    box.show();
    std::vector<QWidget*> children;
    for (int i = 0; i < 2000; ++i) {
        auto* child = new QWidget(box.content());
        child->resize(20, 20);
        child->show();
        children.push_back(child);
    }
    QApplication::processEvents();
    ResizeCounter counter;
    box.content()->installEventFilter(&counter);
    for (int i = 0; i < 2000; ++i) children[i]->move(0, 10 * i);
    // Asked for before the event loop came round: brought up to date first.
    box.setVerticalPosition(5000);
    EXPECT_EQ(box.verticalPosition(), 5000);
    EXPECT_EQ(box.content()->height(), 10 * 1999 + 20);
    QApplication::processEvents();
    for (int i = 0; i < 2000; ++i) children[i]->move(0, 5 * i);
    QApplication::processEvents();
    EXPECT_EQ(box.content()->height(), 5 * 1999 + 20);
    EXPECT_EQ(counter.resizes, 2) << "one update for each batch of moves";
}

TEST(ImageControl, AFittedPictureDrawsWhereTheFullPictureWould) {
    ImageControl full, fitted;
    for (ImageControl* c : {&full, &fitted}) {
        c->resize(100, 140);
        c->setStretch(true);
        c->setProportional(true);
    }
    const QImage picture = testPicture(300, 283);
    full.setPicture(picture);
    fitted.setFittedPicture(picture.scaled(100, 94), picture.size());
    EXPECT_EQ(fitted.sourceSize(), QSize(300, 283));
    EXPECT_EQ(fitted.picture().size(), QSize(100, 94));
    EXPECT_EQ(fitted.drawnRect(), full.drawnRect());
    EXPECT_EQ(fitted.renderedPicture().size(), full.renderedPicture().size());
    EXPECT_EQ(fitted.renderedPicture().cacheKey(), fitted.picture().cacheKey()) << "drawn as it is, no copy";
    // Sized by its own picture, the control takes the full picture's size.
    fitted.setStretch(false);
    fitted.setAutoSize(true);
    EXPECT_EQ(fitted.size(), QSize(300, 283));
    // Drawn on through the canvas, it is a picture of its own size again.
    fitted.canvas() = QImage(10, 10, QImage::Format_RGB32);
    fitted.pictureChanged();
    EXPECT_EQ(fitted.sourceSize(), QSize(10, 10));
    fitted.clearPicture();
    EXPECT_FALSE(fitted.sourceSize().isValid());
}
