// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/app_home.h"

#include "desktop/user_dialogs.h"
#include "files/app_error.h"
#include "files/app_paths.h"
#include "files/atomic_write.h"
#include "files/file_ops.h"
#include "files/file_reading.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <unistd.h>

namespace {

const QString kSeedingPrefix = QStringLiteral(".pomurina-seeding-");

QString withSlash(QString folder) {
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

QString withoutSlash(const QString& folder) { return QDir::cleanPath(folder); }

bool isFacePicture(const QString& name) {
    static const QRegularExpression pattern(QStringLiteral("^face[0-9]+_[0-9]\\.jpg$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern.match(name).hasMatch();
}

// The files of folder (links to files included), by name. Throws the
// program's open error when it cannot be listed: a folder that cannot be
// read is never taken for an empty one.
QStringList filesIn(const QString& folder) {
    QStringList names;
    listFolder(folder, [&](const char* entry) {
        const QString name = QFile::decodeName(entry);
        if (probePath(folder + QLatin1Char('/') + name) == PathKind::File) names << name;
    });
    names.sort();
    return names;
}

// The entry of names spelled like name without regard to case; empty if none.
QString spelledIn(const QStringList& names, const QString& name) {
    for (const QString& n : names)
        if (n.compare(name, Qt::CaseInsensitive) == 0) return n;
    return {};
}

// FaceData.ini spelled that way is there: no need to list a folder of
// thousands of pictures to know it. A failed look proves nothing either way.
bool hasSettingsFileAsSpelled(const QString& dataDir) {
    try {
        return probePath(withSlash(dataDir) + QStringLiteral("FaceData.ini")) == PathKind::File;
    } catch (const AppError&) {
        return false;
    }
}

bool hasSettingsFile(const QString& dataDir) {
    return hasSettingsFileAsSpelled(dataDir) || !spelledIn(filesIn(dataDir), QStringLiteral("FaceData.ini")).isEmpty();
}

// A folder that cannot be looked into holds no catalogue the game could use.
bool hasCatalogue(const QString& appDir) {
    try {
        const QString dataDir = resolveAppPath(appDir, QStringLiteral("data"));
        if (probePath(dataDir) != PathKind::Folder) return false;
        if (hasSettingsFileAsSpelled(dataDir)) return true;
        const QStringList files = filesIn(dataDir);
        return !spelledIn(files, QStringLiteral("FaceData.ini")).isEmpty() ||
               std::any_of(files.cbegin(), files.cend(), isFacePicture);
    } catch (const AppError&) {
        return false;
    }
}

// No file of the installed copy is anywhere near this large.
constexpr qint64 kSeedFileLimit = 64 * 1024 * 1024;

// The whole file, read with every call checked; throws the open error.
QByteArray contentsOf(const QString& path) { return readWholeFile(path, kSeedFileLimit); }

// Copies source to target unless target exists; written aside and renamed, so
// target is either absent or whole. Returns the error text or empty.
QString copyIfMissing(const QString& source, const QString& target) {
    // Only "no such file" lets the copy go ahead: a failed look must never
    // lead to replacing what a player already has.
    try {
        if (probePath(target) != PathKind::Absent) return {};
    } catch (const AppError&) {
        return fileCreateErrorText(target);
    }
    QByteArray bytes;
    try {
        bytes = contentsOf(source);
    } catch (const AppError& e) {
        return e.message();
    }
    return tryWriteFileAtomically(target, bytes) ? QString() : fileCreateErrorText(target);
}

void clearInterruptedSeeding(const QString& appDir) {
    const QStringList leftovers = QDir(appDir).entryList({kSeedingPrefix + QLatin1Char('*')},
                                                         QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : leftovers) QDir(appDir + name).removeRecursively();
}

// A data folder that does not exist yet: filled aside, every file read in
// full and synced, and renamed into place, so it appears complete or not at
// all. Returns the error text or empty; throws the open error of a source
// that cannot be listed or read.
QString seedNewDataFolder(const QString& appDir, const QString& sourceData, const QString& targetData) {
    QTemporaryDir aside(appDir + kSeedingPrefix + QStringLiteral("XXXXXX"));
    if (!aside.isValid()) return fileCreateErrorText(withoutSlash(targetData));
    NewFileOptions fresh;
    fresh.exclusive = true;
    for (const QString& name : filesIn(sourceData)) {
        const QString target = aside.path() + QLatin1Char('/') + name;
        if (writeNewFile(target, contentsOf(sourceData + QLatin1Char('/') + name), fresh) != 0)
            return fileCreateErrorText(target);
    }
    if (syncFolder(aside.path()) != 0 || renameEntry(aside.path(), targetData) != 0) return fileCreateErrorText(targetData);
    aside.setAutoRemove(false);
    return syncFolder(withoutSlash(appDir)) == 0 ? QString() : fileCreateErrorText(targetData);
}

// A data folder that exists without a settings file (music settings only, or
// what an interrupted copy left): the missing files are added one by one,
// FaceData.ini last, so the catalogue counts as there only once it is whole.
// Throws the open error of a file that cannot be listed or compared.
QString completeDataFolder(const QString& sourceData, const QString& targetData) {
    const QStringList sourceFiles = filesIn(sourceData);
    const QStringList targetFiles = filesIn(targetData);
    for (const QString& name : targetFiles) {
        if (!isFacePicture(name)) continue;
        const QString counterpart = spelledIn(sourceFiles, name);
        // A picture of the player's own: this catalogue is theirs to keep.
        if (counterpart.isEmpty() ||
            contentsOf(targetData + QLatin1Char('/') + name) != contentsOf(sourceData + QLatin1Char('/') + counterpart))
            return {};
    }
    QStringList order = sourceFiles;
    std::stable_partition(order.begin(), order.end(), [](const QString& name) {
        return name.compare(QStringLiteral("FaceData.ini"), Qt::CaseInsensitive) != 0;
    });
    for (const QString& name : order) {
        if (!spelledIn(targetFiles, name).isEmpty()) continue;
        const QString error = copyIfMissing(sourceData + QLatin1Char('/') + name, targetData + QLatin1Char('/') + name);
        if (!error.isEmpty()) return error;
    }
    return {};
}

// What interrupted writes left in the folders the game writes: the game's
// folder itself (the first start's copies), Library/ (saved faces) and data/
// (settings), and the lock of the file dialogs' memory, which a game killed
// while a dialog wrote it leaves (Qt would wait on it at the next dialog).
// A data/ that holds a catalogue is left to the catalogue's recovery, which
// sweeps these leftovers with its own behind the title at every start:
// listing thousands of pictures here would hold up the window's first
// paint. Called once the folder is this game's, so no write of another game
// is under way there.
void sweepWriteLeftovers(const QString& appDir) {
    sweepAtomicWriteLeftovers(withoutSlash(appDir));
    const auto sweepFolder = [&](const QString& folder) {
        try {
            sweepAtomicWriteLeftovers(withoutSlash(resolveAppPath(appDir, folder)));
        } catch (const AppError&) {
        }
    };
    sweepFolder(QStringLiteral("Library"));
    if (!hasCatalogue(appDir)) sweepFolder(QStringLiteral("data"));
    const QString dialogLock = dialogMemoryFolder(appDir) + QStringLiteral("/QtProject.conf.lock");
    if (QFileInfo(dialogLock).isFile() && !isLockFileHeld(dialogLock)) QFile::remove(dialogLock);
}

}  // namespace

AppHomeSetting appHomeSettingOf(const QString& executablePath) {
    AppHomeSetting s;
    s.executablePath = executablePath;
    s.homeOverride = qEnvironmentVariable("POMURINA_HOME");
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!dataHome.isEmpty()) s.userDataFolder = dataHome + QStringLiteral("/pomurina");
    s.isWritable = [](const QString& folder) { return ::access(QFile::encodeName(folder).constData(), W_OK) == 0; };
    return s;
}

QString installedCopyOf(const QString& executablePath) {
    const QString exeDir = appDirOf(executablePath);
    const QString shared = withSlash(QDir::cleanPath(exeDir + QStringLiteral("../share/pomurina")));
    if (QFileInfo(resolveAppPath(shared, QStringLiteral("data"))).isDir()) return shared;
    // A game folder the user may only read (an older install under /opt).
    if (QFileInfo(resolveAppPath(exeDir, QStringLiteral("data"))).isDir()) return exeDir;
    return {};
}

QString seedAppHome(const QString& appDir, const QString& source) {
    clearInterruptedSeeding(appDir);
    QString firstError;
    auto note = [&](const QString& error) {
        if (firstError.isEmpty()) firstError = error;
    };
    // Each step on its own: a failure is reported and the others still run.
    for (const char* name : {"title.bmp", "logo.bmp", "作品について.txt"}) {
        try {
            const QString from = resolveAppPath(source, QString::fromUtf8(name));
            if (probePath(from) != PathKind::Absent) note(copyIfMissing(from, resolveAppPath(appDir, QString::fromUtf8(name))));
        } catch (const AppError& e) {
            note(e.message());
        }
    }
    try {
        const QString sourceData = resolveAppPath(source, QStringLiteral("data"));
        const QString targetData = resolveAppPath(appDir, QStringLiteral("data"));
        if (probePath(sourceData) == PathKind::Folder) {
            const PathKind target = probePath(targetData);
            if (target == PathKind::Absent)
                note(seedNewDataFolder(appDir, sourceData, targetData));
            else if (target != PathKind::Folder)
                note(fileCreateErrorText(targetData));  // a file stands where the folder belongs
            else if (!hasSettingsFile(targetData))
                note(completeDataFolder(sourceData, targetData));
        }
    } catch (const AppError& e) {
        note(e.message());
    }
    return firstError;
}

QString alreadyRunningText() { return QStringLiteral("ポムリナはすでに起動しています。"); }

QString readOnlyGameFolderText(const QString& gameFolder, const QString& folder) {
    return QStringLiteral("フォルダー %1 には書き込めないので、%2 で遊びます。").arg(QDir::toNativeSeparators(gameFolder), QDir::toNativeSeparators(folder));
}

AppHome openAppHome(const AppHomeSetting& setting) {
    const QString exeDir = appDirOf(setting.executablePath);
    AppHome home;
    // false when the game must not go on (the reason noted in home).
    const auto claimed = [&](const QString& folder) {
        const FolderClaim claim = setting.claimFolder ? setting.claimFolder(folder) : FolderClaim::Ours;
        home.heldByAnotherGame = claim == FolderClaim::AnotherGameRuns;
        home.leftAlone = claim == FolderClaim::LeftAlone;
        return claim == FolderClaim::Ours;
    };
    bool readOnlyGameFolder = false;
    QString folder;
    if (!setting.homeOverride.isEmpty()) {
        home.kind = AppHomeKind::Chosen;
        folder = QFileInfo(setting.homeOverride).absoluteFilePath();
    } else {
        const QString exeData = resolveAppPath(exeDir, QStringLiteral("data"));
        const bool writable = setting.isWritable && setting.isWritable(exeDir) && setting.isWritable(exeData);
        if (QFileInfo(exeData).isDir() && writable) {
            home.appDir = exeDir;
            if (claimed(exeDir)) sweepWriteLeftovers(exeDir);
            return home;
        }
        readOnlyGameFolder = QFileInfo(exeData).isDir();
        home.kind = AppHomeKind::PlayerFolder;
        folder = setting.userDataFolder;
    }
    folder = folder.isEmpty() ? QString() : withoutSlash(folder);
    home.appDir = folder.isEmpty() ? exeDir : withSlash(folder);

    const QString source = installedCopyOf(setting.executablePath);
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        home.error = fileCreateErrorText(folder.isEmpty() ? QStringLiteral("pomurina") : folder);
    } else if (!claimed(folder)) {
        return home;
    } else {
        sweepWriteLeftovers(home.appDir);
        if (!source.isEmpty() && QDir(source) != QDir(folder)) home.error = seedAppHome(home.appDir, source);
    }

    // Without a catalogue of its own the game still starts, reading the
    // installed copy; what it cannot write there it reports as it goes.
    if (!source.isEmpty() && !hasCatalogue(home.appDir) && hasCatalogue(source)) {
        home.kind = AppHomeKind::InstalledCopy;
        home.appDir = source;
    }
    if (readOnlyGameFolder && QDir(home.appDir) != QDir(exeDir))
        home.notice = readOnlyGameFolderText(withoutSlash(exeDir), withoutSlash(home.appDir));
    return home;
}

std::optional<QString> startAppHome(const AppHomeSetting& setting, UserDialogs& dialogs) {
    AppHome home;
    try {
        home = openAppHome(setting);
    } catch (const AppError& error) {
        // A folder that cannot even be looked at: say so, and let the game
        // start beside the executable with what it can read there.
        home.appDir = appDirOf(setting.executablePath);
        home.error = error.message();
        const FolderClaim claim = setting.claimFolder ? setting.claimFolder(home.appDir) : FolderClaim::Ours;
        home.heldByAnotherGame = claim == FolderClaim::AnotherGameRuns;
        home.leftAlone = claim == FolderClaim::LeftAlone;
    }
    if (home.leftAlone) return std::nullopt;
    if (home.heldByAnotherGame) {
        dialogs.notice(alreadyRunningText());
        return std::nullopt;
    }
    if (!home.notice.isEmpty()) dialogs.notice(home.notice);
    if (!home.error.isEmpty()) dialogs.showError(home.error);
    return home.appDir;
}
