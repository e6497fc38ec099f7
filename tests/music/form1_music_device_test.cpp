// SPDX-License-Identifier: GPL-3.0-or-later
// The play loop against the real media device with a hand-turned clock: the
// end of a song is noticed and the music goes on.
#include "music/form1_music_support.h"
#include "music/midi_scan.h"

#include <QAction>
#include <gtest/gtest.h>

TEST(MusicLoop, AnEndedSongStartsAgainFromItsBeginning) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    const QString song = writeSong(dir, QStringLiteral("song.mid"));
    writeBgmIni(dir, QStringLiteral("1"), song, QString());
    RealDeviceWindow w(dir);
    TForm1& f = *w.form;
    ASSERT_EQ(w.media->ask(QStringLiteral("status FILE mode")), QStringLiteral("playing"));

    w.media->device->advance(600);
    f.MusicTimerTimer();
    EXPECT_EQ(w.media->ask(QStringLiteral("status FILE position")), QStringLiteral("600")) << "still playing: left alone";

    w.media->device->advance(600);
    ASSERT_EQ(w.media->ask(QStringLiteral("status FILE mode")), QStringLiteral("stopped"));
    f.MusicTimerTimer();
    EXPECT_EQ(w.media->ask(QStringLiteral("status FILE mode")), QStringLiteral("playing"));
    EXPECT_EQ(w.media->ask(QStringLiteral("status FILE position")), QStringLiteral("0"));
    EXPECT_TRUE(w.dialogs->errors.isEmpty());
}

// A random file that cannot be opened leaves no device to ask; the loop takes
// that as the end of the file and moves on to another, where a single file
// that cannot be opened just stays silent without messages.
TEST(MusicLoop, RandomPlayMovesOnFromAFileThatCouldNotBeOpened) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    const QString folder = dir.path() + QStringLiteral("tunes");
    const QString good = writeSong(dir, QStringLiteral("tunes/good.mid"));
    dir.writeBytes(QStringLiteral("tunes/broken.mid"), "not a MIDI file");
    const QString broken = folder + QStringLiteral("/broken.mid");
    QStringList order;
    scanMidiFolder(folder, order);
    ASSERT_EQ(order.size(), 2);

    RealDeviceWindow w(dir);
    TForm1& f = *w.form;
    w.random->values = {int(order.indexOf(broken)), int(order.indexOf(good))};
    w.dialogs->folderAnswers = {folder};
    f.R2->trigger();
    ASSERT_EQ(f.musicPlayer().state().musicFile, broken);
    EXPECT_NE(w.media->ask(QStringLiteral("status FILE mode")), QStringLiteral("playing"));

    f.MusicTimerTimer();
    EXPECT_EQ(f.musicPlayer().state().musicFile, good);
    EXPECT_EQ(w.media->ask(QStringLiteral("status FILE mode")), QStringLiteral("playing"));
    EXPECT_TRUE(w.dialogs->errors.isEmpty()) << w.dialogs->errors.join(" | ").toStdString();

    // Single play of the broken file: each tick only asks.
    w.dialogs->openFileAnswers = {broken};
    f.S1->trigger();
    w.media->commands.clear();
    f.MusicTimerTimer();
    f.MusicTimerTimer();
    EXPECT_EQ(w.media->commands, (QStringList{QStringLiteral("status FILE mode"), QStringLiteral("status FILE mode")}));
    EXPECT_EQ(f.musicPlayer().state().musicFile, broken);
    EXPECT_TRUE(w.dialogs->errors.isEmpty());
}
