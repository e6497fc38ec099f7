// SPDX-License-Identifier: GPL-3.0-or-later
// A photograph given for a new face, on any bytes: the kind told from the
// content, the Exif orientation, every decoder behind it and the caps. The
// result is the program's word (libjpeg's error for a JPEG, an unreadable
// picture of the kind told otherwise), or an upright, opaque sRGB picture
// within the cap of the kind told.
#include "files/app_error.h"
#include "fuzz_check.h"
#include "pictures/orientation.h"
#include "pictures/photo_decoding.h"

#include <QColorSpace>
#include <QLoggingCategory>
#include <algorithm>
#include <cstdint>

namespace {
// Small, so that each input decodes fast; the checks do not depend on it.
constexpr qint64 kCap = 256 * 256;
constexpr int kLongSide = 64;

// Qt says on stderr why each damaged colour profile is left out; thousands of
// inputs would bury the fuzzer's own report.
[[maybe_unused]] const bool kQuietProfiles = [] {
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.icc=false"));
    return true;
}();
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // Any Exif payload names an orientation a viewer knows.
    const int orientation = exifOrientation(QByteArray("Exif\0\0", 6) + bytes.toByteArray());
    FUZZ_CHECK(orientation >= 1 && orientation <= 8);
    const QImage turned = orientedPicture(QImage(3, 2, QImage::Format_RGB32), orientation);
    FUZZ_CHECK(turned.size() == (orientation >= 5 ? QSize(2, 3) : QSize(3, 2)));

    const PictureFormat told = pictureFormatOf(bytes.first(std::min<qsizetype>(bytes.size(), kPictureFormatHeadBytes)));
    DecodedPhoto photo;
    try {
        photo = decodePhoto(bytes, kLongSide, kCap);
    } catch (const UnreadablePicture& e) {
        FUZZ_CHECK(e.format == told);
        return 0;
    } catch (const AppError& e) {
        FUZZ_CHECK(told == PictureFormat::Jpeg);
        FUZZ_CHECK(e.message().startsWith(QStringLiteral("JPEG エラー #")));
        return 0;
    }
    FUZZ_CHECK(told != PictureFormat::Unknown && photo.format == told);
    FUZZ_CHECK(!photo.picture.isNull());
    FUZZ_CHECK(photo.picture.format() == QImage::Format_RGB32);
    FUZZ_CHECK(!photo.picture.colorSpace().isValid());
    FUZZ_CHECK(qint64(photo.picture.width()) * photo.picture.height() <= kCap);
    return 0;
}
