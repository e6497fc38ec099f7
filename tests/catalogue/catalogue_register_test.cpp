// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/catalogue_files.h"
#include "files/app_error.h"
#include "files/file_ops.h"
#include "files/ini_file.h"
#include "test_catalogue_files.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <map>
#include <gtest/gtest.h>

// The new face gets all six pictures, its section and the raised count, and
// a fresh read of the catalogue sees it beside the old faces.
TEST(RegisteringAFace, IntoThreeFacesWritesFaceThreeAndTheCountFour) {
    TempAppDir app;
    writeTestCatalogue(app, 3);
    const auto before = snapshotDataFolder(app);

    const NewFacePictures face = testFace(7);
    registerFaceFiles(app.path(), 3, face);

    for (int kind = 0; kind < 6; ++kind) {
        SCOPED_TRACE(kind);
        const QImage back = readFacePicture(app.path(), 3, kind);
        EXPECT_EQ(back.size(), face.pictures[kind].size());
        // A pixel off the diagonal shows the picture's own fill, within JPEG loss.
        const QPoint p(back.width() - 1, 0);
        const QRgb got = back.pixel(p), want = face.pictures[kind].pixel(p);
        EXPECT_NEAR(qRed(got), qRed(want), 8);
        EXPECT_NEAR(qGreen(got), qGreen(want), 8);
        EXPECT_NEAR(qBlue(got), qBlue(want), 8);
    }
    EXPECT_EQ(readFaceCount(app.path()), 4);
    const std::vector<FaceAnswer> answers = readFaceAnswers(app.path(), 4);
    ASSERT_EQ(answers.size(), 4u);
    for (int n = 0; n < 3; ++n) EXPECT_EQ(answers[n], testAnswer(n));
    EXPECT_EQ(answers[3], face.answer);

    // The old faces' pictures are untouched.
    auto after = snapshotDataFolder(app);
    for (const auto& [name, bytes] : before) {
        if (name.startsWith(QStringLiteral("face"))) {
            EXPECT_EQ(after[name], bytes) << name.toStdString();
        }
    }
}

// Sections hold X1..X4 then Y1..Y4, and the count stays one entry however
// its letter case was written before.
TEST(RegisteringAFace, WritesTheSectionInOrderAndKeepsOneCount) {
    TempAppDir app;
    writeTestCatalogue(app, 3);
    app.writeBytes(QStringLiteral("data/FaceData.ini"), "[faces]\r\ncount=3\r\n");
    FaceAnswer answer{11, 12, 13, 14, 15, 16, 17, 18};
    NewFacePictures face = testFace(3);
    face.answer = answer;
    registerFaceFiles(app.path(), 3, face);

    const QString text = settingsText(app);
    EXPECT_TRUE(text.contains(QStringLiteral(
        "[3]\r\nX1=11\r\nX2=12\r\nX3=13\r\nX4=14\r\nY1=15\r\nY2=16\r\nY3=17\r\nY4=18\r\n")))
        << text.toStdString();
    EXPECT_EQ(text.count(QStringLiteral("count"), Qt::CaseInsensitive), 1) << text.toStdString();
    EXPECT_EQ(readFaceCount(app.path()), 4);
}

// A picture that cannot be created undoes the registration: the pictures
// already written go, a stray old picture at the new index comes back, and
// the settings are never touched.
TEST(RegisteringAFace, FailingPictureLeavesEveryFileAsItWas) {
    TempAppDir app;
    writeTestCatalogue(app, 3);
    app.writeBytes(QStringLiteral("data/face3_2.jpg"), "left over from long ago");
    QDir().mkpath(app.path() + QStringLiteral("data/face3_5.jpg"));
    const auto before = snapshotDataFolder(app);

    try {
        registerFaceFiles(app.path(), 3, testFace(3));
        ADD_FAILURE() << "registering over a folder succeeded";
    } catch (const AppError& e) {
        EXPECT_EQ(e.message(), fileCreateErrorText(app.path() + QStringLiteral("data/face3_5.jpg")));
    }
    EXPECT_EQ(snapshotDataFolder(app), before);
    EXPECT_EQ(readFaceCount(app.path()), 3);
}

