// SPDX-License-Identifier: GPL-3.0-or-later
// Photographs as phones make them, through the real decoders: the kind told
// from the content, every orientation a viewer applies, every format, colour
// profiles converted to sRGB, transparency on white, and the same caps for
// every decoder, checked before decoding.
#include "files/app_error.h"
#include "pictures/orientation.h"
#include "pictures/photo_decoding.h"
#include "support/app_error_of.h"
#include "support/phone_photos.h"

#include <QColorTransform>
#include <QPainter>
#include <QtEndian>
#include <gtest/gtest.h>
#include <jerror.h>
#include <optional>

namespace {

constexpr qint64 kCap = 50'000'000;

// Where a viewer puts the stored corners (top-left, top-right, bottom-left,
// bottom-right of the stored picture) for each orientation, 0 and 1 alike.
struct Corners { QRgb topLeft, topRight, bottomLeft, bottomRight; };
Corners shownCorners(int orientation) {
    using namespace Quarter;
    switch (orientation) {
    case 2: return {TopRight, TopLeft, BottomRight, BottomLeft};
    case 3: return {BottomRight, BottomLeft, TopRight, TopLeft};
    case 4: return {BottomLeft, BottomRight, TopLeft, TopRight};
    case 5: return {TopLeft, BottomLeft, TopRight, BottomRight};
    case 6: return {BottomLeft, TopLeft, BottomRight, TopRight};
    case 7: return {BottomRight, TopRight, BottomLeft, TopLeft};
    case 8: return {TopRight, BottomRight, TopLeft, BottomLeft};
    default: return {TopLeft, TopRight, BottomLeft, BottomRight};
    }
}

void expectShownAs(const QImage& shown, QSize stored, int orientation, const std::string& what) {
    SCOPED_TRACE(what + " orientation " + std::to_string(orientation));
    ASSERT_EQ(shown.format(), QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), orientation >= 5 ? stored.transposed() : stored);
    const Corners c = shownCorners(orientation);
    const int r = shown.width() - 4, b = shown.height() - 4;
    EXPECT_EQ(quarterAt(shown, 3, 3), c.topLeft);
    EXPECT_EQ(quarterAt(shown, r, 3), c.topRight);
    EXPECT_EQ(quarterAt(shown, 3, b), c.bottomLeft);
    EXPECT_EQ(quarterAt(shown, r, b), c.bottomRight);
}

