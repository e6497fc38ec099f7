// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/outline.h"

#include "pictures/face_box_fit.h"

#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <algorithm>

namespace {

const QColor kStrokeBlue(0, 0, 255);  // clBlue

QPolygon toPolygon(const OutlinePointList& points) {
    return QPolygon(QList<QPoint>(points.begin(), points.end()));
}

// A painter that sets whole pixels only, so that painted regions have one
// exact colour and the colour picker reads back what was chosen.
void preparePainter(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
}

// Cosmetic one-pixel pens: lines land exactly on the pixels of their points,
// where a geometric 1-pixel stroke would straddle two rows.
QPen onePixelPen(const QColor& colour, Qt::PenStyle style = Qt::SolidLine) {
    QPen pen(colour);
    pen.setWidth(0);
    pen.setCosmetic(true);
    pen.setStyle(style);
    return pen;
}

}  // namespace

OutlineBox outlineBox(const OutlinePointList& points) {
    OutlineBox box;
    if (points.empty()) return box;
    box.minX = box.maxX = points.front().x();
    box.minY = box.maxY = points.front().y();
    for (const QPoint& p : points) {
        box.minX = std::min(box.minX, p.x());
        box.maxX = std::max(box.maxX, p.x());
        box.minY = std::min(box.minY, p.y());
        box.maxY = std::max(box.maxY, p.y());
    }
    return box;
}

void paintOutline(QImage& canvas, const OutlinePointList& points, QRgb colour) {
    if (points.empty() || canvas.isNull()) return;
    QPainter painter(&canvas);
    preparePainter(painter);
    const QColor c = QColor::fromRgb(colour);
    painter.setPen(onePixelPen(c));
    painter.setBrush(c);
    painter.drawPolygon(toPolygon(points), Qt::OddEvenFill);
}

void drawDottedStroke(QImage& canvas, const OutlinePointList& points) {
    if (points.empty() || canvas.isNull()) return;
    QPainter painter(&canvas);
    preparePainter(painter);
    painter.setPen(onePixelPen(kStrokeBlue, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(toPolygon(points));
}

void drawDottedRectangle(QImage& canvas, QPoint a, QPoint b) {
    if (canvas.isNull()) return;
    QPainter painter(&canvas);
    preparePainter(painter);
    painter.setPen(onePixelPen(kStrokeBlue, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    // A closed four-point outline puts the edges exactly on both corners.
    painter.drawPolygon(QPolygon({a, QPoint(b.x(), a.y()), b, QPoint(a.x(), b.y())}));
}

QImage cutPartPicture(const QImage& face, const OutlineBox& box) {
    return cutRegion(face, QRect(box.minX, box.minY, box.width(), box.height()));
}
