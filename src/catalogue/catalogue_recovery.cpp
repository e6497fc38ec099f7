// SPDX-License-Identifier: GPL-3.0-or-later
// Recovering a change that a crash interrupted. The journal is believed only
// when the files bear out every step of it; before that nothing is moved or
// removed, and a journal that is not believed is set aside with the change's
// hidden files, so that no picture is ever lost on its word.
#include "catalogue/catalogue_change.h"

#include "catalogue/catalogue_change_steps.h"
#include "files/app_error.h"
#include "files/file_ops.h"
#include "files/file_reading.h"
#include "files/ini_file.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <optional>

namespace {

QString at(const QString& folder, const QString& name) { return inFolder(folder, name); }

enum class Verdict { Refused, Uncommitted, Committed };

// Whether name is in folder; nothing for an entry that no step of a change
// makes (a folder or a device where a picture or settings file belongs).
std::optional<bool> isPresent(const QString& folder, const QString& name) {
    const QString path = at(folder, name);
    EntryKind kind = EntryKind::Missing;
    if (entryKind(path, &kind) != 0) throwFileOpenError(path);
    if (kind == EntryKind::Other) return std::nullopt;
    return kind == EntryKind::File;
}

// The bytes of a settings file, a missing one being empty (as the change
// reads it).
std::optional<QByteArray> settingsBytes(const QString& path) {
    switch (probePath(path)) {
    case PathKind::Absent: return QByteArray();
    case PathKind::File: return readWholeFile(path, kSettingsReadLimit);
    default: return std::nullopt;
    }
}

// Committed or not, read off the settings: before the commit both hidden
// copies are there and the settings are the old ones; after it the new copy
// has taken the settings' name; a commit taken back (its sync failed) put
// the old copy back under the name. A journal of this version vouches for
// the bytes of each; one of the previous version only for the change having
// changed them.
Verdict settingsVerdict(const QString& folder, const CatalogueJournal& journal) {
    const std::optional<bool> newThere = isPresent(folder, ChangeFiles::newSettings);
    const std::optional<bool> oldThere = isPresent(folder, ChangeFiles::oldSettings);
    const std::optional<QByteArray> settings = settingsBytes(at(folder, journal.settings));
    if (!newThere || !oldThere || !settings) return Verdict::Refused;
    const auto copy = [&](const QString& name) {
        return readWholeFile(at(folder, name), kSettingsReadLimit, LinkPolicy::DoNotFollow);
    };
    const bool v2 = journal.version == 2;
    const QByteArray now = settingsDigest(*settings);
    if (*newThere && *oldThere) {
        const QByteArray old = copy(ChangeFiles::oldSettings);
        const bool agree = v2 ? now == journal.settingsBefore && settingsDigest(old) == journal.settingsBefore &&
                                    settingsDigest(copy(ChangeFiles::newSettings)) == journal.settingsAfter
                              : *settings == old;
        return agree ? Verdict::Uncommitted : Verdict::Refused;
    }
    if (!*newThere && *oldThere) {
        const QByteArray old = copy(ChangeFiles::oldSettings);
        const bool agree = journal.phase == 2 && (v2 ? now == journal.settingsAfter &&
                                                           settingsDigest(old) == journal.settingsBefore
                                                     : *settings != old);
        return agree ? Verdict::Committed : Verdict::Refused;
    }
    if (!*newThere && !*oldThere) return !v2 || now == journal.settingsBefore ? Verdict::Uncommitted : Verdict::Refused;
    return Verdict::Refused;
}

// Where every name of the journal is once the first `done` renames of its
// phase have happened.
QHash<QString, bool> expectedPresence(const CatalogueJournal& journal, qsizetype done) {
    QHash<QString, bool> expected;
    if (journal.phase == 1) {
        for (qsizetype i = 0; i < qsizetype(journal.out.size()); ++i) {
            expected[journal.out[i].from] = i >= done;
            expected[journal.out[i].to] = i < done;
        }
        for (const CatalogueRename& r : journal.in) {
            // A new picture is written before the journal; a shifted one is
            // the target of an out rename above.
            if (!expected.contains(r.from)) expected[r.from] = true;
            // Nothing has moved in yet: a name no out rename freed is free.
            if (!expected.contains(r.to)) expected[r.to] = false;
        }
    } else {
        for (const CatalogueRename& r : journal.out) {
            expected[r.from] = false;
            expected[r.to] = true;
        }
        for (qsizetype i = 0; i < qsizetype(journal.in.size()); ++i) {
            expected[journal.in[i].from] = i >= done;
            expected[journal.in[i].to] = i < done;
        }
    }
    return expected;
}

// Whether the pictures and hidden files are exactly where the journal's
// progress puts them. A change renames in the journal's order and takes
// back newest first, so the renames of its phase that happened are always
// the leading ones. Once committed every rename has happened, and the
// parked pictures may be gone already.
bool stepsMatch(const QString& folder, const CatalogueJournal& journal, bool committed) {
    const std::vector<CatalogueRename>& renames = journal.phase == 1 ? journal.out : journal.in;
    qsizetype done = 0;
    for (; done < qsizetype(renames.size()); ++done) {
        const std::optional<bool> there = isPresent(folder, renames[done].to);
        if (!there) return false;
        if (!*there) break;
    }
    if (committed && done != qsizetype(renames.size())) return false;
    QSet<QString> parked;
    if (committed) {
        for (const CatalogueRename& r : journal.out) parked.insert(r.to);
        for (const CatalogueRename& r : journal.in) parked.remove(r.from);
    }
    const QHash<QString, bool> expected = expectedPresence(journal, done);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        if (parked.contains(it.key())) continue;
        const std::optional<bool> there = isPresent(folder, it.key());
        if (!there || *there != it.value()) return false;
    }
    return true;
}

