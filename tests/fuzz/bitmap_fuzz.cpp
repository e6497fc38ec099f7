// SPDX-License-Identifier: GPL-3.0-or-later
// The bitmap decoder on any bytes: it refuses or gives a picture within the
// cap, and the same bytes always give the same pixels.
#include "fuzz_check.h"
#include "pictures/bitmap_codec.h"

#include <cstdint>

namespace {
// Small, so that each input decodes fast; the checks do not depend on it.
constexpr qint64 kCap = 256 * 256;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QImage first = decodeBitmapData(bytes, kCap);
    if (first.isNull()) return 0;
    FUZZ_CHECK(first.format() == QImage::Format_RGB32);
    FUZZ_CHECK(qint64(first.width()) * first.height() <= kCap);
    // Left-over memory full of another value must not show through.
    { QByteArray junk(first.sizeInBytes(), char(0xa5)); }
    const QImage second = decodeBitmapData(bytes, kCap);
    FUZZ_CHECK(first == second);
    // The cap is checked from the header: one pixel less refuses the picture.
    FUZZ_CHECK(decodeBitmapData(bytes, qint64(first.width()) * first.height() - 1).isNull());
    return 0;
}
