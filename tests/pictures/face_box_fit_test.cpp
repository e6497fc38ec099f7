// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/face_box_fit.h"

#include <gtest/gtest.h>

// The single-precision factor leaves some sides one short of the exact value;
// pictures smaller than the box are enlarged the same way.
TEST(FaceBoxFit, LongerSideBecomes300AndTheOtherIsTruncated) {
    EXPECT_EQ(fitIntoFaceBox(9, 9), QSize(300, 299));
    EXPECT_EQ(fitIntoFaceBox(640, 480), QSize(300, 225));
    EXPECT_EQ(fitIntoFaceBox(480, 640), QSize(225, 300));
    EXPECT_EQ(fitIntoFaceBox(400, 300), QSize(300, 225));
    EXPECT_EQ(fitIntoFaceBox(150, 100), QSize(300, 200));
    EXPECT_EQ(fitIntoFaceBox(300, 300), QSize(300, 300));
}

TEST(FaceBoxFit, ZoomIntoARectangleCutsThePicturePixelsItCovers) {
    const float k = zoomFactor(1200, 900);
    EXPECT_EQ(k, 4.0f);
    EXPECT_EQ(zoomFactor(900, 1200), 4.0f);
    const QRect cut = zoomSourceRect(QRect(10, 20, 200, 100), k);
    EXPECT_EQ(cut, QRect(40, 80, 800, 400));
    EXPECT_EQ(zoomedDrawSize(200, 100), QSize(300, 150));
    EXPECT_EQ(zoomedDrawSize(100, 200), QSize(150, 300));
    EXPECT_EQ(zoomedDrawSize(7, 3), QSize(300, 128));
}

TEST(FaceBoxFit, SinglePrecisionZoomFactorLeavesProductsJustShort) {
    // 1000 / 300 in single precision lies just below 10 / 3, so multiples of
    // three come out one short once truncated.
    const float k = zoomFactor(1000, 500);
    EXPECT_LT(static_cast<double>(k), 10.0 / 3.0);
    const QRect cut = zoomSourceRect(QRect(3, 6, 9, 30), k);
    EXPECT_EQ(cut, QRect(9, 19, 29, 99));
    EXPECT_EQ(zoomSourceRect(QRect(4, 7, 1, 2), k), QRect(13, 23, 3, 6));
}

TEST(FaceBoxFit, CutBeyondTheSourceIsWhite) {
    QImage source(4, 4, QImage::Format_RGB32);
    source.fill(qRgb(10, 20, 30));
    source.setPixel(3, 3, qRgb(200, 0, 0));
    const QImage cut = cutRegion(source, QRect(2, 2, 4, 3));
    ASSERT_EQ(cut.size(), QSize(4, 3));
    EXPECT_EQ(cut.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(cut.pixel(1, 1), qRgb(200, 0, 0));
    EXPECT_EQ(cut.pixel(2, 0), qRgb(255, 255, 255));
    EXPECT_EQ(cut.pixel(0, 2), qRgb(255, 255, 255));

    const QImage before = cutRegion(source, QRect(-2, -1, 3, 2));
    EXPECT_EQ(before.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(before.pixel(2, 1), qRgb(10, 20, 30));
}

TEST(FaceBoxFit, AnImpossiblyLargeCutIsRefusedRatherThanAllocated) {
    const QImage source(10, 10, QImage::Format_RGB32);
    EXPECT_TRUE(cutRegion(source, QRect(0, 0, 200000, 200000)).isNull());
}
