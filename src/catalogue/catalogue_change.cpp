// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/catalogue_change.h"

#include "catalogue/catalogue_change_steps.h"
#include "catalogue/catalogue_files.h"
#include "files/app_error.h"
#include "files/atomic_write.h"
#include "files/file_ops.h"
#include "files/file_reading.h"
#include "files/ini_file.h"

#include <QDateTime>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <set>
#include <sys/file.h>
#include <unistd.h>

namespace {

QString at(const QString& folder, const QString& name) { return inFolder(folder, name); }

int removeIfPresent(const QString& path) {
    const int error = removeFileEntry(path);
    return error == ENOENT ? 0 : error;
}

// Takes back the renames of renames (newest first) that happened: a rename
// happened when its target is there and its source is not.
bool undoRenames(const QString& folder, const std::vector<CatalogueRename>& renames) {
    for (auto it = renames.rbegin(); it != renames.rend(); ++it) {
        EntryKind to = EntryKind::Missing, from = EntryKind::Missing;
        if (entryKind(at(folder, it->to), &to) != 0 || entryKind(at(folder, it->from), &from) != 0) return false;
        if (to != EntryKind::Missing && from == EntryKind::Missing &&
            renameEntry(at(folder, it->to), at(folder, it->from)) != 0)
            return false;
    }
    return true;
}

// Throws "%s に書き込めません" naming the settings when the stored count
// (read from their copy) is not the one the caller read.
void requireUnchangedCount(const IniFile& settings, const QString& settingsPath, int countRead) {
    constexpr int kNotStored = std::numeric_limits<int>::min();
    const int stored = settings.readInteger(QStringLiteral("faces"), QStringLiteral("count"), kNotStored);
    // A count that is not stored, or that no catalogue can have, was never
    // mirrored as it stands; every change stores a count within range.
    if (stored == kNotStored || stored < 0 || stored > kMaxFaceCount) return;
    if (stored != countRead) throwIniWriteError(settingsPath);
}

void writeJournal(const QString& folder, const CatalogueJournal& journal, const QString& settingsPath) {
    if (!tryWriteFileAtomically(at(folder, ChangeFiles::journal), journalText(journal)))
        throwIniWriteError(settingsPath);
}

QString targetOf(const CatalogueChangePlan& plan, const QString& hidden) {
    for (const CatalogueRename& r : plan.in)
        if (r.from == hidden) return at(plan.folder, r.to);
    return at(plan.folder, hidden);
}

// Writes every hidden file of the change and the journal; nothing under a
// catalogue name changes here.
CatalogueJournal prepare(const CatalogueChangePlan& plan) {
    const QString& folder = plan.folder;
    const QString& settingsPath = plan.settingsPath;
    EntryKind kind = EntryKind::Missing;
    if (entryKind(settingsPath, &kind) != 0) throwFileOpenError(settingsPath);
    if (kind == EntryKind::Other) throwIniWriteError(settingsPath);
    // A missing settings file is an empty one: both read as count 3.
    const QByteArray oldSettings = kind == EntryKind::File ? readWholeFile(settingsPath, kSettingsReadLimit) : QByteArray();

    // The new settings are edited in memory from the old text and written
    // once, each file synced: two writes of the settings, not three.
    QByteArray newSettings;
    try {
        // Settings the game would not open are not changed either.
        if (oldSettings.size() > kMaxIniFileBytes) throwIniWriteError(settingsPath);
        IniFile ini(at(folder, ChangeFiles::newSettings), oldSettings);
        // Checked on the text the change edits anyway, under the lock.
        if (plan.countRead >= 0) requireUnchangedCount(ini, settingsPath, plan.countRead);
        plan.editSettings(ini);
        newSettings = ini.bytes();
    } catch (const AppError&) {
        // The user knows the settings file, not its hidden copy.
        throwIniWriteError(settingsPath);
    }
    if (newSettings.size() > kSettingsReadLimit) throwIniWriteError(settingsPath);
    NewFileOptions fresh;
    fresh.exclusive = true;
    // The journal vouches for exactly these bytes.
    if (writeNewFile(at(folder, ChangeFiles::oldSettings), oldSettings, fresh) != 0 ||
        writeNewFile(at(folder, ChangeFiles::newSettings), newSettings, fresh) != 0)
        throwIniWriteError(settingsPath);
    for (const auto& [name, bytes] : plan.newFiles)
        if (writeNewFile(at(folder, name), bytes, fresh) != 0) throwFileCreateError(targetOf(plan, name));
    if (syncFolder(folder) != 0) throwIniWriteError(settingsPath);

    CatalogueJournal journal;
    journal.phase = plan.out.empty() ? 2 : 1;
    journal.settings = settingsPath.mid(settingsPath.lastIndexOf(QLatin1Char('/')) + 1);
    journal.settingsBefore = settingsDigest(oldSettings);
    journal.settingsAfter = settingsDigest(newSettings);
    journal.out = plan.out;
    journal.in = plan.in;
    writeJournal(folder, journal, settingsPath);
    return journal;
}

}  // namespace

CatalogueLock::CatalogueLock(const QString& folder) {
    fd_ = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;
    int result;
    do {
        result = ::flock(fd_, LOCK_EX);
    } while (result != 0 && errno == EINTR);
}

CatalogueLock::~CatalogueLock() {
    if (fd_ >= 0) ::close(fd_);
}

