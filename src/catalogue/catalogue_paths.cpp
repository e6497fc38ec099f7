// SPDX-License-Identifier: GPL-3.0-or-later
// Names of the catalogue files, resolved without regard to letter case.
#include "catalogue/catalogue_files.h"

#include "files/app_paths.h"

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
