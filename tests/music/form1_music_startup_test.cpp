// SPDX-License-Identifier: GPL-3.0-or-later
// The start of the background music at the end of the title, decided by the
// saved settings, and the settings written when the window closes.
#include "music/form1_music_support.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}

}  // namespace

TEST(MusicStartup, WithoutSettingsTheMenuOpensOnNoMusicAndClosingWritesNothing) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir);
    TForm1& f = *w.form;
    EXPECT_FALSE(f.BGMB1->isEnabled());
    EXPECT_FALSE(f.MusicTimer->isActive());

    w.finishTitle();
    EXPECT_TRUE(f.BGMB1->isEnabled());
    EXPECT_TRUE(f.MusicTimer->isActive());
    EXPECT_FALSE(f.ONO1->isChecked());
    EXPECT_FALSE(f.ONO1->isEnabled());
    EXPECT_TRUE(f.OFFF1->isChecked());
    EXPECT_FALSE(f.S1->isChecked());
    EXPECT_FALSE(f.R2->isChecked());

    f.MusicTimerTimer();
    EXPECT_TRUE(f.close());
    EXPECT_TRUE(w.media->commands.isEmpty()) << w.media->commands.join(" | ").toStdString();
    EXPECT_FALSE(QFileInfo::exists(bgmSettingsPath(dir.path())));
    EXPECT_TRUE(w.dialogs->errors.isEmpty());
}

// A saved single file plays at once and is started again from its beginning
// whenever the device reports anything but "playing"; a failing status query
// skips the tick.
TEST(MusicStartup, SavedFilePlaysAndRepeatsFromItsBeginningWhenItEnds) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    const QString song = writeSong(dir, QStringLiteral("songs/song.mid"));
    writeBgmIni(dir, QStringLiteral("1"), song, QString());
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();

    EXPECT_EQ(w.media->commands, (QStringList{openCommand(song), QStringLiteral("play FILE")}));
    EXPECT_TRUE(f.ONO1->isChecked());
    EXPECT_TRUE(f.ONO1->isEnabled());
    EXPECT_FALSE(f.OFFF1->isChecked());
    EXPECT_FALSE(f.S1->isChecked()) << "single play from the settings shows neither S1 nor R2";
    EXPECT_FALSE(f.R2->isChecked());
    EXPECT_TRUE(f.BGMB1->isEnabled());

    w.media->commands.clear();
    f.MusicTimerTimer();
    EXPECT_EQ(w.media->commands, QStringList{QStringLiteral("status FILE mode")});

    w.media->commands.clear();
    w.media->statusReply = QStringLiteral("stopped");
    f.MusicTimerTimer();
    EXPECT_EQ(w.media->commands, (QStringList{QStringLiteral("status FILE mode"), QStringLiteral("seek FILE to 0"),
                                              QStringLiteral("play File")}));

    w.media->commands.clear();
    w.media->failCode = MediaAliasNotOpen;
    f.MusicTimerTimer();
    EXPECT_EQ(w.media->commands, QStringList{QStringLiteral("status FILE mode")});

    w.media->failCode = 0;
    w.media->commands.clear();
    EXPECT_TRUE(f.close());
    EXPECT_EQ(w.media->commands, QStringList{QStringLiteral("stop FILE")});
    EXPECT_EQ(savedBgmIni(dir), bgmIniText(QStringLiteral("1"), song, QString()));
}

