// SPDX-License-Identifier: GPL-3.0-or-later
// One game per folder: the lock a running game holds keeps a second one
// out, a crashed game's lock is taken over, and a second start writes
// nothing into the folder before it ends with one notice.
#include "desktop/user_dialogs.h"
#include "files/app_home.h"
#include "files/game_folder_lock.h"
#include "support/temp_app_dir.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSysInfo>
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
    QStringList errors, notices, questions;
    bool answer = false;
    bool confirm(const QString& text) override {
        questions << text;
        return answer;
    }
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
    RecordingDialogs dialogs;
    setting.claimFolder = [&](const QString& folder) { return claimGameFolder(lock, folder, dialogs); };
    EXPECT_EQ(startAppHome(setting, dialogs), std::nullopt);
    EXPECT_EQ(dialogs.notices, QStringList{QStringLiteral("ポムリナはすでに起動しています。")});
    EXPECT_TRUE(dialogs.errors.isEmpty());
    EXPECT_EQ(everythingUnder(player), before);

    kill9(first);
    EXPECT_EQ(startAppHome(setting, dialogs), std::optional<QString>(player + QLatin1Char('/')));
    EXPECT_EQ(root.readBytes(QStringLiteral("home/pomurina/title.bmp")), QByteArray("title"));
    EXPECT_EQ(dialogs.notices.size(), 1);
}

