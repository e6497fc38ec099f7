// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/random_source.h"
#include "music/music_commands.h"
#include "music/music_startup.h"
#include "support/temp_app_dir.h"

#include <gtest/gtest.h>

namespace {

class FixedRandom : public RandomSource {
public:
    explicit FixedRandom(int index) : index_(index) {}
    void seedFromClock() override { ++seeds; }
    int below(int bound) override {
        bounds.push_back(bound);
        return index_;
    }
    int seeds = 0;
    std::vector<int> bounds;

private:
    int index_;
};

// Facts as the window would find them; counts the scans asked for.
struct Scene {
    MusicStartupFacts facts;
    int scans = 0;
    QStringList folderFiles;

    Scene(bool on, QString file, QString folder, bool fileExists = true, bool folderExists = true) {
        facts.settingsExist = true;
        facts.settings = {on, std::move(file), std::move(folder)};
        facts.musicFileExists = fileExists;
        facts.musicFolderExists = folderExists;
        facts.scanMusicFolder = [this] {
            ++scans;
            return folderFiles;
        };
    }
};

// A compact picture of the menu: ON/OFF/S1/R2 as letters, lower case when
// unchecked, "-" for a disabled ON.
QString menuText(const MusicMenuState& m) {
    QString s;
    s += !m.onoEnabled ? QStringLiteral("-") : m.onoChecked ? QStringLiteral("O") : QStringLiteral("o");
    s += m.offfChecked ? QStringLiteral("F") : QStringLiteral("f");
    s += m.s1Checked ? QStringLiteral("S") : QStringLiteral("s");
    s += m.r2Checked ? QStringLiteral("R") : QStringLiteral("r");
    return s;
}

}  // namespace

// First run: no settings file, no music, ON unavailable, nothing opened and
// nothing to write at exit (MusicFile stays empty).
TEST(MusicStartup, WithoutSettingsThereIsNoMusic) {
    MusicStartupFacts facts;
    FixedRandom random(0);
    const MusicStartupPlan plan = decideMusicStartup(facts, random);
    EXPECT_EQ(menuText(plan.menu), "-Fsr");
    EXPECT_FALSE(plan.state.bgmOn);
    EXPECT_TRUE(plan.state.musicFile.isEmpty());
    EXPECT_FALSE(plan.openMusicFile || plan.playMusicFile);
}

// The file saved last is gone (or none was saved): no music even when a
// folder with files was saved, and the folder is not scanned. The saved path
// is kept, so the next exit writes it back with the music off.
TEST(MusicStartup, MissingSavedFileMeansNoMusicEvenForRandomPlay) {
    Scene scene(true, "/gone.mid", "/songs", false);
    scene.folderFiles = {"/songs/a.mid"};
    FixedRandom random(0);
    const MusicStartupPlan plan = decideMusicStartup(scene.facts, random);
    EXPECT_EQ(menuText(plan.menu), "-Fsr");
    EXPECT_FALSE(plan.state.bgmOn);
    EXPECT_FALSE(plan.state.randomMode);
    EXPECT_EQ(plan.state.musicFile, "/gone.mid");
    EXPECT_FALSE(plan.openMusicFile);
    EXPECT_EQ(scene.scans, 0);

    Scene empty(true, "", "", false);
    EXPECT_EQ(menuText(decideMusicStartup(empty.facts, random).menu), "-Fsr");
}

// "Music" 0: the saved file is opened for single play but not played, S1 is
// checked; a saved folder is not scanned and random play is off.
TEST(MusicStartup, MusicOffOpensTheSavedFileSilentlyForSinglePlay) {
    Scene scene(false, "/a.mid", "/songs");
    FixedRandom random(0);
    const MusicStartupPlan plan = decideMusicStartup(scene.facts, random);
    EXPECT_EQ(menuText(plan.menu), "oFSr");
    EXPECT_FALSE(plan.state.bgmOn);
    EXPECT_FALSE(plan.state.randomMode);
    EXPECT_EQ(plan.state.musicFile, "/a.mid");
    EXPECT_TRUE(plan.openMusicFile);
    EXPECT_FALSE(plan.playMusicFile);
    EXPECT_EQ(scene.scans, 0);
}

// "Music" 1 without a folder: the saved file plays; neither S1 nor R2 checked.
TEST(MusicStartup, MusicOnWithoutFolderPlaysTheSavedFile) {
    Scene scene(true, "/a.mid", "");
    FixedRandom random(0);
    const MusicStartupPlan plan = decideMusicStartup(scene.facts, random);
    EXPECT_EQ(menuText(plan.menu), "Ofsr");
    EXPECT_TRUE(plan.state.bgmOn);
    EXPECT_FALSE(plan.state.randomMode);
    EXPECT_EQ(plan.state.musicFile, "/a.mid");
    EXPECT_TRUE(plan.openMusicFile && plan.playMusicFile);
    EXPECT_EQ(random.seeds, 0);
}

