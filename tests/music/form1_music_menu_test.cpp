// SPDX-License-Identifier: GPL-3.0-or-later
// The BGM submenu: ON, OFF, one chosen file and random play from a chosen
// folder, driven through the menu's actions of the real window.
#include "music/form1_music_support.h"

#include <QAction>
#include <QDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString kFolderPrompt = QStringLiteral("midiファイル(拡張子が\".mid\"のもの)が存在する\rフォルダを選んでください。");
const QString kNoMidiNotice =
    QStringLiteral("指定されたフォルダにはmidiファイルが存在しません。\r別のフォルダを指定してください。");

// Whether BGMB1 was enabled when the command let window messages through.
struct SubmenuWhileBusy {
    explicit SubmenuWhileBusy(TForm1& f) {
        QTimer::singleShot(0, &f, [this, &f] { seen = f.BGMB1->isEnabled() ? 1 : 0; });
    }
    int seen = -1;  // -1: messages never went through
};

}  // namespace

TEST(MusicMenu, ChoosingAFileReplacesTheOneBeforeAndOffStopsItUntilOn) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    const QString first = writeSong(dir, QStringLiteral("first.mid"));
    const QString second = writeSong(dir, QStringLiteral("second.mid"));
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();

    f.S1->trigger();  // cancelled
    EXPECT_EQ(w.dialogs->openFileTitles, QStringList{QString()});
    EXPECT_EQ(w.dialogs->openFileFilters, QStringList{QStringLiteral("midiファイル(*.mid)|*.mid")});
    EXPECT_TRUE(w.media->commands.isEmpty());
    EXPECT_FALSE(f.S1->isChecked()) << "a cancelled choice leaves the check marks alone";
    EXPECT_FALSE(f.ONO1->isEnabled());

    w.dialogs->openFileAnswers = {first};
    SubmenuWhileBusy busy(f);
    f.S1->trigger();
    EXPECT_EQ(busy.seen, 0) << "the submenu stays closed while messages go through";
    EXPECT_EQ(w.media->commands, (QStringList{openCommand(first), QStringLiteral("play FILE")}));
    EXPECT_TRUE(f.S1->isChecked());
    EXPECT_FALSE(f.R2->isChecked());
    EXPECT_TRUE(f.ONO1->isChecked());
    EXPECT_TRUE(f.ONO1->isEnabled());
    EXPECT_FALSE(f.OFFF1->isChecked());
    EXPECT_TRUE(f.BGMB1->isEnabled());
    EXPECT_TRUE(f.MusicTimer->isActive());

    w.media->commands.clear();
    w.dialogs->openFileAnswers = {second};
    f.S1->trigger();
    EXPECT_EQ(w.media->commands, (QStringList{QStringLiteral("stop FILE"), QStringLiteral("close FILE"),
                                              openCommand(second), QStringLiteral("play FILE")}));

    w.media->commands.clear();
    f.OFFF1->trigger();
    EXPECT_EQ(w.media->commands, QStringList{QStringLiteral("stop FILE")});
    EXPECT_FALSE(f.ONO1->isChecked());
    EXPECT_TRUE(f.OFFF1->isChecked());
    w.media->statusReply = QStringLiteral("stopped");
    f.MusicTimerTimer();
    f.OFFF1->trigger();
    EXPECT_EQ(w.media->commands.size(), 1) << "neither the loop nor a second OFF sends anything";
    EXPECT_TRUE(f.OFFF1->isChecked());

    SubmenuWhileBusy busyOn(f);
    f.ONO1->trigger();
    EXPECT_EQ(busyOn.seen, 0);
    EXPECT_EQ(w.media->commands.mid(1), (QStringList{QStringLiteral("seek FILE to 0"), QStringLiteral("play FILE")}));
    EXPECT_TRUE(f.BGMB1->isEnabled());

    EXPECT_TRUE(f.close());
    EXPECT_EQ(savedBgmIni(dir), bgmIniText(QStringLiteral("1"), second, QString()));
}

// A folder without .mid files, chosen while a single file plays: the notice,
// the same music, and an empty folder in the settings.
TEST(MusicMenu, FolderWithoutMidFilesShowsTheNoticeAndKeepsTheMusic) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    const QString song = writeSong(dir, QStringLiteral("song.mid"));
    const QString empty = dir.path() + QStringLiteral("empty");
    writeSong(dir, QStringLiteral("empty/LOUD.MID"));
    writeBgmIni(dir, QStringLiteral("1"), song, QString());
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    w.media->commands.clear();

    w.dialogs->folderAnswers = {empty};
    f.R2->trigger();
    EXPECT_EQ(w.dialogs->folderPrompts, QStringList{kFolderPrompt});
    EXPECT_EQ(w.dialogs->folderStarts, QStringList{QString()});
    EXPECT_EQ(w.dialogs->notices, QStringList{kNoMidiNotice});
    EXPECT_TRUE(w.media->commands.isEmpty());
    EXPECT_TRUE(f.ONO1->isChecked());
    EXPECT_FALSE(f.R2->isChecked());
    EXPECT_FALSE(f.musicPlayer().state().randomMode);
    EXPECT_EQ(f.musicPlayer().state().musicFile, song);
    EXPECT_TRUE(f.BGMB1->isEnabled());

    EXPECT_TRUE(f.close());
    EXPECT_EQ(savedBgmIni(dir), bgmIniText(QStringLiteral("1"), song, QString()));
}

