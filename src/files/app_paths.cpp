// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/app_paths.h"

#include "files/app_error.h"
#include "files/file_reading.h"
#include "files/watched_folder.h"

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
    const auto consider = [&](const char* name, const QString& decoded) {
        if (ascii && ::strcasecmp(name, wanted.constData()) != 0) return;
        if (decoded.compare(component, Qt::CaseInsensitive) != 0) return;
        if (best.isEmpty() || decoded < best) best = decoded;
    };
    // A watched folder (the data folder, from the start's sweep on) answers
    // from the names its watch keeps: settings files that are not there yet
    // are looked up without listing its thousands of pictures.
    if (const std::optional<QStringList> spellings = watchedSpellings(dir, component)) {
        for (const QString& spelling : *spellings) consider(QFile::encodeName(spelling).constData(), spelling);
        return best;
    }
    listFolder(dir, [&](const char* name) { consider(name, QFile::decodeName(name)); });
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

QString playSettingsPath(const QString& appDir) { return resolveAppPath(appDir, QStringLiteral("Data\\Play.ini")); }
