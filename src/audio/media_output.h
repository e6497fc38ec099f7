// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the synthesizer's sound goes: the first audio driver that opens, or,
// on a machine without sound, a silent clock that only keeps the song's time
// so that songs still end on time; and a hand-turned clock for tests.
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class MediaSynth;
struct _fluid_audio_driver_t;

class MediaOutput {
public:
    virtual ~MediaOutput() = default;
    // The FluidSynth driver name, or "silent".
    virtual QString name() const = 0;
    // Before every command: an output that moves the song only when asked
    // brings its position up to the present.
    virtual void catchUp() {}
    // After every command: the song may have started, so an output resting
    // while nothing sounded goes back to work.
    virtual void wake() {}
};

// The drivers to try, in order: the user's choice first when given (the
// POMURINA_AUDIO_DRIVER variable), then PulseAudio (PipeWire desktops serve it
// too), ALSA, JACK and SDL2; each name once.
QStringList audioDriverOrder(const QString& userChoice);

// Opens the first of drivers that this FluidSynth knows and that opens; when
// none does, the silent clock, and one line on stderr names the drivers
// tried. The probe itself prints nothing (FluidSynth's and ALSA's complaints
// go to the "pomurina.music" debug log). The synth must outlive the output.
std::unique_ptr<MediaOutput> openMediaOutput(MediaSynth& synth, const QStringList& drivers);
// The silent clock: no thread and no synthesis; the song's position follows
// the wall clock whenever a command looks at it.
std::unique_ptr<MediaOutput> openSilentOutput(MediaSynth& synth);

// An output through a driver that calls back for its buffers, opened by
// open and closed by close; driver is the one open already. It keeps the
// driver closed while the song does not play and reopens it to play; while
// no driver is open the song's time runs as on the silent clock.
using AudioDriverOpener = std::function<_fluid_audio_driver_t*()>;
using AudioDriverCloser = std::function<void(_fluid_audio_driver_t*)>;
std::unique_ptr<MediaOutput> openCallbackOutput(MediaSynth& synth, _fluid_audio_driver_t* driver, const QString& name,
                                                AudioDriverOpener open, AudioDriverCloser close);

// Renders exactly the frames of the time it is told has passed, at once.
class ManualMediaClock {
public:
    explicit ManualMediaClock(MediaSynth& synth) : synth_(synth) {}
    void advance(int milliseconds);
    // The largest absolute sample value rendered by the last advance (0..1).
    float peakLevel() const { return peak_; }

private:
    MediaSynth& synth_;
    int64_t renderedMilliseconds_ = 0;
    int64_t renderedFrames_ = 0;
    float peak_ = 0;
};
