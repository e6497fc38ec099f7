// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/music_startup.h"

#include "desktop/random_source.h"
#include "music/midi_scan.h"

#include <QFileInfo>

namespace {

// No music: nothing plays and ON cannot be chosen until a file is.
void noMusic(MusicStartupPlan& plan) {
    plan.state.bgmOn = false;
    plan.state.randomMode = false;
    plan.menu.onoChecked = false;
    plan.menu.onoEnabled = false;
    plan.menu.offfChecked = true;
}

}  // namespace

MusicStartupFacts gatherMusicStartupFacts(const QString& appDir, std::function<void()> letMessagesThrough) {
    MusicStartupFacts facts;
    facts.settingsExist = bgmSettingsExist(appDir);
    if (!facts.settingsExist) return facts;
    facts.settings = readBgmSettings(appDir);
    facts.musicFileExists = !facts.settings.musicName.isEmpty() && QFileInfo(facts.settings.musicName).isFile();
    facts.musicFolderExists = !facts.settings.musicFolder.isEmpty() && QFileInfo(facts.settings.musicFolder).isDir();
    facts.scanMusicFolder = [folder = facts.settings.musicFolder, pump = std::move(letMessagesThrough)] {
        QStringList found;
        scanMidiFolder(folder, found, pump);
        return found;
    };
    return facts;
}

MusicStartupPlan decideMusicStartup(const MusicStartupFacts& facts, RandomSource& random) {
    MusicStartupPlan plan;
    if (!facts.settingsExist) {
        noMusic(plan);
        return plan;
    }
    plan.state.bgmOn = facts.settings.musicOn;
    plan.state.musicFile = facts.settings.musicName;
    plan.state.musicFolder = facts.settings.musicFolder;

    // The file saved last must exist, even for random play: its absence
    // switches the music off although the folder may hold other files.
    if (!facts.musicFileExists) {
        noMusic(plan);
        return plan;
    }

    if (!plan.state.bgmOn) {
        // Off: the saved file is opened for single play but stays silent.
        plan.menu.onoChecked = false;
        plan.menu.offfChecked = true;
        plan.state.randomMode = false;
        plan.menu.r2Checked = false;
        plan.menu.s1Checked = true;
        plan.openMusicFile = true;
        return plan;
    }

    plan.menu.onoChecked = true;
    plan.menu.offfChecked = false;
    if (plan.state.musicFolder.isEmpty()) {
        // Single play of the saved file; neither S1 nor R2 carries a check.
        plan.state.randomMode = false;
    } else if (!facts.musicFolderExists) {
        noMusic(plan);
        return plan;
    } else {
        const QStringList found = facts.scanMusicFolder ? facts.scanMusicFolder() : QStringList();
        if (found.isEmpty()) {
            noMusic(plan);
            return plan;
        }
        plan.state.midiFiles = found;
        random.seedFromClock();
        plan.state.musicFile = found.at(random.below(static_cast<int>(found.size())));
        plan.menu.s1Checked = false;
        plan.menu.r2Checked = true;
        plan.state.randomMode = true;
    }
    plan.openMusicFile = true;
    plan.playMusicFile = true;
    return plan;
}
