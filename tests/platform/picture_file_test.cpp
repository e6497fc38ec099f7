// Picture files by extension: JPEG through libjpeg, bitmaps through the bitmap
// reader only, and sizes checked before any pixel memory is taken.
#include "platform/app_error.h"
#include "platform/jpeg_codec.h"
#include "platform/picture_file.h"
#include "support/temp_app_dir.h"
#include "support/app_error_of.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QString loadError(const QString& path) {
    return appErrorOf([&] { loadPictureFile(path); });
}

// An uncompressed bottom-up Windows bitmap of 24 or 32 bits a pixel.
QByteArray windowsBitmap(int width, int height, int bits, QRgb (*colourAt)(int x, int y)) {
    const int rowBytes = ((width * bits / 8) + 3) & ~3;
    QByteArray pixels;
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row;
        for (int x = 0; x < width; ++x) {
            const QRgb c = colourAt(x, y);
            row += char(qBlue(c));
            row += char(qGreen(c));
            row += char(qRed(c));
            if (bits == 32) row += char(0);
        }
        row.resize(rowBytes, '\0');
        pixels += row;
    }
    QByteArray bmp(54, '\0');
    auto put32 = [&](int at, quint32 v) { qToLittleEndian(v, bmp.data() + at); };
    auto put16 = [&](int at, quint16 v) { qToLittleEndian(v, bmp.data() + at); };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, 54 + pixels.size());
    put32(10, 54);
    put32(14, 40);
    put32(18, quint32(width));
    put32(22, quint32(height));
    put16(26, 1);
    put16(28, quint16(bits));
    put32(34, quint32(pixels.size()));
    return bmp + pixels;
}

QRgb gradient(int x, int y) { return qRgb(x * 40, y * 50, 90); }

}  // namespace

TEST(PictureFile, BitmapsOf24And32BitsLoadAsRgb32) {
    TempAppDir dir;
    for (const int bits : {24, 32}) {
        const QString name = QStringLiteral("face%1.BMP").arg(bits);
        dir.writeBytes(name, windowsBitmap(5, 3, bits, gradient));
        const QImage img = loadPictureFile(dir.file(name));
        ASSERT_EQ(img.size(), QSize(5, 3)) << bits;
        EXPECT_EQ(img.format(), QImage::Format_RGB32);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) EXPECT_EQ(img.pixel(x, y), gradient(x, y)) << bits;
    }
}

TEST(PictureFile, TheExtensionChoosesTheDecoder) {
    TempAppDir dir;
    const QByteArray jpeg = encodeJpeg(testPicture(9, 6));
    dir.writeBytes("photo.JPG", jpeg);
    dir.writeBytes("photo.jpeg", jpeg);
    EXPECT_EQ(loadPictureFile(dir.file("photo.JPG")).size(), QSize(9, 6));
    EXPECT_EQ(loadPictureFile(dir.file("photo.jpeg")).size(), QSize(9, 6));

    // Content does not decide: a JPEG named .bmp is not a bitmap, a bitmap
    // named .jpg goes to libjpeg, and other extensions are not opened at all.
    dir.writeBytes("photo.bmp", jpeg);
    EXPECT_EQ(loadError(dir.file("photo.bmp")), fileOpenErrorText(dir.file("photo.bmp")));
    dir.writeBytes("bitmap.jpg", windowsBitmap(2, 2, 24, gradient));
    EXPECT_TRUE(loadError(dir.file("bitmap.jpg")).startsWith(QStringLiteral("JPEG エラー #")));
    dir.writeBytes("photo.png", jpeg);
    EXPECT_EQ(loadError(dir.file("photo.png")), fileOpenErrorText(dir.file("photo.png")));
    EXPECT_EQ(loadError(dir.path() + "missing.bmp"), fileOpenErrorText(dir.path() + "missing.bmp"));
}

TEST(PictureFile, BitmapsThatClaimHugeSizesOrEndEarlyAreRefused) {
    TempAppDir dir;
    QByteArray huge = windowsBitmap(2, 2, 24, gradient);
    qToLittleEndian(quint32(20000), huge.data() + 18);
    qToLittleEndian(quint32(20000), huge.data() + 22);
    dir.writeBytes("huge.bmp", huge);
    EXPECT_EQ(loadError(dir.file("huge.bmp")), fileOpenErrorText(dir.file("huge.bmp")));

    const QByteArray whole = windowsBitmap(40, 40, 24, gradient);
    dir.writeBytes("short.bmp", whole.left(60));
    dir.writeBytes("header.bmp", whole.left(20));
    EXPECT_EQ(loadError(dir.file("header.bmp")), fileOpenErrorText(dir.file("header.bmp")));
    EXPECT_EQ(loadError(dir.file("short.bmp")), fileOpenErrorText(dir.file("short.bmp")));
}
