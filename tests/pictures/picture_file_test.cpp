// SPDX-License-Identifier: GPL-3.0-or-later
// Picture files by extension: JPEG through libjpeg, bitmaps through the bitmap
// decoder, sizes checked against each kind's cap before any pixel memory is
// taken, and every inconsistent bitmap refused.
#include "catalogue/catalogue_files.h"
#include "files/app_error.h"
#include "pictures/bitmap_builder.h"
#include "pictures/bitmap_codec.h"
#include "pictures/jpeg_codec.h"
#include "pictures/picture_bytes.h"
#include "pictures/picture_file.h"
#include "support/app_error_of.h"
#include "support/hostile_pictures.h"
#include "support/temp_app_dir.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <gtest/gtest.h>
#include <jerror.h>
#include <limits>
#include <sys/stat.h>
#include <vector>

// The bitmap cases name only the header fields they need; the rest keep
// their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

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

QByteArray hex(const char* text) { return QByteArray::fromHex(text); }

// The rows of a picture, top first, as 0xRRGGBB values.
std::vector<std::vector<quint32>> rowsOf(const QImage& image) {
    std::vector<std::vector<quint32>> rows;
    for (int y = 0; y < image.height(); ++y) {
        rows.emplace_back();
        for (int x = 0; x < image.width(); ++x) rows.back().push_back(image.pixel(x, y) & 0xffffff);
    }
    return rows;
}

// Decodes after leaving freed memory of the picture's size full of another
// value, so that a pixel taken from memory never written would show.
QImage decodeOverJunk(const QByteArray& bytes, qsizetype pictureBytes) {
    { std::vector<char> junk(size_t(pictureBytes), char(0x5a)); }
    return decodeBitmapData(bytes, kMaxPicturePixels);
}

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

TEST(PictureFile, EveryKindOfBitmapDecodesToItsColours) {
    constexpr quint32 blue = 0x0000ff, yellow = 0xffff00, red = 0xff0000, green = 0x00ff00;
    struct Case {
        const char* what;
        BitmapBuilder bmp;
        std::vector<std::vector<quint32>> rows;
    };
    QByteArray corePalette(256 * 3, '\0');
    corePalette.replace(5 * 3, 3, hex("302010"));
    const std::vector<Case> cases = {
        {"1 bit, rows bottom-up",
         {.width = 3, .height = 2, .bits = 1, .palette = bitmapPalette({blue, yellow}),
          .pixels = hex("a0000000" "40000000")},
         {{blue, yellow, blue}, {yellow, blue, yellow}}},
        {"4 bits, three colours used",
         {.width = 3, .height = 1, .bits = 4, .palette = bitmapPalette({red, green, blue}),
          .pixels = hex("01200000"), .colorsUsed = 3},
         {{red, green, blue}}},
        {"16 bits 5-5-5", {.width = 2, .height = 1, .bits = 16, .pixels = hex("007ce003")}, {{red, green}}},
        {"16 bits 5-6-5 masks after the header",
         {.width = 2, .height = 1, .bits = 16, .compression = 3, .masks = littleEndian32({0xf800, 0x07e0, 0x001f}),
          .pixels = hex("e0071084")},
         {{green, 0x848284}}},
        {"32 bits, masks in a version 4 header",
         {.headerBytes = 108, .width = 1, .height = 1, .bits = 32, .compression = 3,
          .masks = littleEndian32({0x0000ff00, 0x00ff0000, 0xff000000}), .pixels = hex("00112233")},
         {{0x112233}}},
        {"OS/2 core header, 8 bits, 3-byte palette",
         {.headerBytes = 12, .width = 2, .height = 1, .bits = 8, .palette = corePalette, .pixels = hex("05000000")},
         {{0x102030, 0x000000}}},
        {"24 bits, rows top-down",
         {.width = 1, .height = -2, .bits = 24, .pixels = hex("01020300" "04050600")},
         {{0x030201}, {0x060504}}},
    };
    for (const Case& c : cases) {
        const QImage image = decodeBitmapData(c.bmp.bytes(), kMaxPicturePixels);
        EXPECT_EQ(image.format(), QImage::Format_RGB32) << c.what;
        EXPECT_EQ(rowsOf(image), c.rows) << c.what;
    }
}

