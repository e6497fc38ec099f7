// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// HEIC, HEIF and AVIF pictures through libheif (Debian 12: libheif1 1.15,
// HEVC through libde265, AV1 through dav1d or libaom).
#include <QByteArrayView>
#include <QImage>

// The file's primary picture as libheif shows it: the container's own
// rotation, mirroring and cropping applied once, by libheif (an Exif
// orientation stored beside it describes the same turn and is not applied
// again). High bit depths come as 8 bits a channel; the picture is
// QImage::Format_RGB888, or Format_RGBA8888 when it has transparency, and
// carries the colour space of its ICC or nclx profile (none when it has
// none). Its size, with and without the transformations, is checked against
// maxPixels before anything is decoded. Null when the data is no picture
// libheif can read whole, or a larger one.
QImage decodeHeifData(QByteArrayView data, qint64 maxPixels);
