// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The entries of a big folder that is looked through again and again,
// without listing it each time: listing a folder of thirty thousand pictures
// costs the kernel about ten milliseconds, however few names are wanted.
// The folder is listed once; from then on the kernel's notices of the
// entries created, removed and renamed in it (inotify) keep the names up to
// date. Those notices cover every change made on this computer, by any
// process. On a file system that other computers may change too (network and
// FUSE file systems, and any other not known to be local), after a notice
// may have been lost (the kernel's queue ran over), when the path names
// another folder than the one watched, and in a child process of a fork,
// the folder is listed again.
#include <QString>
#include <QStringList>
#include <optional>

// Which entries are wanted, judged on the bytes of the name.
using EntryNameFilter = bool (*)(const char* name);

// The names of folder's entries that keep accepts, sorted. The folder is
// listed as listFolder lists it (with its errors, and nothing when it does
// not exist) unless the notices since an earlier call with the same filter
// cover it.
std::optional<QStringList> watchedEntries(const QString& folder, EntryNameFilter keep);

// The entries of folder that match name without regard to letter case (as
// QString::compare folds it), sorted, from a watch an earlier watchedEntries call
// set up, when its filter keeps name as given, in lower case and in upper
// case: a filter that passes over only names of one letter case (as the
// catalogue's pictures are spelled) then keeps every spelling of name.
// Nothing when no such watch covers folder (the caller lists it).
std::optional<QStringList> watchedSpellings(const QString& folder, const QString& name);

// Stops watching folder (before many changes of one's own there, whose
// notices would only fill the queue); the next call lists it again.
void stopWatching(const QString& folder);
