// SPDX-License-Identifier: GPL-3.0-or-later
// A watched folder is listed once; what changes there later comes from the
// kernel's notices, and whenever those may not cover it, it is listed again.
#include "files/watched_folder.h"
#include "support/file_faults.h"
#include "support/temp_app_dir.h"

#include <QDir>
#include <QFile>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool notAJpeg(const char* name) {
    const std::size_t n = std::strlen(name);
    return n < 4 || std::strcmp(name + n - 4, ".jpg") != 0;
}

struct Listed {
    QStringList names;
    int listings = 0;
};

Listed watched(const QString& folder) {
    Listed result;
    FileFaults counting([&](FileCall call, const QString&, qint64) {
        if (call == FileCall::ListFolder) ++result.listings;
        return FileCallFault{};
    });
    result.names = watchedEntries(folder, notAJpeg).value_or(QStringList{QStringLiteral("<none>")});
    return result;
}

}  // namespace

TEST(WatchedFolder, ListsOnceThenFollowsEveryChangeAndListsAgainWhenItMust) {
    TempAppDir dir;
    const QString folder = dir.path() + QStringLiteral("data");
    dir.writeBytes("data/a.jpg", "");
    dir.writeBytes("data/b.ini", "");
    Listed now = watched(folder);
    EXPECT_EQ(now.names, QStringList{"b.ini"});
    EXPECT_EQ(now.listings, 1);

    // Created, renamed and removed by anyone: known without a listing.
    dir.writeBytes("data/.c.tmp", "");
    dir.writeBytes("data/d.jpg", "");
    ASSERT_TRUE(QFile::rename(folder + "/b.ini", folder + "/B.INI"));
    ASSERT_TRUE(QFile::rename(folder + "/a.jpg", folder + "/a.txt"));
    ASSERT_TRUE(QDir(folder).mkdir("sub"));
    now = watched(folder);
    EXPECT_EQ(now.names, (QStringList{".c.tmp", "B.INI", "a.txt", "sub"}));
    EXPECT_EQ(now.listings, 0);
    ASSERT_TRUE(QFile::remove(folder + "/.c.tmp"));
    EXPECT_EQ(watched(folder).names, (QStringList{"B.INI", "a.txt", "sub"}));

    // A child of fork lists for itself and leaves the parent's notices alone.
    const pid_t child = fork();
    if (child == 0) {
        const Listed inChild = watched(folder);
        dir.writeBytes("data/from-child", "");
        _exit(inChild.listings == 1 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    now = watched(folder);
    EXPECT_EQ(now.names, (QStringList{"B.INI", "a.txt", "from-child", "sub"}));
    EXPECT_EQ(now.listings, 0);

    // Stopped, or another folder under the same path: listed again.
    stopWatching(folder);
    EXPECT_EQ(watched(folder).listings, 1);
    ASSERT_TRUE(QDir(folder).removeRecursively());
    EXPECT_EQ(watched(folder).names, QStringList{"<none>"});
    dir.writeBytes("data/e.ini", "");
    now = watched(folder);
    EXPECT_EQ(now.names, QStringList{"e.ini"});
    EXPECT_EQ(now.listings, 1);
    ASSERT_TRUE(QDir().rename(folder, dir.path() + "old"));
    dir.writeBytes("data/f.ini", "");
    EXPECT_EQ(watched(folder).names, QStringList{"f.ini"});
}

// A watch answers for the spellings of a name when its filter keeps every
// spelling of it (as given, in lower and in upper case), with what the
// notices brought since; a name whose spellings it may pass over, or a
// folder not watched, is the caller's to list.
TEST(WatchedFolder, AnswersForEverySpellingOfANameItsFilterKeeps) {
    TempAppDir dir;
    const QString folder = dir.path() + QStringLiteral("data");
    dir.writeBytes("data/PLAY.INI", "");
    dir.writeBytes("data/x.jpg", "");
    EXPECT_EQ(watchedSpellings(folder, QStringLiteral("Play.ini")), std::nullopt) << "not watched yet";
    ASSERT_EQ(watched(folder).listings, 1);
    dir.writeBytes("data/play.ini", "");
    int listings = 0;
    FileFaults counting([&](FileCall call, const QString&, qint64) {
        listings += call == FileCall::ListFolder;
        return FileCallFault{};
    });
    EXPECT_EQ(watchedSpellings(folder + QLatin1Char('/'), QStringLiteral("Play.ini")),
              (QStringList{"PLAY.INI", "play.ini"}));
    EXPECT_EQ(watchedSpellings(folder, QStringLiteral("BGM.ini")), QStringList{});
    EXPECT_EQ(watchedSpellings(folder, QStringLiteral("X.JPG")), std::nullopt) << "x.jpg is passed over";
    EXPECT_EQ(listings, 0);
}
