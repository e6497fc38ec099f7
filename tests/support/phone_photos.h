// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Photographs as phones, cameras, browsers and chats write them, made here
// with the real writers (libjpeg, Qt's image writers, libheif's HEVC and AV1
// encoders) rather than taken from anywhere.
#include <QByteArray>
#include <QColorSpace>
#include <QImage>
#include <QString>

// Four quarters of four colours, far apart after any lossy coding: red
// top-left, green top-right, blue bottom-left, yellow bottom-right.
namespace Quarter {
constexpr QRgb TopLeft = 0xffe01010, TopRight = 0xff10c010, BottomLeft = 0xff1010e0, BottomRight = 0xffe0e010;
}
QImage quarteredPicture(int width, int height);
// The colour of the quarter whose corner is nearest (x, y), within coding noise; 0 for none.
QRgb quarterAt(const QImage& picture, int x, int y);

// The Exif APP1 payload ("Exif\0\0" and a TIFF structure in either byte
// order) whose first directory holds the orientation tag after another tag.
QByteArray exifWithOrientation(int orientation, bool bigEndian = false);
// A JPEG of picture with an Exif APP1 marker for orientation (none for 0)
// and, when given, an ICC profile in APP2 markers.
QByteArray phoneJpeg(const QImage& picture, int orientation, const QByteArray& iccProfile = {});

// HEIC (HEVC) or AVIF (AV1) of stored, with the container's rotation and
// mirroring for orientation (as a phone writes a portrait), an Exif block
// beside it naming the same orientation, and the colour profile of space
// when valid (an ICC profile, as iPhones write; Display P3 as an nclx
// profile, as other phones write, with nclxP3). Empty when libheif has no
// encoder for it.
enum class HeifCoding { Hevc, Av1 };
QByteArray heifPicture(const QImage& stored, HeifCoding coding, int orientation = 1,
                       const QColorSpace& space = QColorSpace(), bool alpha = false, bool nclxP3 = false);

// Written by Qt's writer of format ("png", "webp"); the picture's colour
// space, when it has one, goes with it.
QByteArray qtWrittenPicture(const QImage& picture, const char* format, int quality = -1);
// A GIF of at most seven colours (the picture's, in order of appearance), its
// first frame the picture, then a second frame of another colour; the colour
// seeThrough (when not 0) is its transparent one.
QByteArray gifPicture(const QImage& picture, QRgb seeThrough = 0);
