// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/media_output.h"

#include "audio/media_synth.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kBlockFrames = 64;  // FluidSynth renders in blocks of this size

// Moves the song on by frames and synthesizes them in blocks; returns the
// loudest sample when measuring. Frames with nothing to hear are skipped.
float renderFrames(MediaSynth& synth, int64_t frames, bool measure) {
    float left[kBlockFrames];
    float right[kBlockFrames];
    float peak = 0;
    while (frames > 0) {
        const int n = static_cast<int>(std::min<int64_t>(frames, kBlockFrames));
        frames -= n;
        if (!synth.advance(n) || !synth.synth()) continue;
        fluid_synth_write_float(synth.synth(), n, left, 0, 1, right, 0, 1);
        if (measure)
            for (int i = 0; i < n; ++i) peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
    }
    return peak;
}

// Frames of the wall clock since a start, handed over once each.
class FrameCounter {
public:
    explicit FrameCounter(int rate) : rate_(rate) { restart(); }
    // Forgets the time until now.
    void restart() {
        start_ = Clock::now();
        handedOver_ = 0;
    }
    // The frames due since the last call; after a suspend the clock jumps,
    // and more than limit frames at once are not handed over.
    int64_t take(int64_t limit) {
        const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start_).count();
        const auto due = static_cast<int64_t>(__int128{elapsed} * rate_ / 1000000);
        const int64_t frames = std::min(due - handedOver_, limit);
        handedOver_ = due;
        return frames;
    }

private:
    int rate_;
    Clock::time_point start_;
    int64_t handedOver_ = 0;
};

// Renders each buffer the driver asks for.
int renderForDriver(void* data, int len, int nfx, float* fx[], int nout, float* out[]) {
    auto* synth = static_cast<MediaSynth*>(data);
    if (!synth->advance(len)) return FLUID_OK;  // buffers arrive zeroed
    return fluid_synth_process(synth->synth(), len, nfx, fx, nout, out);
}

// An audio driver that is open only while the song plays, so that neither
// its thread nor the sound server works for music that is off. Opening and
// closing happen on the commanding thread, after each command.
class RestingDriver {
public:
    RestingDriver(fluid_audio_driver_t* driver, AudioDriverOpener open, AudioDriverCloser close)
        : driver_(driver), open_(std::move(open)), close_(std::move(close)) {}
    ~RestingDriver() { closeNow(); }
    RestingDriver(const RestingDriver&) = delete;
    RestingDriver& operator=(const RestingDriver&) = delete;

    bool isOpen() const { return isOpen_; }
    // Opens the driver for a playing song (a failure is tried again with the
    // next command) and closes it otherwise: a stop has silenced the notes
    // already.
    void follow(bool playing) {
        if (playing && !driver_) {
            driver_ = open_();
            isOpen_ = driver_ != nullptr;
        } else if (!playing) {
            closeNow();
        }
    }
    void closeNow() {
        if (!driver_) return;
        isOpen_ = false;
        close_(driver_);
        driver_ = nullptr;
    }

private:
    fluid_audio_driver_t* driver_;
    std::atomic<bool> isOpen_{driver_ != nullptr};
    AudioDriverOpener open_;
    AudioDriverCloser close_;
};

// A driver that calls back for every buffer, and so moves the song itself;
// while it is closed but the song plays (it could not be opened again) the
// song keeps its time silently, as on a machine without sound.
class CallbackOutput : public MediaOutput {
public:
    CallbackOutput(MediaSynth& synth, fluid_audio_driver_t* driver, QString name, AudioDriverOpener open,
                   AudioDriverCloser close)
        : synth_(synth), driver_(driver, std::move(open), std::move(close)), name_(std::move(name)),
          silentFrames_(synth.sampleRate()) {}
    QString name() const override { return name_; }
    void catchUp() override {
        const int64_t frames = silentFrames_.take(INT64_MAX);
        if (driver_.isOpen() || !synth_.playing()) return;
        synth_.advanceSilently(frames);
        movedSilently_ = true;
    }
    void wake() override {
        driver_.follow(synth_.playing());
        if (driver_.isOpen() && movedSilently_) {
            synth_.restoreChannelState();
            movedSilently_ = false;
        }
    }

private:
    MediaSynth& synth_;
    RestingDriver driver_;
    QString name_;
    FrameCounter silentFrames_;
    bool movedSilently_ = false;
};

