// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/face_box_fit.h"

#include "pictures/jpeg_codec.h"

#include <QPainter>
#include <cmath>

namespace {

// The product of an integer and a single-precision factor, formed exactly
// (in double) and truncated toward zero. Forming it in float would round
// 9 * (300 / 9) up to 300 instead of leaving it just below.
int truncatedProduct(int value, float factor) {
    return static_cast<int>(std::trunc(static_cast<double>(value) * static_cast<double>(factor)));
}

}  // namespace

QSize fitIntoFaceBox(int width, int height) {
    if (width <= 0 || height <= 0) return {0, 0};
    if (width >= height) {
        const float s = static_cast<float>(kFaceBoxSide / static_cast<double>(width));
        return {kFaceBoxSide, truncatedProduct(height, s)};
    }
    const float s = static_cast<float>(kFaceBoxSide / static_cast<double>(height));
    return {truncatedProduct(width, s), kFaceBoxSide};
}

float zoomFactor(int width, int height) {
    const int longer = width >= height ? width : height;
    return static_cast<float>(longer / static_cast<double>(kFaceBoxSide));
}

QRect zoomSourceRect(const QRect& faceBoxRect, float k) {
    return QRect(truncatedProduct(faceBoxRect.x(), k), truncatedProduct(faceBoxRect.y(), k),
                 truncatedProduct(faceBoxRect.width(), k),
                 truncatedProduct(faceBoxRect.height(), k));
}

QImage cutRegion(const QImage& source, const QRect& region) {
    if (region.width() <= 0 || region.height() <= 0) return {};
    // A rectangle dragged far beyond a large picture would ask for more memory
    // than any picture the program accepts; such a cut is refused.
    if (static_cast<qint64>(region.width()) * region.height() > kMaxPicturePixels) return {};
    QImage cut(region.size(), QImage::Format_RGB32);
    if (cut.isNull()) return {};
    cut.fill(Qt::white);
    const QRect inside = region.intersected(source.rect());
    if (!inside.isEmpty()) {
        QPainter painter(&cut);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(inside.topLeft() - region.topLeft(), source, inside);
    }
    return cut;
}

QSize zoomedDrawSize(int w, int h) {
    if (w <= 0 || h <= 0) return {0, 0};
    // 64 bits: a rectangle dragged far outside the box must not overflow.
    if (w >= h)
        return {kFaceBoxSide, static_cast<int>(static_cast<qint64>(h) * kFaceBoxSide / w)};
    return {static_cast<int>(static_cast<qint64>(w) * kFaceBoxSide / h), kFaceBoxSide};
}