namespace {

void writeLock(const TempAppDir& dir, const QByteArray& bytes) {
    QFile f(dir.path() + gameFolderLockName());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    f.close();
    // Left by a game that ended a while ago, not one being written now.
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
}

QByteArray readLock(const TempAppDir& dir) {
    QFile f(dir.path() + gameFolderLockName());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool namesThisProcess(const QByteArray& lock) {
    return lock.startsWith(QByteArray::number(qint64(getpid())) + '\n');
}

}  // namespace

// A lock no game can be holding never shuts the player out: an empty one, a
// garbled one, and one naming the process id of a game that now plays on
// another folder of this computer (process ids are reused) are taken over
// without a word. One written on another computer cannot be checked from
// here: the player is asked, and いいえ leaves the folder as it was.
TEST(GameFolderLock, ALockNoGameHoldsIsTakenOverAndAnotherComputersIsThePlayersChoice) {
    TempAppDir dir;
    RecordingDialogs dialogs;
    for (const QByteArray& stale : {QByteArray(), QByteArray("\x01\xffgarbage\n\n"), QByteArray("not a pid\n")}) {
        writeLock(dir, stale);
        GameFolderLock lock;
        EXPECT_EQ(claimGameFolder(lock, dir.path(), dialogs), FolderClaim::Ours) << stale.toStdString();
        EXPECT_TRUE(namesThisProcess(readLock(dir)));
    }

    TempAppDir elsewhere;
    const pid_t other = holdInAChild(elsewhere.path());
    ASSERT_GT(other, 0);
    const QByteArray othersLock = readLock(elsewhere);
    ASSERT_TRUE(othersLock.startsWith(QByteArray::number(qint64(other)) + '\n')) << othersLock.toStdString();
    writeLock(dir, othersLock);
    {
        GameFolderLock lock;
        EXPECT_EQ(claimGameFolder(lock, dir.path(), dialogs), FolderClaim::Ours)
            << "the game running on another folder does not hold this one";
        EXPECT_TRUE(namesThisProcess(readLock(dir)));
    }
    kill9(other);
    EXPECT_TRUE(dialogs.questions.isEmpty());

    const QByteArray fromAnotherComputer = "4242\npomurina\nanother-computer-than-" +
                                           QSysInfo::machineHostName().toUtf8() + "\n";
    writeLock(dir, fromAnotherComputer);
    {
        GameFolderLock lock;
        dialogs.answer = false;
        EXPECT_EQ(claimGameFolder(lock, dir.path(), dialogs), FolderClaim::LeftAlone);
        EXPECT_EQ(dialogs.questions, QStringList{unconfirmedLockQuestion()});
        EXPECT_EQ(readLock(dir), fromAnotherComputer) << "いいえ leaves the folder unchanged";
    }
    {
        GameFolderLock lock;
        dialogs.answer = true;
        EXPECT_EQ(claimGameFolder(lock, dir.path(), dialogs), FolderClaim::Ours);
        EXPECT_EQ(dialogs.questions.size(), 2);
        EXPECT_TRUE(namesThisProcess(readLock(dir))) << "はい takes the lock over";
    }
    EXPECT_EQ(unconfirmedLockQuestion(),
              QStringLiteral("このフォルダーはほかのコンピューターで使われているか、前回正しく終了しなかったようです。続けますか？"));
    EXPECT_TRUE(dialogs.notices.isEmpty());
}

// A running game's lock that comes to name another computer (written over in
// place, or the computer renamed while the game runs) is still that game's:
// the next start is refused without a question, and a take-over leaves the
// lock where it is. Once that game is gone, the lock is another computer's
// like any other, and the player decides.
TEST(GameFolderLock, ARunningGamesLockNamingAnotherComputerIsNeverTakenOver) {
    TempAppDir dir;
    const pid_t game = holdInAChild(dir.path());
    ASSERT_GT(game, 0);
    const QByteArray renamed = "4242\npomurina\nanother-computer-than-" + QSysInfo::machineHostName().toUtf8() + "\n";
    writeLock(dir, renamed);
    RecordingDialogs dialogs;
    dialogs.answer = true;
    {
        GameFolderLock lock;
        EXPECT_EQ(claimGameFolder(lock, dir.path(), dialogs), FolderClaim::AnotherGameRuns);
        EXPECT_TRUE(dialogs.questions.isEmpty());
        EXPECT_EQ(lock.takeOver(dir.path()), GameFolderLock::Claim::HeldByAnotherGame);
        EXPECT_EQ(readLock(dir), renamed);
    }
    EXPECT_TRUE(isLockFileHeld(dir.path() + gameFolderLockName())) << "the running game keeps its lock";
    kill9(game);
    GameFolderLock lock;
    EXPECT_EQ(claimGameFolder(lock, dir.path(), dialogs), FolderClaim::Ours);
    EXPECT_EQ(dialogs.questions, QStringList{unconfirmedLockQuestion()});
    EXPECT_TRUE(namesThisProcess(readLock(dir)));
}

// いいえ at start-up: the game ends without a word and writes nothing.
TEST(GameFolderLock, LeavingAnotherComputersLockAloneStartsNothing) {
    TempAppDir root;
    root.writeBytes(QStringLiteral("usr/share/pomurina/data/FaceData.ini"), "[faces]\r\ncount=3\r\n");
    QDir().mkpath(root.file(QStringLiteral("usr/bin")));
    QDir().mkpath(root.file(QStringLiteral("home/pomurina")));
    const QString player = root.path() + QStringLiteral("home/pomurina");
    QFile lockFile(player + QLatin1Char('/') + gameFolderLockName());
    ASSERT_TRUE(lockFile.open(QIODevice::WriteOnly));
    lockFile.write("77\npomurina\nsomewhere-else-than-" + QSysInfo::machineHostName().toUtf8() + "\n");
    lockFile.close();
    const QStringList before = everythingUnder(player);

    GameFolderLock lock;
    RecordingDialogs dialogs;
    AppHomeSetting setting;
    setting.executablePath = root.path() + QStringLiteral("usr/bin/pomurina");
    setting.homeOverride = player;
    setting.claimFolder = [&](const QString& folder) { return claimGameFolder(lock, folder, dialogs); };
    EXPECT_EQ(startAppHome(setting, dialogs), std::nullopt);
    EXPECT_EQ(dialogs.questions.size(), 1);
    EXPECT_TRUE(dialogs.notices.isEmpty());
    EXPECT_TRUE(dialogs.errors.isEmpty());
    EXPECT_EQ(everythingUnder(player), before);
}