// "Music" 1 with a folder that is gone, or holds no .mid files: no music,
// nothing opened, S1 and R2 unchecked.
TEST(MusicStartup, MusicOnWithMissingOrEmptyFolderMeansNoMusic) {
    FixedRandom random(0);
    Scene gone(true, "/a.mid", "/gone", true, false);
    MusicStartupPlan plan = decideMusicStartup(gone.facts, random);
    EXPECT_EQ(menuText(plan.menu), "-Fsr");
    EXPECT_FALSE(plan.state.bgmOn || plan.state.randomMode || plan.openMusicFile);
    EXPECT_EQ(gone.scans, 0);

    Scene empty(true, "/a.mid", "/songs");
    plan = decideMusicStartup(empty.facts, random);
    EXPECT_EQ(menuText(plan.menu), "-Fsr");
    EXPECT_FALSE(plan.state.bgmOn || plan.state.randomMode || plan.openMusicFile);
    EXPECT_TRUE(plan.state.midiFiles.isEmpty());
    EXPECT_EQ(empty.scans, 1);
}

// "Music" 1 with a folder of .mid files: random play of a file picked after
// re-seeding, among all the files found, in the order found.
TEST(MusicStartup, MusicOnWithFolderPlaysARandomFoundFile) {
    Scene scene(true, "/a.mid", "/songs");
    scene.folderFiles = {"/songs/x.mid", "/songs/y.mid", "/songs/z.mid"};
    FixedRandom random(2);
    const MusicStartupPlan plan = decideMusicStartup(scene.facts, random);
    EXPECT_EQ(menuText(plan.menu), "OfsR");
    EXPECT_TRUE(plan.state.bgmOn);
    EXPECT_TRUE(plan.state.randomMode);
    EXPECT_EQ(plan.state.midiFiles, scene.folderFiles);
    EXPECT_EQ(plan.state.musicFile, "/songs/z.mid");
    EXPECT_EQ(plan.state.musicFolder, "/songs");
    EXPECT_EQ(random.seeds, 1);
    EXPECT_EQ(random.bounds, std::vector<int>{3});
    EXPECT_TRUE(plan.openMusicFile && plan.playMusicFile);
}

// Exit in random play writes the last random file and the folder; the next
// start finds them on disk, checks that file and picks anew from the tree.
TEST(MusicStartup, SettingsWrittenInRandomPlayResumeRandomPlayNextRun) {
    TempAppDir app;
    app.writeBytes("songs/one.mid", "x");
    app.writeBytes("songs/deep/two.mid", "x");
    app.writeBytes("songs/THREE.MID", "x");
    writeBgmSettings(app.path(), true, app.path() + "songs/one.mid", app.path() + "songs");
    int pumps = 0;
    const MusicStartupFacts facts = gatherMusicStartupFacts(app.path(), [&] { ++pumps; });
    EXPECT_TRUE(facts.settingsExist && facts.musicFileExists && facts.musicFolderExists);
    FixedRandom random(1);
    const MusicStartupPlan plan = decideMusicStartup(facts, random);
    QStringList sorted = plan.state.midiFiles;
    sorted.sort();
    EXPECT_EQ(sorted, (QStringList{app.path() + "songs/deep/two.mid", app.path() + "songs/one.mid"}));
    EXPECT_EQ(plan.state.musicFile, plan.state.midiFiles.at(1));
    EXPECT_EQ(pumps, 2);

    // The saved file deleted: off, and the scan is not even run.
    QFile::remove(app.path() + "songs/one.mid");
    const MusicStartupFacts gone = gatherMusicStartupFacts(app.path(), [&] { ++pumps; });
    EXPECT_FALSE(gone.musicFileExists);
    EXPECT_EQ(menuText(decideMusicStartup(gone, random).menu), "-Fsr");
    EXPECT_EQ(pumps, 2);
}

// The loop restarts the music whenever the reply, as a 16-character buffer
// holds it, does not begin with "playing" exactly.
TEST(MusicCommands, OnlyAReplyStartingWithPlayingMeansPlaying) {
    EXPECT_TRUE(replyMeansPlaying("playing"));
    EXPECT_TRUE(replyMeansPlaying(QStringLiteral("playing") + QChar(0) + "junk"));
    EXPECT_FALSE(replyMeansPlaying("stopped"));
    EXPECT_FALSE(replyMeansPlaying("Playing"));
    EXPECT_FALSE(replyMeansPlaying("play"));
    EXPECT_FALSE(replyMeansPlaying(""));
    EXPECT_FALSE(replyMeansPlaying(QStringLiteral("pla") + QChar(0) + "ying"));
    EXPECT_EQ(openMusicCommand("/a b/c.mid"), "open \"/a b/c.mid\" alias FILE");
    FixedRandom random(1);
    EXPECT_EQ(randomMidiFile({"/x.mid", "/y.mid"}, random), "/y.mid");
    EXPECT_TRUE(randomMidiFile({}, random).isEmpty());
}
