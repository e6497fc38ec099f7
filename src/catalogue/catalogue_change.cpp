#include "catalogue/catalogue_change.h"

#include "platform/app_error.h"
#include "platform/atomic_write.h"

#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace {

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// True for any directory entry, a dangling link included.
bool entryExists(const QString& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(fsPath(path), ec));
}

// A rename that never replaces an existing entry.
bool renameEntry(const QString& from, const QString& to) {
    if (entryExists(to)) return false;
    std::error_code ec;
    std::filesystem::rename(fsPath(from), fsPath(to), ec);
    return !ec;
}

// A hidden name beside path that nothing uses yet.
QString unusedSideName(const QString& path) {
    const QFileInfo info(path);
    for (int n = 0;; ++n) {
        const QString candidate = info.absolutePath() + QStringLiteral("/.%1.undo%2").arg(info.fileName()).arg(n);
        if (!entryExists(candidate)) return candidate;
    }
}

}  // namespace

CatalogueChange::~CatalogueChange() { rollback(); }

void CatalogueChange::park(const QString& path) {
    if (!entryExists(path)) throwFileOpenError(path);
    const QString side = unusedSideName(path);
    if (!renameEntry(path, side)) throwFileCreateError(side);
    steps_.push_back({Step::Parked, path, side});
}

void CatalogueChange::move(const QString& from, const QString& to) {
    if (!entryExists(from)) throwFileOpenError(from);
    if (!renameEntry(from, to)) throwFileCreateError(to);
    steps_.push_back({Step::Moved, from, to});
}

void CatalogueChange::create(const QString& path, const QByteArray& bytes) {
    // Never write through a directory or over a file that was not parked first.
    if (entryExists(path)) throwFileCreateError(path);
    writeFileAtomically(path, bytes);
    steps_.push_back({Step::Created, path, {}});
}

void CatalogueChange::commit() {
    // The change stands; the parked old files are no longer needed. A parked
    // file that cannot be removed is only a leftover under a hidden name.
    for (const Step& step : steps_)
        if (step.kind == Step::Parked) QFile::remove(step.movedTo);
    steps_.clear();
}

void CatalogueChange::rollback() {
    // Best effort: undo every step that can be undone, newest first.
    for (auto it = steps_.rbegin(); it != steps_.rend(); ++it) {
        if (it->kind == Step::Created)
            QFile::remove(it->path);
        else
            renameEntry(it->movedTo, it->path);
    }
    steps_.clear();
}