// A driver without callback mode (e.g. SDL2) renders the synth by itself;
// this thread feeds it the song's events by the wall clock every few
// milliseconds while something sounds, and sleeps while nothing does until a
// command wakes it.
class WallClockOutput : public MediaOutput {
public:
    WallClockOutput(MediaSynth& synth, fluid_audio_driver_t* driver, QString name, AudioDriverOpener open,
                    AudioDriverCloser close)
        : synth_(synth), driver_(driver, std::move(open), std::move(close)), name_(std::move(name)),
          thread_([this] { run(); }) {}
    ~WallClockOutput() override {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    QString name() const override { return name_; }
    void wake() override {
        driver_.follow(synth_.playing());
        if (driver_.isOpen() && movedSilently_.exchange(false)) synth_.restoreChannelState();
        {
            std::lock_guard lock(mutex_);
            woken_ = true;
        }
        wake_.notify_all();
    }

private:
    void run() {
        FrameCounter frames(synth_.sampleRate());
        std::unique_lock lock(mutex_);
        while (!stopping_) {
            woken_ = false;
            lock.unlock();
            const int64_t due = frames.take(synth_.sampleRate());
            bool sounding;
            if (driver_.isOpen()) {
                sounding = synth_.advance(static_cast<int>(due));
            } else {
                sounding = synth_.playing();
                synth_.advanceSilently(due);
                if (sounding) movedSilently_ = true;
            }
            lock.lock();
            if (sounding) {
                wake_.wait_for(lock, std::chrono::milliseconds(10), [this] { return stopping_; });
            } else {
                wake_.wait(lock, [this] { return stopping_ || woken_; });
                frames.restart();  // the time asleep was silence, not song
            }
        }
    }

    MediaSynth& synth_;
    RestingDriver driver_;
    QString name_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    bool woken_ = false;
    std::atomic<bool> movedSilently_{false};
    std::thread thread_;  // last: starts once the members above exist
};

// Nobody hears it, so nothing is synthesized and no thread runs: the song's
// position follows the wall clock each time a command is about to look at it.
class SilentOutput : public MediaOutput {
public:
    explicit SilentOutput(MediaSynth& synth) : synth_(synth), frames_(synth.sampleRate()) {}
    QString name() const override { return QStringLiteral("silent"); }
    void catchUp() override { synth_.advanceSilently(frames_.take(INT64_MAX)); }

private:
    MediaSynth& synth_;
    FrameCounter frames_;
};

bool driverKnown(fluid_settings_t* settings, const QString& name) {
    struct Search {
        QByteArray name;
        bool found = false;
    } search{name.toLatin1()};
    fluid_settings_foreach_option(settings, "audio.driver", &search,
                                  [](void* data, const char*, const char* option) {
                                      auto* s = static_cast<Search*>(data);
                                      if (s->name == option) s->found = true;
                                  });
    return search.found;
}

}  // namespace

QStringList audioDriverOrder(const QString& userChoice) {
    QStringList order;
    const QString chosen = userChoice.trimmed().toLower();
    if (!chosen.isEmpty()) order << chosen;
    for (const char* name : {"pulseaudio", "alsa", "jack", "sdl2"})
        if (!order.contains(QLatin1String(name))) order << QLatin1String(name);
    return order;
}

std::unique_ptr<MediaOutput> openMediaOutput(MediaSynth& synth, const QStringList& drivers) {
    routeSynthLogToDebug();
    if (synth.settings()) {
        for (const QString& name : drivers) {
            if (!driverKnown(synth.settings(), name)) {
                qCDebug(musicLog).noquote() << "audio driver" << name << "is not available in FluidSynth";
                continue;
            }
            fluid_settings_setstr(synth.settings(), "audio.driver", name.toLatin1().constData());
            // The driver name stays set, so reopening takes the same one.
            AudioDriverOpener open = [&synth] {
                return new_fluid_audio_driver2(synth.settings(), renderForDriver, &synth);
            };
            if (fluid_audio_driver_t* driver = open()) {
                qCDebug(musicLog).noquote() << "audio output" << name;
                return openCallbackOutput(synth, driver, name, std::move(open), delete_fluid_audio_driver);
            }
            AudioDriverOpener openRendering = [&synth] {
                return new_fluid_audio_driver(synth.settings(), synth.synth());
            };
            if (fluid_audio_driver_t* driver = openRendering()) {
                qCDebug(musicLog).noquote() << "audio output" << name << "(events by the wall clock)";
                return std::make_unique<WallClockOutput>(synth, driver, name, std::move(openRendering),
                                                         delete_fluid_audio_driver);
            }
        }
    }
    // The one thing worth saying on a machine without sound.
    std::fprintf(stderr, "pomurina: no audio output could be opened (tried %s); the music is silent\n",
                 drivers.join(QStringLiteral(", ")).toLocal8Bit().constData());
    std::fflush(stderr);
    return openSilentOutput(synth);
}

std::unique_ptr<MediaOutput> openSilentOutput(MediaSynth& synth) { return std::make_unique<SilentOutput>(synth); }

std::unique_ptr<MediaOutput> openCallbackOutput(MediaSynth& synth, fluid_audio_driver_t* driver, const QString& name,
                                                AudioDriverOpener open, AudioDriverCloser close) {
    return std::make_unique<CallbackOutput>(synth, driver, name, std::move(open), std::move(close));
}

void ManualMediaClock::advance(int milliseconds) {
    renderedMilliseconds_ += std::max(0, milliseconds);
    const int64_t due = renderedMilliseconds_ * synth_.sampleRate() / 1000;
    peak_ = renderFrames(synth_, due - renderedFrames_, true);
    renderedFrames_ = due;
}
