// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/library.h"

#include "files/app_error.h"
#include "files/app_paths.h"
#include "pictures/jpeg_codec.h"
#include "pictures/stretch.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr qsizetype kMaxFileNameBytes = 255;
const QString kExtension = QStringLiteral(".jpg");

// A name that would reach outside the library folder, or that no file
// system stores under the name the player typed. "." and ".." are ordinary
// names here: with the extension they are "..jpg" and "...jpg".
bool unusableName(const QString& name) {
    if (name.isEmpty()) return true;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c == QLatin1Char('/') || c == QLatin1Char('\\')) return true;
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) return true;
        // An unpaired surrogate has no UTF-8 form and would be mangled.
        if (c.isHighSurrogate()) {
            if (i + 1 >= name.size() || !name.at(i + 1).isLowSurrogate()) return true;
            ++i;
        } else if (c.isLowSurrogate()) {
            return true;
        }
    }
    return (name + kExtension).toUtf8().size() > kMaxFileNameBytes;
}

}  // namespace

QString libraryFolder(const QString& appDir) {
    return resolveAppPath(appDir, QStringLiteral("Library"));
}

LibraryListing listLibrary(const QString& appDir) {
    LibraryListing listing;
    const QString folder = libraryFolder(appDir);
    if (!QFileInfo(folder).isDir()) return listing;
    QDir dir(folder);
    // Hidden and system entries count too; the pattern ignores letter case
    // as the program's file names do; directory order, unsorted.
    const QFileInfoList entries = dir.entryInfoList(
        QStringList{QStringLiteral("*.jpg")},
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QFileInfo& entry : entries) {
        listing.anyEntry = true;
        if (entry.isDir()) continue;
        listing.names.append(entry.fileName().chopped(kExtension.size()));
    }
    return listing;
}

QString savedFacePath(const QString& appDir, const QString& name) {
    const QString folder = libraryFolder(appDir);
    const QString fileName = name + kExtension;
    const QString exact = folder + QLatin1Char('/') + fileName;
    if (QFileInfo::exists(exact)) return exact;
    for (const QString& entry : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (entry.size() == fileName.size() && entry.startsWith(name) &&
            entry.compare(fileName, Qt::CaseInsensitive) == 0)
            return folder + QLatin1Char('/') + entry;
    return exact;
}

QString librarySavePath(const QString& appDir, const QString& name) {
    const QString target = libraryFolder(appDir) + QLatin1Char('/') + name + kExtension;
    if (unusableName(name)) throwFileCreateError(target);
    return resolveAppPath(appDir, QStringLiteral("Library/") + name + kExtension);
}

QImage composeSavedFace(const QImage& face, const std::vector<PlacedPart>& parts) {
    QImage composed = face.convertToFormat(QImage::Format_RGB32);
    for (const PlacedPart& part : parts) {
        if (part.picture.isNull() || part.side <= 0) continue;
        const QSize drawn = proportionalSize(part.picture.size(), QSize(part.side, part.side));
        stretchDraw(composed, QRect(part.topLeft, drawn), part.picture);
    }
    return composed;
}

void saveLibraryPicture(const QString& path, const QImage& picture) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) throwFileCreateError(path);
    writeJpegFile(path, picture);
}
