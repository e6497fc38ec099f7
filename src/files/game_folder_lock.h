// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One game per folder: a lock file in the game's folder, held from the
// moment the folder is chosen until the process ends. A second game on the
// same folder finds it held and does not start. A lock that no game can be
// holding is taken over: one left by a game of this computer that is no
// longer running (a crash, a power cut; its process id may since belong to
// another program or to a game on another folder), and one that is empty or
// unreadable. A lock that a process of this computer holds is a running
// game, whatever computer the file names, and is never taken over. A lock
// naming another computer that nobody here holds cannot be checked from
// here: the player decides.
#include <QString>
#include <memory>

class QLockFile;
class UserDialogs;

class GameFolderLock {
public:
    enum class Claim {
        Held,                // this process holds the folder now
        HeldByAnotherGame,   // a game running on this computer holds it
        Unconfirmed,         // the lock names another computer: whether it still plays there is unknown
        Unavailable          // no lock can be made there (a read-only folder): nothing to guard
    };

    GameFolderLock();
    ~GameFolderLock();
    GameFolderLock(const GameFolderLock&) = delete;
    GameFolderLock& operator=(const GameFolderLock&) = delete;

    // Claims folder for this process; a folder already claimed stays held
    // whatever comes after.
    Claim claim(const QString& folder);
    // Claims folder after the player chose to go on over an Unconfirmed lock:
    // the lock is replaced, unless a game of this computer holds it.
    Claim takeOver(const QString& folder);

private:
    Claim claim(const QString& folder, bool replaceUnconfirmed);
    std::unique_ptr<QLockFile> lock_;
};

// What the game does with its folder at start-up.
enum class FolderClaim {
    Ours,             // claimed (or nothing to guard): go on
    AnotherGameRuns,  // a game on this computer holds it: say so and end
    LeftAlone         // the player chose not to take over a lock that could not be checked: end
};

// Claims folder, asking the player (confirm, 「確認」) before taking over a
// lock that cannot be checked from this computer.
FolderClaim claimGameFolder(GameFolderLock& lock, const QString& folder, UserDialogs& dialogs);

// Whether a running process holds the lock file at path (QLockFile's locks,
// the game's own and those of Qt's settings files).
bool isLockFileHeld(const QString& path);

// The name of the lock file in the game's folder.
QString gameFolderLockName();

// The question before a lock from another computer, or one whose holder
// cannot be confirmed, is taken over.
QString unconfirmedLockQuestion();
