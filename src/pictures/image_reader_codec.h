// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// PNG, GIF and WebP through Qt's image readers (WebP's is a plugin, from
// Debian's qt6-image-formats-plugins).
#include "pictures/picture_format.h"

#include <QByteArrayView>
#include <QImage>

// The picture in data, read by the reader of format alone (the kind was
// told from the content; no other reader is tried), as the reader gives it:
// any depth and format, with the colour space of its profile. The first
// frame of an animation. The size in its header is checked against
// maxPixels before it is decoded, and Qt's allocation limit is set to what
// such a picture takes. Null when the data is no such picture, is damaged or
// cut short, or is larger.
QImage decodeWithImageReader(QByteArrayView data, PictureFormat format, qint64 maxPixels);
