// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The orientation a camera records beside a picture it stores sideways or
// mirrored (Exif tag 0x0112, values 1 to 8), and the picture turned the way
// a viewer shows it.
#include <QByteArrayView>
#include <QImage>

// The orientation in the Exif payload of a JPEG's APP1 marker (the bytes
// after the marker's length, beginning "Exif\0\0"): its first image file
// directory's tag 0x0112. 1 (as stored) when there is none, it is not 1..8,
// or the payload does not hold it whole.
int exifOrientation(QByteArrayView app1);

// stored as a viewer shows it for orientation, as QImage::Format_RGB32: 2
// mirrored left to right, 3 turned half round, 4 mirrored top to bottom, 5
// mirrored along the diagonal from the top-left, 6 turned a quarter
// clockwise, 7 mirrored along the other diagonal, 8 turned a quarter
// anticlockwise; anything else as it is.
QImage orientedPicture(const QImage& stored, int orientation);

// The size of a picture of size stored once turned for orientation.
QSize orientedSize(QSize stored, int orientation);
// Puts rows (RGB32, rows firstRow.. of a picture of size stored) where
// orientedPicture puts them in upright (RGB32, orientedSize(stored)): a
// decoder places a band of rows while it is in the cache.
void placeOriented(const QImage& rows, int firstRow, QSize stored, int orientation, QImage& upright);
