// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Existence tests, folder listings and whole-file reads that never mistake a
// failure for an absent or a short file. Only "no such file" (ENOENT) means
// absent; any other failure, and a read that ends before the size the file had
// when it was opened, raises "ファイル %s は開けません" naming the path.
#include <QByteArray>
#include <QString>
#include <functional>

enum class PathKind { Absent, File, Folder, Other };

// What is at path (symbolic links followed; a dangling one is absent, and so
// is a path through a file).
PathKind probePath(const QString& path);

// What path itself names, a symbolic link not followed (a link is Other);
// *size, when given, is the size of a file.
PathKind probeEntry(const QString& path, qint64* size = nullptr);

// Whether a read goes through a symbolic link at path. A file the program
// keeps for itself is read with DoNotFollow: a link in its place is not
// opened (the read fails), so nothing outside its folder is ever taken for it.
enum class LinkPolicy { Follow, DoNotFollow };

// The whole content of the file at path. A file larger than maxBytes counts
// as unreadable: it is never taken in part.
QByteArray readWholeFile(const QString& path, qint64 maxBytes, LinkPolicy links = LinkPolicy::Follow);

// Asks the kernel to start reading the file at path into memory for a read
// that follows soon, and returns at once: files asked for together come from
// the disk together, not one after another. Only a hint: nothing happens
// when the file cannot be opened.
void readAhead(const QString& path);

// Calls visit with every entry name of folder except "." and "..", in the
// order the file system gives them. False when folder does not exist.
bool listFolder(const QString& folder, const std::function<void(const char* name)>& visit);
// What a listing tells of an entry without a look at it: a regular file or
// a symbolic link, something else, or nothing (some file systems do not say).
enum class ListedKind { FileOrLink, Other, Unknown };
// The same, with what each entry is as far as the listing tells.
bool listFolder(const QString& folder, const std::function<void(const char* name, ListedKind kind)>& visit);

// Test seam: faults injected into the calls above, so tests can make a file
// system fail in ways that a root test process cannot arrange with
// permissions. The hook sees every low-level call before it is made; a
// non-zero error makes the call fail with that errno, and for a read a
// readLimit >= 0 caps the bytes it returns (0 is an early end of file).
enum class FileCall { Probe, Open, Read, ListFolder };
struct FileCallFault {
    int error = 0;
    qint64 readLimit = -1;
};
using FileFaultHook = std::function<FileCallFault(FileCall call, const QString& path, qint64 offset)>;
// Installs hook (an empty one removes it); returns the previous one.
FileFaultHook setFileFaultHook(FileFaultHook hook);
