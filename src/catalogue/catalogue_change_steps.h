#pragma once
// The steps that a change and the recovery of an interrupted one share. Each
// works on the data folder and returns false (leaving the journal for the
// next try) when a file step fails.
#include "catalogue/catalogue_journal.h"

#include <QString>

// A settings file this large is not one the game wrote; reading stops there.
constexpr qint64 kSettingsReadLimit = 64 * 1024 * 1024;

inline QString inFolder(const QString& folder, const QString& name) { return folder + QLatin1Char('/') + name; }

// Takes back a change that was not committed, then removes the journal and
// the leftovers.
bool rollBackChange(const QString& folder, CatalogueJournal journal);
// Removes what a committed change left: the parked pictures, the journal,
// then the leftovers.
bool finishCommittedChange(const QString& folder, const CatalogueJournal& journal);
// Removes the change's own hidden files and temporary files of interrupted
// writes. Only when no journal is pending, so none of them holds anything
// the catalogue needs.
void sweepChangeLeftovers(const QString& folder);