// A face that a rollback takes back (a registration's) must not be one the
// settings that stay count: its pictures go with the rollback.
bool rollBackSparesTheCatalogue(const QString& folder, const CatalogueJournal& journal) {
    const int count = IniFile(at(folder, journal.settings)).readInteger(QStringLiteral("faces"), QStringLiteral("count"), 3);
    for (const CatalogueRename& r : journal.in)
        if (ChangeFiles::isAddedPicture(r.from) &&
            r.from.section(QLatin1Char('-'), 2).section(QLatin1Char('_'), 0, 0).toInt() < count)
            return false;
    return true;
}

Verdict verdictOf(const QString& folder, const CatalogueJournal& journal) {
    const Verdict settings = settingsVerdict(folder, journal);
    if (settings == Verdict::Refused || !stepsMatch(folder, journal, settings == Verdict::Committed))
        return Verdict::Refused;
    if (settings == Verdict::Uncommitted && !rollBackSparesTheCatalogue(folder, journal)) return Verdict::Refused;
    return settings;
}

}  // namespace

std::optional<QStringList> recoverCatalogueChange(const QString& folder) {
    const QString journalPath = at(folder, ChangeFiles::journal);
    qint64 size = 0;
    const PathKind kind = probeEntry(journalPath, &size);
    if (kind == PathKind::Absent) {
        // A folder that cannot be listed hides what may be left: no change
        // is built on it.
        if (std::optional<QStringList> kept = sweepChangeLeftovers(folder)) return kept;
        throwFileOpenError(folder);
    }
    // A link, a folder or a file larger than any change writes is not read at all.
    CatalogueJournal journal;
    Verdict verdict = Verdict::Refused;
    if (kind == PathKind::File && size <= maxJournalBytes() &&
        parseJournal(readWholeFile(journalPath, maxJournalBytes(), LinkPolicy::DoNotFollow), &journal))
        verdict = verdictOf(folder, journal);
    if (verdict == Verdict::Refused) {
        // The journal goes last: a crash in between leaves it in place, to be
        // refused again, so no hidden picture it covers is ever swept.
        QStringList names;
        try {
            listFolder(folder, [&](const char* entry) {
                const QString name = QFile::decodeName(entry);
                if (ChangeFiles::isChangeFile(name) && name != ChangeFiles::journal) names << name;
            });
            setAsideChangeFiles(folder, names << ChangeFiles::journal);
        } catch (const AppError&) {
            // The folder cannot be listed: everything stays for the next start.
        }
        throwFileOpenError(journalPath);
    }
    const bool done = verdict == Verdict::Committed ? finishCommittedChange(folder, journal)
                                                    : rollBackChange(folder, journal);
    if (!done) throwIniWriteError(at(folder, journal.settings));
    // Swept already: this only gives the entries (from the watch, when there is one).
    return sweepChangeLeftovers(folder);
}
