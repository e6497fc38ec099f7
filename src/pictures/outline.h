// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Freehand outlines of the parts: bounding boxes, the even-odd fill that
// paints a part over, and the dotted stroke shown while drawing. No
// antialiasing anywhere: every pixel is either painted or not.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <vector>

using OutlinePointList = std::vector<QPoint>;

struct OutlineBox {
    int minX = 0, maxX = 0, minY = 0, maxY = 0;
    int width() const { return maxX - minX; }
    int height() const { return maxY - minY; }
    // No width or no height: the outline makes no part.
    bool degenerate() const { return minX == maxX || minY == maxY; }
};

OutlineBox outlineBox(const OutlinePointList& points);

// Fills the closed polygon through points with colour, alternate (even-odd)
// rule, and draws its edges in the same colour with a 1-pixel solid pen.
// An empty list paints nothing.
void paintOutline(QImage& canvas, const OutlinePointList& points, QRgb colour);

// The open polyline through points, dotted blue, 1 pixel.
void drawDottedStroke(QImage& canvas, const OutlinePointList& points);

// The dotted blue hollow rectangle with corners a and b (the zoom rectangle).
void drawDottedRectangle(QImage& canvas, QPoint a, QPoint b);

// The part picture: box.width() x box.height() pixels from (minX, minY) of
// face; pixels beyond the face are white.
QImage cutPartPicture(const QImage& face, const OutlineBox& box);
