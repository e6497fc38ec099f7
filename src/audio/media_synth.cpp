// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/media_synth.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <dlfcn.h>

Q_LOGGING_CATEGORY(musicLog, "pomurina.music", QtWarningMsg)

namespace {

void logToDebug(int level, const char* message, void*) {
    static const char* const names[] = {"panic", "error", "warning", "info", "debug"};
    const char* name = (level >= 0 && level < 5) ? names[level] : "log";
    qCDebug(musicLog).noquote() << QStringLiteral("fluidsynth %1: %2").arg(QLatin1String(name), QString::fromLocal8Bit(message));
}

// libasound prints its own errors straight to stderr when FluidSynth probes
// for a sound card; its handler hook is reached through the library that
// FluidSynth already loaded, so no extra build dependency is needed.
void alsaToDebug(const char* file, int line, const char* function, int, const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    qCDebug(musicLog).noquote() << QStringLiteral("alsa %1:%2 (%3): %4")
                              .arg(QString::fromLocal8Bit(file))
                              .arg(line)
                              .arg(QString::fromLocal8Bit(function), QString::fromLocal8Bit(text));
}

void jackToDebug(const char* message) {
    qCDebug(musicLog).noquote() << QStringLiteral("jack: %1").arg(QString::fromLocal8Bit(message));
}

}  // namespace

void routeSynthLogToDebug() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
            fluid_set_log_function(level, logToDebug, nullptr);
        using AlsaHandler = void (*)(const char*, int, const char*, int, const char*, ...);
        using SetHandler = int (*)(AlsaHandler);
        if (auto set = reinterpret_cast<SetHandler>(dlsym(RTLD_DEFAULT, "snd_lib_error_set_handler")))
            set(alsaToDebug);
        using JackHandler = void (*)(const char*);
        using SetJackHandler = void (*)(JackHandler);
        for (const char* setter : {"jack_set_error_function", "jack_set_info_function"})
            if (auto set = reinterpret_cast<SetJackHandler>(dlsym(RTLD_DEFAULT, setter))) set(jackToDebug);
    });
}

