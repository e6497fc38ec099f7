// SPDX-License-Identifier: GPL-3.0-or-later
// Which decoder a chosen picture gets, from its name.
#include "authoring/picture_kind.h"

#include <gtest/gtest.h>

// The extension in any letter case; what followed the first dot of the path
// before still counts; everything else is no picture.
TEST(PictureKind, TheExtensionInAnyCaseAndTheOlderFirstDotReading) {
    struct Case { const char* path; PictureKind kind; };
    const Case cases[] = {
        // Every spelling the old reading accepted keeps its kind.
        {"/p/face.bmp", PictureKind::Bitmap}, {"/p/face.BMP", PictureKind::Bitmap},
        {"/p/face.jpg", PictureKind::Jpeg}, {"/p/face.JPG", PictureKind::Jpeg},
        {"/p/face.jpeg", PictureKind::Jpeg}, {"/p/face.JPEG", PictureKind::Jpeg},
        {"/p/face.bmpx", PictureKind::Bitmap}, {"/p/face.jpgx", PictureKind::Jpeg},
        // Mixed case, as cameras and other systems write them.
        {"/p/Other.Jpg", PictureKind::Jpeg}, {"/p/face.Bmp", PictureKind::Bitmap},
        {"/p/face.JPeg", PictureKind::Jpeg}, {"/p/face.jPG", PictureKind::Jpeg},
        // The file's own extension counts, whatever dots the folders or the
        // name hold before it.
        {"/my.photos/face.jpg", PictureKind::Jpeg}, {"/my.photos/face.BMP", PictureKind::Bitmap},
        {"/p/2024.01.06 family.Jpeg", PictureKind::Jpeg},
        // No picture.
        {"/p/face", PictureKind::None}, {"", PictureKind::None}, {"/p/face.png", PictureKind::None},
        {"/p/face.jp", PictureKind::None}, {"/p/face.bm", PictureKind::None},
        {"/my.photos/face.gif", PictureKind::None}, {"/p/jpg", PictureKind::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pictureKindOfPath(QString::fromUtf8(c.path)), c.kind) << c.path;
}
