// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The library of saved faces: Library/<name>.jpg beside the executable.
#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <vector>

struct LibraryListing {
    QStringList names;    // entry names without ".jpg", in listing order
    bool anyEntry = false;  // anything matched "*.jpg", folders included
};
// Lists Library/*.jpg (case-insensitive folder lookup). A missing folder
// lists nothing. A plain folder named x.jpg is not listed but counts as an entry.
LibraryListing listLibrary(const QString& appDir);

// Asked before a save replaces a picture of the library.
inline const QString kLibraryOverwriteQuestion = QStringLiteral("別の顔が同じ名前で保存されています。\r上書きしますか？");

// The Library folder path (resolved without regard to case).
QString libraryFolder(const QString& appDir);

// The file of the listed saved face name: Library/<name>.jpg, the extension
// in whatever letter case the listing found it.
QString savedFacePath(const QString& appDir, const QString& name);

// Library/<name>.jpg. Throws "ファイル %s を作成できません" (with this path) for a
// name that would leave the folder or that no file system takes: empty,
// containing "/" or "\", a control character, or longer than 255 bytes in
// UTF-8 with the extension. "." and ".." name Library/..jpg and Library/...jpg.
QString librarySavePath(const QString& appDir, const QString& name);

// The composed face: the face picture with each part picture drawn stretched
// proportional into its square at its place relative to the face, clipped.
struct PlacedPart {
    QImage picture;
    QPoint topLeft;  // relative to the face picture's corner
    int side = 0;    // the part image's square side
};
// parts in drawing order (the last drawn on top).
QImage composeSavedFace(const QImage& face, const std::vector<PlacedPart>& parts);

// Creates Library when missing and writes the JPEG atomically (q90 baseline).
// Throws "ファイル %s を作成できません".
void saveLibraryPicture(const QString& path, const QImage& picture);
