// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/orientation.h"

#include <QTransform>
#include <QtEndian>

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

QImage orientedPicture(const QImage& stored, int orientation) {
    // Qt turns by exact quarters without resampling.
    const auto turned = [&stored](int degrees) { return stored.transformed(QTransform().rotate(degrees)); };
    switch (orientation) {
    case 2: return stored.mirrored(true, false);
    case 3: return stored.mirrored(true, true);
    case 4: return stored.mirrored(false, true);
    case 5: return turned(90).mirrored(true, false);
    case 6: return turned(90);
    case 7: return turned(90).mirrored(false, true);
    case 8: return turned(270);
    default: return stored;
    }
}