TEST(PictureFile, RunLengthBitmapsGivePixelsSkippedThePaletteStartColourEveryTime) {
    constexpr quint32 grey = 0x808080, red = 0xff0000, green = 0x00ff00, blue = 0x0000ff;
    // RLE8, bottom row first: a run with the row ended early; three literal
    // pixels, then a delta that skips to the top row's last pixel.
    BitmapBuilder rle8{.width = 5, .height = 3, .bits = 8, .compression = 1,
                       .palette = bitmapPalette({grey, red, green, blue}),
                       .pixels = hex("0301" "0000" "000302030100" "00020101" "0103" "0001"), .colorsUsed = 4};
    // RLE4: a run of alternating nibbles, then an odd literal of three.
    BitmapBuilder rle4{.width = 5, .height = 2, .bits = 4, .compression = 2,
                       .palette = bitmapPalette({grey, red, green}),
                       .pixels = hex("0512" "0000" "00032120" "0001"), .colorsUsed = 3};
    const std::vector<std::vector<quint32>> rle8Rows = {
        {grey, grey, grey, grey, blue}, {green, blue, red, grey, grey}, {red, red, red, grey, grey}};
    const std::vector<std::vector<quint32>> rle4Rows = {{green, red, green, grey, grey}, {red, green, red, green, red}};
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(rowsOf(decodeOverJunk(rle8.bytes(), 5 * 3 * 4)), rle8Rows) << round;
        EXPECT_EQ(rowsOf(decodeOverJunk(rle4.bytes(), 5 * 2 * 4)), rle4Rows) << round;
    }

    // Through the file loader too.
    TempAppDir dir;
    dir.writeBytes("rle.bmp", rle8.bytes());
    EXPECT_EQ(rowsOf(loadPictureFile(dir.file("rle.bmp"))), rle8Rows);
}

