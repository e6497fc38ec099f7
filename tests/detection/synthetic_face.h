#pragma once
// A made-up face in the landmark model's 68-point order: the proportions of
// an average frontal face, jaw width 1, turned by tiltDegrees about its
// centre and placed with that centre at centre.
#include "detection/face_landmarks.h"

#include <QTransform>

inline FaceLandmarks syntheticFace(QPointF centre, double jawWidth, double tiltDegrees = 0) {
    static const double unit[kLandmarkCount][2] = {
        // jaw 0-16, from the picture's left ear round the chin
        {-.50, -.05}, {-.49, .04}, {-.47, .13}, {-.44, .22}, {-.39, .31}, {-.32, .39}, {-.24, .46},
        {-.13, .52}, {0, .55}, {.13, .52}, {.24, .46}, {.32, .39}, {.39, .31}, {.44, .22},
        {.47, .13}, {.49, .04}, {.50, -.05},
        // brows 17-21, 22-26
        {-.36, -.20}, {-.29, -.24}, {-.22, -.25}, {-.15, -.24}, {-.08, -.22},
        {.08, -.22}, {.15, -.24}, {.22, -.25}, {.29, -.24}, {.36, -.20},
        // bridge 27-30, nostrils 31-35
        {0, -.10}, {0, -.03}, {0, .04}, {0, .11}, {-.09, .15}, {-.045, .165}, {0, .17},
        {.045, .165}, {.09, .15},
        // eyes 36-41, 42-47
        {-.29, -.10}, {-.23, -.13}, {-.17, -.13}, {-.11, -.10}, {-.17, -.075}, {-.23, -.075},
        {.11, -.10}, {.17, -.13}, {.23, -.13}, {.29, -.10}, {.23, -.075}, {.17, -.075},
        // outer lips 48-59, inner lips 60-67
        {-.19, .30}, {-.12, .26}, {-.05, .245}, {0, .25}, {.05, .245}, {.12, .26}, {.19, .30},
        {.12, .34}, {.05, .365}, {0, .37}, {-.05, .365}, {-.12, .34},
        {-.16, .30}, {-.05, .29}, {0, .29}, {.05, .29}, {.16, .30}, {.05, .31}, {0, .315},
        {-.05, .31}};
    QTransform place;
    place.translate(centre.x(), centre.y()).rotate(tiltDegrees).scale(jawWidth, jawWidth);
    FaceLandmarks points;
    for (int i = 0; i < kLandmarkCount; ++i) points[size_t(i)] = place.map(QPointF(unit[i][0], unit[i][1]));
    return points;
}