// Settings that cannot be saved undo the pictures as well.
TEST(RegisteringAFace, UnsavableSettingsRemoveTheNewPictures) {
    TempAppDir app;
    QDir().mkpath(app.path() + QStringLiteral("data/FaceData.ini"));
    const auto before = snapshotDataFolder(app);

    try {
        registerFaceFiles(app.path(), 3, testFace(3));
        ADD_FAILURE() << "registering without writable settings succeeded";
    } catch (const AppError& e) {
        EXPECT_EQ(e.message(), iniWriteErrorText(faceDataPath(app.path())));
    }
    EXPECT_EQ(snapshotDataFolder(app), before);
}

// A stray picture replaced by a successful registration leaves nothing behind.
TEST(RegisteringAFace, ReplacesStrayPicturesWithoutLeftovers) {
    TempAppDir app;
    writeTestCatalogue(app, 3);
    app.writeBytes(QStringLiteral("data/face3_0.jpg"), "stray");
    registerFaceFiles(app.path(), 3, testFace(3));

    EXPECT_EQ(readFacePicture(app.path(), 3, 0).size(), testFace(3).pictures[0].size());
    EXPECT_EQ(snapshotDataFolder(app).size(), 4u * 6u + 1u);
}

// The settings are written twice, each once and synced: the copy that can
// take the change back and the new text; nothing is written to be replaced.
TEST(RegisteringAFace, WritesTheSettingsTwiceAndSyncsEveryFileOnce) {
    TempAppDir app;
    writeTestCatalogue(app, 3);
    std::map<QString, int> writes, syncs;
    int folderSyncs = 0;
    setFileStepHook([&](FileStep step, const QString& path) {
        const QString name = QFileInfo(path).fileName();
        if (step == FileStep::Create) ++writes[name];
        if (step == FileStep::SyncFile) ++syncs[name];
        if (step == FileStep::SyncFolder) ++folderSyncs;
        return 0;
    });
    registerFaceFiles(app.path(), 3, testFace(5));
    setFileStepHook({});

    int settingsWrites = 0;
    for (const auto& [name, count] : writes) {
        if (name.contains(QStringLiteral("settings"), Qt::CaseInsensitive) || name.contains(QStringLiteral("FaceData")))
            settingsWrites += count;
        EXPECT_EQ(count, 1) << name.toStdString() << " written more than once";
        EXPECT_EQ(syncs[name], 1) << name.toStdString();
    }
    EXPECT_EQ(settingsWrites, 2);
    // Six pictures, two settings and the journal (once: no picture moves out first).
    EXPECT_EQ(writes.size(), 6u + 2u + 1u);
    EXPECT_EQ(readFaceCount(app.path()), 4);
    EXPECT_EQ(readFaceAnswers(app.path(), 4)[3], testFace(5).answer);
    std::printf("[ steps    ] %zu files written, %d folder syncs\n", writes.size(), folderSyncs);
}

// The new settings are those IniFile writes from the old text, whether they
// are edited on their bytes (plain ASCII) or through IniFile (Shift-JIS text,
// a section of the new face's number already there, no count stored).
TEST(RegisteringAFace, WritesTheSettingsIniFileWouldWhicheverWayTheyAreEdited) {
    const QByteArray settings[] = {
        "; faces\n[faces]\ncount = 3\n[0]\nX1=1\n[2]\nY4=9",
        "; \x8a\xe7\r\n[Faces]\r\nCount=3\r\n",
        "[Faces]\r\nCount=3\r\n[ 3 ]\r\nX1=5\r\nZ=1\r\n",
        "[Faces]\r\nTotal=3\r\n",
    };
    for (const QByteArray& before : settings) {
        SCOPED_TRACE(before.toStdString());
        TempAppDir app;
        writeTestCatalogue(app, 3);
        app.writeBytes(QStringLiteral("data/FaceData.ini"), before);
        const NewFacePictures face = testFace(3);
        registerFaceFiles(app.path(), 3, face);

        IniFile expected(QStringLiteral("/nowhere/FaceData.ini"), before);
        expected.writeInteger(QStringLiteral("Faces"), QStringLiteral("Count"), 4);
        for (int slot = 1; slot <= 4; ++slot) {
            expected.writeInteger(QStringLiteral("3"), QStringLiteral("X%1").arg(slot), answerX(face.answer, slot));
        }
        for (int slot = 1; slot <= 4; ++slot) {
            expected.writeInteger(QStringLiteral("3"), QStringLiteral("Y%1").arg(slot), answerY(face.answer, slot));
        }
        EXPECT_EQ(app.readBytes(QStringLiteral("data/FaceData.ini")), expected.bytes());
    }
}
