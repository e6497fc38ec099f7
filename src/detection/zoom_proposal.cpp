// SPDX-License-Identifier: GPL-3.0-or-later
#include "detection/zoom_proposal.h"

#include "pictures/face_box_fit.h"

#include <QLineF>
#include <algorithm>
#include <cmath>

QRect zoomSquare(const FaceLandmarks& landmarks, QSize photoSize) {
    double minX = landmarks[0].x(), maxX = minX, minY = landmarks[0].y(), maxY = minY;
    for (const QPointF& p : landmarks) {
        minX = std::min(minX, p.x());
        maxX = std::max(maxX, p.x());
        minY = std::min(minY, p.y());
        maxY = std::max(maxY, p.y());
    }
    const double jaw =
        QLineF(landmarks[Landmarks::kJawLeft], landmarks[Landmarks::kJawRight]).length();
    const int shorter = std::min(photoSize.width(), photoSize.height());
    const int side = std::clamp(int(std::lround(kZoomJawWidths * jaw)), 1, std::max(1, shorter));
    const int left = int(std::lround((minX + maxX) / 2 - side / 2.0));
    const int top = int(std::lround((minY + maxY) / 2 - side / 2.0));
    return QRect(std::clamp(left, 0, std::max(0, photoSize.width() - side)),
                 std::clamp(top, 0, std::max(0, photoSize.height() - side)), side, side);
}

ZoomProposal zoomInto(const QImage& photo, const QRect& square) {
    ZoomProposal zoom;
    const float k = zoomFactor(photo.width(), photo.height());
    if (photo.isNull() || k <= 0) return zoom;
    // Rounding down the corner and the side keeps the cut inside the photo:
    // the game truncates each of them again when it multiplies by k.
    const int x = int(std::ceil(square.x() / double(k)));
    const int y = int(std::ceil(square.y() / double(k)));
    const int side = std::min(int(std::floor((square.x() + square.width()) / double(k))) - x,
                              int(std::floor((square.y() + square.height()) / double(k))) - y);
    if (side < 1) return zoom;
    zoom.faceBoxRect = QRect(x, y, side, side);
    zoom.sourceRect = zoomSourceRect(zoom.faceBoxRect, k);
    zoom.picture = cutRegion(photo, zoom.sourceRect);
    zoom.drawSize = zoomedDrawSize(side, side);
    return zoom;
}
