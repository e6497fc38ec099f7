// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers for the music tests that drive the main window: songs and settings
// files written into the temporary application folder, and a window whose
// media device is the real one with a hand-turned clock.
#include "../audio/media_smf_builder.h"
#include "files/shift_jis.h"
#include "music/bgm_settings.h"
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

// The main window on dir with the real media device (silent synthesis),
// its title finished.
struct RealDeviceWindow {
    explicit RealDeviceWindow(const TempAppDir& dir)
        : window(dir, GameWindowOptions{false, std::make_unique<RecordedDevice>(), {}}),
          form(window.form),
          dialogs(window.dialogs),
          random(window.random),
          media(static_cast<RecordedDevice*>(window.form->services.media.get())) {
        window.finishTitle();
    }

    GameWindow window;
    std::unique_ptr<TForm1>& form;
    ScriptedDialogs* dialogs;
    ScriptedRandom* random;
    RecordedDevice* media;
};
