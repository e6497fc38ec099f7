// SPDX-License-Identifier: GPL-3.0-or-later
// The outputs of the music device: the silent clock used without a sound card
// and what the probe for a sound card says.
#include "audio/media_midi_file.h"
#include "audio/media_output.h"
#include "audio/media_smf_builder.h"
#include "audio/media_synth.h"

#include <QElapsedTimer>
#include <QTemporaryFile>
#include <QThread>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Everything written to file descriptor 2 between construction and finish().
class StderrCapture {
public:
    StderrCapture() {
        file_.open();
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        dup2(file_.handle(), STDERR_FILENO);
    }
    ~StderrCapture() { finish(); }
    QString finish() {
        if (saved_ < 0) return text_;
        std::fflush(stderr);
        dup2(saved_, STDERR_FILENO);
        close(saved_);
        saved_ = -1;
        file_.seek(0);
        text_ = QString::fromLocal8Bit(file_.readAll());
        return text_;
    }

private:
    QTemporaryFile file_;
    int saved_ = -1;
    QString text_;
};

}  // namespace

// Without a sound card the song's time still runs, but only when a command
// looks at it: no thread moves it and no note reaches the synthesizer.
TEST(MediaOutput, SilentOutputKeepsTheTimeWithoutSynthesizing) {
    const QStringList soundFonts = soundFontCandidates();
    MediaSynth synth(soundFonts);
    ASSERT_TRUE(synth.ready());
    synth.load(*parseMidiFile(oneSecondSong()));
    auto output = openSilentOutput(synth);
    EXPECT_EQ(output->name(), QStringLiteral("silent"));

    QThread::msleep(200);  // opened, not playing: this time is not song time
    output->catchUp();
    synth.play();
    QElapsedTimer sincePlay;
    sincePlay.start();
    output->wake();
    QThread::msleep(300);
    EXPECT_EQ(synth.positionMilliseconds(), 0) << "nothing moves the song while nobody asks";
    output->catchUp();
    const int64_t position = synth.positionMilliseconds();
    EXPECT_GE(position, 300);
    EXPECT_LE(position, sincePlay.elapsed());
    if (synth.hasSoundFont()) {
        EXPECT_EQ(fluid_synth_get_active_voice_count(synth.synth()), 0) << "the first note was never sent";
    }

    QThread::msleep(static_cast<unsigned long>(std::max<int64_t>(0, 1100 - sincePlay.elapsed())));
    EXPECT_TRUE(synth.playing()) << "the end is noticed when asked";
    output->catchUp();
    EXPECT_FALSE(synth.playing());
    EXPECT_EQ(synth.positionMilliseconds(), 1000);
}

// Probing for a sound card says nothing but, when none opens, one line that
// names every driver tried (FluidSynth and ALSA would say about 20).
TEST(MediaOutput, AFailedProbeSaysOneLineNamingTheDriversTried) {
    MediaSynth synth({});
    const QStringList drivers{QStringLiteral("nosuchdriver"), QStringLiteral("pulseaudio"), QStringLiteral("alsa"),
                              QStringLiteral("jack"), QStringLiteral("sdl2")};
    StderrCapture capture;
    auto output = openMediaOutput(synth, drivers);
    const QString said = capture.finish();
    const QStringList lines = said.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (output->name() != QStringLiteral("silent")) {
        EXPECT_TRUE(lines.isEmpty()) << said.toStdString();  // a machine with sound
        return;
    }
    ASSERT_EQ(lines.size(), 1) << said.toStdString();
    for (const QString& driver : drivers) EXPECT_TRUE(lines[0].contains(driver)) << driver.toStdString();
}

// A sound card's driver is closed while the song does not play (music off,
// stopped, ended) and opened again to play; when it cannot be opened again
// the song still keeps its time, silently.
TEST(MediaOutput, ACallbackDriverRestsWhileNothingPlays) {
    MediaSynth synth({});
    ASSERT_TRUE(synth.ready());
    synth.load(*parseMidiFile(oneSecondSong()));
    int device = 0;  // stands for an open driver; never used as one
    auto* const driver = reinterpret_cast<fluid_audio_driver_t*>(&device);
    int opens = 0;
    int closes = 0;
    bool openFails = false;
    auto output = openCallbackOutput(
        synth, driver, QStringLiteral("fake"),
        [&]() -> fluid_audio_driver_t* {
            ++opens;
            return openFails ? nullptr : driver;
        },
        [&](fluid_audio_driver_t* closing) {
            EXPECT_EQ(closing, driver);
            ++closes;
        });

    output->wake();  // after "open": the song waits to be played
    EXPECT_EQ(closes, 1);
    synth.play();
    output->wake();
    EXPECT_EQ(opens, 1);
    output->catchUp();
    output->wake();  // "status" while it plays changes nothing
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(synth.positionMilliseconds(), 0) << "the driver moves the song while it is open";
    synth.stop();
    output->wake();
    EXPECT_EQ(closes, 2);

    openFails = true;
    synth.play();
    output->wake();
    EXPECT_EQ(opens, 2);
    QThread::msleep(200);
    output->catchUp();
    EXPECT_GE(synth.positionMilliseconds(), 200) << "no driver: the song's time runs silently";
    output->wake();
    EXPECT_EQ(opens, 3) << "each command tries again";

    openFails = false;
    output->wake();
    EXPECT_EQ(opens, 4);
    output.reset();
    EXPECT_EQ(closes, 3) << "the open driver is closed with the output";
}
