// SPDX-License-Identifier: GPL-3.0-or-later
#include "party/party_choices.h"

#include "files/app_error.h"
#include "files/app_paths.h"
#include "files/ini_file.h"
#include "party/party.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {
const QString kSection = QStringLiteral("Party");
QString numbered(const char* key, int n) { return QLatin1String(key) + QString::number(n); }
}  // namespace

PartySetup readPartyChoices(const QString& appDir) {
    PartySetup setup = defaultPartySetup();
    try {
        const IniFile ini(playSettingsPath(appDir));
        if (!ini.exists()) return setup;
        const int players = ini.readInteger(kSection, QStringLiteral("Players"), PartySetup::kMinPlayers);
        const int rounds = ini.readInteger(kSection, QStringLiteral("Rounds"), PartySetup::kMinRounds);
        setup.players.clear();
        for (int p = 0; p < std::clamp(players, PartySetup::kMinPlayers, PartySetup::kMaxPlayers); ++p) {
            const QString name = ini.readString(kSection, numbered("Name", p + 1), QString());
            const bool blind = ini.readInteger(kSection, numbered("Blind", p + 1), 0) == 1;
            setup.players.push_back({playerNameProblem(name).isEmpty() ? name : defaultPlayerName(p), blind});
        }
        setup.rounds = std::clamp(rounds, PartySetup::kMinRounds, PartySetup::kMaxRounds);
    } catch (const AppError&) {
        return defaultPartySetup();  // the dialog offers its defaults
    }
    return setup;
}

void writePartyChoices(const QString& appDir, const PartySetup& setup) {
    const QString path = playSettingsPath(appDir);
    QDir().mkpath(QFileInfo(path).absolutePath());
    IniFile ini(path);
    ini.eraseSection(kSection);
    ini.writeInteger(kSection, QStringLiteral("Players"), int(setup.players.size()));
    ini.writeInteger(kSection, QStringLiteral("Rounds"), setup.rounds);
    for (int p = 0; p < int(setup.players.size()); ++p) {
        ini.writeString(kSection, numbered("Name", p + 1), setup.players[size_t(p)].name);
        ini.writeInteger(kSection, numbered("Blind", p + 1), setup.players[size_t(p)].blindfolded ? 1 : 0);
    }
    ini.save();
}
