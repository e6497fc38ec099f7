// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fitting a photograph into the 300 x 300 face box, and the zoom arithmetic.
#include <QImage>
#include <QRect>
#include <QSize>

constexpr int kFaceBoxSide = 300;

// The size at which a W x H picture is drawn in the face box: the longer side
// 300, the other side times the single-precision factor 300 / longer,
// truncated (9 x 9 -> 300 x 299, 640 x 480 -> 300 x 225).
QSize fitIntoFaceBox(int width, int height);

// Face-box pixels to picture pixels: W / 300 if W >= H, else H / 300, in
// single precision.
float zoomFactor(int width, int height);

// The picture region that a face-box rectangle (normalised, w, h >= 1)
// covers: corner and size times k, each truncated.
QRect zoomSourceRect(const QRect& faceBoxRect, float k);

// Copies region of source 1:1 into a new RGB32 picture of region's size;
// pixels beyond the source are white. A region of more than kMaxPicturePixels
// (or an empty one) gives a null picture.
QImage cutRegion(const QImage& source, const QRect& region);

// The draw size after a zoom of a w x h rectangle, integer arithmetic:
// w >= h: 300 x (h * 300 / w), else (w * 300 / h) x 300.
QSize zoomedDrawSize(int w, int h);
