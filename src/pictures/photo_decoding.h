// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A photograph as a viewer shows it, from whatever a phone, a camera, a
// browser or a chat makes: JPEG, HEIC / HEIF, AVIF, PNG, WebP, GIF (its first
// frame) or a Windows bitmap, the kind told from the content. Every decoder
// keeps the same caps, checked before it decodes: the bytes (as many as a
// picture of maxPixels can need), the pixels the header declares (maxPixels)
// and the memory of such a picture.
#include "pictures/picture_format.h"

#include <QByteArrayView>
#include <QImage>
#include <QString>
#include <stdexcept>

// Data that is no picture the program knows (format Unknown), or a picture
// of that kind that cannot be read: damaged, cut short or beyond the caps.
class UnreadablePicture : public std::runtime_error {
public:
    explicit UnreadablePicture(PictureFormat f) : std::runtime_error("unreadable picture"), format(f) {}
    PictureFormat format;
};

struct DecodedPhoto {
    QImage picture;
    PictureFormat format = PictureFormat::Unknown;
};

// The photograph in data as QImage::Format_RGB32: upright (a JPEG's Exif
// orientation applied; HEIF's own rotation and mirroring, by libheif), in
// sRGB (a colour profile, such as a phone's Display P3, converted),
// transparency flattened on white, and no larger than its use needs: a JPEG
// at the smallest DCT scale whose long side is at least longSide, any other
// kind made smaller by the largest whole factor that keeps its long side at
// least longSide. Throws the program's "JPEG エラー #n" (AppError) for a JPEG
// libjpeg cannot decode or that is beyond the caps, UnreadablePicture for
// everything else that cannot be read.
DecodedPhoto decodePhoto(QByteArrayView data, int longSide, qint64 maxPixels);

// The photograph in a file, decoded as decodePhoto. A file that cannot be
// opened or read throws "ファイル %s は開けません" (AppError); one of more
// bytes than the caps allow is refused before it is read, as decodePhoto
// refuses such data.
DecodedPhoto decodePhotoFile(const QString& path, int longSide, qint64 maxPixels);

// A picture another program handed over already decoded (the clipboard),
// made ready the same way: RGB32, sRGB, opaque on white, reduced. Throws
// UnreadablePicture (Unknown) when it is empty or beyond maxPixels.
QImage preparedPhoto(const QImage& picture, int longSide, qint64 maxPixels);
