// SPDX-License-Identifier: GPL-3.0-or-later
// One game per folder: the lock a running game holds keeps a second one
// out, a crashed game's lock is taken over, and a second start writes
// nothing into the folder before it ends with one notice.
#include "desktop/user_dialogs.h"
#include "files/app_home.h"
#include "files/game_folder_lock.h"
#include "support/temp_app_dir.h"

#include <QDir>
#include <QDirIterator>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A game in a child process holding dir until it is killed.
pid_t holdInAChild(const QString& folder) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        GameFolderLock lock;
        const char c = lock.claim(folder) == GameFolderLock::Claim::Held ? 'y' : 'n';
        if (write(ready[1], &c, 1) != 1) _exit(3);
        for (;;) pause();
    }
    char c = 0;
    const bool held = read(ready[0], &c, 1) == 1 && c == 'y';
    close(ready[0]);
    close(ready[1]);
    EXPECT_TRUE(held);
    return child;
}

void kill9(pid_t child) {
    ::kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
}

class RecordingDialogs : public UserDialogs {
public:
    QStringList errors, notices;
    bool confirm(const QString&) override { return false; }
    void notice(const QString& text) override { notices << text; }
    void showError(const QString& text) override { errors << text; }
    QString openFile(const QString&, const QString&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
};

QStringList everythingUnder(const QString& folder) {
    QStringList found;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) found << it.next();
    found.sort();
    return found;
}

}  // namespace

// Held by a running game: refused, however long it has run; that game
// killed, its lock is taken over; a folder where no lock can be made has
// nothing to guard.
TEST(GameFolderLock, ARunningGameKeepsTheFolderAndACrashedOneLetsItGo) {
    TempAppDir dir;
    const pid_t first = holdInAChild(dir.path());
    ASSERT_GT(first, 0);
    {
        GameFolderLock second;
        EXPECT_EQ(second.claim(dir.path()), GameFolderLock::Claim::HeldByAnotherGame);
    }
    kill9(first);
    EXPECT_TRUE(dir.exists(gameFolderLockName())) << "a killed game leaves its lock file";
    GameFolderLock next;
    EXPECT_EQ(next.claim(dir.path()), GameFolderLock::Claim::Held);
    EXPECT_EQ(next.claim(dir.path()), GameFolderLock::Claim::Held);

    GameFolderLock nowhere;
    EXPECT_EQ(nowhere.claim(dir.path() + QStringLiteral("no/such/folder")), GameFolderLock::Claim::Unavailable);
}

// The second game on a player's folder being filled for the first time: it
// says so once and writes nothing there, not even part of the copy.
TEST(GameFolderLock, ASecondStartOnTheSameFolderSaysSoAndWritesNothing) {
    TempAppDir root;
    root.writeBytes(QStringLiteral("usr/share/pomurina/data/FaceData.ini"), "[faces]\r\ncount=3\r\n");
    root.writeBytes(QStringLiteral("usr/share/pomurina/title.bmp"), "title");
    QDir().mkpath(root.file(QStringLiteral("usr/bin")));
    QDir().mkpath(root.file(QStringLiteral("home/pomurina")));
    const QString player = root.path() + QStringLiteral("home/pomurina");
    const pid_t first = holdInAChild(player);
    ASSERT_GT(first, 0);
    const QStringList before = everythingUnder(player);

    GameFolderLock lock;
    AppHomeSetting setting;
    setting.executablePath = root.path() + QStringLiteral("usr/bin/pomurina");
    setting.homeOverride = player;
    setting.claimFolder = [&](const QString& folder) {
        return lock.claim(folder) != GameFolderLock::Claim::HeldByAnotherGame;
    };
    RecordingDialogs dialogs;
    EXPECT_EQ(startAppHome(setting, dialogs), std::nullopt);
    EXPECT_EQ(dialogs.notices, QStringList{QStringLiteral("ポムリナはすでに起動しています。")});
    EXPECT_TRUE(dialogs.errors.isEmpty());
    EXPECT_EQ(everythingUnder(player), before);

    kill9(first);
    EXPECT_EQ(startAppHome(setting, dialogs), std::optional<QString>(player + QLatin1Char('/')));
    EXPECT_EQ(root.readBytes(QStringLiteral("home/pomurina/title.bmp")), QByteArray("title"));
    EXPECT_EQ(dialogs.notices.size(), 1);
}
