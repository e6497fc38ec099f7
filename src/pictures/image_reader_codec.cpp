// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/image_reader_codec.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>
#include <algorithm>

namespace {

const char* readerName(PictureFormat format) {
    switch (format) {
    case PictureFormat::Png: return "png";
    case PictureFormat::Gif: return "gif";
    case PictureFormat::WebP: return "webp";
    default: return nullptr;
    }
}

// Qt's GIF reader shows a file cut short as far as it goes; a GIF is whole
// only when it ends with its trailer.
bool endsWhole(QByteArrayView data, PictureFormat format) {
    return format != PictureFormat::Gif || data.endsWith(QByteArrayView(";"));
}

}  // namespace

QImage decodeWithImageReader(QByteArrayView data, PictureFormat format, qint64 maxPixels) {
    const char* name = readerName(format);
    if (!name || !endsWhole(data, format)) return {};
    QByteArray bytes = QByteArray::fromRawData(data.data(), data.size());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, name);
    reader.setAutoDetectImageFormat(false);
    // Up to 8 bytes a pixel (16-bit channels with alpha), in whole MiB.
    reader.setAllocationLimit(int(std::min<qint64>((maxPixels * 8 >> 20) + 1, 1 << 30)));
    const QSize size = reader.size();
    if (size.isEmpty() || qint64(size.width()) * size.height() > maxPixels) return {};
    QImage picture;
    if (!reader.read(&picture) || picture.isNull()) return {};
    if (qint64(picture.width()) * picture.height() > maxPixels) return {};
    return picture;
}