TEST(PictureFile, InconsistentBitmapsAreRefusedWithTheOpenError) {
    const BitmapBuilder plain{.width = 4, .height = 2, .bits = 8, .palette = bitmapPalette({0x112233, 0x445566}),
                              .pixels = hex("00010001" "01000100"), .colorsUsed = 2};
    const BitmapBuilder rle8{.width = 4, .height = 2, .bits = 8, .compression = 1,
                             .palette = bitmapPalette({0x112233, 0x445566}), .pixels = hex("0401" "0000" "0400" "0001"),
                             .colorsUsed = 2};
    const BitmapBuilder rle4{.width = 4, .height = 1, .bits = 4, .compression = 2,
                             .palette = bitmapPalette({0x112233, 0x445566}), .pixels = hex("0410" "0001"),
                             .colorsUsed = 2};
    TempAppDir dir;
    for (const BitmapBuilder* good : {&plain, &rle8, &rle4}) {
        dir.writeBytes("good.bmp", good->bytes());
        EXPECT_EQ(loadPictureFile(dir.file("good.bmp")).width(), 4);
    }

    const qint64 plainSize = plain.bytes().size();
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    auto with = [](BitmapBuilder b, auto change) {
        change(b);
        return b.bytes();
    };
    const std::vector<Case> cases = {
        {"not BM", QByteArray("BA") + plain.bytes().mid(2)},
        {"only the file header", plain.bytes().left(16)},
        {"pixel offset 0", with(plain, [](auto& b) { b.pixelsAt = 0; })},
        {"pixel offset inside the palette", with(plain, [](auto& b) { b.pixelsAt = 14 + 40 + 4; })},
        {"pixel offset at the end", with(plain, [&](auto& b) { b.pixelsAt = quint32(plainSize); })},
        {"pixel offset past the end", with(plain, [&](auto& b) { b.pixelsAt = quint32(plainSize + 100); })},
        {"pixel data one byte short", plain.bytes().chopped(1)},
        {"header size 64", with(plain, [](auto& b) { b.headerBytes = 64; })},
        {"header size 16", with(plain, [](auto& b) { b.headerBytes = 16; })},
        {"palette beyond the file", with(plain, [](auto& b) { b.colorsUsed = 0; })},
        {"more colours than 8 bits hold", with(plain, [](auto& b) { b.colorsUsed = 300; })},
        {"width 0", with(plain, [](auto& b) { b.width = 0; })},
        {"height 0", with(plain, [](auto& b) { b.height = 0; })},
        {"negative width", with(plain, [](auto& b) { b.width = -4; })},
        {"12 bits a pixel", with(plain, [](auto& b) { b.bits = 12; })},
        {"JPEG inside a bitmap", with(plain, [](auto& b) { b.compression = 4; })},
        {"bit-field masks beyond the file",
         with(plain, [](auto& b) { b = {.width = 2, .height = 1, .bits = 32, .compression = 3, .pixels = QByteArray(8, 'x')}; })},
        {"RLE8 pair cut in half", with(rle8, [](auto& b) { b.pixels = hex("0401000004"); })},
        {"RLE8 without an end", with(rle8, [](auto& b) { b.pixels = hex("040100000400"); })},
        {"RLE8 literal past the end", with(rle8, [](auto& b) { b.pixels = hex("00050101"); })},
        {"RLE8 run wider than the row", with(rle8, [](auto& b) { b.pixels = hex("05010001"); })},
        {"RLE8 literal wider than the row", with(rle8, [](auto& b) { b.pixels = hex("0201000301010100" "0001"); })},
        {"RLE8 delta above the picture, then a pixel", with(rle8, [](auto& b) { b.pixels = hex("00020005" "0101" "0001"); })},
        {"RLE8 delta past the row, then a pixel", with(rle8, [](auto& b) { b.pixels = hex("00020400" "0101" "0001"); })},
        {"RLE8 data longer than the file", with(rle8, [](auto& b) { b.sizeImage = quint32(b.pixels.size() + 10); })},
        {"RLE8 top-down", with(rle8, [](auto& b) { b.height = -2; })},
        {"RLE8 with 4 bits", with(rle8, [](auto& b) { b.bits = 4; })},
        {"RLE4 literal past the end", with(rle4, [](auto& b) { b.pixels = hex("00071234"); })},
        {"RLE4 run wider than the row", with(rle4, [](auto& b) { b.pixels = hex("05100001"); })},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const QString name = QStringLiteral("hostile%1.bmp").arg(i);
        dir.writeBytes(name, cases[i].bytes);
        EXPECT_EQ(loadError(dir.file(name)), fileOpenErrorText(dir.file(name))) << cases[i].what;
    }

    // Row bytes times height beyond 64 bits is refused even without a cap.
    const BitmapBuilder vast{.width = 0x7fffffff, .height = 0x7fffffff, .bits = 32, .pixels = QByteArray(16, 'x')};
    EXPECT_TRUE(decodeBitmapData(vast.bytes(), std::numeric_limits<qint64>::max()).isNull());
}

