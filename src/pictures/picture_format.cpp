// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/picture_format.h"

#include <QtEndian>
#include <algorithm>

namespace {

bool startsWith(QByteArrayView data, QByteArrayView prefix) { return data.startsWith(prefix); }

// The brands of an ISO base media file: the major brand and the compatible
// ones of a leading "ftyp" box, as far as head holds them.
PictureFormat isoMediaFormat(QByteArrayView head) {
    if (head.size() < 12 || head.sliced(4, 4) != QByteArrayView("ftyp")) return PictureFormat::Unknown;
    const quint32 boxSize = qFromBigEndian<quint32>(head.data());
    if (boxSize < 16 && boxSize != 0) return PictureFormat::Unknown;
    const qsizetype end = std::min<qsizetype>(head.size(), boxSize == 0 ? head.size() : qsizetype(boxSize));
    bool heif = false;
    for (qsizetype at = 8; at + 4 <= end; at += 4) {
        if (at == 12) continue;  // the minor version, no brand
        const QByteArrayView brand = head.sliced(at, 4);
        if (brand == QByteArrayView("avif") || brand == QByteArrayView("avis")) return PictureFormat::Avif;
        for (const char* known : {"heic", "heix", "heim", "heis", "hevc", "hevx", "hevm", "hevs", "mif1", "msf1"})
            if (brand == QByteArrayView(known)) heif = true;
    }
    return heif ? PictureFormat::Heif : PictureFormat::Unknown;
}

}  // namespace

PictureFormat pictureFormatOf(QByteArrayView head) {
    if (startsWith(head, "\xff\xd8\xff")) return PictureFormat::Jpeg;
    if (startsWith(head, "\x89PNG\r\n\x1a\n")) return PictureFormat::Png;
    if (startsWith(head, "GIF87a") || startsWith(head, "GIF89a")) return PictureFormat::Gif;
    if (head.size() >= 12 && startsWith(head, "RIFF") && head.sliced(8, 4) == QByteArrayView("WEBP"))
        return PictureFormat::WebP;
    if (startsWith(head, "BM")) return PictureFormat::Bitmap;
    return isoMediaFormat(head);
}
