// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/picture_bytes.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

// Reads the first count bytes of a regular file (all of it when it is no
// longer), or the whole file when count is negative and it is no larger than
// maxBytes.
PictureBytes readRegularFile(const QString& path, qint64 maxBytes, qint64 count) {
    PictureBytes result;
    // O_NONBLOCK: opening a pipe with no writer must not wait for one; a
    // regular file reads the same either way.
    Descriptor file;
    do {
        file.fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    } while (file.fd < 0 && errno == EINTR);
    if (file.fd < 0) {
        if (errno == ENOENT) result.status = PictureBytes::Missing;
        return result;
    }
    struct stat st {};
    if (::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode)) return result;
    const qint64 size = count >= 0 ? std::min<qint64>(count, st.st_size) : st.st_size;
    if (size > maxBytes) {
        result.status = PictureBytes::TooLarge;
        return result;
    }
    result.bytes.resize(size);
    qint64 done = 0;
    while (done < size) {
        const ssize_t got = ::read(file.fd, result.bytes.data() + done, size_t(size - done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            result.bytes.clear();
            return result;
        }
        done += got;
    }
    result.status = PictureBytes::Read;
    return result;
}

}  // namespace

PictureBytes readPictureBytes(const QString& path, qint64 maxBytes) { return readRegularFile(path, maxBytes, -1); }

PictureBytes readPictureHead(const QString& path, qint64 count) {
    return readRegularFile(path, std::max<qint64>(count, 0), std::max<qint64>(count, 0));
}

qint64 pictureFileByteLimit(qint64 maxPixels) {
    constexpr qint64 kOverhead = qint64(16) << 20;
    return maxPixels * 8 + kOverhead;
}
