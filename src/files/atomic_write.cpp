// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/atomic_write.h"

#include "files/app_error.h"
#include "files/file_ops.h"
#include "files/file_reading.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <cerrno>
#include <mutex>
#include <optional>
#include <sys/stat.h>

namespace {

const QString kTempMarker = QStringLiteral(".tmp-");
constexpr int kTempSuffixLength = 6;

struct RepeatableNames {
    std::mutex lock;
    std::optional<QRandomGenerator> generator;
};

RepeatableNames& repeatableNames() {
    static RepeatableNames names;
    return names;
}

// ".<name>.tmp-XXXXXX": hidden, beside the target, recognisable afterwards.
QString tempNameFor(const QString& fileName) {
    static const char alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const int letters = int(sizeof alphabet - 1);
    QString suffix;
    RepeatableNames& repeatable = repeatableNames();
    std::lock_guard<std::mutex> locked(repeatable.lock);
    for (int i = 0; i < kTempSuffixLength; ++i) {
        const int letter = repeatable.generator ? int(repeatable.generator->bounded(letters))
                                                : QRandomGenerator::global()->bounded(letters);
        suffix += QLatin1Char(alphabet[letter]);
    }
    return QLatin1Char('.') + fileName + kTempMarker + suffix;
}

// The file a write of path really replaces: the target of a symbolic link,
// so that the link stays a link.
QString writeTarget(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.canonicalFilePath();
        if (!target.isEmpty()) return target;
    }
    return info.absoluteFilePath();
}

}  // namespace

bool tryWriteFileAtomically(const QString& path, const QByteArray& bytes) {
    const QString target = writeTarget(path);
    const QFileInfo info(target);
    const QString folder = info.absolutePath();

    NewFileOptions options;
    options.exclusive = true;
    struct stat st {};
    // A replaced file keeps its permissions.
    if (::stat(QFile::encodeName(target).constData(), &st) == 0 && S_ISREG(st.st_mode))
        options.permissions = int(st.st_mode & 07777);

    QString temp;
    int error = EEXIST;
    for (int attempt = 0; attempt < 16 && error == EEXIST; ++attempt) {
        temp = folder + QLatin1Char('/') + tempNameFor(info.fileName());
        error = writeNewFile(temp, bytes, options);
    }
    if (error == EEXIST) return false;  // never ours to remove
    if (error == 0) error = renameEntry(temp, target);
    if (error != 0) {
        removeFileEntry(temp);
        return false;
    }
    return syncFolder(folder) == 0;
}

void writeFileAtomically(const QString& path, const QByteArray& bytes) {
    if (!tryWriteFileAtomically(path, bytes)) throwFileCreateError(path);
}

bool isAtomicWriteLeftover(const QString& fileName) {
    static const QRegularExpression pattern(QStringLiteral("^\\..+\\.tmp-[A-Za-z0-9]{6}$"));
    return pattern.match(fileName).hasMatch();
}

void sweepAtomicWriteLeftovers(const QString& folder) {
    QStringList names;
    try {
        listFolder(folder, [&](const char* entry) {
            // Every leftover is a hidden name: the thousands of pictures of a
            // catalogue are passed over at a glance.
            if (entry[0] != '.') return;
            const QString name = QFile::decodeName(entry);
            if (isAtomicWriteLeftover(name)) names << name;
        });
        for (const QString& name : names) {
            const QString path = folder + QLatin1Char('/') + name;
            if (probeEntry(path) == PathKind::File) removeFileEntry(path);
        }
    } catch (const AppError&) {
        // Left for the next start.
    }
}

void setRepeatableTemporaryNames(std::optional<quint32> seed) {
    RepeatableNames& repeatable = repeatableNames();
    std::lock_guard<std::mutex> locked(repeatable.lock);
    if (seed) repeatable.generator.emplace(*seed);
    else repeatable.generator.reset();
}
