// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file-system steps that replacing and renaming stored files is made of.
// Every step that changes the disk passes through one hook, so a test can
// count the steps, make one of them fail with an errno, or end the process
// just before it. Paths are absolute; results are 0 or an errno value.
#include <QByteArray>
#include <QString>
#include <functional>

enum class FileStep { Create, Write, SyncFile, Close, Rename, Remove, SyncFolder, MakeFolder };

// Called before each step with the path it acts on (for Rename, the target).
// A non-zero result makes the step fail with that errno without running it.
using FileStepHook = std::function<int(FileStep step, const QString& path)>;
// Installs hook (an empty one removes it) and returns the one it replaces.
FileStepHook setFileStepHook(FileStepHook hook);

enum class EntryKind { Missing, File, Other };  // File: a regular file or a symbolic link
// What path names, without following a link; an errno other than ENOENT is
// returned as it is.
int entryKind(const QString& path, EntryKind* kind);

struct NewFileOptions {
    bool exclusive = false;  // fail with EEXIST instead of truncating a file that is there
    int permissions = -1;    // mode bits to give the file; -1: the default (0666 less umask)
};
// Creates (or truncates) path and writes bytes, then syncs the file to disk
// and closes it. On failure the half-written file is left for the caller.
int writeNewFile(const QString& path, const QByteArray& bytes, const NewFileOptions& options = {});
// Renames from to to, replacing an existing file at to.
int renameEntry(const QString& from, const QString& to);
// Removes the file path (ENOENT when it is not there).
int removeFileEntry(const QString& path);
// Makes the entries of folder (creations, renames, removals) durable.
int syncFolder(const QString& folder);
// Creates the folder path (its parent must exist); EEXIST when something is there.
int makeFolder(const QString& path);
