// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/stretch.h"

#include <algorithm>
#include <vector>

namespace {

QImage::Format workingFormat(const QImage& source) {
    return source.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
}

// For each destination offset 0 .. count - 1 (measured from the start of a
// span of length span), the source index offset * sourceLength / span.
std::vector<int> sourceIndices(qint64 first, qint64 count, qint64 span, qint64 sourceLength) {
    std::vector<int> indices(size_t(std::max<qint64>(count, 0)));
    for (qint64 i = 0; i < count; ++i) indices[size_t(i)] = int((first + i) * sourceLength / span);
    return indices;
}

}  // namespace

QImage stretchNearest(const QImage& source, int width, int height) {
    if (source.isNull() || width <= 0 || height <= 0) return QImage();
    const QImage src = source.convertToFormat(workingFormat(source));
    QImage result(width, height, src.format());
    if (result.isNull()) return QImage();
    const std::vector<int> columns = sourceIndices(0, width, width, src.width());
    for (int y = 0; y < height; ++y) {
        const int sy = int(qint64(y) * src.height() / height);
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(sy));
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < width; ++x) out[x] = in[columns[size_t(x)]];
    }
    return result;
}

QSize proportionalSize(QSize picture, QSize box) {
    const qint64 pw = picture.width(), ph = picture.height();
    const qint64 bw = box.width(), bh = box.height();
    if (pw <= 0 || ph <= 0 || bw <= 0 || bh <= 0) return QSize(0, 0);
    if (pw * bh >= ph * bw) return QSize(int(bw), int(ph * bw / pw));
    return QSize(int(pw * bh / ph), int(bh));
}

void stretchDraw(QImage& canvas, const QRect& target, const QImage& source) {
    // An empty or inverted target draws nothing.
    if (canvas.isNull() || source.isNull() || target.width() <= 0 || target.height() <= 0) return;
    const QImage::Format canvasFormat = canvas.format();
    const bool direct = canvasFormat == QImage::Format_RGB32 ||
                        canvasFormat == QImage::Format_ARGB32 ||
                        canvasFormat == QImage::Format_ARGB32_Premultiplied;
    if (!direct) canvas.convertTo(QImage::Format_ARGB32);
    const QImage src = source.convertToFormat(canvas.format() == QImage::Format_RGB32
                                                  ? QImage::Format_RGB32
                                                  : canvas.format());

    const QRect visible = target & canvas.rect();
    if (!visible.isEmpty()) {
        const qint64 tw = target.width(), th = target.height();
        const std::vector<int> columns =
            sourceIndices(visible.left() - target.left(), visible.width(), tw, src.width());
        for (int y = visible.top(); y <= visible.bottom(); ++y) {
            const int sy = int(qint64(y - target.top()) * src.height() / th);
            const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(sy));
            auto* out = reinterpret_cast<QRgb*>(canvas.scanLine(y)) + visible.left();
            for (int x = 0; x < visible.width(); ++x) out[x] = in[columns[size_t(x)]];
        }
    }
    if (!direct) canvas.convertTo(canvasFormat);
}
