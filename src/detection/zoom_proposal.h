// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The zoom proposed for a found face: a square about 2.2 jaw widths wide
// around it, so that drawn 300 x 300 the parts come out the size of the
// catalogue's parts (eyes about 45, a mouth about 70 pixels wide) and need no
// shrinking when the face is registered.
#include "detection/face_landmarks.h"

#include <QImage>
#include <QRect>
#include <QSize>

constexpr double kZoomJawWidths = 2.2;

// The square in photo pixels: centred on the landmarks, its side 2.2 jaw
// widths (never more than the photo's shorter side), moved inside the photo.
QRect zoomSquare(const FaceLandmarks& landmarks, QSize photoSize);

// A zoom exactly as the player makes it with 「ズーム」: the rectangle dragged
// on the face box, and what the game's arithmetic makes of it.
struct ZoomProposal {
    // The drag: BoxMinX[6] = left, BoxMaxX[6] = left + width, likewise Y.
    QRect faceBoxRect;
    QRect sourceRect;   // the region of the photo that it cuts
    QImage picture;     // that region: the new source picture
    QSize drawSize;     // the new DrawWidth x DrawHeight
    bool isNull() const { return picture.isNull(); }
};

// The zoom whose face-box rectangle cuts as much of square as face-box
// pixels can say, and never more than the photo. Null when square is smaller
// than one face-box pixel.
ZoomProposal zoomInto(const QImage& photo, const QRect& square);
