// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/picture_file.h"

#include "files/app_error.h"
#include "pictures/bitmap_codec.h"
#include "pictures/jpeg_codec.h"
#include "pictures/picture_bytes.h"

#include <QFileInfo>

QImage loadPictureFile(const QString& path, qint64 maxPixels) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return decodeJpegFile(path, maxPixels);
    if (suffix == QLatin1String("bmp")) return loadBitmapFile(path, maxPixels);
    throwFileOpenError(path);
}

QImage loadBitmapFile(const QString& path, qint64 maxPixels) {
    const PictureBytes file = readPictureBytes(path, pictureFileByteLimit(maxPixels));
    if (file.status != PictureBytes::Read) throwFileOpenError(path);
    const QImage image = decodeBitmapData(file.bytes, maxPixels);
    if (image.isNull()) throwFileOpenError(path);
    return image;
}
