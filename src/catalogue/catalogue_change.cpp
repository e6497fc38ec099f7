// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/catalogue_change.h"

#include "catalogue/catalogue_change_steps.h"
#include "catalogue/catalogue_files.h"
#include "files/app_error.h"
#include "files/atomic_write.h"
#include "files/file_ops.h"
#include "files/file_reading.h"
#include "files/ini_append.h"
#include "files/ini_file.h"
#include "files/watched_folder.h"
#include "pictures/parallel_work.h"

#include <QDateTime>
#include <QFile>
#include <QSet>
#include <cerrno>
#include <fcntl.h>
#include <future>
#include <tuple>
#include <sys/file.h>
#include <unistd.h>

namespace {

QString at(const QString& folder, const QString& name) { return inFolder(folder, name); }

// More renames than this and the folder is not watched during the change
// (each rename is two notices, and the kernel queues 16,384).
constexpr std::size_t kRenamesWatched = 512;

// Settings longer than this together (a catalogue of a few hundred faces)
// are digested beside the writes.
constexpr qsizetype kDigestsAside = 128 * 1024;

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
// (storedText, the text of faces/count in their copy; nothing when there is
// none) is not the one the caller read.
void requireUnchangedCount(const std::optional<QString>& storedText, const QString& settingsPath, int countRead) {
    int stored = 0;
    // A count that is not stored, or that no catalogue can have, was never
    // mirrored as it stands; every change stores a count within range.
    if (!storedText || !parseIniInteger(*storedText, &stored) || stored < 0 || stored > kMaxFaceCount) return;
    if (stored != countRead) throwIniWriteError(settingsPath);
}

// The new settings, edited in memory from the old text: on the bytes when
// the change can do that, else through IniFile. Settings the game would not
// open are not changed either.
QByteArray editedSettings(const CatalogueChangePlan& plan, const QByteArray& oldSettings) {
    if (oldSettings.size() > kMaxIniFileBytes) throwIniWriteError(plan.settingsPath);
    const QString faces = QStringLiteral("faces"), count = QStringLiteral("count");
    // The count is checked on the text the change edits anyway, under the lock.
    if (plan.appendSettings)
        if (std::optional<IniAppend> bytes = IniAppend::of(oldSettings)) {
            if (plan.countRead >= 0) requireUnchangedCount(bytes->readString(faces, count), plan.settingsPath, plan.countRead);
            if (plan.appendSettings(*bytes)) return bytes->bytes();
        }
    IniFile ini(at(plan.folder, ChangeFiles::newSettings), oldSettings);
    // A missing count reads as empty, which is no count either.
    if (plan.countRead >= 0) requireUnchangedCount(ini.readString(faces, count, QString()), plan.settingsPath, plan.countRead);
    plan.editSettings(ini);
    return ini.bytes();
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

    // The new settings are written once, each file synced: two writes of the
    // settings, not three.
    QByteArray newSettings;
    try {
        newSettings = editedSettings(plan, oldSettings);
    } catch (const AppError&) {
        // The user knows the settings file, not its hidden copy.
        throwIniWriteError(settingsPath);
    }
    if (newSettings.size() > kSettingsReadLimit) throwIniWriteError(settingsPath);
    // The digests of large settings are taken on another core while the
    // hidden files are written: their syncs leave the processor waiting.
    const bool aside = oldSettings.size() + newSettings.size() > kDigestsAside && workerCount() > 1;
    std::future<std::pair<QByteArray, QByteArray>> digests =
        std::async(aside ? std::launch::async : std::launch::deferred,
                   [&] { return std::pair(settingsDigest(oldSettings), settingsDigest(newSettings)); });
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
    std::tie(journal.settingsBefore, journal.settingsAfter) = digests.get();
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

    // The folder is not watched while a change renames many pictures: their
    // notices would only fill the queue. It is listed again at the end.
    const bool many = plan.out.size() + plan.in.size() > kRenamesWatched;
    if (many) stopWatching(folder);

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
    // is listed again only to be watched again.
    finishCommittedChange(folder, journal, many);
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
    QSet<QString> movedIn;
    movedIn.reserve(qsizetype(journal.in.size()));
    for (const CatalogueRename& r : journal.in) movedIn.insert(r.from);
    for (const CatalogueRename& r : journal.out)
        if (!movedIn.contains(r.to) && removeIfPresent(at(folder, r.to)) != 0) return false;
    if (removeIfPresent(at(folder, ChangeFiles::journal)) != 0 || syncFolder(folder) != 0) return false;
    if (sweep)
        sweepChangeLeftovers(folder);
    else
        removeIfPresent(at(folder, ChangeFiles::oldSettings));
    return true;
}

namespace {

// Every entry of the data folder that is not a picture spelled as the game
// spells it: the leftovers are hidden names, and another spelling of a
// catalogue name is never the game's own. (Every spelling of any other name
// is kept, so the watch's names answer resolveAppPath's look-ups too.)
bool otherThanAPicture(const char* name) { return !isFacePictureName(name); }

}  // namespace

std::optional<QStringList> sweepChangeLeftovers(const QString& folder) {
    std::optional<QStringList> entries;
    try {
        entries = watchedEntries(folder, otherThanAPicture);
    } catch (const AppError&) {
        return std::nullopt;  // the folder cannot be listed: the leftovers stay for the next try
    }
    QStringList strays, kept;
    for (const QString& name : entries.value_or(QStringList())) {
        if (name.startsWith(QLatin1Char('.'))) {
            if (isAtomicWriteLeftover(name) || ChangeFiles::isAddedPicture(name) || name == ChangeFiles::newSettings ||
                name == ChangeFiles::oldSettings) {
                if (removeFileEntry(at(folder, name)) == 0) continue;
            } else if (ChangeFiles::isChangeFile(name) && name != ChangeFiles::journal) {
                strays << name;
                continue;
            }
        }
        kept << name;
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
