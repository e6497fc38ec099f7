// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/library.h"

#include "files/app_error.h"
#include "pictures/jpeg_codec.h"
#include "support/app_error_of.h"
#include "support/temp_app_dir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QString createErrorFor(const QString& appDir, const QString& name) {
    return appErrorOf([&] { librarySavePath(appDir, name); });
}

}  // namespace

TEST(Library, ListsSavedFacesWithoutTheirExtension) {
    TempAppDir app;
    app.writeBytes(QStringLiteral("Library/a.b.jpg"), "x");
    app.writeBytes(QStringLiteral("Library/花子.jpg"), "x");
    app.writeBytes(QStringLiteral("Library/.hidden.jpg"), "x");
    app.writeBytes(QStringLiteral("Library/notes.txt"), "x");
    app.writeBytes(QStringLiteral("Library/photo.jpeg"), "x");
    const LibraryListing listing = listLibrary(app.path());
    EXPECT_TRUE(listing.anyEntry);
    QStringList names = listing.names;
    names.sort();
    EXPECT_EQ(names, (QStringList{QStringLiteral(".hidden"), QStringLiteral("a.b"),
                                  QStringLiteral("花子")}));
}

TEST(Library, FolderNamedLikeAPictureCountsButIsNotListed) {
    TempAppDir app;
    QDir().mkpath(app.path() + QStringLiteral("Library/x.jpg"));
    const LibraryListing listing = listLibrary(app.path());
    EXPECT_TRUE(listing.names.isEmpty());
    EXPECT_TRUE(listing.anyEntry);
}

TEST(Library, MissingOrEmptyFolderListsNothing) {
    TempAppDir app;
    EXPECT_FALSE(listLibrary(app.path()).anyEntry);
    QDir().mkpath(app.path() + QStringLiteral("Library"));
    const LibraryListing empty = listLibrary(app.path());
    EXPECT_FALSE(empty.anyEntry);
    EXPECT_TRUE(empty.names.isEmpty());
}

TEST(Library, FolderAndExtensionAreFoundWhateverTheirCase) {
    TempAppDir app;
    app.writeBytes(QStringLiteral("library/Upper.JPG"), "x");
    const LibraryListing listing = listLibrary(app.path());
    EXPECT_EQ(listing.names, QStringList{QStringLiteral("Upper")});
}

TEST(Library, SavePathIsTheNameAsTyped) {
    TempAppDir app;
    const QString plain = librarySavePath(app.path(), QStringLiteral("花子"));
    EXPECT_TRUE(plain.endsWith(QStringLiteral("/Library/花子.jpg"))) << plain.toStdString();
    EXPECT_TRUE(plain.startsWith(app.path()));
    // Spaces are part of the name: a trailing space names another file.
    const QString spaced = librarySavePath(app.path(), QStringLiteral("花子 "));
    EXPECT_TRUE(spaced.endsWith(QStringLiteral("/花子 .jpg")));
    EXPECT_NE(spaced, plain);
    EXPECT_TRUE(librarySavePath(app.path(), QStringLiteral(" a")).endsWith(QStringLiteral("/ a.jpg")));
}

TEST(Library, SavePathFindsAnExistingFaceWhateverItsCase) {
    TempAppDir app;
    app.writeBytes(QStringLiteral("Library/Hanako.jpg"), "x");
    EXPECT_EQ(librarySavePath(app.path(), QStringLiteral("hanako")),
              app.path() + QStringLiteral("Library/Hanako.jpg"));
}

// Names that would write outside the library or that no file system keeps as typed.
TEST(Library, HostileNamesAreRefusedWithTheCreateError) {
    TempAppDir app;
    const QStringList refused{QString(),
                              QStringLiteral("../escape"),
                              QStringLiteral("sub/name"),
                              QStringLiteral("sub\\name"),
                              QStringLiteral("tab\there"),
                              QStringLiteral("line\rbreak"),
                              QString(QStringLiteral("nul")) + QChar(0) + QStringLiteral("x"),
                              QStringLiteral("del\x7f"),
                              QString(QChar(0xd800)) + QStringLiteral("lone"),
                              QString(252, QLatin1Char('a')),
                              QString(84, QChar(0x82b1))};  // 252 bytes in UTF-8
    for (const QString& name : refused) {
        const QString message = createErrorFor(app.path(), name);
        EXPECT_TRUE(message.startsWith(QStringLiteral("ファイル ")) &&
                    message.endsWith(QStringLiteral(" を作成できません")))
            << name.toStdString() << " -> " << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("Library"))) << message.toStdString();
    }
    // The longest names that fit are accepted.
    EXPECT_TRUE(createErrorFor(app.path(), QString(251, QLatin1Char('a'))).isEmpty());
    EXPECT_TRUE(createErrorFor(app.path(), QString(83, QChar(0x82b1)) + QStringLiteral("ab")).isEmpty());
    EXPECT_TRUE(createErrorFor(app.path(), QStringLiteral("...")).isEmpty());
}

