// SPDX-License-Identifier: GPL-3.0-or-later
// Nearest-neighbour stretching: whole source pixels repeated or dropped, never
// blended, and proportional fitting computed in integers.
#include "pictures/stretch.h"
#include "support/temp_app_dir.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

QImage fromRows(const std::vector<std::vector<QRgb>>& rows) {
    QImage img(int(rows[0].size()), int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, rows[y][x]);
    return img;
}

std::vector<QRgb> row(const QImage& img, int y) {
    std::vector<QRgb> r;
    for (int x = 0; x < img.width(); ++x) r.push_back(img.pixel(x, y));
    return r;
}

constexpr QRgb A = 0xff102030, B = 0xffa0b0c0, C = 0xff00ff00, D = 0xffff00ff;

}  // namespace

TEST(Stretch, ColumnsAndRowsAreRepeatedOrDroppedWhole) {
    const QImage twoByOne = fromRows({{A, B}});
    EXPECT_EQ(row(stretchNearest(twoByOne, 4, 1), 0), (std::vector<QRgb>{A, A, B, B}));
    EXPECT_EQ(row(stretchNearest(twoByOne, 3, 1), 0), (std::vector<QRgb>{A, A, B}));

    const QImage square = fromRows({{A, B, C, D}, {B, C, D, A}, {C, D, A, B}, {D, A, B, C}});
    const QImage half = stretchNearest(square, 2, 2);
    EXPECT_EQ(row(half, 0), (std::vector<QRgb>{A, C}));
    EXPECT_EQ(row(half, 1), (std::vector<QRgb>{C, A}));
    const QImage tall = stretchNearest(square, 1, 8);
    for (int y = 0; y < 8; ++y) EXPECT_EQ(tall.pixel(0, y), square.pixel(0, y / 2)) << y;

    EXPECT_TRUE(stretchNearest(square, 0, 5).isNull());
    EXPECT_TRUE(stretchNearest(QImage(), 5, 5).isNull());
}

TEST(Stretch, NoNewColoursAppear) {
    const QImage source = testPicture(7, 5);
    QSet<QRgb> colours;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) colours.insert(source.pixel(x, y));
    for (const QSize size : {QSize(23, 11), QSize(3, 2), QSize(100, 1)}) {
        const QImage out = stretchNearest(source, size.width(), size.height());
        ASSERT_EQ(out.size(), size);
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x) ASSERT_TRUE(colours.contains(out.pixel(x, y)));
    }
}

TEST(Stretch, ProportionalSizeFillsOneSideOfTheBox) {
    EXPECT_EQ(proportionalSize({30, 60}, {60, 60}), QSize(30, 60));
    EXPECT_EQ(proportionalSize({120, 40}, {60, 60}), QSize(60, 20));
    EXPECT_EQ(proportionalSize({50, 100}, {100, 140}), QSize(70, 140));
    EXPECT_EQ(proportionalSize({300, 200}, {100, 140}), QSize(100, 66));
    EXPECT_EQ(proportionalSize({10, 14}, {100, 140}), QSize(100, 140));
    // Large sides do not overflow the cross products.
    EXPECT_EQ(proportionalSize({100000, 50000}, {60000, 60000}), QSize(60000, 30000));
    EXPECT_EQ(proportionalSize({0, 10}, {60, 60}), QSize(0, 0));
    EXPECT_EQ(proportionalSize({10, 10}, {0, 60}), QSize(0, 0));
}

TEST(Stretch, DrawingIsClippedToTheCanvasAndLeavesTheRestAlone) {
    QImage canvas(10, 10, QImage::Format_RGB32);
    canvas.fill(0xff000000);
    // A 2x2 picture into an 8x8 rect that starts 2 pixels outside the canvas:
    // each source pixel covers a 4x4 block, the first partly cut away.
    stretchDraw(canvas, QRect(-2, -2, 8, 8), fromRows({{A, B}, {C, D}}));
    EXPECT_EQ(canvas.pixel(0, 0), A);
    EXPECT_EQ(canvas.pixel(1, 1), A);
    EXPECT_EQ(canvas.pixel(2, 0), B);
    EXPECT_EQ(canvas.pixel(0, 2), C);
    EXPECT_EQ(canvas.pixel(5, 5), D);
    EXPECT_EQ(canvas.pixel(6, 5), 0xff000000u);
    EXPECT_EQ(canvas.pixel(5, 6), 0xff000000u);
    EXPECT_EQ(canvas.pixel(9, 9), 0xff000000u);

    const QImage before = canvas;
    stretchDraw(canvas, QRect(20, 20, 5, 5), fromRows({{A}}));
    stretchDraw(canvas, QRect(2, 2, 0, 5), fromRows({{A}}));
    EXPECT_EQ(canvas, before);
}
