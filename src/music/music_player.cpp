// SPDX-License-Identifier: GPL-3.0-or-later
// The music player: the media commands, replacing the device by another
// MIDI file, the play loop, the About box's pause and the closing.
#include "music/music_player.h"

#include "audio/media_control.h"
#include "board/board.h"
#include "music/bgm_settings.h"
#include "music/midi_scan.h"
#include "music/music_commands.h"

#include <QAction>
#include <QCoreApplication>

MusicPlayer::MusicPlayer(Board& board, const QString& appDir, UserDialogs& dialogs, RandomSource& random,
                         MediaControl& media)
    : board_(board), appDir_(appDir), dialogs_(dialogs), random_(random), media_(media) {}

int MusicPlayer::mciSendString(const QString& command, QString* reply) { return media_.sendString(command, reply); }

void MusicPlayer::mciExecute(const QString& command) { executeMediaCommand(media_, command, dialogs_); }

void MusicPlayer::PlayMidiFile(const QString& path) {
    if (music_.windowClosing) return;
    if (!music_.musicFile.isEmpty()) {
        mciExecute(QStringLiteral("stop FILE"));
        mciSendString(QStringLiteral("close FILE"));
    }
    music_.musicFile = path;
    QCoreApplication::processEvents();
    if (music_.windowClosing) return;
    mciSendString(openMusicCommand(path));
    mciSendString(QStringLiteral("play FILE"));
}

void MusicPlayer::ScanMidiFolder(const QString& folder) {
    // Once per folder, so the window keeps repainting during a long scan.
    scanMidiFolder(folder, MidiList, [] { QCoreApplication::processEvents(); });
}

// The play loop, once a second: a file that is no longer playing starts again
// from its beginning, or in random play gives way to another random file.
void MusicPlayer::MusicTimerTimer() {
    if (!music_.bgmOn || music_.windowClosing) return;
    QString reply;
    const int status = mciSendString(QStringLiteral("status FILE mode"), &reply);
    // A random file that could not be opened leaves no device to ask:
    // count it as ended so random play moves on instead of stopping for good.
    const bool randomFileNotOpen = music_.randomMode && status == MediaAliasNotOpen;
    if (status != MediaOk && !randomFileNotOpen) return;
    QCoreApplication::processEvents();
    // The user may have switched the music off, or closed the window,
    // while messages went through.
    if (!music_.bgmOn || music_.windowClosing) return;
    if (!randomFileNotOpen && replyMeansPlaying(reply)) return;

    if (music_.randomMode) {
        const QString next = randomMidiFile(music_.midiFiles, random_);
        if (!next.isEmpty()) PlayMidiFile(next);
    } else {
        mciSendString(QStringLiteral("seek FILE to 0"));
        mciSendString(QStringLiteral("play File"));
    }
}

void MusicPlayer::pauseForAbout() {
    if (!music_.bgmOn) return;
    mciExecute(QStringLiteral("stop FILE"));
    music_.bgmOn = false;
}

void MusicPlayer::resumeAfterAbout() {
    if (!board_.ONO1->isChecked()) return;
    mciSendString(QStringLiteral("seek FILE to 0"));
    mciSendString(QStringLiteral("play File"));
    music_.bgmOn = true;
}

void MusicPlayer::FormClose() {
    music_.windowClosing = true;
    if (music_.bgmOn) mciExecute(QStringLiteral("stop FILE"));
    if (music_.musicFile.isEmpty()) return;
    writeBgmSettings(appDir_, board_.ONO1->isChecked(), music_.musicFile,
                     music_.randomMode ? music_.musicFolder : QString());
}
