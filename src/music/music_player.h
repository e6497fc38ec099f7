// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The background music: the BGM menu (on, off, one chosen MIDI file, or
// random files from a chosen folder tree), the start-up decision when the
// title ends, the play loop on MusicTimer, and the settings kept at closing.
// Playback goes through media command strings on the device alias FILE.
#include "music/music_state.h"

#include <QString>
#include <QStringList>

struct Board;
class MediaControl;
class RandomSource;
class UserDialogs;

class MusicPlayer {
public:
    MusicPlayer(Board& board, const QString& appDir, UserDialogs& dialogs, RandomSource& random, MediaControl& media);

    const MusicState& state() const { return music_; }

    void PlayMidiFile(const QString& path);
    void ScanMidiFolder(const QString& folder);
    void StartMusic();
    void MusicTimerTimer();
    void ONO1Click();
    void OFFF1Click();
    void S1Click();
    void R2Click();
    // The window closes: the music stops for good and the settings are
    // written when a file was chosen (throws when they cannot be).
    void FormClose();
    // mciSendString returns the device's status code; mciExecute reports a
    // failure to the user.
    int mciSendString(const QString& command, QString* reply = nullptr);
    void mciExecute(const QString& command);

    // The About box stops the music while it is open; closing it starts the
    // music again from its beginning when the menu says ON.
    void pauseForAbout();
    void resumeAfterAbout();

private:
    Board& board_;
    const QString appDir_;
    UserDialogs& dialogs_;
    RandomSource& random_;
    MediaControl& media_;
    MusicState music_;
    QStringList MidiList;  // what a folder scan collects
};
