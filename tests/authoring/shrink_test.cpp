// SPDX-License-Identifier: GPL-3.0-or-later
#include "authoring/shrink.h"

#include "support/temp_app_dir.h"

#include <gtest/gtest.h>

namespace {
std::array<QSize, 4> sizes(QSize a, QSize b, QSize c, QSize d) { return {a, b, c, d}; }
}  // namespace

TEST(Shrink, PartsWithinTheLimitKeepTheirScale) {
    EXPECT_EQ(shrinkFactor(sizes({85, 85}, {40, 30}, {85, 10}, {1, 1})), 1.0f);
    const QImage face = testPicture(300, 225);
    EXPECT_EQ(shrinkPicture(face, 1.0f), face);
}

TEST(Shrink, A120PixelNoseScalesTheWholeFace) {
    const float k = shrinkFactor(sizes({40, 30}, {40, 30}, {120, 60}, {80, 40}));
    EXPECT_EQ(k, 85.0f / 120.0f);
    EXPECT_EQ(scaleTruncated(120, k), 84);
    EXPECT_EQ(scaleTruncated(60, k), 42);
    EXPECT_EQ(scaleTruncated(300, k), 212);
    EXPECT_EQ(scaleTruncated(225, k), 159);
    EXPECT_EQ(scaleTruncated(90, k), 63);
    EXPECT_EQ(scaleTruncated(100, k), 70);
    EXPECT_EQ(scaleTruncated(-90, k), -63);  // toward zero
}

TEST(Shrink, ASideOf86ShrinksTo84) {
    const float k = shrinkFactor(sizes({10, 86}, {10, 10}, {10, 10}, {10, 10}));
    EXPECT_LT(k, 1.0f);
    EXPECT_EQ(scaleTruncated(86, k), 84);
    EXPECT_EQ(shrinkPicture(testPicture(10, 86), k).size(), QSize(9, 84));
}

TEST(Shrink, AThinPartKeepsAtLeastOnePixel) {
    EXPECT_EQ(shrinkPicture(testPicture(1, 200), 85.0f / 200.0f).size(), QSize(1, 85));
}

TEST(Shrink, NewFaceSharesOneScaleAcrossPicturesAndAnswers) {
    const QImage unpainted = testPicture(300, 225, 0xff808080);
    const QImage painted = testPicture(300, 225, 0xff00ff00);
    const std::array<QImage, 4> parts{testPicture(50, 30), testPicture(50, 30),
                                      testPicture(120, 60), testPicture(80, 40)};
    const std::array<QPoint, 4> corners{QPoint(90, 100), QPoint(160, 100), QPoint(110, 120),
                                        QPoint(100, 170)};
    const NewFacePictures face = buildNewFace(unpainted, painted, parts, corners);
    EXPECT_EQ(face.pictures[0].size(), QSize(212, 159));
    EXPECT_EQ(face.pictures[5].size(), QSize(212, 159));
    EXPECT_EQ(face.pictures[0].pixel(100, 5), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(face.pictures[5].pixel(100, 5), qRgb(0, 0xff, 0));
    EXPECT_EQ(face.pictures[1].size(), QSize(35, 21));
    EXPECT_EQ(face.pictures[3].size(), QSize(84, 42));
    EXPECT_EQ(face.pictures[4].size(), QSize(56, 28));
    // X1..X4 then Y1..Y4.
    const FaceAnswer expected{63, 113, 77, 70, 70, 70, 84, 120};
    EXPECT_EQ(face.answer, expected);
}

TEST(Shrink, NewFaceWithSmallPartsIsWrittenAsAuthored) {
    const std::array<QImage, 4> parts{testPicture(85, 30), testPicture(50, 30),
                                      testPicture(60, 85), testPicture(80, 40)};
    const std::array<QPoint, 4> corners{QPoint(-4, 100), QPoint(160, 101), QPoint(110, 120),
                                        QPoint(100, 299)};
    const NewFacePictures face =
        buildNewFace(testPicture(300, 225), testPicture(300, 225), parts, corners);
    EXPECT_EQ(face.pictures[0].size(), QSize(300, 225));
    EXPECT_EQ(face.pictures[3].size(), QSize(60, 85));
    const FaceAnswer expected{-4, 160, 110, 100, 100, 101, 120, 299};
    EXPECT_EQ(face.answer, expected);
}
