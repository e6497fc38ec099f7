// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Windows bitmaps put together field by field, so that a test can write both
// good files and files whose headers lie.
#include <QByteArray>
#include <QtEndian>
#include <algorithm>
#include <optional>

struct BitmapBuilder {
    int headerBytes = 40;  // 12 writes an OS/2 core header
    qint32 width = 0;
    qint32 height = 0;     // negative: top-down rows
    int bits = 24;
    quint32 compression = 0;  // 1 RLE8, 2 RLE4, 3 bit fields
    QByteArray masks;         // bit fields: inside a header of 52 bytes or more, else after it
    QByteArray palette;       // written as given (4 bytes an entry, 3 for core)
    QByteArray pixels;
    quint32 colorsUsed = 0;
    std::optional<quint32> pixelsAt;   // default: right after the palette
    std::optional<quint32> sizeImage;  // default: pixels.size()

    QByteArray bytes() const {
        // Room for every field even when the header claims to be shorter.
        QByteArray h(14 + std::max(headerBytes, 40), '\0');
        auto put32 = [&](int at, quint32 v) { qToLittleEndian(v, h.data() + at); };
        auto put16 = [&](int at, quint16 v) { qToLittleEndian(v, h.data() + at); };
        h[0] = 'B';
        h[1] = 'M';
        const bool masksInHeader = headerBytes >= 52;
        const QByteArray after = masksInHeader ? QByteArray() : masks;
        const quint32 start = quint32(14 + headerBytes + after.size() + palette.size());
        put32(2, start + quint32(pixels.size()));
        put32(10, pixelsAt.value_or(start));
        put32(14, quint32(headerBytes));
        if (headerBytes == 12) {
            put16(18, quint16(width));
            put16(20, quint16(height));
            put16(22, 1);
            put16(24, quint16(bits));
        } else {
            put32(18, quint32(width));
            put32(22, quint32(height));
            put16(26, 1);
            put16(28, quint16(bits));
            put32(30, compression);
            put32(34, sizeImage.value_or(quint32(pixels.size())));
            put32(46, colorsUsed);
            if (masksInHeader) h.replace(54, masks.size(), masks);
        }
        h.resize(14 + headerBytes);
        return h + after + palette + pixels;
    }
};

// A palette of 4-byte entries (blue, green, red, 0) from 0xRRGGBB colours.
inline QByteArray bitmapPalette(std::initializer_list<quint32> colours) {
    QByteArray p;
    for (const quint32 c : colours) {
        p += char(c & 0xff);
        p += char((c >> 8) & 0xff);
        p += char((c >> 16) & 0xff);
        p += char(0);
    }
    return p;
}

inline QByteArray littleEndian32(std::initializer_list<quint32> values) {
    QByteArray out;
    for (const quint32 v : values) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    }
    return out;
}
