// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue through the real window: a damaged catalogue is repaired by
// deleting the damaged face, and a change that a crash interrupted is
// resolved when the game starts, before anything is read.
#include "board/image_control.h"
#include "catalogue/catalogue_files.h"
#include "files/file_ops.h"
#include "support/test_catalogue.h"
#include "support/window/game_window.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void deleteInTheWindow(GameWindow& w, int face) {
    TForm1& f = *w.form;
    f.D1->trigger();
    w.click(w.thumbnail(face), {5, 5});
    w.dialogs->confirmAnswers.push_back(true);
    w.click(f.BitBtnToroku);
}

}  // namespace

// "Count=10" with only nine faces on disk: the start names the missing
// picture, deleting that face needs nothing but the settings, and the next
// start is clean with nine faces.
TEST(CatalogueRepair, ACountAboveTheFacesOnDiskIsRepairedByDeletingTheMissingFace) {
    TempAppDir dir;
    writeTestCatalogue(dir, 10);
    for (int kind = 0; kind <= 5; ++kind)
        ASSERT_TRUE(QFile::remove(dir.path() + QStringLiteral("data/face9_%1.jpg").arg(kind)));
    {
        GameWindow w(dir);
        ASSERT_EQ(w.dialogs->errors.size(), 1);
        EXPECT_TRUE(w.dialogs->errors[0].contains(QStringLiteral("face9_0.jpg")));
        w.finishTitle();
        w.dialogs->errors.clear();
        deleteInTheWindow(w, 9);
        EXPECT_TRUE(w.dialogs->errors.isEmpty()) << w.dialogs->errors.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(w.form->catalogue.faceCount, 9);
        EXPECT_EQ(w.thumbnailCount(), 9);
    }
    EXPECT_EQ(readFaceCount(dir.path()), 9);
    GameWindow again(dir);
    EXPECT_TRUE(again.dialogs->errors.isEmpty()) << again.dialogs->errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(again.form->catalogue.faceCount, 9);
    EXPECT_FALSE(again.thumbnailPicture(8).isNull());
}

// A deletion killed just before its settings are replaced starts as the old
// catalogue, one killed just after as the new one; either way without an
// error, without leftovers, and with the thumbnails of the faces it has.
TEST(CatalogueRepair, TheStartFinishesOrTakesBackADeletionThatACrashInterrupted) {
    TempAppDir model;
    writeTestCatalogue(model, 5);
    const QString settings = faceDataPath(model.path());
    const std::vector<FaceAnswer> answers = readFaceAnswers(model.path(), 5);
    std::vector<FaceAnswer> after = answers;
    after.erase(after.begin() + 1);

    // The step that puts the new settings in place.
    int commitStep = 0;
    {
        TempAppDir trial;
        writeTestCatalogue(trial, 5);
        int seen = 0;
        const QString trialSettings = faceDataPath(trial.path());
        setFileStepHook([&](FileStep step, const QString& path) {
            ++seen;
            if (step == FileStep::Rename && path == trialSettings && !commitStep) commitStep = seen;
            return 0;
        });
        deleteFaceFiles(trial.path(), 1, 5, after);
        setFileStepHook({});
    }
    ASSERT_GT(commitStep, 0);

    for (const int killAt : {commitStep, commitStep + 1}) {
        SCOPED_TRACE(killAt);
        TempAppDir dir;
        writeTestCatalogue(dir, 5);
        const pid_t child = fork();
        if (child == 0) {
            int seen = 0;
            setFileStepHook([&](FileStep, const QString&) {
                if (++seen == killAt) ::kill(::getpid(), SIGKILL);
                return 0;
            });
            deleteFaceFiles(dir.path(), 1, 5, after);
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_FALSE(QDir(dir.path() + QStringLiteral("data")).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral(".change-")).isEmpty());

        GameWindow w(dir);
        const int expectedCount = killAt == commitStep ? 5 : 4;
        EXPECT_TRUE(w.dialogs->errors.isEmpty()) << w.dialogs->errors.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(w.form->catalogue.faceCount, expectedCount);
        EXPECT_EQ(w.form->catalogue.faceAnswers, expectedCount == 5 ? answers : after);
        for (int i = 0; i < expectedCount; ++i) EXPECT_FALSE(w.thumbnailPicture(i).isNull()) << i;
        EXPECT_EQ(QDir(dir.path() + QStringLiteral("data")).entryList(QDir::Hidden | QDir::Files).size(),
                  std::size_t(expectedCount * 6 + 1));
    }
}
