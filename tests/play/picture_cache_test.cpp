// SPDX-License-Identifier: GPL-3.0-or-later
// The decoded pictures kept within a budget: the least recently used go
// first, and a deletion renumbers what is kept.
#include "play/picture_cache.h"

#include <gtest/gtest.h>

namespace {

CellPicture picture(int side, QRgb colour) {
    QImage img(side, side, QImage::Format_RGB32);
    img.fill(colour);
    return CellPicture{img, QSize(side * 2, side * 2), {}};
}

const QSize kBox(100, 140);

}  // namespace

TEST(PictureCache, KeepsTheRecentlyUsedWithinItsBudget) {
    // Room for three pictures of 40 x 40 (6,400 bytes each) and their bookkeeping.
    PictureCache cache(3 * (6400 + 256));
    for (int face = 0; face < 3; ++face) cache.insert({face, 0, kBox}, picture(40, qRgb(face, 0, 0)));
    EXPECT_EQ(cache.size(), 3);
    ASSERT_NE(cache.find({0, 0, kBox}), nullptr);  // face 0 used again: face 1 is now the oldest
    cache.insert({3, 0, kBox}, picture(40, qRgb(3, 0, 0)));
    EXPECT_EQ(cache.size(), 3);
    EXPECT_EQ(cache.find({1, 0, kBox}), nullptr);
    ASSERT_NE(cache.find({0, 0, kBox}), nullptr);
    EXPECT_EQ(qRed(cache.find({3, 0, kBox})->picture.pixel(0, 0)), 3);
    EXPECT_LE(cache.bytes(), 3 * (6400 + 256));
    // The same face at another size or of another kind is another picture.
    EXPECT_EQ(cache.find({0, 1, kBox}), nullptr);
    EXPECT_EQ(cache.find({0, 0, QSize(60, 60)}), nullptr);
    // One picture larger than the whole budget is still kept: it is about to be drawn.
    cache.insert({9, 0, kBox}, picture(100, qRgb(9, 0, 0)));
    EXPECT_EQ(cache.size(), 1);
    ASSERT_NE(cache.find({9, 0, kBox}), nullptr);
    EXPECT_EQ(cache.find({9, 0, kBox})->sourceSize, QSize(200, 200));
}

TEST(PictureCache, AfterADeletionTheLaterFacesPicturesMoveDownOneNumber) {
    PictureCache cache(1 << 20);
    for (int face = 0; face < 5; ++face)
        for (int kind : {0, 2}) cache.insert({face, kind, kBox}, picture(10, qRgb(face, kind, 0)));
    const qint64 face3 = cache.find({3, 0, kBox})->picture.cacheKey();
    cache.faceRemoved(1);
    EXPECT_EQ(cache.size(), 8);
    EXPECT_EQ(qRed(cache.find({0, 0, kBox})->picture.pixel(0, 0)), 0);
    EXPECT_EQ(qRed(cache.find({1, 2, kBox})->picture.pixel(0, 0)), 2) << "face 2 is face 1 now";
    EXPECT_EQ(cache.find({2, 0, kBox})->picture.cacheKey(), face3) << "moved, not copied";
    EXPECT_EQ(cache.find({4, 0, kBox}), nullptr);
    cache.forgetFace(3);
    EXPECT_EQ(cache.find({3, 2, kBox}), nullptr);
    EXPECT_EQ(cache.size(), 6);
}
