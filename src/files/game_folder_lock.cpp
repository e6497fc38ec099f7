// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/game_folder_lock.h"

#include "desktop/user_dialogs.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

QString gameFolderLockName() { return QStringLiteral(".pomurina.lock"); }

QString unconfirmedLockQuestion() {
    return QStringLiteral("このフォルダーはほかのコンピューターで使われているか、前回正しく終了しなかったようです。続けますか？");
}

namespace {

// A lock file is written within moments of its creation; one that is still
// unreadable after this long was left half-written.
constexpr qint64 kWritingGraceMs = 1500;
constexpr int kMostAttempts = 40;

enum class Probe { Locked, Free, Unknown };

// A running game keeps an advisory lock (flock) on its lock file for as long
// as it runs, and the kernel drops it when the process ends however it ends:
// unlike the process id written in the file, it cannot outlive its game.
Probe probeHolder(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return Probe::Unknown;
    Probe probe = Probe::Free;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) probe = errno == EWOULDBLOCK ? Probe::Locked : Probe::Unknown;
    ::close(fd);  // drops the probe's own lock
    return probe;
}

bool processExists(qint64 pid) { return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM); }

enum class Holder {
    GameHere,       // a game on this computer holds it
    Gone,           // nobody can be holding it
    BeingWritten,   // created a moment ago, its contents not yet there
    Unconfirmed     // another computer's, or a holder this computer cannot check
};

Holder holderOf(const QLockFile& lock, const QString& path) {
    const Probe probe = probeHolder(path);
    // Held is a game running on this computer, whatever the file says: its
    // contents may have been written over, or the computer renamed, since.
    if (probe == Probe::Locked) return Holder::GameHere;
    qint64 pid = 0;
    QString host, app;
    if (!lock.getLockInfo(&pid, &host, &app)) {
        const QDateTime written = QFileInfo(path).lastModified();
        const bool fresh = written.isValid() && qAbs(written.msecsTo(QDateTime::currentDateTime())) < kWritingGraceMs;
        return fresh ? Holder::BeingWritten : Holder::Gone;
    }
    if (!host.isEmpty() && host != QSysInfo::machineHostName()) return Holder::Unconfirmed;
    if (probe == Probe::Free) return Holder::Gone;
    // A file system without advisory locks: only the process id is left.
    return processExists(pid) ? Holder::Unconfirmed : Holder::Gone;
}

enum class Removal { Removed, Held };

// Removes the lock file at path unless a process holds it. The look and the
// removal happen under the file's own lock, so that no game takes it in
// between; where the file system has no advisory locks there is nothing to
// look at, and the file goes.
Removal removeUnlessHeld(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        return Removal::Held;
    }
    QFile::remove(path);
    if (fd >= 0) ::close(fd);
    return Removal::Removed;
}

}  // namespace

bool isLockFileHeld(const QString& path) { return probeHolder(path) == Probe::Locked; }

GameFolderLock::GameFolderLock() = default;
GameFolderLock::~GameFolderLock() = default;

GameFolderLock::Claim GameFolderLock::claim(const QString& folder) { return claim(folder, false); }

GameFolderLock::Claim GameFolderLock::takeOver(const QString& folder) { return claim(folder, true); }

GameFolderLock::Claim GameFolderLock::claim(const QString& folder, bool replaceUnconfirmed) {
    if (lock_) return Claim::Held;
    const QString path = QDir(folder).filePath(gameFolderLockName());
    auto lock = std::make_unique<QLockFile>(path);
    // A game holds its folder for as long as it runs: only an owner that is
    // gone makes the lock stale, never its age.
    lock->setStaleLockTime(0);
    QElapsedTimer waited;
    waited.start();
    for (int attempt = 0; attempt < kMostAttempts; ++attempt) {
        if (lock->tryLock(0)) {
            lock_ = std::move(lock);
            return Claim::Held;
        }
        if (lock->error() != QLockFile::LockFailedError) return Claim::Unavailable;
        switch (holderOf(*lock, path)) {
        case Holder::GameHere:
            return Claim::HeldByAnotherGame;
        case Holder::BeingWritten:
            if (waited.elapsed() < kWritingGraceMs) {
                QThread::msleep(50);
                break;
            }
            [[fallthrough]];
        case Holder::Gone:
            // Removed only while nobody locks it; a game that took it
            // meanwhile is found on the next round.
            lock->removeStaleLockFile();
            break;
        case Holder::Unconfirmed:
            if (!replaceUnconfirmed) return Claim::Unconfirmed;
            // The player chose to go on: a lock another computer may still
            // hold (on a shared folder) is replaced all the same; one that a
            // game of this computer took meanwhile is that game's.
            if (removeUnlessHeld(path) == Removal::Held) return Claim::HeldByAnotherGame;
            break;
        }
    }
    return Claim::HeldByAnotherGame;
}

FolderClaim claimGameFolder(GameFolderLock& lock, const QString& folder, UserDialogs& dialogs) {
    GameFolderLock::Claim claim = lock.claim(folder);
    if (claim == GameFolderLock::Claim::Unconfirmed) {
        if (!dialogs.confirm(unconfirmedLockQuestion())) return FolderClaim::LeftAlone;
        claim = lock.takeOver(folder);
    }
    return claim == GameFolderLock::Claim::HeldByAnotherGame ? FolderClaim::AnotherGameRuns : FolderClaim::Ours;
}
