// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Background-music playback driven by command strings on one device alias, the
// way the rest of the program talks to music:
//   open "path" alias FILE | play FILE | seek FILE to 0 | stop FILE |
//   close FILE | status FILE mode
// Command words and aliases are matched without regard to letter case. Also
// understood: "seek A to start|end|<ms>", "status A position|length" (ms),
// "close all". One MIDI device is open at a time.
// Behind it, FluidSynth renders the MIDI file with a General MIDI SoundFont
// (/usr/share/sounds/sf2/default-GM.sf2, else any .sf2 there; none: silent).
#include <QString>
#include <QStringList>
#include <memory>

class UserDialogs;

// Non-zero results of sendString.
enum MediaError : int {
    MediaOk = 0,
    MediaUnknownCommand = 1,   // the first word is no command
    MediaBadParameters = 2,    // missing, extra or malformed words
    MediaAliasNotOpen = 3,     // no device is open under that alias
    MediaAliasInUse = 4,       // open: the alias is already taken
    MediaDeviceBusy = 5,       // open: another alias holds the MIDI device
    MediaFileNotFound = 6,     // open: no readable file at the path
    MediaNotMidiFile = 7,      // open: the file is not a well-formed MIDI file
    MediaDeviceError = 8,      // the synthesizer could not be started
};

class MediaControl {
public:
    virtual ~MediaControl() = default;
    // Sends one command; 0 for success, a MediaError otherwise. For "status"
    // the reply receives the answer ("playing" while it plays, else
    // "stopped"); it is cleared on failure.
    virtual int sendString(const QString& command, QString* reply = nullptr) = 0;
};

// A device whose time passes only when the test says so.
class ManualClockMediaControl : public MediaControl {
public:
    // Renders that much music at once, as the audio output would have.
    virtual void advance(int milliseconds) = 0;
    // The loudest sample rendered by the last advance (0..1): shows that notes
    // really sounded.
    virtual float peakLevel() const = 0;
};

// The text reported to the user when a command fails, e.g.
// "MIDI デバイスのエラー (7): MIDI ファイルではないか、壊れています。".
QString mediaErrorText(int code);

// The FluidSynth-backed device: audio output through the first driver that
// opens (POMURINA_AUDIO_DRIVER first, then pulseaudio, alsa, jack, sdl2), or a
// silent real-time sink when none does. Nothing starts before the first open.
std::unique_ptr<MediaControl> createMediaControl();

// The same device with a hand-turned clock and no audio output; soundFonts are
// the SoundFonts to try (none: silent synthesis).
std::unique_ptr<ManualClockMediaControl> createMediaControlForTests(const QStringList& soundFonts = {});

// Sends a command and reports a failure to the user with mediaErrorText.
// Stopping or closing an alias that is not open is not reported: the music is
// already silent, which is what the command asked for.
int executeMediaCommand(MediaControl& media, const QString& command, UserDialogs& dialogs);
