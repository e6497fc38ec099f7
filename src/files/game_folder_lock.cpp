// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/game_folder_lock.h"

#include <QDir>
#include <QLockFile>

QString gameFolderLockName() { return QStringLiteral(".pomurina.lock"); }

GameFolderLock::GameFolderLock() = default;
GameFolderLock::~GameFolderLock() = default;

GameFolderLock::Claim GameFolderLock::claim(const QString& folder) {
    if (lock_) return Claim::Held;
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(gameFolderLockName()));
    // A game holds its folder for as long as it runs: only an owner that is
    // gone makes the lock stale, never its age.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        lock_ = std::move(lock);
        return Claim::Held;
    }
    return lock->error() == QLockFile::LockFailedError ? Claim::HeldByAnotherGame : Claim::Unavailable;
}
