// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/jpeg_codec.h"

#include "files/app_error.h"
#include "files/atomic_write.h"
#include "pictures/orientation.h"
#include "pictures/upright_bands.h"
#include "pictures/picture_bytes.h"
#include "pictures/stretch.h"

#include <QColorSpace>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

namespace {

// Real progressive files have about ten scans; a file of thousands of tiny
// scans would only keep the decoder busy.
constexpr int kMaxScans = 500;

// libjpeg reports errors through these callbacks; instead of ending the
// process they jump back to the guarded step with libjpeg's message code.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    int code = 0;
};

[[noreturn]] void jumpOut(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    err->code = cinfo->err->msg_code;
    std::longjmp(err->jump, 1);
}

void onErrorExit(j_common_ptr cinfo) { jumpOut(cinfo); }

// Warnings are accepted except the picture data ending early (the file ends,
// or its end marker comes before the last block): libjpeg would fill the rest
// with grey, which is a damaged file, not a picture.
void onMessage(j_common_ptr cinfo, int level) {
    if (level < 0) {
        const int code = cinfo->err->msg_code;
        if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER) jumpOut(cinfo);
        ++cinfo->err->num_warnings;
    }
}

void silent(j_common_ptr) {}

void refuseTooCostly(j_common_ptr cinfo) {
    cinfo->err->msg_code = JERR_IMAGE_TOO_BIG;
    jumpOut(cinfo);
}

void limitScans(j_common_ptr cinfo) {
    if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
        refuseTooCostly(cinfo);
}

// What libjpeg may take for its own buffers: a progressive or multi-scan file
// keeps every coefficient of the picture (two bytes each, up to four full
// components) until its last scan. Beyond it libjpeg reports an error, as it
// has no backing store.
long libjpegMemoryLimit(qint64 maxPixels) {
    constexpr qint64 kSlack = qint64(32) << 20;
    return long(std::min<qint64>(maxPixels, qint64(1) << 40) * 8 + kSlack);
}

void installErrorManager(ErrorManager& err) {
    jpeg_std_error(&err.pub);
    err.pub.error_exit = onErrorExit;
    err.pub.emit_message = onMessage;
    err.pub.output_message = silent;
}

// Runs one libjpeg call; false (with err.code set) when libjpeg raised an
// error. Steps hold only plain data, so the jump skips no destructor.
template <typename Step>
bool guarded(ErrorManager& err, Step step) {
    if (setjmp(err.jump)) return false;
    step();
    return true;
}

void run(ErrorManager& err, auto step) {
    if (!guarded(err, step)) throwJpegError(err.code);
}

struct Decompressor {
    jpeg_decompress_struct cinfo{};
    ErrorManager err;
    bool created = false;
    ~Decompressor() {
        if (created) jpeg_destroy_decompress(&cinfo);
    }
};

struct Compressor {
    jpeg_compress_struct cinfo{};
    ErrorManager err;
    bool created = false;
    ~Compressor() {
        if (created) jpeg_destroy_compress(&cinfo);
    }
};

// A destination that appends the encoded bytes to a QByteArray.
struct ByteArrayDestination {
    jpeg_destination_mgr pub;
    QByteArray* out;
    JOCTET buffer[16384];
};

void initDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<ByteArrayDestination*>(cinfo->dest);
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = sizeof dest->buffer;
}

boolean emptyDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<ByteArrayDestination*>(cinfo->dest);
    dest->out->append(reinterpret_cast<const char*>(dest->buffer), sizeof dest->buffer);
    initDestination(cinfo);
    return TRUE;
}

void termDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<ByteArrayDestination*>(cinfo->dest);
    dest->out->append(reinterpret_cast<const char*>(dest->buffer),
                      sizeof dest->buffer - dest->pub.free_in_buffer);
}

// One decoded scanline (grey, RGB or CMYK samples) into a row of RGB32.
void convertRow(const jpeg_decompress_struct& cinfo, const JSAMPLE* in, QRgb* out) {
    const JDIMENSION width = cinfo.output_width;
    switch (cinfo.out_color_space) {
    case JCS_GRAYSCALE:
        for (JDIMENSION x = 0; x < width; ++x) out[x] = qRgb(in[x], in[x], in[x]);
        break;
    case JCS_CMYK: {
        // Adobe writes CMYK inverted (255 = no ink); other writers do not.
        const bool inverted = cinfo.saw_Adobe_marker;
        for (JDIMENSION x = 0; x < width; ++x, in += 4) {
            int c = in[0], m = in[1], y = in[2], k = in[3];
            if (!inverted) {
                c = 255 - c;
                m = 255 - m;
                y = 255 - y;
                k = 255 - k;
            }
            out[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
        }
        break;
    }
    default:
        for (JDIMENSION x = 0; x < width; ++x, in += 3) out[x] = qRgb(in[0], in[1], in[2]);
        break;
    }
}

}  // namespace