// "." and ".." with the extension are "..jpg" and "...jpg": ordinary files
// inside the library, saved there and listed back under the names typed.
TEST(Library, DotNamesAreOrdinaryFilesInsideTheLibrary) {
    TempAppDir app;
    QImage face(30, 40, QImage::Format_RGB32);
    face.fill(qRgb(200, 40, 40));
    for (const QString& name : {QStringLiteral("."), QStringLiteral("..")}) {
        const QString path = librarySavePath(app.path(), name);
        EXPECT_EQ(path, app.path() + QStringLiteral("Library/") + name + QStringLiteral(".jpg"));
        saveLibraryPicture(path, face);
    }
    EXPECT_EQ(decodeJpegFile(app.path() + QStringLiteral("Library/...jpg")).size(), QSize(30, 40));
    QStringList names = listLibrary(app.path()).names;
    names.sort();
    EXPECT_EQ(names, (QStringList{QStringLiteral("."), QStringLiteral("..")}));
    EXPECT_EQ(QDir(app.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("Library")})
        << "nothing written beside the library";
}

TEST(Library, SavedFaceKeepsTheFaceSizeAndClipsPartsStickingOut) {
    QImage face(100, 80, QImage::Format_RGB32);
    face.fill(qRgb(200, 200, 200));
    QImage tall(20, 40, QImage::Format_RGB32);
    tall.fill(qRgb(255, 0, 0));
    QImage wide(60, 20, QImage::Format_RGB32);
    wide.fill(qRgb(0, 0, 255));

    std::vector<PlacedPart> parts;
    parts.push_back({tall, QPoint(10, 10), 40});  // drawn 20 x 40 at the left of its square
    parts.push_back({wide, QPoint(80, 70), 30});  // drawn 30 x 10, sticking out
    const QImage composed = composeSavedFace(face, parts);
    ASSERT_EQ(composed.size(), face.size());
    EXPECT_EQ(composed.pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(composed.pixel(29, 49), qRgb(255, 0, 0));
    EXPECT_EQ(composed.pixel(30, 20), qRgb(200, 200, 200));  // rest of the square shows the face
    EXPECT_EQ(composed.pixel(10, 50), qRgb(200, 200, 200));
    EXPECT_EQ(composed.pixel(99, 79), qRgb(0, 0, 255));
    EXPECT_EQ(composed.pixel(79, 75), qRgb(200, 200, 200));
    EXPECT_EQ(face.pixel(10, 10), qRgb(200, 200, 200));  // the face itself is untouched
}

TEST(Library, LaterPartsCoverEarlierOnes) {
    QImage face(50, 50, QImage::Format_RGB32);
    face.fill(qRgb(0, 0, 0));
    QImage red(10, 10, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    QImage green(10, 10, QImage::Format_RGB32);
    green.fill(qRgb(0, 255, 0));
    const QImage composed =
        composeSavedFace(face, {{red, QPoint(5, 5), 10}, {green, QPoint(10, 10), 10}});
    EXPECT_EQ(composed.pixel(7, 7), qRgb(255, 0, 0));
    EXPECT_EQ(composed.pixel(12, 12), qRgb(0, 255, 0));
}

TEST(Library, SavingCreatesTheFolderAndWritesAJpegOfTheFaceSize) {
    TempAppDir app;
    const QString path = librarySavePath(app.path(), QStringLiteral("はじめて"));
    QImage picture(120, 90, QImage::Format_RGB32);
    picture.fill(qRgb(30, 140, 60));
    saveLibraryPicture(path, picture);
    const QImage back = decodeJpegFile(path);
    EXPECT_EQ(back.size(), QSize(120, 90));
    EXPECT_NEAR(qGreen(back.pixel(60, 45)), 140, 6);
    EXPECT_EQ(listLibrary(app.path()).names, QStringList{QStringLiteral("はじめて")});
}

TEST(Library, SavingWhereNoFolderCanBeMadeReportsTheTarget) {
    TempAppDir app;
    app.writeBytes(QStringLiteral("Library"), "a file where the folder should be");
    const QString path = app.path() + QStringLiteral("Library/x.jpg");
    try {
        saveLibraryPicture(path, QImage(4, 4, QImage::Format_RGB32));
        FAIL() << "saved into a file";
    } catch (const AppError& e) {
        EXPECT_EQ(e.message(), fileCreateErrorText(path));
    }
}
