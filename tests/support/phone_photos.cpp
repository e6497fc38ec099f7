// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/phone_photos.h"

#include "pictures/jpeg_codec.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>
#include <cstdlib>
#include <vector>

#include <libheif/heif.h>

QImage quarteredPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    QPainter painter(&picture);
    const int halfW = width / 2, halfH = height / 2;
    painter.fillRect(0, 0, halfW, halfH, QColor::fromRgb(Quarter::TopLeft));
    painter.fillRect(halfW, 0, width - halfW, halfH, QColor::fromRgb(Quarter::TopRight));
    painter.fillRect(0, halfH, halfW, height - halfH, QColor::fromRgb(Quarter::BottomLeft));
    painter.fillRect(halfW, halfH, width - halfW, height - halfH, QColor::fromRgb(Quarter::BottomRight));
    return picture;
}

QRgb quarterAt(const QImage& picture, int x, int y) {
    const QRgb c = picture.pixel(x, y);
    for (QRgb q : {Quarter::TopLeft, Quarter::TopRight, Quarter::BottomLeft, Quarter::BottomRight})
        if (std::abs(qRed(c) - qRed(q)) < 48 && std::abs(qGreen(c) - qGreen(q)) < 48 && std::abs(qBlue(c) - qBlue(q)) < 48)
            return q;
    return 0;
}

namespace {

QByteArray u16(quint16 v, bool big) {
    QByteArray b(2, '\0');
    big ? qToBigEndian(v, b.data()) : qToLittleEndian(v, b.data());
    return b;
}
QByteArray u32(quint32 v, bool big) {
    QByteArray b(4, '\0');
    big ? qToBigEndian(v, b.data()) : qToLittleEndian(v, b.data());
    return b;
}

// A marker segment: FF, the marker, its length and its payload.
QByteArray segment(quint8 marker, const QByteArray& payload) {
    return QByteArray("\xff") + char(marker) + u16(quint16(payload.size() + 2), true) + payload;
}

}  // namespace

QByteArray exifWithOrientation(int orientation, bool big) {
    QByteArray tiff = big ? QByteArray("MM\0*", 4) : QByteArray("II*\0", 4);
    tiff += u32(8, big) + u16(2, big);
    // ImageWidth first, then the orientation, a SHORT in the value's first half.
    tiff += u16(0x0100, big) + u16(4, big) + u32(1, big) + u32(640, big);
    tiff += u16(0x0112, big) + u16(3, big) + u32(1, big) + u16(quint16(orientation), big) + u16(0, big);
    tiff += u32(0, big);
    return QByteArray("Exif\0\0", 6) + tiff;
}

QByteArray phoneJpeg(const QImage& picture, int orientation, const QByteArray& iccProfile) {
    const QByteArray coded = encodeJpeg(picture);
    QByteArray markers;
    if (orientation) markers += segment(0xe1, exifWithOrientation(orientation));
    if (!iccProfile.isEmpty()) markers += segment(0xe2, QByteArray("ICC_PROFILE\0\1\1", 14) + iccProfile);
    return coded.left(2) + markers + coded.mid(2);
}

