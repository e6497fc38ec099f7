// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// JPEG through the IJG libjpeg API. Errors never end the process: a file that
// cannot be opened throws "ファイル %s は開けません", data that libjpeg cannot
// decode (or that ends early) throws "JPEG エラー #n" with libjpeg's message code:
// JWRN_JPEG_EOF when the file ends early, JWRN_HIT_MARKER when the picture data
// stops before the last block, JERR_IMAGE_TOO_BIG for a picture of more than
// maxPixels pixels (checked from the header, before decoding), a file too large
// for any such picture, or data that would make libjpeg itself take more memory
// or scans than such a picture needs.
#include "pictures/picture_limits.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>

// Decodes to QImage::Format_RGB32.
QImage decodeJpegFile(const QString& path, qint64 maxPixels = kMaxPicturePixels);
QImage decodeJpegData(QByteArrayView data, qint64 maxPixels = kMaxPicturePixels);
// The picture at the size it is drawn in box with its aspect kept
// (proportionalSize), for a thumbnail: libjpeg decodes it at the smallest
// DCT scale (n/8) at least that large, a fraction of the full work, and the
// rest is a nearest-neighbour stretch. *fullSize gets the picture's own size.
// Errors and limits as decodeJpegData.
QImage decodeJpegFitted(QByteArrayView data, QSize box, QSize* fullSize, qint64 maxPixels = kMaxPicturePixels);
// The picture made no larger than its use needs: libjpeg decodes it at the
// smallest DCT scale n/8 whose long side is at least longSide (in full when
// the picture is no larger). *fullSize gets the picture's own size. Errors
// and limits as decodeJpegData.
QImage decodeJpegReduced(QByteArrayView data, int longSide, QSize* fullSize,
                         qint64 maxPixels = kMaxPicturePixels);

// A photograph from a camera or a phone, decoded as decodeJpegReduced and
// shown as a viewer shows it: turned for the Exif orientation of its first
// Exif APP1 marker (see orientation.h) and converted to sRGB from the ICC
// profile its APP2 markers carry (a profile whose pieces do not add up, or
// that Qt cannot read, is taken as sRGB), a band of rows at a time behind
// the decoder (upright_bands.h).
QImage decodeJpegPhoto(QByteArrayView data, int longSide, qint64 maxPixels = kMaxPicturePixels);

// Baseline, 24-bit colour, quality 90.
QByteArray encodeJpeg(const QImage& image, int quality = 90);
// Encodes and writes atomically; throws "ファイル %s を作成できません".
void writeJpegFile(const QString& path, const QImage& image);
