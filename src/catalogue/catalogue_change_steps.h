// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The steps that a change and the recovery of an interrupted one share. Each
// works on the data folder and returns false (leaving the journal for the
// next try) when a file step fails.
#include "catalogue/catalogue_journal.h"

#include <QDateTime>
#include <QString>
#include <QStringBuilder>
#include <QStringList>
#include <functional>
#include <optional>

// A settings file this large is not one the game wrote; reading stops there.
constexpr qint64 kSettingsReadLimit = 64 * 1024 * 1024;

inline QString inFolder(const QString& folder, const QString& name) { return folder % QLatin1Char('/') % name; }

// Takes back a change that was not committed, then removes the journal and
// the leftovers.
bool rollBackChange(const QString& folder, CatalogueJournal journal);
// Removes what a committed change left: the parked pictures, the journal,
// then the leftovers: found by listing the folder (sweep, after a crash) or
// by name (a change that has just run, whose only one is the old settings).
bool finishCommittedChange(const QString& folder, const CatalogueJournal& journal, bool sweep = true);
// Removes what interrupted changes and writes leave when no journal is
// pending: new pictures never moved in, the copies of the settings, and
// temporary files of interrupted writes. A parked or shifted picture (or any
// other ".change-" file) holds a catalogue picture that only a journal could
// place; without one it is set aside, never removed. Gives the entries the
// folder holds afterwards other than the pictures spelled as
// facePictureName spells them; nothing when it cannot be listed. The folder
// is watched (watchedEntries): it is listed only when the kernel's notices
// do not cover it.
std::optional<QStringList> sweepChangeLeftovers(const QString& folder);

// Moves names of folder, in this order, into a new folder
// "refused-change-<date>-<time>" in it, each without its leading dot so that
// it shows, and syncs both folders before the last one moves. Stops at the
// first step that fails, leaving the rest where it is.
void setAsideChangeFiles(const QString& folder, const QStringList& names);
// The clock whose date and time name that folder (the system's when empty);
// the recovery fuzz target fixes it so that its runs repeat.
void setSetAsideClock(std::function<QDateTime()> clock);
