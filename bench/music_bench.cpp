// SPDX-License-Identifier: GPL-3.0-or-later
// What the background music costs: the CPU share of one core that playing
// takes (synthesis with the default SoundFont, in the hand-turned renderer and
// through the real device with whatever output this machine offers), what the
// silent output and an idle device cost, the time to open the largest MIDI
// file that is accepted, and the MIDI folder scan over a generated tree of
// 10,000 files in 1,000 folders beside a bare recursive listing of the same
// tree.
#include "audio/media_control.h"
#include "audio/media_midi_file.h"
#include "audio/media_output.h"
#include "audio/media_synth.h"
#include "music/midi_scan.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <ctime>
#include <sys/resource.h>
#include <filesystem>
#include <optional>

namespace {

QByteArray bigEndian(uint32_t v, int n) {
    QByteArray out;
    for (int i = n - 1; i >= 0; --i) out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    return out;
}

QByteArray deltaTime(uint32_t v) {
    QByteArray out(1, static_cast<char>(v & 0x7F));
    while (v >>= 7) out.prepend(static_cast<char>(0x80 | (v & 0x7F)));
    return out;
}

// A General MIDI piece of about a minute at 120 bpm: `voices` instruments on
// their channels plus drums, a three-note chord on each every eighth note.
// Two instruments are a typical background piece; eight are a dense one.
QByteArray song(int voices) {
    QByteArray track;
    uint32_t pending = 0;  // the delta time carried to the next event
    auto event = [&](int status, int a, int b, bool twoBytes = true) {
        track += deltaTime(pending);
        pending = 0;
        track += char(status);
        track += char(a);
        if (twoBytes) track += char(b);
    };
    const int programs[] = {0, 24, 32, 40, 48, 56, 65, 73};
    for (int ch = 0; ch < voices; ++ch) event(0xC0 | ch, programs[ch], 0, false);
    auto chord = [&](int step, bool on) {
        for (int ch = 0; ch <= voices; ++ch) {
            const int channel = ch == voices ? 9 : ch;
            const int root = ch == voices ? 36 + step % 8 : 48 + (step * 5 + ch * 3) % 24;
            for (int k = 0; k < 3; ++k) event((on ? 0x90 : 0x80) | channel, root + 4 * k, on ? 90 : 0);
        }
    };
    for (int step = 0; step < 480; ++step) {
        chord(step, true);
        pending = 240;
        chord(step, false);
    }
    track += deltaTime(0) + QByteArray("\xFF\x2F\x00", 3);
    return "MThd" + bigEndian(6, 4) + bigEndian(0, 2) + bigEndian(1, 2) + bigEndian(480, 2) + "MTrk" +
           bigEndian(track.size(), 4) + track;
}

QString songPath(int voices) {
    static QTemporaryDir dir;
    const QString path = QStringLiteral("%1/song%2.mid").arg(dir.path()).arg(voices);
    if (!QFile::exists(path)) {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly)) f.write(song(voices));
    }
    return path;
}

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

// Times any thread of the process went to sleep (the bench's own wait
// counts one per iteration).
double processSleeps() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_nvcsw);
}

