// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finding the faces of a photograph and their landmarks. The search looks at
// a copy at most 1000 pixels on its long side (a tenth of the work of the
// full 3000 x 2000 picture) and, when that finds nothing, once more at twice
// that size, where faces below about 75 pixels show up. Safe to run on a
// worker thread: it reads the photo (a QImage is shared, not copied) and the
// model, and touches nothing else.
#include "detection/face_landmarks.h"

#include <QImage>
#include <QRect>
#include <vector>

class FaceModel;

constexpr int kSearchLongSide = 1000;
// The long side a photograph needs for the search and the proposals, and so
// the most it is decoded at: the smallest face found (80 pixels in the
// search's 2000-pixel copy) is still 160 pixels wide here, and its proposed
// zoom of 2.2 jaw widths at least the 300 pixels of the face box.
constexpr int kPhotographUsedLongSide = 4 * kSearchLongSide;
// Below this detection score a face is proposed with the prompt that its
// outlines should be checked (a clear frontal portrait scores 1.3 to 1.6).
constexpr double kLowFaceScore = 0.5;
// Beside the surest face, a candidate scoring below this is no face to offer:
// parts of a suit or a badge score up to 0.2, a second real face in the test
// photographs 0.6 to 1.5.
constexpr double kLeastOtherFaceScore = 0.3;

struct FoundFace {
    QRect box;               // the detector's square, photo pixels (it may reach past an edge)
    double score = 0;        // how sure the detector is; higher is surer
    FaceLandmarks landmarks;  // photo pixels
    bool needsChecking() const { return score < kLowFaceScore; }
};

struct FaceSearch {
    // Highest score first: faces.front() is the one to propose, never chosen
    // by the size of its box, and the others score kLeastOtherFaceScore or
    // more. Empty when the photo shows no face.
    std::vector<FoundFace> faces;
    int searchedLongSide = 0;  // the long side of the copy that found them
};

FaceSearch findFaces(const FaceModel& model, const QImage& photo);
