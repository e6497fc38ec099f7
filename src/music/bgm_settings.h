// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The music settings file Data\BGM.ini, section "BGM": whether the music was
// on, the file played last and the folder of random play.
#include <QString>

struct BgmSettings {
    bool musicOn = false;   // "Music": non-zero integer
    QString musicName;      // "MusicName": full path of the file played last
    QString musicFolder;    // "MusicFolda": folder of random play, or empty
};

// appDir + "Data\BGM.ini", matched without regard to letter case; "Data" is
// the catalogue's folder "data", whatever other spellings exist beside it.
QString bgmSettingsPath(const QString& appDir);
// Whether the file is there; a failing existence test raises
// "ファイル %s は開けません" rather than answering no.
bool bgmSettingsExist(const QString& appDir);
// Missing file or keys give the defaults (off, empty, empty). A file that
// cannot be read completely raises "ファイル %s は開けません".
BgmSettings readBgmSettings(const QString& appDir);
// Writes "Music" ("1"/"0"), "MusicName" and "MusicFolda" in that order,
// replacing the file atomically; throws AppError "%s に書き込めません" when it
// cannot be written, and "ファイル %s は開けません" (without writing) when the
// file there cannot be read. A missing data folder is created.
void writeBgmSettings(const QString& appDir, bool onChecked, const QString& musicFile,
                      const QString& folderOrEmpty);

// How a path is kept in the Shift-JIS file: plain when it can be, else
// marked and escaped (see bgm_settings.cpp). Exposed for tests.
QString encodeSettingsPath(const QString& path);
QString decodeSettingsPath(const QString& stored);
