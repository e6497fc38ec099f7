// SPDX-License-Identifier: GPL-3.0-or-later
#include "card/card_settings.h"

#include "card/card_drawing.h"
#include "files/app_paths.h"
#include "files/ini_file.h"
#include "files/shift_jis.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kSection = QStringLiteral("Card");
const QString kGreeting = QStringLiteral("Greeting");
const QString kYearStyle = QStringLiteral("YearStyle");
const std::array<QString, 2> kSenderKeys{QStringLiteral("Sender1"), QStringLiteral("Sender2")};
const QString kFolder = QStringLiteral("Folder");
}  // namespace

CardSettings readCardSettings(const QString& appDir) {
    const IniFile ini(playSettingsPath(appDir));
    CardSettings settings;
    const int greeting = ini.readInteger(kSection, kGreeting, 0);
    if (greeting >= 0 && greeting < int(cardGreetings().size())) settings.greeting = greeting;
    const int style = ini.readInteger(kSection, kYearStyle, 0);
    if (style >= 0 && style < kYearStyleCount) settings.yearStyle = YearStyle(style);
    for (std::size_t i = 0; i < kSenderKeys.size(); ++i) settings.senderLines[i] = ini.readString(kSection, kSenderKeys[i], {});
    settings.folder = ini.readString(kSection, kFolder, {});
    return settings;
}

void writeCardSettings(const QString& appDir, const CardSettings& settings) {
    const QString path = playSettingsPath(appDir);
    QDir().mkpath(QFileInfo(path).absolutePath());
    IniFile ini(path);
    ini.writeInteger(kSection, kGreeting, settings.greeting);
    ini.writeInteger(kSection, kYearStyle, int(settings.yearStyle));
    for (std::size_t i = 0; i < kSenderKeys.size(); ++i) ini.writeString(kSection, kSenderKeys[i], settings.senderLines[i]);
    if (representableInShiftJis(settings.folder)) ini.writeString(kSection, kFolder, settings.folder);
    ini.save();
}
