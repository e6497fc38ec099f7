// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One game per folder: a lock file in the game's folder, held from the
// moment the folder is chosen until the process ends. A second game on the
// same folder finds it held and does not start; a lock left by a game that
// is no longer running (a crash, a power cut) is taken over.
#include <QString>
#include <memory>

class QLockFile;

class GameFolderLock {
public:
    enum class Claim {
        Held,                // this process holds the folder now
        HeldByAnotherGame,   // a running game holds it
        Unavailable          // no lock can be made there (a read-only folder): nothing to guard
    };

    GameFolderLock();
    ~GameFolderLock();
    GameFolderLock(const GameFolderLock&) = delete;
    GameFolderLock& operator=(const GameFolderLock&) = delete;

    // Claims folder for this process; a folder already claimed stays held
    // whatever comes after.
    Claim claim(const QString& folder);

private:
    std::unique_ptr<QLockFile> lock_;
};

// The name of the lock file in the game's folder.
QString gameFolderLockName();
