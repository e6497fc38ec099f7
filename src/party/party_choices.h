// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The last choices of the party dialog, offered again next time: section
// "Party" of Data\Play.ini, keys "Players", "Rounds", "Name<p>" and
// "Blind<p>" (p from 1). Written only when a party starts.
#include "party/party_setup.h"

#include <QString>

// The kept choices; a missing or unreadable file, or a value out of range,
// gives the default for it (a name the dialog would refuse gives the
// player's default name).
PartySetup readPartyChoices(const QString& appDir);
// Replaces the section atomically; the game menu's keys stay. Throws
// "%s に書き込めません" when it cannot be written.
void writePartyChoices(const QString& appDir, const PartySetup& setup);
