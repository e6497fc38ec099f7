#include "files/app_home.h"

#include "desktop/user_dialogs.h"
#include "files/app_error.h"
#include "files/app_paths.h"
#include "files/atomic_write.h"
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

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
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
    QString dataDir;
    try {
        dataDir = resolveAppPath(appDir, QStringLiteral("data"));
    } catch (const AppError&) {
        return false;
    }
    if (!QFileInfo(dataDir).isDir()) return false;
    if (hasSettingsFileAsSpelled(dataDir)) return true;
    const QStringList files = filesIn(dataDir);
    return !spelledIn(files, QStringLiteral("FaceData.ini")).isEmpty() ||
           std::any_of(files.cbegin(), files.cend(), isFacePicture);
}

QByteArray contentsOf(const QString& path, bool* ok) {
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    return *ok ? file.readAll() : QByteArray();
}

bool sameContents(const QString& a, const QString& b) {
    bool okA = false, okB = false;
    const QByteArray bytesA = contentsOf(a, &okA);
    const QByteArray bytesB = contentsOf(b, &okB);
    return okA && okB && bytesA == bytesB;
}

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
    bool ok = false;
    const QByteArray bytes = contentsOf(source, &ok);
    if (!ok) return fileOpenErrorText(source);
    return tryWriteFileAtomically(target, bytes) ? QString() : fileCreateErrorText(target);
}

void clearInterruptedSeeding(const QString& appDir) {
    const QStringList leftovers = QDir(appDir).entryList({kSeedingPrefix + QLatin1Char('*')},
                                                         QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : leftovers) QDir(appDir + name).removeRecursively();
}

// A data folder that does not exist yet: filled aside and renamed into place,
// so it appears complete or not at all.
QString seedNewDataFolder(const QString& appDir, const QString& sourceData, const QString& targetData) {
    QTemporaryDir aside(appDir + kSeedingPrefix + QStringLiteral("XXXXXX"));
    if (!aside.isValid()) return fileCreateErrorText(withoutSlash(targetData));
    for (const QString& name : filesIn(sourceData)) {
        const QString target = aside.path() + QLatin1Char('/') + name;
        if (!QFile::copy(sourceData + QLatin1Char('/') + name, target)) return fileCreateErrorText(target);
    }
    if (!QDir().rename(aside.path(), targetData)) return fileCreateErrorText(targetData);
    aside.setAutoRemove(false);
    return {};
}

// A data folder that exists without a settings file (music settings only, or
// what an interrupted copy left): the missing files are added one by one,
// FaceData.ini last, so the catalogue counts as there only once it is whole.
QString completeDataFolder(const QString& sourceData, const QString& targetData) {
    const QStringList sourceFiles = filesIn(sourceData);
    const QStringList targetFiles = filesIn(targetData);
    for (const QString& name : targetFiles) {
        if (!isFacePicture(name)) continue;
        const QString counterpart = spelledIn(sourceFiles, name);
        // A picture of the player's own: this catalogue is theirs to keep.
        if (counterpart.isEmpty() ||
            !sameContents(targetData + QLatin1Char('/') + name, sourceData + QLatin1Char('/') + counterpart))
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
    for (const char* name : {"title.bmp", "logo.bmp", "作品について.txt"}) {
        const QString from = resolveAppPath(source, QString::fromUtf8(name));
        if (QFileInfo::exists(from)) note(copyIfMissing(from, resolveAppPath(appDir, QString::fromUtf8(name))));
    }
    const QString sourceData = resolveAppPath(source, QStringLiteral("data"));
    const QString targetData = resolveAppPath(appDir, QStringLiteral("data"));
    if (QFileInfo(sourceData).isDir()) {
        if (!QFileInfo::exists(targetData))
            note(seedNewDataFolder(appDir, sourceData, targetData));
        else if (!hasSettingsFile(targetData))
            note(completeDataFolder(sourceData, targetData));
    }
    return firstError;
}

AppHome openAppHome(const AppHomeSetting& setting) {
    const QString exeDir = appDirOf(setting.executablePath);
    AppHome home;
    QString folder;
    if (!setting.homeOverride.isEmpty()) {
        home.kind = AppHomeKind::Chosen;
        folder = QFileInfo(setting.homeOverride).absoluteFilePath();
    } else {
        const QString exeData = resolveAppPath(exeDir, QStringLiteral("data"));
        const bool writable = setting.isWritable && setting.isWritable(exeDir) && setting.isWritable(exeData);
        if (QFileInfo(exeData).isDir() && writable) {
            home.appDir = exeDir;
            return home;
        }
        home.kind = AppHomeKind::PlayerFolder;
        folder = setting.userDataFolder;
    }
    folder = folder.isEmpty() ? QString() : withoutSlash(folder);
    home.appDir = folder.isEmpty() ? exeDir : withSlash(folder);

    const QString source = installedCopyOf(setting.executablePath);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        home.error = fileCreateErrorText(folder.isEmpty() ? QStringLiteral("pomurina") : folder);
    else if (!source.isEmpty() && QDir(source) != QDir(folder))
        home.error = seedAppHome(home.appDir, source);

    // Without a catalogue of its own the game still starts, reading the
    // installed copy; what it cannot write there it reports as it goes.
    if (!source.isEmpty() && !hasCatalogue(home.appDir) && hasCatalogue(source)) {
        home.kind = AppHomeKind::InstalledCopy;
        home.appDir = source;
    }
    return home;
}

QString startAppHome(const AppHomeSetting& setting, UserDialogs& dialogs) {
    AppHome home;
    try {
        home = openAppHome(setting);
    } catch (const AppError& error) {
        // A folder that cannot even be looked at: say so, and let the game
        // start beside the executable with what it can read there.
        home.appDir = appDirOf(setting.executablePath);
        home.error = error.message();
    }
    if (!home.error.isEmpty()) dialogs.showError(home.error);
    return home.appDir;
}
