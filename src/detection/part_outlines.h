// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The four outlines proposed for a face, made from its landmarks alone: each
// is what a freehand stroke around the part would have been, a closed list of
// face-box points with its bounding box.
//
// - Eyes: an ellipse 1.6 eye widths long, turned with the face's tilt (the
//   line through the eyes), reaching at most 60 % of the way up to the brow so
//   that the brow stays on the face.
// - Nose: from halfway down the bridge to a little above the lip, 1.6
//   nostril widths wide at the nostrils, narrowing towards the top.
// - Mouth: a box with rounded corners 1.25 mouth widths wide, its top below
//   the nose.
//
// Every outline encloses its enclosedLandmarks (their pixels are painted
// over), stays inside the picture's drawSize rectangle, and no two outlines
// paint a pixel in common. Where a tight face leaves no room for both, the
// landmarks win: an outline is never made smaller than its part.
#include "detection/face_landmarks.h"
#include "pictures/outline.h"

#include <QSize>
#include <array>

constexpr double kEyeOutlineWidths = 1.6;     // of the eye's corner-to-corner width
constexpr double kEyeBrowReach = 0.6;         // of the way up from the eye to its brow
constexpr double kNoseOutlineWidths = 1.6;    // of the nostrils' width
constexpr double kMouthOutlineWidths = 1.25;  // of the mouth's corner-to-corner width

struct PartOutlines {
    std::array<OutlinePointList, 5> points;  // by PartSlot 1..4; entry 0 stays empty
    std::array<OutlineBox, 5> boxes;         // outlineBox of each
};

// landmarks in face-box pixels; the picture fills (0, 0) .. drawSize.
PartOutlines proposePartOutlines(const FaceLandmarks& landmarks, QSize drawSize);
