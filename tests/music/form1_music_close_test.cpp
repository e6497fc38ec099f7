// SPDX-License-Identifier: GPL-3.0-or-later
// Closing the main window while the music plays: the music stops for good,
// even while the report of a settings file that cannot be written waits for
// the user and lets the timer and other handlers run.
#include "music/form1_music_support.h"

#include <QAction>
#include <QDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The error box of the closing window, "open" for as long as whileOpen runs.
class ErrorBoxThatWaits : public ScriptedDialogs {
public:
    std::function<void()> whileOpen;
    void showError(const QString& text) override {
        ScriptedDialogs::showError(text);
        if (whileOpen) whileOpen();
    }
};

}  // namespace

TEST(MusicClose, NothingRestartsTheMusicWhileTheClosingReportsAnError) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    const QString song = writeSong(dir, QStringLiteral("song.mid"));
    const QString other = writeSong(dir, QStringLiteral("other.mid"));
    QDir().mkpath(dir.path() + QStringLiteral("data/BGM.ini"));  // a folder where the file should go
    RealDeviceWindow w(dir);
    TForm1& f = *w.form;
    w.dialogs->openFileAnswers = {song};
    f.S1->trigger();
    ASSERT_EQ(w.media->ask(QStringLiteral("status FILE mode")), QStringLiteral("playing"));

    auto box = std::make_unique<ErrorBoxThatWaits>();
    ErrorBoxThatWaits* errorBox = box.get();
    f.services.dialogs = std::move(box);
    QStringList sentWhileOpen;
    QString modeWhileOpen;
    errorBox->whileOpen = [&] {
        w.media->commands.clear();
        w.media->device->advance(300);
        f.MusicTimerTimer();  // the loop's tick, as the box's event loop would deliver it
        f.MusicTimerTimer();
        f.musicPlayer().PlayMidiFile(other);  // where random play would go next
        f.StartMusic();
        f.ONO1Click();
        sentWhileOpen = w.media->commands;
        modeWhileOpen = w.media->ask(QStringLiteral("status FILE mode"));
    };

    EXPECT_TRUE(f.close());
    ASSERT_EQ(errorBox->errors, QStringList{bgmSettingsPath(dir.path()) + QStringLiteral(" に書き込めません")});
    EXPECT_TRUE(sentWhileOpen.isEmpty()) << sentWhileOpen.join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(modeWhileOpen, QStringLiteral("stopped"));
    EXPECT_EQ(f.musicPlayer().state().musicFile, song);
    EXPECT_EQ(w.media->ask(QStringLiteral("status FILE position")), QStringLiteral("0"))
        << "stopped where it was, not moved on";
}
