// SPDX-License-Identifier: GPL-3.0-or-later
// FaceData.ini as every catalogue operation sees it: always the same one file
// whatever other spellings lie beside it, and never read in part.
#include "catalogue/catalogue_files.h"
#include "files/app_error.h"
#include "support/app_error_of.h"
#include "support/file_faults.h"
#include "test_catalogue_files.h"

#include <QFile>
#include <functional>
#include <gtest/gtest.h>

namespace {

void restoreDataFolder(const TempAppDir& app, const std::map<QString, QByteArray>& entries) {
    for (const auto& [name, bytes] : entries) app.writeBytes(QStringLiteral("data/") + name, bytes);
}

std::vector<FaceAnswer> answersWithout(int face, int count) {
    std::vector<FaceAnswer> answers;
    for (int i = 0; i < count; ++i)
        if (i != face) answers.push_back(testAnswer(i));
    return answers;
}

}  // namespace

// With data/FaceData.ini, data/facedata.ini and a folder Data/ beside data/,
// the start-up read, registration and deletion all use data/FaceData.ini; the
// other spellings are never read or written.
TEST(TheSettingsFile, IsOneFileWhateverOtherSpellingsLieBesideIt) {
    TempAppDir app;
    writeTestCatalogue(app, 4);
    const QByteArray decoy = "[faces]\r\ncount=9\r\n[1]\r\nX1=555\r\n";
    app.writeBytes("data/facedata.ini", decoy);
    app.writeBytes("Data/FaceData.ini", decoy);

    EXPECT_EQ(readFaceCount(app.path()), 4);
    EXPECT_EQ(readFaceAnswers(app.path(), 4), answersWithout(-1, 4));

    registerFaceFiles(app.path(), 4, testFace(4));
    EXPECT_EQ(readFaceCount(app.path()), 5);
    EXPECT_EQ(readFaceAnswers(app.path(), 5), answersWithout(-1, 5));

    deleteFaceFiles(app.path(), 1, 5, answersWithout(1, 5));
    EXPECT_EQ(readFaceCount(app.path()), 4);
    EXPECT_EQ(readFaceAnswers(app.path(), 4), answersWithout(1, 5));
    EXPECT_FALSE(settingsText(app).contains(QStringLiteral("[4]")));

    EXPECT_EQ(app.readBytes("data/facedata.ini"), decoy);
    EXPECT_EQ(app.readBytes("Data/FaceData.ini"), decoy);
}

// Every existence test, folder listing and read that the start-up read,
// registration and deletion make is failed in turn (EIO, and reads cut short
// after a few bytes): each run must stop with the open error and leave every
// file of the catalogue exactly as it was, never take the failure for an
// absent or shorter FaceData.ini.
TEST(TheSettingsFile, AFailedReadOrExistenceTestStopsEveryOperationAndChangesNothing) {
    TempAppDir original;
    writeTestCatalogue(original, 4);
    const auto catalogue = snapshotDataFolder(original);
    ASSERT_GT(catalogue.at(QStringLiteral("FaceData.ini")).size(), 200);

    const struct {
        const char* name;
        std::function<void(const QString&)> run;
    } operations[] = {
        {"start-up read", [](const QString& app) { readFaceAnswers(app, readFaceCount(app)); }},
        {"start-up read in one pass", [](const QString& app) { readStartingFaceData(app); }},
        {"registration", [](const QString& app) { registerFaceFiles(app, 4, testFace(4)); }},
        {"deletion of face 1", [](const QString& app) { deleteFaceFiles(app, 1, 4, answersWithout(1, 4)); }},
        {"deletion of the last face", [](const QString& app) { deleteFaceFiles(app, 3, 4, answersWithout(3, 4)); }},
    };
    for (const auto& operation : operations) {
        SCOPED_TRACE(operation.name);
        std::vector<std::pair<FileCall, qint64>> calls;
        {
            TempAppDir app;
            restoreDataFolder(app, catalogue);
            FileFaults counting([&](FileCall call, const QString&, qint64 offset) {
                calls.emplace_back(call, offset);
                return FileCallFault{};
            });
            operation.run(app.path());
        }
        ASSERT_GT(calls.size(), 3u);
        for (std::size_t failAt = 0; failAt < calls.size(); ++failAt) {
            for (bool shortRead : {false, true}) {
                // A cut makes sense where a read starts, not at the end of a file.
                if (shortRead && calls[failAt] != std::pair{FileCall::Read, qint64(0)}) continue;
                SCOPED_TRACE(testing::Message() << "call " << failAt << (shortRead ? " cut short" : " EIO"));
                TempAppDir app;
                restoreDataFolder(app, catalogue);
                std::size_t seen = 0;
                FileFaults faults([&](FileCall, const QString&, qint64 offset) {
                    const std::size_t index = seen++;
                    if (index < failAt) return FileCallFault{};
                    if (!shortRead) return index == failAt ? FileCallFault{EIO, -1} : FileCallFault{};
                    // 200 bytes, then the file seems to end.
                    return FileCallFault{0, std::max<qint64>(0, 200 - offset)};
                });
                const QString error = appErrorOf([&] { operation.run(app.path()); });
                // A failed look or read stops the change with the open error;
                // one while the new settings are being written, with the write error.
                EXPECT_TRUE((error.startsWith(QStringLiteral("ファイル ")) && error.endsWith(QStringLiteral(" は開けません"))) ||
                            error.endsWith(QStringLiteral("FaceData.ini に書き込めません")))
                    << error.toStdString();
                EXPECT_TRUE(snapshotDataFolder(app) == catalogue) << "the catalogue changed";
            }
        }
    }
}