// Random play chosen from the menu; the browser opens at the folder in use;
// a later folder without .mid files leaves random play and its folder as they
// were, so the settings still name the folder being played.
TEST(MusicMenu, RandomFolderPlaysAndAFailedNewChoiceKeepsTheFolderInUse) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    const QString folder = dir.path() + QStringLiteral("tunes");
    const QString a = writeSong(dir, QStringLiteral("tunes/a.mid"));
    const QString b = writeSong(dir, QStringLiteral("tunes/more/b.mid"));
    const QString empty = dir.path() + QStringLiteral("empty");
    QDir().mkpath(empty);
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();

    w.random->values = {0};
    w.dialogs->folderAnswers = {folder};
    SubmenuWhileBusy busy(f);
    f.R2->trigger();
    EXPECT_EQ(busy.seen, 0);
    QStringList found = f.musicPlayer().state().midiFiles;
    found.sort();
    EXPECT_EQ(found, (QStringList{a, b}));
    EXPECT_EQ(w.random->seeds, 1);
    EXPECT_EQ(w.media->commands, (QStringList{openCommand(f.musicPlayer().state().midiFiles[0]), QStringLiteral("play FILE")}));
    EXPECT_TRUE(f.R2->isChecked());
    EXPECT_FALSE(f.S1->isChecked());
    EXPECT_TRUE(f.ONO1->isChecked());
    EXPECT_TRUE(f.ONO1->isEnabled());
    EXPECT_FALSE(f.OFFF1->isChecked());
    EXPECT_TRUE(f.musicPlayer().state().randomMode);
    EXPECT_TRUE(f.MusicTimer->isActive());

    f.R2->trigger();  // cancelled
    EXPECT_EQ(w.dialogs->folderStarts.last(), folder);
    EXPECT_EQ(f.musicPlayer().state().musicFolder, folder);

    const QString playing = f.musicPlayer().state().musicFile;
    w.dialogs->folderAnswers = {empty};
    f.R2->trigger();
    EXPECT_EQ(w.dialogs->notices, QStringList{kNoMidiNotice});
    EXPECT_EQ(f.musicPlayer().state().musicFolder, folder);
    EXPECT_TRUE(f.musicPlayer().state().randomMode);
    EXPECT_EQ(f.musicPlayer().state().musicFile, playing);
    EXPECT_TRUE(f.R2->isChecked());

    EXPECT_TRUE(f.close());
    EXPECT_EQ(savedBgmIni(dir), bgmIniText(QStringLiteral("1"), playing, folder));
}

// A folder that has gone is not offered as the browser's start, and is
// forgotten.
TEST(MusicMenu, AFolderThatHasGoneIsNotOfferedToTheBrowser) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    const QString folder = dir.path() + QStringLiteral("tunes");
    writeSong(dir, QStringLiteral("tunes/a.mid"));
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    w.dialogs->folderAnswers = {folder};
    f.R2->trigger();
    ASSERT_TRUE(f.musicPlayer().state().randomMode);

    QDir(folder).removeRecursively();
    f.R2->trigger();  // cancelled
    EXPECT_EQ(w.dialogs->folderStarts, (QStringList{QString(), QString()}));
    EXPECT_TRUE(f.musicPlayer().state().musicFolder.isEmpty());
}

// OFF chosen while the loop lets messages through wins over the loop's restart.
TEST(MusicMenu, OffChosenWhileTheLoopWaitsKeepsTheMusicOff) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    const QString song = writeSong(dir, QStringLiteral("song.mid"));
    writeBgmIni(dir, QStringLiteral("1"), song, QString());
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    w.media->commands.clear();
    w.media->statusReply = QStringLiteral("stopped");

    QTimer::singleShot(0, &f, [&f] { f.OFFF1->trigger(); });
    f.MusicTimerTimer();
    EXPECT_EQ(w.media->commands, (QStringList{QStringLiteral("status FILE mode"), QStringLiteral("stop FILE")}));
    EXPECT_FALSE(f.musicPlayer().state().bgmOn);
    EXPECT_TRUE(f.OFFF1->isChecked());
}
