// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/catalogue_pictures.h"

#include "catalogue/catalogue_files.h"
#include "catalogue/catalogue_journal.h"
#include "files/app_error.h"
#include "files/file_reading.h"
#include "pictures/jpeg_codec.h"
#include "pictures/picture_bytes.h"
#include "pictures/picture_limits.h"

#include <jerror.h>

CataloguePictures::CataloguePictures(const QString& appDir)
    : appDir_(appDir), folder_(catalogueFolder(appDir) + QLatin1Char('/')) {}

template <typename Decode>
QImage CataloguePictures::decode(int face, int kind, Decode decode) const {
    const qint64 byteLimit = pictureFileByteLimit(kCataloguePictureMaxPixels);
    QString path = folder_ + facePictureName(face, kind);
    PictureBytes file = readPictureBytes(path, byteLimit);
    if (file.status == PictureBytes::Missing) {
        // Perhaps there under another letter case.
        const QString spelled = facePicturePath(appDir_, face, kind);
        if (spelled != path) file = readPictureBytes(spelled, byteLimit);
        path = spelled;
    }
    if (file.status == PictureBytes::TooLarge) throwJpegError(JERR_IMAGE_TOO_BIG);
    if (file.status != PictureBytes::Read) throwFileOpenError(path);
    return decode(file.bytes);
}

QImage CataloguePictures::read(int face, int kind) const {
    return decode(face, kind, [](const QByteArray& bytes) { return decodeJpegData(bytes, kCataloguePictureMaxPixels); });
}

QImage CataloguePictures::readFitted(int face, int kind, QSize box, QSize* fullSize) const {
    return decode(face, kind, [&](const QByteArray& bytes) {
        return decodeJpegFitted(bytes, box, fullSize, kCataloguePictureMaxPixels);
    });
}

void CataloguePictures::readAhead(int face, int kind) const { ::readAhead(folder_ + facePictureName(face, kind)); }
