// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the game keeps its files (the application folder: data/, Library/,
// title.bmp, logo.bmp, 作品について.txt), decided once at start-up.
//
// - Portable: the executable's folder holds data/ and the user may write
//   there (the build tree, an unpacked game folder): that folder.
// - POMURINA_HOME names a folder: that folder.
// - Otherwise the player's own folder, $XDG_DATA_HOME/pomurina/.
// A folder of the last two kinds is created and filled from the installed
// read-only copy (../share/pomurina/ from the executable's folder, games/ or
// bin/; else a read-only game folder beside the executable) without ever
// replacing a file that is already there.
#include "files/game_folder_lock.h"

#include <QString>
#include <functional>
#include <optional>

class UserDialogs;

struct AppHomeSetting {
    QString executablePath;
    QString homeOverride;    // POMURINA_HOME; empty when unset
    QString userDataFolder;  // $XDG_DATA_HOME/pomurina; empty when there is no home
    // Whether the user may create and replace files in a folder.
    std::function<bool(const QString& folder)> isWritable;
    // Claims the game's folder for this process (claimGameFolder) once it
    // exists and before anything is written into it. Empty: nothing is claimed.
    std::function<FolderClaim(const QString& folder)> claimFolder;
};

// This process's setting: POMURINA_HOME, QStandardPaths and access(2).
AppHomeSetting appHomeSettingOf(const QString& executablePath);

enum class AppHomeKind {
    Portable,      // the executable's own folder
    Chosen,        // POMURINA_HOME
    PlayerFolder,  // $XDG_DATA_HOME/pomurina
    InstalledCopy  // the read-only copy, when the player's folder could not be made
};

struct AppHome {
    AppHomeKind kind = AppHomeKind::Portable;
    QString appDir;  // with one trailing "/"
    QString error;   // the first failure, in the program's own text; empty when none
    // Another game runs on the folder: nothing was written, the game must not start.
    bool heldByAnotherGame = false;
    // The player chose not to take over the folder's lock: nothing was written,
    // the game ends without a word.
    bool leftAlone = false;
    // Said once before the game starts: the executable's folder is read-only,
    // so the game plays in another folder (named in the text).
    QString notice;
};

// What a second game on the same folder says before it ends.
QString alreadyRunningText();  // "ポムリナはすでに起動しています。"
// What a game started from a read-only game folder says: it plays in folder.
QString readOnlyGameFolderText(const QString& gameFolder, const QString& folder);

// The read-only copy a new folder is filled from, with one trailing "/";
// empty when the executable has none beside it.
QString installedCopyOf(const QString& executablePath);

// Copies into appDir what it lacks of source's title, logo, help text and
// catalogue. The catalogue is copied only into a data folder without
// FaceData.ini whose face pictures (if any) are all copies of source's, so a
// player's catalogue never gets sample files mixed in. Every file lands
// whole under its name (written aside, then renamed); folders left by an
// interrupted earlier run are cleared away. Returns the first failure's text.
QString seedAppHome(const QString& appDir, const QString& source);

// Decides the application folder, claims it, and creates and fills it when
// it is not the executable's own.
AppHome openAppHome(const AppHomeSetting& setting);

// openAppHome, reporting a failure through dialogs; returns the folder, or
// nothing when the game must not start: after one notice when another game
// runs on it, silently when the player chose to leave a lock alone.
std::optional<QString> startAppHome(const AppHomeSetting& setting, UserDialogs& dialogs);
