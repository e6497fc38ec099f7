// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/bitmap_codec.h"

#include <QtEndian>
#include <array>
#include <bit>
#include <limits>
#include <optional>

namespace {

constexpr qint64 kFileHeaderBytes = 14;

enum Compression : quint32 { Uncompressed = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

// Little-endian reads that the caller has bounds-checked with has().
class Bytes {
public:
    explicit Bytes(QByteArrayView data) : data_(data) {}
    qint64 size() const { return data_.size(); }
    bool has(qint64 at, qint64 count) const {
        return at >= 0 && count >= 0 && at <= size() && count <= size() - at;
    }
    quint8 u8(qint64 at) const { return quint8(data_[at]); }
    quint16 u16(qint64 at) const { return qFromLittleEndian<quint16>(data_.data() + at); }
    quint32 u32(qint64 at) const { return qFromLittleEndian<quint32>(data_.data() + at); }
    qint32 i32(qint64 at) const { return qFromLittleEndian<qint32>(data_.data() + at); }

private:
    QByteArrayView data_;
};

// One colour channel of a 16- or 32-bit pixel, scaled to 0..255.
struct Channel {
    quint32 mask = 0;
    int shift = 0;
    quint64 max = 0;  // mask >> shift; 0 for an empty mask
    explicit Channel(quint32 m = 0) : mask(m), shift(m ? std::countr_zero(m) : 0), max(m ? m >> shift : 0) {}
    int of(quint32 pixel) const {
        if (max == 0) return 0;
        return int((quint64((pixel & mask) >> shift) * 255 + max / 2) / max);
    }
};

struct Layout {
    qint64 width = 0;
    qint64 height = 0;
    bool topDown = false;
    int bits = 0;
    quint32 compression = Uncompressed;
    std::array<Channel, 3> rgb;      // for 16 and 32 bits
    std::array<QRgb, 256> palette{};  // for 1, 4 and 8 bits; missing entries black
    qint64 pixelsAt = 0;             // start of the pixel data
    qint64 pixelBytes = 0;           // its length as the header gives it
    qint64 rowBytes = 0;             // uncompressed rows, padded to 4 bytes
};

bool validBits(int bits, quint32 compression) {
    switch (compression) {
    case Uncompressed: return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case Rle8: return bits == 8;
    case Rle4: return bits == 4;
    case BitFields: return bits == 16 || bits == 32;
    default: return false;
    }
}

// Reads and checks the headers, the palette and where the pixel data lies.
std::optional<Layout> readLayout(const Bytes& b, qint64 maxPixels) {
    if (!b.has(0, kFileHeaderBytes + 4) || b.u8(0) != 'B' || b.u8(1) != 'M') return {};
    Layout l;
    l.pixelsAt = b.u32(10);
    const qint64 headerBytes = b.u32(14);
    const bool core = headerBytes == 12;
    if (!core && headerBytes != 40 && headerBytes != 52 && headerBytes != 56 && headerBytes != 108 &&
        headerBytes != 124)
        return {};
    if (!b.has(kFileHeaderBytes, headerBytes)) return {};

    quint32 colorsUsed = 0;
    if (core) {
        l.width = b.u16(18);
        l.height = b.u16(20);
        l.bits = b.u16(24);
    } else {
        l.width = b.i32(18);
        l.height = b.i32(22);
        l.bits = b.u16(28);
        l.compression = b.u32(30);
        l.pixelBytes = b.u32(34);
        colorsUsed = b.u32(46);
    }
    if (l.height < 0) {
        l.topDown = true;
        l.height = -l.height;  // 64 bits: even INT32_MIN negates safely
    }
    if (l.width <= 0 || l.height <= 0) return {};
    if (!validBits(l.bits, l.compression)) return {};
    if (core && l.bits == 16) return {};
    // Run-length data is always stored bottom-up.
    if (l.topDown && (l.compression == Rle8 || l.compression == Rle4)) return {};
    // The cap comes first: from here on width * height is known to be small.
    if (l.width > maxPixels || l.height > maxPixels || l.width * l.height > maxPixels) return {};
    if (l.height > std::numeric_limits<int>::max()) return {};

    qint64 tablesAt = kFileHeaderBytes + headerBytes;
    if (l.bits == 16) l.rgb = {Channel(0x7c00), Channel(0x03e0), Channel(0x001f)};
    if (l.bits == 32) l.rgb = {Channel(0xff0000), Channel(0xff00), Channel(0xff)};
    if (l.compression == BitFields) {
        // Version 2 and later headers hold the masks; a 40-byte header is
        // followed by them.
        const qint64 masksAt = kFileHeaderBytes + 40;
        if (headerBytes == 40) {
            if (!b.has(masksAt, 12)) return {};
            tablesAt += 12;
        }
        l.rgb = {Channel(b.u32(masksAt)), Channel(b.u32(masksAt + 4)), Channel(b.u32(masksAt + 8))};
    }

    qint64 paletteBytes = 0;
    if (l.bits <= 8) {
        const qint64 most = qint64(1) << l.bits;
        if (colorsUsed > most) return {};
        const qint64 entries = colorsUsed ? colorsUsed : most;
        const int entryBytes = core ? 3 : 4;
        paletteBytes = entries * entryBytes;
        if (!b.has(tablesAt, paletteBytes)) return {};
        l.palette.fill(qRgb(0, 0, 0));
        for (qint64 i = 0; i < entries; ++i) {
            const qint64 at = tablesAt + i * entryBytes;
            l.palette[size_t(i)] = qRgb(b.u8(at + 2), b.u8(at + 1), b.u8(at));
        }
    }
    // The pixels follow the headers and the palette, and start inside the file.
    if (l.pixelsAt < tablesAt + paletteBytes || l.pixelsAt >= b.size()) return {};

    if (l.compression == Rle8 || l.compression == Rle4) {
        // The header's size of the compressed data, or (when it gives none)
        // the rest of the file; the decoder never reads beyond it.
        if (l.pixelBytes == 0) l.pixelBytes = b.size() - l.pixelsAt;
    } else {
        l.rowBytes = (l.width * l.bits + 31) / 32 * 4;
        if (__builtin_mul_overflow(l.rowBytes, l.height, &l.pixelBytes)) return {};
    }
    if (!b.has(l.pixelsAt, l.pixelBytes)) return {};
    return l;
}

void decodeRows(const Bytes& b, const Layout& l, QImage& image) {
    for (qint64 r = 0; r < l.height; ++r) {
        const qint64 at = l.pixelsAt + r * l.rowBytes;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(int(l.topDown ? r : l.height - 1 - r)));
        for (qint64 x = 0; x < l.width; ++x) {
            switch (l.bits) {
            case 1: out[x] = l.palette[(b.u8(at + x / 8) >> (7 - x % 8)) & 1]; break;
            case 4: out[x] = l.palette[(b.u8(at + x / 2) >> (x % 2 ? 0 : 4)) & 15]; break;
            case 8: out[x] = l.palette[b.u8(at + x)]; break;
            case 24: out[x] = qRgb(b.u8(at + 3 * x + 2), b.u8(at + 3 * x + 1), b.u8(at + 3 * x)); break;
            default: {
                const quint32 p = l.bits == 16 ? b.u16(at + 2 * x) : b.u32(at + 4 * x);
                out[x] = qRgb(l.rgb[0].of(p), l.rgb[1].of(p), l.rgb[2].of(p));
                break;
            }
            }
        }
    }
}

// Run-length data: pairs of (count, value), or 0 followed by an escape (0 end
// of line, 1 end of bitmap, 2 delta, 3..255 that many literal pixels). False
// when the data ends before the end-of-bitmap mark or a pixel would land
// outside the picture.
bool decodeRunLengths(const Bytes& b, const Layout& l, QImage& image) {
    const bool rle8 = l.compression == Rle8;
    qint64 at = l.pixelsAt;
    const qint64 end = l.pixelsAt + l.pixelBytes;
    qint64 x = 0, y = 0;  // y counts rows from the bottom
    // Writes count pixels whose palette indices indexAt(i) gives.
    auto put = [&](qint64 count, auto indexAt) {
        if (y >= l.height || count > l.width - x) return false;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(int(l.height - 1 - y)));
        for (qint64 i = 0; i < count; ++i) out[x + i] = l.palette[indexAt(i)];
        x += count;
        return true;
    };
    while (end - at >= 2) {
        const int count = b.u8(at), value = b.u8(at + 1);
        at += 2;
        if (count > 0) {
            const auto index = [&](qint64 i) { return rle8 ? value : (i % 2 ? value & 15 : value >> 4); };
            if (!put(count, index)) return false;
            continue;
        }
        switch (value) {
        case 0:
            x = 0;
            ++y;
            break;
        case 1: return true;
        case 2:
            if (end - at < 2) return false;
            x += b.u8(at);
            y += b.u8(at + 1);
            at += 2;
            break;
        default: {
            const qint64 literalBytes = rle8 ? value : (value + 1) / 2;
            if (end - at < literalBytes) return false;
            const qint64 from = at;
            const auto index = [&](qint64 i) {
                return rle8 ? b.u8(from + i) : (i % 2 ? b.u8(from + i / 2) & 15 : b.u8(from + i / 2) >> 4);
            };
            if (!put(value, index)) return false;
            at += (literalBytes + 1) & ~qint64(1);  // literals are padded to 16 bits
            break;
        }
        }
    }
    return false;
}

}  // namespace

QImage decodeBitmapData(QByteArrayView bytes, qint64 maxPixels) {
    const Bytes b(bytes);
    const std::optional<Layout> layout = readLayout(b, maxPixels);
    if (!layout) return {};
    QImage image(int(layout->width), int(layout->height), QImage::Format_RGB32);
    if (image.isNull()) return {};
    if (layout->compression == Rle8 || layout->compression == Rle4) {
        image.fill(layout->palette[0]);
        if (!decodeRunLengths(b, *layout, image)) return {};
    } else {
        decodeRows(b, *layout, image);
    }
    return image;
}
