// SPDX-License-Identifier: GPL-3.0-or-later
// JPEG through libjpeg: round trips, and every kind of bad input ending in the
// program's error text instead of a grey picture or an ended process.
#include "files/app_error.h"
#include "pictures/jpeg_codec.h"
#include "pictures/stretch.h"
#include "support/app_error_of.h"
#include "support/hostile_pictures.h"
#include "support/temp_app_dir.h"

#include <QDir>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <jerror.h>
#include <vector>

namespace {

QString decodeError(const QByteArray& data) {
    return appErrorOf([&] { decodeJpegData(data); });
}

QString decodeFileError(const QString& path) {
    return appErrorOf([&] { decodeJpegFile(path); });
}

bool near(QRgb a, QRgb b, int tolerance = 12) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// Encodes raw samples in another colour space with libjpeg itself, for the
// inputs the program never writes but must read (greyscale, Adobe CMYK).
QByteArray encodeSamples(int width, int height, J_COLOR_SPACE space, int components,
                         const std::vector<JSAMPLE>& samples) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        auto row = const_cast<JSAMPROW>(&samples[cinfo.next_scanline * width * components]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray result(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return result;
}

QImage fourQuadrants(int width, int height) {
    QImage img(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            img.setPixel(x, y, x < width / 2 ? (y < height / 2 ? 0xffff0000 : 0xff00ff00)
                                             : (y < height / 2 ? 0xff0000ff : 0xffffffff));
    return img;
}

}  // namespace

TEST(JpegCodec, RoundTripKeepsSizeAndColours) {
    const QImage original = fourQuadrants(64, 48);
    const QByteArray bytes = encodeJpeg(original);
    ASSERT_TRUE(bytes.startsWith("\xff\xd8"));
    // Baseline: the frame header is SOF0, never progressive SOF2.
    EXPECT_TRUE(bytes.contains("\xff\xc0"));
    EXPECT_FALSE(bytes.contains("\xff\xc2"));
    const QImage decoded = decodeJpegData(bytes);
    ASSERT_EQ(decoded.size(), QSize(64, 48));
    EXPECT_EQ(decoded.format(), QImage::Format_RGB32);
    for (const QPoint p : {QPoint(8, 8), QPoint(8, 40), QPoint(56, 8), QPoint(56, 40)})
        EXPECT_TRUE(near(decoded.pixel(p), original.pixel(p))) << p.x() << "," << p.y();
}

TEST(JpegCodec, WrittenFilesDecodeAndUnwritablePathsAreReported) {
    TempAppDir dir;
    const QString path = dir.file("data/face10_0.jpg");
    writeJpegFile(path, testPicture(301, 7));
    const QImage decoded = decodeJpegFile(path);
    EXPECT_EQ(decoded.size(), QSize(301, 7));
    EXPECT_TRUE(near(decoded.pixel(200, 3), 0xffc08060));

    const QString unwritable = dir.path() + "no folder/face.jpg";
    try {
        writeJpegFile(unwritable, testPicture(4, 4));
        ADD_FAILURE() << "written";
    } catch (const AppError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("ファイル %1 を作成できません").arg(unwritable));
    }
}

TEST(JpegCodec, GreyscaleAndCmykInputsDecodeToRgb) {
    std::vector<JSAMPLE> grey(16 * 16, 200);
    const QImage fromGrey = decodeJpegData(encodeSamples(16, 16, JCS_GRAYSCALE, 1, grey));
    ASSERT_EQ(fromGrey.size(), QSize(16, 16));
    EXPECT_EQ(fromGrey.format(), QImage::Format_RGB32);
    EXPECT_TRUE(near(fromGrey.pixel(5, 5), qRgb(200, 200, 200), 3));

    // Adobe CMYK is stored inverted (255 = no ink); with no black the stored
    // C, M and Y are the red, green and blue that come out.
    std::vector<JSAMPLE> cmyk;
    for (int i = 0; i < 16 * 16; ++i) cmyk.insert(cmyk.end(), {255, 128, 0, 255});
    const QImage fromCmyk = decodeJpegData(encodeSamples(16, 16, JCS_CMYK, 4, cmyk));
    ASSERT_EQ(fromCmyk.size(), QSize(16, 16));
    EXPECT_TRUE(near(fromCmyk.pixel(8, 8), qRgb(255, 128, 0), 6));
}

TEST(JpegCodec, DamagedDataGivesLibjpegsErrorNumber) {
    EXPECT_EQ(decodeError(""), jpegErrorText(JERR_INPUT_EMPTY));
    EXPECT_EQ(decodeError("GIF89a this is not a jpeg"), jpegErrorText(JERR_NO_SOI));
    EXPECT_TRUE(decodeError(QByteArray(1000, '\xff')).startsWith(QStringLiteral("JPEG エラー #")));

    // Cut short: libjpeg alone would only warn and fill the rest with grey.
    const QByteArray whole = encodeJpeg(testPicture(120, 90));
    for (const qsizetype keep : {whole.size() / 2, whole.size() - 200, qsizetype(300)})
        EXPECT_EQ(decodeError(whole.left(keep)), jpegErrorText(JWRN_JPEG_EOF)) << keep;
}

TEST(JpegCodec, AHeaderClaimingAHugePictureIsRefusedBeforeDecoding) {
    QByteArray bytes = encodeJpeg(testPicture(8, 8));
    const qsizetype sof = bytes.indexOf("\xff\xc0");
    ASSERT_GT(sof, 0);
    // SOF0: marker, length (2), precision (1), height (2), width (2).
    const auto put16 = [&](qsizetype at, int value) {
        bytes[at] = char(value >> 8);
        bytes[at + 1] = char(value & 0xff);
    };
    put16(sof + 5, 20000);
    put16(sof + 7, 20000);
    EXPECT_EQ(decodeError(bytes), jpegErrorText(JERR_IMAGE_TOO_BIG));
    // A modest size passes the check; the 8x8 picture's data then stops at
    // the end marker long before the last block, which is no picture either.
    put16(sof + 5, 1000);
    put16(sof + 7, 1000);
    EXPECT_EQ(decodeError(bytes), jpegErrorText(JWRN_HIT_MARKER));
}

TEST(JpegCodec, AFileThatCannotBeOpenedNamesItsPath) {
    TempAppDir dir;
    const QString missing = dir.path() + "data/face3_1.jpg";
    const QString message = decodeFileError(missing);
    EXPECT_EQ(message, fileOpenErrorText(missing));
    EXPECT_TRUE(message.contains("face3_1.jpg"));
    EXPECT_EQ(message, QStringLiteral("ファイル %1 は開けません").arg(missing));
    QDir().mkpath(dir.path() + "folder.jpg");
    EXPECT_EQ(decodeFileError(dir.path() + "folder.jpg"), fileOpenErrorText(dir.path() + "folder.jpg"));

    dir.writeBytes("bad.jpg", "not a jpeg");
    EXPECT_EQ(decodeFileError(dir.file("bad.jpg")), jpegErrorText(JERR_NO_SOI));
}

// A thumbnail decoded at a DCT scale and cut down to the size it is drawn at
// in its box: the same size as the full picture fitted into the box, colours
// a blur of the full picture's away from it, the same errors, and a picture
// smaller than the box stretched up as the full one would be.
TEST(JpegCodec, AFittedDecodeIsTheDrawnSizeOfTheFullPicture) {
    const QSize box(100, 140);
    for (const QSize size : {QSize(300, 300), QSize(260, 300), QSize(300, 270), QSize(50, 140), QSize(40, 30),
                             QSize(1000, 3)}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        const QByteArray bytes = encodeJpeg(testPicture(size.width(), size.height()));
        QSize full;
        const QImage fitted = decodeJpegFitted(bytes, box, &full);
        EXPECT_EQ(full, size);
        const QSize drawn = proportionalSize(size, box);
        if (!drawn.isEmpty()) {
            EXPECT_EQ(fitted.size(), drawn);
            // Away from the diagonal the flat fill reads back within JPEG noise.
            EXPECT_TRUE(near(fitted.pixel(fitted.width() - 2, 1), 0xffc08060, 24));
        } else {
            EXPECT_FALSE(fitted.isNull()) << "a picture too flat to draw is still a picture";
        }
    }
    const QByteArray whole = encodeJpeg(testPicture(300, 300));
    QSize full;
    for (const qsizetype keep : {whole.size() / 2, qsizetype(300)})
        EXPECT_EQ(appErrorOf([&] { decodeJpegFitted(whole.left(keep), box, &full); }), jpegErrorText(JWRN_JPEG_EOF));
    EXPECT_EQ(appErrorOf([&] { decodeJpegFitted("GIF89a", box, &full); }), jpegErrorText(JERR_NO_SOI));
}

// A photograph reduced to what its use needs: the smallest DCT scale whose
// long side still reaches the asked length, whichever side is long; a
// picture no larger, or one that n/8 would bring below the length, is
// decoded whole.
TEST(JpegCodec, AReducedDecodeKeepsTheAskedLongSideAtTheSmallestScale) {
    struct Case { QSize size; QSize decoded; };
    for (const Case& c : {Case{{8192, 1024}, {2048, 256}}, Case{{600, 4800}, {300, 2400}},
                          Case{{4800, 3200}, {2400, 1600}}, Case{{2001, 40}, {2001, 40}},
                          Case{{1500, 1000}, {1500, 1000}}}) {
        SCOPED_TRACE(testing::Message() << c.size.width() << "x" << c.size.height());
        QSize full;
        const QImage reduced = decodeJpegReduced(encodeJpeg(testPicture(c.size.width(), c.size.height())), 2000, &full);
        EXPECT_EQ(full, c.size);
        EXPECT_EQ(reduced.size(), c.decoded);
        EXPECT_TRUE(near(reduced.pixel(reduced.width() - 2, 1), 0xffc08060, 24));
    }
    EXPECT_EQ(appErrorOf([] { decodeJpegReduced(jpegClaiming(10000, 5100), 4000, nullptr, 50'000'000); }),
              jpegErrorText(JERR_IMAGE_TOO_BIG));
}
