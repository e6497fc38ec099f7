// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the seed corpora of the JPEG, bitmap, photo and MIDI fuzz targets:
// small files of every kind the readers know, made here rather than taken
// from anywhere. Usage: make_fuzz_seeds <tests/fuzz/corpus folder>
#include "audio/media_smf_builder.h"
#include "pictures/bitmap_builder.h"
#include "support/phone_photos.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

QString corpus;

void write(const char* target, const char* name, const QByteArray& bytes) {
    const QString folder = corpus + QLatin1Char('/') + QLatin1String(target);
    QDir().mkpath(folder);
    QFile f(folder + QLatin1Char('/') + QLatin1String(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s/%s\n", target, name);
        std::exit(1);
    }
}

QByteArray jpeg(int width, int height, J_COLOR_SPACE space, int components, bool progressive) {
    std::vector<JSAMPLE> samples(size_t(width * height * components));
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = JSAMPLE((i * 37) & 0xff);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 75, TRUE);
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = &samples[size_t(cinfo.next_scanline) * size_t(width * components)];
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray out(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return out;
}

void jpegSeeds() {
    write("jpeg", "rgb_baseline.jpg", jpeg(16, 8, JCS_RGB, 3, false));
    write("jpeg", "rgb_progressive.jpg", jpeg(17, 9, JCS_RGB, 3, true));
    write("jpeg", "grey.jpg", jpeg(8, 8, JCS_GRAYSCALE, 1, false));
    write("jpeg", "cmyk.jpg", jpeg(8, 8, JCS_CMYK, 4, false));
}

void bitmapSeeds() {
    const QByteArray twoColours = bitmapPalette({0x102030, 0xf0e0d0});
    BitmapBuilder b;
    b = {};
    b.width = 3, b.height = 2, b.bits = 24, b.pixels = QByteArray::fromHex("010203040506070809000000" "0a0b0c0d0e0f101112000000");
    write("bitmap", "rgb24.bmp", b.bytes());
    b = {};
    b.width = 2, b.height = -2, b.bits = 32, b.pixels = QByteArray::fromHex("0102030004050600" "0708090a0b0c0d0e");
    write("bitmap", "rgb32_top_down.bmp", b.bytes());
    b = {};
    b.width = 9, b.height = 2, b.bits = 1, b.palette = twoColours, b.colorsUsed = 2;
    b.pixels = QByteArray::fromHex("a5800000" "5a000000");
    write("bitmap", "mono.bmp", b.bytes());
    b = {};
    b.width = 3, b.height = 1, b.bits = 4, b.palette = twoColours, b.colorsUsed = 2, b.pixels = QByteArray::fromHex("01100000");
    write("bitmap", "four_bits.bmp", b.bytes());
    b = {};
    b.width = 2, b.height = 2, b.bits = 8, b.palette = twoColours, b.colorsUsed = 2, b.pixels = QByteArray::fromHex("0001000001000000");
    write("bitmap", "eight_bits.bmp", b.bytes());
    b = {};
    b.width = 2, b.height = 1, b.bits = 16, b.compression = 3;
    b.masks = littleEndian32({0xf800, 0x07e0, 0x001f});
    b.pixels = QByteArray::fromHex("e0071084");
    write("bitmap", "rgb565.bmp", b.bytes());
    b = {};
    b.headerBytes = 124, b.width = 1, b.height = 1, b.bits = 32, b.compression = 3;
    b.masks = littleEndian32({0x00ff0000, 0x0000ff00, 0x000000ff});
    b.pixels = QByteArray::fromHex("11223300");
    write("bitmap", "v5_bitfields.bmp", b.bytes());
    b = {};
    b.headerBytes = 12, b.width = 2, b.height = 1, b.bits = 8;
    b.palette = QByteArray(256 * 3, '\x40'), b.pixels = QByteArray::fromHex("01020000");
    write("bitmap", "os2_core.bmp", b.bytes());
    b = {};
    b.width = 5, b.height = 3, b.bits = 8, b.compression = 1, b.palette = twoColours, b.colorsUsed = 2;
    b.pixels = QByteArray::fromHex("0301" "0000" "000300010100" "00020101" "0101" "0001");
    write("bitmap", "rle8.bmp", b.bytes());
    b = {};
    b.width = 5, b.height = 2, b.bits = 4, b.compression = 2, b.palette = twoColours, b.colorsUsed = 2;
    b.pixels = QByteArray::fromHex("0501" "0000" "00031010" "0001");
    write("bitmap", "rle4.bmp", b.bytes());
}

// Every kind a phone or a browser writes, small: Exif orientations, colour
// profiles, transparency, HEIF's own rotation.
void photoSeeds() {
    const QImage picture = quarteredPicture(16, 8);
    const QColorSpace p3(QColorSpace::DisplayP3);
    QImage tagged = picture.convertToFormat(QImage::Format_ARGB32);
    tagged.setPixel(0, 0, 0x40ff0000);
    tagged.setColorSpace(p3);
    write("photo", "exif6.jpg", phoneJpeg(picture, 6));
    write("photo", "exif5_p3.jpg", phoneJpeg(picture, 5, p3.iccProfile()));
    write("photo", "alpha_p3.png", qtWrittenPicture(tagged, "png"));
    write("photo", "palette.png", qtWrittenPicture(picture.convertToFormat(QImage::Format_Indexed8), "png"));
    write("photo", "deep.png", qtWrittenPicture(picture.convertToFormat(QImage::Format_RGBX64), "png"));
    write("photo", "lossy.webp", qtWrittenPicture(picture, "webp", 50));
    write("photo", "alpha.webp", qtWrittenPicture(tagged, "webp", 100));
    write("photo", "two_frames.gif", gifPicture(picture, Quarter::TopLeft));
    write("photo", "turned6.heic", heifPicture(picture, HeifCoding::Hevc, 6, p3));
    write("photo", "mirrored2.avif", heifPicture(picture, HeifCoding::Av1, 2));
    write("photo", "plain.bmp", qtWrittenPicture(picture, "bmp"));
}

void midiSeeds() {
    write("midi", "one_second.mid", oneSecondSong());
    TrackBytes conductor;
    conductor.tempo(0, 600000).tempo(240, 300000).end(0);
    TrackBytes notes;
    notes.at(0, {0xB0, 7, 100}).at(0, {0x90, 60, 90}).at(120, {64, 90}).at(120, {0x80, 60, 0})
        .at(0, {0xF0, 3, 0x7E, 0x7F, 0xF7}).at(10, {0xE0, 0, 0x40}).at(0, {0xFF, 0x01, 2, 'h', 'i'}).end(100);
    write("midi", "two_tracks_tempo.mid", midiHeader(1, 2, 96) + conductor.chunk() + notes.chunk());
    TrackBytes smpte;
    smpte.at(0, {0x90, 40, 10}).at(40, {0x80, 40, 10}).end(0);
    write("midi", "smpte.mid", midiHeader(0, 1, 0xE728) + smpte.chunk());
    TrackBytes second;
    second.at(5, {0xC1, 3}).at(5, {0x91, 50, 60}).end(10);
    write("midi", "format2.mid", midiHeader(2, 2, 48) + second.chunk() + notes.chunk());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    corpus = QString::fromLocal8Bit(argv[1]);
    jpegSeeds();
    bitmapSeeds();
    photoSeeds();
    midiSeeds();
    return 0;
}
