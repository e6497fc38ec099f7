// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One FluidSynth synthesizer and the song it plays: a small sequencer that
// hands the song's events to the synthesizer as the audio output pulls
// frames, so the position, the end of the song and stop/resume are exact to
// the frame and do not depend on FluidSynth's own file player.
#include "audio/media_midi_file.h"

#include <QLoggingCategory>
#include <QStringList>
#include <fluidsynth.h>
#include <mutex>

// The SoundFonts to try, best first: default-GM.sf2, then every other .sf2 of
// the folder in name order.
QStringList soundFontCandidates(const QString& folder = QStringLiteral("/usr/share/sounds/sf2"));

// The music's own log, silent unless asked for
// (QT_LOGGING_RULES="pomurina.music.debug=true").
Q_DECLARE_LOGGING_CATEGORY(musicLog)

// Sends FluidSynth's (and ALSA's and JACK's) log lines to the music's debug
// log instead of stderr.
void routeSynthLogToDebug();

// The audio drivers' period and how many are buffered (see MediaSynth).
constexpr int kAudioPeriodFrames = 1024;
constexpr int kAudioPeriods = 4;

class MediaSynth {
public:
    // Loads the first candidate SoundFont that FluidSynth accepts; with none
    // the synthesizer stays silent and the song still runs its course.
    explicit MediaSynth(const QStringList& soundFonts);
    ~MediaSynth();
    MediaSynth(const MediaSynth&) = delete;
    MediaSynth& operator=(const MediaSynth&) = delete;

    bool ready() const { return synth_ != nullptr; }
    bool hasSoundFont() const { return hasSoundFont_; }
    fluid_settings_t* settings() const { return settings_; }
    fluid_synth_t* synth() const { return synth_; }
    int sampleRate() const { return sampleRate_; }

    // Replaces the song (stopped, at its start); unload leaves none.
    void load(MidiSong song);
    void unload();
    bool loaded() const;

    // Playing runs from the current position; stop keeps it; seek stops and
    // moves it (milliseconds, clamped to the song).
    void play();
    void stop();
    void seek(int64_t milliseconds);
    bool playing() const;
    int64_t positionMilliseconds() const;
    int64_t lengthMilliseconds() const;

    // Called by the audio output before it renders the next frames: sends the
    // events due by then to the synthesizer and moves the position on; a song
    // that reaches its end stops there. Returns false when there is nothing to
    // hear, so a silent output may skip the synthesis.
    bool advance(int frames);
    // Moves a playing song on by frames without sending anything to the
    // synthesizer: the timing of an output that nobody hears.
    void advanceSilently(int64_t frames);
    // After moving silently: puts controllers and programs where the song has
    // them at the position, so the song sounds right from there on.
    void restoreChannelState();

private:
    int64_t frameOf(int64_t microseconds) const;
    void sendEvent(const MidiEvent& event);
    // Puts controllers and programs where the song has them at the position.
    void restoreChannelStateAt(int64_t frame);
    void silence();

    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    bool hasSoundFont_ = false;
    int sampleRate_ = 44100;

    mutable std::mutex mutex_;
    MidiSong song_;
    std::vector<int64_t> eventFrames_;
    bool loaded_ = false;
    bool playing_ = false;
    int64_t position_ = 0;  // frames from the start of the song
    int64_t endFrame_ = 0;
    size_t nextEvent_ = 0;
};