// Synthesis of one second of the piece with the General MIDI SoundFont;
// core_share is the fraction of one core that real-time playback needs.
void BM_SynthesizeOneSecond(benchmark::State& state) {
    auto media = createMediaControlForTests(soundFontCandidates());
    if (media->sendString("open \"" + songPath(static_cast<int>(state.range(0))) + "\" alias FILE") != MediaOk) {
        state.SkipWithError("cannot open the generated song");
        return;
    }
    media->sendString("play FILE");
    for (auto _ : state) {
        media->advance(1000);
        QString mode;
        media->sendString("status FILE mode", &mode);
        if (mode != "playing") {
            media->sendString("seek FILE to 0");
            media->sendString("play FILE");
        }
    }
    state.counters["core_share"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SynthesizeOneSecond)->Arg(2)->Arg(8)->Unit(benchmark::kMillisecond);

// The product's device in real time (the sound card's driver, or the silent
// sink without one): process CPU time per second of wall time while it plays.
void BM_RealTimePlaybackCpu(benchmark::State& state) {
    auto media = createMediaControl();
    if (media->sendString("open \"" + songPath(static_cast<int>(state.range(0))) + "\" alias FILE") != MediaOk) {
        state.SkipWithError("cannot open the generated song");
        return;
    }
    media->sendString("play FILE");
    QThread::msleep(200);  // let the output settle
    double cpu = 0;
    for (auto _ : state) {
        const double before = processCpuSeconds();
        QThread::msleep(1000);
        cpu += processCpuSeconds() - before;
    }
    state.counters["core_share"] = cpu / static_cast<double>(state.iterations());
}
BENCHMARK(BM_RealTimePlaybackCpu)->Arg(2)->Arg(8)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

// The silent output (no sound card) while the dense piece plays, asked once
// a second as the music loop does: process CPU time per second of wall time.
void BM_SilentOutputPlaybackCpu(benchmark::State& state) {
    MediaSynth synth(soundFontCandidates());
    std::optional<MidiSong> piece = readMidiFile(songPath(8));
    if (!piece) {
        state.SkipWithError("cannot read the generated song");
        return;
    }
    synth.load(std::move(*piece));
    auto output = openSilentOutput(synth);
    synth.play();
    double cpu = 0;
    const double sleepsBefore = processSleeps();
    for (auto _ : state) {
        const double before = processCpuSeconds();
        QThread::msleep(1000);
        output->catchUp();
        cpu += processCpuSeconds() - before;
        if (!synth.playing()) state.SkipWithError("the piece ended early");
    }
    state.counters["core_share"] = cpu / static_cast<double>(state.iterations());
    state.counters["wakeups_per_s"] = (processSleeps() - sleepsBefore) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SilentOutputPlaybackCpu)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

// The product's device after the music was switched off ("stop FILE"), with
// no command arriving: what it costs to keep it open for the rest of the run.
// Without a sound card this is the silent output; POMURINA_AUDIO_DRIVER=file
// (run in a scratch folder: it writes fluidsynth.wav) measures a device
// behind a real FluidSynth driver instead.
void BM_StoppedDeviceCpu(benchmark::State& state) {
    auto media = createMediaControl();
    if (media->sendString("open \"" + songPath(8) + "\" alias FILE") != MediaOk) {
        state.SkipWithError("cannot open the generated song");
        return;
    }
    media->sendString("play FILE");
    QThread::msleep(300);
    media->sendString("stop FILE");
    QThread::msleep(200);
    double cpu = 0;
    const double sleepsBefore = processSleeps();
    for (auto _ : state) {
        const double before = processCpuSeconds();
        QThread::msleep(1000);
        cpu += processCpuSeconds() - before;
    }
    state.counters["core_share"] = cpu / static_cast<double>(state.iterations());
    state.counters["wakeups_per_s"] = (processSleeps() - sleepsBefore) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_StoppedDeviceCpu)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

// The largest file the reader accepts: kMaxMidiEvents notes, spread over
// range(0) tracks (merged by time), padded with a text event to exactly
// kMaxMidiFileBytes. Timed: "open" through the device (read, parse, load).
QString largestAcceptedFile(int tracks) {
    static QTemporaryDir dir;
    const QString path = QStringLiteral("%1/largest%2.mid").arg(dir.path()).arg(tracks);
    if (QFile::exists(path)) return path;
    const size_t perTrack = kMaxMidiEvents / static_cast<size_t>(tracks);
    QByteArray body;
    for (int t = 0; t < tracks; ++t) {
        QByteArray track;
        track += deltaTime(0) + char(0x90 | (t % 16)) + char(60) + char(90);
        for (size_t i = 1; i < perTrack; ++i) {
            track += deltaTime(static_cast<uint32_t>(1 + (i + t) % 7));  // running status
            track += char(60 + i % 24);
            track += char(i % 2 ? 0 : 90);
        }
        track += deltaTime(0) + QByteArray("\xFF\x2F\x00", 3);
        body += "MTrk" + bigEndian(track.size(), 4) + track;
    }
    const QByteArray header = "MThd" + bigEndian(6, 4) + bigEndian(1, 2) + bigEndian(tracks + 1, 2) + bigEndian(480, 2);
    // A text track fills the file up to the limit.
    const qsizetype padding = kMaxMidiFileBytes - header.size() - body.size() - 8 - 3 - 4 - 4;
    QByteArray text = deltaTime(0) + QByteArray("\xFF\x01", 2);
    QByteArray length = deltaTime(static_cast<uint32_t>(padding));
    while (length.size() < 4) length.prepend(char(0x80));  // a four-byte length
    text += length + QByteArray(padding, 'x') + deltaTime(0) + QByteArray("\xFF\x2F\x00", 3);
    const QByteArray file = header + "MTrk" + bigEndian(text.size(), 4) + text + body;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(file);
    return path;
}

void BM_OpenLargestAcceptedFile(benchmark::State& state) {
    const QString path = largestAcceptedFile(static_cast<int>(state.range(0)));
    if (QFileInfo(path).size() != kMaxMidiFileBytes) {
        state.SkipWithError("the generated file has the wrong size");
        return;
    }
    for (auto _ : state) {
        auto media = createMediaControlForTests();
        if (media->sendString("open \"" + path + "\" alias FILE") != MediaOk) {
            state.SkipWithError("the largest accepted file was refused");
            return;
        }
        benchmark::DoNotOptimize(media);
    }
}
BENCHMARK(BM_OpenLargestAcceptedFile)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);

// 1,000 folders (100 with 9 subfolders each) holding 10 files apiece, half of
// them .mid.
QString scanTree() {
    static QTemporaryDir dir;
    static const QString root = [] {
        const QString r = dir.path() + "/tree";
        int folders = 0;
        for (int top = 0; top < 100; ++top) {
            const QString topPath = QStringLiteral("%1/f%2").arg(r).arg(top);
            QStringList paths{topPath};
            for (int sub = 0; sub < 9; ++sub) paths << QStringLiteral("%1/s%2").arg(topPath).arg(sub);
            for (const QString& p : paths) {
                QDir().mkpath(p);
                ++folders;
                for (int i = 0; i < 10; ++i) {
                    QFile f(QStringLiteral("%1/song%2.%3").arg(p).arg(i).arg(i % 2 ? "mid" : "txt"));
                    f.open(QIODevice::WriteOnly);
                }
            }
        }
        return r;
    }();
    return root;
}

void BM_ScanMidiFolder(benchmark::State& state) {
    const QString root = scanTree();
    for (auto _ : state) {
        QStringList found;
        scanMidiFolder(root, found, [] {});
        benchmark::DoNotOptimize(found);
        if (found.size() != 5000) state.SkipWithError("wrong count");
    }
}
BENCHMARK(BM_ScanMidiFolder)->Unit(benchmark::kMillisecond);

// The floor: listing every entry of the tree and keeping its path.
void BM_BareRecursiveListing(benchmark::State& state) {
    const std::string root = QFile::encodeName(scanTree()).toStdString();
    for (auto _ : state) {
        std::vector<std::string> paths;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
            paths.push_back(entry.path().native());
        benchmark::DoNotOptimize(paths);
    }
}
BENCHMARK(BM_BareRecursiveListing)->Unit(benchmark::kMillisecond);

}  // namespace

// main() comes from the bench support library.
