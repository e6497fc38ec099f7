#pragma once
// The music settings file Data\BGM.ini, section "BGM": whether the music was
// on, the file played last and the folder of random play.
#include <QString>

struct BgmSettings {
    bool musicOn = false;   // "Music": non-zero integer
    QString musicName;      // "MusicName": full path of the file played last
    QString musicFolder;    // "MusicFolda": folder of random play, or empty
};

// appDir + "Data\BGM.ini", matched without regard to letter case.
QString bgmSettingsPath(const QString& appDir);
bool bgmSettingsExist(const QString& appDir);
// Missing file or keys give the defaults (off, empty, empty).
BgmSettings readBgmSettings(const QString& appDir);
// Writes "Music" ("1"/"0"), "MusicName" and "MusicFolda" in that order,
// replacing the file atomically; throws AppError "%s に書き込めません" when it
// cannot be written. A missing data folder is created.
void writeBgmSettings(const QString& appDir, bool onChecked, const QString& musicFile,
                      const QString& folderOrEmpty);

// How a path is kept in the Shift-JIS file: plain when it can be, else
// marked and escaped (see bgm_settings.cpp). Exposed for tests.
QString encodeSettingsPath(const QString& path);
QString decodeSettingsPath(const QString& stored);