QByteArray heifPicture(const QImage& stored, HeifCoding coding, int orientation, const QColorSpace& space, bool alpha,
                       bool nclxP3) {
    const heif_compression_format format = coding == HeifCoding::Hevc ? heif_compression_HEVC : heif_compression_AV1;
    if (!heif_have_encoder_for_format(format)) return {};
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_image* image = nullptr;
    heif_encoding_options* options = heif_encoding_options_alloc();
    heif_color_profile_nclx* nclx = heif_nclx_color_profile_alloc();
    QByteArray out;
    const int w = stored.width(), h = stored.height();
    if (heif_context_get_encoder_for_format(context, format, &encoder).code == heif_error_Ok &&
        heif_image_create(w, h, heif_colorspace_RGB, alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB,
                          &image).code == heif_error_Ok &&
        heif_image_add_plane(image, heif_channel_interleaved, w, h, 8).code == heif_error_Ok) {
        heif_encoder_set_lossy_quality(encoder, 90);
        int stride = 0;
        uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
        const QImage argb = stored.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const QRgb c = argb.pixel(x, y);
                uint8_t* p = plane + y * stride + x * (alpha ? 4 : 3);
                p[0] = uint8_t(qRed(c)), p[1] = uint8_t(qGreen(c)), p[2] = uint8_t(qBlue(c));
                if (alpha) p[3] = uint8_t(qAlpha(c));
            }
        if (space.isValid()) {
            const QByteArray icc = space.iccProfile();
            heif_image_set_raw_color_profile(image, "prof", icc.constData(), size_t(icc.size()));
        }
        options->image_orientation = heif_orientation(orientation);
        if (nclxP3) {
            heif_nclx_color_profile_set_color_primaries(nclx, heif_color_primaries_SMPTE_EG_432_1);
            heif_nclx_color_profile_set_transfer_characteristics(nclx, heif_transfer_characteristic_IEC_61966_2_1);
            heif_nclx_color_profile_set_matrix_coefficients(nclx, heif_matrix_coefficients_ITU_R_BT_601_6);
            nclx->full_range_flag = 1;
            heif_image_set_nclx_color_profile(image, nclx);
            options->output_nclx_profile = nclx;
            // Without this libheif leaves nclx out (older macOS could not read it).
            options->macOS_compatibility_workaround_no_nclx_profile = 0;
        }
        heif_image_handle* handle = nullptr;
        if (heif_context_encode_image(context, image, encoder, options, &handle).code == heif_error_Ok) {
            const QByteArray exif = exifWithOrientation(orientation);
            heif_context_add_exif_metadata(context, handle, exif.constData(), int(exif.size()));
            heif_image_handle_release(handle);
            heif_writer writer{1, [](heif_context*, const void* data, size_t size, void* sink) {
                                   static_cast<QByteArray*>(sink)->append(static_cast<const char*>(data), qsizetype(size));
                                   return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
                               }};
            heif_context_write(context, &writer, &out);
        }
    }
    heif_nclx_color_profile_free(nclx);
    heif_encoding_options_free(options);
    if (image) heif_image_release(image);
    if (encoder) heif_encoder_release(encoder);
    heif_context_free(context);
    return out;
}

QByteArray qtWrittenPicture(const QImage& picture, const char* format, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (!writer.write(picture)) return {};
    return bytes;
}

namespace {

// LZW data of one code per index into an eight-colour table: a clear code
// before the table would grow past the codes' width, so every code stays
// four bits wide.
QByteArray gifIndices(const std::vector<int>& indices) {
    constexpr int kMinCodeSize = 3, kClear = 8, kEnd = 9, kWidth = 4, kRun = kClear - 2;
    QByteArray packed;
    quint32 bits = 0;
    int count = 0;
    auto put = [&](int code) {
        bits |= quint32(code) << count;
        count += kWidth;
        while (count >= 8) {
            packed += char(bits & 0xff);
            bits >>= 8;
            count -= 8;
        }
    };
    for (size_t i = 0; i < indices.size(); ++i) {
        if (i % kRun == 0) put(kClear);
        put(indices[i]);
    }
    put(kEnd);
    if (count) packed += char(bits & 0xff);
    QByteArray data(1, char(kMinCodeSize));
    for (qsizetype at = 0; at < packed.size(); at += 255) {
        const QByteArray block = packed.mid(at, 255);
        data += char(block.size()) + block;
    }
    return data + '\0';
}

QByteArray gifFrame(int w, int h, const std::vector<int>& indices, bool transparent) {
    QByteArray frame;
    frame += QByteArray("\x21\xf9\x04", 3) + char(transparent ? 1 : 0) + QByteArray(2, '\0') + '\0' + '\0';
    frame += ',' + u16(0, false) + u16(0, false) + u16(quint16(w), false) + u16(quint16(h), false) + '\0';
    return frame + gifIndices(indices);
}

}  // namespace

QByteArray gifPicture(const QImage& picture, QRgb seeThrough) {
    const int w = picture.width(), h = picture.height();
    std::vector<QRgb> palette;
    if (seeThrough) palette.push_back(seeThrough | 0xff000000);
    std::vector<int> indices;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb c = picture.pixel(x, y) | 0xff000000;
            auto at = std::find(palette.begin(), palette.end(), c);
            if (at == palette.end() && palette.size() < 7) at = palette.insert(palette.end(), c);
            indices.push_back(int(std::min<ptrdiff_t>(at - palette.begin(), 6)));
        }
    palette.resize(8, 0xff808080);  // entry 7: the second frame's grey
    QByteArray gif = QByteArray("GIF89a") + u16(quint16(w), false) + u16(quint16(h), false) + char(0xf2) + '\0' + '\0';
    for (QRgb c : palette) gif += char(qRed(c)) + QByteArray(1, char(qGreen(c))) + char(qBlue(c));
    gif += gifFrame(w, h, indices, seeThrough != 0);
    gif += gifFrame(w, h, std::vector<int>(indices.size(), 7), false);
    return gif + ';';
}
