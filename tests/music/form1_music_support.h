#pragma once
// Helpers for the music tests that drive the main window: songs and settings
// files written into the temporary application folder, and a window whose
// media device is the real one with a hand-turned clock.
#include "../platform/media_smf_builder.h"
#include "music/bgm_settings.h"
#include "platform/shift_jis.h"
#include "support/test_catalogue.h"
#include "support/window/game_window.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// A one-second MIDI song at dir/relative; its full path.
inline QString writeSong(const TempAppDir& dir, const QString& relative) {
    dir.writeBytes(relative, oneSecondSong());
    return dir.path() + relative;
}

// The settings file as Data\BGM.ini; the catalogue's folder is spelled "data".
inline QString bgmIniText(const QString& music, const QString& name, const QString& folder) {
    return QStringLiteral("[BGM]\nMusic=%1\nMusicName=%2\nMusicFolda=%3\n").arg(music, name, folder);
}

inline void writeBgmIni(const TempAppDir& dir, const QString& music, const QString& name, const QString& folder) {
    QString text = bgmIniText(music, name, folder);
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    dir.writeBytes(QStringLiteral("data/BGM.ini"), toShiftJis(text));
}

// The settings file as written by the program, line breaks as "\n"; empty
// when there is none.
inline QString savedBgmIni(const TempAppDir& dir) {
    QString text = fromShiftJis(dir.readBytes(QStringLiteral("data/BGM.ini")));
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

inline QString openCommand(const QString& path) {
    return QStringLiteral("open \"") + path + QStringLiteral("\" alias FILE");
}

// The real device, recording every command on its way through.
class RecordedDevice : public MediaControl {
public:
    std::unique_ptr<ManualClockMediaControl> device = createMediaControlForTests();
    QStringList commands;
    int sendString(const QString& command, QString* reply) override {
        commands << command;
        return device->sendString(command, reply);
    }
    QString ask(const QString& command) {
        QString reply;
        device->sendString(command, &reply);
        return reply;
    }
};

// The main window on dir with the real media device (silent synthesis).
struct RealDeviceWindow {
    explicit RealDeviceWindow(const TempAppDir& dir) {
        Form1Services s;
        auto d = std::make_unique<ScriptedDialogs>();
        auto r = std::make_unique<ScriptedRandom>();
        auto m = std::make_unique<RecordedDevice>();
        dialogs = d.get();
        random = r.get();
        media = m.get();
        s.dialogs = std::move(d);
        s.shell = std::make_unique<RecordingShell>();
        s.random = std::move(r);
        s.media = std::move(m);
        s.timersCallHandlers = false;
        form = std::make_unique<TForm1>(dir.path(), std::move(s));
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        for (int i = 0; i < 5; ++i) form->Timer1Timer();
    }

    std::unique_ptr<TForm1> form;
    ScriptedDialogs* dialogs = nullptr;
    ScriptedRandom* random = nullptr;
    RecordedDevice* media = nullptr;
};
