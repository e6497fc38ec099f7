// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/watched_folder.h"

#include "files/file_reading.h"

#include <QFile>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <linux/magic.h>
#include <mutex>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>
#include <vector>

namespace {

// A game watches its data folder; tests watch many folders one after another.
constexpr std::size_t kMostWatched = 4;
constexpr uint32_t kEntryNotices = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
// The notices after which the names no longer stand for the folder.
constexpr uint32_t kLostTrack = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED | IN_Q_OVERFLOW;

struct Watch {
    QString folder;
    EntryNameFilter keep = nullptr;
    int fd = -1;  // an inotify instance of its own, so that stopping it drops its queue
    dev_t device = 0;
    ino_t inode = 0;
    QSet<QString> names;
    quint64 lastUse = 0;
};

struct Watches {
    std::mutex lock;
    pid_t owner = 0;
    std::vector<Watch> all;
    quint64 uses = 0;
};

Watches& watches() {
    static Watches w;
    return w;
}

// File systems that only this computer's kernel changes.
bool isLocal(const QByteArray& path) {
    struct statfs fs {};
    if (::statfs(path.constData(), &fs) != 0) return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case EXT4_SUPER_MAGIC:  // also ext2 and ext3
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case F2FS_SUPER_MAGIC:
    case TMPFS_MAGIC:
        return true;
    default:
        return false;
    }
}

bool identify(const QByteArray& path, dev_t* device, ino_t* inode) {
    struct stat st {};
    if (::stat(path.constData(), &st) != 0) return false;
    *device = st.st_dev;
    *inode = st.st_ino;
    return true;
}

// Applies the notices queued for w; false when they no longer vouch for it.
bool catchUp(Watch& w) {
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(w.fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return errno == EAGAIN;
        if (got == 0) return false;
        for (ssize_t at = 0; at < got;) {
            const auto* notice = reinterpret_cast<const inotify_event*>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + notice->len);
            if (notice->mask & kLostTrack) return false;
            if (notice->len == 0 || !w.keep(notice->name)) continue;
            if (notice->mask & (IN_CREATE | IN_MOVED_TO)) w.names.insert(QFile::decodeName(notice->name));
            else if (notice->mask & (IN_DELETE | IN_MOVED_FROM)) w.names.remove(QFile::decodeName(notice->name));
        }
    }
}

bool stillTheFolder(const Watch& w) {
    dev_t device = 0;
    ino_t inode = 0;
    return identify(QFile::encodeName(w.folder), &device, &inode) && device == w.device && inode == w.inode;
}

void close(Watch& w) {
    if (w.fd >= 0) ::close(w.fd);
    w.fd = -1;
}

// A child of fork shares its parent's queues: reading one would take the
// parent's notices. It starts afresh.
void forgetIfForked(Watches& ws) {
    const pid_t self = ::getpid();
    if (ws.owner == self) return;
    for (Watch& w : ws.all) close(w);
    ws.all.clear();
    ws.owner = self;
}

QStringList sorted(QStringList names) {
    names.sort();
    return names;
}

}  // namespace

std::optional<QStringList> watchedEntries(const QString& folder, EntryNameFilter keep) {
    Watches& ws = watches();
    const std::lock_guard<std::mutex> locked(ws.lock);
    forgetIfForked(ws);
    const auto found = std::find_if(ws.all.begin(), ws.all.end(),
                                    [&](const Watch& w) { return w.folder == folder && w.keep == keep; });
    if (found != ws.all.end()) {
        if (catchUp(*found) && stillTheFolder(*found)) {
            found->lastUse = ++ws.uses;
            return sorted(found->names.values());
        }
        close(*found);
        ws.all.erase(found);
    }

    // The watch starts before the listing, so that no change in between is
    // missed; one that the listing saw as well is applied again, to the same
    // effect.
    Watch w;
    w.folder = folder;
    w.keep = keep;
    const QByteArray path = QFile::encodeName(folder);
    if (isLocal(path) && identify(path, &w.device, &w.inode)) {
        w.fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (w.fd >= 0 && ::inotify_add_watch(w.fd, path.constData(), kEntryNotices | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR) < 0)
            close(w);
    }
    QStringList names;
    bool exists = false;
    try {
        exists = listFolder(folder, [&](const char* name) {
            if (keep(name)) names << QFile::decodeName(name);
        });
    } catch (...) {
        close(w);
        throw;
    }
    // The folder watched is the one listed, unless the path changed meanwhile.
    if (!exists || !stillTheFolder(w)) close(w);
    if (!exists) return std::nullopt;
    if (w.fd >= 0) {
        w.names = QSet<QString>(names.cbegin(), names.cend());
        w.lastUse = ++ws.uses;
        if (ws.all.size() >= kMostWatched) {
            const auto oldest = std::min_element(ws.all.begin(), ws.all.end(),
                                                 [](const Watch& a, const Watch& b) { return a.lastUse < b.lastUse; });
            close(*oldest);
            ws.all.erase(oldest);
        }
        ws.all.push_back(std::move(w));
    }
    return sorted(names);
}

void stopWatching(const QString& folder) {
    Watches& ws = watches();
    const std::lock_guard<std::mutex> locked(ws.lock);
    forgetIfForked(ws);
    for (auto it = ws.all.begin(); it != ws.all.end();) {
        if (it->folder == folder) {
            close(*it);
            it = ws.all.erase(it);
        } else {
            ++it;
        }
    }
}
