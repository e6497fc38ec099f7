// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/photo_decoding.h"

#include "files/app_error.h"
#include "pictures/bitmap_codec.h"
#include "pictures/heif_codec.h"
#include "pictures/image_reader_codec.h"
#include "pictures/jpeg_codec.h"
#include "pictures/picture_bytes.h"

#include <QColorSpace>
#include <QColorTransform>
#include <QPainter>

#include <jerror.h>

namespace {

// The largest whole factor that keeps the long side at least longSide,
// averaging the pixels it merges.
QImage reduced(const QImage& picture, int longSide) {
    const int factor = std::max(picture.width(), picture.height()) / std::max(longSide, 1);
    if (factor < 2) return picture;
    // A sliver keeps a pixel of its short side.
    return picture.scaled(std::max(picture.width() / factor, 1), std::max(picture.height() / factor, 1),
                          Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// RGB32, whatever the decoder gave; what is see-through shows white.
QImage opaqueOnWhite(const QImage& picture) {
    if (!picture.hasAlphaChannel()) return picture.convertToFormat(QImage::Format_RGB32);
    QImage opaque(picture.size(), QImage::Format_RGB32);
    if (opaque.isNull()) throw std::bad_alloc();
    opaque.fill(Qt::white);
    {
        QPainter painter(&opaque);
        painter.drawImage(0, 0, picture);
    }
    opaque.setColorSpace(picture.colorSpace());
    return opaque;
}

// The colours in sRGB, what the window shows and the catalogue keeps. A
// picture without a colour space, or with one Qt cannot convert from, is
// taken as sRGB already.
void convertToSrgb(QImage& picture) {
    const QColorSpace space = picture.colorSpace();
    // In place (Qt spreads a large picture over its threads).
    if (space.isValid() && space != QColorSpace(QColorSpace::SRgb))
        picture.applyColorTransform(space.transformationToColorSpace(QColorSpace::SRgb));
    picture.setColorSpace(QColorSpace());
}

QImage finished(const QImage& decoded, int longSide) {
    QImage picture = opaqueOnWhite(reduced(decoded, longSide));
    convertToSrgb(picture);
    return picture;
}

}  // namespace

DecodedPhoto decodePhoto(QByteArrayView data, int longSide, qint64 maxPixels) {
    DecodedPhoto photo;
    photo.format = pictureFormatOf(data.first(std::min<qsizetype>(data.size(), kPictureFormatHeadBytes)));
    const bool tooManyBytes = data.size() > pictureFileByteLimit(maxPixels);
    switch (photo.format) {
    case PictureFormat::Jpeg: {
        if (tooManyBytes) throwJpegError(JERR_IMAGE_TOO_BIG);
        photo.picture = decodeJpegPhoto(data, longSide, maxPixels);
        return photo;
    }
    case PictureFormat::Unknown: throw UnreadablePicture(photo.format);
    default: break;
    }
    if (tooManyBytes) throw UnreadablePicture(photo.format);
    QImage decoded;
    if (photo.format == PictureFormat::Bitmap)
        decoded = decodeBitmapData(data, maxPixels);
    else if (photo.format == PictureFormat::Heif || photo.format == PictureFormat::Avif)
        decoded = decodeHeifData(data, maxPixels);
    else
        decoded = decodeWithImageReader(data, photo.format, maxPixels);
    if (decoded.isNull()) throw UnreadablePicture(photo.format);
    photo.picture = finished(decoded, longSide);
    return photo;
}

DecodedPhoto decodePhotoFile(const QString& path, int longSide, qint64 maxPixels) {
    const PictureBytes file = readPictureBytes(path, pictureFileByteLimit(maxPixels));
    if (file.status == PictureBytes::TooLarge) {
        // Refused as the same bytes in memory would be, without reading them all.
        const PictureBytes head = readPictureHead(path, kPictureFormatHeadBytes);
        const PictureFormat format = pictureFormatOf(head.bytes);
        if (format == PictureFormat::Jpeg) throwJpegError(JERR_IMAGE_TOO_BIG);
        throw UnreadablePicture(format);
    }
    if (file.status != PictureBytes::Read) throwFileOpenError(path);
    return decodePhoto(file.bytes, longSide, maxPixels);
}

QImage preparedPhoto(const QImage& picture, int longSide, qint64 maxPixels) {
    if (picture.isNull() || qint64(picture.width()) * picture.height() > maxPixels)
        throw UnreadablePicture(PictureFormat::Unknown);
    return finished(picture, longSide);
}
