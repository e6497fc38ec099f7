// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One crash-safe change of the catalogue (register or delete), made of
// renames inside the data folder and one new settings file.
//
// The order of the steps, each made durable before the next:
//  1. hidden files only: the settings as they are and as they will be, and
//     any new pictures; then the journal (phase 1) that lists every rename.
//  2. phase 1: the catalogue pictures that go or move are renamed out to
//     hidden names; the journal is rewritten as phase 2.
//  3. phase 2: hidden pictures are renamed in to their new catalogue names.
//  4. commit: the new settings file is renamed over the old one.
//  5. the parked old pictures, then the journal, then the rest are removed.
// Every rename in a phase goes one way between two disjoint sets of names,
// so whether it happened can be read off the disk, and undoing or redoing
// it is idempotent. Until the commit everything can be taken back; after it
// only leftovers are removed. A failure at any step takes the change back
// and throws the program's error; a crash is finished or taken back by
// recoverCatalogueChange at the next start.
#include "catalogue/catalogue_journal.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class IniAppend;
class IniFile;

struct CatalogueChangePlan {
    QString folder;        // the data folder, without a trailing "/"
    QString settingsPath;  // the settings file (need not exist yet)
    std::vector<std::pair<QString, QByteArray>> newFiles;  // hidden name, content
    std::vector<CatalogueRename> out;  // phase 1, in this order
    std::vector<CatalogueRename> in;   // phase 2, in this order
    std::function<void(IniFile&)> editSettings;
    // The same edit made on the settings' bytes (IniAppend), tried first when
    // given; false when it cannot be made so, and editSettings makes it.
    std::function<bool(IniAppend&)> appendSettings;
    // The count of faces the caller read (-1: none). The change builds on
    // that catalogue: when the settings now store another count (another
    // game changed it meanwhile), it is refused with "%s に書き込めません"
    // naming the settings. A count that is not stored or out of range is not
    // compared.
    int countRead = -1;
};

// Keeps other processes of the game from changing or recovering the
// catalogue in folder while it is held (an advisory lock on the folder; where
// the file system has no locks, nothing is held). Taken around a recovery
// and around a recovery followed by a change.
class CatalogueLock {
public:
    explicit CatalogueLock(const QString& folder);
    ~CatalogueLock();
    CatalogueLock(const CatalogueLock&) = delete;
    CatalogueLock& operator=(const CatalogueLock&) = delete;

private:
    int fd_ = -1;
};

// Runs the change. The folder must hold no unfinished change (see
// recoverCatalogueChange). Throws AppError with the catalogue as it was.
void runCatalogueChange(const CatalogueChangePlan& plan);

// Finishes or takes back a change that a crash interrupted in folder, then
// removes the leftovers of interrupted changes and writes. Nothing to do
// without a journal.
//
// The journal is acted on only when it is one the game wrote and every step
// in it agrees with the files: it is a plain file in folder (not a link) no
// larger than any change writes, parses (checksum included), and the
// pictures, hidden files and settings are exactly where the change's
// progress puts them. Otherwise nothing is moved or removed: the journal and
// every ".change-" file are set aside into a new folder
// "refused-change-<date>-<time>" (kept, for whoever wants to look), so that
// the catalogue can be changed again, and "ファイル %s は開けません" naming
// the journal is thrown, once. The same error, with the journal left in
// place for the next try, when it cannot be read (I/O error); and
// "%s に書き込めません" naming the settings when a step fails.
// Gives the entries the folder holds afterwards other than the pictures
// spelled as facePictureName spells them (the leftover sweep's), so that a
// change can spell its names without another look at the folder. Without a
// journal, "ファイル %s は開けません" naming the folder when it cannot be
// listed; after one, nothing then.
std::optional<QStringList> recoverCatalogueChange(const QString& folder);
