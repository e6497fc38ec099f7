// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A made-up face in the landmark model's 68-point order: the proportions of
// an average frontal face, jaw width 1, turned by tiltDegrees about its
// centre and placed with that centre at centre.
#include "detection/face_landmarks.h"

#include <QTransform>

inline FaceLandmarks syntheticFace(QPointF centre, double jawWidth, double tiltDegrees = 0) {
    static const double unit[kLandmarkCount][2] = {
        {-.50, -.05}, {-.49, .04}, {-.47, .13}, {-.44, .22}, {-.39, .31}, {-.32, .39},  // jaw
        {-.24, .46}, {-.13, .52}, {0, .55}, {.13, .52}, {.24, .46}, {.32, .39}, {.39, .31},
        {.44, .22}, {.47, .13}, {.49, .04}, {.50, -.05},
        {-.36, -.20}, {-.29, -.24}, {-.22, -.25}, {-.15, -.24}, {-.08, -.22},  // brows
        {.08, -.22}, {.15, -.24}, {.22, -.25}, {.29, -.24}, {.36, -.20},
        {0, -.10}, {0, -.03}, {0, .04}, {0, .11},  // bridge, nostrils
        {-.09, .15}, {-.045, .165}, {0, .17}, {.045, .165}, {.09, .15},
        {-.29, -.10}, {-.23, -.13}, {-.17, -.13}, {-.11, -.10}, {-.17, -.075}, {-.23, -.075},  // eyes
        {.11, -.10}, {.17, -.13}, {.23, -.13}, {.29, -.10}, {.23, -.075}, {.17, -.075},
        {-.19, .30}, {-.12, .26}, {-.05, .245}, {0, .25}, {.05, .245}, {.12, .26}, {.19, .30},  // lips
        {.12, .34}, {.05, .365}, {0, .37}, {-.05, .365}, {-.12, .34},
        {-.16, .30}, {-.05, .29}, {0, .29}, {.05, .29}, {.16, .30}, {.05, .31}, {0, .315}, {-.05, .31}};
    QTransform place;
    place.translate(centre.x(), centre.y()).rotate(tiltDegrees).scale(jawWidth, jawWidth);
    FaceLandmarks points;
    for (int i = 0; i < kLandmarkCount; ++i) points[size_t(i)] = place.map(QPointF(unit[i][0], unit[i][1]));
    return points;
}
