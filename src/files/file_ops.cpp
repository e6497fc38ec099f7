// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/file_ops.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileStepHook& hook() {
    static FileStepHook installed;
    return installed;
}

int before(FileStep step, const QString& path) {
    const FileStepHook& h = hook();
    return h ? h(step, path) : 0;
}

QByteArray native(const QString& path) { return QFile::encodeName(path); }

int closeChecked(int fd, const QString& path) {
    if (const int injected = before(FileStep::Close, path)) {
        ::close(fd);
        return injected;
    }
    // close() reports write-back errors on some file systems (NFS); EINTR
    // still releases the descriptor on Linux, so it is not retried.
    return ::close(fd) == 0 || errno == EINTR ? 0 : errno;
}

}  // namespace

FileStepHook setFileStepHook(FileStepHook h) {
    FileStepHook previous = std::move(hook());
    hook() = std::move(h);
    return previous;
}

int entryKind(const QString& path, EntryKind* kind) {
    struct stat st {};
    if (::lstat(native(path).constData(), &st) != 0) {
        if (errno != ENOENT) return errno;
        *kind = EntryKind::Missing;
        return 0;
    }
    *kind = S_ISREG(st.st_mode) || S_ISLNK(st.st_mode) ? EntryKind::File : EntryKind::Other;
    return 0;
}

int writeNewFile(const QString& path, const QByteArray& bytes, const NewFileOptions& options) {
    if (const int injected = before(FileStep::Create, path)) return injected;
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (options.exclusive ? O_EXCL : O_TRUNC);
    const int fd = ::open(native(path).constData(), flags, 0666);
    if (fd < 0) return errno;
    if (options.permissions >= 0 && ::fchmod(fd, mode_t(options.permissions)) != 0) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    if (const int injected = before(FileStep::Write, path)) {
        ::close(fd);
        return injected;
    }
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            ::close(fd);
            return error;
        }
        done += n;
    }
    if (const int injected = before(FileStep::SyncFile, path)) {
        ::close(fd);
        return injected;
    }
    if (::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    return closeChecked(fd, path);
}

int renameEntry(const QString& from, const QString& to) {
    if (const int injected = before(FileStep::Rename, to)) return injected;
    return std::rename(native(from).constData(), native(to).constData()) == 0 ? 0 : errno;
}

int removeFileEntry(const QString& path) {
    if (const int injected = before(FileStep::Remove, path)) return injected;
    return ::unlink(native(path).constData()) == 0 ? 0 : errno;
}

int syncFolder(const QString& folder) {
    if (const int injected = before(FileStep::SyncFolder, folder)) return injected;
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    int error = ::fsync(fd) == 0 ? 0 : errno;
    // Some file systems cannot sync a folder at all; they order their
    // metadata themselves, so that is not a failure.
    if (error == EINVAL || error == ENOTSUP) error = 0;
    ::close(fd);
    return error;
}

int makeFolder(const QString& path) {
    if (const int injected = before(FileStep::MakeFolder, path)) return injected;
    return ::mkdir(native(path).constData(), 0777) == 0 ? 0 : errno;
}