quint32 pngChecksum(QByteArrayView bytes) {
    quint32 crc = 0xffffffff;
    for (char byte : bytes) {
        crc ^= quint8(byte);
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

// A PNG whose header claims width x height: its chunk's checksum made again.
QByteArray pngClaiming(quint32 width, quint32 height) {
    QByteArray png = qtWrittenPicture(quarteredPicture(8, 8), "png");
    qToBigEndian(width, png.data() + 16);
    qToBigEndian(height, png.data() + 20);
    qToBigEndian(pngChecksum(QByteArrayView(png).sliced(12, 17)), png.data() + 29);
    return png;
}

}  // namespace

// Tags 1 to 8 in either byte order, and none: the corners end where a
// viewer puts them, and a portrait stored sideways stands up.
TEST(PhotoOrientation, EveryExifOrientationOfAJpegShowsTheCornersWhereAViewerDoes) {
    const QImage stored = quarteredPicture(64, 48);
    for (bool bigEndian : {false, true})
        for (int o = 0; o <= 8; ++o) {
            QByteArray jpeg = phoneJpeg(stored, 0);
            if (o) jpeg = jpeg.left(2) + QByteArray("\xff\xe1") + char(0) +
                          char(exifWithOrientation(o, bigEndian).size() + 2) + exifWithOrientation(o, bigEndian) +
                          jpeg.mid(2);
            const DecodedPhoto photo = decodePhoto(jpeg, 4000, kCap);
            EXPECT_EQ(photo.format, PictureFormat::Jpeg);
            expectShownAs(photo.picture, stored.size(), o, bigEndian ? "big-endian Exif" : "little-endian Exif");
        }
    // What is no usable tag leaves the picture as stored.
    const QByteArray exif = exifWithOrientation(6);
    for (const QByteArray& payload : {exif.left(exif.size() - 8), exifWithOrientation(9), exifWithOrientation(0),
                                      QByteArray("Exif\0\0MM\0*\xff\xff\xff\xff", 14), QByteArray("XMP")})
        EXPECT_EQ(exifOrientation(payload), 1) << payload.toHex().toStdString();
    EXPECT_EQ(exifOrientation(exif), 6);
}

// HEIC and AVIF carry their own rotation and mirroring, and phones write
// the same turn in an Exif block beside it: libheif turns the picture once.
TEST(PhotoOrientation, HeifIsTurnedByItsOwnTransformationsOnceWhateverItsExifSays) {
    const QImage stored = quarteredPicture(64, 48);
    for (int o = 1; o <= 8; ++o) {
        const QByteArray heic = heifPicture(stored, HeifCoding::Hevc, o);
        ASSERT_FALSE(heic.isEmpty()) << "libheif's HEVC encoder (x265)";
        const DecodedPhoto photo = decodePhoto(heic, 4000, kCap);
        EXPECT_EQ(photo.format, PictureFormat::Heif);
        expectShownAs(photo.picture, stored.size(), o, "HEIC");
    }
    const QByteArray avif = heifPicture(stored, HeifCoding::Av1, 6);
    ASSERT_FALSE(avif.isEmpty()) << "libheif's AV1 encoder (libaom)";
    const DecodedPhoto photo = decodePhoto(avif, 4000, kCap);
    EXPECT_EQ(photo.format, PictureFormat::Avif);
    expectShownAs(photo.picture, stored.size(), 6, "AVIF");
}

// Every kind a phone, a browser or a chat writes, told from its content:
// PNG (plain, with a palette, with 16-bit channels), WebP, GIF (its first
// frame), HEIC, AVIF, bitmap and JPEG, each RGB32 with its corners in place.
TEST(PhotoFormats, EveryKindIsToldFromItsContentAndReadByItsOwnDecoder) {
    const QImage picture = quarteredPicture(64, 48);
    struct Case { const char* name; QByteArray bytes; PictureFormat format; };
    const Case cases[] = {
        {"PNG", qtWrittenPicture(picture, "png"), PictureFormat::Png},
        {"PNG with a palette", qtWrittenPicture(picture.convertToFormat(QImage::Format_Indexed8), "png"), PictureFormat::Png},
        {"16-bit PNG", qtWrittenPicture(picture.convertToFormat(QImage::Format_RGBX64), "png"), PictureFormat::Png},
        {"WebP", qtWrittenPicture(picture, "webp", 90), PictureFormat::WebP},
        {"GIF", gifPicture(picture), PictureFormat::Gif},
        {"HEIC", heifPicture(picture, HeifCoding::Hevc), PictureFormat::Heif},
        {"AVIF", heifPicture(picture, HeifCoding::Av1), PictureFormat::Avif},
        {"bitmap", qtWrittenPicture(picture, "bmp"), PictureFormat::Bitmap},
        {"JPEG", phoneJpeg(picture, 0), PictureFormat::Jpeg},
    };
    for (const Case& c : cases) {
        ASSERT_FALSE(c.bytes.isEmpty()) << c.name << ": no writer";
        EXPECT_EQ(pictureFormatOf(c.bytes.left(kPictureFormatHeadBytes)), c.format) << c.name;
        const DecodedPhoto photo = decodePhoto(c.bytes, 4000, kCap);
        EXPECT_EQ(photo.format, c.format) << c.name;
        expectShownAs(photo.picture, picture.size(), 1, c.name);
    }
}

// What can be seen through shows white, in every kind that has transparency.
TEST(PhotoFormats, TransparencyIsFlattenedOnWhite) {
    QImage picture(64, 48, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter(&picture).fillRect(0, 0, 32, 48, QColor(200, 30, 30));
    QImage gifPainted = quarteredPicture(64, 48);
    QPainter(&gifPainted).fillRect(32, 0, 32, 48, Qt::black);
    const std::pair<const char*, QByteArray> cases[] = {
        {"PNG", qtWrittenPicture(picture, "png")},
        {"WebP", qtWrittenPicture(picture, "webp", 100)},
        {"HEIC", heifPicture(picture, HeifCoding::Hevc, 1, QColorSpace(), true)},
        {"GIF", gifPicture(gifPainted, 0xff000000)},
    };
    for (const auto& [name, bytes] : cases) {
        const QImage shown = decodePhoto(bytes, 4000, kCap).picture;
        ASSERT_EQ(shown.format(), QImage::Format_RGB32) << name;
        EXPECT_LT(qGray(shown.pixel(8, 24)), 200) << name << ": the opaque half";
        const QRgb clear = shown.pixel(56, 24);
        EXPECT_TRUE(qRed(clear) > 240 && qGreen(clear) > 240 && qBlue(clear) > 240) << name << ": " << std::hex << clear;
    }
}

// A Display P3 photograph (iPhones) is shown and kept in sRGB, whether its
// profile is an ICC profile (JPEG, PNG, WebP, HEIC) or nclx (HEIC of other
// phones).
TEST(PhotoColours, ADisplayP3PhotographIsConvertedToSrgbInEveryFormat) {
    const QColor stored(40, 190, 70);
    const QColorSpace p3(QColorSpace::DisplayP3);
    const QColor expected = p3.transformationToColorSpace(QColorSpace::SRgb).map(stored);
    ASSERT_GT(std::abs(expected.green() - stored.green()) + std::abs(expected.red() - stored.red()), 30);
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(stored);
    QImage tagged = picture;
    tagged.setColorSpace(p3);
    const std::pair<const char*, QByteArray> cases[] = {
        {"JPEG", phoneJpeg(picture, 6, p3.iccProfile())},
        {"PNG", qtWrittenPicture(tagged, "png")},
        {"WebP", qtWrittenPicture(tagged, "webp", 100)},
        {"HEIC (ICC)", heifPicture(picture, HeifCoding::Hevc, 6, p3)},
        {"HEIC (nclx)", heifPicture(picture, HeifCoding::Hevc, 1, QColorSpace(), false, true)},
    };
    for (const auto& [name, bytes] : cases) {
        const QImage shown = decodePhoto(bytes, 4000, kCap).picture;
        ASSERT_FALSE(shown.isNull()) << name;
        const QColor got = shown.pixelColor(20, 20);
        EXPECT_NEAR(got.red(), expected.red(), 8) << name;
        EXPECT_NEAR(got.green(), expected.green(), 8) << name;
        EXPECT_NEAR(got.blue(), expected.blue(), 8) << name;
        EXPECT_FALSE(shown.colorSpace().isValid()) << name << ": plain sRGB from here on";
    }
}

// Larger than its use: made smaller by a whole factor, its long side still
// at least the one asked for.
TEST(PhotoFormats, ALargePictureIsReducedByAWholeFactor) {
    const QByteArray png = qtWrittenPicture(quarteredPicture(1000, 500), "png");
    EXPECT_EQ(decodePhoto(png, 300, kCap).picture.size(), QSize(333, 166));
    EXPECT_EQ(decodePhoto(png, 600, kCap).picture.size(), QSize(1000, 500));
    EXPECT_EQ(preparedPhoto(quarteredPicture(1000, 500), 400, kCap).size(), QSize(500, 250));
    EXPECT_EQ(decodePhoto(qtWrittenPicture(quarteredPicture(300, 2), "png"), 64, kCap).picture.size(), QSize(75, 1))
        << "a sliver keeps a pixel";
}

// No picture, one cut short, damaged, or one whose header claims more than
// the caps: refused with the kind it is (libjpeg's own error for a JPEG),
// and what claims too much is refused before any of it is decoded.
TEST(PhotoCaps, WhatCannotBeReadIsRefusedAndEveryDecoderKeepsTheSameCap) {
    const QImage picture = quarteredPicture(64, 48);
    const std::pair<PictureFormat, QByteArray> kinds[] = {
        {PictureFormat::Png, qtWrittenPicture(picture, "png")},
        {PictureFormat::WebP, qtWrittenPicture(picture, "webp", 90)},
        {PictureFormat::Gif, gifPicture(picture)},
        {PictureFormat::Heif, heifPicture(picture, HeifCoding::Hevc)},
        {PictureFormat::Avif, heifPicture(picture, HeifCoding::Av1)},
        {PictureFormat::Bitmap, qtWrittenPicture(picture, "bmp")},
    };
    const auto refusal = [](const QByteArray& bytes, qint64 cap) -> std::optional<PictureFormat> {
        try {
            decodePhoto(bytes, 4000, cap);
        } catch (const UnreadablePicture& e) {
            return e.format;
        }
        return std::nullopt;
    };
    for (const auto& [format, bytes] : kinds) {
        const int kind = int(format);
        EXPECT_EQ(refusal(bytes.left(bytes.size() * 2 / 3), kCap), format) << "cut short, kind " << kind;
        // Damaged: refused, or (where the format has no checksums) a picture
        // of the size its header gives.
        QByteArray damaged = bytes;
        for (qsizetype i = 40; i < damaged.size(); i += 7) damaged[i] = char(~damaged[i]);
        try {
            EXPECT_EQ(decodePhoto(damaged, 4000, kCap).picture.size(), picture.size()) << "kind " << kind;
        } catch (const UnreadablePicture& e) {
            EXPECT_EQ(e.format, format);
        }
        // The cap is the header's size: one pixel less refuses it.
        EXPECT_EQ(refusal(bytes, 64 * 48), std::nullopt) << "at the cap, kind " << kind;
        EXPECT_EQ(refusal(bytes, 64 * 48 - 1), format) << "beyond the cap, kind " << kind;
        EXPECT_EQ(refusal(bytes.left(1), kCap), PictureFormat::Unknown) << "kind " << kind;
    }
    for (const char* text : {"", "plain text, no picture", "\x00\x00\x00\x18" "ftypqt  "})
        EXPECT_EQ(refusal(QByteArray(text), kCap), PictureFormat::Unknown) << text;
    // A 60000 x 60000 PNG of a few bytes is refused from its header.
    EXPECT_EQ(refusal(pngClaiming(60000, 60000), kCap), PictureFormat::Png);
    // More bytes than any picture within the cap needs (the headers' 16 MiB
    // beside eight a pixel).
    EXPECT_EQ(refusal(QByteArray(17 << 20, '\0').replace(0, 8, "\x89PNG\r\n\x1a\n"), 100), PictureFormat::Png);
    const QByteArray jpeg = phoneJpeg(picture, 6);
    EXPECT_EQ(appErrorOf([&] { decodePhoto(jpeg.left(jpeg.size() / 2), 4000, kCap); }), jpegErrorText(JWRN_JPEG_EOF));
    EXPECT_EQ(appErrorOf([&] { decodePhoto(jpeg, 4000, 64 * 48 - 1); }), jpegErrorText(JERR_IMAGE_TOO_BIG));
    // Cut short while the bands are turned behind the decoder: the error,
    // and the thread waiting for the next band let go (not waited for ever).
    for (int height : {8, 40, 480}) {
        const QByteArray turned = phoneJpeg(quarteredPicture(640, height), 6);
        EXPECT_TRUE(appErrorOf([&] { decodePhoto(turned.left(turned.size() * 3 / 5), 4000, kCap); })
                        .startsWith(QStringLiteral("JPEG エラー #"))) << height;
    }
    EXPECT_THROW(preparedPhoto(picture, 4000, 64 * 48 - 1), UnreadablePicture);
    EXPECT_THROW(preparedPhoto(QImage(), 4000, kCap), UnreadablePicture);
}
