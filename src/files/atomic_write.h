// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a whole file so that readers see either the old or the new content,
// and the write is reported done only once it is on disk: a temporary file in
// the same folder is written, synced and closed, renamed over the target, and
// the folder is synced. Every step goes through the file-step seam.
#include <QByteArray>
#include <QString>
#include <optional>

// Throws "ファイル %s を作成できません" when the file cannot be written.
void writeFileAtomically(const QString& path, const QByteArray& bytes);
// The same, returning false instead of throwing. Any failure before the
// rename leaves the old file untouched and no temporary file behind; a failed
// sync of the folder after the rename is a failure too (the new content is in
// place, but not known to be on disk).
bool tryWriteFileAtomically(const QString& path, const QByteArray& bytes);

// Whether fileName is a temporary file that an interrupted write left behind.
bool isAtomicWriteLeftover(const QString& fileName);

// Removes the plain files of folder (not of its subfolders) named like such
// a temporary file, and nothing else. Only while no write of the game can be
// under way there. A folder that cannot be listed is left alone.
void sweepAtomicWriteLeftovers(const QString& folder);

// The temporary names come from a generator seeded with seed, the same on
// every run (the fuzz targets' repeatable runs), or, with nothing, from the
// system's generator.
void setRepeatableTemporaryNames(std::optional<quint32> seed);
