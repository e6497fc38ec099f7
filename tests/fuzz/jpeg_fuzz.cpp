// SPDX-License-Identifier: GPL-3.0-or-later
// The JPEG decoder on any bytes: the program's error or a picture within the
// cap that the encoder writes again and the decoder reads back at its size.
#include "files/app_error.h"
#include "fuzz_check.h"
#include "pictures/jpeg_codec.h"

#include <cstdint>

namespace {
constexpr qint64 kCap = 512 * 512;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QImage image;
    try {
        image = decodeJpegData(bytes, kCap);
    } catch (const AppError& e) {
        FUZZ_CHECK(e.message().startsWith(QStringLiteral("JPEG エラー #")));
        return 0;
    }
    FUZZ_CHECK(!image.isNull());
    FUZZ_CHECK(image.format() == QImage::Format_RGB32);
    FUZZ_CHECK(qint64(image.width()) * image.height() <= kCap);
    const QImage again = decodeJpegData(encodeJpeg(image), kCap);
    FUZZ_CHECK(again.size() == image.size());
    return 0;
}