namespace {

// What a photograph records beside its pixels, read from its markers: its
// orientation and its colour space (none when it has no profile, or one Qt
// cannot read).
struct PhotoMarkers {
    int orientation = 1;
    QColorSpace space;
};

// The first Exif APP1 marker's orientation and the ICC profile of the APP2
// markers, once the header has been read with both kinds of marker saved.
void readPhotoMarkers(ErrorManager& err, jpeg_decompress_struct* cinfo, PhotoMarkers& markers) {
    for (jpeg_saved_marker_ptr m = cinfo->marker_list; m; m = m->next) {
        if (m->marker != JPEG_APP0 + 1) continue;
        const QByteArrayView payload(reinterpret_cast<const char*>(m->data), qsizetype(m->data_length));
        if (!payload.startsWith(QByteArrayView("Exif\0\0", 6))) continue;
        markers.orientation = exifOrientation(payload);
        break;
    }
    JOCTET* icc = nullptr;
    unsigned int iccBytes = 0;
    // A profile whose pieces do not add up is left out, as if there were none.
    if (guarded(err, [&] { jpeg_read_icc_profile(cinfo, &icc, &iccBytes); }) && icc) {
        markers.space = QColorSpace::fromIccProfile(QByteArray(reinterpret_cast<const char*>(icc), qsizetype(iccBytes)));
    }
    std::free(icc);
}

// The decode itself; with wanted, at the smallest scale n/8 whose output is
// at least wanted(the picture's own size) in both directions. With markers,
// the photograph's orientation and colour profile are read too, and the
// picture comes upright and in sRGB.
QImage decodeJpeg(QByteArrayView data, qint64 maxPixels, const std::function<QSize(QSize)>& wanted,
                  QSize* fullSize, PhotoMarkers* markers = nullptr) {    Decompressor d;
    jpeg_decompress_struct* cinfo = &d.cinfo;
    cinfo->err = &d.err.pub;
    installErrorManager(d.err);
    run(d.err, [cinfo] { jpeg_create_decompress(cinfo); });
    d.created = true;
    cinfo->mem->max_memory_to_use = libjpegMemoryLimit(maxPixels);
    jpeg_progress_mgr progress{};
    progress.progress_monitor = limitScans;
    cinfo->progress = &progress;
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    const auto size = static_cast<unsigned long>(data.size());
    run(d.err, [cinfo, bytes, size] { jpeg_mem_src(cinfo, bytes, size); });
    if (markers)
        run(d.err, [cinfo] {
            jpeg_save_markers(cinfo, JPEG_APP0 + 1, 0xffff);
            jpeg_save_markers(cinfo, JPEG_APP0 + 2, 0xffff);
        });
    run(d.err, [cinfo] { jpeg_read_header(cinfo, TRUE); });

    if (qint64(cinfo->image_width) * qint64(cinfo->image_height) > maxPixels) throwJpegError(JERR_IMAGE_TOO_BIG);
    const QSize full(int(cinfo->image_width), int(cinfo->image_height));
    if (fullSize) *fullSize = full;
    if (markers) readPhotoMarkers(d.err, cinfo, *markers);

    switch (cinfo->jpeg_color_space) {
    case JCS_GRAYSCALE: cinfo->out_color_space = JCS_GRAYSCALE; break;
    case JCS_CMYK:
    case JCS_YCCK: cinfo->out_color_space = JCS_CMYK; break;
    default:
        // libjpeg-turbo writes 0xAARRGGBB words itself, straight into the picture.
#if defined(JCS_EXTENSIONS) && Q_BYTE_ORDER == Q_LITTLE_ENDIAN
        cinfo->out_color_space = JCS_EXT_BGRX;
#else
        cinfo->out_color_space = JCS_RGB;
#endif
        break;
    }
    if (wanted) {
        const QSize least = wanted(full);
        cinfo->scale_denom = 8;
        for (cinfo->scale_num = 1; cinfo->scale_num < 8; ++cinfo->scale_num) {
            run(d.err, [cinfo] { jpeg_calc_output_dimensions(cinfo); });
            if (int(cinfo->output_width) >= least.width() && int(cinfo->output_height) >= least.height()) break;
        }
    }
    run(d.err, [cinfo] { jpeg_start_decompress(cinfo); });

    QImage image(int(cinfo->output_width), int(cinfo->output_height), QImage::Format_RGB32);
    if (image.isNull()) throwJpegError(JERR_OUT_OF_MEMORY);
    // A photograph is turned upright and converted to sRGB behind the
    // decoder, a band of rows at a time.
    std::optional<UprightBands> upright;
    if (markers) {
        try {
            upright.emplace(image, markers->orientation, markers->space);
        } catch (const std::bad_alloc&) {
            throwJpegError(JERR_OUT_OF_MEMORY);
        }
    }
    uchar* const pixels = image.bits();
    const qsizetype line = image.bytesPerLine();
    const bool direct = cinfo->output_components == 4 && cinfo->out_color_space != JCS_CMYK;
    std::vector<JSAMPLE> row(direct ? 0 : size_t(cinfo->output_width) * size_t(cinfo->output_components));
    while (cinfo->output_scanline < cinfo->output_height) {
        const int y = int(cinfo->output_scanline);
        uchar* const target = pixels + y * line;
        JSAMPROW rowPointer = direct ? target : row.data();
        run(d.err, [cinfo, &rowPointer] { jpeg_read_scanlines(cinfo, &rowPointer, 1); });
        if (!direct) convertRow(*cinfo, row.data(), reinterpret_cast<QRgb*>(target));
        if (upright && (y + 1) % UprightBands::kBandRows == 0) upright->rowsDecoded(y + 1);
    }
    // Every pixel is in; whatever follows the last scan (even a missing end
    // marker) cannot change the picture.
    jpeg_abort_decompress(cinfo);
    if (!upright) return image;
    try {
        return upright->finish();
    } catch (const std::bad_alloc&) {
        throwJpegError(JERR_OUT_OF_MEMORY);
    }
}

}  // namespace