// "Music" 0: the file is opened but silent, S1 carries the check, ON plays it
// from the beginning, and the folder saved beside it is no longer in use.
TEST(MusicStartup, MusicOffOpensTheSavedFileSilentlyAndOnPlaysItFromTheBeginning) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    const QString song = writeSong(dir, QStringLiteral("songs/song.mid"));
    const QString folder = dir.path() + QStringLiteral("tunes");
    writeSong(dir, QStringLiteral("tunes/other.mid"));
    writeBgmIni(dir, QStringLiteral("0"), song, folder);
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();

    EXPECT_EQ(w.media->commands, QStringList{openCommand(song)});
    EXPECT_TRUE(f.S1->isChecked());
    EXPECT_FALSE(f.R2->isChecked());
    EXPECT_FALSE(f.ONO1->isChecked());
    EXPECT_TRUE(f.ONO1->isEnabled());
    EXPECT_TRUE(f.OFFF1->isChecked());
    f.MusicTimerTimer();
    EXPECT_EQ(w.media->commands.size(), 1) << "the loop rests while the music is off";

    w.media->commands.clear();
    f.ONO1->trigger();
    EXPECT_EQ(w.media->commands, (QStringList{QStringLiteral("seek FILE to 0"), QStringLiteral("play FILE")}));
    EXPECT_TRUE(f.ONO1->isChecked());
    EXPECT_FALSE(f.OFFF1->isChecked());
    EXPECT_TRUE(f.BGMB1->isEnabled());
    EXPECT_TRUE(f.musicPlayer().state().bgmOn);

    w.media->commands.clear();
    f.ONO1->trigger();
    EXPECT_TRUE(w.media->commands.isEmpty()) << "ON while on does nothing";
    EXPECT_TRUE(f.ONO1->isChecked()) << "and keeps its check mark";

    EXPECT_TRUE(f.close());
    EXPECT_EQ(savedBgmIni(dir), bgmIniText(QStringLiteral("1"), song, QString()));
}

// Random play: only lower-case .mid files anywhere in the tree count; a new
// random file follows the one that ended; the exit saves the last one and the
// folder, and the next start picks afresh.
TEST(MusicStartup, FolderTreePlaysRandomFilesOneAfterAnother) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    const QString folder = dir.path() + QStringLiteral("tunes");
    const QString a = writeSong(dir, QStringLiteral("tunes/a.mid"));
    const QString b = writeSong(dir, QStringLiteral("tunes/sub/deeper/b.mid"));
    writeSong(dir, QStringLiteral("tunes/c.MID"));
    writeSong(dir, QStringLiteral("tunes/sub/d.Mid"));
    dir.writeBytes(QStringLiteral("tunes/notes.txt"), "x");
    writeBgmIni(dir, QStringLiteral("1"), a, folder);
    {
        GameWindow w(dir);
        TForm1& f = *w.form;
        w.random->values = {1, 0};
        w.finishTitle();

        ASSERT_EQ(sorted(f.musicPlayer().state().midiFiles), (QStringList{a, b}));
        const QStringList found = f.musicPlayer().state().midiFiles;
        EXPECT_EQ(w.random->seeds, 1);
        EXPECT_EQ(w.media->commands, (QStringList{openCommand(found[1]), QStringLiteral("play FILE")}));
        EXPECT_TRUE(f.R2->isChecked());
        EXPECT_FALSE(f.S1->isChecked());
        EXPECT_TRUE(f.ONO1->isChecked());
        EXPECT_TRUE(f.musicPlayer().state().randomMode);

        w.media->commands.clear();
        w.media->statusReply = QStringLiteral("stopped");
        f.MusicTimerTimer();
        EXPECT_EQ(w.media->commands,
                  (QStringList{QStringLiteral("status FILE mode"), QStringLiteral("stop FILE"),
                               QStringLiteral("close FILE"), openCommand(found[0]), QStringLiteral("play FILE")}));
        EXPECT_EQ(w.random->seeds, 1) << "the loop does not re-seed";

        EXPECT_TRUE(f.close());
        EXPECT_EQ(savedBgmIni(dir), bgmIniText(QStringLiteral("1"), found[0], folder));
    }
    GameWindow next(dir);
    next.random->values = {1};
    next.finishTitle();
    EXPECT_EQ(next.media->commands.value(0), openCommand(next.form->musicPlayer().state().midiFiles.value(1)));
    EXPECT_TRUE(next.form->R2->isChecked());
}

