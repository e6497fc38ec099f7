// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/outline.h"

#include <gtest/gtest.h>

namespace {

constexpr QRgb kWhite = 0xffffffff;
constexpr QRgb kPaint = 0xffc08040;
constexpr QRgb kBlue = 0xff0000ff;

QImage whiteCanvas(int w = 40, int h = 40) {
    QImage canvas(w, h, QImage::Format_RGB32);
    canvas.fill(kWhite);
    return canvas;
}

OutlinePointList square(int left, int top, int right, int bottom) {
    return {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
}

OutlinePointList operator+(OutlinePointList a, const OutlinePointList& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

TEST(Outline, BoundingBoxSpansTheExtremePoints) {
    const OutlineBox box = outlineBox({{10, 20}, {4, 25}, {15, 18}, {-3, 22}});
    EXPECT_EQ(box.minX, -3);
    EXPECT_EQ(box.maxX, 15);
    EXPECT_EQ(box.minY, 18);
    EXPECT_EQ(box.maxY, 25);
    EXPECT_EQ(box.width(), 18);
    EXPECT_EQ(box.height(), 7);
    EXPECT_FALSE(box.degenerate());
    // A press without a move, or a stroke along one row, makes no part.
    EXPECT_TRUE(outlineBox({{5, 5}}).degenerate());
    EXPECT_TRUE(outlineBox({{5, 5}, {9, 5}, {20, 5}}).degenerate());
    EXPECT_TRUE(outlineBox({{5, 5}, {5, 9}}).degenerate());
}

TEST(Outline, SquareOutlinePaintsItsInsideAndEdgesButNothingOutside) {
    QImage canvas = whiteCanvas();
    paintOutline(canvas, square(5, 5, 20, 20), kPaint);
    EXPECT_EQ(canvas.pixel(12, 12), kPaint);
    EXPECT_EQ(canvas.pixel(5, 12), kPaint);   // left edge
    EXPECT_EQ(canvas.pixel(20, 12), kPaint);  // right edge, drawn by the pen
    EXPECT_EQ(canvas.pixel(12, 20), kPaint);  // bottom edge
    EXPECT_EQ(canvas.pixel(4, 12), kWhite);
    EXPECT_EQ(canvas.pixel(21, 12), kWhite);
    EXPECT_EQ(canvas.pixel(12, 21), kWhite);
    EXPECT_EQ(canvas.pixel(12, 4), kWhite);
}

TEST(Outline, PaintIsOneExactColourWithoutBlending) {
    // Diagonal edges are where antialiasing would mix colours.
    QImage canvas = whiteCanvas();
    paintOutline(canvas, {{20, 2}, {37, 20}, {20, 37}, {2, 20}}, kPaint);
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            ASSERT_TRUE(canvas.pixel(x, y) == kPaint || canvas.pixel(x, y) == kWhite)
                << x << "," << y;
}

TEST(Outline, FigureEightPaintsBothLoops) {
    QImage canvas = whiteCanvas();
    // Crosses itself at (20, 10): two triangles-like loops left and right.
    paintOutline(canvas, {{2, 2}, {38, 18}, {38, 2}, {2, 18}}, kPaint);
    EXPECT_EQ(canvas.pixel(6, 10), kPaint);
    EXPECT_EQ(canvas.pixel(34, 10), kPaint);
    EXPECT_EQ(canvas.pixel(20, 3), kWhite);
    EXPECT_EQ(canvas.pixel(20, 17), kWhite);
}

TEST(Outline, RegionWoundTwiceStaysUnpaintedButItsEdgesArePainted) {
    QImage canvas = whiteCanvas();
    // Once around the outer square, then once around an inner one.
    paintOutline(canvas, square(2, 2, 36, 36) + OutlinePointList{{2, 2}} + square(12, 12, 26, 26),
                 kPaint);
    EXPECT_EQ(canvas.pixel(19, 19), kWhite);  // enclosed twice
    EXPECT_EQ(canvas.pixel(6, 19), kPaint);   // enclosed once
    EXPECT_EQ(canvas.pixel(26, 19), kPaint);  // the inner curve itself
    EXPECT_EQ(canvas.pixel(19, 12), kPaint);
}

TEST(Outline, EmptyOutlinePaintsNothing) {
    QImage canvas = whiteCanvas(8, 8);
    const QImage before = canvas;
    paintOutline(canvas, {}, kPaint);
    EXPECT_EQ(canvas, before);
}

TEST(Outline, StrokeIsADottedBlueOpenLine) {
    QImage canvas = whiteCanvas();
    drawDottedStroke(canvas, {{2, 5}, {30, 5}, {30, 30}});
    int blue = 0, white = 0;
    for (int x = 2; x <= 29; ++x) (canvas.pixel(x, 5) == kBlue ? blue : white) += 1;
    EXPECT_GT(blue, 5);   // painted
    EXPECT_GT(white, 5);  // with gaps
    // Open: nothing joins the last point (30, 30) back to the first (2, 5).
    for (int x = 8; x <= 24; ++x) {
        const int y = 5 + (x - 2) * 25 / 28;
        for (int dy = -1; dy <= 1; ++dy) EXPECT_EQ(canvas.pixel(x, y + dy), kWhite) << x;
    }
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            ASSERT_TRUE(canvas.pixel(x, y) == kBlue || canvas.pixel(x, y) == kWhite);
}

TEST(Outline, ZoomRectangleIsHollowAndDottedWithEdgesThroughBothCorners) {
    QImage canvas = whiteCanvas();
    drawDottedRectangle(canvas, {30, 25}, {4, 3});  // corners in any order
    auto dotsOnRow = [&](int y) {
        int n = 0;
        for (int x = 0; x < canvas.width(); ++x) n += canvas.pixel(x, y) == kBlue;
        return n;
    };
    auto dotsOnColumn = [&](int x) {
        int n = 0;
        for (int y = 0; y < canvas.height(); ++y) n += canvas.pixel(x, y) == kBlue;
        return n;
    };
    for (int edge : {3, 25}) {
        EXPECT_GT(dotsOnRow(edge), 5) << edge;
        EXPECT_LT(dotsOnRow(edge), 20) << edge;  // dotted, not solid
    }
    for (int edge : {4, 30}) EXPECT_GT(dotsOnColumn(edge), 4) << edge;
    EXPECT_EQ(dotsOnRow(2) + dotsOnRow(26) + dotsOnColumn(3) + dotsOnColumn(31), 0);
    for (int y = 4; y < 25; ++y)
        for (int x = 5; x < 30; ++x) ASSERT_EQ(canvas.pixel(x, y), kWhite) << x << "," << y;
}

TEST(Outline, PartPictureExcludesTheMaximumColumnAndRow) {
    QImage face(10, 10, QImage::Format_RGB32);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) face.setPixel(x, y, qRgb(x * 20, y * 20, 7));
    OutlineBox box;
    box.minX = 2;
    box.maxX = 5;
    box.minY = 3;
    box.maxY = 7;
    const QImage part = cutPartPicture(face, box);
    ASSERT_EQ(part.size(), QSize(3, 4));
    EXPECT_EQ(part.pixel(0, 0), qRgb(40, 60, 7));
    EXPECT_EQ(part.pixel(2, 3), qRgb(80, 120, 7));
}

TEST(Outline, PartPictureBeyondTheFaceIsWhite) {
    QImage face(10, 10, QImage::Format_RGB32);
    face.fill(qRgb(1, 2, 3));
    OutlineBox box;
    box.minX = -2;
    box.maxX = 3;
    box.minY = 8;
    box.maxY = 12;
    const QImage part = cutPartPicture(face, box);
    ASSERT_EQ(part.size(), QSize(5, 4));
    EXPECT_EQ(part.pixel(0, 0), kWhite);
    EXPECT_EQ(part.pixel(2, 0), qRgb(1, 2, 3));
    EXPECT_EQ(part.pixel(2, 2), kWhite);
}
