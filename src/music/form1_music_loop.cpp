// The play loop, once a second: a file that is no longer playing starts again
// from its beginning, or in random play gives way to another random file.
#include "main/form1.h"
#include "music/music_commands.h"

#include <QCoreApplication>

void TForm1::MusicTimerTimer() {
    guarded([&] {
        if (!music.bgmOn || music.windowClosing) return;
        QString reply;
        const int status = mciSendString(QStringLiteral("status FILE mode"), &reply);
        // A random file that could not be opened leaves no device to ask:
        // count it as ended so random play moves on instead of stopping for good.
        const bool randomFileNotOpen = music.randomMode && status == MediaAliasNotOpen;
        if (status != MediaOk && !randomFileNotOpen) return;
        QCoreApplication::processEvents();
        // The user may have switched the music off, or closed the window,
        // while messages went through.
        if (!music.bgmOn || music.windowClosing) return;
        if (!randomFileNotOpen && replyMeansPlaying(reply)) return;

        if (music.randomMode) {
            const QString next = randomMidiFile(music.midiFiles, *services.random);
            if (!next.isEmpty()) PlayMidiFile(next);
        } else {
            mciSendString(QStringLiteral("seek FILE to 0"));
            mciSendString(QStringLiteral("play File"));
        }
    });
}