QImage decodeJpegData(QByteArrayView data, qint64 maxPixels) { return decodeJpeg(data, maxPixels, {}, nullptr); }

QImage decodeJpegFitted(QByteArrayView data, QSize box, QSize* fullSize, qint64 maxPixels) {
    QSize drawn;
    const QImage scaled = decodeJpeg(
        data, maxPixels,
        [&](QSize full) {
            drawn = proportionalSize(full, box);
            return drawn.expandedTo(QSize(1, 1));
        },
        fullSize);
    // A picture drawn with no width or height keeps what was decoded: the
    // control still knows it holds a picture.
    if (drawn.isEmpty() || scaled.size() == drawn) return scaled;
    return stretchNearest(scaled, drawn.width(), drawn.height());
}

namespace {

// Only the long side counts; a picture no larger is decoded in full.
std::function<QSize(QSize)> longSideAtLeast(int longSide) {
    return [longSide](QSize full) {
        if (std::max(full.width(), full.height()) <= longSide) return full;
        return full.width() >= full.height() ? QSize(longSide, 1) : QSize(1, longSide);
    };
}

}  // namespace

QImage decodeJpegReduced(QByteArrayView data, int longSide, QSize* fullSize, qint64 maxPixels) {
    return decodeJpeg(data, maxPixels, longSideAtLeast(longSide), fullSize);
}

QImage decodeJpegPhoto(QByteArrayView data, int longSide, qint64 maxPixels) {
    PhotoMarkers markers;
    return decodeJpeg(data, maxPixels, longSideAtLeast(longSide), nullptr, &markers);
}

namespace {

QByteArray readJpegFile(const QString& path, qint64 maxPixels) {
    const PictureBytes file = readPictureBytes(path, pictureFileByteLimit(maxPixels));
    if (file.status == PictureBytes::TooLarge) throwJpegError(JERR_IMAGE_TOO_BIG);
    if (file.status != PictureBytes::Read) throwFileOpenError(path);
    return file.bytes;
}

}  // namespace

QImage decodeJpegFile(const QString& path, qint64 maxPixels) {
    return decodeJpegData(readJpegFile(path, maxPixels), maxPixels);
}


QByteArray encodeJpeg(const QImage& image, int quality) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    QByteArray out;
    Compressor c;
    jpeg_compress_struct* cinfo = &c.cinfo;
    cinfo->err = &c.err.pub;
    installErrorManager(c.err);
    run(c.err, [cinfo] { jpeg_create_compress(cinfo); });
    c.created = true;

    ByteArrayDestination dest{};
    dest.pub.init_destination = initDestination;
    dest.pub.empty_output_buffer = emptyDestination;
    dest.pub.term_destination = termDestination;
    dest.out = &out;
    cinfo->dest = &dest.pub;

    cinfo->image_width = JDIMENSION(std::max(0, rgb.width()));
    cinfo->image_height = JDIMENSION(std::max(0, rgb.height()));
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_RGB;
    const int q = std::clamp(quality, 1, 100);
    run(c.err, [cinfo, q] {
        jpeg_set_defaults(cinfo);
        jpeg_set_quality(cinfo, q, TRUE);
        jpeg_start_compress(cinfo, TRUE);
    });
    while (cinfo->next_scanline < cinfo->image_height) {
        auto row = const_cast<JSAMPROW>(rgb.constScanLine(int(cinfo->next_scanline)));
        run(c.err, [cinfo, &row] { jpeg_write_scanlines(cinfo, &row, 1); });
    }
    run(c.err, [cinfo] { jpeg_finish_compress(cinfo); });
    return out;
}

void writeJpegFile(const QString& path, const QImage& image) {
    writeFileAtomically(path, encodeJpeg(image));
}
