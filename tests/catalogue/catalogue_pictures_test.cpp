// SPDX-License-Identifier: GPL-3.0-or-later
// Many catalogue pictures in one operation: plain names first, the
// case-insensitive lookup only for a name that is missing, and changes that
// list the data folder once.
#include "catalogue/background_work.h"
#include "catalogue/catalogue_pictures.h"
#include "files/app_error.h"
#include "files/watched_folder.h"
#include "support/app_error_of.h"
#include "support/file_faults.h"
#include "test_catalogue_files.h"

#include <QCoreApplication>
#include <QFile>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

int listingsDuring(const std::function<void()>& work) {
    int listings = 0;
    FileFaults counting([&](FileCall call, const QString& path, qint64) {
        if (call == FileCall::ListFolder && path.contains(QStringLiteral("data"))) ++listings;
        return FileCallFault{};
    });
    work();
    return listings;
}

}  // namespace

TEST(CataloguePictures, ReadsAsReadFacePictureDoesWhateverTheLetterCase) {
    TempAppDir app;
    writeTestCatalogue(app, 3);
    ASSERT_TRUE(QFile::rename(app.path() + "data/face1_2.jpg", app.path() + "data/FACE1_2.JPG"));
    ASSERT_TRUE(QFile::remove(app.path() + "data/face2_3.jpg"));
    const CataloguePictures pictures(app.path());
    int listings = listingsDuring([&] {
        for (int kind = 0; kind < 6; ++kind) EXPECT_EQ(pictures.read(0, kind), readFacePicture(app.path(), 0, kind));
    });
    EXPECT_EQ(listings, 0) << "names spelled as on disk need no listing";
    EXPECT_EQ(pictures.read(1, 2), readFacePicture(app.path(), 1, 2)) << "found under another spelling";
    EXPECT_EQ(appErrorOf([&] { pictures.read(2, 3); }), appErrorOf([&] { readFacePicture(app.path(), 2, 3); }));
    EXPECT_EQ(appErrorOf([&] { pictures.read(2, 3); }), fileOpenErrorText(app.path() + "data/face2_3.jpg"));

    QSize full;
    const QImage fitted = pictures.readFitted(0, 0, QSize(100, 140), &full);
    EXPECT_EQ(full, readFacePicture(app.path(), 0, 0).size());
    EXPECT_EQ(fitted.size(), QSize(100, 100 * full.height() / full.width()));
}

// The data folder is listed once; later changes see what changed there
// through the kernel's notices, also what others put there, and a change of
// many renames lists it again once it is done.
TEST(CataloguePictures, ChangesListTheDataFolderOnceAndStillSeeWhatOthersPutThere) {
    TempAppDir app;
    writeTestCatalogue(app, 5);
    stopWatching(catalogueFolder(app.path()));  // as a game that starts on it
    EXPECT_EQ(listingsDuring([&] { registerFaceFiles(app.path(), 5, testFace(5)); }), 1);
    // Another spelling of the next face's picture and an interrupted write's
    // leftover, put there by someone else.
    app.writeBytes(QStringLiteral("data/FACE6_2.JPG"), "stray");
    app.writeBytes(QStringLiteral("data/.change-new-settings"), "left over");
    EXPECT_EQ(listingsDuring([&] { registerFaceFiles(app.path(), 6, testFace(6)); }), 0);
    const auto after = snapshotDataFolder(app);
    EXPECT_FALSE(after.count(QStringLiteral("FACE6_2.JPG"))) << "the stray was replaced";
    EXPECT_EQ(readFacePicture(app.path(), 6, 2).size(), testFace(6).pictures[2].size());
    std::vector<FaceAnswer> answers = readFaceAnswers(app.path(), 7);
    answers.erase(answers.begin() + 6);
    EXPECT_EQ(listingsDuring([&] { deleteFaceFiles(app.path(), 6, 7, answers); }), 0) << "only the last face goes";
    EXPECT_EQ(readFaceCount(app.path()), 6);
    // Nothing of the changes is left behind.
    for (const auto& [name, bytes] : snapshotDataFolder(app)) EXPECT_FALSE(name.startsWith('.')) << name.toStdString();

    TempAppDir big;
    writeTestCatalogue(big, 50);
    std::vector<FaceAnswer> bigAnswers = readFaceAnswers(big.path(), 50);
    bigAnswers.erase(bigAnswers.begin());
    EXPECT_EQ(listingsDuring([&] { deleteFaceFiles(big.path(), 0, 50, bigAnswers); }), 2)
        << "for the pictures that move, and after it, as it was not watched meanwhile";
    EXPECT_EQ(listingsDuring([&] { registerFaceFiles(big.path(), 49, testFace(2)); }), 0);
    EXPECT_EQ(readFaceCount(big.path()), 50);
}

// A change on its own thread: its done step runs on the thread that started
// it, once, with what the change threw; finish() runs it at once.
TEST(BackgroundWork, TheDoneStepRunsOnceOnTheStartingThreadWithTheFailure) {
    BackgroundWork background;
    std::vector<bool> running;
    background.onRunningChanged = [&](bool on) { running.push_back(on); };
    int done = 0;
    std::exception_ptr failure;
    background.start([] { throw AppError(QStringLiteral("x")); },
                     [&](std::exception_ptr e) {
                         ++done;
                         failure = e;
                     });
    EXPECT_TRUE(background.running());
    background.finish();
    EXPECT_FALSE(background.running());
    EXPECT_EQ(done, 1);
    EXPECT_EQ(appErrorOf([&] { std::rethrow_exception(failure); }), QStringLiteral("x"));
    QCoreApplication::processEvents();  // the queued hand-over finds nothing left to do
    EXPECT_EQ(done, 1);

    const std::thread::id self = std::this_thread::get_id();
    std::thread::id doneOn;
    background.start([] {}, [&](std::exception_ptr e) {
        doneOn = std::this_thread::get_id();
        EXPECT_FALSE(e);
    });
    EXPECT_THROW(background.start([] {}, [](std::exception_ptr) {}), std::logic_error) << "one change at a time";
    while (background.running()) QCoreApplication::processEvents();
    EXPECT_EQ(doneOn, self);
    EXPECT_EQ(running, (std::vector<bool>{true, false, true, false}));
}
