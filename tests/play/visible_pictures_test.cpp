// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures the window is about to show, decoded on the workers: each
// arrives at its client at its drawn size, a wish replaced before it is
// decoded is dropped, and what was decoded while the files changed is not
// trusted.
#include "catalogue/catalogue_files.h"
#include "files/app_error.h"
#include "play/visible_pictures.h"
#include "support/test_catalogue.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

bool near(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) < 24 && std::abs(qGreen(a) - qGreen(b)) < 24 &&
           std::abs(qBlue(a) - qBlue(b)) < 24;
}

const QSize kBox(100, 140);

}  // namespace

// A failure is kept too, so that it is not read again and again; nothing
// in is decoded again when wanted again.
TEST(VisiblePictures, EachWantedPictureArrivesOnceAtItsClientAtItsDrawnSize) {
    TempAppDir dir;
    writeTestCatalogue(dir, 6);
    QFile::remove(facePicturePath(dir.path(), 4, 0));
    VisiblePictures pictures(dir.path());
    std::vector<int> arrived;
    pictures.setArrival(0, [&](const PictureKey& key, const CellPicture&) { arrived.push_back(key.face); });
    pictures.setArrival(1, [&](const PictureKey&, const CellPicture&) { arrived.push_back(-1); });
    pictures.want(0, {{0, 0, kBox}, {4, 0, kBox}, {2, 0, kBox}});
    pictures.want(1, {{1, 1, QSize(20, 20)}});
    pictures.finish();
    std::sort(arrived.begin(), arrived.end());
    EXPECT_EQ(arrived, (std::vector<int>{-1, 0, 2, 4}));
    ASSERT_NE(pictures.find({0, 0, kBox}), nullptr);
    EXPECT_EQ(pictures.find({0, 0, kBox})->picture.size(), QSize(100, 125));  // 120 x 150 fitted into 100 x 140
    const CellPicture* missing = pictures.find({4, 0, kBox});
    ASSERT_NE(missing, nullptr);
    EXPECT_TRUE(missing->picture.isNull());
    EXPECT_EQ(missing->error, fileOpenErrorText(facePicturePath(dir.path(), 4, 0)));

    arrived.clear();
    pictures.want(0, {{0, 0, kBox}, {4, 0, kBox}});
    EXPECT_FALSE(pictures.loading());
    pictures.finish();
    EXPECT_TRUE(arrived.empty());
}

TEST(VisiblePictures, WhatWasDecodedWhileTheFilesChangedIsDecodedAgain) {
    TempAppDir dir;
    writeTestCatalogue(dir, 4);
    VisiblePictures pictures(dir.path());
    pictures.want(0, {{1, 0, kBox}, {2, 0, kBox}, {3, 0, kBox}});
    // A deletion of face 1 begins while they are decoded: the later faces'
    // pictures take the numbers one down.
    pictures.changeBegins();
    pictures.want(0, {{1, 0, kBox}, {2, 0, kBox}, {3, 0, kBox}});  // a scroll meanwhile waits
    for (int face = 1; face < 3; ++face)
        QFile::rename(facePicturePath(dir.path(), face + 1, 0), facePicturePath(dir.path(), face, 0) + ".new");
    for (int face = 1; face < 3; ++face) {
        QFile::remove(facePicturePath(dir.path(), face, 0));
        QFile::rename(facePicturePath(dir.path(), face, 0) + ".new", facePicturePath(dir.path(), face, 0));
    }
    pictures.changeEnded();
    pictures.faceRemoved(1);  // the wishes follow: face 3 is face 2 now
    pictures.finish();  // what came in from before the change is asked for again, and waited for
    EXPECT_FALSE(pictures.loading());
    EXPECT_EQ(pictures.find({3, 0, kBox}), nullptr) << "no face 3 is left to want";
    for (int face = 1; face < 3; ++face) {
        const CellPicture* in = pictures.find({face, 0, kBox});
        ASSERT_NE(in, nullptr) << face;
        EXPECT_TRUE(near(in->picture.pixel(10, 10), testFaceColour(face + 1, 0))) << "face " << face;
    }
    // The last wish of a client replaces its earlier ones that still wait.
    pictures.want(0, {{0, 0, kBox}});
    pictures.want(0, {{0, 2, kBox}});
    pictures.finish();
    EXPECT_NE(pictures.find({0, 2, kBox}), nullptr);
}
