#pragma once
// Background-music playback driven by command strings on one device alias, the
// way the rest of the program talks to music:
//   open "path" alias FILE | play FILE | seek FILE to 0 | stop FILE |
//   close FILE | status FILE mode   (aliases matched without regard to case)
// Behind it, FluidSynth renders the MIDI file with a General MIDI SoundFont.
#include <QString>
#include <memory>

class MediaControl {
public:
    virtual ~MediaControl() = default;
    // Sends one command; 0 for success, a non-zero error code otherwise. For
    // "status FILE mode" the reply receives the mode ("playing" while it plays).
    virtual int sendString(const QString& command, QString* reply = nullptr) = 0;
};

// The text reported to the user when a command sent with mciExecute fails.
QString mediaErrorText(int code);

// The FluidSynth-backed device (real audio output, or a silent real-time sink
// when no output can be opened).
std::unique_ptr<MediaControl> createMediaControl();
