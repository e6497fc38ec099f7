// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/media_control.h"
#include "audio/media_output.h"
#include "audio/media_smf_builder.h"
#include "audio/media_synth.h"
#include "desktop/user_dialogs.h"
#include "support/temp_app_dir.h"

#include <QDeadlineTimer>
#include <QThread>
#include <gtest/gtest.h>

namespace {

QString ask(MediaControl& media, const QString& command) {
    QString reply;
    const int result = media.sendString(command, &reply);
    return result == MediaOk ? reply : QStringLiteral("error %1").arg(result);
}

QString openCommand(const QString& path) {
    return QStringLiteral("open \"%1\" alias FILE").arg(path);
}

class RecordingDialogs : public UserDialogs {
public:
    bool confirm(const QString&) override { return false; }
    void notice(const QString& text) override { shown << text; }
    void showError(const QString& text) override { shown << text; }
    QString openFile(const QString&, const QString&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    QStringList shown;
};

}  // namespace

// The music loop polls the mode once a second and restarts the song when it is
// no longer "playing": the mode must change as soon as the last event has
// played (not seconds later), and seek 0 + "play File" must start it again.
TEST(MediaControl, ModeLeavesPlayingAtTheLastEventAndSeekZeroRestarts) {
    TempAppDir dir;
    dir.writeBytes("song.mid", oneSecondSong());
    auto media = createMediaControlForTests();
    ASSERT_EQ(media->sendString(openCommand(dir.file("song.mid"))), MediaOk);
    EXPECT_EQ(ask(*media, "status FILE mode"), "stopped") << "opened, not yet played";
    EXPECT_EQ(ask(*media, "status FILE length"), "1000");

    ASSERT_EQ(media->sendString("play FILE"), MediaOk);
    EXPECT_EQ(ask(*media, "status FILE mode"), "playing");
    media->advance(990);
    EXPECT_EQ(ask(*media, "status FILE mode"), "playing");
    EXPECT_EQ(ask(*media, "status FILE position"), "990");
    media->advance(15);
    EXPECT_EQ(ask(*media, "status FILE mode"), "stopped");
    EXPECT_EQ(ask(*media, "status FILE position"), "1000");

    media->advance(500);  // an ended song stays at its end
    EXPECT_EQ(ask(*media, "status FILE position"), "1000");
    EXPECT_EQ(media->sendString("play File"), MediaOk);
    EXPECT_EQ(ask(*media, "status FILE mode"), "stopped") << "nothing left to play at the end";

    ASSERT_EQ(media->sendString("seek FILE to 0"), MediaOk);
    EXPECT_EQ(ask(*media, "status FILE position"), "0");
    ASSERT_EQ(media->sendString("play File"), MediaOk);
    media->advance(300);
    EXPECT_EQ(ask(*media, "status FILE mode"), "playing");
    EXPECT_EQ(ask(*media, "status FILE position"), "300");
}

// "stop" keeps the place and "play" goes on from it; time passing while
// stopped does not move it.
TEST(MediaControl, StopKeepsThePositionAndPlayResumesFromIt) {
    TempAppDir dir;
    dir.writeBytes("song.mid", oneSecondSong());
    auto media = createMediaControlForTests();
    ASSERT_EQ(media->sendString(openCommand(dir.file("song.mid"))), MediaOk);
    media->sendString("play FILE");
    media->advance(400);
    ASSERT_EQ(media->sendString("stop FILE"), MediaOk);
    EXPECT_EQ(ask(*media, "status FILE mode"), "stopped");
    media->advance(2000);
    EXPECT_EQ(ask(*media, "status FILE position"), "400");
    media->sendString("play FILE");
    media->advance(100);
    EXPECT_EQ(ask(*media, "status FILE position"), "500");
    media->advance(499);
    EXPECT_EQ(ask(*media, "status FILE mode"), "playing") << "the stop did not shorten the song";
}

// The program sends "play FILE" in one place and "play File" in another;
// command words and aliases are compared without regard to case, paths not.
TEST(MediaControl, CommandWordsAndAliasesIgnoreLetterCase) {
    TempAppDir dir;
    dir.writeBytes("Song.mid", oneSecondSong());
    auto media = createMediaControlForTests();
    EXPECT_EQ(media->sendString(openCommand(dir.file("song.mid"))), MediaFileNotFound);
    ASSERT_EQ(media->sendString(QStringLiteral("OPEN \"%1\" ALIAS File").arg(dir.file("Song.mid"))), MediaOk);
    EXPECT_EQ(media->sendString("Play file"), MediaOk);
    EXPECT_EQ(ask(*media, "STATUS FILE MODE"), "playing");
    EXPECT_EQ(media->sendString("stop fILE"), MediaOk);
    EXPECT_EQ(media->sendString("CLOSE File"), MediaOk);
    EXPECT_EQ(media->sendString("play FILE"), MediaAliasNotOpen) << "closed frees the alias";
}

// Opening what is not a playable MIDI file fails with a code and leaves the
// device usable; commands on an alias that is not open fail too.
TEST(MediaControl, OpenRefusesMissingAndBrokenFilesWithoutHarm) {
    TempAppDir dir;
    dir.writeBytes("text.mid", "MThd but really just some text");
    dir.writeBytes("cut.mid", oneSecondSong().left(20));  // cut inside the first chunk's header
    dir.writeBytes("empty.mid", QByteArray());
    dir.writeBytes("good.mid", oneSecondSong());
    auto media = createMediaControlForTests();
    EXPECT_EQ(media->sendString(openCommand(dir.path() + "missing.mid")), MediaFileNotFound);
    EXPECT_EQ(media->sendString(openCommand(dir.path())), MediaFileNotFound) << "a folder";
    EXPECT_EQ(media->sendString(openCommand(dir.file("text.mid"))), MediaNotMidiFile);
    EXPECT_EQ(media->sendString(openCommand(dir.file("cut.mid"))), MediaNotMidiFile);
    EXPECT_EQ(media->sendString(openCommand(dir.file("empty.mid"))), MediaNotMidiFile);
    QString reply = "old";
    EXPECT_EQ(media->sendString("status FILE mode", &reply), MediaAliasNotOpen);
    EXPECT_TRUE(reply.isEmpty());
    EXPECT_EQ(media->sendString("stop FILE"), MediaAliasNotOpen);
    EXPECT_EQ(media->sendString("close FILE"), MediaAliasNotOpen);

    EXPECT_EQ(media->sendString(openCommand(dir.file("good.mid"))), MediaOk);
    EXPECT_EQ(media->sendString("play FILE"), MediaOk);
}

// One MIDI device: a second open under the same or another alias is refused
// until the first is closed. Malformed commands are refused, not guessed.
TEST(MediaControl, OneDeviceAtATimeAndMalformedCommandsAreRefused) {
    TempAppDir dir;
    dir.writeBytes("a b\"c.mid", oneSecondSong());  // blanks and a quote in the name
    const QString path = dir.file("a b\"c.mid");
    auto media = createMediaControlForTests();
    ASSERT_EQ(media->sendString(openCommand(path)), MediaOk);
    EXPECT_EQ(media->sendString(openCommand(path)), MediaAliasInUse);
    EXPECT_EQ(media->sendString(QStringLiteral("open \"%1\" alias OTHER").arg(path)), MediaDeviceBusy);
    EXPECT_EQ(media->sendString("close FILE"), MediaOk);
    EXPECT_EQ(media->sendString(QStringLiteral("open \"%1\" alias OTHER").arg(path)), MediaOk);
    EXPECT_EQ(media->sendString("play other"), MediaOk);

    EXPECT_EQ(media->sendString("rewind OTHER"), MediaUnknownCommand);
    EXPECT_EQ(media->sendString(""), MediaUnknownCommand);
    EXPECT_EQ(media->sendString("play"), MediaBadParameters);
    EXPECT_EQ(media->sendString("play OTHER now"), MediaBadParameters);
    EXPECT_EQ(media->sendString("seek OTHER 0"), MediaBadParameters);
    EXPECT_EQ(media->sendString("seek OTHER to -5"), MediaBadParameters);
    EXPECT_EQ(media->sendString("status OTHER colour"), MediaBadParameters);
    EXPECT_EQ(media->sendString("open \"unterminated alias X"), MediaBadParameters);
    EXPECT_EQ(ask(*media, "status OTHER mode"), "playing") << "refused commands change nothing";
}

// With the General MIDI SoundFont the notes are really synthesized, and a stop
// cuts them off; the timing does not depend on having one.
TEST(MediaControl, NotesSoundWithTheSoundFontAndStopSilencesThem) {
    const QStringList soundFonts = soundFontCandidates();
    if (soundFonts.isEmpty()) GTEST_SKIP() << "no SoundFont installed";
    TempAppDir dir;
    dir.writeBytes("song.mid", oneSecondSong());
    auto media = createMediaControlForTests(soundFonts);
    ASSERT_EQ(media->sendString(openCommand(dir.file("song.mid"))), MediaOk);
    media->advance(200);
    EXPECT_EQ(media->peakLevel(), 0.0f) << "opened, not playing";
    media->sendString("play FILE");
    media->advance(200);
    const float playing = media->peakLevel();
    EXPECT_GT(playing, 0.01f);
    media->sendString("stop FILE");
    media->advance(50);
    media->advance(1000);
    EXPECT_LT(media->peakLevel(), playing / 20);
}

// The failure report of the media service: errors reach the user, except
// stopping or closing a device that is not open, which leaves things silent
// as asked.
TEST(MediaControl, ExecuteReportsFailuresButNotSilencingAClosedDevice) {
    auto media = createMediaControlForTests();
    RecordingDialogs dialogs;
    EXPECT_EQ(executeMediaCommand(*media, "stop FILE", dialogs), MediaAliasNotOpen);
    EXPECT_EQ(executeMediaCommand(*media, "close FILE", dialogs), MediaAliasNotOpen);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(executeMediaCommand(*media, "play FILE", dialogs), MediaAliasNotOpen);
    EXPECT_EQ(executeMediaCommand(*media, openCommand("/nonexistent/x.mid"), dialogs), MediaFileNotFound);
    EXPECT_EQ(dialogs.shown, (QStringList{mediaErrorText(MediaAliasNotOpen), mediaErrorText(MediaFileNotFound)}));
    EXPECT_NE(mediaErrorText(MediaAliasNotOpen), mediaErrorText(MediaFileNotFound));
    EXPECT_TRUE(mediaErrorText(MediaNotMidiFile).contains(QStringLiteral("(7)")));
}

// The user's driver comes first, then the desktop sound servers, each once.
TEST(MediaOutput, DriverOrderPutsTheUsersChoiceFirst) {
    EXPECT_EQ(audioDriverOrder(""), (QStringList{"pulseaudio", "alsa", "jack", "sdl2"}));
    EXPECT_EQ(audioDriverOrder(" ALSA "), (QStringList{"alsa", "pulseaudio", "jack", "sdl2"}));
    EXPECT_EQ(audioDriverOrder("pipewire"), (QStringList{"pipewire", "pulseaudio", "alsa", "jack", "sdl2"}));
}

TEST(MediaOutput, DefaultGeneralMidiSoundFontIsPreferredThenNameOrder) {
    TempAppDir dir;
    dir.writeBytes("b.sf2", "x");
    dir.writeBytes("a.sf2", "x");
    dir.writeBytes("notes.txt", "x");
    EXPECT_EQ(soundFontCandidates(dir.path()), (QStringList{dir.path() + "a.sf2", dir.path() + "b.sf2"}));
    dir.writeBytes("default-GM.sf2", "x");
    EXPECT_EQ(soundFontCandidates(dir.path()).value(0), dir.path() + "default-GM.sf2");
    EXPECT_EQ(soundFontCandidates(dir.path()).size(), 3);
    EXPECT_TRUE(soundFontCandidates(dir.path() + "missing").isEmpty());
}

// The real device on this machine: whatever output it finds (a silent sink
// without a sound card), a short song plays in real time and ends by itself.
TEST(MediaControl, RealTimeDeviceEndsASongByItself) {
    TempAppDir dir;
    TrackBytes t;
    t.at(0, {0x90, 60, 1}).at(96, {0x80, 60, 0}).end(0);  // 100 ms
    dir.writeBytes("short.mid", midiHeader(0, 1, 480) + t.chunk());
    auto media = createMediaControl();
    ASSERT_EQ(media->sendString(openCommand(dir.file("short.mid"))), MediaOk);
    ASSERT_EQ(media->sendString("play FILE"), MediaOk);
    QDeadlineTimer deadline(10000);
    while (ask(*media, "status FILE mode") == "playing" && !deadline.hasExpired()) QThread::msleep(20);
    EXPECT_EQ(ask(*media, "status FILE mode"), "stopped");
    EXPECT_EQ(ask(*media, "status FILE position"), "100");
}
