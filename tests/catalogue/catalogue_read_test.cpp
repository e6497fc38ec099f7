// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/catalogue_files.h"
#include "files/app_error.h"
#include "files/app_paths.h"
#include "files/watched_folder.h"
#include "pictures/jpeg_codec.h"
#include "support/file_faults.h"
#include "support/temp_app_dir.h"
#include "support/test_catalogue.h"

#include <QDir>
#include <gtest/gtest.h>

// Face numbers go into file names with all their digits; existing files are
// found whatever the letter case of the folder and file.
TEST(CatalogueNames, FaceIndexIsWrittenInFullAndFoundInAnyLetterCase) {
    TempAppDir app;
    QDir().mkpath(app.path() + QStringLiteral("data"));
    EXPECT_EQ(facePicturePath(app.path(), 10, 0), app.path() + QStringLiteral("data/face10_0.jpg"));
    EXPECT_EQ(facePicturePath(app.path(), 3, 5), app.path() + QStringLiteral("data/face3_5.jpg"));
    EXPECT_EQ(faceDataPath(app.path()), app.path() + QStringLiteral("data/FaceData.ini"));

    TempAppDir shouting;
    shouting.writeBytes(QStringLiteral("DATA/FACE2_4.JPG"), encodeJpeg(testPicture(8, 8)));
    shouting.writeBytes(QStringLiteral("DATA/facedata.INI"), "[faces]\r\ncount=5\r\n");
    EXPECT_EQ(facePicturePath(shouting.path(), 2, 4), shouting.path() + QStringLiteral("DATA/FACE2_4.JPG"));
    EXPECT_EQ(readFacePicture(shouting.path(), 2, 4).size(), QSize(8, 8));
    EXPECT_EQ(readFaceCount(shouting.path()), 5);
}

// Without a settings file the catalogue is three faces with every part at 0.
TEST(CatalogueReading, MissingSettingsMeanThreeFacesAtTheOrigin) {
    TempAppDir app;
    QDir().mkpath(app.path() + QStringLiteral("data"));
    EXPECT_EQ(readFaceCount(app.path()), 3);
    const std::vector<FaceAnswer> answers = readFaceAnswers(app.path(), 3);
    ASSERT_EQ(answers.size(), 3u);
    for (const FaceAnswer& a : answers) EXPECT_EQ(a, FaceAnswer{});
}

// Positions come back in the order X1..X4, Y1..Y4 whatever the key order and
// case in the file; the count written as Faces/Count is the count read.
TEST(CatalogueReading, AnswersAreSortedIntoXsThenYs) {
    TempAppDir app;
    app.writeBytes(QStringLiteral("data/FaceData.ini"),
                   "[Faces]\r\nCount=2\r\n"
                   "[0]\r\ny4=8\r\nX1=1\r\nY1=5\r\nX2=2\r\nY2=6\r\nX3=3\r\nY3=7\r\nx4=4\r\n"
                   "[1]\r\nX1=0x1A\r\nY1=-3\r\nX2=abc\r\n");
    EXPECT_EQ(readFaceCount(app.path()), 2);
    const std::vector<FaceAnswer> answers = readFaceAnswers(app.path(), 2);
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0], (FaceAnswer{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(answers[1], (FaceAnswer{26, 0, 0, 0, -3, 0, 0, 0}));
}

// A picture that is missing or not a JPEG is reported with the program's texts.
TEST(CatalogueReading, UnreadablePicturesAreReportedWithTheirName) {
    TempAppDir app;
    app.writeBytes(QStringLiteral("data/face1_0.jpg"), "not a picture");
    try {
        readFacePicture(app.path(), 0, 3);
        ADD_FAILURE() << "a missing picture was read";
    } catch (const AppError& e) {
        EXPECT_EQ(e.message(), fileOpenErrorText(facePicturePath(app.path(), 0, 3)));
    }
    try {
        readFacePicture(app.path(), 1, 0);
        ADD_FAILURE() << "a broken picture was read";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("JPEG エラー #"))) << e.message().toStdString();
    }
}

TEST(CatalogueWriting, WriteFaceImageReplacesThePictureOfThatFaceAndKind) {
    TempAppDir app;
    app.writeBytes(QStringLiteral("data/face4_2.jpg"), "old");
    writeFaceImage(app.path(), 4, 2, testPicture(31, 17));
    const QImage back = readFacePicture(app.path(), 4, 2);
    EXPECT_EQ(back.size(), QSize(31, 17));
}

// Start-up reads the catalogue's settings once, and the settings files that
// are not there yet, or are there in another letter case, are found from the
// names the start's sweep listed (kept up to date by the kernel's notices),
// never by listing the thousands of pictures again.
TEST(CatalogueReading, StartUpReadsTheSettingsOnceAndListsTheDataFolderOnce) {
    TempAppDir app;
    writeTestCatalogue(app, 5);
    app.writeBytes(QStringLiteral("data/PLAY.INI"), "[Game]\r\n");
    const std::vector<FaceAnswer> answers = readFaceAnswers(app.path(), 5);
    int opens = 0, listings = 0;
    QStringList found;
    {
        FileFaults counting([&](FileCall call, const QString& path, qint64) {
            opens += call == FileCall::Open && path.endsWith(QStringLiteral("FaceData.ini"));
            listings += call == FileCall::ListFolder;
            return FileCallFault{};
        });
        recoverCatalogue(app.path());  // the start's sweep
        const StartingFaceData data = readStartingFaceData(app.path());
        EXPECT_EQ(data.start.count, 5);
        EXPECT_EQ(data.answers, answers);
        for (const char* name : {"Play.ini", "Parties.ini", "BGM.ini"})
            found << resolveAppPath(app.path(), QStringLiteral("Data\\") + QString::fromLatin1(name));
        app.writeBytes(QStringLiteral("data/bgm.INI"), "");
        found << resolveAppPath(app.path(), QStringLiteral("Data\\BGM.ini"));
    }
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(listings, 1);
    EXPECT_EQ(found, (QStringList{app.path() + "data/PLAY.INI", app.path() + "data/Parties.ini",
                                  app.path() + "data/BGM.ini", app.path() + "data/bgm.INI"}));
    stopWatching(app.path() + "data");
    EXPECT_EQ(resolveAppPath(app.path(), QStringLiteral("Data\\BGM.ini")), found.back()) << "as a listing finds it";
    EXPECT_EQ(resolveAppPath(app.path(), QStringLiteral("Data\\Parties.ini")), found[1]);
}