TEST(PictureFile, APictureBeyondTheCapOfItsKindIsRefusedFromItsHeader) {
    TempAppDir dir;
    // The cap is a number of pixels, exact for both decoders.
    dir.writeBytes("small.bmp", windowsBitmap(20, 10, 24, gradient));
    dir.writeBytes("small.jpg", encodeJpeg(testPicture(20, 10)));
    for (const char* name : {"small.bmp", "small.jpg"}) {
        EXPECT_EQ(loadPictureFile(dir.file(name), 200).size(), QSize(20, 10)) << name;
        EXPECT_FALSE(appErrorOf([&] { loadPictureFile(dir.file(name), 199); }).isEmpty()) << name;
    }
    EXPECT_EQ(appErrorOf([&] { loadPictureFile(dir.file("small.jpg"), 199); }), jpegErrorText(JERR_IMAGE_TOO_BIG));

    // A 1 KB run-length file that claims 10000 x 10000 (400 MB decoded) is no
    // photograph the program takes.
    const BitmapBuilder bomb{.width = 10000, .height = 10000, .bits = 8, .compression = 1,
                             .palette = bitmapPalette({0}), .pixels = QByteArray(1000, '\0') + hex("0001"), .colorsUsed = 1};
    dir.writeBytes("bomb.bmp", bomb.bytes());
    EXPECT_EQ(loadError(dir.file("bomb.bmp")), fileOpenErrorText(dir.file("bomb.bmp")));

    // Photographs: 50 megapixels pass the header check (and then fail on the
    // 8 x 8 picture's data), 51 do not.
    EXPECT_EQ(appErrorOf([] { decodeJpegData(jpegClaiming(10000, 5000), kPhotographMaxPixels); }),
              jpegErrorText(JWRN_HIT_MARKER));
    EXPECT_EQ(appErrorOf([] { decodeJpegData(jpegClaiming(10000, 5100), kPhotographMaxPixels); }),
              jpegErrorText(JERR_IMAGE_TOO_BIG));

    // Catalogue pictures are read with their own, smaller cap.
    dir.writeBytes("data/face0_1.jpg", jpegClaiming(1024, 1024));
    dir.writeBytes("data/face0_2.jpg", jpegClaiming(1025, 1024));
    EXPECT_EQ(appErrorOf([&] { readFacePicture(dir.path(), 0, 1); }), jpegErrorText(JWRN_HIT_MARKER));
    EXPECT_EQ(appErrorOf([&] { readFacePicture(dir.path(), 0, 2); }), jpegErrorText(JERR_IMAGE_TOO_BIG));

    // No picture within a cap needs a file beyond 8 bytes a pixel plus 16 MiB,
    // and only regular files are read: an endless device is never read into
    // memory.
    for (const char* name : {"sparse.jpg", "sparse.bmp"}) {
        QFile sparse(dir.file(name));
        ASSERT_TRUE(sparse.open(QIODevice::WriteOnly) && sparse.resize((qint64(17) << 20)));
    }
    EXPECT_EQ(appErrorOf([&] { loadPictureFile(dir.file("sparse.jpg"), 1); }), jpegErrorText(JERR_IMAGE_TOO_BIG));
    EXPECT_EQ(appErrorOf([&] { loadPictureFile(dir.file("sparse.bmp"), 1); }), fileOpenErrorText(dir.file("sparse.bmp")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), dir.file("zero.jpg")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), dir.file("zero.bmp")));
    for (const char* name : {"zero.jpg", "zero.bmp"})
        EXPECT_EQ(appErrorOf([&] { loadPictureFile(dir.file(name)); }), fileOpenErrorText(dir.file(name))) << name;

    static_assert(kCataloguePictureMaxPixels < kLibraryPictureMaxPixels &&
                  kLibraryPictureMaxPixels < kPhotographMaxPixels && kMaxPicturePixels == kPhotographMaxPixels);
}

// One open, fstat and read: a name that is not there is told apart from one
// that cannot be read (a folder, a pipe with no writer, a device), so that
// only a missing name is looked up again without regard to case.
TEST(PictureFile, AMissingFileIsToldApartFromOneThatCannotBeRead) {
    TempAppDir dir;
    dir.writeBytes("a.jpg", "12345");
    const qint64 limit = 1 << 20;
    const PictureBytes read = readPictureBytes(dir.file("a.jpg"), limit);
    EXPECT_EQ(read.status, PictureBytes::Read);
    EXPECT_EQ(read.bytes, QByteArray("12345"));
    EXPECT_EQ(readPictureBytes(dir.file("b.jpg"), limit).status, PictureBytes::Missing);
    EXPECT_EQ(readPictureBytes(dir.file("a.jpg/c.jpg"), limit).status, PictureBytes::CannotOpen);
    QDir().mkpath(dir.file("folder.jpg"));
    EXPECT_EQ(readPictureBytes(dir.file("folder.jpg"), limit).status, PictureBytes::CannotOpen);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file("pipe.jpg")).constData(), 0600), 0);
    EXPECT_EQ(readPictureBytes(dir.file("pipe.jpg"), limit).status, PictureBytes::CannotOpen) << "and no wait for a writer";
    EXPECT_EQ(readPictureBytes(dir.file("a.jpg"), 4).status, PictureBytes::TooLarge);
}
