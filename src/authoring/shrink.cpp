// SPDX-License-Identifier: GPL-3.0-or-later
#include "authoring/shrink.h"

#include "pictures/stretch.h"

#include <algorithm>
#include <cmath>

float shrinkFactor(const std::array<QSize, 4>& partSizes) {
    int longest = 0;
    for (const QSize& size : partSizes)
        longest = std::max({longest, size.width(), size.height()});
    if (longest <= kMaxPartSide) return 1.0f;
    return static_cast<float>(kMaxPartSide / static_cast<double>(longest));
}

int scaleTruncated(int value, float k) {
    // Formed exactly: in float 120 * (85 / 120) would round up to 85.
    return static_cast<int>(std::trunc(static_cast<double>(value) * static_cast<double>(k)));
}

QImage shrinkPicture(const QImage& picture, float k) {
    if (k == 1.0f) return picture;
    // A side never shrinks to nothing: a JPEG needs at least one pixel.
    const int width = std::max(1, scaleTruncated(picture.width(), k));
    const int height = std::max(1, scaleTruncated(picture.height(), k));
    return stretchNearest(picture, width, height);
}

NewFacePictures buildNewFace(const QImage& unpaintedFace, const QImage& paintedFace,
                             const std::array<QImage, 4>& parts,
                             const std::array<QPoint, 4>& partCorners) {
    std::array<QSize, 4> sizes;
    for (int i = 0; i < 4; ++i) sizes[i] = parts[i].size();
    const float k = shrinkFactor(sizes);

    NewFacePictures face;
    face.pictures[0] = shrinkPicture(unpaintedFace, k);
    for (int i = 0; i < 4; ++i) face.pictures[i + 1] = shrinkPicture(parts[i], k);
    face.pictures[5] = shrinkPicture(paintedFace, k);
    for (int slot = 1; slot <= 4; ++slot) {
        face.answer[slot - 1] = scaleTruncated(partCorners[slot - 1].x(), k);
        face.answer[slot + 3] = scaleTruncated(partCorners[slot - 1].y(), k);
    }
    return face;
}