void runCatalogueChange(const CatalogueChangePlan& plan) {
    const QString& folder = plan.folder;
    const QString& settingsPath = plan.settingsPath;
    CatalogueJournal journal;
    try {
        journal = prepare(plan);
    } catch (const AppError&) {
        // Only hidden files exist so far (a journal at most on its way to
        // disk, with nothing renamed); they simply go.
        // A journal that cannot be removed keeps them for the next start.
        if (removeIfPresent(at(folder, ChangeFiles::journal)) == 0) sweepChangeLeftovers(folder);
        throw;
    }

    // From here a failure takes every rename back. When even that fails the
    // journal stays, and the next start (or change) takes the rest back.
    const auto fail = [&](const QString& message) {
        rollBackChange(folder, journal);
        throw AppError(message);
    };
    for (const CatalogueRename& r : plan.out)
        if (renameEntry(at(folder, r.from), at(folder, r.to)) != 0) fail(fileOpenErrorText(at(folder, r.from)));
    if (journal.phase == 1) {
        if (syncFolder(folder) != 0) fail(iniWriteErrorText(settingsPath));
        journal.phase = 2;
        try {
            writeJournal(folder, journal, settingsPath);
        } catch (const AppError& e) {
            // The rewrite may or may not have reached the disk; undoing
            // phase 2 is harmless before it started.
            fail(e.message());
        }
    }
    for (const CatalogueRename& r : plan.in)
        if (renameEntry(at(folder, r.from), at(folder, r.to)) != 0) fail(fileCreateErrorText(at(folder, r.to)));
    if (syncFolder(folder) != 0) fail(iniWriteErrorText(settingsPath));

    if (renameEntry(at(folder, ChangeFiles::newSettings), settingsPath) != 0) fail(iniWriteErrorText(settingsPath));
    if (syncFolder(folder) != 0) {
        // Not known to be on disk: put the old settings back and take the
        // change back. If they cannot go back, the change stands as it is.
        if (renameEntry(at(folder, ChangeFiles::oldSettings), settingsPath) == 0) fail(iniWriteErrorText(settingsPath));
    }
    // The change stands; a leftover that cannot be removed now goes at the
    // next start. The change knows its own hidden files by name: the folder
    // is not listed again.
    finishCommittedChange(folder, journal, false);
}

// Takes back a change that was not committed; false (journal kept) when a
// step fails. Once phase 2 is undone the journal says phase 1 again before
// anything of phase 1 is undone, so that a repeated undo never reads a
// picture moved back by phase 1 as one that phase 2 moved in.
bool rollBackChange(const QString& folder, CatalogueJournal journal) {
    if (journal.phase == 2) {
        if (!undoRenames(folder, journal.in) || syncFolder(folder) != 0) return false;
        journal.phase = 1;
        if (!tryWriteFileAtomically(at(folder, ChangeFiles::journal), journalText(journal))) return false;
    }
    if (!undoRenames(folder, journal.out)) return false;
    // The journal goes only once the pictures are back on disk, and the
    // leftovers only once the journal is gone from it.
    if (syncFolder(folder) != 0 || removeIfPresent(at(folder, ChangeFiles::journal)) != 0 ||
        syncFolder(folder) != 0)
        return false;
    sweepChangeLeftovers(folder);
    return true;
}

// The parked pictures go first, then the journal, then (once that is on
// disk) the other hidden files, among them the old settings that mark the
// change as committed.
bool finishCommittedChange(const QString& folder, const CatalogueJournal& journal, bool sweep) {
    std::set<QString> movedIn;
    for (const CatalogueRename& r : journal.in) movedIn.insert(r.from);
    for (const CatalogueRename& r : journal.out)
        if (!movedIn.count(r.to) && removeIfPresent(at(folder, r.to)) != 0) return false;
    if (removeIfPresent(at(folder, ChangeFiles::journal)) != 0 || syncFolder(folder) != 0) return false;
    if (sweep)
        sweepChangeLeftovers(folder);
    else
        removeIfPresent(at(folder, ChangeFiles::oldSettings));
    return true;
}

std::optional<QStringList> sweepChangeLeftovers(const QString& folder) {
    QStringList strays, kept;
    try {
        listFolder(folder, [&](const char* entry) {
            const QString name = QFile::decodeName(entry);
            // Every leftover is a hidden name; the thousands of pictures are
            // passed over at a glance.
            if (entry[0] == '.') {
                if (isAtomicWriteLeftover(name) || ChangeFiles::isAddedPicture(name) ||
                    name == ChangeFiles::newSettings || name == ChangeFiles::oldSettings) {
                    if (removeFileEntry(at(folder, name)) == 0) return;
                } else if (ChangeFiles::isChangeFile(name) && name != ChangeFiles::journal) {
                    strays << name;
                    return;
                }
            }
            kept << name;
        });
    } catch (const AppError&) {
        return std::nullopt;  // the folder cannot be listed: the leftovers stay for the next try
    }
    if (!strays.isEmpty()) setAsideChangeFiles(folder, strays);
    return kept;
}

namespace {
std::function<QDateTime()>& setAsideClock() {
    static std::function<QDateTime()> clock;
    return clock;
}
}  // namespace

void setSetAsideClock(std::function<QDateTime()> clock) { setAsideClock() = std::move(clock); }

void setAsideChangeFiles(const QString& folder, const QStringList& names) {
    const QDateTime now = setAsideClock() ? setAsideClock()() : QDateTime::currentDateTime();
    const QString stamp = now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside;
    int error = EEXIST;
    for (int n = 1; n <= 100 && error == EEXIST; ++n) {
        aside = at(folder, QStringLiteral("refused-change-") + stamp + (n > 1 ? QStringLiteral("-%1").arg(n) : QString()));
        error = makeFolder(aside);
    }
    if (error != 0) return;
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (i + 1 == names.size() && (syncFolder(aside) != 0 || syncFolder(folder) != 0)) return;
        if (renameEntry(at(folder, names[i]), at(aside, names[i].mid(1))) != 0) return;
    }
    syncFolder(aside);
    syncFolder(folder);
}
