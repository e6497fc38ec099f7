// SPDX-License-Identifier: GPL-3.0-or-later
// The board's widgets: a scroll box whose range follows its children once per
// turn of the event loop, and an image control holding a picture fitted to
// its drawn size that keeps the geometry of the full one, and a tab widget
// that draws its frame once.
#include "board/image_control.h"
#include "board/page_control.h"
#include "board/scroll_box.h"
#include "support/temp_app_dir.h"

#include <QApplication>
#include <QEvent>
#include <QScrollBar>
#include <QTabWidget>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

bool sameColour(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 3 && std::abs(qGreen(a) - qGreen(b)) <= 3 && std::abs(qBlue(a) - qBlue(b)) <= 3;
}

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

// The palettes' tab widget copies its frame from a picture it drew once: it
// looks as a plain tab widget does, and after a change of tab, size or
// palette it shows the new frame, not the copy of the old one.
TEST(PageControl, ItsFrameLooksAsAPlainTabWidgetsThroughChanges) {
    QWidget window;
    window.resize(900, 520);
    PageControl cached(&window);
    QTabWidget plain(&window);
    for (QTabWidget* tabs : {static_cast<QTabWidget*>(&cached), &plain})
        for (const char* caption : {"右目", "左目", "鼻", "口"}) tabs->addTab(new QWidget, QString::fromUtf8(caption));
    plain.move(440, 0);
    window.show();
    QApplication::processEvents();
    const auto sameLook = [&](const char* after) {
        cached.resize(plain.size());
        QApplication::processEvents();
        const QImage a = cached.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage b = plain.grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(a.size(), b.size()) << after;
        int differing = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) differing += !sameColour(a.pixel(x, y), b.pixel(x, y));
        EXPECT_EQ(differing, 0) << after;
    };
    plain.resize(401, 449);
    sameLook("shown");
    cached.setCurrentIndex(2);
    plain.setCurrentIndex(2);
    sameLook("another tab");
    plain.resize(300, 200);
    sameLook("another size");
    QPalette reddish = plain.palette();
    reddish.setColor(QPalette::Window, QColor(200, 120, 120));
    reddish.setColor(QPalette::Button, QColor(200, 120, 120));
    cached.setPalette(reddish);
    plain.setPalette(reddish);
    sameLook("another palette");
}
