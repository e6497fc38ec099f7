// SPDX-License-Identifier: GPL-3.0-or-later
// Names of the catalogue files, resolved without regard to letter case.
#include "catalogue/catalogue_files.h"

#include "catalogue/catalogue_change_steps.h"
#include "files/app_paths.h"
#include "files/file_reading.h"
#include "files/watched_folder.h"

#include <QFile>
#include <algorithm>

QString facePicturePath(const QString& appDir, int face, int kind) {
    return resolveAppPath(appDir, QStringLiteral("data\\face%1_%2.jpg").arg(face).arg(kind));
}

QString faceDataPath(const QString& appDir) {
    return resolveAppPath(appDir, QStringLiteral("data\\FaceData.ini"));
}

QString catalogueFolder(const QString& appDir) {
    QString folder = resolveAppPath(appDir, QStringLiteral("data"));
    while (folder.endsWith(QLatin1Char('/'))) folder.chop(1);
    return folder;
}

QString settingsFilePath(const QString& appDir, const QString& name) {
    const QString folder = catalogueFolder(appDir);
    const QString exact = folder + QLatin1Char('/') + name;
    if (probePath(exact) != PathKind::Absent || probePath(folder) != PathKind::Folder) return exact;
    // The watch keeps every spelling of a name none of whose spellings is a
    // picture's (those are spelled in lower case alone).
    if (isFacePictureName(QFile::encodeName(name.toLower()).constData())) return resolveAppPath(appDir, QStringLiteral("data/") + name);
    const std::optional<QStringList> names = watchedEntries(folder, otherThanAPicture);
    // As resolveAppPath matches: an ASCII name only by ASCII letters in
    // another case, the first such entry in code-point order.
    const bool ascii = std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() < 0x80; });
    QString best;
    for (const QString& entry : names.value_or(QStringList())) {
        if (entry.compare(name, Qt::CaseInsensitive) != 0) continue;
        if (ascii && !std::all_of(entry.cbegin(), entry.cend(), [](QChar c) { return c.unicode() < 0x80; })) continue;
        if (best.isEmpty() || entry < best) best = entry;
    }
    return best.isEmpty() ? exact : folder + QLatin1Char('/') + best;
}
