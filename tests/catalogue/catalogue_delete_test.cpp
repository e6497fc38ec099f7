// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/catalogue_files.h"
#include "files/app_error.h"
#include "test_catalogue_files.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

std::vector<FaceAnswer> answersWithout(int count, int d) {
    std::vector<FaceAnswer> answers;
    for (int n = 0; n < count; ++n)
        if (n != d) answers.push_back(testAnswer(n));
    return answers;
}

std::map<std::pair<int, int>, QByteArray> allPictures(const TempAppDir& app, int count) {
    std::map<std::pair<int, int>, QByteArray> pictures;
    for (int face = 0; face < count; ++face)
        for (int kind = 0; kind < 6; ++kind) pictures[{face, kind}] = pictureBytes(app, face, kind);
    return pictures;
}

}  // namespace

// The faces after the deleted one move down with their pictures unchanged
// byte for byte and their answers; the old last index disappears entirely.
TEST(DeletingAFace, LaterFacesMoveDownOneIndex) {
    for (int count : {4, 5}) {
        SCOPED_TRACE(count);
        TempAppDir app;
        writeTestCatalogue(app, count);
        const auto old = allPictures(app, count);

        deleteFaceFiles(app.path(), 1, count, answersWithout(count, 1));

        for (int face = 0; face < count - 1; ++face)
            for (int kind = 0; kind < 6; ++kind) {
                const int oldFace = face < 1 ? face : face + 1;
                EXPECT_EQ(pictureBytes(app, face, kind), old.at({oldFace, kind})) << face << "_" << kind;
            }
        EXPECT_EQ(readFaceCount(app.path()), count - 1);
        const std::vector<FaceAnswer> answers = readFaceAnswers(app.path(), count - 1);
        EXPECT_EQ(answers, answersWithout(count, 1));
        EXPECT_FALSE(settingsText(app).contains(QStringLiteral("[%1]").arg(count - 1)));
        // Nothing else is left in the folder: no last-index pictures, no parked files.
        EXPECT_EQ(snapshotDataFolder(app).size(), std::size_t((count - 1) * 6 + 1));
    }
}

TEST(DeletingAFace, LastFaceChangesNoOtherPictureOrSection) {
    TempAppDir app;
    writeTestCatalogue(app, 5);
    const auto before = snapshotDataFolder(app);
    const QString settingsBefore = settingsText(app);

    deleteFaceFiles(app.path(), 4, 5, answersWithout(5, 4));

    auto after = snapshotDataFolder(app);
    for (const auto& [name, bytes] : before) {
        if (name.startsWith(QStringLiteral("face4_"))) {
            EXPECT_EQ(after.count(name), 0u) << name.toStdString();
        } else if (name.startsWith(QStringLiteral("face"))) {
            EXPECT_EQ(after[name], bytes) << name.toStdString();
        }
    }
    // The settings differ only by the count and the missing section 4, which
    // registering had put last (the count key may change its letter case).
    QString expected = settingsBefore.left(settingsBefore.indexOf(QStringLiteral("[4]"))).toLower();
    expected.replace(QStringLiteral("count=5"), QStringLiteral("count=4"));
    EXPECT_EQ(settingsText(app).toLower(), expected);
}

// A failure anywhere before the settings are saved puts every picture back
// where it was: a folder in a later face's place stops the deletion before
// anything moves, settings that cannot be saved stop it after all the moves.
TEST(DeletingAFace, FailureRestoresTheWholeCatalogue) {
    {
        TempAppDir app;
        writeTestCatalogue(app, 5);
        QFile::remove(app.path() + QStringLiteral("data/face3_4.jpg"));
        QDir().mkpath(app.path() + QStringLiteral("data/face3_4.jpg"));
        const auto before = snapshotDataFolder(app);
        try {
            deleteFaceFiles(app.path(), 1, 5, answersWithout(5, 1));
            ADD_FAILURE() << "deleting over a folder succeeded";
        } catch (const AppError& e) {
            EXPECT_EQ(e.message(), fileOpenErrorText(app.path() + QStringLiteral("data/face3_4.jpg")));
        }
        EXPECT_EQ(snapshotDataFolder(app), before);
    }
    {
        TempAppDir app;
        writeTestCatalogue(app, 5);
        QFile::remove(app.path() + QStringLiteral("data/FaceData.ini"));
        QDir().mkpath(app.path() + QStringLiteral("data/FaceData.ini"));
        const auto before = snapshotDataFolder(app);
        try {
            deleteFaceFiles(app.path(), 0, 5, answersWithout(5, 0));
            ADD_FAILURE() << "deleting without writable settings succeeded";
        } catch (const AppError& e) {
            EXPECT_EQ(e.message(), iniWriteErrorText(faceDataPath(app.path())));
        }
        EXPECT_EQ(snapshotDataFolder(app), before);
    }
}

// The file layer itself never takes a catalogue below three faces.
TEST(DeletingAFace, RefusedAtThreeFacesAndOutsideTheCatalogue) {
    TempAppDir app;
    writeTestCatalogue(app, 4);
    const auto four = snapshotDataFolder(app);
    EXPECT_THROW(deleteFaceFiles(app.path(), 4, 4, answersWithout(4, 0)), std::exception);
    EXPECT_THROW(deleteFaceFiles(app.path(), -1, 4, answersWithout(4, 0)), std::exception);
    EXPECT_THROW(deleteFaceFiles(app.path(), 0, 4, answersWithout(5, 0)), std::exception);
    EXPECT_EQ(snapshotDataFolder(app), four);

    deleteFaceFiles(app.path(), 0, 4, answersWithout(4, 0));
    const auto three = snapshotDataFolder(app);
    EXPECT_THROW(deleteFaceFiles(app.path(), 0, 3, answersWithout(3, 0)), AppError);
    EXPECT_EQ(snapshotDataFolder(app), three);
}

// A picture missing before the deletion is nothing to move: deleting the face
// it belongs to needs no error, and a later face keeps its gap under its new
// number instead of taking another face's picture. Either way the count and
// the answers follow and nothing is left over.
TEST(DeletingAFace, MissingPicturesAreNothingToMoveAndStayMissing) {
    for (const int d : {3, 1}) {
        SCOPED_TRACE(d);
        TempAppDir app;
        writeTestCatalogue(app, 5);
        ASSERT_TRUE(QFile::remove(app.path() + QStringLiteral("data/face3_2.jpg")));
        const auto old = allPictures(app, 5);

        deleteFaceFiles(app.path(), d, 5, answersWithout(5, d));

        for (int face = 0; face < 4; ++face)
            for (int kind = 0; kind < 6; ++kind) {
                const int oldFace = face < d ? face : face + 1;
                const QString name = QStringLiteral("data/face%1_%2.jpg").arg(face).arg(kind);
                if (oldFace == 3 && kind == 2)
                    EXPECT_FALSE(app.exists(name)) << name.toStdString();
                else
                    EXPECT_EQ(pictureBytes(app, face, kind), old.at({oldFace, kind})) << name.toStdString();
            }
        EXPECT_EQ(readFaceCount(app.path()), 4);
        EXPECT_EQ(readFaceAnswers(app.path(), 4), answersWithout(5, d));
        const std::size_t picturesLeft = d == 3 ? 24 : 23;
        EXPECT_EQ(snapshotDataFolder(app).size(), picturesLeft + 1);
    }
}
