// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a picture file whole, with a bound on its size so that a huge or
// endless file (a device, a pipe) is refused instead of read into memory.
#include <QByteArray>
#include <QString>

struct PictureBytes {
    enum Status { Read, Missing, CannotOpen, TooLarge };
    Status status = CannotOpen;
    QByteArray bytes;
};

// Only regular files are read: one open, one fstat and the reads, so that
// thousands of pictures cost no more than their bytes. Missing: nothing is
// there by that name (ENOENT); CannotOpen covers every other failure, also a
// read that fails or stops short of the file's size.
PictureBytes readPictureBytes(const QString& path, qint64 maxBytes);

// The first count bytes of a regular file (fewer when it is shorter), to
// tell its kind; statuses as readPictureBytes.
PictureBytes readPictureHead(const QString& path, qint64 count);

// No picture within maxPixels needs more bytes than this: up to eight a
// pixel for the pixel data, and room for headers, palettes and metadata.
qint64 pictureFileByteLimit(qint64 maxPixels);
