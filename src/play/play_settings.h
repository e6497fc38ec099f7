// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The choices of the game menu, kept in Data\Play.ini, section "Play":
// "Blindfold" (play blindfolded) and "Best" (keep personal bests), 1 or 0.
// A missing or unreadable file, or a key that is not a number, means off.
#include "files/app_paths.h"

#include <QString>

struct PlaySettings {
    bool blindfold = false;
    bool best = false;
};

PlaySettings readPlaySettings(const QString& appDir);
// Writes both keys, replacing the file atomically (CP932); other lines of the
// file stay. Throws "%s に書き込めません" when it cannot be written.
void writePlaySettings(const QString& appDir, const PlaySettings& settings);
