// SPDX-License-Identifier: GPL-3.0-or-later
#include "detection/outline_coverage.h"

#include <cmath>

namespace {

constexpr QRgb kPainted = 0xff000000;

// The pixels outline paints, on a white canvas covering area (face-box
// pixels); the canvas's (0, 0) is area's top-left corner.
QImage paintedPixels(const OutlinePointList& outline, const QRect& area) {
    QImage canvas(area.size(), QImage::Format_RGB32);
    canvas.fill(Qt::white);
    OutlinePointList moved;
    moved.reserve(outline.size());
    for (const QPoint& p : outline) moved.push_back(p - area.topLeft());
    paintOutline(canvas, moved, kPainted);
    return canvas;
}

QRect areaOf(const OutlinePointList& outline) {
    const OutlineBox box = outlineBox(outline);
    return QRect(QPoint(box.minX, box.minY), QPoint(box.maxX, box.maxY));
}

}  // namespace

bool outlineCovers(const OutlinePointList& outline, QPointF point) {
    if (outline.empty()) return false;
    const QRect area = areaOf(outline);
    const QPoint pixel(int(std::floor(point.x())), int(std::floor(point.y())));
    if (!area.contains(pixel)) return false;
    return paintedPixels(outline, area).pixel(pixel - area.topLeft()) == kPainted;
}

bool outlinesOverlap(const OutlinePointList& a, const OutlinePointList& b) {
    if (a.empty() || b.empty()) return false;
    const QRect common = areaOf(a) & areaOf(b);
    if (common.isEmpty()) return false;
    const QImage paintedA = paintedPixels(a, common);
    const QImage paintedB = paintedPixels(b, common);
    for (int y = 0; y < common.height(); ++y) {
        const auto* rowA = reinterpret_cast<const QRgb*>(paintedA.constScanLine(y));
        const auto* rowB = reinterpret_cast<const QRgb*>(paintedB.constScanLine(y));
        for (int x = 0; x < common.width(); ++x)
            if (rowA[x] == kPainted && rowB[x] == kPainted) return true;
    }
    return false;
}
