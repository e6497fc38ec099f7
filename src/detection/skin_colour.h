// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The paint for the proposed outlines: the colour of the skin, the median of
// both cheeks, so that a painted part blends into the face. (The median of the
// part's own pixels would paint a mouth-coloured patch over the mouth.)
#include "detection/face_landmarks.h"

#include <QImage>

// The per-channel median of two small squares, one in each cheek, of the
// face box as shown (landmarks in face-box pixels). White when both squares
// lie outside the picture.
QRgb cheekColour(const QImage& faceBox, const FaceLandmarks& landmarks, QSize drawSize);
