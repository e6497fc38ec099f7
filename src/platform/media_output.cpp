#include "platform/media_output.h"

#include "platform/media_synth.h"

#include <QDebug>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <thread>

namespace {

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

class DriverOutput : public MediaOutput {
public:
    DriverOutput(fluid_audio_driver_t* driver, QString name) : driver_(driver), name_(std::move(name)) {}
    ~DriverOutput() override { delete_fluid_audio_driver(driver_); }
    QString name() const override { return name_; }

    static int render(void* data, int len, int nfx, float* fx[], int nout, float* out[]) {
        auto* synth = static_cast<MediaSynth*>(data);
        if (!synth->advance(len)) return FLUID_OK;  // buffers arrive zeroed
        return fluid_synth_process(synth->synth(), len, nfx, fx, nout, out);
    }

private:
    fluid_audio_driver_t* driver_;
    QString name_;
};

// Moves the song on by the wall clock: a thread wakes every few milliseconds
// and hands over the frames that are due. Without a driver it also renders
// them, into nothing (the silent sink); with a driver that renders the synth
// by itself (no callback mode, e.g. SDL2) it only feeds the events.
class WallClockOutput : public MediaOutput {
public:
    WallClockOutput(MediaSynth& synth, fluid_audio_driver_t* driver, QString name)
        : synth_(synth), driver_(driver), name_(std::move(name)), thread_([this] { run(); }) {}
    ~WallClockOutput() override {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        thread_.join();
        if (driver_) delete_fluid_audio_driver(driver_);
    }
    QString name() const override { return name_; }

private:
    void run() {
        using Clock = std::chrono::steady_clock;
        const auto start = Clock::now();
        int64_t handedOver = 0;
        const int rate = synth_.sampleRate();
        std::unique_lock lock(mutex_);
        while (!wake_.wait_for(lock, std::chrono::milliseconds(10), [this] { return stopping_; })) {
            lock.unlock();
            const auto elapsed =
                std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
            const int64_t due = elapsed * rate / 1000000;
            // After a suspend the clock jumps; a second of catching up is plenty.
            handedOver = std::max(handedOver, due - rate);
            if (driver_)
                synth_.advance(static_cast<int>(due - handedOver));
            else
                renderFrames(synth_, due - handedOver, false);
            handedOver = due;
            lock.lock();
        }
    }

    MediaSynth& synth_;
    fluid_audio_driver_t* driver_;
    QString name_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;  // last: starts once the members above exist
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
    if (synth.settings()) {
        for (const QString& name : drivers) {
            if (!driverKnown(synth.settings(), name)) {
                qDebug().noquote() << "music: audio driver" << name << "is not available in FluidSynth";
                continue;
            }
            fluid_settings_setstr(synth.settings(), "audio.driver", name.toLatin1().constData());
            if (fluid_audio_driver_t* driver =
                    new_fluid_audio_driver2(synth.settings(), DriverOutput::render, &synth)) {
                qDebug().noquote() << "music: audio output" << name;
                return std::make_unique<DriverOutput>(driver, name);
            }
            // Drivers without callback mode render the synth themselves.
            if (fluid_audio_driver_t* driver = new_fluid_audio_driver(synth.settings(), synth.synth())) {
                qDebug().noquote() << "music: audio output" << name << "(events by the wall clock)";
                return std::make_unique<WallClockOutput>(synth, driver, name);
            }
        }
    }
    qDebug() << "music: no audio output opened; rendering into a silent sink";
    return openSilentOutput(synth);
}

std::unique_ptr<MediaOutput> openSilentOutput(MediaSynth& synth) {
    return std::make_unique<WallClockOutput>(synth, nullptr, QStringLiteral("silent"));
}

void ManualMediaClock::advance(int milliseconds) {
    renderedMilliseconds_ += std::max(0, milliseconds);
    const int64_t due = renderedMilliseconds_ * synth_.sampleRate() / 1000;
    peak_ = renderFrames(synth_, due - renderedFrames_, true);
    renderedFrames_ = due;
}
