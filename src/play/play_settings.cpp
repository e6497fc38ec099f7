// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/play_settings.h"

#include "files/app_paths.h"
#include "files/ini_file.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kSection = QStringLiteral("Play");
const QString kBlindfold = QStringLiteral("Blindfold");
const QString kBest = QStringLiteral("Best");
QString flag(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }
}  // namespace

PlaySettings readPlaySettings(const QString& appDir) {
    const IniFile ini(playSettingsPath(appDir));
    PlaySettings settings;
    settings.blindfold = ini.readInteger(kSection, kBlindfold, 0) != 0;
    settings.best = ini.readInteger(kSection, kBest, 0) != 0;
    return settings;
}

void writePlaySettings(const QString& appDir, const PlaySettings& settings) {
    const QString path = playSettingsPath(appDir);
    QDir().mkpath(QFileInfo(path).absolutePath());
    IniFile ini(path);
    ini.writeString(kSection, kBlindfold, flag(settings.blindfold));
    ini.writeString(kSection, kBest, flag(settings.best));
    ini.save();
}
