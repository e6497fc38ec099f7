// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/heif_codec.h"

#include <QColorSpace>
#include <QPointF>
#include <memory>

#include <libheif/heif.h>

namespace {

struct ContextFree {
    void operator()(heif_context* c) const { heif_context_free(c); }
};
struct HandleRelease {
    void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* o) const { heif_decoding_options_free(o); }
};

// An nclx profile's primaries with the transfer curve of sRGB (the one of
// BT.709 and BT.2020 differs from it only in the darkest shades; the
// picture is shown on an sRGB screen either way). Primaries of BT.709 or
// none named are sRGB's own: no space, nothing to convert.
QColorSpace nclxColourSpace(const heif_color_profile_nclx& nclx) {
    if (nclx.color_primaries == heif_color_primaries_ITU_R_BT_709_5 ||
        nclx.color_primaries == heif_color_primaries_unspecified)
        return {};
    const auto transfer = nclx.transfer_characteristics == heif_transfer_characteristic_linear
                              ? QColorSpace::TransferFunction::Linear
                              : QColorSpace::TransferFunction::SRgb;
    return QColorSpace(QPointF(nclx.color_primary_white_x, nclx.color_primary_white_y),
                       QPointF(nclx.color_primary_red_x, nclx.color_primary_red_y),
                       QPointF(nclx.color_primary_green_x, nclx.color_primary_green_y),
                       QPointF(nclx.color_primary_blue_x, nclx.color_primary_blue_y), transfer);
}

// The colour space the picture's profile names: an ICC profile where there
// is one (a phone's Display P3), else the nclx one.
QColorSpace colourSpaceOf(const heif_image_handle* handle) {
    switch (heif_image_handle_get_color_profile_type(handle)) {
    case heif_color_profile_type_rICC:
    case heif_color_profile_type_prof: {
        QByteArray icc(qsizetype(heif_image_handle_get_raw_color_profile_size(handle)), Qt::Uninitialized);
        if (icc.isEmpty() || heif_image_handle_get_raw_color_profile(handle, icc.data()).code != heif_error_Ok)
            return {};
        return QColorSpace::fromIccProfile(icc);
    }
    case heif_color_profile_type_nclx: {
        // libheif may hand over a profile with an error (one of unknown
        // primaries, say); it is ours to free either way.
        heif_color_profile_nclx* nclx = nullptr;
        const bool read = heif_image_handle_get_nclx_color_profile(handle, &nclx).code == heif_error_Ok;
        const QColorSpace space = read && nclx ? nclxColourSpace(*nclx) : QColorSpace();
        heif_nclx_color_profile_free(nclx);
        return space;
    }
    default: return {};
    }
}

bool withinCap(qint64 width, qint64 height, qint64 maxPixels) {
    return width > 0 && height > 0 && width * height <= maxPixels;
}

}  // namespace

QImage decodeHeifData(QByteArrayView data, qint64 maxPixels) {
    const std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (!context) return {};
    if (heif_context_read_from_memory_without_copy(context.get(), data.data(), size_t(data.size()), nullptr).code !=
        heif_error_Ok)
        return {};
    heif_image_handle* primary = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &primary).code != heif_error_Ok || !primary) return {};
    const std::unique_ptr<heif_image_handle, HandleRelease> handle(primary);

    // The coded size (before a crop) is what the decoder allocates.
    const int width = heif_image_handle_get_width(primary), height = heif_image_handle_get_height(primary);
    if (!withinCap(width, height, maxPixels)) return {};
    const int codedWidth = heif_image_handle_get_ispe_width(primary);
    const int codedHeight = heif_image_handle_get_ispe_height(primary);
    if (codedWidth > 0 && codedHeight > 0 && !withinCap(codedWidth, codedHeight, maxPixels)) return {};

    const std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
    if (!options) return {};
    // The library that runs may be older than the one built against: its
    // options end where its version says.
    options->ignore_transformations = 0;
    if (options->version >= 2) options->convert_hdr_to_8bit = 1;
    // Damaged data is refused, not shown as far as it goes.
    if (options->version >= 3) options->strict_decoding = 1;
    const bool alpha = heif_image_handle_has_alpha_channel(primary) != 0;
    heif_image* decoded = nullptr;
    if (heif_decode_image(primary, &decoded, heif_colorspace_RGB,
                          alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get())
                .code != heif_error_Ok ||
        !decoded)
        return {};

    // The picture keeps libheif's pixels, and lets them go with it.
    int stride = 0;
    uint8_t* pixels = heif_image_get_plane(decoded, heif_channel_interleaved, &stride);
    const int w = heif_image_get_width(decoded, heif_channel_interleaved);
    const int h = heif_image_get_height(decoded, heif_channel_interleaved);
    if (!pixels || !withinCap(w, h, maxPixels) || stride < w * (alpha ? 4 : 3)) {
        heif_image_release(decoded);
        return {};
    }
    QImage picture(pixels, w, h, stride, alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888,
                   [](void* image) { heif_image_release(static_cast<heif_image*>(image)); }, decoded);
    if (picture.isNull()) {
        heif_image_release(decoded);
        return {};
    }
    picture.setColorSpace(colourSpaceOf(primary));
    return picture;
}
