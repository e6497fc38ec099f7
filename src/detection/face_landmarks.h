// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 68 landmark points of a face, in the order of the iBUG 300-W
// annotation that the landmark model was trained on: 0-16 the jaw from the
// picture's left to its right, 17-21 and 22-26 the brows, 27-30 the bridge of
// the nose down to its tip, 31-35 the nostrils, 36-41 and 42-47 the eyes,
// 48-59 the outer and 60-67 the inner edge of the lips. "Right" is the
// person's right, on the left of the picture, as the game's 右目 is.
#include <QPointF>
#include <array>

constexpr int kLandmarkCount = 68;
using FaceLandmarks = std::array<QPointF, kLandmarkCount>;

// A run of landmark indices, first to last inclusive.
struct LandmarkRange {
    int first = 0;
    int last = -1;
    int count() const { return last - first + 1; }
};

namespace Landmarks {
constexpr LandmarkRange kJaw{0, 16};
constexpr LandmarkRange kRightBrow{17, 21};
constexpr LandmarkRange kLeftBrow{22, 26};
constexpr LandmarkRange kNoseBridge{27, 30};
constexpr LandmarkRange kNostrils{31, 35};
constexpr LandmarkRange kRightEye{36, 41};
constexpr LandmarkRange kLeftEye{42, 47};
constexpr LandmarkRange kMouth{48, 67};
constexpr LandmarkRange kOuterLips{48, 59};
constexpr int kRightEyeOuter = 36, kRightEyeInner = 39;
constexpr int kLeftEyeInner = 42, kLeftEyeOuter = 45;
constexpr int kBridgeTop = 27, kNoseTip = 30, kNostrilLeft = 31, kNostrilRight = 35;
constexpr int kMouthLeft = 48, kMouthRight = 54;
constexpr int kJawLeft = 0, kJawRight = 16;
}  // namespace Landmarks

// The landmarks of a PartSlot (1 right eye, 2 left eye, 3 nose, 4 mouth).
LandmarkRange partLandmarks(int slot);

// The landmarks that the slot's proposed outline encloses. The same as
// partLandmarks except for the nose, whose outline starts halfway down the
// bridge (29-35): the top of the bridge, between the eyes, stays on the face.
LandmarkRange enclosedLandmarks(int slot);

// The mean of the points of range.
QPointF landmarkCentre(const FaceLandmarks& points, LandmarkRange range);
