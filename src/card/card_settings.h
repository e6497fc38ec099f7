// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the card window remembers in Data\Play.ini, section "Card": the
// greeting ("Greeting", its number), the way the year is written
// ("YearStyle": 0 Western, 1 era, 2 both), the sender's two lines ("Sender1",
// "Sender2") and the folder the last card was saved in ("Folder"). Written
// only once a card has been made, so the file stays as it is for a player
// who never makes one.
#include "card/new_year.h"

#include <QString>
#include <array>

struct CardSettings {
    int greeting = 0;
    YearStyle yearStyle = YearStyle::Western;
    std::array<QString, 2> senderLines;
    QString folder;  // empty: none remembered
    bool operator==(const CardSettings&) const = default;
};

// Missing or malformed values give the defaults above. Throws "ファイル %s は
// 開けません" for a file that exists but cannot be read.
CardSettings readCardSettings(const QString& appDir);
// Writes the section, other lines of the file kept, atomically (CP932).
// A folder that CP932 cannot name is not remembered. Throws "%s に書き込めません"
// for a sender line CP932 cannot hold, or a file that cannot be written.
void writeCardSettings(const QString& appDir, const CardSettings& settings);
