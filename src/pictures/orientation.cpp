// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/orientation.h"

#include <QtEndian>
#include <algorithm>
#include <array>

namespace {

constexpr quint16 kOrientationTag = 0x0112;
constexpr quint16 kShort = 3;
constexpr quint16 kLong = 4;

// A TIFF structure in either byte order; every read is checked against its end.
class Tiff {
public:
    explicit Tiff(QByteArrayView data) : data_(data), littleEndian_(data.startsWith("II*\0")) {}
    bool valid() const { return littleEndian_ || data_.startsWith("MM\0*"); }
    bool has(qint64 at, qint64 count) const { return at >= 0 && at <= data_.size() && count <= data_.size() - at; }
    quint16 u16(qint64 at) const {
        return littleEndian_ ? qFromLittleEndian<quint16>(data_.data() + at) : qFromBigEndian<quint16>(data_.data() + at);
    }
    quint32 u32(qint64 at) const {
        return littleEndian_ ? qFromLittleEndian<quint32>(data_.data() + at) : qFromBigEndian<quint32>(data_.data() + at);
    }

private:
    QByteArrayView data_;
    bool littleEndian_;
};

}  // namespace

int exifOrientation(QByteArrayView app1) {
    constexpr QByteArrayView kExif("Exif\0\0", 6);
    if (!app1.startsWith(kExif)) return 1;
    const Tiff tiff(app1.sliced(kExif.size()));
    if (!tiff.valid() || !tiff.has(4, 4)) return 1;
    const qint64 directory = tiff.u32(4);
    if (!tiff.has(directory, 2)) return 1;
    const int entries = tiff.u16(directory);
    for (int i = 0; i < entries; ++i) {
        const qint64 entry = directory + 2 + 12 * qint64(i);
        if (!tiff.has(entry, 12)) return 1;
        if (tiff.u16(entry) != kOrientationTag) continue;
        const quint16 type = tiff.u16(entry + 2);
        if (tiff.u32(entry + 4) != 1) return 1;
        const quint32 value = type == kShort ? tiff.u16(entry + 8) : type == kLong ? tiff.u32(entry + 8) : 0;
        return value >= 1 && value <= 8 ? int(value) : 1;
    }
    return 1;
}

QSize orientedSize(QSize stored, int orientation) {
    return orientation >= 5 && orientation <= 8 ? stored.transposed() : stored;
}

void placeOriented(const QImage& rows, int firstRow, QSize stored, int orientation, QImage& upright) {
    const qsizetype w = stored.width(), h = stored.height();
    const qsizetype line = upright.bytesPerLine() / qsizetype(sizeof(QRgb));
    // The stored pixel (x, y) goes to out[base + x * dx + y * dy].
    qsizetype base = 0, dx = 1, dy = line;
    switch (orientation) {
    case 2: base = w - 1, dx = -1, dy = line; break;
    case 3: base = (h - 1) * line + w - 1, dx = -1, dy = -line; break;
    case 4: base = (h - 1) * line, dx = 1, dy = -line; break;
    case 5: base = 0, dx = line, dy = 1; break;
    case 6: base = h - 1, dx = line, dy = -1; break;
    case 7: base = (w - 1) * line + h - 1, dx = -line, dy = -1; break;
    case 8: base = (w - 1) * line, dx = -line, dy = 1; break;
    default: break;
    }
    QRgb* const out = reinterpret_cast<QRgb*>(upright.bits()) + base + firstRow * dy;
    const int count = rows.height();
    if (dx == 1 || dx == -1) {
        // A stored row stays a row, forwards or backwards.
        for (int r = 0; r < count; ++r) {
            const auto* in = reinterpret_cast<const QRgb*>(rows.constScanLine(r));
            QRgb* to = out + r * dy;
            if (dx == 1)
                std::copy(in, in + w, to);
            else
                for (qsizetype x = 0; x < w; ++x) to[-x] = in[x];
        }
        return;
    }
    // A stored row becomes a column. Square tiles keep both the rows read
    // and the upright rows written in the cache.
    constexpr int kTile = 16;
    std::array<const QRgb*, kTile> in{};
    for (int r0 = 0; r0 < count; r0 += kTile) {
        const int tileRows = std::min(kTile, count - r0);
        for (int r = 0; r < tileRows; ++r) in[size_t(r)] = reinterpret_cast<const QRgb*>(rows.constScanLine(r0 + r));
        for (qsizetype x0 = 0; x0 < w; x0 += kTile) {
            const qsizetype x1 = std::min<qsizetype>(x0 + kTile, w);
            for (qsizetype x = x0; x < x1; ++x) {
                QRgb* to = out + x * dx + r0 * dy;
                for (int r = 0; r < tileRows; ++r) to[r * dy] = in.data()[r][x];
            }
        }
    }
}

QImage orientedPicture(const QImage& stored, int orientation) {
    const QImage rows = stored.convertToFormat(QImage::Format_RGB32);
    QImage upright(orientedSize(stored.size(), orientation), QImage::Format_RGB32);
    if (upright.isNull()) return upright;
    placeOriented(rows, 0, rows.size(), orientation, upright);
    return upright;
}
