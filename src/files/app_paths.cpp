// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/app_paths.h"

#include "files/app_error.h"
#include "files/file_reading.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <strings.h>

namespace {

// The program's own file and folder names: spelled this way when created, and
// looked up in this spelling first whatever the caller wrote.
const QStringList& canonicalNames() {
    static const QStringList names = {QStringLiteral("data"), QStringLiteral("FaceData.ini"),
                                      QStringLiteral("Library"), QStringLiteral("BGM.ini")};
    return names;
}

QString canonicalSpelling(const QString& component) {
    for (const QString& name : canonicalNames())
        if (component.compare(name, Qt::CaseInsensitive) == 0) return name;
    return component;
}

// The entry of folder that matches component without regard to case; empty
// when there is none. The exact spelling is tried with one stat, so the usual
// case never lists the folder (a catalogue folder holds thousands of pictures
// and is looked up once for each of them).
QString matchEntry(const QString& folder, const QString& component) {
    const QString dir = folder.isEmpty() ? QStringLiteral("./") : folder;
    if (probePath(dir + component) != PathKind::Absent) return component;
    const QByteArray wanted = QFile::encodeName(component);
    const bool ascii = std::all_of(component.cbegin(), component.cend(), [](QChar c) { return c.unicode() < 128; });
    QString best;
    listFolder(dir, [&](const char* name) {
        if (ascii && ::strcasecmp(name, wanted.constData()) != 0) return;
        const QString decoded = QFile::decodeName(name);
        if (decoded.compare(component, Qt::CaseInsensitive) != 0) return;
        if (best.isEmpty() || decoded < best) best = decoded;
    });
    return best;
}

}  // namespace

QString appDirOf(const QString& executablePath) {
    QString dir = QDir::cleanPath(QFileInfo(executablePath).absolutePath());
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    return dir;
}

QString resolveAppPath(const QString& appDir, const QString& relative) {
    QString path = appDir;
    if (!path.isEmpty() && !path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
    // Split by hand: pictures are looked up from several threads at once.
    QStringList components;
    for (const QString& part : relative.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        components << part.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    bool parentExists = probePath(path.isEmpty() ? QStringLiteral(".") : path) == PathKind::Folder;
    for (qsizetype i = 0; i < components.size(); ++i) {
        const QString component = canonicalSpelling(components[i]);
        QString spelled;
        if (component == QLatin1String(".") || component == QLatin1String("..")) {
            spelled = component;
        } else if (parentExists) {
            spelled = matchEntry(path, component);
            if (spelled.isEmpty()) parentExists = false;
        }
        if (spelled.isEmpty()) spelled = component;
        path += spelled;
        if (i + 1 < components.size()) {
            // Probed before the "/" is added: a file here is simply no folder.
            if (parentExists) parentExists = probePath(path) == PathKind::Folder;
            path += QLatin1Char('/');
        }
    }
    const bool trailingSeparator = !relative.isEmpty() &&
                                   (relative.endsWith(QLatin1Char('/')) || relative.endsWith(QLatin1Char('\\')));
    if (trailingSeparator && !components.isEmpty()) path += QLatin1Char('/');
    return path;
}

QString dialogMemoryFolder(const QString& appDir) {
    try {
        return resolveAppPath(appDir, QStringLiteral("Data"));
    } catch (const AppError&) {
        return appDir;
    }
}

FolderEntryNames::FolderEntryNames(QString folder, std::optional<QStringList> entries) : folder_(std::move(folder)) {
    if (!folder_.isEmpty() && !folder_.endsWith(QLatin1Char('/'))) folder_ += QLatin1Char('/');
    if (entries) index(*entries);
}

void FolderEntryNames::index(QStringList entries) {
    listed_ = true;
    entries_ = std::move(entries);
}

bool FolderEntryNames::listedAsItIs(const QString& name) {
    // A few lookups (a registration's seven) pass over the entries; many
    // (a deletion's thousands) pay once for a set of them.
    constexpr int kLookupsBeforeASet = 16;
    if (++lookups_ <= kLookupsBeforeASet) return entries_.contains(name);
    if (exact_.isEmpty() && !entries_.isEmpty()) exact_ = QSet<QString>(entries_.cbegin(), entries_.cend());
    return exact_.contains(name);
}

QString FolderEntryNames::spelled(const QString& wanted) {
    const QString name = canonicalSpelling(wanted);
    if (!listed_) {
        // The usual case, a name spelled as it is on disk, costs one stat.
        if (probePath(folder_ + name) != PathKind::Absent) return name;
        QStringList entries;
        listFolder(folder_.isEmpty() ? QStringLiteral("./") : folder_,
                   [&](const char* entry) { entries << QFile::decodeName(entry); });
        index(entries);
    }
    if (listedAsItIs(name)) return name;
    // Another spelling: rare, so a plain pass over the entries (a match has
    // the same length; case-insensitive comparison folds character by
    // character).
    QString best;
    for (const QString& entry : entries_)
        if (entry.size() == name.size() && entry.compare(name, Qt::CaseInsensitive) == 0 && (best.isEmpty() || entry < best))
            best = entry;
    return best.isEmpty() ? name : best;
}
