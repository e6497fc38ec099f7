// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The start-up decision of the background music, run once when the title
// sequence ends: from what it finds on disk, which state the music starts in,
// what the BGM menu shows and whether the saved file is opened and played.
#include "music/bgm_settings.h"
#include "music/music_state.h"

#include <QStringList>
#include <functional>

class RandomSource;

// Check marks and enabled states of the BGM submenu's items.
struct MusicMenuState {
    bool onoChecked = false;
    bool onoEnabled = true;
    bool offfChecked = true;
    bool s1Checked = false;
    bool r2Checked = false;
};

struct MusicStartupFacts {
    bool settingsExist = false;
    BgmSettings settings;            // defaults when the file does not exist
    bool musicFileExists = false;    // a file exists at settings.musicName
    bool musicFolderExists = false;  // settings.musicFolder is an existing folder
    // The .mid files under settings.musicFolder; asked only when random play
    // needs them, since a scan can take long.
    std::function<QStringList()> scanMusicFolder;
};

struct MusicStartupPlan {
    MusicState state;
    MusicMenuState menu;
    bool openMusicFile = false;  // send the open command for state.musicFile
    bool playMusicFile = false;  // then "play FILE"
};

// Looks at appDir's Data\BGM.ini and the paths it names; the scan lets
// window messages through once per folder.
MusicStartupFacts gatherMusicStartupFacts(const QString& appDir,
                                          std::function<void()> letMessagesThrough = {});

// The decision itself. Random play re-seeds random from the clock and picks
// one of the found files. The caller lets window messages through before it
// opens the file, enables BGMB1 and MusicTimer afterwards in every case.
MusicStartupPlan decideMusicStartup(const MusicStartupFacts& facts, RandomSource& random);