// The saved file gone: no music although the folder holds others, and the
// exit turns the settings into "off" so random play is not resumed later.
TEST(MusicStartup, SavedFileGoneMeansNoMusicAndTheExitSavesMusicOff) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    const QString folder = dir.path() + QStringLiteral("tunes");
    writeSong(dir, QStringLiteral("tunes/b.mid"));
    const QString gone = folder + QStringLiteral("/gone.mid");
    writeBgmIni(dir, QStringLiteral("1"), gone, folder);
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();

    EXPECT_FALSE(f.ONO1->isEnabled());
    EXPECT_FALSE(f.ONO1->isChecked());
    EXPECT_TRUE(f.OFFF1->isChecked());
    EXPECT_FALSE(f.R2->isChecked());
    EXPECT_TRUE(f.BGMB1->isEnabled());
    EXPECT_TRUE(f.close());
    EXPECT_TRUE(w.media->commands.isEmpty()) << w.media->commands.join(" | ").toStdString();
    EXPECT_EQ(savedBgmIni(dir), bgmIniText(QStringLiteral("0"), gone, QString()));
}

// A missing folder or one with only capital-letter .MID files leaves no music.
TEST(MusicStartup, FolderWithoutLowerCaseMidFilesOrMissingLeavesNoMusic) {
    for (const bool folderExists : {true, false}) {
        TempAppDir dir;
        writeTestCatalogue(dir, 3);
        const QString song = writeSong(dir, QStringLiteral("song.mid"));
        const QString folder = dir.path() + QStringLiteral("tunes");
        if (folderExists) {
            writeSong(dir, QStringLiteral("tunes/A.MID"));
            writeSong(dir, QStringLiteral("tunes/sub/b.MID"));
        }
        writeBgmIni(dir, QStringLiteral("1"), song, folder);
        GameWindow w(dir);
        TForm1& f = *w.form;
        w.finishTitle();
        EXPECT_TRUE(w.media->commands.isEmpty()) << "folder exists: " << folderExists;
        EXPECT_FALSE(f.ONO1->isEnabled());
        EXPECT_TRUE(f.OFFF1->isChecked());
        EXPECT_FALSE(f.S1->isChecked());
        EXPECT_FALSE(f.R2->isChecked());
        EXPECT_FALSE(f.musicPlayer().state().bgmOn);
        EXPECT_TRUE(f.BGMB1->isEnabled());
        EXPECT_TRUE(f.MusicTimer->isActive());
    }
}

// A Japanese path goes into the Shift-JIS settings file and comes back intact.
TEST(MusicSettings, JapanesePathRoundTripsThroughTheSettingsFile) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    const QString song = writeSong(dir, QStringLiteral("曲/ポムリナの歌.mid"));
    {
        GameWindow w(dir);
        w.finishTitle();
        w.dialogs->openFileAnswers = {song};
        w.form->S1->trigger();
        EXPECT_TRUE(w.form->close());
    }
    EXPECT_TRUE(dir.readBytes(QStringLiteral("data/BGM.ini")).contains(toShiftJis(QStringLiteral("曲/ポムリナの歌.mid"))));
    GameWindow again(dir);
    again.finishTitle();
    EXPECT_EQ(again.media->commands, (QStringList{openCommand(song), QStringLiteral("play FILE")}));
    EXPECT_TRUE(again.form->ONO1->isChecked());
}

TEST(MusicSettings, AnUnwritableSettingsFileIsReportedAndTheWindowStillCloses) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    const QString song = writeSong(dir, QStringLiteral("song.mid"));
    QDir().mkpath(dir.path() + QStringLiteral("data/BGM.ini"));  // a folder where the file should go
    GameWindow w(dir);
    w.finishTitle();
    w.dialogs->openFileAnswers = {song};
    w.form->S1->trigger();

    EXPECT_TRUE(w.form->close());
    EXPECT_FALSE(w.form->isVisible());
    EXPECT_EQ(w.dialogs->errors, QStringList{bgmSettingsPath(dir.path()) + QStringLiteral(" に書き込めません")});
    EXPECT_TRUE(QFileInfo(dir.path() + QStringLiteral("data/BGM.ini")).isDir());
}
