// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/file_reading.h"

#include "files/app_error.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileFaultHook& faultHook() {
    static FileFaultHook hook;
    return hook;
}

FileCallFault injected(FileCall call, const QString& path, qint64 offset = 0) {
    const FileFaultHook& hook = faultHook();
    return hook ? hook(call, path, offset) : FileCallFault{};
}

// Closes the descriptor on every way out of a read.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

struct Listing {
    DIR* dir = nullptr;
    ~Listing() {
        if (dir) ::closedir(dir);
    }
};

}  // namespace

FileFaultHook setFileFaultHook(FileFaultHook hook) {
    FileFaultHook previous = std::move(faultHook());
    faultHook() = std::move(hook);
    return previous;
}

PathKind probePath(const QString& path) {
    struct stat info {};
    int error = injected(FileCall::Probe, path).error;
    if (error == 0 && ::stat(QFile::encodeName(path).constData(), &info) != 0) error = errno;
    // ENOTDIR: a folder on the way is a file, so nothing can be there either.
    if (error == ENOENT || error == ENOTDIR) return PathKind::Absent;
    if (error != 0) throwFileOpenError(path);
    if (S_ISREG(info.st_mode)) return PathKind::File;
    if (S_ISDIR(info.st_mode)) return PathKind::Folder;
    return PathKind::Other;
}

PathKind probeEntry(const QString& path, qint64* size) {
    struct stat info {};
    int error = injected(FileCall::Probe, path).error;
    if (error == 0 && ::lstat(QFile::encodeName(path).constData(), &info) != 0) error = errno;
    if (error == ENOENT || error == ENOTDIR) return PathKind::Absent;
    if (error != 0) throwFileOpenError(path);
    if (size) *size = qint64(info.st_size);
    if (S_ISREG(info.st_mode)) return PathKind::File;
    if (S_ISDIR(info.st_mode)) return PathKind::Folder;
    return PathKind::Other;
}

QByteArray readWholeFile(const QString& path, qint64 maxBytes, LinkPolicy links) {
    Descriptor file;
    if (injected(FileCall::Open, path).error != 0) throwFileOpenError(path);
    // Without following: O_NOFOLLOW fails on a link, and O_NONBLOCK keeps a
    // pipe put in the file's place from holding the open up.
    const int flags = O_RDONLY | O_CLOEXEC | (links == LinkPolicy::DoNotFollow ? O_NOFOLLOW | O_NONBLOCK : 0);
    do {
        file.fd = ::open(QFile::encodeName(path).constData(), flags);
    } while (file.fd < 0 && errno == EINTR);
    struct stat info {};
    if (file.fd < 0 || ::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > maxBytes)
        throwFileOpenError(path);

    // Read to the end of the file, one checked call at a time; the content
    // must be exactly as long as the file was when opened.
    QByteArray bytes(qsizetype(info.st_size), Qt::Uninitialized);
    qint64 total = 0;
    char probe = 0;  // one byte past the size, to see a file that grew
    for (;;) {
        const bool atEnd = total == info.st_size;
        char* into = atEnd ? &probe : bytes.data() + total;
        qint64 wanted = atEnd ? 1 : info.st_size - total;
        const FileCallFault fault = injected(FileCall::Read, path, total);
        if (fault.error != 0) throwFileOpenError(path);
        if (fault.readLimit >= 0) wanted = std::min(wanted, fault.readLimit);
        const ssize_t got = wanted == 0 ? 0 : ::read(file.fd, into, size_t(wanted));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throwFileOpenError(path);
        if (got == 0) break;
        if (atEnd) throwFileOpenError(path);
        total += got;
    }
    if (total != info.st_size) throwFileOpenError(path);
    return bytes;
}

void readAhead(const QString& path) {
    Descriptor file;
    file.fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file.fd >= 0) ::posix_fadvise(file.fd, 0, 0, POSIX_FADV_WILLNEED);
}

bool listFolder(const QString& folder, const std::function<void(const char* name, ListedKind kind)>& visit) {
    Listing listing;
    int error = injected(FileCall::ListFolder, folder).error;
    if (error == 0) {
        listing.dir = ::opendir(QFile::encodeName(folder).constData());
        if (!listing.dir) error = errno;
    }
    if (error == ENOENT) return false;
    if (error != 0) throwFileOpenError(folder);
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(listing.dir);
        if (!entry) {
            if (errno != 0) throwFileOpenError(folder);
            return true;
        }
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
        const ListedKind kind = entry->d_type == DT_REG || entry->d_type == DT_LNK ? ListedKind::FileOrLink
                                : entry->d_type == DT_UNKNOWN                    ? ListedKind::Unknown
                                                                                 : ListedKind::Other;
        visit(name, kind);
    }
}

bool listFolder(const QString& folder, const std::function<void(const char* name)>& visit) {
    return listFolder(folder, [&](const char* name, ListedKind) { visit(name); });
}