QStringList soundFontCandidates(const QString& folder) {
    QStringList candidates;
    const QString preferred = QDir(folder).filePath(QStringLiteral("default-GM.sf2"));
    if (QFileInfo(preferred).isFile()) candidates << preferred;
    const QStringList others =
        QDir(folder).entryList({QStringLiteral("*.sf2")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& name : others) {
        const QString path = QDir(folder).filePath(name);
        if (path != preferred) candidates << path;
    }
    return candidates;
}

MediaSynth::MediaSynth(const QStringList& soundFonts) {
    routeSynthLogToDebug();
    settings_ = new_fluid_settings();
    if (!settings_) return;
    // 64 voices, as many as a General MIDI sound module offers: a busy piece
    // then costs a few percent of a core instead of several times that, and
    // the voices given up first are the ones already fading out.
    fluid_settings_setint(settings_, "synth.polyphony", 64);
    // Background music needs no quick reaction: periods of 1,024 frames (23 ms
    // at 44.1 kHz), four of them buffered, wake the audio thread 43 times a
    // second instead of FluidSynth's 700 (64 frames), which cost more than
    // the synthesis itself.
    fluid_settings_setint(settings_, "audio.period-size", kAudioPeriodFrames);
    fluid_settings_setint(settings_, "audio.periods", kAudioPeriods);
    double rate = 44100;
    fluid_settings_getnum(settings_, "synth.sample-rate", &rate);
    sampleRate_ = static_cast<int>(rate);
    synth_ = new_fluid_synth(settings_);
    if (!synth_) return;
    for (const QString& path : soundFonts) {
        if (fluid_synth_sfload(synth_, QFile::encodeName(path).constData(), 1) != FLUID_FAILED) {
            hasSoundFont_ = true;
            qCDebug(musicLog).noquote() << "SoundFont" << path;
            break;
        }
    }
    if (!hasSoundFont_) qCDebug(musicLog) << "no SoundFont could be loaded; music stays silent";
}

MediaSynth::~MediaSynth() {
    if (synth_) delete_fluid_synth(synth_);
    if (settings_) delete_fluid_settings(settings_);
}

int64_t MediaSynth::frameOf(int64_t microseconds) const {
    // 128 bits: a song built by hand may carry any time without overflowing.
    const __int128 frame = (__int128{microseconds} * sampleRate_ + 500000) / 1000000;
    return static_cast<int64_t>(std::clamp<__int128>(frame, 0, INT64_MAX / 1000000));
}

void MediaSynth::silence() {
    if (synth_) fluid_synth_all_sounds_off(synth_, -1);
}

void MediaSynth::load(MidiSong song) {
    std::lock_guard lock(mutex_);
    song_ = std::move(song);
    eventFrames_.clear();
    eventFrames_.reserve(song_.events.size());
    for (const MidiEvent& e : song_.events) eventFrames_.push_back(frameOf(e.atMicroseconds));
    endFrame_ = frameOf(song_.lengthMicroseconds);
    loaded_ = true;
    playing_ = false;
    silence();
    restoreChannelStateAt(0);
}

void MediaSynth::unload() {
    std::lock_guard lock(mutex_);
    silence();
    song_ = {};
    eventFrames_.clear();
    loaded_ = playing_ = false;
    position_ = endFrame_ = 0;
    nextEvent_ = 0;
}

bool MediaSynth::loaded() const {
    std::lock_guard lock(mutex_);
    return loaded_;
}

void MediaSynth::play() {
    std::lock_guard lock(mutex_);
    if (!loaded_) return;
    // At the end there is nothing left to play: the song stays ended.
    playing_ = position_ < endFrame_;
}

void MediaSynth::stop() {
    std::lock_guard lock(mutex_);
    playing_ = false;
    silence();
}

void MediaSynth::seek(int64_t milliseconds) {
    std::lock_guard lock(mutex_);
    if (!loaded_) return;
    playing_ = false;
    silence();
    const int64_t lengthMs = endFrame_ * 1000 / sampleRate_ + 1;
    const int64_t target =
        std::clamp<int64_t>(std::clamp<int64_t>(milliseconds, 0, lengthMs) * sampleRate_ / 1000, 0, endFrame_);
    restoreChannelStateAt(target);
}

bool MediaSynth::playing() const {
    std::lock_guard lock(mutex_);
    return playing_;
}

int64_t MediaSynth::positionMilliseconds() const {
    std::lock_guard lock(mutex_);
    return position_ * 1000 / sampleRate_;
}

int64_t MediaSynth::lengthMilliseconds() const {
    std::lock_guard lock(mutex_);
    return endFrame_ * 1000 / sampleRate_;
}

void MediaSynth::restoreChannelStateAt(int64_t frame) {
    if (synth_) fluid_synth_system_reset(synth_);
    size_t i = 0;
    for (; i < song_.events.size() && eventFrames_[i] < frame; ++i) {
        const uint8_t kind = song_.events[i].status & 0xF0;
        if (kind != 0x80 && kind != 0x90 && kind != 0xA0) sendEvent(song_.events[i]);
    }
    nextEvent_ = i;
    position_ = frame;
}

void MediaSynth::sendEvent(const MidiEvent& e) {
    if (!synth_) return;
    const int channel = e.status & 0x0F;
    switch (e.status & 0xF0) {
    case 0x80: fluid_synth_noteoff(synth_, channel, e.data1); break;
    case 0x90: fluid_synth_noteon(synth_, channel, e.data1, e.data2); break;
    case 0xA0: fluid_synth_key_pressure(synth_, channel, e.data1, e.data2); break;
    case 0xB0: fluid_synth_cc(synth_, channel, e.data1, e.data2); break;
    case 0xC0: fluid_synth_program_change(synth_, channel, e.data1); break;
    case 0xD0: fluid_synth_channel_pressure(synth_, channel, e.data1); break;
    case 0xE0: fluid_synth_pitch_bend(synth_, channel, (e.data2 << 7) | e.data1); break;
    case 0xF0:
        fluid_synth_sysex(synth_, e.sysex.constData(), static_cast<int>(e.sysex.size()), nullptr,
                          nullptr, nullptr, 0);
        break;
    default: break;
    }
}

void MediaSynth::advanceSilently(int64_t frames) {
    std::lock_guard lock(mutex_);
    if (!playing_ || frames <= 0) return;
    position_ = std::min(endFrame_, position_ + std::min(frames, endFrame_));
    nextEvent_ = static_cast<size_t>(std::lower_bound(eventFrames_.begin(), eventFrames_.end(), position_) -
                                     eventFrames_.begin());
    if (position_ >= endFrame_) playing_ = false;
}

void MediaSynth::restoreChannelState() {
    std::lock_guard lock(mutex_);
    if (loaded_) restoreChannelStateAt(position_);
}

bool MediaSynth::advance(int frames) {
    std::lock_guard lock(mutex_);
    if (playing_) {
        const int64_t until = position_ + frames;
        while (nextEvent_ < song_.events.size() && eventFrames_[nextEvent_] < until)
            sendEvent(song_.events[nextEvent_++]);
        position_ = until;
        if (position_ >= endFrame_) {
            position_ = endFrame_;
            playing_ = false;
        }
        return true;
    }
    return synth_ && fluid_synth_get_active_voice_count(synth_) > 0;
}
