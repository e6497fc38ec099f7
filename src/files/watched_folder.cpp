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
constexpr uint32_t kLostTrack = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED;

struct Watch {
    QString folder;
    EntryNameFilter keep = nullptr;
    int wd = -1;
    dev_t device = 0;
    ino_t inode = 0;
    QSet<QString> names;
    bool tracking = true;  // false once a notice may have been missed
    quint64 lastUse = 0;
};

// One inotify instance for the process, kept open: closing one waits for
// the kernel's readers of its watches to finish (milliseconds), while a
// watch is removed at once.
struct Watches {
    std::mutex lock;
    pid_t owner = 0;
    int fd = -1;
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

bool stillTheFolder(const Watch& w) {
    dev_t device = 0;
    ino_t inode = 0;
    return identify(QFile::encodeName(w.folder), &device, &inode) && device == w.device && inode == w.inode;
}

// Applies every queued notice to its watch. A lost notice (the queue ran
// over) or a failed read leaves no watch to trust.
void catchUp(Watches& ws) {
    if (ws.fd < 0) return;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(ws.fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            if (got == 0 || errno != EAGAIN)
                for (Watch& w : ws.all) w.tracking = false;
            return;
        }
        for (ssize_t at = 0; at < got;) {
            const auto* notice = reinterpret_cast<const inotify_event*>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + notice->len);
            if (notice->mask & IN_Q_OVERFLOW) {
                for (Watch& w : ws.all) w.tracking = false;
                continue;
            }
            // Notices of a watch removed meanwhile find none.
            const auto w = std::find_if(ws.all.begin(), ws.all.end(), [&](const Watch& x) { return x.wd == notice->wd; });
            if (w == ws.all.end() || !w->tracking) continue;
            if (notice->mask & kLostTrack) {
                w->tracking = false;
                continue;
            }
            if (notice->len == 0 || !w->keep(notice->name)) continue;
            if (notice->mask & (IN_CREATE | IN_MOVED_TO)) w->names.insert(QFile::decodeName(notice->name));
            else if (notice->mask & (IN_DELETE | IN_MOVED_FROM)) w->names.remove(QFile::decodeName(notice->name));
        }
    }
}

void unwatch(Watches& ws, std::vector<Watch>::iterator w) {
    if (ws.fd >= 0 && w->wd >= 0) ::inotify_rm_watch(ws.fd, w->wd);
    ws.all.erase(w);
}

// A child of fork shares its parent's queue: reading it would take the
// parent's notices. It starts afresh (the inherited descriptor is left alone).
void forgetIfForked(Watches& ws) {
    const pid_t self = ::getpid();
    if (ws.owner == self) return;
    ws.fd = -1;
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
    catchUp(ws);
    const auto found = std::find_if(ws.all.begin(), ws.all.end(), [&](const Watch& w) { return w.folder == folder; });
    if (found != ws.all.end()) {
        if (found->keep == keep && found->tracking && stillTheFolder(*found)) {
            found->lastUse = ++ws.uses;
            return sorted(found->names.values());
        }
        unwatch(ws, found);
    }

    // The watch starts before the listing, so that no change in between is
    // missed; one that the listing saw as well is applied again, to the same
    // effect.
    Watch w;
    w.folder = folder;
    w.keep = keep;
    const QByteArray path = QFile::encodeName(folder);
    if (isLocal(path) && identify(path, &w.device, &w.inode)) {
        if (ws.fd < 0) ws.fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (ws.fd >= 0) w.wd = ::inotify_add_watch(ws.fd, path.constData(), kEntryNotices | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR);
    }
    // Another path to the same folder shares its watch: that one goes.
    if (w.wd >= 0)
        for (auto other = ws.all.begin(); other != ws.all.end(); ++other)
            if (other->wd == w.wd) {
                ws.all.erase(other);
                break;
            }
    QStringList names;
    bool exists = false;
    try {
        exists = listFolder(folder, [&](const char* name) {
            if (keep(name)) names << QFile::decodeName(name);
        });
    } catch (...) {
        if (w.wd >= 0) ::inotify_rm_watch(ws.fd, w.wd);
        throw;
    }
    // The folder watched is the one listed, unless the path changed meanwhile.
    if (w.wd >= 0 && (!exists || !stillTheFolder(w))) {
        ::inotify_rm_watch(ws.fd, w.wd);
        w.wd = -1;
    }
    if (!exists) return std::nullopt;
    if (w.wd >= 0) {
        w.names = QSet<QString>(names.cbegin(), names.cend());
        w.lastUse = ++ws.uses;
        if (ws.all.size() >= kMostWatched)
            unwatch(ws, std::min_element(ws.all.begin(), ws.all.end(),
                                         [](const Watch& a, const Watch& b) { return a.lastUse < b.lastUse; }));
        ws.all.push_back(std::move(w));
    }
    return sorted(names);
}

std::optional<QStringList> watchedSpellings(const QString& folder, const QString& name) {
    QString wanted = folder;
    while (wanted.size() > 1 && wanted.endsWith(QLatin1Char('/'))) wanted.chop(1);
    Watches& ws = watches();
    const std::lock_guard<std::mutex> locked(ws.lock);
    forgetIfForked(ws);
    catchUp(ws);
    const auto found = std::find_if(ws.all.begin(), ws.all.end(), [&](const Watch& w) { return w.folder == wanted; });
    if (found == ws.all.end() || !found->tracking || !stillTheFolder(*found)) return std::nullopt;
    for (const QString& spelling : {name, name.toLower(), name.toUpper()})
        if (!found->keep(QFile::encodeName(spelling).constData())) return std::nullopt;
    found->lastUse = ++ws.uses;
    QStringList spellings;
    for (const QString& entry : found->names)
        if (entry.compare(name, Qt::CaseInsensitive) == 0) spellings << entry;
    return sorted(spellings);
}

void stopWatching(const QString& folder) {
    Watches& ws = watches();
    const std::lock_guard<std::mutex> locked(ws.lock);
    forgetIfForked(ws);
    const auto found = std::find_if(ws.all.begin(), ws.all.end(), [&](const Watch& w) { return w.folder == folder; });
    if (found != ws.all.end()) unwatch(ws, found);
}
