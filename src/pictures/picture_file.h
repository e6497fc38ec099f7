// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Loading a picture file with the decoder chosen by its extension: ".jpg" and
// ".jpeg" through libjpeg, ".bmp" through the program's bitmap decoder. A
// picture of more than maxPixels pixels (see picture_limits.h for each kind)
// is refused from its header, before it is decoded.
#include "pictures/picture_limits.h"

#include <QImage>
#include <QString>

QImage loadPictureFile(const QString& path, qint64 maxPixels = kMaxPicturePixels);
// A Windows bitmap; throws "ファイル %s は開けません" when it cannot be read,
// is not a consistent bitmap or is larger than maxPixels.
QImage loadBitmapFile(const QString& path, qint64 maxPixels = kMaxPicturePixels);
