// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Decoding Windows bitmaps (.bmp) from their bytes. Every count and offset of
// the headers is checked against the bytes there are before anything is
// allocated; whatever does not add up is refused rather than guessed at.
//
// Accepted: info headers of 12 (OS/2 core), 40, 52, 56, 108 and 124 bytes;
// 1, 4 and 8 bits a pixel with a palette, 16, 24 and 32 bits without;
// uncompressed rows (bottom-up or top-down), bit-field masks for 16 and 32
// bits, RLE8 and RLE4 (bottom-up only). Pixels that run-length data skips
// (with a delta or an early end of line) take palette entry 0.
#include <QByteArrayView>
#include <QImage>

// The picture as QImage::Format_RGB32, or a null picture when the bytes are
// not a consistent bitmap or it has more than maxPixels pixels.
QImage decodeBitmapData(QByteArrayView bytes, qint64 maxPixels);
