// SPDX-License-Identifier: GPL-3.0-or-later
#include "detection/face_landmarks.h"

LandmarkRange partLandmarks(int slot) {
    switch (slot) {
    case 1: return Landmarks::kRightEye;
    case 2: return Landmarks::kLeftEye;
    case 3: return {Landmarks::kNoseBridge.first, Landmarks::kNostrils.last};
    case 4: return Landmarks::kMouth;
    default: return {};
    }
}

LandmarkRange enclosedLandmarks(int slot) {
    if (slot == 3) return {29, Landmarks::kNostrils.last};
    return partLandmarks(slot);
}

QPointF landmarkCentre(const FaceLandmarks& points, LandmarkRange range) {
    QPointF sum;
    for (int i = range.first; i <= range.last; ++i) sum += points[size_t(i)];
    return range.count() > 0 ? sum / range.count() : sum;
}
